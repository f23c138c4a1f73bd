// The tray icon on the recording fake of the shell: the exact command,
// flags, icon and tip of each Shell_NotifyIconA call for each change of
// state; the mouse events that reach it through the hook on a real window;
// "TaskbarCreated"; destruction. One case runs with Wine's real shell.
#include "afx/afxwnd.h"
#include "res/resource.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/MessageSequence.h"
#include "tests/support/TestWindows.h"
#include "tray/TrayIcon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88,
              "the 32-bit program passes the 88-byte record");

namespace
{
const UINT WM_TRAY_NOTIFY = WM_USER + 10;
const char TIP[] = "Gyrovanter: windows circulation made easy";
// Ids with neither a string nor an icon, and with an icon but no string.
const UINT ID_NOTHING = 140;

// Shows what the tests look at.
class CInspectedTrayIcon : public CTrayIcon
{
public:
    using CTrayIcon::CTrayIcon;

    const NOTIFYICONDATAA& IconData() const { return m_iconData; }
    bool IsShown() const { return m_iconData.hIcon != nullptr; }
    CSubclassWnd& NotifyHook() { return m_notifyHook; }
    CSubclassWnd& TopLevelHook() { return m_topLevelHook; }
    CTrayIcon* OwnerOf(CTrayHook& hook) { return hook.m_pOwner; }
    CTrayHook& NotifyTrayHook() { return m_notifyHook; }
};

// The resource id of an icon handle, as the program's shared icons have
// them, or "?".
std::string IconName(HICON hIcon)
{
    if (hIcon == nullptr)
        return "none";
    for (UINT nID = 128; nID <= 134; ++nID)
        if (::LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID)) == hIcon)
            return std::to_string(nID);
    return "?";
}

std::string FlagsText(UINT uFlags)
{
    std::string strText;
    const std::pair<UINT, const char*> names[] = { { NIF_ICON, "ICON" }, { NIF_TIP, "TIP" }, { NIF_MESSAGE, "MESSAGE" } };
    for (const auto& name : names)
    {
        if (uFlags & name.first)
        {
            strText += strText.empty() ? "" : "|";
            strText += name.second;
        }
    }
    return strText.empty() ? "0" : strText;
}

// "ADD ICON|TIP|MESSAGE icon=129 tip='...'" for each call.
std::vector<std::string> ShellCalls(const CFakeWindowSystem& fake)
{
    std::vector<std::string> calls;
    for (const CFakeWindowSystem::NotifyCall& call : fake.notifyCalls)
    {
        const char* pszCommand = call.dwMessage == NIM_ADD      ? "ADD"
                                 : call.dwMessage == NIM_MODIFY ? "MODIFY"
                                 : call.dwMessage == NIM_DELETE ? "DELETE"
                                                                : "?";
        calls.push_back(std::string(pszCommand) + " " + FlagsText(call.data.uFlags) + " icon=" +
                        IconName(call.data.hIcon) + " tip='" + call.data.szTip + "'");
    }
    return calls;
}

const std::string TIP_TEXT = std::string("tip='") + TIP + "'";

// A tray icon 129 whose notify window is a real top-level window "dlg" of
// this process, with the fake in place of the window system and the shell.
class TrayIcon : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = CreateRecordingWindow("dlg");
        ASSERT_NE(nullptr, m_hWnd);
        m_pTray.reset(new CInspectedTrayIcon(IDR_TRAYICON));
        m_pTray->SetNotifyWindow(CWnd::FromHandle(m_hWnd), WM_TRAY_NOTIFY);
        m_fake.ClearRecords();
        g_sequence.clear();
    }

    void TearDown() override
    {
        m_pTray.reset();
        if (IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
        g_sequence.clear();
    }

    // Brings the icon into a state: shown with icon nID, or absent for 0.
    void Show(UINT nID)
    {
        if (nID != 0)
            m_pTray->SetTrayIcon(nID);
        ASSERT_EQ(nID != 0, m_pTray->IsShown());
        m_fake.ClearRecords();
    }

    LRESULT Notify(WPARAM wParam, LPARAM lParam) { return SendMessageA(m_hWnd, WM_TRAY_NOTIFY, wParam, lParam); }

    CFakeWindowSystem m_fake;
    HWND m_hWnd = nullptr;
    std::unique_ptr<CInspectedTrayIcon> m_pTray;
};
}

TEST_F(TrayIcon, ConstructionLoadsTheTipAndCallsNoShell)
{
    CFakeWindowSystem fake;
    CInspectedTrayIcon tray(IDR_TRAYICON);
    const NOTIFYICONDATAA& data = tray.IconData();
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), data.cbSize);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYICON), data.uID);
    EXPECT_STREQ(TIP, data.szTip);
    EXPECT_EQ(nullptr, data.hWnd);
    EXPECT_EQ(nullptr, data.hIcon);
    EXPECT_EQ(0u, data.uCallbackMessage);
    EXPECT_EQ(0u, data.uFlags);
    EXPECT_FALSE(tray.NotifyHook().IsHooked());
    EXPECT_FALSE(tray.TopLevelHook().IsHooked());
    EXPECT_EQ(&tray, tray.OwnerOf(tray.NotifyTrayHook()));
    EXPECT_TRUE(fake.notifyCalls.empty());

    // Without a string the tip is empty.
    CInspectedTrayIcon trayWithoutTip(IDI_RUNNING_1);
    EXPECT_STREQ("", trayWithoutTip.IconData().szTip);
}

TEST_F(TrayIcon, RunTimeClassesAndTheRegisteredMessage)
{
    EXPECT_STREQ("CTrayIcon", m_pTray->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CCmdTarget), m_pTray->GetRuntimeClass()->m_pBaseClass);
    EXPECT_EQ(RUNTIME_CLASS(CSubclassWnd), m_pTray->NotifyHook().GetRuntimeClass());
    EXPECT_EQ(::RegisterWindowMessageA("TaskbarCreated"), g_nTaskbarCreatedMsg);
    EXPECT_GE(g_nTaskbarCreatedMsg, 0xC000u);
}

TEST_F(TrayIcon, NotifyWindowIsHookedAndReachesTheShellWithTheNextSet)
{
    CFakeWindowSystem fake;
    CInspectedTrayIcon tray(IDR_TRAYICON);
    tray.SetNotifyWindow(CWnd::FromHandle(m_hWnd), WM_TRAY_NOTIFY);
    EXPECT_EQ(m_hWnd, tray.IconData().hWnd);
    EXPECT_EQ(WM_TRAY_NOTIFY, tray.IconData().uCallbackMessage);
    EXPECT_EQ(&tray.NotifyHook(), GetSubclassWndMap().FindHook(m_hWnd));
    EXPECT_FALSE(tray.TopLevelHook().IsHooked());
    EXPECT_TRUE(fake.notifyCalls.empty());

    ASSERT_TRUE(tray.SetTrayIcon(IDR_TRAYICON));
    ASSERT_EQ(1u, fake.notifyCalls.size());
    const NOTIFYICONDATAA& sent = fake.notifyCalls[0].data;
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), sent.cbSize);
    EXPECT_EQ(m_hWnd, sent.hWnd);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYICON), sent.uID);
    EXPECT_EQ(WM_TRAY_NOTIFY, sent.uCallbackMessage);

    // No window: the hook comes off, and no callback message is asked for.
    tray.SetNotifyWindow(nullptr, WM_TRAY_NOTIFY);
    EXPECT_EQ(nullptr, tray.IconData().hWnd);
    EXPECT_FALSE(tray.NotifyHook().IsHooked());
    EXPECT_EQ(&m_pTray->NotifyHook(), GetSubclassWndMap().FindHook(m_hWnd));
    fake.ClearRecords();
    tray.SetTrayIcon(IDR_TRAYICON);
    EXPECT_EQ(std::vector<std::string>{ "MODIFY ICON|TIP icon=129 " + TIP_TEXT }, ShellCalls(fake));
}

TEST_F(TrayIcon, ChildOrOwnedNotifyWindowHooksItsTopLevelWindowToo)
{
    HWND hWndChild = CreateRecordingWindow("child", m_hWnd, true);
    HWND hWndOwned = CreateRecordingWindow("owned", m_hWnd, false);
    HWND hWndOther = CreateRecordingWindow("other");
    ASSERT_NE(nullptr, hWndChild);
    ASSERT_NE(nullptr, hWndOwned);
    {
        CInspectedTrayIcon tray(IDR_TRAYICON);
        for (HWND hWndNotify : { hWndChild, hWndOwned })
        {
            tray.SetNotifyWindow(CWnd::FromHandle(hWndNotify), WM_TRAY_NOTIFY);
            EXPECT_EQ(hWndNotify, tray.IconData().hWnd);
            EXPECT_EQ(&tray.NotifyHook(), GetSubclassWndMap().FindHook(hWndNotify));
            // The dialog's fixture hook is older on the same window.
            EXPECT_EQ(&tray.TopLevelHook(), GetSubclassWndMap().FindHook(m_hWnd));
        }
        // A top-level notify window needs no second hook: the one left on the
        // former top-level window comes off.
        tray.SetNotifyWindow(CWnd::FromHandle(hWndOther), WM_TRAY_NOTIFY);
        EXPECT_EQ(&tray.NotifyHook(), GetSubclassWndMap().FindHook(hWndOther));
        EXPECT_FALSE(tray.TopLevelHook().IsHooked());
        EXPECT_EQ(&m_pTray->NotifyHook(), GetSubclassWndMap().FindHook(m_hWnd));
    }
    EXPECT_EQ(nullptr, GetSubclassWndMap().FindHook(hWndOther));
    DestroyWindow(hWndOther);
    DestroyWindow(hWndOwned);
}

TEST_F(TrayIcon, ChildNotifyWindowGetsTheCallbackAndItsTopLevelWindowTaskbarCreated)
{
    HWND hWndChild = CreateRecordingWindow("child", m_hWnd, true);
    m_pTray->SetNotifyWindow(CWnd::FromHandle(hWndChild), WM_TRAY_NOTIFY);
    Show(IDR_TRAYICON);

    // The callback message counts only on the notify window.
    Notify(IDR_TRAYICON, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m_fake.menusLoaded.empty());
    SendMessageA(hWndChild, WM_TRAY_NOTIFY, IDR_TRAYICON, WM_LBUTTONDBLCLK);
    ASSERT_EQ(1u, m_fake.sentCommands.size());
    EXPECT_EQ(hWndChild, m_fake.sentCommands[0].hWnd);

    // The shell sends "TaskbarCreated" to top-level windows only.
    m_fake.ClearRecords();
    SendMessageA(m_hWnd, g_nTaskbarCreatedMsg, 0, 0);
    EXPECT_EQ(std::vector<std::string>{ "ADD ICON|TIP|MESSAGE icon=129 " + TIP_TEXT }, ShellCalls(m_fake));
}

namespace
{
struct StateCase
{
    const char* pszName;
    UINT nShownBefore;                           // the icon shown before the event, 0 none
    std::function<BOOL(CInspectedTrayIcon&)> event;
    std::vector<BOOL> answers;                   // the shell's answers during the event
    std::vector<UINT> missingIcons;
    BOOL bResult;
    std::vector<std::string> expected;           // the shell calls of the event
    bool bShownAfter;
};

BOOL Set(CInspectedTrayIcon& tray, UINT nID)
{
    return tray.SetTrayIcon(nID);
}

BOOL TaskbarCreated(CInspectedTrayIcon& tray)
{
    return static_cast<BOOL>(SendMessageA(tray.IconData().hWnd, g_nTaskbarCreatedMsg, 0, 0) == 0);
}
}

TEST_F(TrayIcon, EachChangeOfStateMakesItsShellCall)
{
    const std::string ADD_129 = "ADD ICON|TIP|MESSAGE icon=129 " + TIP_TEXT;
    const std::string MODIFY_129 = "MODIFY ICON|TIP|MESSAGE icon=129 " + TIP_TEXT;
    const std::string DELETE_129 = "DELETE TIP|MESSAGE icon=129 " + TIP_TEXT;
    auto set129 = [](CInspectedTrayIcon& t) { return Set(t, IDR_TRAYICON); };
    auto set131 = [](CInspectedTrayIcon& t) { return Set(t, IDI_RUNNING_1); };
    auto set0 = [](CInspectedTrayIcon& t) { return Set(t, 0); };
    auto setNothing = [](CInspectedTrayIcon& t) { return Set(t, ID_NOTHING); };
    auto setNull = [](CInspectedTrayIcon& t) { return t.SetTrayIcon(nullptr, nullptr); };

    const StateCase cases[] = {
        { "absent, set 129", 0, set129, {}, {}, TRUE, { ADD_129 }, true },
        { "absent, set 129, add fails", 0, set129, { FALSE }, {}, FALSE, { ADD_129 }, false },
        { "shown, set 129", IDR_TRAYICON, set129, {}, {}, TRUE, { MODIFY_129 }, true },
        { "shown, set 131 (no string)", IDR_TRAYICON, set131, {}, {}, TRUE, { "MODIFY ICON|MESSAGE icon=131 tip=''" }, true },
        { "shown, change fails", IDR_TRAYICON, set131, { FALSE }, {}, FALSE, { "MODIFY ICON|MESSAGE icon=131 tip=''" }, false },
        { "shown, set 0", IDR_TRAYICON, set0, {}, {}, TRUE, { DELETE_129 }, false },
        { "shown, set 0, delete fails", IDR_TRAYICON, set0, { FALSE }, {}, FALSE, { DELETE_129 }, false },
        { "shown, set NULL", IDR_TRAYICON, setNull, {}, {}, TRUE, { DELETE_129 }, false },
        { "shown, icon missing", IDR_TRAYICON, set129, {}, { IDR_TRAYICON }, TRUE, { DELETE_129 }, false },
        { "shown running, icon and string missing", IDI_RUNNING_1, setNothing, {}, {}, TRUE, { "DELETE MESSAGE icon=131 tip=''" }, false },
        { "absent, set 0", 0, set0, {}, {}, TRUE, {}, false },
        { "absent, icon missing", 0, setNothing, {}, {}, TRUE, {}, false },
        { "shown, taskbar created", IDR_TRAYICON, TaskbarCreated, {}, {}, TRUE, { ADD_129 }, true },
        // A broadcast while the shell still holds the icon: the add is
        // refused, and the change keeps the icon going.
        { "shown, taskbar created, add refused", IDR_TRAYICON, TaskbarCreated, { FALSE }, {}, TRUE, { ADD_129, MODIFY_129 }, true },
        { "shown, taskbar created, add and change fail", IDR_TRAYICON, TaskbarCreated, { FALSE, FALSE }, {}, TRUE, { ADD_129, MODIFY_129 }, false },
        { "shown running, taskbar created", IDI_RUNNING_1, TaskbarCreated, {}, {}, TRUE, { "ADD ICON|MESSAGE icon=131 tip=''" }, true },
        { "absent, taskbar created", 0, TaskbarCreated, {}, {}, TRUE, {}, false },
    };
    for (const StateCase& test : cases)
    {
        SCOPED_TRACE(test.pszName);
        m_pTray.reset(new CInspectedTrayIcon(IDR_TRAYICON));
        m_pTray->SetNotifyWindow(CWnd::FromHandle(m_hWnd), WM_TRAY_NOTIFY);
        Show(test.nShownBefore);
        m_fake.notifyResults = test.answers;
        m_fake.missingIcons = test.missingIcons;

        EXPECT_EQ(test.bResult, test.event(*m_pTray));
        EXPECT_EQ(test.expected, ShellCalls(m_fake));
        EXPECT_EQ(test.bShownAfter, m_pTray->IsShown());
        for (const CFakeWindowSystem::NotifyCall& call : m_fake.notifyCalls)
        {
            EXPECT_EQ(m_hWnd, call.data.hWnd);
            EXPECT_EQ(static_cast<UINT>(IDR_TRAYICON), call.data.uID);
            EXPECT_EQ(WM_TRAY_NOTIFY, call.data.uCallbackMessage);
        }
        m_fake.missingIcons.clear();
    }
}

TEST_F(TrayIcon, AfterAFailedAddOrChangeTheNextSetAdds)
{
    m_fake.notifyResults = { FALSE };
    EXPECT_FALSE(m_pTray->SetTrayIcon(IDR_TRAYICON));
    EXPECT_TRUE(m_pTray->SetTrayIcon(IDI_RUNNING_1));
    m_fake.notifyResults = { FALSE };
    EXPECT_FALSE(m_pTray->SetTrayIcon(IDI_RUNNING_2));
    EXPECT_TRUE(m_pTray->SetTrayIcon(IDI_RUNNING_3));
    EXPECT_EQ((std::vector<std::string>{
                  "ADD ICON|TIP|MESSAGE icon=129 " + TIP_TEXT,
                  "ADD ICON|MESSAGE icon=131 tip=''",
                  "MODIFY ICON|MESSAGE icon=134 tip=''",
                  "ADD ICON|MESSAGE icon=133 tip=''",
              }),
              ShellCalls(m_fake));
}

TEST_F(TrayIcon, RunningPicturesKeepTheShownTipUntilStop)
{
    for (UINT nID : { IDR_TRAYICON, IDI_RUNNING_1, IDI_RUNNING_2, IDI_RUNNING_3, IDI_RUNNING_4, IDI_RUNNING_1 })
        m_pTray->SetTrayIcon(nID);
    // The taskbar restarts during the run, then the run stops.
    SendMessageA(m_hWnd, g_nTaskbarCreatedMsg, 0, 0);
    m_pTray->SetTrayIcon(IDI_RUNNING_2);
    m_pTray->SetTrayIcon(IDR_TRAYICON);
    EXPECT_EQ((std::vector<std::string>{
                  "ADD ICON|TIP|MESSAGE icon=129 " + TIP_TEXT,
                  "MODIFY ICON|MESSAGE icon=131 tip=''",
                  "MODIFY ICON|MESSAGE icon=134 tip=''",
                  "MODIFY ICON|MESSAGE icon=133 tip=''",
                  "MODIFY ICON|MESSAGE icon=132 tip=''",
                  "MODIFY ICON|MESSAGE icon=131 tip=''",
                  "ADD ICON|MESSAGE icon=131 tip=''",
                  "MODIFY ICON|MESSAGE icon=134 tip=''",
                  "MODIFY ICON|TIP|MESSAGE icon=129 " + TIP_TEXT,
              }),
              ShellCalls(m_fake));
}

TEST_F(TrayIcon, MissingStringMeansNoTip)
{
    CInspectedTrayIcon tray(IDI_RUNNING_1);
    tray.SetNotifyWindow(CWnd::FromHandle(m_hWnd), WM_TRAY_NOTIFY);
    m_fake.ClearRecords();
    tray.SetTrayIcon(IDI_RUNNING_1);
    // A stored tip is emptied by an id without a string.
    m_pTray->SetTrayIcon(IDR_TRAYICON);
    m_pTray->SetTrayIcon(ID_NOTHING);
    EXPECT_STREQ("", m_pTray->IconData().szTip);
    EXPECT_EQ((std::vector<std::string>{
                  "ADD ICON|MESSAGE icon=131 tip=''",
                  "ADD ICON|TIP|MESSAGE icon=129 " + TIP_TEXT,
                  "DELETE MESSAGE icon=129 tip=''",
              }),
              ShellCalls(m_fake));
    tray.SetNotifyWindow(nullptr, 0);
}

TEST_F(TrayIcon, TipGivenWithAHandleIsCutToTheField)
{
    HICON hIcon = ::LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_RUNNING_1));
    const std::string str63(63, 'x');
    const std::string str64 = std::string(63, 'y') + "z";
    const std::string str100(100, 'w');
    const struct
    {
        const char* pszTip;  // NULL keeps the stored tip
        std::string expected;
    } cases[] = {
        { "short", "short" },
        { nullptr, "short" },
        { str63.c_str(), str63 },
        { str64.c_str(), std::string(63, 'y') },
        { str100.c_str(), std::string(63, 'w') },
        { "", "" },
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.pszTip != nullptr ? test.pszTip : "NULL");
        m_fake.ClearRecords();
        EXPECT_TRUE(m_pTray->SetTrayIcon(hIcon, test.pszTip));
        ASSERT_EQ(1u, m_fake.notifyCalls.size());
        const NOTIFYICONDATAA& sent = m_fake.notifyCalls[0].data;
        // The record's first form has 64 bytes for the tip.
        EXPECT_EQ(test.expected, std::string(sent.szTip, strnlen(sent.szTip, 64)));
        EXPECT_EQ('\0', sent.szTip[63]);
        EXPECT_EQ(test.expected.empty() ? 0u : static_cast<UINT>(NIF_TIP), sent.uFlags & NIF_TIP);
    }
}

TEST_F(TrayIcon, DestructionRemovesAShownIconAndTakesTheHookOff)
{
    Show(IDR_TRAYICON);
    m_pTray.reset();
    EXPECT_EQ(std::vector<std::string>{ "DELETE TIP|MESSAGE icon=129 " + TIP_TEXT }, ShellCalls(m_fake));
    EXPECT_EQ(m_hWnd, m_fake.notifyCalls[0].data.hWnd);
    EXPECT_EQ(nullptr, GetSubclassWndMap().FindHook(m_hWnd));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(RecordingWndProc), GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));

    // Absent: nothing to remove.
    m_pTray.reset(new CInspectedTrayIcon(IDR_TRAYICON));
    m_fake.ClearRecords();
    m_pTray.reset();
    EXPECT_TRUE(m_fake.notifyCalls.empty());
}

TEST_F(TrayIcon, DestroyedWindowLeavesTheIconUntilTheObjectGoes)
{
    Show(IDR_TRAYICON);
    HWND hWnd = m_hWnd;
    DestroyWindow(m_hWnd);
    EXPECT_FALSE(m_pTray->NotifyHook().IsHooked());
    EXPECT_TRUE(m_fake.notifyCalls.empty());
    m_pTray.reset();
    ASSERT_EQ(1u, m_fake.notifyCalls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), m_fake.notifyCalls[0].dwMessage);
    EXPECT_EQ(hWnd, m_fake.notifyCalls[0].data.hWnd);
    EXPECT_EQ(static_cast<UINT>(IDR_TRAYICON), m_fake.notifyCalls[0].data.uID);
}

namespace
{
// The lines of the menu calls in the fake's log, with the menu handles named.
std::vector<std::string> MenuCalls(const CFakeWindowSystem& fake, HWND hWnd)
{
    std::vector<std::string> calls;
    for (std::string line : fake.log)
    {
        if (line.rfind("Shell_NotifyIcon", 0) == 0)
            continue;
        auto replace = [&line](const std::string& strFrom, const std::string& strTo) {
            for (size_t n = line.find(strFrom); n != std::string::npos; n = line.find(strFrom, n + strTo.size()))
                line.replace(n, strFrom.size(), strTo);
        };
        replace(Hex(reinterpret_cast<UINT_PTR>(hWnd)) + ",", "dlg,");
        replace(Hex(reinterpret_cast<UINT_PTR>(hWnd)) + ")", "dlg)");
        if (!fake.trackCalls.empty())
            replace(Hex(reinterpret_cast<UINT_PTR>(fake.trackCalls[0].hMenu)), "popup");
        if (!fake.menusLoaded.empty())
            replace(Hex(reinterpret_cast<UINT_PTR>(fake.menusLoaded[0])), "menu");
        calls.push_back(line);
    }
    return calls;
}
}

TEST_F(TrayIcon, RightButtonUpOpensThePopupAtTheCursorWithTheDialogInFront)
{
    Show(IDR_TRAYICON);
    m_fake.ptCursor = POINT{ 640, 790 };
    m_fake.nTrackChoice = ID_TRAY_EXIT;
    m_fake.onTrack = [](const CFakeWindowSystem::TrackCall& call) {
        // What the user sees while the menu is open.
        char szText[64] = {};
        std::string strItems;
        for (int i = 0; i < GetMenuItemCount(call.hMenu); ++i)
        {
            GetMenuStringA(call.hMenu, i, szText, sizeof(szText), MF_BYPOSITION);
            strItems += std::string(i ? "," : "") + (szText[0] ? szText : "-");
        }
        g_sequence.push_back("menu open: " + strItems + " default " +
                             std::to_string(static_cast<int>(GetMenuDefaultItem(call.hMenu, TRUE, 0))));
    };

    EXPECT_EQ(0, Notify(IDR_TRAYICON, WM_RBUTTONUP));
    EXPECT_EQ((std::vector<std::string>{
                  "LoadMenu(129)",
                  "SetMenuDefaultItem(popup, 0, 1)",
                  "GetCursorPos",
                  "SetForegroundWindow(dlg)",
                  "TrackPopupMenu(popup, 0, 640, 790, dlg)",
                  "PostMessage(dlg, 0x0, 0, 0)",
                  "DestroyMenu(menu)",
              }),
              MenuCalls(m_fake, m_hWnd));
    ASSERT_EQ(1u, m_fake.menusLoaded.size());
    EXPECT_EQ(m_fake.menusLoaded, m_fake.menusDestroyed);
    // The hook handles the callback before it passes it on to the window.
    EXPECT_SEQUENCE({ "menu open: &Configure,-,&Start,Sto&p,-,&About,-,E&xit default 0", "dlg WM_USER+10(129,517)" });

    // The chosen item reaches the window after the menu closed, and the
    // posted WM_NULL lets the menu close when the user clicks elsewhere.
    PumpMessages();
    EXPECT_SEQUENCE({ "dlg WM_COMMAND(32778,0)", "dlg WM_NULL(0,0)" });
    EXPECT_TRUE(m_fake.notifyCalls.empty());
    EXPECT_EQ(1, m_pTray->OnIconNotify(IDR_TRAYICON, WM_RBUTTONUP));
}

TEST_F(TrayIcon, DoubleClickSendsTheFirstCommandBeforeTheHookReturns)
{
    Show(IDR_TRAYICON);
    EXPECT_EQ(0, Notify(IDR_TRAYICON, WM_LBUTTONDBLCLK));
    EXPECT_SEQUENCE({ "dlg WM_COMMAND(32774,0)", "dlg WM_USER+10(129,515)" });
    EXPECT_EQ((std::vector<std::string>{
                  "LoadMenu(129)",
                  "SendMessage(dlg, WM_COMMAND, 32774, 0)",
                  "DestroyMenu(menu)",
              }),
              MenuCalls(m_fake, m_hWnd));
    EXPECT_TRUE(m_fake.trackCalls.empty());
    EXPECT_TRUE(m_fake.foregroundRequests.empty());
    EXPECT_EQ(m_fake.menusLoaded, m_fake.menusDestroyed);
    PumpMessages();
    EXPECT_SEQUENCE({});
    EXPECT_EQ(1, m_pTray->OnIconNotify(IDR_TRAYICON, WM_LBUTTONDBLCLK));
}

TEST_F(TrayIcon, OtherMouseEventsAndOtherIconsDoNothing)
{
    Show(IDR_TRAYICON);
    const struct
    {
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        { IDR_TRAYICON, WM_MOUSEMOVE },   { IDR_TRAYICON, WM_LBUTTONDOWN },  { IDR_TRAYICON, WM_LBUTTONUP },
        { IDR_TRAYICON, WM_RBUTTONDOWN }, { IDR_TRAYICON, WM_RBUTTONDBLCLK }, { IDR_TRAYICON, WM_MBUTTONUP },
        { IDI_RUNNING_1, WM_RBUTTONUP },  { IDI_RUNNING_1, WM_LBUTTONDBLCLK }, { 0, WM_RBUTTONUP },
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(MessageText(WM_TRAY_NOTIFY, test.wParam, test.lParam));
        Notify(test.wParam, test.lParam);
        EXPECT_SEQUENCE({ "dlg " + MessageText(WM_TRAY_NOTIFY, test.wParam, test.lParam) });
        EXPECT_EQ(0, m_pTray->OnIconNotify(test.wParam, test.lParam));
        EXPECT_TRUE(m_fake.log.empty());
        PumpMessages();
        EXPECT_SEQUENCE({});
    }
}

TEST_F(TrayIcon, MissingMenuOrPopupIgnoresTheEvent)
{
    Show(IDR_TRAYICON);
    m_fake.bMenuMissing = true;
    for (LPARAM lParam : { WM_RBUTTONUP, WM_LBUTTONDBLCLK })
    {
        m_fake.ClearRecords();
        EXPECT_EQ(0, m_pTray->OnIconNotify(IDR_TRAYICON, lParam));
        EXPECT_EQ(std::vector<std::string>{ "LoadMenu(129)" }, MenuCalls(m_fake, m_hWnd));
    }
    m_fake.bMenuMissing = false;
    m_fake.bSubMenuMissing = true;
    for (LPARAM lParam : { WM_RBUTTONUP, WM_LBUTTONDBLCLK })
    {
        m_fake.ClearRecords();
        EXPECT_EQ(0, m_pTray->OnIconNotify(IDR_TRAYICON, lParam));
        EXPECT_EQ((std::vector<std::string>{ "LoadMenu(129)", "DestroyMenu(menu)" }), MenuCalls(m_fake, m_hWnd));
    }
    PumpMessages();
    EXPECT_SEQUENCE({});
}

// Wine's own shell: add, change and delete answer TRUE.
TEST(TrayIconRealShell, AddChangeAndDeleteSucceed)
{
    HWND hWnd = CreateRecordingWindow("dlg");
    ASSERT_NE(nullptr, hWnd);
    {
        CInspectedTrayIcon tray(IDR_TRAYICON);
        tray.SetNotifyWindow(CWnd::FromHandle(hWnd), WM_TRAY_NOTIFY);
        EXPECT_TRUE(tray.SetTrayIcon(IDR_TRAYICON));
        EXPECT_TRUE(tray.IsShown());
        for (UINT nID : { IDI_RUNNING_1, IDI_RUNNING_2, IDI_RUNNING_3, IDI_RUNNING_4, IDR_TRAYICON })
            EXPECT_TRUE(tray.SetTrayIcon(nID)) << nID;
        EXPECT_TRUE(tray.SetTrayIcon(0));
        EXPECT_FALSE(tray.IsShown());
        EXPECT_TRUE(tray.SetTrayIcon(IDR_TRAYICON));
    }
    DestroyWindow(hWnd);
}
