// The control dialog: its state when it opens, its data exchange with the
// checks of the interval fields, and the building of the ten window lists from
// the windows of this process and of a second one.
#include "desktop/WindowSystem.h"
#include "desktop/WindowTitle.h"
#include "engine/WindowEntry.h"
#include "tests/support/CyclerHarness.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{
const char INTEGER_MESSAGE[] = "Please enter an integer.";
const char RANGE_MESSAGE[] = "Please enter an integer between 1 and 3600.";

std::vector<int> Intervals(const CCyclerDlg& dlg)
{
    return std::vector<int>(dlg.m_nInterval, dlg.m_nInterval + SLOT_COUNT);
}

std::vector<int> Choices(const CCyclerDlg& dlg)
{
    return std::vector<int>(dlg.m_nWindowChoice, dlg.m_nWindowChoice + SLOT_COUNT);
}
}

TEST(CyclerDialog, FreshState)
{
    CFakeWindowSystem fake;
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    EXPECT_EQ(std::vector<int>(SLOT_COUNT, 1), Intervals(dlg));
    EXPECT_EQ(std::vector<int>(SLOT_COUNT, 0), Choices(dlg));
    EXPECT_EQ(0, dlg.m_nElapsed);
    EXPECT_EQ(0, dlg.m_nCurrentSlot);
    EXPECT_EQ(1, dlg.m_nTrayFrame);
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
    {
        EXPECT_EQ("1", h.FieldText(nSlot)) << nSlot;
        EXPECT_EQ(0, h.Selection(nSlot)) << nSlot;
        ASSERT_FALSE(h.ListLines(nSlot).empty());
        EXPECT_EQ(NO_WINDOW_LINE, h.ListLines(nSlot)[0]) << nSlot;
    }
    // The stopped pattern; About, Close and the rows always enabled.
    EXPECT_TRUE(h.IsEnabled(IDOK));
    EXPECT_FALSE(h.IsEnabled(IDC_STOP));
    EXPECT_TRUE(h.IsEnabled(IDC_REREAD));
    EXPECT_TRUE(h.IsEnabled(IDC_ABOUT));
    EXPECT_TRUE(h.IsEnabled(IDCANCEL));
    // The wrappers took over their controls.
    EXPECT_EQ(h.Control(IDC_REREAD), dlg.m_btnReread.m_hWnd);
    EXPECT_EQ(h.Control(IDC_STOP), dlg.m_btnStop.m_hWnd);
    EXPECT_EQ(h.Control(IDOK), dlg.m_btnStart.m_hWnd);
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
        EXPECT_EQ(h.WindowList(nSlot), dlg.WindowList(nSlot).m_hWnd) << nSlot;
    char szInstructions[512] = {};
    GetWindowTextA(h.Control(IDC_INSTRUCTIONS), szInstructions, sizeof(szInstructions));
    EXPECT_STREQ(dlg.m_strInstructions, szInstructions);
    EXPECT_EQ(0, strncmp("Select a window from the list", szInstructions, 29));
    // The idle icon is shown, no message box came up.
    ASSERT_FALSE(fake.notifyCalls.empty());
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), fake.notifyCalls.back().dwMessage);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYICON)), fake.notifyCalls.back().data.hIcon);
    EXPECT_EQ(h.Hwnd(), fake.notifyCalls.back().data.hWnd);
    EXPECT_EQ(static_cast<UINT>(WM_TRAYNOTIFY), fake.notifyCalls.back().data.uCallbackMessage);
    EXPECT_TRUE(fake.messageBoxes.empty());
    // The focus starts in slot 1's list.
    EXPECT_EQ(h.WindowList(1), GetFocus());
}

TEST(CyclerDialog, ExchangeAttachesOnceAndLoadsWhatTheMembersHold)
{
    CFakeWindowSystem fake;
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    HWND hStop = dlg.m_btnStop.m_hWnd;
    dlg.m_nInterval[0] = -12;
    dlg.m_nInterval[9] = INT_MAX;
    dlg.m_nWindowChoice[1] = 0;
    dlg.m_nWindowChoice[2] = 500;  // no such line: no selection
    dlg.m_nWindowChoice[3] = -1;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(hStop, dlg.m_btnStop.m_hWnd);
    EXPECT_EQ("-12", h.FieldText(1));
    EXPECT_EQ("2147483647", h.FieldText(10));
    EXPECT_EQ(0, h.Selection(2));
    EXPECT_EQ(CB_ERR, h.Selection(3));
    EXPECT_EQ(CB_ERR, h.Selection(4));
    // Loading checks nothing.
    EXPECT_TRUE(fake.messageBoxes.empty());
    // Saving reads the lists back: -1 where no line is selected.
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
        h.SetFieldText(nSlot, "5");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ((std::vector<int>{ 0, 0, -1, -1, 0, 0, 0, 0, 0, 0 }), Choices(dlg));
    EXPECT_EQ(std::vector<int>(SLOT_COUNT, 5), Intervals(dlg));
}

TEST(CyclerDialog, IntervalFieldTexts)
{
    struct
    {
        std::string strText;
        const char* pszMessage;  // nullptr: accepted
        int nStored;             // the slot's interval afterwards
    } cases[] = {
        { "1", nullptr, 1 },
        { "3600", nullptr, 3600 },
        { "  25  ", nullptr, 25 },
        { "\t25", nullptr, 25 },
        { "007", nullptr, 7 },
        { "", INTEGER_MESSAGE, 77 },
        { "12a", INTEGER_MESSAGE, 77 },
        { "abc", INTEGER_MESSAGE, 77 },
        { "-0", INTEGER_MESSAGE, 77 },
        { "0", RANGE_MESSAGE, 0 },
        { "3601", RANGE_MESSAGE, 3601 },
        { "-5", RANGE_MESSAGE, -5 },
        { "1234567890123456789012345678901234567890", RANGE_MESSAGE, INT_MAX },
        // Past 31 characters the text is still read whole.
        { std::string(30, ' ') + "25", nullptr, 25 },
        { std::string(31, '0') + "9", nullptr, 9 },
    };
    CFakeWindowSystem fake;
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    for (int nSlot : { 1, 4, 10 })
    {
        for (const auto& c : cases)
        {
            SCOPED_TRACE("slot " + std::to_string(nSlot) + " text \"" + c.strText + "\"");
            for (int i = 0; i < SLOT_COUNT; ++i)
                dlg.m_nInterval[i] = 77;
            dlg.UpdateData(FALSE);
            h.SetFieldText(nSlot, c.strText);
            fake.ClearRecords();
            BOOL bSaved = dlg.UpdateData(TRUE);
            EXPECT_EQ(c.pszMessage == nullptr, bSaved != FALSE);
            EXPECT_EQ(c.nStored, dlg.m_nInterval[nSlot - 1]);
            if (c.pszMessage == nullptr)
            {
                EXPECT_TRUE(fake.messageBoxes.empty());
                continue;
            }
            ASSERT_EQ(1u, fake.messageBoxes.size());
            EXPECT_EQ(c.pszMessage, fake.messageBoxes[0].strText);
            EXPECT_EQ("cycler_dialog_test", fake.messageBoxes[0].strCaption);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), fake.messageBoxes[0].uType);
            EXPECT_EQ(h.Hwnd(), fake.messageBoxes[0].hWndOwner);
            // The failed field has the focus and its whole text selected.
            EXPECT_EQ(h.IntervalField(nSlot), GetFocus());
            DWORD dwStart = 0, dwEnd = 0;
            SendMessageA(h.IntervalField(nSlot), EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                         reinterpret_cast<LPARAM>(&dwEnd));
            EXPECT_EQ(0u, dwStart);
            EXPECT_EQ(c.strText.size(), dwEnd);
        }
    }
}

TEST(CyclerDialog, FailedExchangeStopsAtTheFirstFailingField)
{
    CFakeWindowSystem fake;
    HWND hWindow = fake.AddWindow("Chosen", 9);
    (void)hWindow;
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    ASSERT_TRUE(h.Choose(2, "Chosen <(PID=9)>"));
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
        h.SetFieldText(nSlot, std::to_string(10 * nSlot));
    h.SetFieldText(3, "");
    h.SetFieldText(5, "0");
    SetWindowTextA(h.Control(IDC_INSTRUCTIONS), "changed");
    CString strInstructions = dlg.m_strInstructions;
    fake.ClearRecords();

    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(1u, fake.messageBoxes.size());
    EXPECT_EQ(INTEGER_MESSAGE, fake.messageBoxes[0].strText);
    EXPECT_EQ(h.IntervalField(3), GetFocus());
    // Slots 1 and 2 taken, slot 3 unchanged, the rest untouched.
    EXPECT_EQ((std::vector<int>{ 10, 20, 1, 1, 1, 1, 1, 1, 1, 1 }), Intervals(dlg));
    EXPECT_EQ(std::vector<int>(SLOT_COUNT, 0), Choices(dlg));
    EXPECT_STREQ(strInstructions, dlg.m_strInstructions);

    // Slot 3 mended: slot 5's range check is next, with 0 stored.
    h.SetFieldText(3, "30");
    fake.ClearRecords();
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(1u, fake.messageBoxes.size());
    EXPECT_EQ(RANGE_MESSAGE, fake.messageBoxes[0].strText);
    EXPECT_EQ(h.IntervalField(5), GetFocus());
    EXPECT_EQ((std::vector<int>{ 10, 20, 30, 40, 0, 1, 1, 1, 1, 1 }), Intervals(dlg));
    EXPECT_EQ(std::vector<int>(SLOT_COUNT, 0), Choices(dlg));

    // All fields good: the choices and the instructions come last.
    h.SetFieldText(5, "50");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ((std::vector<int>{ 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 }), Intervals(dlg));
    EXPECT_EQ(h.Selection(2), dlg.m_nWindowChoice[1]);
    EXPECT_NE(0, dlg.m_nWindowChoice[1]);
    EXPECT_STREQ("changed", dlg.m_strInstructions);
}

// Rebuilding the lists: one walk of the desktop, the entries of every titled
// window in all ten lists, " <No window selected>" first.

class CyclerLists : public testing::Test
{
protected:
    CTestWindows m_windows;
};

TEST_F(CyclerLists, WindowsOfThisProcessAndAnother)
{
    const std::string strLong(300, 'L');
    CWindowOwnerProcess owner({ "v:Lists remote", "h:Lists remote hidden", "m:Lists remote minimised", "v:" });
    ASSERT_TRUE(owner.IsReady());
    m_windows.Create("Lists own");
    m_windows.Create("Lists own hidden", SW_HIDE);
    m_windows.Create("Lists twin");
    m_windows.Create("Lists twin");
    m_windows.Create(strLong);
    m_windows.Create("", SW_SHOWNOACTIVATE);
    CCyclerHarness h;
    // Read again: showing the tray icon may have made a window of its own
    // (Wine's "Wine System Tray") since the dialog opened.
    h.ClickButton(IDC_REREAD);

    std::vector<std::string> lines = h.ListLines(1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(NO_WINDOW_LINE, lines[0]);
    auto count = [&](const std::string& strEntry) { return std::count(lines.begin(), lines.end(), strEntry); };
    std::string strRemote = "(PID=" + std::to_string(owner.ProcessId()) + ")>";
    EXPECT_EQ(1, count("Lists remote <" + strRemote));
    EXPECT_EQ(1, count("Lists remote hidden <" + strRemote));
    EXPECT_EQ(1, count("Lists remote minimised <" + strRemote));
    EXPECT_EQ(1, count(OwnEntry("Lists own")));
    EXPECT_EQ(1, count(OwnEntry("Lists own hidden")));
    EXPECT_EQ(2, count(OwnEntry("Lists twin")));
    EXPECT_EQ(1, count(OwnEntry("Gyrovanter")));  // the dialog itself
    // The 300-character title whole: 300 + 7 + digits + 2 characters.
    std::string strLongEntry = OwnEntry(strLong);
    EXPECT_EQ(300 + 7 + std::to_string(GetCurrentProcessId()).size() + 2, strLongEntry.size());
    EXPECT_EQ(1, count(strLongEntry));
    // Untitled windows (the remote one, the own one, Wine's own helpers) not.
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_NE(0u, lines[i].find(" <(PID=")) << lines[i];
    // Every titled top-level window has its line; the ten lists are equal.
    size_t nTitled = 0;
    for (HWND hWnd = GetTopWindow(nullptr); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
        nTitled += GetWindowTextLengthA(hWnd) > 0;
    EXPECT_EQ(nTitled + 1, lines.size());
    for (int nSlot = 2; nSlot <= SLOT_COUNT; ++nSlot)
        EXPECT_EQ(lines, h.ListLines(nSlot)) << nSlot;
}

TEST_F(CyclerLists, NoWindowLineStaysFirstWhateverTheTitlesBeginWith)
{
    m_windows.Create("  two blanks");
    m_windows.Create(" one blank");
    m_windows.Create("\tTab");
    m_windows.Create("\x01" "control");
    m_windows.Create("!bang");
    m_windows.Create(" <No window selected>");  // a window may be titled so, too
    CCyclerHarness h;
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
    {
        std::vector<std::string> lines = h.ListLines(nSlot);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(NO_WINDOW_LINE, lines[0]) << nSlot;
        EXPECT_EQ(0, h.Selection(nSlot)) << nSlot;
        EXPECT_EQ(1, std::count(lines.begin(), lines.end(), OwnEntry("  two blanks"))) << nSlot;
        EXPECT_EQ(1, std::count(lines.begin(), lines.end(), OwnEntry("\x01" "control"))) << nSlot;
    }
}

TEST_F(CyclerLists, RebuildResetsChoicesAndReloadsStoredIntervals)
{
    m_windows.Create("Lists first");
    m_windows.Create("Lists second");
    CCyclerHarness h;
    CCyclerDlg& dlg = h.Dlg();
    std::vector<std::string> before = h.ListLines(1);
    ASSERT_TRUE(h.Choose(1, OwnEntry("Lists first")));
    ASSERT_TRUE(h.Choose(7, OwnEntry("Lists second")));
    h.SetFieldText(1, "15");
    h.SetFieldText(7, "7");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    ASSERT_NE(0, dlg.m_nWindowChoice[0]);
    // Typed but not taken: the rebuild puts the stored value back.
    h.SetFieldText(1, "99");
    h.ClickButton(IDC_REREAD);
    EXPECT_EQ(std::vector<int>(SLOT_COUNT, 0), Choices(dlg));
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
    {
        EXPECT_EQ(0, h.Selection(nSlot)) << nSlot;
        EXPECT_EQ(before, h.ListLines(nSlot)) << nSlot;
    }
    EXPECT_EQ("15", h.FieldText(1));
    EXPECT_EQ("7", h.FieldText(7));
    EXPECT_EQ("1", h.FieldText(2));

    // A window that came since is listed after the next rebuild only.
    m_windows.Create("Lists newcomer");
    EXPECT_EQ(0, std::count(before.begin(), before.end(), OwnEntry("Lists newcomer")));
    h.ClickButton(IDC_REREAD);
    std::vector<std::string> after = h.ListLines(1);
    EXPECT_EQ(1, std::count(after.begin(), after.end(), OwnEntry("Lists newcomer")));
    EXPECT_EQ(before.size() + 1, after.size());
}

TEST(CyclerListsFake, OneWalkFromTheTopAndOnlyTitledWindows)
{
    CFakeWindowSystem fake;
    fake.AddWindow("Zeta", 5);
    fake.AddWindow("", 6);
    HWND hAlpha = fake.AddWindow("alpha", 7);
    fake.AddWindow("Alpha", 7);
    fake.AddWindow("Report <(PID=2316)>", 8);
    CCyclerHarness h;
    std::vector<std::string> expected = { NO_WINDOW_LINE, "alpha <(PID=7)>", "Alpha <(PID=7)>",
                                          "Report <(PID=2316)> <(PID=8)>", "Zeta <(PID=5)>" };
    std::vector<std::string> lines = h.ListLines(1);
    // Case-insensitive order; "alpha" and "Alpha" may stand either way round.
    ASSERT_EQ(expected.size(), lines.size());
    if (lines[1] == "Alpha <(PID=7)>")
        std::swap(expected[1], expected[2]);
    EXPECT_EQ(expected, lines);
    // The process was asked of the titled windows only, once each.
    EXPECT_EQ(4u, fake.processIdQueries.size());

    // A window destroyed while the walk stands on it ends the walk there;
    // the lines found so far stay.
    fake.onWalkStep = [&](HWND hWnd) {
        if (hWnd == hAlpha)
            fake.DestroyFakeWindow(hAlpha);
    };
    h.ClickButton(IDC_REREAD);
    EXPECT_EQ((std::vector<std::string>{ NO_WINDOW_LINE, "Zeta <(PID=5)>" }), h.ListLines(1));
    EXPECT_EQ((std::vector<std::string>{ NO_WINDOW_LINE, "Zeta <(PID=5)>" }), h.ListLines(10));
}

// The rebuild fills each list in one go, without redrawing and with its
// storage reserved; it must not be slower than the plain way: empty all ten,
// add the first line to each, then add each window's entry to all ten.
TEST(CyclerListsFake, RebuildIsNoSlowerThanAPlainAddStringLoop)
{
    CFakeWindowSystem fake;
    for (int i = 0; i < 1500; ++i)
        fake.AddWindow("Window number " + std::to_string((i * 7919) % 1500) + " of the benchmark", 4000 + i % 7);
    CCyclerHarness h;
    auto milliseconds = [](const std::function<void()>& run) {
        double dBest = 1e9;
        for (int nRound = 0; nRound < 3; ++nRound)
        {
            LARGE_INTEGER frequency, start, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            run();
            QueryPerformanceCounter(&end);
            dBest = std::min(dBest, (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
        }
        return dBest;
    };
    double dOurs = milliseconds([&] { h.ClickButton(IDC_REREAD); });
    std::vector<std::string> ours = h.ListLines(5);
    double dPlain = milliseconds([&] {
        for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
            SendMessageA(h.WindowList(nSlot), CB_RESETCONTENT, 0, 0);
        for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
            SendMessageA(h.WindowList(nSlot), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NO_WINDOW_LINE));
        CWindowSystem& system = GetWindowSystem();
        for (HWND hWnd = system.GetWindow(h.Hwnd(), GW_HWNDFIRST); hWnd != nullptr;
             hWnd = system.GetWindow(hWnd, GW_HWNDNEXT))
        {
            CString strTitle = ReadWindowTitle(hWnd);
            if (strTitle.IsEmpty())
                continue;
            DWORD dwProcessId = 0;
            system.GetWindowThreadProcessId(hWnd, &dwProcessId);
            CString strEntry = FormatWindowEntry(strTitle, dwProcessId);
            for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
                SendMessageA(h.WindowList(nSlot), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strEntry)));
        }
    });
    EXPECT_EQ(ours, h.ListLines(5));
    EXPECT_EQ(1501u, ours.size());
    printf("rebuild of 10 lists of 1501 lines: %.1f ms; plain loop: %.1f ms\n", dOurs, dPlain);
    EXPECT_LE(dOurs, dPlain * 1.25 + 5);
}
