// The text rules of the data exchange: what an interval field's text reads
// as, and the filling of a validation message's %1 and %2.
#include "afx/afxddxtext.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace
{
const int UNCHANGED = -777;  // what the value holds before each case

struct IntCase
{
    std::string strText;
    bool bAccepted;
    int nValue;  // the value after the call; UNCHANGED when rejected
};

const IntCase INT_CASES[] = {
    // Plain numbers, and the range check's own business left to it.
    { "1", true, 1 },
    { "3600", true, 3600 },
    { "3601", true, 3601 },
    { "0", true, 0 },
    { "00", true, 0 },
    { "007", true, 7 },
    { "-5", true, -5 },
    { "+25", true, 25 },
    // Blanks and tabs around the digits, never inside.
    { "  25  ", true, 25 },
    { "\t25\t", true, 25 },
    { " \t 0 \t", true, 0 },
    { "2 5", false, UNCHANGED },
    { "- 5", false, UNCHANGED },
    // No number at all.
    { "", false, UNCHANGED },
    { "   ", false, UNCHANGED },
    { "-", false, UNCHANGED },
    { "+", false, UNCHANGED },
    { "abc", false, UNCHANGED },
    { "12a", false, UNCHANGED },
    { "a12", false, UNCHANGED },
    { "1.5", false, UNCHANGED },
    { "0x10", false, UNCHANGED },
    { "\n5", false, UNCHANGED },
    { "5\n", false, UNCHANGED },
    // Zero is taken only when it is written with the digit 0 first.
    { "-0", false, UNCHANGED },
    { "+0", false, UNCHANGED },
    { "+000", false, UNCHANGED },
    // Too large for 32 bits: the largest value of its sign.
    { "2147483647", true, INT_MAX },
    { "2147483648", true, INT_MAX },
    { "-2147483648", true, INT_MIN },
    { "-2147483649", true, INT_MIN },
    { "1234567890123456789012345678901234567890", true, INT_MAX },
    { "-1234567890123456789012345678901234567890", true, INT_MIN },
    { "99999999999999999999999999999999999999999999999999999999999999999999", true, INT_MAX },
    // Long texts are read whole: what the field shows is what counts, also
    // past 31 characters (a 31-character read would take 30 blanks and "25"
    // for 2, and 32 zeros and "15" for 0).
    { std::string(29, ' ') + "25", true, 25 },
    { std::string(30, ' ') + "25", true, 25 },
    { std::string(32, '0') + "15", true, 15 },
    { "12" + std::string(30, ' ') + "x", false, UNCHANGED },
    { "7" + std::string(200, '\t'), true, 7 },
};
}

TEST(ParseIntText, Table)
{
    for (const IntCase& c : INT_CASES)
    {
        int nValue = UNCHANGED;
        EXPECT_EQ(c.bAccepted, AfxParseIntText(c.strText.c_str(), nValue)) << '"' << c.strText << '"';
        EXPECT_EQ(c.nValue, nValue) << '"' << c.strText << '"';
    }
}

TEST(ParseIntText, NullTextIsNoNumber)
{
    int nValue = UNCHANGED;
    EXPECT_FALSE(AfxParseIntText(nullptr, nValue));
    EXPECT_EQ(UNCHANGED, nValue);
}

TEST(InsertStrings, Table)
{
    const LPCSTR two[] = { "1", "3600" };
    struct
    {
        LPCSTR pszFormat;
        const char* pszExpected;
    } cases[] = {
        { "Please enter an integer between %1 and %2.", "Please enter an integer between 1 and 3600." },
        { "%2-%1", "3600-1" },
        { "%1%1", "11" },
        { "no places", "no places" },
        { "%3 is missing", " is missing" },
        { "100% sure, %%1 kept, % and %x too", "100% sure, %%1 kept, % and %x too" },
        { "ends with %", "ends with %" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.pszExpected, AfxInsertStrings(c.pszFormat, two, 2)) << c.pszFormat;
    EXPECT_STREQ("a  b", AfxInsertStrings("a %1 b", nullptr, 0));
}
