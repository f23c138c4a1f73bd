// The circulation: ticks driven by sending the timer message (no waiting),
// on the recording fake's desktop and on real windows; the tray pictures;
// Start and Stop; the validation message during a run; and one run in real
// time.
#include "engine/WindowEntry.h"
#include "tests/support/CyclerHarness.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TestDialogs.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{
const int NO_LINE = -1;  // a slot whose list has no selected line

struct Pick
{
    int nSlot;
    int nWindow;  // index of the scenario's window, or NO_LINE
    int nInterval;
};

// Done just before a tick: choose a window for a slot, set a slot's interval
// field, or close a window.
struct Event
{
    enum Kind { CHOOSE, INTERVAL, CLOSE } kind;
    int nTick;
    int nSlotOrWindow;
    int nValue;
};

typedef std::vector<std::pair<int, int>> Turns;  // (tick, window brought forward)

struct Scenario
{
    const char* pszName;
    int nWindows;
    std::vector<Pick> picks;
    std::vector<Event> events;
    int nTicks;
    Turns turns;
};

const Scenario SCENARIOS[] = {
    { "worked example: 5, 10 and 20 seconds", 3,
      { { 1, 0, 5 }, { 2, 1, 10 }, { 3, 2, 20 } }, {}, 60,
      { { 20, 0 }, { 25, 1 }, { 35, 2 }, { 55, 0 }, { 60, 1 } } },
    { "every interval 1: a new window each second", 3,
      { { 1, 0, 1 }, { 2, 1, 1 }, { 3, 2, 1 } }, {}, 7,
      { { 1, 0 }, { 2, 1 }, { 3, 2 }, { 4, 0 }, { 5, 1 }, { 6, 2 }, { 7, 0 } } },
    { "nothing chosen, then slot 3 with 4 seconds after six ticks", 1,
      {}, { { Event::CHOOSE, 7, 3, 0 }, { Event::INTERVAL, 7, 3, 4 } }, 11,
      { { 7, 0 }, { 11, 0 } } },
    { "one slot: again every interval", 1,
      { { 4, 0, 3 } }, {}, 10,
      { { 3, 0 }, { 6, 0 }, { 9, 0 } } },
    { "slot 10 chosen: the rotation goes on at the first chosen slot", 2,
      { { 2, 0, 2 }, { 10, 1, 3 } }, {}, 10,
      { { 3, 0 }, { 5, 1 }, { 8, 0 }, { 10, 1 } } },
    { "slots 1 and 10 unchosen, interval 1: the last window stays 2 seconds", 2,
      { { 3, 0, 1 }, { 5, 1, 1 } }, {}, 8,
      { { 1, 0 }, { 2, 1 }, { 4, 0 }, { 5, 1 }, { 7, 0 }, { 8, 1 } } },
    { "interval lowered below the count: the turn comes at the next tick", 2,
      { { 1, 0, 10 }, { 2, 1, 10 } }, { { Event::INTERVAL, 15, 1, 3 } }, 25,
      { { 10, 0 }, { 15, 1 }, { 25, 0 } } },
    { "closed window: its turn passes, the next comes after its interval", 3,
      { { 1, 0, 2 }, { 2, 1, 3 }, { 3, 2, 4 } }, { { Event::CLOSE, 5, 1, 0 } }, 13,
      { { 4, 0 }, { 9, 2 }, { 13, 0 } } },
    { "no line selected: the turn is spent without a search", 1,
      { { 1, 0, 2 }, { 2, NO_LINE, 2 } }, {}, 8,
      { { 2, 0 }, { 6, 0 } } },
};

// The windows of a scenario, on the fake's desktop or real ones of this
// process, and how a turn is seen on each.
class CDesktop
{
public:
    virtual ~CDesktop() = default;
    virtual HWND Add(int nIndex) = 0;
    virtual std::string Entry(int nIndex) const = 0;
    virtual void Close(HWND hWnd) = 0;
    // The windows brought forward by the last tick.
    virtual std::vector<HWND> Observe(HWND hDlg) = 0;
};

class CFakeDesktop : public CDesktop
{
public:
    explicit CFakeDesktop(CFakeWindowSystem& fake) : m_fake(fake) {}
    HWND Add(int nIndex) override { return m_fake.AddWindow("Window " + std::to_string(nIndex), 100 + nIndex); }
    std::string Entry(int nIndex) const override
    {
        return "Window " + std::to_string(nIndex) + " <(PID=" + std::to_string(100 + nIndex) + ")>";
    }
    void Close(HWND hWnd) override { m_fake.DestroyFakeWindow(hWnd); }
    std::vector<HWND> Observe(HWND) override
    {
        std::vector<HWND> seen(m_fake.foregroundRequests.begin() + static_cast<long>(m_nSeen),
                               m_fake.foregroundRequests.end());
        m_nSeen = m_fake.foregroundRequests.size();
        return seen;
    }

private:
    CFakeWindowSystem& m_fake;
    size_t m_nSeen = 0;
};

class CRealDesktop : public CDesktop
{
public:
    HWND Add(int nIndex) override { return m_windows.Create("Circulation " + std::to_string(nIndex)); }
    std::string Entry(int nIndex) const override { return OwnEntry("Circulation " + std::to_string(nIndex)); }
    void Close(HWND hWnd) override { m_windows.Destroy(hWnd); }
    // A window that came to the front is seen by the foreground change; the
    // dialog is put in front again so that the next turn shows as well.
    std::vector<HWND> Observe(HWND hDlg) override
    {
        PumpMessages();
        HWND hForeground = GetForegroundWindow();
        if (hForeground == hDlg)
            return {};
        ::SetForegroundWindow(hDlg);
        WaitForForeground(hDlg);
        return { hForeground };
    }

private:
    CTestWindows m_windows;
};

void RunScenario(const Scenario& s, CDesktop& desktop, CFakeWindowSystem& fake)
{
    SCOPED_TRACE(s.pszName);
    std::vector<HWND> windows;
    for (int i = 0; i < s.nWindows; ++i)
        windows.push_back(desktop.Add(i));
    CCyclerHarness h;
    ::SetForegroundWindow(h.Hwnd());
    WaitForForeground(h.Hwnd());
    auto choose = [&](int nSlot, int nWindow) {
        if (nWindow == NO_LINE)
            h.ChooseIndex(nSlot, -1);
        else
            EXPECT_TRUE(h.Choose(nSlot, desktop.Entry(nWindow))) << desktop.Entry(nWindow);
    };
    for (const Pick& pick : s.picks)
    {
        choose(pick.nSlot, pick.nWindow);
        h.SetFieldText(pick.nSlot, std::to_string(pick.nInterval));
    }
    h.Dlg().StartCirculation();
    desktop.Observe(h.Hwnd());

    Turns seen;
    for (int nTick = 1; nTick <= s.nTicks; ++nTick)
    {
        for (const Event& e : s.events)
        {
            if (e.nTick != nTick)
                continue;
            if (e.kind == Event::CHOOSE)
                choose(e.nSlotOrWindow, e.nValue);
            else if (e.kind == Event::INTERVAL)
                h.SetFieldText(e.nSlotOrWindow, std::to_string(e.nValue));
            else
                desktop.Close(windows[e.nSlotOrWindow]);
        }
        h.Tick();
        for (HWND hWnd : desktop.Observe(h.Hwnd()))
        {
            auto it = std::find(windows.begin(), windows.end(), hWnd);
            seen.emplace_back(nTick, it == windows.end() ? -99 : static_cast<int>(it - windows.begin()));
        }
    }
    EXPECT_EQ(s.turns, seen);
    EXPECT_TRUE(fake.messageBoxes.empty());
}

HICON Icon(UINT nID)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID));
}

// The icons the tray was given since the records were last cleared.
std::vector<HICON> IconsShown(const CFakeWindowSystem& fake)
{
    std::vector<HICON> icons;
    for (const auto& call : fake.notifyCalls)
        icons.push_back(call.data.hIcon);
    return icons;
}
}

TEST(CirculationTick, ScenariosOnTheFakeDesktop)
{
    for (const Scenario& s : SCENARIOS)
    {
        CFakeWindowSystem fake;
        CFakeDesktop desktop(fake);
        RunScenario(s, desktop, fake);
    }
}

TEST(CirculationTick, ScenariosOnRealWindows)
{
    for (const Scenario& s : SCENARIOS)
    {
        // The fake walks the real desktop and passes the foreground through;
        // it keeps only the timer to itself, so that no real tick comes in.
        CFakeWindowSystem fake;
        fake.bPassForegroundThrough = true;
        CRealDesktop desktop;
        RunScenario(s, desktop, fake);
    }
}

TEST(CirculationTick, CountersOfEachKindOfTick)
{
    CFakeWindowSystem fake;
    HWND hWindow = fake.AddWindow("Only", 3);
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    // Nothing chosen: the count grows, the cursor alternates between 1 and 2.
    dlg.StartCirculation();
    for (int nTick = 1; nTick <= 4; ++nTick)
    {
        h.Tick();
        EXPECT_EQ(nTick, dlg.m_nElapsed);
        EXPECT_EQ(2, dlg.m_nCurrentSlot);
    }
    EXPECT_TRUE(fake.foregroundRequests.empty());
    // Slot 2 chosen with 6 seconds: waiting leaves the cursor at 2, the turn
    // sets the count to 0 and moves the cursor on.
    ASSERT_TRUE(h.Choose(2, "Only <(PID=3)>"));
    h.SetFieldText(2, "6");
    h.Tick();
    EXPECT_EQ(5, dlg.m_nElapsed);
    EXPECT_EQ(2, dlg.m_nCurrentSlot);
    h.Tick();
    EXPECT_EQ(0, dlg.m_nElapsed);
    EXPECT_EQ(3, dlg.m_nCurrentSlot);
    EXPECT_EQ(std::vector<HWND>{ hWindow }, fake.foregroundRequests);
    // The slot at the cursor unchosen (slot 1, stepped back to): one more, advanced.
    h.Tick();
    EXPECT_EQ(1, dlg.m_nElapsed);
    EXPECT_EQ(2, dlg.m_nCurrentSlot);
}

TEST(CirculationTick, TrayPicturesTurnFromTheFirstTick)
{
    CFakeWindowSystem fake;
    CCyclerHarness h;
    h.Dlg().StartCirculation();
    fake.ClearRecords();
    for (int i = 0; i < 6; ++i)
        h.Tick();
    EXPECT_EQ((std::vector<HICON>{ Icon(134), Icon(133), Icon(132), Icon(131), Icon(134), Icon(133) }),
              IconsShown(fake));
    for (const auto& call : fake.notifyCalls)
        EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), call.dwMessage);
}

TEST(CirculationStartStop, StateTable)
{
    CFakeWindowSystem fake;
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    HWND hDlg = h.Hwnd();
    struct Row
    {
        const char* pszEvent;
        bool bRunning;  // the button pattern
        std::vector<std::string> timerCalls;
        int nElapsed, nCurrentSlot, nTrayFrame;
        std::vector<HICON> icons;
    };
    const std::string strSet = "SetTimer(" + Hex(reinterpret_cast<UINT_PTR>(hDlg)) + ", 1, 1000)";
    const std::string strKill = "KillTimer(" + Hex(reinterpret_cast<UINT_PTR>(hDlg)) + ", 1)";
    const Row rows[] = {
        { "Start button", true, { strSet }, 0, 1, 1, {} },
        { "tick", true, {}, 1, 2, 2, { Icon(134) } },
        { "tick", true, {}, 2, 2, 3, { Icon(133) } },
        { "tray Start while running", true, { strSet }, 0, 1, 3, {} },
        { "Stop button", false, { strKill }, 0, 1, 3, { Icon(129) } },
        { "tray Stop while stopped", false, { strKill }, 0, 1, 3, { Icon(129) } },
        { "tray Start", true, { strSet }, 0, 1, 3, {} },
        { "tick", true, {}, 1, 2, 4, { Icon(132) } },
        { "tray Stop", false, { strKill }, 1, 2, 4, { Icon(129) } },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.pszEvent);
        fake.ClearRecords();
        std::string strEvent = row.pszEvent;
        if (strEvent == "Start button")
            h.ClickButton(IDOK);
        else if (strEvent == "Stop button")
            h.ClickButton(IDC_STOP);
        else if (strEvent == "tick")
            h.Tick();
        else if (strEvent.find("Start") != std::string::npos)
            dlg.StartCirculation();
        else
            dlg.StopCirculation();
        EXPECT_EQ(!row.bRunning, h.IsEnabled(IDOK));
        EXPECT_EQ(row.bRunning, h.IsEnabled(IDC_STOP));
        EXPECT_EQ(!row.bRunning, h.IsEnabled(IDC_REREAD));
        std::vector<std::string> timerCalls;
        for (const std::string& strLine : fake.log)
            if (strLine.find("Timer(") != std::string::npos)
                timerCalls.push_back(strLine);
        EXPECT_EQ(row.timerCalls, timerCalls);
        EXPECT_EQ(row.nElapsed, dlg.m_nElapsed);
        EXPECT_EQ(row.nCurrentSlot, dlg.m_nCurrentSlot);
        EXPECT_EQ(row.nTrayFrame, dlg.m_nTrayFrame);
        EXPECT_EQ(row.icons, IconsShown(fake));
        // Start never ends the dialog.
        EXPECT_TRUE(IsWindowVisible(hDlg));
        EXPECT_EQ(-1, dlg.GetModalResult());
    }
    EXPECT_TRUE(fake.messageBoxes.empty());
}

TEST(CirculationStartStop, StartWithABadIntervalStartsAndTheMessageComesBackEachTick)
{
    CFakeWindowSystem fake;
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    h.SetFieldText(2, "0");
    dlg.StartCirculation();
    ASSERT_EQ(1u, fake.messageBoxes.size());
    EXPECT_EQ("Please enter an integer between 1 and 3600.", fake.messageBoxes[0].strText);
    EXPECT_EQ(0, dlg.m_nInterval[1]);
    EXPECT_FALSE(h.IsEnabled(IDOK));
    EXPECT_TRUE(h.IsEnabled(IDC_STOP));
    EXPECT_EQ(1, dlg.m_nCurrentSlot);
    h.Tick();
    h.Tick();
    EXPECT_EQ(3u, fake.messageBoxes.size());
    h.SetFieldText(2, "2");
    h.Tick();
    EXPECT_EQ(3u, fake.messageBoxes.size());
    EXPECT_EQ(2, dlg.m_nInterval[1]);
}

TEST(CirculationValidation, OneBoxAtATimeWhileTicksGoOnFake)
{
    CFakeWindowSystem fake;
    HWND hFirst = fake.AddWindow("First", 1);
    HWND hSecond = fake.AddWindow("Second", 2);
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    ASSERT_TRUE(h.Choose(1, "First <(PID=1)>"));
    ASSERT_TRUE(h.Choose(2, "Second <(PID=2)>"));
    dlg.StartCirculation();
    h.SetFieldText(3, "abc");
    fake.ClearRecords();
    size_t nBoxesInside = 0;
    // The box's modal loop would dispatch timer messages: three ticks come
    // while it is open.
    bool bFirstBox = true;
    fake.onMessageBox = [&](const CFakeWindowSystem::MessageBoxCall&) {
        if (!bFirstBox)
            return IDOK;
        bFirstBox = false;
        for (int i = 0; i < 3; ++i)
            h.Tick();
        nBoxesInside = fake.messageBoxes.size();
        return IDOK;
    };
    h.Tick();
    EXPECT_EQ(1u, nBoxesInside);
    ASSERT_EQ(1u, fake.messageBoxes.size());
    EXPECT_EQ("Please enter an integer.", fake.messageBoxes[0].strText);
    // Four ticks counted and turned: the three inside the box, then the one
    // that opened it.
    EXPECT_EQ((std::vector<HWND>{ hFirst, hSecond, hFirst, hSecond }), fake.foregroundRequests);
    EXPECT_EQ(4u, fake.notifyCalls.size());
    EXPECT_EQ(1, dlg.m_nTrayFrame);
    // The field is still wrong: the next tick shows the message again.
    h.Tick();
    EXPECT_EQ(2u, fake.messageBoxes.size());
}

// What happened inside the real message box's own modal loop.
struct InsideBox
{
    HWND hDlg = nullptr;
    bool bTicking = false, bDone = false;
    size_t nMostBoxes = 0;
    std::vector<HWND> foreground;
};
InsideBox g_inside;

// Runs every 100 ms from inside whatever modal loop is open: at the first
// box, three ticks; a further box that a tick opens is counted and closed,
// so that a broken guard shows as a failure rather than a hang.
void CALLBACK TickInsideTheBox(HWND, UINT, UINT_PTR, DWORD)
{
    std::vector<HWND> boxes = FindThreadDialogs(g_inside.hDlg);
    g_inside.nMostBoxes = std::max(g_inside.nMostBoxes, boxes.size());
    if (boxes.empty() || g_inside.bDone)
        return;
    if (g_inside.bTicking)
    {
        for (HWND hBox : boxes)
            PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        return;
    }
    g_inside.bTicking = true;
    for (int i = 0; i < 3; ++i)
    {
        SendMessageA(g_inside.hDlg, WM_TIMER, 1, 0);
        PumpMessages();
        g_inside.foreground.push_back(GetForegroundWindow());
    }
    g_inside.bTicking = false;
    g_inside.bDone = true;
    for (HWND hBox : FindThreadDialogs(g_inside.hDlg))
        PostMessageA(hBox, WM_COMMAND, IDOK, 0);
}

TEST(CirculationValidation, OneBoxAtATimeWhileTicksGoOnReal)
{
    CTestWindows testWindows;
    HWND hFirst = testWindows.Create("Validation first");
    HWND hSecond = testWindows.Create("Validation second");
    CCyclerHarness h;
    ASSERT_TRUE(h.Choose(1, OwnEntry("Validation first")));
    ASSERT_TRUE(h.Choose(2, OwnEntry("Validation second")));
    ASSERT_TRUE(h.Dlg().UpdateData(TRUE));
    h.SetFieldText(3, "abc");
    // Ticks come by hand (no Start, so no timer of the dialog's own).
    g_inside = InsideBox();
    g_inside.hDlg = h.Hwnd();
    UINT_PTR nTimer = SetTimer(nullptr, 0, 100, TickInsideTheBox);
    h.Tick();
    KillTimer(nullptr, nTimer);
    EXPECT_TRUE(g_inside.bDone);
    EXPECT_EQ(1u, g_inside.nMostBoxes);
    EXPECT_EQ((std::vector<HWND>{ hFirst, hSecond, hFirst }), g_inside.foreground);
    // The tick that opened the box turns the next window when it goes on.
    PumpMessages();
    EXPECT_EQ(hSecond, GetForegroundWindow());
    EXPECT_TRUE(FindThreadDialogs(h.Hwnd()).empty());
}

TEST(CirculationRealTime, ThreeWindowsWithIntervalsOneTwoAndOne)
{
    CTestWindows testWindows;
    std::vector<HWND> windows;
    for (const char* pszTitle : { "Real time 1", "Real time 2", "Real time 3" })
        windows.push_back(testWindows.Create(pszTitle));
    CCyclerHarness h;
    const int intervals[] = { 1, 2, 1 };
    for (int nSlot = 1; nSlot <= 3; ++nSlot)
    {
        ASSERT_TRUE(h.Choose(nSlot, OwnEntry("Real time " + std::to_string(nSlot))));
        h.SetFieldText(nSlot, std::to_string(intervals[nSlot - 1]));
    }
    ::SetForegroundWindow(h.Hwnd());
    WaitForForeground(h.Hwnd());
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    h.ClickButton(IDOK);
    QueryPerformanceCounter(&start);

    // Turns at the ticks of seconds 1, 2, 4, 5, 6 and 8: each window stays
    // for its own slot's interval.
    const std::vector<std::pair<int, int>> predicted = { { 1000, 0 }, { 2000, 1 }, { 4000, 2 },
                                                         { 5000, 0 }, { 6000, 1 }, { 8000, 2 } };
    std::vector<std::pair<int, HWND>> changes;
    HWND hLast = GetForegroundWindow();
    for (;;)
    {
        PumpMessages();
        QueryPerformanceCounter(&now);
        int nMs = static_cast<int>((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
        HWND hForeground = GetForegroundWindow();
        if (hForeground != hLast)
        {
            changes.emplace_back(nMs, hForeground);
            hLast = hForeground;
        }
        if (nMs > 8600)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    h.ClickButton(IDC_STOP);
    ASSERT_EQ(predicted.size(), changes.size());
    for (size_t i = 0; i < predicted.size(); ++i)
    {
        EXPECT_EQ(windows[predicted[i].second], changes[i].second) << i;
        EXPECT_NEAR(predicted[i].first, changes[i].first, 300) << i;
    }
}
