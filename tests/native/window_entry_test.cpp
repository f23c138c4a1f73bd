// The window entry: "%s <(PID=%d)>" and reading it back.
#include "engine/WindowEntry.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace
{
void ExpectRoundTrip(const std::string& strTitle, DWORD dwProcessId)
{
    CString strEntry = FormatWindowEntry(strTitle.c_str(), dwProcessId);
    CString strParsedTitle;
    DWORD dwParsed = 12345;
    ASSERT_TRUE(ParseWindowEntry(strEntry, strParsedTitle, dwParsed)) << static_cast<LPCSTR>(strEntry);
    EXPECT_EQ(strTitle, std::string(strParsedTitle, strParsedTitle.GetLength()));
    EXPECT_EQ(dwProcessId, dwParsed);
}
}

TEST(WindowEntry, FormatsTitleAndProcessId)
{
    EXPECT_STREQ("Report <(PID=2316)>", FormatWindowEntry("Report", 2316));
    EXPECT_STREQ(" <(PID=8)>", FormatWindowEntry("", 8));
    EXPECT_STREQ(" <No window selected>", NO_WINDOW_LINE);
    CString strLong(std::string(300, 'x').c_str());
    EXPECT_EQ(300 + 7 + 4 + 2, FormatWindowEntry(strLong, 1234).GetLength());
}

TEST(WindowEntry, ParsesTitlesThatContainTheMarkers)
{
    const char* const titles[] = {
        "Report",
        "a <(PID=12)> b",
        "ends with )>",
        " <(PID=",
        ")>",
        "x <(PID=5)>",
        "<(PID=)> <(PID=-)>",
        "  leading blanks",
        "",
    };
    for (const char* pszTitle : titles)
        ExpectRoundTrip(pszTitle, 2316);
}

TEST(WindowEntry, RoundTripOfArbitraryTitles)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 80);
    const std::string pieces[] = { " <(PID=", ")>", "7", " ", "<(", "PID=" };
    for (int nCase = 0; nCase < 2000; ++nCase)
    {
        std::string strTitle;
        int nLength = length(random);
        while (static_cast<int>(strTitle.size()) < nLength)
        {
            if (random() % 4 == 0)
                strTitle += pieces[random() % 6];
            else
                strTitle += static_cast<char>(byte(random));
        }
        DWORD dwProcessId = static_cast<DWORD>(random() % 0x7FFFFFFF);
        ExpectRoundTrip(strTitle, dwProcessId);
    }
    ExpectRoundTrip(std::string(10000, 'T') + " <(PID=1)>", 0x7FFFFFFF);
}

TEST(WindowEntry, MalformedEntriesNameNoProcess)
{
    const char* const entries[] = {
        "",
        "Report",
        "Report <(PID=)>",
        "Report <(PID=12",
        "Report <(PID=12)> ",
        "Report <(PID=1a2)>",
        "Report <(PID= 12)>",
        "Report <(PID=+12)>",
        "Report <(PID=-)>",
        "Report <(PID=99999999999999999999999999999999999999)>",
        "Report <(PID=2147483648)>",
        "Report (PID=12)>",
        ")> <(PID=",
        " <(PID=)>",
    };
    for (const char* pszEntry : entries)
    {
        CString strTitle;
        DWORD dwProcessId = 77;
        EXPECT_FALSE(ParseWindowEntry(pszEntry, strTitle, dwProcessId)) << pszEntry;
        EXPECT_STREQ(pszEntry, strTitle);
    }
}

TEST(WindowEntry, NegativeIdsComeBackAsTheSameBits)
{
    CString strTitle;
    DWORD dwProcessId = 0;
    ASSERT_TRUE(ParseWindowEntry("T <(PID=-4)>", strTitle, dwProcessId));
    EXPECT_EQ(static_cast<DWORD>(-4), dwProcessId);
    ExpectRoundTrip("T", 0xFFFFFFFC);
}
