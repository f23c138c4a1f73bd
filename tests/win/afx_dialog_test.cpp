// The framework's dialogs: the modal run (subclassing from the first message,
// owner, hiding and destroying), centring, keyboard handling and F1, command
// routing past the dialog, and AfxMessageBox. The control dialog's template
// serves as the test dialog.
#include "afx/afxapp.h"
#include "afx/afxdlg.h"
#include "res/resource.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TestDialogs.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
const UINT ID_ROUTED = 0x8123;       // handled by the owner and the application
const UINT ID_APP_ONLY = 0x8124;     // handled by the application only
const UINT ID_BELOW_RANGE = 0x7FFF;  // handled by both, but below the routed range
const UINT ID_ABOVE_RANGE = 0xF000;  // handled by both, but above it

std::vector<std::string> g_calls;

class CTestApp : public CWinApp
{
public:
    CTestApp() { InitApplication(GetModuleHandleA(nullptr)); }
    void OnHelpCommand() { g_calls.push_back("app help"); }
    void OnRouted() { g_calls.push_back("app routed"); }
    void OnAppOnly() { g_calls.push_back("app only"); }
    void OnBelow() { g_calls.push_back("app below"); }
    void OnAbove() { g_calls.push_back("app above"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelpCommand)
    ON_COMMAND(ID_ROUTED, OnRouted)
    ON_COMMAND(ID_APP_ONLY, OnAppOnly)
    ON_COMMAND(ID_BELOW_RANGE, OnBelow)
    ON_COMMAND(ID_ABOVE_RANGE, OnAbove)
END_MESSAGE_MAP()

class COwnerWnd : public CWnd
{
public:
    void OnRouted() { g_calls.push_back("owner routed"); }
    void OnBelow() { g_calls.push_back("owner below"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerWnd, CWnd)
    ON_COMMAND(ID_ROUTED, OnRouted)
    ON_COMMAND(ID_BELOW_RANGE, OnBelow)
END_MESSAGE_MAP()

// A dialog on template 102 that records the messages its object sees.
class CTestDlg : public CDialog
{
public:
    explicit CTestDlg(CWnd* pParent = nullptr) : CDialog(IDD_GYROVANTER_DIALOG, pParent) {}

    std::vector<UINT> messages;
    std::vector<UINT> clicked;  // buttons that reported BN_CLICKED
    bool bInitDialogRan = false;

    LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(nMessage);
        if (nMessage == WM_COMMAND && lParam != 0 && HIWORD(wParam) == BN_CLICKED)
            clicked.push_back(LOWORD(wParam));
        if (nMessage == WM_WINDOWPOSCHANGED &&
            (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
            messages.push_back(WM_APP);  // marks the moment it is hidden
        return CDialog::WindowProc(nMessage, wParam, lParam);
    }

    BOOL OnInitDialog() override
    {
        bInitDialogRan = true;
        return CDialog::OnInitDialog();
    }

    size_t Position(UINT nMessage) const
    {
        return std::find(messages.begin(), messages.end(), nMessage) - messages.begin();
    }

protected:
    void OnAbort() { EndDialog(IDABORT); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_COMMAND(IDABORT, OnAbort)
END_MESSAGE_MAP()

// The main window of the tests that need one: a plain window the framework
// has subclassed.
class MainWindow
{
public:
    explicit MainWindow(int nShow = SW_SHOWNOACTIVATE)
    {
        m_wnd.SubclassWindow(CreateTestWindow("Dialog test main", nShow));
    }
    ~MainWindow()
    {
        if (IsWindow(m_wnd.m_hWnd))
            DestroyWindow(m_wnd.m_hWnd);
    }
    COwnerWnd m_wnd;
};

RECT WindowRect(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return rc;
}

RECT WorkArea()
{
    RECT rc;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

// What the real message box showed, read from inside its own modal loop.
struct SeenBox
{
    HWND hBox = nullptr;
    std::string strCaption, strText;
    bool bOwnerEnabled = true;
    HWND hWndOwner = nullptr;
};
SeenBox g_seenBox;
HWND g_hBoxOwner = nullptr;

void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR nID, DWORD)
{
    std::vector<HWND> boxes = FindThreadDialogs(g_hBoxOwner);
    if (boxes.empty())
        return;
    HWND hBox = boxes[0];
    KillTimer(nullptr, nID);
    char sz[256] = {};
    GetWindowTextA(hBox, sz, sizeof(sz));
    g_seenBox.strCaption = sz;
    GetDlgItemTextA(hBox, 0xFFFF, sz, sizeof(sz));  // the box's text control
    g_seenBox.strText = sz;
    g_seenBox.hWndOwner = GetWindow(hBox, GW_OWNER);
    g_seenBox.bOwnerEnabled = IsWindowEnabled(g_hBoxOwner) != FALSE;
    g_seenBox.hBox = hBox;
    PostMessageA(hBox, WM_COMMAND, IDOK, 0);
}
}

TEST(AfxDialogModal, SubclassedFromItsFirstMessageAndInitialised)
{
    CTestDlg dlg;
    HWND hWndSeen = nullptr;
    INT_PTR nResult = RunModal(dlg, [&] {
        hWndSeen = dlg.m_hWnd;
        EXPECT_TRUE(IsWindowVisible(dlg.m_hWnd));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(AfxWndProc), GetWindowLongPtrA(dlg.m_hWnd, GWLP_WNDPROC));
        dlg.EndDialog(42);
    });
    EXPECT_EQ(42, nResult);
    EXPECT_TRUE(dlg.bInitDialogRan);
    ASSERT_FALSE(dlg.messages.empty());
    // The object saw the window's creation itself, then its font, then
    // WM_INITDIALOG.
    EXPECT_TRUE(dlg.messages[0] == WM_NCCREATE || dlg.messages[0] == WM_GETMINMAXINFO) << dlg.messages[0];
    EXPECT_LT(dlg.Position(WM_CREATE), dlg.Position(WM_SETFONT));
    EXPECT_LT(dlg.Position(WM_SETFONT), dlg.Position(WM_INITDIALOG));
    EXPECT_LT(dlg.Position(WM_INITDIALOG), dlg.messages.size());
    // Hidden first, then destroyed; the object lets go of the window.
    EXPECT_LT(dlg.Position(WM_APP), dlg.Position(WM_DESTROY));
    EXPECT_LT(dlg.Position(WM_DESTROY), dlg.messages.size());
    EXPECT_FALSE(IsWindow(hWndSeen));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(AfxDialogModal, WithoutParentOwnedByTheMainWindowWhichIsDisabledMeanwhile)
{
    CTestApp app;
    MainWindow main;
    app.m_pMainWnd = &main.m_wnd;
    CTestDlg dlg;
    INT_PTR nResult = RunModal(dlg, [&] {
        EXPECT_EQ(main.m_wnd.m_hWnd, GetWindow(dlg.m_hWnd, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(main.m_wnd.m_hWnd));
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_TRUE(IsWindowEnabled(main.m_wnd.m_hWnd));
}

TEST(AfxDialogModal, OwnedByTheMainWindowsLastActivePopup)
{
    CTestApp app;
    MainWindow main(SW_SHOWNORMAL);
    app.m_pMainWnd = &main.m_wnd;
    HWND hPopup = CreateWindowExA(0, "GyrovanterTestWindow", "popup", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10,
                                  100, 100, main.m_wnd.m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(hPopup);
    PumpMessages();
    ASSERT_EQ(hPopup, GetLastActivePopup(main.m_wnd.m_hWnd));
    CTestDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(hPopup, GetWindow(dlg.m_hWnd, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(hPopup));
        EXPECT_TRUE(IsWindowEnabled(main.m_wnd.m_hWnd));
        dlg.EndDialog(IDOK);
    });
    EXPECT_TRUE(IsWindowEnabled(hPopup));
    DestroyWindow(hPopup);
}

TEST(AfxDialogModal, TheMainWindowItselfHasNoOwner)
{
    CTestApp app;
    CTestDlg dlg;
    app.m_pMainWnd = &dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(nullptr, GetWindow(dlg.m_hWnd, GW_OWNER));
        dlg.EndDialog(IDOK);
    });
    // The framework lets go of the main window with its window.
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(AfxDialogModal, EndDialogInInitialisationEndsBeforeTheLoop)
{
    class CEndingDlg : public CTestDlg
    {
    public:
        BOOL OnInitDialog() override
        {
            CTestDlg::OnInitDialog();
            EndDialog(7);
            return TRUE;
        }
    } dlg;
    EXPECT_EQ(7, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(AfxDialogModal, MissingTemplateAnswersMinusOne)
{
    CDialog dlg(4242);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(AfxDialogModal, KeysGoThroughTheDialogsOwnLoop)
{
    // The window system keeps the last of several BS_DEFPUSHBUTTON controls of
    // a template as the default button: in template 102, "&About ..." (4).
    struct
    {
        WPARAM vk;
        std::vector<UINT> clicked;
        INT_PTR nExpected;
    } cases[] = {
        { VK_ESCAPE, { IDCANCEL }, IDCANCEL },  // as if "&Close" was pressed
        { VK_RETURN, { IDC_ABOUT }, IDABORT },
    };
    for (const auto& c : cases)
    {
        CTestDlg dlg;
        INT_PTR nResult = RunModal(dlg, [&] {
            HWND hFocus = GetFocus();
            ASSERT_TRUE(IsChild(dlg.m_hWnd, hFocus));
            PostMessageA(hFocus, WM_KEYDOWN, c.vk, 1);
            PostMessageA(dlg.m_hWnd, WM_COMMAND, IDABORT, 0);
        });
        EXPECT_EQ(c.nExpected, nResult) << c.vk;
        EXPECT_EQ(c.clicked, dlg.clicked) << c.vk;
    }
}

TEST(AfxDialogModal, F1WithoutModifiersIsTheHelpCommandOfTheApplication)
{
    struct
    {
        int vkModifier;  // 0: none
        bool bHelp;
    } cases[] = { { 0, true }, { VK_SHIFT, false }, { VK_CONTROL, false }, { VK_MENU, false } };
    for (const auto& c : cases)
    {
        CTestApp app;
        g_calls.clear();
        CTestDlg dlg;
        RunModal(dlg, [&] {
            BYTE keys[256] = {};
            if (c.vkModifier != 0)
                keys[c.vkModifier] = 0x80;
            SetKeyboardState(keys);
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_F1, 1);
            PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        });
        BYTE none[256] = {};
        SetKeyboardState(none);
        EXPECT_EQ(c.bHelp ? std::vector<std::string>{ "app help" } : std::vector<std::string>{}, g_calls)
            << c.vkModifier;
    }
}

TEST(AfxDialogRouting, MenuCommandsGoToTheOwnerThenTheApplicationInTheirRangeOnly)
{
    CTestApp app;
    MainWindow owner;
    CTestDlg dlg(&owner.m_wnd);
    ASSERT_TRUE(dlg.Create());
    struct
    {
        UINT nID;
        std::vector<std::string> expected;
    } cases[] = {
        { ID_ROUTED, { "owner routed" } },
        { ID_APP_ONLY, { "app only" } },
        { ID_BELOW_RANGE, {} },
        { ID_ABOVE_RANGE, {} },
        { 0x8125, {} },
    };
    for (const auto& c : cases)
    {
        g_calls.clear();
        SendMessageA(dlg.m_hWnd, WM_COMMAND, c.nID, 0);
        EXPECT_EQ(c.expected, g_calls) << c.nID;
    }
    // Without an owner the application is next.
    CTestDlg lonely;
    ASSERT_TRUE(lonely.Create());
    g_calls.clear();
    SendMessageA(lonely.m_hWnd, WM_COMMAND, ID_ROUTED, 0);
    EXPECT_EQ(std::vector<std::string>{ "app routed" }, g_calls);
}

TEST(AfxDialogCentre, OverAShownOwnerElseOnTheWorkAreaAndInsideIt)
{
    RECT rcWork = WorkArea();
    struct
    {
        const char* pszCase;
        int nShow;  // of the owner; -1: no owner
        int x, y;   // owner position
        bool bOverOwner;
    } cases[] = {
        { "no owner", -1, 0, 0, false },
        { "shown owner", SW_SHOWNOACTIVATE, 300, 200, true },
        { "hidden owner", SW_HIDE, 300, 200, false },
        { "minimised owner", SW_SHOWMINNOACTIVE, 300, 200, false },
        { "owner at the right edge", SW_SHOWNOACTIVATE, rcWork.right - 150, rcWork.bottom - 100, true },
    };
    for (const auto& c : cases)
    {
        MainWindow owner(c.nShow == -1 ? SW_HIDE : c.nShow);
        if (c.nShow != SW_SHOWMINNOACTIVE)
            SetWindowPos(owner.m_wnd.m_hWnd, nullptr, c.x, c.y, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        CTestDlg dlg(c.nShow == -1 ? nullptr : &owner.m_wnd);
        ASSERT_TRUE(dlg.Create());
        RECT rc = WindowRect(dlg.m_hWnd);
        RECT rcCentre = c.bOverOwner ? WindowRect(owner.m_wnd.m_hWnd) : rcWork;
        int nWidth = rc.right - rc.left, nHeight = rc.bottom - rc.top;
        int xExpected = (rcCentre.left + rcCentre.right) / 2 - nWidth / 2;
        int yExpected = (rcCentre.top + rcCentre.bottom) / 2 - nHeight / 2;
        xExpected = std::max<int>(rcWork.left, std::min<int>(xExpected, rcWork.right - nWidth));
        yExpected = std::max<int>(rcWork.top, std::min<int>(yExpected, rcWork.bottom - nHeight));
        EXPECT_EQ(xExpected, rc.left) << c.pszCase;
        EXPECT_EQ(yExpected, rc.top) << c.pszCase;
        EXPECT_GE(rc.left, rcWork.left) << c.pszCase;
        EXPECT_LE(rc.right, rcWork.right) << c.pszCase;
        EXPECT_LE(rc.bottom, rcWork.bottom) << c.pszCase;
    }
}

TEST(AfxMessageBoxFake, CaptionOwnerTypeAndHelpContext)
{
    CFakeWindowSystem fake;
    {
        // Without an application: no caption, no owner.
        AfxMessageBox("plain");
        ASSERT_EQ(1u, fake.messageBoxes.size());
        EXPECT_EQ("", fake.messageBoxes[0].strCaption);
        EXPECT_EQ(nullptr, fake.messageBoxes[0].hWndOwner);
        EXPECT_EQ(static_cast<UINT>(MB_OK), fake.messageBoxes[0].uType);
        EXPECT_EQ(0u, fake.messageBoxes[0].dwContextHelpId);
    }
    CTestApp app;
    MainWindow main;
    app.m_pMainWnd = &main.m_wnd;
    fake.ClearRecords();
    AfxMessageBox(AFX_IDP_PARSE_INT, MB_OK | MB_ICONEXCLAMATION);
    CString strRange;
    AfxFormatString2(strRange, AFX_IDP_PARSE_INT_RANGE, "1", "3600");
    AfxMessageBox(strRange, MB_OK | MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
    AfxMessageBox(AFX_IDP_PARSE_INT, MB_OKCANCEL, 5);
    ASSERT_EQ(3u, fake.messageBoxes.size());
    const CFakeWindowSystem::MessageBoxCall expected[] = {
        { main.m_wnd.m_hWnd, "Please enter an integer.", "afx_dialog_test", MB_OK | MB_ICONEXCLAMATION, 61712 },
        { main.m_wnd.m_hWnd, "Please enter an integer between 1 and 3600.", "afx_dialog_test",
          MB_OK | MB_ICONEXCLAMATION, 61714 },
        { main.m_wnd.m_hWnd, "Please enter an integer.", "afx_dialog_test", MB_OKCANCEL, 5 },
    };
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(expected[i].hWndOwner, fake.messageBoxes[i].hWndOwner) << i;
        EXPECT_EQ(expected[i].strText, fake.messageBoxes[i].strText) << i;
        EXPECT_EQ(expected[i].strCaption, fake.messageBoxes[i].strCaption) << i;
        EXPECT_EQ(expected[i].uType, fake.messageBoxes[i].uType) << i;
        EXPECT_EQ(expected[i].dwContextHelpId, fake.messageBoxes[i].dwContextHelpId) << i;
    }
}

TEST(AfxMessageBoxReal, ShowsTheTextWithTheApplicationsNameAndBlocksItsOwner)
{
    CTestApp app;
    CTestDlg dlg;
    app.m_pMainWnd = &dlg;
    ASSERT_TRUE(dlg.Create());
    g_hBoxOwner = dlg.m_hWnd;
    UINT_PTR nTimer = SetTimer(nullptr, 0, 50, ReadAndCloseBox);
    int nAnswer = AfxMessageBox(AFX_IDP_PARSE_INT, MB_OK | MB_ICONEXCLAMATION);
    KillTimer(nullptr, nTimer);
    EXPECT_EQ(IDOK, nAnswer);
    ASSERT_NE(nullptr, g_seenBox.hBox);
    EXPECT_EQ("afx_dialog_test", g_seenBox.strCaption);
    EXPECT_EQ("Please enter an integer.", g_seenBox.strText);
    EXPECT_EQ(dlg.m_hWnd, g_seenBox.hWndOwner);
    EXPECT_FALSE(g_seenBox.bOwnerEnabled);
    EXPECT_TRUE(IsWindowEnabled(dlg.m_hWnd));
}
