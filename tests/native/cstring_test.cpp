// CString: shared buffers, parts of the text, searching and formatting.
#include "afx/afxstr.h"

#include <gtest/gtest.h>

#include <string>

TEST(CString, CopiesShareUntilChanged)
{
    CString a("abc");
    CString b(a);
    EXPECT_EQ(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b));
    b += "d";
    EXPECT_STREQ("abc", a);
    EXPECT_STREQ("abcd", b);
    a = a;
    a += a;
    EXPECT_STREQ("abcabc", a);
    CString c;
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_STREQ("", c);
}

TEST(CString, PartsAreClampedToTheText)
{
    CString s("Report <(PID=2316)>");
    EXPECT_STREQ("Report", s.Left(6));
    EXPECT_STREQ("2316)>", s.Mid(13));
    EXPECT_STREQ("2316", s.Mid(13, 4));
    EXPECT_STREQ(")>", s.Right(2));
    EXPECT_STREQ("", s.Mid(100, 5));
    EXPECT_STREQ("", s.Left(-3));
    EXPECT_STREQ(static_cast<LPCSTR>(s), s.Mid(-4, 1000));
    EXPECT_EQ(6, s.Find(" <(PID="));
    EXPECT_EQ(-1, s.Find("pid"));
    EXPECT_EQ(17, s.ReverseFind(")>"));
    EXPECT_EQ(0, s.Find(""));
}

TEST(CString, FormatAndBuffer)
{
    CString s;
    s.Format("%s <(PID=%d)>", "T", -4);
    EXPECT_STREQ("T <(PID=-4)>", s);
    std::string big(5000, 'z');
    s.Format("%s", big.c_str());
    EXPECT_EQ(5000, s.GetLength());

    CString shared(s);
    LPSTR p = s.GetBuffer(3);
    p[0] = 'q';
    p[1] = '\0';
    s.ReleaseBuffer();
    EXPECT_STREQ("q", s);
    EXPECT_EQ(5000, shared.GetLength());  // the copy kept its own text
    CString e;
    e.GetBuffer(0)[0] = '\0';
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CString, EqualityIsExactAndCaseSensitive)
{
    EXPECT_TRUE(CString("Report") == "Report");
    EXPECT_FALSE(CString("Report") == "report");
    EXPECT_FALSE(CString("Report") == CString("Report "));
    EXPECT_TRUE(CString() == "");
    EXPECT_TRUE(CString() == static_cast<LPCSTR>(nullptr));
}
