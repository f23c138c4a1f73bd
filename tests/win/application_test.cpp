// The application: InitInstance runs the control dialog as the main window
// until Exit; the tray commands reach it through the dialog's command
// routing in every state; Close hides; About opens from three places; F1
// shows the help text. Each test runs the real InitInstance, with a script of
// steps that a thread timer plays inside the dialog's modal loop (and inside
// any nested one), and the recording fake in place of the shell and the
// message boxes.
#include "app/CyclerApp.h"
#include "res/resource.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TestDialogs.h"
#include "ui/CyclerDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
const char CLOSE_NOTICE[] =
    "Gyrovanter is now minimized to the system tray. To close the program completely, right click "
    "on the icon in the system tray and select Exit.";

// Plays steps one per timer message. A step that opens a modal box blocks
// until the box closes; the steps after it run inside the box's loop.
class CScript
{
public:
    explicit CScript(std::vector<std::function<void()>> steps) : m_steps(std::move(steps))
    {
        s_pScript = this;
        m_nTimer = SetTimer(nullptr, 0, 20, Step);
    }

    ~CScript()
    {
        KillTimer(nullptr, m_nTimer);
        s_pScript = nullptr;
    }

    bool Finished() const { return m_nNext == m_steps.size(); }

private:
    static void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
    {
        CScript* pScript = s_pScript;
        if (pScript == nullptr)
            return;
        if (pScript->m_nNext < pScript->m_steps.size())
        {
            size_t nStep = pScript->m_nNext++;
            pScript->m_steps[nStep]();
        }
        else if (++pScript->m_nIdleTicks > 250)
        {
            // Five seconds past the last step and still running: end the
            // dialog so that a broken test cannot hang.
            ADD_FAILURE() << "the dialog did not end after the script";
            if (CWnd* pMain = AfxGetMainWnd())
                static_cast<CCyclerDlg*>(pMain)->ExitProgram();
        }
    }

    static CScript* s_pScript;
    std::vector<std::function<void()>> m_steps;
    size_t m_nNext = 0;
    int m_nIdleTicks = 0;
    UINT_PTR m_nTimer = 0;
};

CScript* CScript::s_pScript = nullptr;

class ApplicationTest : public testing::Test
{
protected:
    void SetUp() override { m_app.InitApplication(GetModuleHandleA(nullptr)); }

    // Runs InitInstance with the script; answers what it returned.
    BOOL Run(std::vector<std::function<void()>> steps)
    {
        CScript script(std::move(steps));
        BOOL bResult = m_app.InitInstance();
        EXPECT_TRUE(script.Finished());
        return bResult;
    }

    CCyclerDlg& Dlg() { return *static_cast<CCyclerDlg*>(AfxGetMainWnd()); }
    HWND Hwnd() { return m_hWndDlg = Dlg().m_hWnd; }
    bool Enabled(int nID) { return IsWindowEnabled(GetDlgItem(Hwnd(), nID)) != FALSE; }
    void Command(UINT nID) { SendMessageA(Hwnd(), WM_COMMAND, nID, 0); }
    void Click(int nID)
    {
        HWND hButton = GetDlgItem(Hwnd(), nID);
        SendMessageA(Hwnd(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
    }

    // The message-box texts asked for, in order.
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : m_fake.messageBoxes)
            texts.push_back(box.strText);
        return texts;
    }

    // A step that checks the About box that is open now, then closes it with
    // the command nClose (IDOK or IDCANCEL).
    std::function<void()> CheckAndCloseAbout(UINT nClose, const char* pszWhere)
    {
        return [this, nClose, pszWhere] {
            SCOPED_TRACE(pszWhere);
            std::vector<HWND> boxes = FindThreadDialogs(m_hWndDlg);
            ASSERT_EQ(1u, boxes.size());
            HWND hAbout = boxes[0];
            char szCaption[64] = {};
            GetWindowTextA(hAbout, szCaption, sizeof(szCaption));
            EXPECT_STREQ("About Gyrovanter", szCaption);
            // Owned by the control dialog, which takes no input meanwhile.
            EXPECT_EQ(m_hWndDlg, GetWindow(hAbout, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(m_hWndDlg));
            HWND hNotice = GetDlgItem(hAbout, IDC_ABOUT_NOTICE);
            EXPECT_GT(GetWindowTextLengthA(hNotice), 200);
            EXPECT_TRUE(GetWindowLongPtrA(hNotice, GWL_STYLE) & ES_READONLY);
            EXPECT_EQ(GetDlgItem(hAbout, IDOK), GetFocus());
            ++m_nAboutBoxesSeen;
            SendMessageA(hAbout, WM_COMMAND, nClose, 0);
        };
    }

    CFakeWindowSystem m_fake;
    CCyclerApp m_app;
    HWND m_hWndDlg = nullptr;
    int m_nAboutBoxesSeen = 0;
};
}

TEST_F(ApplicationTest, RunsTheDialogAsMainWindowUntilExit)
{
    HMENU hSysMenu = nullptr;
    BOOL bResult = Run({
        [&] {
            ASSERT_NE(nullptr, AfxGetMainWnd());
            EXPECT_STREQ("CDialog", Dlg().GetRuntimeClass()->m_lpszClassName);
            EXPECT_TRUE(IsWindowVisible(Hwnd()));
            char szCaption[32] = {};
            GetWindowTextA(Hwnd(), szCaption, sizeof(szCaption));
            EXPECT_STREQ("Gyrovanter", szCaption);
            // Stopped, the focus in slot 1's list, the idle icon shown.
            EXPECT_TRUE(Enabled(IDOK));
            EXPECT_FALSE(Enabled(IDC_STOP));
            EXPECT_TRUE(Enabled(IDC_REREAD));
            HWND hFocus = GetFocus();
            EXPECT_TRUE(hFocus == GetDlgItem(Hwnd(), IDC_WINDOW1) || GetParent(hFocus) == GetDlgItem(Hwnd(), IDC_WINDOW1));
            ASSERT_FALSE(m_fake.notifyCalls.empty());
            EXPECT_EQ(static_cast<DWORD>(NIM_ADD), m_fake.notifyCalls.back().dwMessage);
            EXPECT_STREQ("Gyrovanter: windows circulation made easy", m_fake.notifyCalls.back().data.szTip);
            // The caption's icons are the program's icon 128.
            EXPECT_EQ(Dlg().m_hIcon, reinterpret_cast<HICON>(SendMessageA(Hwnd(), WM_GETICON, ICON_BIG, 0)));
            EXPECT_EQ(Dlg().m_hIcon, reinterpret_cast<HICON>(SendMessageA(Hwnd(), WM_GETICON, ICON_SMALL, 0)));
            EXPECT_EQ(reinterpret_cast<LRESULT>(Dlg().m_hIcon), SendMessageA(Hwnd(), WM_QUERYDRAGICON, 0, 0));
            // The system menu ends with a separator and the About item.
            hSysMenu = GetSystemMenu(Hwnd(), FALSE);
            int nCount = GetMenuItemCount(hSysMenu);
            ASSERT_GE(nCount, 2);
            char szItem[64] = {};
            GetMenuStringA(hSysMenu, nCount - 1, szItem, sizeof(szItem), MF_BYPOSITION);
            EXPECT_STREQ("&About Gyrovanter ...", szItem);
            EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), GetMenuItemID(hSysMenu, nCount - 1));
            EXPECT_TRUE(GetMenuState(hSysMenu, nCount - 2, MF_BYPOSITION) & MF_SEPARATOR);
        },
        [&] { Command(ID_TRAY_EXIT); },
    });
    EXPECT_FALSE(bResult);
    EXPECT_FALSE(IsWindow(m_hWndDlg));
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    EXPECT_TRUE(m_fake.messageBoxes.empty());
    // The dialog object is gone, and its icon with it.
    ASSERT_FALSE(m_fake.notifyCalls.empty());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), m_fake.notifyCalls.back().dwMessage);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYICON), m_fake.notifyCalls.back().data.uID);
}

TEST_F(ApplicationTest, TrayCommandsWorkInEveryState)
{
    auto ExpectRunning = [&](bool bRunning) {
        EXPECT_EQ(!bRunning, Enabled(IDOK));
        EXPECT_EQ(bRunning, Enabled(IDC_STOP));
        EXPECT_EQ(!bRunning, Enabled(IDC_REREAD));
    };
    auto LastTimerCall = [&]() { return m_fake.timerCalls.empty() ? CFakeWindowSystem::TimerCall{} : m_fake.timerCalls.back(); };
    BOOL bResult = Run({
        [&] {
            Command(ID_TRAY_START);
            ExpectRunning(true);
            EXPECT_TRUE(LastTimerCall().bSet);
            EXPECT_EQ(1u, LastTimerCall().nIDEvent);
            EXPECT_EQ(1000u, LastTimerCall().uElapse);
        },
        [&] {
            // Start while running begins again at slot 1 with a count of 0.
            SendMessageA(Hwnd(), WM_TIMER, 1, 0);
            SendMessageA(Hwnd(), WM_TIMER, 1, 0);
            EXPECT_EQ(2, Dlg().m_nElapsed);
            size_t nTimerCalls = m_fake.timerCalls.size();
            Command(ID_TRAY_START);
            EXPECT_EQ(nTimerCalls + 1, m_fake.timerCalls.size());
            EXPECT_EQ(0, Dlg().m_nElapsed);
            EXPECT_EQ(1, Dlg().m_nCurrentSlot);
            ExpectRunning(true);
        },
        [&] {
            Command(ID_TRAY_STOP);
            ExpectRunning(false);
            EXPECT_FALSE(LastTimerCall().bSet);
            // Stop while stopped: nothing visible changes; the icon stays 129.
            Command(ID_TRAY_STOP);
            ExpectRunning(false);
            EXPECT_STREQ("Gyrovanter: windows circulation made easy", m_fake.notifyCalls.back().data.szTip);
        },
        [&] {
            // Close hides the dialog with the notice; the program goes on.
            Click(IDCANCEL);
            EXPECT_FALSE(IsWindowVisible(Hwnd()));
            EXPECT_EQ(std::vector<std::string>{ CLOSE_NOTICE }, BoxTexts());
            const auto& box = m_fake.messageBoxes.back();
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), box.uType);
            EXPECT_EQ("application_test", box.strCaption);
        },
        [&] {
            // Start and Stop while hidden.
            Command(ID_TRAY_START);
            ExpectRunning(true);
            EXPECT_FALSE(IsWindowVisible(Hwnd()));
        },
        [&] {
            // Configure shows the dialog as it was left.
            Command(ID_TRAY_CONFIGURE);
            EXPECT_TRUE(IsWindowVisible(Hwnd()));
            ExpectRunning(true);
            // While shown, it shows it again.
            Command(ID_TRAY_CONFIGURE);
            EXPECT_TRUE(IsWindowVisible(Hwnd()));
        },
        [&] {
            Click(IDCANCEL);
            Command(ID_TRAY_STOP);
            ExpectRunning(false);
            EXPECT_FALSE(IsWindowVisible(Hwnd()));
            Command(ID_TRAY_START);
        },
        // Exit while hidden and running: no further message box.
        [&] { Command(ID_TRAY_EXIT); },
    });
    EXPECT_FALSE(bResult);
    EXPECT_EQ((std::vector<std::string>{ CLOSE_NOTICE, CLOSE_NOTICE }), BoxTexts());
}

TEST_F(ApplicationTest, EveryWayOfClosingHidesWithTheNotice)
{
    std::vector<std::function<void()>> steps;
    struct CloseWay
    {
        const char* pszName;
        std::function<void(HWND)> close;
    };
    const CloseWay ways[] = {
        { "Close button", [](HWND hDlg) { SendMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0); } },
        { "close box", [](HWND hDlg) { SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); } },
        { "WM_CLOSE (Alt+F4)", [](HWND hDlg) { SendMessageA(hDlg, WM_CLOSE, 0, 0); } },
        { "Escape key", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); } },
    };
    int nWay = 0;
    for (const CloseWay& way : ways)
    {
        int nBoxes = ++nWay;
        steps.push_back([&] {
            Command(ID_TRAY_CONFIGURE);
            SetForegroundWindow(Hwnd());
            SetFocus(GetDlgItem(Hwnd(), IDC_INTERVAL1));
            way.close(Hwnd());
        });
        steps.push_back([&, nBoxes] {
            SCOPED_TRACE(way.pszName);
            EXPECT_FALSE(IsWindowVisible(Hwnd()));
            EXPECT_EQ(static_cast<size_t>(nBoxes), m_fake.messageBoxes.size());
            EXPECT_TRUE(IsWindow(Hwnd()));
        });
    }
    steps.push_back([&] { Command(ID_TRAY_EXIT); });
    EXPECT_FALSE(Run(steps));
    EXPECT_EQ(std::vector<std::string>(4, CLOSE_NOTICE), BoxTexts());
}

TEST_F(ApplicationTest, AboutOpensFromThreePlacesAlsoWhileHidden)
{
    BOOL bResult = Run({
        [&] { Hwnd(); Click(IDC_ABOUT); },
        CheckAndCloseAbout(IDOK, "About button"),
        [&] { SendMessageA(Hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); },
        CheckAndCloseAbout(IDCANCEL, "system menu"),
        // The low four bits of a system command are the system's own.
        [&] { SendMessageA(Hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0xF, 0); },
        CheckAndCloseAbout(IDOK, "system menu, low bits set"),
        [&] { Command(ID_TRAY_ABOUT); },
        CheckAndCloseAbout(IDOK, "tray menu"),
        [&] {
            EXPECT_TRUE(IsWindowEnabled(Hwnd()));
            Click(IDCANCEL);
            Command(ID_TRAY_ABOUT);
        },
        CheckAndCloseAbout(IDOK, "tray menu while hidden"),
        [&] {
            EXPECT_FALSE(IsWindowVisible(Hwnd()));
            EXPECT_EQ(5, m_nAboutBoxesSeen);
            Command(ID_TRAY_EXIT);
        },
    });
    EXPECT_FALSE(bResult);
}

TEST_F(ApplicationTest, ExitWhileTheAboutBoxIsOpenEndsWhenTheBoxCloses)
{
    HWND hAbout = nullptr;
    BOOL bResult = Run({
        [&] { Hwnd(); Command(ID_TRAY_ABOUT); },
        [&] {
            std::vector<HWND> boxes = FindThreadDialogs(m_hWndDlg);
            ASSERT_EQ(1u, boxes.size());
            hAbout = boxes[0];
            // The tray menu is not disabled by the box: Exit arrives.
            Command(ID_TRAY_EXIT);
        },
        [&] {
            // The control dialog's loop has not noticed yet: both still live.
            EXPECT_TRUE(IsWindow(hAbout));
            EXPECT_TRUE(IsWindow(m_hWndDlg));
            SendMessageA(hAbout, WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_FALSE(bResult);
    EXPECT_FALSE(IsWindow(m_hWndDlg));
    EXPECT_TRUE(m_fake.messageBoxes.empty());
}

TEST_F(ApplicationTest, HelpShowsTheHelpText)
{
    char szHelp[2048] = {};
    LoadStringA(GetModuleHandleA(nullptr), ID_HELP, szHelp, sizeof(szHelp));
    ASSERT_GT(strlen(szHelp), 100u);
    BOOL bResult = Run({
        [&] { Command(ID_HELP); },
        [&] {
            // F1 in the dialog, without Shift, Ctrl or Alt.
            SetFocus(GetDlgItem(Hwnd(), IDC_INTERVAL3));
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_F1, 0);
        },
        [&] { Command(ID_TRAY_EXIT); },
    });
    EXPECT_FALSE(bResult);
    EXPECT_EQ((std::vector<std::string>{ szHelp, szHelp }), BoxTexts());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), m_fake.messageBoxes.front().uType);
}

TEST_F(ApplicationTest, OtherSystemCommandsKeepTheirUsualMeaning)
{
    BOOL bResult = Run({
        [&] { SendMessageA(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0); },
        [&] {
            EXPECT_TRUE(IsIconic(Hwnd()));
            // Painting while minimised draws the icon and nothing breaks.
            InvalidateRect(Hwnd(), nullptr, TRUE);
            UpdateWindow(Hwnd());
            EXPECT_EQ(0, m_nAboutBoxesSeen);
            SendMessageA(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
        },
        [&] {
            EXPECT_FALSE(IsIconic(Hwnd()));
            Command(ID_TRAY_EXIT);
        },
    });
    EXPECT_FALSE(bResult);
    EXPECT_TRUE(FindThreadDialogs(nullptr).empty());
}
