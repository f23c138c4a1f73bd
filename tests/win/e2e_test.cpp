// The finished program, driven only from outside as its user and the shell
// reach it: Gyrovanter.exe runs as a process of its own beside a second
// process that owns the windows to cycle. The test clicks its buttons,
// chooses lines in its lists, types into its interval fields, sends the tray
// icon's notifications and the tray menu's commands, and looks at what a user
// would see: the dialog and its controls, the boxes it opens, the window in
// front at each second, and whether the process is still there.
#include "res/SlotControls.h"
#include "res/resource.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>

namespace
{
const char DIALOG_CLASS[] = "#32770";
const char MENU_CLASS[] = "#32768";
const char CAPTION[] = "Gyrovanter";
const char ABOUT_CAPTION[] = "About Gyrovanter";
const char NO_WINDOW[] = " <No window selected>";
const char INSTRUCTIONS[] =
    "Select a window from the list, and specify the number of seconds it should be displayed as topmost "
    "window. Press Start to start the cycling of windows, and Stop to pause. Note that settings can be "
    "adjusted while the procedure runs. The program can be minimized to system tray by pressing the Close "
    "button.";
const char CLOSE_NOTICE[] =
    "Gyrovanter is now minimized to the system tray. To close the program completely, right click on the "
    "icon in the system tray and select Exit.";
const char RANGE_MESSAGE[] = "Please enter an integer between 1 and 3600.";
const char INTEGER_MESSAGE[] = "Please enter an integer.";

const UINT TRAY_CALLBACK = WM_USER + 10;
const WPARAM TRAY_ID = 129;
// The static control that holds a message box's text.
const int MESSAGE_TEXT_ID = 0xFFFF;

// A window comes to the front within this much of its predicted second.
const double TOLERANCE = 0.3;

// The windows to cycle, owned by a second process. "Gamma" lives in a third
// process that a test can end, closing its window.
const char* const OWNER_WINDOWS[] = { "v:E2E Alpha", "v:E2E Beta", "h:E2E Hidden", "v:" };
const char GAMMA_WINDOW[] = "v:E2E Gamma";

std::string TitleOf(const std::string& strName)
{
    return "E2E " + strName;
}

std::string Entry(const std::string& strTitle, DWORD dwProcessId)
{
    char szPid[16];
    snprintf(szPid, sizeof(szPid), "%lu", dwProcessId);
    return strTitle + " <(PID=" + szPid + ")>";
}

// Under Wine, with no system tray on the X display, the icons of the
// notification area are shown in a window of Wine's own, visible while it
// holds at least one icon.
bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool WineTrayShowsIcons()
{
    HWND hTray = FindWindowA("__winex11_standalone_tray", nullptr);
    return hTray != nullptr && IsWindowVisible(hTray);
}

// The window in which Wine draws the first icon of its tray window.
HWND WineTrayIcon()
{
    HWND hTray = FindWindowA("__winex11_standalone_tray", nullptr);
    return hTray != nullptr ? FindWindowExA(hTray, nullptr, "__winex11_tray_icon", nullptr) : nullptr;
}

std::vector<COLORREF> PictureOf(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return ScreenPixels(rc);
}

// The window's picture once it has stopped changing for 300 ms (at most
// 3 seconds): a window that was just uncovered is drawn again first.
std::vector<COLORREF> SettledPictureOf(HWND hWnd)
{
    std::vector<COLORREF> picture = PictureOf(hWnd);
    DWORD dwSettled = GetTickCount();
    WaitUntil(
        [&] {
            std::vector<COLORREF> now = PictureOf(hWnd);
            if (now != picture)
            {
                picture = now;
                dwSettled = GetTickCount();
            }
            return GetTickCount() - dwSettled >= 300;
        },
        3000);
    return picture;
}

// Two pictures of one icon differ when more than 3 % of their pixels do: the
// running pictures differ from one another in the colours of their small
// windows, some 30 of the 400 pixels of Wine's icon window.
bool PicturesDiffer(const std::vector<COLORREF>& first, const std::vector<COLORREF>& second)
{
    return PixelDifference(first, second) > 0.03;
}

// How often the window's picture changes within dwDuration ms, sampled every
// 100 ms.
int CountPictureChanges(HWND hWnd, DWORD dwDuration)
{
    int nChanges = 0;
    std::vector<COLORREF> last = PictureOf(hWnd);
    DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < dwDuration)
    {
        PumpMessages(100);
        std::vector<COLORREF> now = PictureOf(hWnd);
        if (PicturesDiffer(last, now))
            ++nChanges;
        last = now;
    }
    return nChanges;
}

// Cases of the table-driven tests carry a name, shown in test names and in
// failure messages.
template <typename Case>
auto operator<<(std::ostream& out, const Case& test) -> decltype(test.pszName, out)
{
    return out << test.pszName;
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.pszName;
}

struct Turn
{
    double dSeconds;  // after Start
    const char* pszWindow;
};

std::string Describe(const std::vector<std::pair<double, std::string>>& turns)
{
    std::ostringstream out;
    for (const auto& turn : turns)
        out << "  " << turn.first << " s  " << turn.second << "\n";
    return out.str();
}

// The program running beside the windows it is to cycle. Every test case runs
// in a process of its own, with a fresh program; the program never outlives it.
class Gyrovanter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strExe = TestProgramFolder() + "Gyrovanter.exe";
        if (GetFileAttributesA(m_strExe.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "Gyrovanter.exe is not built next to the test programs: " << m_strExe;
        m_pOwner = std::make_unique<CWindowOwnerProcess>(
            std::vector<std::string>(std::begin(OWNER_WINDOWS), std::end(OWNER_WINDOWS)));
        ASSERT_TRUE(m_pOwner->IsReady());
    }

    void TearDown() override
    {
        m_pProgram.reset();
        m_pGamma.reset();
        m_pOwner.reset();
    }

    // Starts the program and waits for its dialog with its lists built.
    void Launch()
    {
        m_pProgram = std::make_unique<CProgramProcess>(m_strExe);
        ASSERT_TRUE(m_pProgram->IsStarted());
        m_hDlg = m_pProgram->WaitForWindow(DIALOG_CLASS, CAPTION, 20000);
        ASSERT_NE(nullptr, m_hDlg) << (m_pProgram->IsRunning() ? "no dialog captioned Gyrovanter"
                                                                : "Gyrovanter.exe ended without showing its dialog");
        ASSERT_TRUE(WaitUntil([&] { return ComboLines(List(1)).size() > 1; }, 5000));
        // Start-up has settled once the dialog's thread has put its focus.
        WaitUntil([&] { return FocusOfThread(m_hDlg) != nullptr; }, 2000);
    }

    void LaunchWithGamma()
    {
        m_pGamma = std::make_unique<CWindowOwnerProcess>(std::vector<std::string>{ GAMMA_WINDOW });
        ASSERT_TRUE(m_pGamma->IsReady());
        ASSERT_NO_FATAL_FAILURE(Launch());
    }

    // The Gamma window's application ends: its window is gone.
    void CloseGamma() { m_pGamma.reset(); }

    HWND List(int nSlot) const { return GetDlgItem(m_hDlg, SLOT_WINDOW_LIST_IDS[nSlot - 1]); }
    HWND Field(int nSlot) const { return GetDlgItem(m_hDlg, SLOT_INTERVAL_IDS[nSlot - 1]); }
    DWORD ProgramId() const { return m_pProgram->ProcessId(); }

    // The window that a test names "Alpha", "Beta", "Gamma".
    HWND Window(const std::string& strName) const
    {
        const CWindowOwnerProcess* pOwner = strName == "Gamma" ? m_pGamma.get() : m_pOwner.get();
        if (pOwner == nullptr)
            return nullptr;
        std::vector<HWND> windows = pOwner->FindWindows(TitleOf(strName));
        return windows.empty() ? nullptr : windows.front();
    }

    std::string EntryOf(const std::string& strName) const
    {
        const CWindowOwnerProcess* pOwner = strName == "Gamma" ? m_pGamma.get() : m_pOwner.get();
        return Entry(TitleOf(strName), pOwner != nullptr ? pOwner->ProcessId() : 0);
    }

    // Chooses the window's line in the slot's list, as a user picks it.
    void ChooseWindow(int nSlot, const std::string& strName)
    {
        int nIndex = FindComboLine(m_hDlg, SLOT_WINDOW_LIST_IDS[nSlot - 1], EntryOf(strName));
        ASSERT_GE(nIndex, 1) << EntryOf(strName) << " is not in the list of slot " << nSlot;
        ChooseComboLine(m_hDlg, SLOT_WINDOW_LIST_IDS[nSlot - 1], nIndex);
        EXPECT_EQ(EntryOf(strName), WindowText(List(nSlot)));
    }

    void TypeInterval(int nSlot, const std::string& strText) { SetControlText(m_hDlg, SLOT_INTERVAL_IDS[nSlot - 1], strText); }

    bool IsEnabled(int nId) const { return IsWindowEnabled(GetDlgItem(m_hDlg, nId)) != FALSE; }
    bool IsRunningPattern() const { return !IsEnabled(IDOK) && IsEnabled(IDC_STOP) && !IsEnabled(IDC_REREAD); }
    bool IsStoppedPattern() const { return IsEnabled(IDOK) && !IsEnabled(IDC_STOP) && IsEnabled(IDC_REREAD); }

    // The message boxes of the program that are on screen: dialog-class
    // windows other than the control dialog and the About box.
    std::vector<HWND> MessageBoxes() const
    {
        std::vector<HWND> boxes;
        for (HWND hWnd : FindVisibleProcessWindows(ProgramId(), DIALOG_CLASS))
            if (hWnd != m_hDlg && WindowText(hWnd) != ABOUT_CAPTION)
                boxes.push_back(hWnd);
        return boxes;
    }

    HWND WaitForMessageBox(DWORD dwTimeout = 3000) const
    {
        HWND hBox = nullptr;
        WaitUntil(
            [&] {
                std::vector<HWND> boxes = MessageBoxes();
                hBox = boxes.empty() ? nullptr : boxes.front();
                return hBox != nullptr;
            },
            dwTimeout);
        return hBox;
    }

    HWND AboutBox() const
    {
        std::vector<HWND> boxes = FindVisibleProcessWindows(ProgramId(), DIALOG_CLASS, ABOUT_CAPTION);
        return boxes.empty() ? nullptr : boxes.front();
    }

    HWND PopupMenu() const
    {
        std::vector<HWND> menus = FindVisibleProcessWindows(ProgramId(), MENU_CLASS);
        return menus.empty() ? nullptr : menus.front();
    }

    // Presses OK in a message box and waits for it to go.
    static void PressOk(HWND hBox)
    {
        ClickButton(hBox, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(hBox); }, 3000)) << "the box stayed open";
    }

    // Close, the notice, OK: the dialog goes to the tray.
    void HideToTray()
    {
        ClickButton(m_hDlg, IDCANCEL);
        HWND hBox = WaitForMessageBox();
        ASSERT_NE(nullptr, hBox) << "Close showed no notice";
        EXPECT_EQ(CLOSE_NOTICE, ControlText(hBox, MESSAGE_TEXT_ID));
        PressOk(hBox);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hDlg); }, 3000)) << "the dialog stayed on screen";
    }

    // Clicks Start; the recorder counts the seconds from the click.
    void Start()
    {
        BringToFront(m_hDlg);
        m_recorder.Restart();
        ClickButton(m_hDlg, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return IsRunningPattern(); }, 3000)) << "Start did not start a run";
    }

    // Starts the program with Alpha in slot 1 and Beta in slot 2, both at the
    // given interval, and brings it into the state that a case asks for.
    void LaunchInState(bool bHidden, bool bRunning, const char* pszInterval)
    {
        ASSERT_NO_FATAL_FAILURE(Launch());
        ChooseWindow(1, "Alpha");
        TypeInterval(1, pszInterval);
        ChooseWindow(2, "Beta");
        TypeInterval(2, pszInterval);
        if (bRunning)
        {
            ASSERT_NO_FATAL_FAILURE(Start());
        }
        if (bHidden)
        {
            ASSERT_NO_FATAL_FAILURE(HideToTray());
        }
    }

    void TrayNotify(WPARAM wParam, LPARAM lParam) const { PostMessageW(m_hDlg, TRAY_CALLBACK, wParam, lParam); }

    // A right click on the tray icon, and the pop-up menu that it opens. Under
    // Wine without a window manager a menu opened just as the program's dialog
    // takes the activation can close again at once, sometimes before it could
    // be seen; a user would click again, and so does this, twice at most.
    HWND OpenTrayMenu() const
    {
        for (int nAttempt = 1; nAttempt <= 3; ++nAttempt)
        {
            TrayNotify(TRAY_ID, WM_RBUTTONUP);
            HWND hMenu = nullptr;
            if (WaitUntil([&] { return (hMenu = PopupMenu()) != nullptr; }, 1500) &&
                HoldsFor([&] { return IsWindowVisible(hMenu) != FALSE; }, 300))
                return hMenu;
            fprintf(stderr, "the pop-up menu did not stay open (attempt %d)\n", nAttempt);
        }
        return nullptr;
    }

    // "Alpha", "Beta", "Gamma", "dialog", or the window's class and title.
    std::string NameOf(HWND hWnd) const
    {
        for (const char* pszName : { "Alpha", "Beta", "Gamma" })
            if (hWnd != nullptr && hWnd == Window(pszName))
                return pszName;
        if (hWnd != nullptr && hWnd == m_hDlg)
            return "dialog";
        return WindowClass(hWnd) + " \"" + WindowText(hWnd) + "\"";
    }

    // The foreground changes since the recorder's start, as named windows;
    // with bOnlyCycled only those to the windows that the program cycles. The
    // moments without a foreground window, which Wine passes through while
    // the activation moves to another process, are left out.
    std::vector<std::pair<double, std::string>> Recorded(bool bOnlyCycled = false) const
    {
        std::vector<std::pair<double, std::string>> turns;
        for (const CForegroundRecorder::Change& change : m_recorder.Changes())
        {
            if (change.hWnd == nullptr)
                continue;
            std::string strName = NameOf(change.hWnd);
            bool bCycled = strName == "Alpha" || strName == "Beta" || strName == "Gamma";
            if (bCycled || !bOnlyCycled)
                turns.emplace_back(change.dSeconds, bCycled || strName == "dialog" ? strName : change.strName);
        }
        return turns;
    }

    // Compares the recorded foreground changes with the predicted turns:
    // the same windows in the same order, each within the tolerance.
    void ExpectTurns(const std::vector<Turn>& expected) const
    {
        std::vector<std::pair<double, std::string>> recorded = Recorded();
        std::vector<std::pair<double, std::string>> predicted;
        for (const Turn& turn : expected)
            predicted.emplace_back(turn.dSeconds, turn.pszWindow);
        size_t nMismatch = 0;
        while (nMismatch < recorded.size() && nMismatch < predicted.size() &&
               recorded[nMismatch].second == predicted[nMismatch].second &&
               std::abs(recorded[nMismatch].first - predicted[nMismatch].first) <= TOLERANCE)
            ++nMismatch;
        EXPECT_TRUE(nMismatch == recorded.size() && nMismatch == predicted.size())
            << "first mismatch at turn " << nMismatch << "\npredicted:\n"
            << Describe(predicted) << "recorded:\n"
            << Describe(recorded);
    }

    std::string m_strExe;
    std::unique_ptr<CWindowOwnerProcess> m_pOwner;
    std::unique_ptr<CWindowOwnerProcess> m_pGamma;
    std::unique_ptr<CProgramProcess> m_pProgram;
    HWND m_hDlg = nullptr;
    CForegroundRecorder m_recorder;
};

// ---------------------------------------------------------------------------
// Start-up

TEST_F(Gyrovanter, StartsWithAnIdleDialog)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(DIALOG_CLASS, WindowClass(m_hDlg));
    EXPECT_TRUE(IsWindowVisible(m_hDlg));
    EXPECT_EQ(1u, FindProcessWindows(ProgramId(), DIALOG_CLASS, CAPTION).size());
    EXPECT_TRUE(MessageBoxes().empty());

    const struct
    {
        int nId;
        const char* pszText;
        bool bEnabled;
    } buttons[] = {
        { IDOK, "&Start", true },         { IDC_STOP, "Sto&p", false },         { IDC_ABOUT, "&About ...", true },
        { IDCANCEL, "&Close", true },     { IDC_REREAD, "Reread lists", true },
    };
    for (const auto& button : buttons)
    {
        EXPECT_EQ(button.pszText, ControlText(m_hDlg, button.nId));
        EXPECT_EQ(button.bEnabled, IsEnabled(button.nId)) << button.pszText;
    }
    EXPECT_EQ(INSTRUCTIONS, ControlText(m_hDlg, IDC_INSTRUCTIONS));

    // Every list shows "no window" over the same lines; every field shows 1.
    std::vector<std::string> lines = ComboLines(List(1));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(NO_WINDOW, lines[0]);
    for (int nSlot = 1; nSlot <= 10; ++nSlot)
    {
        EXPECT_EQ(0, SendMessageW(List(nSlot), CB_GETCURSEL, 0, 0)) << "slot " << nSlot;
        EXPECT_EQ(NO_WINDOW, WindowText(List(nSlot))) << "slot " << nSlot;
        EXPECT_EQ(lines, ComboLines(List(nSlot))) << "slot " << nSlot;
        EXPECT_EQ("1", WindowText(Field(nSlot))) << "slot " << nSlot;
        EXPECT_TRUE(IsWindowEnabled(List(nSlot)) && IsWindowEnabled(Field(nSlot))) << "slot " << nSlot;
    }
    EXPECT_EQ(List(1), FocusOfThread(m_hDlg)) << "the focus is not in slot 1's list";

    // The lists name every titled window, hidden ones and the dialog itself
    // included, and no window without a title.
    auto listed = [&](const std::string& strLine) { return FindComboLine(m_hDlg, IDC_WINDOW1, strLine) > 0; };
    EXPECT_TRUE(listed(EntryOf("Alpha")));
    EXPECT_TRUE(listed(EntryOf("Beta")));
    EXPECT_TRUE(listed(EntryOf("Hidden")));
    EXPECT_TRUE(listed(Entry(CAPTION, ProgramId())));
    for (const std::string& strLine : lines)
        EXPECT_NE(0u, strLine.find(" <(PID=")) << "a line without a title: " << strLine;

    if (RunningUnderWine())
    {
        EXPECT_TRUE(WaitUntil([] { return WineTrayShowsIcons(); }, 2000)) << "no icon in the notification area";
    }
}

// ---------------------------------------------------------------------------
// Cycling: which window comes to the front at which second after Start.

struct SlotSetting
{
    int nSlot;
    const char* pszWindow;  // "Alpha", "Beta" or "Gamma" (closed before Start)
    const char* pszInterval;
};

struct RunChange
{
    double dSeconds;  // after Start, between two ticks
    int nSlot;
    const char* pszInterval;
};

struct CycleCase
{
    const char* pszName;
    std::vector<SlotSetting> slots;
    std::vector<RunChange> changes;
    std::vector<Turn> turns;
};

const CycleCase CYCLE_CASES[] = {
    // Each window stays for its own slot's interval; the first turn comes
    // after the last chosen slot's interval.
    { "OwnIntervals",
      { { 1, "Alpha", "2" }, { 2, "Beta", "1" } },
      {},
      { { 1, "Alpha" }, { 3, "Beta" }, { 4, "Alpha" }, { 6, "Beta" }, { 7, "Alpha" } } },
    // Slot 10 takes its turn, and the rotation starts again at the first
    // chosen slot.
    { "ThirdAndTenth",
      { { 3, "Alpha", "1" }, { 10, "Beta", "2" } },
      {},
      { { 2, "Alpha" }, { 3, "Beta" }, { 5, "Alpha" }, { 6, "Beta" } } },
    // Slots 1 and 10 are not chosen: passing over slot 1 costs the last
    // window of the rotation one more second.
    { "PassOverSlotOne",
      { { 2, "Alpha", "1" }, { 4, "Beta", "1" } },
      {},
      { { 1, "Alpha" }, { 2, "Beta" }, { 4, "Alpha" }, { 5, "Beta" } } },
    // A chosen window that has been closed spends its turn without a message;
    // the window in front stays for the closed slot's interval too.
    { "ClosedWindowSkipped",
      { { 1, "Alpha", "1" }, { 2, "Gamma", "1" }, { 3, "Beta", "1" } },
      {},
      { { 1, "Alpha" }, { 3, "Beta" }, { 4, "Alpha" }, { 6, "Beta" } } },
    // An interval typed during the run is taken at the next tick.
    { "IntervalChangedWhileRunning",
      { { 1, "Alpha", "1" }, { 2, "Beta", "1" } },
      { { 3.5, 1, "3" } },
      { { 1, "Alpha" }, { 2, "Beta" }, { 3, "Alpha" }, { 6, "Beta" }, { 7, "Alpha" } } },
};

class GyrovanterCycle : public Gyrovanter, public ::testing::WithParamInterface<CycleCase>
{
};

TEST_P(GyrovanterCycle, WindowsComeToTheFrontOnTime)
{
    const CycleCase& test = GetParam();
    bool bGamma = false;
    for (const SlotSetting& slot : test.slots)
        bGamma = bGamma || std::string(slot.pszWindow) == "Gamma";
    ASSERT_NO_FATAL_FAILURE(bGamma ? LaunchWithGamma() : Launch());
    for (const SlotSetting& slot : test.slots)
    {
        ChooseWindow(slot.nSlot, slot.pszWindow);
        TypeInterval(slot.nSlot, slot.pszInterval);
    }
    if (bGamma)
        CloseGamma();
    ASSERT_NE(nullptr, Window("Alpha"));
    ASSERT_NE(nullptr, Window("Beta"));

    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(IsEnabled(IDC_ABOUT) && IsEnabled(IDCANCEL));
    for (int nSlot = 1; nSlot <= 10; ++nSlot)
        EXPECT_TRUE(IsWindowEnabled(List(nSlot)) && IsWindowEnabled(Field(nSlot))) << "slot " << nSlot;

    for (const RunChange& change : test.changes)
    {
        WaitUntil([&] { return m_recorder.Seconds() >= change.dSeconds; }, 10000);
        TypeInterval(change.nSlot, change.pszInterval);
    }
    double dEnd = test.turns.back().dSeconds + 0.7;
    WaitUntil([&] { return !MessageBoxes().empty() || m_recorder.Seconds() >= dEnd; }, 15000);
    EXPECT_TRUE(MessageBoxes().empty()) << "a message box came up during the run";
    ExpectTurns(test.turns);
    EXPECT_TRUE(IsRunningPattern());
}

INSTANTIATE_TEST_SUITE_P(Cases, GyrovanterCycle, ::testing::ValuesIn(CYCLE_CASES),
                         CaseName<CycleCase>);

// Stop ends the turns; Start begins again at slot 1 with a fresh count.
TEST_F(Gyrovanter, StopEndsTheTurnsAndStartBeginsAgain)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    ChooseWindow(1, "Alpha");
    TypeInterval(1, "2");
    ChooseWindow(2, "Beta");
    TypeInterval(2, "2");
    ASSERT_NO_FATAL_FAILURE(Start());
    // Stopped a second after Alpha's turn: the cursor is on slot 2 with one
    // second counted.
    ASSERT_TRUE(WaitUntil([&] { return Recorded(true).size() >= 1; }, 3000));
    WaitUntil([&] { return m_recorder.Seconds() >= 3.3; }, 3000);
    ClickButton(m_hDlg, IDC_STOP);
    ASSERT_TRUE(WaitUntil([&] { return IsStoppedPattern(); }, 3000)) << "Stop did not stop the run";
    size_t nTurns = Recorded(true).size();
    EXPECT_TRUE(HoldsFor([&] { return Recorded(true).size() == nTurns; }, 1500))
        << "a window came to the front after Stop:\n" << Describe(Recorded());

    // Anything kept from the stopped run would bring Beta first, or Alpha
    // after one second.
    ASSERT_NO_FATAL_FAILURE(Start());
    WaitUntil([&] { return m_recorder.Seconds() >= 4.7; }, 6000);
    ExpectTurns({ { 2, "Alpha" }, { 4, "Beta" } });
}

// ---------------------------------------------------------------------------
// Close hides the dialog; Configure and a double-click on the icon show it.

TEST_F(Gyrovanter, CloseHidesWhileTheRunGoesOnAndTheTrayShowsItAgain)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    ChooseWindow(1, "Alpha");
    TypeInterval(1, "1");
    ChooseWindow(4, "Beta");
    TypeInterval(4, "1");
    TypeInterval(7, "42");
    ASSERT_NO_FATAL_FAILURE(Start());

    // The notice is on screen while the windows keep taking turns.
    ClickButton(m_hDlg, IDCANCEL);
    HWND hBox = WaitForMessageBox();
    ASSERT_NE(nullptr, hBox);
    EXPECT_EQ(CAPTION, WindowText(hBox));
    EXPECT_EQ(CLOSE_NOTICE, ControlText(hBox, MESSAGE_TEXT_ID));
    EXPECT_TRUE(IsWindowVisible(m_hDlg)) << "hidden before the notice was closed";
    EXPECT_TRUE(WaitUntil([&] { return Recorded(true).size() >= 2; }, 3500))
        << "windows stopped coming to the front while the notice was open:\n" << Describe(Recorded());
    PressOk(hBox);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hDlg); }, 3000)) << "Close did not hide the dialog";
    EXPECT_TRUE(m_pProgram->IsRunning());

    // Hidden, the run goes on.
    size_t nTurns = Recorded(true).size();
    EXPECT_TRUE(WaitUntil([&] { return Recorded(true).size() >= nTurns + 2; }, 3500))
        << "windows stopped coming to the front while hidden:\n" << Describe(Recorded());
    EXPECT_TRUE(MessageBoxes().empty());

    // Configure and a double-click both bring the dialog back as it was left.
    const struct
    {
        const char* pszWay;
        std::function<void()> show;
    } ways[] = {
        { "Configure", [&] { PostCommand(m_hDlg, ID_TRAY_CONFIGURE); } },
        { "double-click", [&] { TrayNotify(TRAY_ID, WM_LBUTTONDBLCLK); } },
    };
    for (const auto& way : ways)
    {
        if (IsWindowVisible(m_hDlg))
        {
            ASSERT_NO_FATAL_FAILURE(HideToTray());
        }
        way.show();
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_hDlg) != FALSE; }, 3000)) << way.pszWay;
        EXPECT_EQ(EntryOf("Alpha"), WindowText(List(1))) << way.pszWay;
        EXPECT_EQ(EntryOf("Beta"), WindowText(List(4))) << way.pszWay;
        for (int nSlot : { 2, 3, 5, 6, 8, 9, 10 })
            EXPECT_EQ(NO_WINDOW, WindowText(List(nSlot))) << way.pszWay << ", slot " << nSlot;
        EXPECT_EQ("42", WindowText(Field(7))) << way.pszWay;
        EXPECT_TRUE(IsRunningPattern()) << way.pszWay;
        EXPECT_TRUE(MessageBoxes().empty()) << way.pszWay;
    }
}

// The Close button, the Escape key and the close box all hide the dialog
// after the notice; none of them ends the program.
TEST_F(Gyrovanter, EveryWayOfClosingOnlyHides)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    const struct
    {
        const char* pszWay;
        std::function<void()> close;
    } ways[] = {
        { "Escape key", [&] { PressKey(m_hDlg, VK_ESCAPE); } },
        { "close box", [&] { PostMessageW(m_hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); } },
        { "Close button", [&] { ClickButton(m_hDlg, IDCANCEL); } },
    };
    for (const auto& way : ways)
    {
        if (!IsWindowVisible(m_hDlg))
        {
            PostCommand(m_hDlg, ID_TRAY_CONFIGURE);
            ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_hDlg) != FALSE; }, 3000));
        }
        way.close();
        HWND hBox = WaitForMessageBox();
        ASSERT_NE(nullptr, hBox) << way.pszWay;
        EXPECT_EQ(CLOSE_NOTICE, ControlText(hBox, MESSAGE_TEXT_ID)) << way.pszWay;
        PressOk(hBox);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(m_hDlg); }, 3000)) << way.pszWay;
        EXPECT_TRUE(m_pProgram->IsRunning()) << way.pszWay;
        EXPECT_TRUE(IsWindow(m_hDlg)) << way.pszWay;
    }
}

// ---------------------------------------------------------------------------
// The About box, from the About button, the system menu and the tray menu.

enum class AboutFrom
{
    Button,      // the About button
    SystemMenu,  // the system menu's item, command 16
    TrayMenu,    // the tray menu's item, command 32777
};

enum class AboutClose
{
    Ok,
    Escape,
    CloseBox,
};

struct AboutCase
{
    const char* pszName;
    bool bHidden;   // the dialog is in the tray when About is asked for
    bool bRunning;  // a run goes on meanwhile
    AboutFrom from;
    AboutClose close;
};

const AboutCase ABOUT_CASES[] = {
    { "ButtonClosedWithOk", false, false, AboutFrom::Button, AboutClose::Ok },
    { "SystemMenuClosedWithEscape", false, false, AboutFrom::SystemMenu, AboutClose::Escape },
    { "TrayMenuClosedWithCloseBox", false, false, AboutFrom::TrayMenu, AboutClose::CloseBox },
    { "TrayMenuWhileHiddenAndRunning", true, true, AboutFrom::TrayMenu, AboutClose::Ok },
};

class GyrovanterAbout : public Gyrovanter, public ::testing::WithParamInterface<AboutCase>
{
};

TEST_P(GyrovanterAbout, ShowsTheBoxAndClosesIt)
{
    const AboutCase& test = GetParam();
    ASSERT_NO_FATAL_FAILURE(LaunchInState(test.bHidden, test.bRunning, "1"));
    m_recorder.Restart();

    switch (test.from)
    {
    case AboutFrom::Button:
        ClickButton(m_hDlg, IDC_ABOUT);
        break;
    case AboutFrom::SystemMenu:
        PostMessageW(m_hDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        break;
    case AboutFrom::TrayMenu:
        PostCommand(m_hDlg, ID_TRAY_ABOUT);
        break;
    }
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = AboutBox()) != nullptr; }, 3000)) << "no About box";
    std::vector<std::string> texts;
    for (HWND hChild = GetWindow(hAbout, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT))
        texts.push_back(WindowText(hChild));
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Gyrovanter Version 1.2"));
    EXPECT_EQ("OK", ControlText(hAbout, IDOK));
    EXPECT_FALSE(ControlText(hAbout, IDC_ABOUT_NOTICE).empty()) << "the longer notice is empty";
    EXPECT_FALSE(IsWindowEnabled(m_hDlg)) << "the dialog takes input while the About box is open";
    EXPECT_EQ(!test.bHidden, IsWindowVisible(m_hDlg) != FALSE);
    if (test.bRunning)
    {
        EXPECT_TRUE(WaitUntil([&] { return Recorded(true).size() >= 2; }, 3500))
            << "windows stopped coming to the front while the About box was open:\n" << Describe(Recorded());
    }

    switch (test.close)
    {
    case AboutClose::Ok:
        ClickButton(hAbout, IDOK);
        break;
    case AboutClose::Escape:
        PressKey(hAbout, VK_ESCAPE);
        break;
    case AboutClose::CloseBox:
        PostMessageW(hAbout, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    EXPECT_TRUE(WaitUntil([&] { return AboutBox() == nullptr; }, 3000)) << "the About box stayed open";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_hDlg) != FALSE; }, 3000));
    EXPECT_EQ(!test.bHidden, IsWindowVisible(m_hDlg) != FALSE);
    EXPECT_EQ(test.bRunning, IsRunningPattern());
    EXPECT_TRUE(m_pProgram->IsRunning());
    EXPECT_TRUE(MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Places, GyrovanterAbout, ::testing::ValuesIn(ABOUT_CASES),
                         CaseName<AboutCase>);

// ---------------------------------------------------------------------------
// Validation: one message at a time, and again until the field is corrected.

TEST_F(Gyrovanter, BadIntervalDuringARunShowsOneMessageAtATime)
{
    // No window chosen: the ticks run and check the fields, and no turn takes
    // the activation away from the program.
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(Start());
    TypeInterval(3, "0");

    HWND hBox = WaitForMessageBox(2500);
    ASSERT_NE(nullptr, hBox) << "no message for an interval of 0";
    EXPECT_EQ(CAPTION, WindowText(hBox));
    EXPECT_EQ(RANGE_MESSAGE, ControlText(hBox, MESSAGE_TEXT_ID));
    EXPECT_TRUE(HoldsFor([&] { return MessageBoxes().size() <= 1; }, 2500))
        << "more than one message box at a time";

    // Closed with the field still wrong, the message comes back.
    PressOk(hBox);
    hBox = WaitForMessageBox(2500);
    ASSERT_NE(nullptr, hBox) << "the message did not come back";
    EXPECT_EQ(RANGE_MESSAGE, ControlText(hBox, MESSAGE_TEXT_ID));

    // Corrected, it stays away and the run goes on.
    TypeInterval(3, "5");
    PressOk(hBox);
    EXPECT_TRUE(WaitUntil([&] { return FocusOfThread(m_hDlg) == Field(3); }, 1000))
        << "the focus is not in the field that failed";
    EXPECT_TRUE(HoldsFor([&] { return MessageBoxes().empty(); }, 1500)) << "the message came back";
    EXPECT_TRUE(IsRunningPattern());
    EXPECT_TRUE(m_pProgram->IsRunning());
}

// Of several bad fields only the first in slot order is reported, and Start
// starts all the same.
TEST_F(Gyrovanter, StartReportsTheFirstBadFieldOnly)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    TypeInterval(3, "");
    TypeInterval(5, "0");
    ClickButton(m_hDlg, IDOK);

    HWND hBox = WaitForMessageBox(2500);
    ASSERT_NE(nullptr, hBox) << "no message for an empty interval";
    EXPECT_EQ(INTEGER_MESSAGE, ControlText(hBox, MESSAGE_TEXT_ID));
    EXPECT_EQ(1u, MessageBoxes().size());
    TypeInterval(3, "1");
    TypeInterval(5, "1");
    PressOk(hBox);
    EXPECT_TRUE(WaitUntil([&] { return IsRunningPattern(); }, 2000)) << "Start did not start after the message";
    EXPECT_TRUE(WaitUntil([&] { return FocusOfThread(m_hDlg) == Field(3); }, 1000))
        << "the focus is not in slot 3's field";
    EXPECT_TRUE(HoldsFor([&] { return MessageBoxes().empty(); }, 1500));
}

// ---------------------------------------------------------------------------
// The tray icon's notifications and its menu.

// Mouse messages other than a right-button-up and a left double-click, and
// notifications for another icon, do nothing.
TEST_F(Gyrovanter, OtherTrayNotificationsDoNothing)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(HideToTray());
    const struct
    {
        WPARAM wParam;
        LPARAM lParam;
    } ignored[] = {
        { TRAY_ID, WM_MOUSEMOVE },     { TRAY_ID, WM_LBUTTONDOWN },   { TRAY_ID, WM_LBUTTONUP },
        { TRAY_ID, WM_RBUTTONDOWN },   { TRAY_ID, WM_RBUTTONDBLCLK }, { TRAY_ID, WM_MBUTTONUP },
        { TRAY_ID + 1, WM_RBUTTONUP }, { TRAY_ID + 1, WM_LBUTTONDBLCLK }, { 0, WM_RBUTTONUP },
    };
    for (const auto& notification : ignored)
        TrayNotify(notification.wParam, notification.lParam);
    EXPECT_TRUE(HoldsFor([&] { return PopupMenu() == nullptr && !IsWindowVisible(m_hDlg); }, 1000))
        << "an ignored notification opened the menu or the dialog";
    EXPECT_TRUE(MessageBoxes().empty());

    TrayNotify(TRAY_ID, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(m_hDlg) != FALSE; }, 3000)) << "the icon stopped answering";
}

// A right click opens the menu; its items are chosen by their keys, as a
// user does with the keyboard.
enum class Outcome
{
    Shown,          // the dialog is on screen
    HiddenRunning,  // the dialog stays in the tray and a run goes on
    Stopped,        // the run has stopped
    About,          // the About box is open
    Ended,          // the process has ended
};

struct MenuCase
{
    const char* pszName;
    bool bHidden;
    bool bRunning;
    UINT nKey;
    Outcome outcome;
};

const MenuCase MENU_CASES[] = {
    { "ConfigureShowsTheDialog", true, false, 'C', Outcome::Shown },
    { "StartWhileHidden", true, false, 'S', Outcome::HiddenRunning },
    { "Stop", false, true, 'P', Outcome::Stopped },
    { "About", true, false, 'A', Outcome::About },
    { "Exit", false, true, 'X', Outcome::Ended },
    { "EscapeChoosesNothing", true, true, VK_ESCAPE, Outcome::HiddenRunning },
};

class GyrovanterMenu : public Gyrovanter, public ::testing::WithParamInterface<MenuCase>
{
protected:
    bool Reached(Outcome outcome) const
    {
        bool bAlive = m_pProgram->IsRunning();
        switch (outcome)
        {
        case Outcome::Shown:
            return bAlive && IsWindowVisible(m_hDlg);
        case Outcome::HiddenRunning:
            return bAlive && !IsWindowVisible(m_hDlg) && IsRunningPattern();
        case Outcome::Stopped:
            return bAlive && IsStoppedPattern();
        case Outcome::About:
            return bAlive && AboutBox() != nullptr;
        case Outcome::Ended:
            return !bAlive;
        }
        return false;
    }
};

TEST_P(GyrovanterMenu, RightClickOpensTheMenu)
{
    const MenuCase& test = GetParam();
    // No turn comes during the test: the activation stays with the program.
    ASSERT_NO_FATAL_FAILURE(LaunchInState(test.bHidden, test.bRunning, "3600"));

    HWND hMenu = OpenTrayMenu();
    ASSERT_NE(nullptr, hMenu) << "no pop-up menu";
    if (!test.bHidden)
    {
        EXPECT_EQ(m_hDlg, GetForegroundWindow()) << "the dialog did not come to the front for its menu";
    }
    PostKey(hMenu, test.nKey);
    EXPECT_TRUE(WaitUntil([&] { return PopupMenu() == nullptr; }, 3000)) << "the menu stayed open";
    EXPECT_TRUE(WaitUntil([&] { return Reached(test.outcome); }, 3000))
        << "shown " << IsWindowVisible(m_hDlg) << ", running pattern " << IsRunningPattern()
        << ", process running " << m_pProgram->IsRunning();
    EXPECT_TRUE(HoldsFor([&] { return MessageBoxes().empty(); }, 500));
}

INSTANTIATE_TEST_SUITE_P(Items, GyrovanterMenu, ::testing::ValuesIn(MENU_CASES),
                         CaseName<MenuCase>);

// The taskbar was created anew: the program carries on, and its icon still
// answers.
TEST_F(Gyrovanter, SurvivesTaskbarCreated)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    UINT nTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(0u, nTaskbarCreated);
    PostMessageW(HWND_BROADCAST, nTaskbarCreated, 0, 0);
    ASSERT_NO_FATAL_FAILURE(HideToTray());
    PostMessageW(HWND_BROADCAST, nTaskbarCreated, 0, 0);

    EXPECT_TRUE(HoldsFor([&] { return m_pProgram->IsRunning() && MessageBoxes().empty(); }, 500));
    EXPECT_FALSE(IsWindowVisible(m_hDlg));
    TrayNotify(TRAY_ID, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(m_hDlg) != FALSE; }, 3000)) << "the icon stopped answering";
    EXPECT_TRUE(IsStoppedPattern());
}

// The tray icon as a user sees it: idle after start-up, turning through its
// running pictures once a second during a run, also after a TaskbarCreated
// broadcast that found the icon still in place, and idle again after Stop.
// Under Wine the icon is drawn in a window of Wine's own, read off the screen
// with the dialog in the tray so that nothing covers it.
TEST_F(Gyrovanter, TrayIconAnimatesDuringARun)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "reads the icon off the tray window that Wine shows without a system tray";
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(HideToTray());
    HWND hIcon = WineTrayIcon();
    ASSERT_NE(nullptr, hIcon) << "no icon in Wine's tray window";
    std::vector<COLORREF> idle = SettledPictureOf(hIcon);
    EXPECT_EQ(0, CountPictureChanges(hIcon, 1200)) << "the idle icon changes";

    PostCommand(m_hDlg, ID_TRAY_START);
    EXPECT_GE(CountPictureChanges(hIcon, 3500), 3) << "the icon does not turn during a run";

    PostMessageW(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_GE(CountPictureChanges(hIcon, 3500), 3) << "the icon stopped turning after TaskbarCreated";

    PostCommand(m_hDlg, ID_TRAY_STOP);
    PumpMessages(500);
    EXPECT_FALSE(PicturesDiffer(idle, PictureOf(hIcon))) << "Stop did not bring back the idle icon";
    EXPECT_EQ(0, CountPictureChanges(hIcon, 1500)) << "the icon goes on turning after Stop";
}

// ---------------------------------------------------------------------------
// Exit ends the program in every state, without a message box.

struct ExitCase
{
    const char* pszName;
    bool bHidden;
    bool bRunning;
};

const ExitCase EXIT_CASES[] = {
    { "ShownStopped", false, false },
    { "HiddenStopped", true, false },
    { "ShownRunning", false, true },
    { "HiddenRunning", true, true },
};

class GyrovanterExit : public Gyrovanter, public ::testing::WithParamInterface<ExitCase>
{
};

TEST_P(GyrovanterExit, EndsTheProcess)
{
    const ExitCase& test = GetParam();
    ASSERT_NO_FATAL_FAILURE(LaunchInState(test.bHidden, test.bRunning, "3"));

    PostCommand(m_hDlg, ID_TRAY_EXIT);
    bool bBoxSeen = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            bBoxSeen = bBoxSeen || !MessageBoxes().empty();
            return !m_pProgram->IsRunning();
        },
        4000))
        << "the program did not end";
    EXPECT_FALSE(bBoxSeen) << "Exit showed a message box";
}

INSTANTIATE_TEST_SUITE_P(States, GyrovanterExit, ::testing::ValuesIn(EXIT_CASES),
                         CaseName<ExitCase>);

// Exit while the About box is open ends the program once the box is closed.
TEST_F(Gyrovanter, ExitWaitsForAnOpenAboutBox)
{
    ASSERT_NO_FATAL_FAILURE(Launch());
    PostCommand(m_hDlg, ID_TRAY_ABOUT);
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = AboutBox()) != nullptr; }, 3000));
    PostCommand(m_hDlg, ID_TRAY_EXIT);
    EXPECT_TRUE(HoldsFor([&] { return m_pProgram->IsRunning(); }, 1000)) << "ended under the open About box";
    ClickButton(hAbout, IDOK);
    EXPECT_TRUE(m_pProgram->WaitForExit(4000)) << "the program did not end after the About box closed";
}
}
