// The framework's string loading and bounded copy, and CMenu: loading
// through the seam, pop-ups, appending items, the system menu, and who
// destroys which menu.
#include "afx/afxmenu.h"
#include "afx/afxtext.h"
#include "afx/afxwnd.h"
#include "res/resource.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const char TIP[] = "Gyrovanter: windows circulation made easy";

int GetMenuItemCount(const CMenu& menu)
{
    return ::GetMenuItemCount(menu.m_hMenu);
}
}

TEST(AfxLoadString, CopiesAtMostOneLessThanTheBufferAndANul)
{
    const struct
    {
        UINT nMax;
        const char* pszExpected;
    } cases[] = {
        { 64, TIP }, { 42, TIP }, { 41, "Gyrovanter: windows circulation made eas" }, { 10, "Gyrovante" }, { 1, "" },
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.nMax);
        char szBuffer[80];
        memset(szBuffer, '#', sizeof(szBuffer));
        EXPECT_EQ(static_cast<int>(strlen(test.pszExpected)), AfxLoadString(IDR_TRAYICON, szBuffer, test.nMax));
        EXPECT_STREQ(test.pszExpected, szBuffer);
        EXPECT_EQ('#', szBuffer[test.nMax]);  // nothing written beyond the buffer
    }
}

TEST(AfxLoadString, MissingStringLeavesAnEmptyText)
{
    char szBuffer[64];
    memset(szBuffer, '#', sizeof(szBuffer));
    EXPECT_EQ(0, AfxLoadString(IDI_RUNNING_1, szBuffer, sizeof(szBuffer)));
    EXPECT_STREQ("", szBuffer);

    // No room at all: nothing is written.
    EXPECT_EQ(0, AfxLoadString(IDR_TRAYICON, szBuffer, 0));
    EXPECT_EQ('\0', szBuffer[0]);
    EXPECT_EQ('#', szBuffer[1]);
}

TEST(AfxCopyString, CutsToTheBufferAndAlwaysEndsWithANul)
{
    char szBuffer[8];
    EXPECT_EQ(3, AfxCopyString(szBuffer, sizeof(szBuffer), "abc"));
    EXPECT_STREQ("abc", szBuffer);
    EXPECT_EQ(7, AfxCopyString(szBuffer, sizeof(szBuffer), "abcdefg"));
    EXPECT_STREQ("abcdefg", szBuffer);
    EXPECT_EQ(7, AfxCopyString(szBuffer, sizeof(szBuffer), "abcdefghijk"));
    EXPECT_STREQ("abcdefg", szBuffer);
    EXPECT_EQ(0, AfxCopyString(szBuffer, sizeof(szBuffer), nullptr));
    EXPECT_STREQ("", szBuffer);
}

TEST(CMenu, LoadedMenuIsDestroyedWithItsObjectAndItsPopupsAreNot)
{
    CFakeWindowSystem fake;
    HMENU hMenu = nullptr;
    HMENU hPopup = nullptr;
    {
        CMenu menu;
        EXPECT_EQ(nullptr, menu.GetSubMenu(0));
        ASSERT_TRUE(menu.LoadMenu(IDR_TRAYICON));
        EXPECT_FALSE(menu.LoadMenu(IDR_TRAYICON));  // already holds one
        EXPECT_EQ(std::vector<std::string>{ "LoadMenu(129)" }, fake.log);
        hMenu = menu.m_hMenu;
        EXPECT_EQ(hMenu, static_cast<HMENU>(menu));

        CMenu* pPopup = menu.GetSubMenu(0);
        ASSERT_NE(nullptr, pPopup);
        EXPECT_EQ(pPopup, menu.GetSubMenu(0));
        hPopup = pPopup->m_hMenu;
        EXPECT_EQ(::GetSubMenu(hMenu, 0), hPopup);
        EXPECT_EQ(nullptr, menu.GetSubMenu(1));
        EXPECT_EQ(static_cast<UINT>(ID_TRAY_CONFIGURE), pPopup->GetMenuItemID(0));
        EXPECT_TRUE(pPopup->SetDefaultItem(2, TRUE));
        EXPECT_EQ(2u, GetMenuDefaultItem(hPopup, TRUE, 0));
    }
    EXPECT_EQ(std::vector<HMENU>{ hMenu }, fake.menusDestroyed);
    EXPECT_FALSE(IsMenu(hMenu));
}

TEST(CMenu, DetachedMenuOutlivesItsObject)
{
    CFakeWindowSystem fake;
    HMENU hMenu = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_TRAYICON));
        ASSERT_NE(nullptr, menu.GetSubMenu(0));
        hMenu = menu.Detach();
        EXPECT_EQ(nullptr, menu.m_hMenu);
    }
    EXPECT_TRUE(fake.menusDestroyed.empty());
    EXPECT_TRUE(IsMenu(hMenu));

    CMenu menu;
    EXPECT_TRUE(menu.Attach(hMenu));
    EXPECT_FALSE(menu.Attach(hMenu));
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(menu.DestroyMenu());
    EXPECT_EQ(std::vector<HMENU>{ hMenu }, fake.menusDestroyed);
    EXPECT_EQ(nullptr, menu.m_hMenu);
}

TEST(CMenu, AppendedItemsGoAtTheEnd)
{
    CMenu menu;
    ASSERT_TRUE(menu.Attach(CreatePopupMenu()));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 32777, "&About"));
    EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 16, "About Gyrovanter..."));
    ASSERT_EQ(3, GetMenuItemCount(menu));
    EXPECT_EQ(32777u, menu.GetMenuItemID(0));
    EXPECT_EQ(0u, menu.GetMenuItemID(1));
    EXPECT_EQ(16u, menu.GetMenuItemID(2));
    char szText[64];
    GetMenuStringA(menu.m_hMenu, 2, szText, sizeof(szText), MF_BYPOSITION);
    EXPECT_STREQ("About Gyrovanter...", szText);
}

TEST(CMenu, SystemMenuIsKeptByTheFrameworkAndNotDestroyed)
{
    CFakeWindowSystem fake;
    HWND hWnd = CreateTestWindow("system menu", SW_HIDE);
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    CMenu* pSystemMenu = pWnd->GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, pSystemMenu);
    EXPECT_EQ(pSystemMenu, pWnd->GetSystemMenu(FALSE));
    EXPECT_EQ(GetSystemMenu(hWnd, FALSE), pSystemMenu->m_hMenu);

    int nItems = GetMenuItemCount(*pSystemMenu);
    EXPECT_TRUE(pSystemMenu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(pSystemMenu->AppendMenu(MF_STRING, 16, "&About Gyrovanter..."));
    EXPECT_EQ(nItems + 2, GetMenuItemCount(*pSystemMenu));
    EXPECT_EQ(16u, pSystemMenu->GetMenuItemID(nItems + 1));
    EXPECT_TRUE(fake.menusDestroyed.empty());
    DestroyWindow(hWnd);
}

TEST(CMenu, TrackPopupMenuShowsThePopupForTheWindow)
{
    CFakeWindowSystem fake;
    HWND hWnd = CreateTestWindow("owner", SW_HIDE);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TRAYICON));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pPopup);
    EXPECT_TRUE(pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, 12, 34, CWnd::FromHandle(hWnd)));
    ASSERT_EQ(1u, fake.trackCalls.size());
    EXPECT_EQ(pPopup->m_hMenu, fake.trackCalls[0].hMenu);
    EXPECT_EQ(static_cast<UINT>(TPM_RIGHTBUTTON), fake.trackCalls[0].uFlags);
    EXPECT_EQ(12, fake.trackCalls[0].x);
    EXPECT_EQ(34, fake.trackCalls[0].y);
    EXPECT_EQ(hWnd, fake.trackCalls[0].hWnd);
    DestroyWindow(hWnd);
}

TEST(CMenu, RunTimeClass)
{
    CMenu menu;
    EXPECT_STREQ("CMenu", menu.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CObject), menu.GetRuntimeClass()->m_pBaseClass);
}
