// The control dialog's template 102 as the window system builds it: every
// control in template order (the tab order), with its class, id, text,
// styles and place, compared with the dialog units of the layout mapped to
// pixels by MapDialogRect.
#include "afx/afxdlg.h"
#include "res/resource.h"
#include "tests/support/TestDialogs.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct ExpectedControl
{
    const char* pszClass;
    int nID;
    const char* pszText;  // nullptr: not compared (set at run time)
    int x, y, cx, cy;
    DWORD dwStyle;        // besides WS_CHILD and WS_VISIBLE
};

const DWORD LABEL = SS_LEFT | WS_GROUP;
const DWORD LIST = CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
const DWORD FIELD = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const char NOTICE[] = "Windows opened later appear in the lists after pressing Reread lists.";

std::vector<ExpectedControl> Layout()
{
    std::vector<ExpectedControl> expected = {
        { "Static", IDC_INSTRUCTIONS, "", 7, 7, 305, 41, LABEL },
        { "Static", -1, "Nr.:", 7, 51, 24, 8, LABEL },
        { "Static", -1, "Window title", 32, 51, 110, 11, LABEL },
        { "Static", -1, "Interval (1 - 3600 s):", 237, 51, 75, 8, LABEL },
    };
    struct Row
    {
        int yLabel, nList, yList, cyList, nField, yField;
    } rows[] = {
        { 68, 1001, 67, 62, 1000, 66 },   { 85, 1003, 84, 60, 1002, 83 },   { 101, 1007, 100, 62, 1006, 99 },
        { 117, 1009, 116, 62, 1008, 115 }, { 133, 1011, 132, 65, 1010, 131 }, { 149, 1015, 148, 64, 1014, 147 },
        { 165, 1017, 164, 64, 1016, 163 }, { 182, 1019, 181, 68, 1018, 180 }, { 198, 1021, 197, 78, 1020, 196 },
        { 214, 1025, 213, 70, 1024, 212 },
    };
    static const char* const s_numbers[] = { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" };
    for (int i = 0; i < 10; ++i)
    {
        expected.push_back({ "Static", -1, s_numbers[i], 7, rows[i].yLabel, 10, 8, LABEL });
        expected.push_back({ "ComboBox", rows[i].nList, "", 34, rows[i].yList, 215, rows[i].cyList, LIST });
        expected.push_back({ "Edit", rows[i].nField, "", 267, rows[i].yField, 30, 14, FIELD });
    }
    std::vector<ExpectedControl> tail = {
        { "Static", -1, NOTICE, 7, 233, 305, 8, LABEL },
        { "Button", IDOK, "&Start", 7, 262, 62, 18, BS_DEFPUSHBUTTON | WS_TABSTOP },
        { "Button", IDC_STOP, "Sto&p", 88, 262, 62, 18, BS_DEFPUSHBUTTON | WS_TABSTOP },
        { "Button", IDC_ABOUT, "&About ...", 169, 262, 62, 18, BS_DEFPUSHBUTTON | WS_TABSTOP },
        { "Button", IDCANCEL, "&Close", 250, 262, 62, 18, BS_PUSHBUTTON | WS_TABSTOP },
        { "Button", IDC_REREAD, "Reread lists", 143, 48, 61, 14, BS_PUSHBUTTON | WS_TABSTOP },
    };
    expected.insert(expected.end(), tail.begin(), tail.end());
    return expected;
}

std::string Text(HWND hWnd)
{
    char sz[512] = {};
    GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

RECT ClientRectOf(HWND hWndDlg, HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hWndDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// One item of a DLGTEMPLATEEX, as the resource holds it.
struct TemplateItem
{
    DWORD dwStyle, dwExStyle;
    int x, y, cx, cy, nID;
    std::string strClass, strText;
};

struct Template
{
    DWORD dwStyle = 0, dwExStyle = 0;
    int cx = 0, cy = 0, nPointSize = 0;
    std::string strCaption, strFont;
    std::vector<TemplateItem> items;
};

// Reads a string or an ordinal (0xFFFF and a number, given as "#number"),
// or the class ordinals of the standard controls by name.
std::string ReadSzOrOrd(const WORD*& p)
{
    if (*p == 0xFFFF)
    {
        WORD nOrd = p[1];
        p += 2;
        switch (nOrd)
        {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x85: return "ComboBox";
        default: return "#" + std::to_string(nOrd);
        }
    }
    std::string str;
    while (*p != 0)
        str += static_cast<char>(*p++);
    ++p;
    return str;
}

Template ReadTemplate(UINT nID)
{
    Template t;
    HRSRC hRes = FindResourceA(nullptr, MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (hRes == nullptr)
        return t;
    const BYTE* pBase = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hRes)));
    const WORD* p = reinterpret_cast<const WORD*>(pBase);
    if (p[0] != 1 || p[1] != 0xFFFF)  // not a DLGTEMPLATEEX
        return t;
    const DWORD* pd = reinterpret_cast<const DWORD*>(p + 2);
    t.dwExStyle = pd[1];
    t.dwStyle = pd[2];
    p = reinterpret_cast<const WORD*>(pd + 3);
    int nItems = *p++;
    p += 2;  // x, y
    t.cx = static_cast<short>(*p++);
    t.cy = static_cast<short>(*p++);
    ReadSzOrOrd(p);  // menu
    ReadSzOrOrd(p);  // class
    t.strCaption = ReadSzOrOrd(p);
    if (t.dwStyle & DS_SETFONT)
    {
        t.nPointSize = *p++;
        p += 2;  // weight, italic and charset
        t.strFont = ReadSzOrOrd(p);
    }
    for (int i = 0; i < nItems; ++i)
    {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~static_cast<UINT_PTR>(3));
        pd = reinterpret_cast<const DWORD*>(p);
        TemplateItem item;
        item.dwExStyle = pd[1];
        item.dwStyle = pd[2];
        p = reinterpret_cast<const WORD*>(pd + 3);
        item.x = static_cast<short>(p[0]);
        item.y = static_cast<short>(p[1]);
        item.cx = static_cast<short>(p[2]);
        item.cy = static_cast<short>(p[3]);
        item.nID = static_cast<int>(*reinterpret_cast<const DWORD*>(p + 4));
        p += 6;
        item.strClass = ReadSzOrOrd(p);
        item.strText = ReadSzOrOrd(p);
        WORD cbExtra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + cbExtra);
        t.items.push_back(item);
    }
    return t;
}

class DialogLayout : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create()); }
    CDialog m_dlg{ IDD_GYROVANTER_DIALOG };
};
}

TEST(DialogTemplate, HoldsEveryControlAsLaidOut)
{
    Template t = ReadTemplate(IDD_GYROVANTER_DIALOG);
    EXPECT_EQ(DWORD(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), t.dwStyle);
    EXPECT_EQ(DWORD(WS_EX_APPWINDOW), t.dwExStyle);
    EXPECT_EQ(319, t.cx);
    EXPECT_EQ(287, t.cy);
    EXPECT_EQ("Gyrovanter", t.strCaption);
    EXPECT_EQ("MS Sans Serif", t.strFont);
    EXPECT_EQ(8, t.nPointSize);

    std::vector<ExpectedControl> expected = Layout();
    ASSERT_EQ(expected.size(), t.items.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        const ExpectedControl& control = expected[i];
        const TemplateItem& item = t.items[i];
        std::string strWhere = "item " + std::to_string(i) + " (" + control.pszClass + " " + std::to_string(control.nID) + ")";
        // By name or by the class's ordinal; names compare without case.
        EXPECT_EQ(0, lstrcmpiA(control.pszClass, item.strClass.c_str())) << strWhere << " " << item.strClass;
        EXPECT_EQ(control.nID, static_cast<int>(static_cast<short>(item.nID))) << strWhere;
        EXPECT_EQ(control.pszText, item.strText) << strWhere;
        EXPECT_EQ(control.dwStyle | WS_CHILD | WS_VISIBLE, item.dwStyle) << strWhere << std::hex << " " << item.dwStyle;
        EXPECT_EQ(0u, item.dwExStyle) << strWhere;
        EXPECT_EQ(control.x, item.x) << strWhere;
        EXPECT_EQ(control.y, item.y) << strWhere;
        EXPECT_EQ(control.cx, item.cx) << strWhere;
        EXPECT_EQ(control.cy, item.cy) << strWhere;
    }
}

TEST_F(DialogLayout, TheDialogItself)
{
    HWND hDlg = m_dlg.m_hWnd;
    EXPECT_EQ("Gyrovanter", Text(hDlg));
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongPtrA(hDlg, GWL_STYLE));
    for (DWORD dwBit : { DWORD(WS_POPUP), DWORD(WS_VISIBLE), DWORD(WS_CAPTION), DWORD(WS_SYSMENU),
                         DWORD(DS_MODALFRAME), DWORD(DS_SETFONT) })
        EXPECT_EQ(dwBit, dwStyle & dwBit) << std::hex << dwBit;
    for (DWORD dwBit : { DWORD(WS_MINIMIZEBOX), DWORD(WS_MAXIMIZEBOX), DWORD(WS_THICKFRAME), DWORD(DS_CENTER) })
        EXPECT_EQ(0u, dwStyle & dwBit) << std::hex << dwBit;
    EXPECT_TRUE(GetWindowLongPtrA(hDlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    RECT rcClient;
    GetClientRect(hDlg, &rcClient);
    RECT rcExpected = DialogUnitsToPixels(hDlg, 0, 0, 319, 287);
    EXPECT_EQ(rcExpected.right, rcClient.right);
    EXPECT_EQ(rcExpected.bottom, rcClient.bottom);

    LOGFONTA font = {};
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, hFont);
    GetObjectA(hFont, sizeof(font), &font);
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
    HDC hdc = GetDC(hDlg);
    EXPECT_EQ(-MulDiv(8, GetDeviceCaps(hdc, LOGPIXELSY), 72), font.lfHeight);
    ReleaseDC(hDlg, hdc);
}

TEST_F(DialogLayout, EveryControlInTemplateOrder)
{
    HWND hDlg = m_dlg.m_hWnd;
    std::vector<ExpectedControl> expected = Layout();
    size_t nIndex = 0;
    for (HWND hWnd = GetWindow(hDlg, GW_CHILD); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT), ++nIndex)
    {
        ASSERT_LT(nIndex, expected.size());
        const ExpectedControl& control = expected[nIndex];
        std::string strWhere = "control " + std::to_string(nIndex) + " (" + control.pszClass + " " +
                               std::to_string(control.nID) + ")";
        char szClass[32] = {};
        GetClassNameA(hWnd, szClass, sizeof(szClass));
        EXPECT_STREQ(control.pszClass, szClass) << strWhere;
        EXPECT_EQ(control.nID, static_cast<int>(static_cast<short>(GetDlgCtrlID(hWnd)))) << strWhere;
        if (control.pszText != nullptr && control.nID != IDC_INSTRUCTIONS)
        {
            EXPECT_EQ(control.pszText, Text(hWnd)) << strWhere;
        }

        RECT rcExpected = DialogUnitsToPixels(hDlg, control.x, control.y, control.cx, control.cy);
        RECT rc = ClientRectOf(hDlg, hWnd);
        EXPECT_EQ(rcExpected.left, rc.left) << strWhere;
        EXPECT_EQ(rcExpected.top, rc.top) << strWhere;
        EXPECT_EQ(rcExpected.right, rc.right) << strWhere;
        // A combo box's template height is that of its dropped-down list;
        // closed, it is as high as its selection field.
        if (strcmp(control.pszClass, "ComboBox") != 0)
        {
            EXPECT_EQ(rcExpected.bottom, rc.bottom) << strWhere;
        }
    }
    EXPECT_EQ(expected.size(), nIndex);
}

TEST_F(DialogLayout, TabOrderRunsDownTheRowsThenTheButtons)
{
    HWND hDlg = m_dlg.m_hWnd;
    std::vector<int> order;
    HWND hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    for (HWND hWnd = hFirst; hWnd != nullptr && order.size() < 40;)
    {
        order.push_back(GetDlgCtrlID(hWnd));
        hWnd = GetNextDlgTabItem(hDlg, hWnd, FALSE);
        if (hWnd == hFirst)
            break;
    }
    std::vector<int> expected = { 1001, 1000, 1003, 1002, 1007, 1006, 1009, 1008, 1011, 1010, 1015, 1014, 1017,
                                  1016, 1019, 1018, 1021, 1020, 1025, 1024, IDOK, IDC_STOP, IDC_ABOUT, IDCANCEL,
                                  IDC_REREAD };
    EXPECT_EQ(expected, order);
}
