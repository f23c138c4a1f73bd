// The tray's resources as the program loads them: menu 129, string 129, and
// the icons, drawn by the window system and looked at pixel by pixel: sizes
// and colours, the four windows' fills, and the rotation of the running
// pictures.
#include "res/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

#pragma pack(push, 2)
struct GroupIconEntry
{
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes;
    WORD nID;
};
struct GroupIconDir
{
    WORD idReserved, idType, idCount;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

// "32x32 16 colours 4 bits" for each image of an icon resource.
std::vector<std::string> IconImages(UINT nID)
{
    std::vector<std::string> images;
    HRSRC hResource = FindResourceA(Module(), MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (hResource == nullptr)
        return images;
    const GroupIconDir* pDir = static_cast<const GroupIconDir*>(LockResource(LoadResource(Module(), hResource)));
    for (WORD i = 0; i < pDir->idCount; ++i)
    {
        const GroupIconEntry& entry = pDir->entries[i];
        images.push_back(std::to_string(entry.bWidth) + "x" + std::to_string(entry.bHeight) + " " +
                         std::to_string(entry.bColorCount) + " colours " + std::to_string(entry.wBitCount) + " bits");
    }
    return images;
}

const COLORREF BACKGROUND = RGB(255, 0, 255);

// The icon's image of that size drawn over the background colour.
class CDrawnIcon
{
public:
    CDrawnIcon(UINT nID, int nSize) : m_nSize(nSize)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = nSize;
        bmi.bmiHeader.biHeight = -nSize;  // top-down
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hDC = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        HBRUSH hBrush = CreateSolidBrush(BACKGROUND);
        RECT rc = { 0, 0, nSize, nSize };
        FillRect(m_hDC, &rc, hBrush);
        DeleteObject(hBrush);
        HICON hIcon = static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(nID), IMAGE_ICON, nSize, nSize, 0));
        m_bDrawn = hIcon != nullptr && DrawIconEx(m_hDC, 0, 0, hIcon, nSize, nSize, 0, nullptr, DI_NORMAL);
        GdiFlush();
        if (hIcon != nullptr)
            DestroyIcon(hIcon);
    }
    ~CDrawnIcon()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    CDrawnIcon(const CDrawnIcon&) = delete;
    CDrawnIcon& operator=(const CDrawnIcon&) = delete;

    bool IsDrawn() const { return m_bDrawn; }
    COLORREF At(int x, int y) const
    {
        DWORD dw = m_pBits[y * m_nSize + x];  // 0x00RRGGBB
        return RGB((dw >> 16) & 0xFF, (dw >> 8) & 0xFF, dw & 0xFF);
    }

private:
    int m_nSize;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
    bool m_bDrawn = false;
};

const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF GREEN = RGB(0, 255, 0);
const COLORREF YELLOW = RGB(255, 255, 0);
const COLORREF RED = RGB(255, 0, 0);
const COLORREF BLACK = RGB(0, 0, 0);
const COLORREF DARK_CYAN = RGB(0, 128, 128);
const COLORREF HOLLOW = BACKGROUND;

// A point inside each window (top left, right, lower right, lower left), a
// point on the top left window's frame and one on its shadow.
struct Layout
{
    int nSize;
    POINT insides[4];
    POINT frame;
    POINT shadow;
};
const Layout LARGE = { 32, { { 10, 9 }, { 25, 9 }, { 22, 24 }, { 7, 24 } }, { 3, 9 }, { 1, 6 } };
const Layout SMALL = { 16, { { 5, 5 }, { 13, 7 }, { 10, 13 }, { 3, 12 } }, { 2, 5 }, { 1, 3 } };

std::vector<COLORREF> Fills(const CDrawnIcon& icon, const Layout& layout)
{
    std::vector<COLORREF> fills;
    for (const POINT& pt : layout.insides)
        fills.push_back(icon.At(pt.x, pt.y));
    return fills;
}
}

TEST(TrayResources, MenuHasOnePopupOpenWithItsEightItems)
{
    HMENU hMenu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_TRAYICON));
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(1, GetMenuItemCount(hMenu));
    char szText[64];
    GetMenuStringA(hMenu, 0, szText, sizeof(szText), MF_BYPOSITION);
    EXPECT_STREQ("Open", szText);
    HMENU hPopup = GetSubMenu(hMenu, 0);
    ASSERT_NE(nullptr, hPopup);

    const struct
    {
        const char* pszText;  // NULL: a separator
        UINT nID;
    } items[] = {
        { "&Configure", ID_TRAY_CONFIGURE }, { nullptr, 0 }, { "&Start", ID_TRAY_START }, { "Sto&p", ID_TRAY_STOP },
        { nullptr, 0 }, { "&About", ID_TRAY_ABOUT }, { nullptr, 0 }, { "E&xit", ID_TRAY_EXIT },
    };
    ASSERT_EQ(8, GetMenuItemCount(hPopup));
    for (int i = 0; i < 8; ++i)
    {
        SCOPED_TRACE(i);
        UINT nState = GetMenuState(hPopup, i, MF_BYPOSITION);
        if (items[i].pszText == nullptr)
        {
            EXPECT_NE(0u, nState & MF_SEPARATOR);
            continue;
        }
        EXPECT_EQ(0u, nState & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED));
        EXPECT_EQ(items[i].nID, GetMenuItemID(hPopup, i));
        GetMenuStringA(hPopup, i, szText, sizeof(szText), MF_BYPOSITION);
        EXPECT_STREQ(items[i].pszText, szText);
    }
    DestroyMenu(hMenu);
}

TEST(TrayResources, TipStringAndNoStringsForTheRunningPictures)
{
    char szText[128];
    EXPECT_EQ(41, LoadStringA(Module(), IDR_TRAYICON, szText, sizeof(szText)));
    EXPECT_STREQ("Gyrovanter: windows circulation made easy", szText);
    for (UINT nID : { IDI_RUNNING_1, IDI_RUNNING_2, IDI_RUNNING_3, IDI_RUNNING_4 })
        EXPECT_EQ(0, LoadStringA(Module(), nID, szText, sizeof(szText))) << nID;
}

TEST(TrayResources, IconSizesAndColours)
{
    const std::vector<std::string> both = { "32x32 16 colours 4 bits", "16x16 16 colours 4 bits" };
    const std::vector<std::string> large = { "32x32 16 colours 4 bits" };
    EXPECT_EQ(both, IconImages(IDR_MAINFRAME));
    EXPECT_EQ(both, IconImages(IDR_TRAYICON));
    for (UINT nID : { IDI_RUNNING_1, IDI_RUNNING_2, IDI_RUNNING_3, IDI_RUNNING_4 })
        EXPECT_EQ(large, IconImages(nID)) << nID;
}

TEST(TrayResources, IdlePictureHasFourWhiteWindowsAndTheProgramIconIsTheSame)
{
    for (const Layout* pLayout : { &LARGE, &SMALL })
    {
        SCOPED_TRACE(pLayout->nSize);
        CDrawnIcon idle(IDR_TRAYICON, pLayout->nSize);
        CDrawnIcon program(IDR_MAINFRAME, pLayout->nSize);
        ASSERT_TRUE(idle.IsDrawn());
        ASSERT_TRUE(program.IsDrawn());
        EXPECT_EQ(std::vector<COLORREF>(4, WHITE), Fills(idle, *pLayout));
        EXPECT_EQ(BLACK, idle.At(pLayout->frame.x, pLayout->frame.y));
        EXPECT_EQ(DARK_CYAN, idle.At(pLayout->shadow.x, pLayout->shadow.y));
        EXPECT_EQ(HOLLOW, idle.At(0, pLayout->nSize - 1));  // a transparent corner
        for (int y = 0; y < pLayout->nSize; ++y)
            for (int x = 0; x < pLayout->nSize; ++x)
                ASSERT_EQ(idle.At(x, y), program.At(x, y)) << x << "," << y;
    }
}

TEST(TrayResources, RunningPicturesTurnCounterClockwise)
{
    const struct
    {
        UINT nID;
        std::vector<COLORREF> fills;  // top left, right, lower right, lower left
    } pictures[] = {
        { IDI_RUNNING_1, { GREEN, YELLOW, RED, HOLLOW } },  // 131
        { IDI_RUNNING_2, { YELLOW, RED, HOLLOW, GREEN } },  // 134
        { IDI_RUNNING_3, { RED, HOLLOW, GREEN, YELLOW } },  // 133
        { IDI_RUNNING_4, { HOLLOW, GREEN, YELLOW, RED } },  // 132
    };
    EXPECT_EQ(131, IDI_RUNNING_1);
    EXPECT_EQ(134, IDI_RUNNING_2);
    EXPECT_EQ(133, IDI_RUNNING_3);
    EXPECT_EQ(132, IDI_RUNNING_4);
    std::vector<std::vector<COLORREF>> drawn;
    for (const auto& picture : pictures)
    {
        SCOPED_TRACE(picture.nID);
        CDrawnIcon icon(picture.nID, 32);
        ASSERT_TRUE(icon.IsDrawn());
        drawn.push_back(Fills(icon, LARGE));
        EXPECT_EQ(picture.fills, drawn.back());
        EXPECT_EQ(BLACK, icon.At(LARGE.frame.x, LARGE.frame.y));
        EXPECT_EQ(DARK_CYAN, icon.At(LARGE.shadow.x, LARGE.shadow.y));
    }
    // From each picture to the next, in the running order, every fill moves
    // on counter-clockwise: top left to lower left to lower right to right.
    const int nextWindow[4] = { 3, 0, 1, 2 };
    for (size_t n = 0; n < drawn.size(); ++n)
        for (int w = 0; w < 4; ++w)
            EXPECT_EQ(drawn[n][w], drawn[(n + 1) % drawn.size()][nextWindow[w]]) << "picture " << n << " window " << w;
}
