// The rotation rules: which slot has the next turn, how long the window in
// front stays, and where the cursor goes after a turn.
#include "engine/SlotRules.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace
{
// Intervals that tell the slots apart: slot n has 100 + n seconds.
struct Table
{
    int anChoice[SLOT_COUNT] = {};
    int anInterval[SLOT_COUNT] = {};

    explicit Table(std::initializer_list<int> chosen)
    {
        for (int n = 1; n <= SLOT_COUNT; ++n)
            anInterval[n - 1] = 100 + n;
        for (int n : chosen)
            anChoice[n - 1] = n;  // any index but 0 chooses the slot
    }
};

struct WorkedCase
{
    std::initializer_list<int> chosen;
    int nCursorBefore;
    int nCursorAfter;
    int nDwellSlot;  // whose interval GetDwellInterval gives
};

const WorkedCase WORKED_CASES[] = {
    { { 1, 2, 3 }, 1, 1, 3 },
    { { 1, 2, 3 }, 2, 2, 1 },
    { { 1, 2, 3 }, 4, 1, 3 },
    { { 2, 3 }, 1, 2, 3 },
    { { 2, 3 }, 4, 1, 3 },
    { { 4 }, 4, 4, 4 },
    { { 4 }, 5, 1, 4 },
    { { 3, 7 }, 8, 1, 7 },
    { { 3, 7 }, 1, 3, 7 },
    { { 1, 10 }, 2, 10, 1 },
    { { 1, 10 }, 1, 1, 10 },
    { { 10 }, 1, 10, 10 },
    { { 5 }, 10, 1, 5 },
    { {}, 1, 1, 1 },
    { {}, 2, 1, 1 },
};
}

TEST(SlotRules, WorkedCases)
{
    for (const WorkedCase& c : WORKED_CASES)
    {
        Table table(c.chosen);
        int nCursor = SelectSlot(table.anChoice, c.nCursorBefore);
        SCOPED_TRACE(testing::Message() << "cursor before " << c.nCursorBefore << ", chosen " << c.chosen.size());
        EXPECT_EQ(c.nCursorAfter, nCursor);
        EXPECT_EQ(100 + c.nDwellSlot, DwellInterval(table.anChoice, table.anInterval, nCursor));
    }
}

TEST(SlotRules, NoLineSelectedCountsAsChosen)
{
    Table table({});
    table.anChoice[5 - 1] = -1;
    EXPECT_EQ(5, SelectSlot(table.anChoice, 1));
    EXPECT_EQ(105, DwellInterval(table.anChoice, table.anInterval, 5));
}

TEST(SlotRules, SingleChosenSlotFromEveryCursor)
{
    for (int k = 1; k <= SLOT_COUNT; ++k)
    {
        Table table({ k });
        for (int nCursor = 1; nCursor <= SLOT_COUNT; ++nCursor)
        {
            int nExpected = (k == SLOT_COUNT || nCursor <= k) ? k : 1;
            EXPECT_EQ(nExpected, SelectSlot(table.anChoice, nCursor)) << "slot " << k << " cursor " << nCursor;
            EXPECT_EQ(100 + k, DwellInterval(table.anChoice, table.anInterval, nCursor));
        }
    }
}

TEST(SlotRules, IntervalsOutsideTheRangeAreUsedUnchanged)
{
    Table table({ 2, 6 });
    table.anInterval[2 - 1] = 0;
    table.anInterval[6 - 1] = -7;
    EXPECT_EQ(-7, DwellInterval(table.anChoice, table.anInterval, 2));
    EXPECT_EQ(0, DwellInterval(table.anChoice, table.anInterval, 6));
    table.anInterval[6 - 1] = 2147483647;
    EXPECT_EQ(2147483647, DwellInterval(table.anChoice, table.anInterval, 1));
}

TEST(SlotRules, UnchosenIntervalsDoNotMatterButSlotOnesWhenNothingIsChosen)
{
    Table table({ 4 });
    table.anInterval[1 - 1] = 9;
    table.anInterval[3 - 1] = 9;
    EXPECT_EQ(104, DwellInterval(table.anChoice, table.anInterval, 1));
    Table none({});
    none.anInterval[1 - 1] = 9;
    EXPECT_EQ(9, DwellInterval(none.anChoice, none.anInterval, 7));
}

TEST(SlotRules, AdvanceWrapsFromTenToOne)
{
    for (int n = 1; n < SLOT_COUNT; ++n)
        EXPECT_EQ(n + 1, NextSlot(n));
    EXPECT_EQ(1, NextSlot(10));
}

// Before the first Start the cursor is 0; a stray timer message must not make
// the rules read outside the table.
TEST(SlotRules, CursorOutsideTheTableIsTakenAsSlotOne)
{
    Table table({ 3 });
    for (int nCursor : { 0, -1, 11, 1000 })
    {
        EXPECT_EQ(3, SelectSlot(table.anChoice, nCursor));
        EXPECT_EQ(103, DwellInterval(table.anChoice, table.anInterval, nCursor));
        EXPECT_EQ(1, NextSlot(nCursor));
    }
}
