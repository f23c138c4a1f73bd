// Finding a window again from its entry and bringing it to the front: on the
// recording fake (what is asked of the window system, in what order) and on
// real windows of this process and of a second one under Wine.
#include "engine/WindowEntry.h"
#include "engine/WindowLookup.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

namespace
{
// Any window serves as the walk's starting point; the fake ignores it.
const HWND ANY_WINDOW = nullptr;

HWND Lookup(LPCSTR pszEntry)
{
    return BringWindowEntryToFront(ANY_WINDOW, pszEntry);
}
}

TEST(WindowLookupFake, FirstMatchInZOrderWins)
{
    CFakeWindowSystem fake;
    HWND hOther = fake.AddWindow("Report", 7);
    HWND hHigh = fake.AddWindow("Report", 2316);
    HWND hLow = fake.AddWindow("Report", 2316);
    (void)hLow;

    EXPECT_EQ(hHigh, Lookup("Report <(PID=2316)>"));
    EXPECT_EQ(std::vector<HWND>{ hHigh }, fake.foregroundRequests);
    // The process is asked only of windows whose title matched.
    EXPECT_EQ((std::vector<HWND>{ hOther, hHigh }), fake.processIdQueries);
}

TEST(WindowLookupFake, TitleMustMatchExactly)
{
    CFakeWindowSystem fake;
    fake.AddWindow("report", 2316);
    fake.AddWindow("Report ", 2316);
    fake.AddWindow(" Report", 2316);
    fake.AddWindow("Repor", 2316);

    EXPECT_EQ(nullptr, Lookup("Report <(PID=2316)>"));
    EXPECT_TRUE(fake.foregroundRequests.empty());
    EXPECT_TRUE(fake.processIdQueries.empty());
}

TEST(WindowLookupFake, ProcessMustMatch)
{
    CFakeWindowSystem fake;
    fake.AddWindow("Report", 2317);
    EXPECT_EQ(nullptr, Lookup("Report <(PID=2316)>"));
    EXPECT_TRUE(fake.foregroundRequests.empty());
    EXPECT_EQ(1u, fake.processIdQueries.size());
}

TEST(WindowLookupFake, TitlesWithTheMarkersAreFound)
{
    CFakeWindowSystem fake;
    const char* const titles[] = { "a <(PID=12)> b", "ends with )>", " <(PID=", "x <(PID=5)>" };
    for (const char* pszTitle : titles)
    {
        HWND hWnd = fake.AddWindow(pszTitle, 40);
        EXPECT_EQ(hWnd, Lookup(FormatWindowEntry(pszTitle, 40))) << pszTitle;
    }
}

TEST(WindowLookupFake, EmptyTitleIsFoundByItsEntry)
{
    CFakeWindowSystem fake;
    fake.AddWindow("Report", 5);
    HWND hUntitled = fake.AddWindow("", 5);
    EXPECT_EQ(hUntitled, Lookup(" <(PID=5)>"));
}

TEST(WindowLookupFake, MalformedEntryMatchesNoWindow)
{
    CFakeWindowSystem fake;
    // A window whose title is the whole entry, in a process that could be read
    // as 0 or as anything else: no match, and no process is asked for.
    fake.AddWindow("Report", 0);
    fake.AddWindow("Report <(PID=)>", 0);
    fake.AddWindow("Report <(PID=12", 12);
    for (LPCSTR pszEntry : { "Report", "Report <(PID=)>", "Report <(PID=12", "" })
        EXPECT_EQ(nullptr, Lookup(pszEntry)) << pszEntry;
    EXPECT_TRUE(fake.foregroundRequests.empty());
    EXPECT_TRUE(fake.processIdQueries.empty());
}

TEST(WindowLookupFake, WindowDestroyedMidWalkEndsTheWalk)
{
    CFakeWindowSystem fake;
    HWND hFirst = fake.AddWindow("First", 1);
    fake.AddWindow("Report", 2316);
    // The window the walk stands on goes away before its successor is asked.
    fake.onWalkStep = [&](HWND hWnd) {
        if (hWnd == hFirst)
            fake.DestroyFakeWindow(hFirst);
    };
    EXPECT_EQ(nullptr, Lookup("Report <(PID=2316)>"));
    EXPECT_TRUE(fake.foregroundRequests.empty());
}

TEST(WindowLookupFake, WindowDestroyedAfterItsTitleWasReadDoesNotMatchProcessZero)
{
    CFakeWindowSystem fake;
    HWND hGone = fake.AddWindow("Report", 0);
    fake.DestroyFakeWindow(hGone);
    // Title read from the window, process asked after it was destroyed: the
    // system answers no thread, and the entry for process 0 must not match.
    EXPECT_EQ(nullptr, Lookup("Report <(PID=0)>"));
}

TEST(WindowLookupFake, EmptyDesktopFindsNothing)
{
    CFakeWindowSystem fake;
    fake.AddWindow("x", 1);
    fake.DestroyFakeWindow(fake.AddWindow("y", 1));
    EXPECT_EQ(nullptr, Lookup("Report <(PID=2316)>"));
}

// Real windows under Wine.

class WindowLookupReal : public testing::Test
{
protected:
    HWND Create(const std::string& strTitle, int nShow = SW_SHOWNOACTIVATE)
    {
        return m_windows.Create(strTitle, nShow);
    }

    CTestWindows m_windows;
};

TEST_F(WindowLookupReal, OwnWindowsVisibleHiddenAndMinimised)
{
    HWND hStart = Create("Lookup start");
    struct
    {
        const char* pszTitle;
        int nShow;
    } cases[] = {
        { "Lookup visible", SW_SHOWNOACTIVATE },
        { "Lookup hidden", SW_HIDE },
        { "Lookup minimised", SW_SHOWMINNOACTIVE },
    };
    for (const auto& c : cases)
    {
        HWND hWnd = Create(c.pszTitle, c.nShow);
        EXPECT_EQ(hWnd, BringWindowEntryToFront(hStart, FormatWindowEntry(c.pszTitle, GetCurrentProcessId())));
        EXPECT_TRUE(WaitForForeground(hWnd)) << c.pszTitle;
        // Found, not restored or shown.
        EXPECT_EQ(c.nShow != SW_HIDE, IsWindowVisible(hWnd) != FALSE) << c.pszTitle;
        EXPECT_EQ(c.nShow == SW_SHOWMINNOACTIVE, IsIconic(hWnd) != FALSE) << c.pszTitle;
    }
}

TEST_F(WindowLookupReal, EqualTitlesInOneProcessHigherWins)
{
    HWND hLower = Create("Lookup twin");
    HWND hHigher = Create("Lookup twin");
    SetWindowPos(hHigher, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<HWND> twins = FindTopLevelWindows(GetCurrentProcessId(), "Lookup twin");
    ASSERT_EQ(2u, twins.size());
    ASSERT_EQ(hHigher, twins[0]);
    EXPECT_EQ(hHigher, BringWindowEntryToFront(hLower, FormatWindowEntry("Lookup twin", GetCurrentProcessId())));
    EXPECT_TRUE(WaitForForeground(hHigher));
}

TEST_F(WindowLookupReal, WindowsOfAnotherProcess)
{
    CWindowOwnerProcess owner({ "v:Lookup remote", "h:Lookup remote hidden", "v:Lookup shared" });
    ASSERT_TRUE(owner.IsReady());
    HWND hStart = Create("Lookup shared");  // same title, this process
    std::vector<HWND> remote = owner.FindWindows("Lookup remote");
    ASSERT_EQ(1u, remote.size());

    EXPECT_EQ(remote[0], BringWindowEntryToFront(hStart, FormatWindowEntry("Lookup remote", owner.ProcessId())));
    EXPECT_TRUE(WaitForForeground(remote[0]));

    // The title alone is not enough: the entry names the other process.
    std::vector<HWND> shared = owner.FindWindows("Lookup shared");
    ASSERT_EQ(1u, shared.size());
    EXPECT_EQ(shared[0], BringWindowEntryToFront(hStart, FormatWindowEntry("Lookup shared", owner.ProcessId())));
    EXPECT_TRUE(WaitForForeground(shared[0]));
    EXPECT_EQ(hStart, BringWindowEntryToFront(hStart, FormatWindowEntry("Lookup shared", GetCurrentProcessId())));
    EXPECT_TRUE(WaitForForeground(hStart));

    std::vector<HWND> hidden = owner.FindWindows("Lookup remote hidden");
    ASSERT_EQ(1u, hidden.size());
    EXPECT_EQ(hidden[0],
              BringWindowEntryToFront(hStart, FormatWindowEntry("Lookup remote hidden", owner.ProcessId())));
    EXPECT_TRUE(WaitForForeground(hidden[0]));
    EXPECT_FALSE(IsWindowVisible(hidden[0]));
}

TEST_F(WindowLookupReal, ClosedWindowIsNotFoundAndForegroundStays)
{
    HWND hStart = Create("Lookup keeper");
    HWND hGone = Create("Lookup gone");
    SetForegroundWindow(hStart);
    ASSERT_TRUE(WaitForForeground(hStart));
    m_windows.Destroy(hGone);
    EXPECT_EQ(nullptr, BringWindowEntryToFront(hStart, FormatWindowEntry("Lookup gone", GetCurrentProcessId())));
    PumpMessages(50);
    EXPECT_EQ(hStart, GetForegroundWindow());
}
