// The framework's window layer: message-map dispatch through AfxWndProc,
// Default and the current-message record, command routing, the top-level
// parent, and what happens when a window is destroyed.
#include "afx/afxapp.h"
#include "afx/afxstate.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const UINT WM_TEST_HANDLED = WM_APP + 1;
const UINT WM_TEST_DEFAULT = WM_APP + 2;
const UINT WM_TEST_NESTED = WM_APP + 3;
const UINT ID_TEST_COMMAND = 0x8123;
const UINT ID_TEST_BUTTON = 77;

// What the window's original procedure saw.
std::vector<std::string> g_seen;

std::string Describe(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return std::to_string(nMessage - WM_APP) + ":" + std::to_string(wParam) + ":" + std::to_string(lParam);
}

LRESULT CALLBACK OriginalProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage >= WM_APP)
    {
        g_seen.push_back("original " + Describe(nMessage, wParam, lParam));
        return 1000 + static_cast<LRESULT>(wParam);
    }
    return DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

HWND CreateWindowWithOriginalProc(HWND hWndParent = nullptr, DWORD dwStyle = WS_OVERLAPPEDWINDOW)
{
    static ATOM s_atom = 0;
    if (s_atom == 0)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OriginalProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "AfxWindowTest";
        s_atom = RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "AfxWindowTest", "afx test", dwStyle, 0, 0, 100, 100, hWndParent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

class CTestWnd : public CWnd
{
public:
    std::vector<std::string> calls;
    MSG currentDuringHandler = {};
    MSG currentAfterNested = {};
    bool bPostNcDestroy = false;

    LRESULT OnHandled(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back("handled " + Describe(WM_TEST_HANDLED, wParam, lParam));
        currentDuringHandler = *GetCurrentMessage();
        return 42;
    }

    LRESULT OnDefault(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back("default " + Describe(WM_TEST_DEFAULT, wParam, lParam));
        return Default() + 1;  // the original procedure's answer to the same message
    }

    LRESULT OnNested(WPARAM, LPARAM)
    {
        SendMessage(WM_TEST_HANDLED, 5, 6);
        currentAfterNested = *GetCurrentMessage();
        return 0;
    }

    void OnTestCommand() { calls.push_back("command"); }
    void OnButtonClicked() { calls.push_back("clicked"); }

protected:
    void PostNcDestroy() override { bPostNcDestroy = true; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
    ON_MESSAGE(WM_TEST_HANDLED, OnHandled)
    ON_MESSAGE(WM_TEST_DEFAULT, OnDefault)
    ON_MESSAGE(WM_TEST_NESTED, OnNested)
    ON_COMMAND(ID_TEST_COMMAND, OnTestCommand)
    ON_BN_CLICKED(ID_TEST_BUTTON, OnButtonClicked)
END_MESSAGE_MAP()

class AfxWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        g_seen.clear();
        m_hWnd = CreateWindowWithOriginalProc();
        ASSERT_NE(nullptr, m_hWnd);
        ASSERT_TRUE(m_wnd.SubclassWindow(m_hWnd));
    }

    void TearDown() override
    {
        if (IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
    }

    HWND m_hWnd = nullptr;
    CTestWnd m_wnd;
};
}

TEST_F(AfxWindow, MapEntriesHandleAndTheRestReachesTheOriginalProcedure)
{
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(AfxWndProc), GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    EXPECT_EQ(&m_wnd, CWnd::FromHandlePermanent(m_hWnd));
    EXPECT_EQ(42, SendMessageA(m_hWnd, WM_TEST_HANDLED, 1, 2));
    EXPECT_EQ(1009, SendMessageA(m_hWnd, WM_APP + 9, 9, 0));
    EXPECT_EQ(1004, SendMessageA(m_hWnd, WM_TEST_DEFAULT, 3, 4));
    EXPECT_EQ((std::vector<std::string>{ "handled 1:1:2", "default 2:3:4" }), m_wnd.calls);
    EXPECT_EQ((std::vector<std::string>{ "original 9:9:0", "original 2:3:4" }), g_seen);
}

TEST_F(AfxWindow, CurrentMessageRecordIsSetAndRestoredAroundNestedSends)
{
    MSG& record = AfxGetThreadState()->m_lastSentMsg;
    record.hwnd = nullptr;
    record.message = 12345;
    record.time = 777;
    SendMessageA(m_hWnd, WM_TEST_NESTED, 7, 8);
    // Inside the nested handler: the nested message.
    EXPECT_EQ(m_hWnd, m_wnd.currentDuringHandler.hwnd);
    EXPECT_EQ(WM_TEST_HANDLED, m_wnd.currentDuringHandler.message);
    EXPECT_EQ(5u, m_wnd.currentDuringHandler.wParam);
    EXPECT_EQ(6, m_wnd.currentDuringHandler.lParam);
    EXPECT_EQ(777u, m_wnd.currentDuringHandler.time);
    // Back in the outer handler: its own message again.
    EXPECT_EQ(WM_TEST_NESTED, m_wnd.currentAfterNested.message);
    EXPECT_EQ(7u, m_wnd.currentAfterNested.wParam);
    // After the outer send: what was there before.
    EXPECT_EQ(nullptr, record.hwnd);
    EXPECT_EQ(12345u, record.message);
}

TEST_F(AfxWindow, CommandsAndButtonNotificationsFollowTheMap)
{
    HWND hButton = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_TEST_BUTTON)),
                                   GetModuleHandleA(nullptr), nullptr);
    LPARAM lButton = reinterpret_cast<LPARAM>(hButton);
    SendMessageA(m_hWnd, WM_COMMAND, ID_TEST_COMMAND, 0);
    SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_BUTTON, BN_CLICKED), lButton);
    SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_BUTTON, BN_SETFOCUS), lButton);
    SendMessageA(m_hWnd, WM_COMMAND, ID_TEST_COMMAND + 1, 0);
    EXPECT_EQ((std::vector<std::string>{ "command", "clicked" }), m_wnd.calls);
    EXPECT_TRUE(m_wnd.OnCmdMsg(ID_TEST_COMMAND, 0));
    EXPECT_FALSE(m_wnd.OnCmdMsg(ID_TEST_COMMAND + 1, 0));
}

TEST_F(AfxWindow, TopLevelParentFollowsParentsAndOwners)
{
    CWnd none;
    EXPECT_EQ(nullptr, none.GetTopLevelParent());
    EXPECT_EQ(&m_wnd, m_wnd.GetTopLevelParent());

    HWND hChild = CreateWindowWithOriginalProc(m_hWnd, WS_CHILD);
    HWND hGrandChild = CreateWindowWithOriginalProc(hChild, WS_CHILD);
    HWND hOwned = CreateWindowWithOriginalProc(m_hWnd, WS_POPUP);
    for (HWND hWnd : { hChild, hGrandChild, hOwned })
    {
        CWnd wnd;
        wnd.Attach(hWnd);
        EXPECT_EQ(&m_wnd, wnd.GetTopLevelParent());
        wnd.Detach();
    }
    // A window the framework does not own answers through a temporary object.
    CWnd child;
    HWND hOther = CreateWindowWithOriginalProc();
    HWND hOtherChild = CreateWindowWithOriginalProc(hOther, WS_CHILD);
    child.Attach(hOtherChild);
    ASSERT_NE(nullptr, child.GetTopLevelParent());
    EXPECT_EQ(hOther, child.GetTopLevelParent()->m_hWnd);
    child.Detach();
    DestroyWindow(hOther);
}

TEST_F(AfxWindow, DestructionDetachesRestoresTheProcedureAndClearsTheMainWindow)
{
    CWinApp app;
    app.m_pMainWnd = &m_wnd;
    DestroyWindow(m_hWnd);
    EXPECT_EQ(nullptr, m_wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_hWnd));
    EXPECT_TRUE(m_wnd.bPostNcDestroy);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(AfxObjects, RunTimeClassesAndApplicationName)
{
    CWnd wnd;
    EXPECT_STREQ("CWnd", wnd.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CCmdTarget), wnd.GetRuntimeClass()->m_pBaseClass);
    EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(wnd.IsKindOf(RUNTIME_CLASS(CWinApp)));

    CWinApp app;
    EXPECT_EQ(&app, AfxGetApp());
    app.InitApplication(GetModuleHandleA(nullptr));
    EXPECT_STREQ("afx_window_test", AfxGetAppName());
}
