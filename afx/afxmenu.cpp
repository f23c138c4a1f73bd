#include "afx/afxmenu.h"

#include "afx/afxapp.h"
#include "desktop/WindowSystem.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace
{
// Objects of menus that no CMenu owns. They let go of their handles before
// they go themselves: the menus belong to their windows.
class CTemporaryMenus
{
public:
    ~CTemporaryMenus()
    {
        for (auto& entry : m_menus)
            entry.second->Detach();
    }
    std::map<HMENU, std::unique_ptr<CMenu>> m_menus;
};

CTemporaryMenus& TemporaryMenus()
{
    static CTemporaryMenus s_menus;
    return s_menus;
}
}

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu()
{
    DestroyMenu();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == nullptr || m_hMenu != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    // The pop-ups' objects stand for handles of the menu that leaves.
    for (auto& entry : m_subMenus)
        entry.second->Detach();
    m_subMenus.clear();
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (hMenu == nullptr)
        return nullptr;
    std::unique_ptr<CMenu>& pMenu = TemporaryMenus().m_menus[hMenu];
    if (!pMenu)
    {
        pMenu.reset(new CMenu);
        pMenu->m_hMenu = hMenu;
    }
    return pMenu.get();
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    if (m_hMenu != nullptr)
        return FALSE;
    m_hMenu = GetWindowSystem().LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu()
{
    HMENU hMenu = Detach();
    return hMenu != nullptr && GetWindowSystem().DestroyMenu(hMenu);
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    HMENU hSubMenu = m_hMenu != nullptr ? GetWindowSystem().GetSubMenu(m_hMenu, nPos) : nullptr;
    if (hSubMenu == nullptr)
        return nullptr;
    std::unique_ptr<CMenu>& pSubMenu = m_subMenus[hSubMenu];
    if (!pSubMenu)
    {
        pSubMenu.reset(new CMenu);
        pSubMenu->m_hMenu = hSubMenu;
    }
    return pSubMenu.get();
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos)
{
    return GetWindowSystem().SetMenuDefaultItem(m_hMenu, uItem, fByPos);
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return GetWindowSystem().GetMenuItemID(m_hMenu, nPos);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR pszNewItem)
{
    return GetWindowSystem().AppendMenuA(m_hMenu, nFlags, nIDNewItem, pszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT pRect)
{
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    return GetWindowSystem().TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, pRect);
}
