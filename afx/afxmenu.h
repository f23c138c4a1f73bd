// CMenu: a C++ object holding a menu handle.
//
// The object owns the menu it loaded or was attached to and destroys it with
// itself, unless the menu is detached first. Pop-ups reached through
// GetSubMenu belong to their menu: their objects are kept by the parent's
// object and never destroy their handles.
#pragma once

#include "afx/afxobj.h"

#include <map>
#include <memory>

class CWnd;

class CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)

public:
    CMenu();
    ~CMenu() override;

    HMENU m_hMenu;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return GetSafeHmenu(); }

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    // An object for a menu that no CMenu owns, such as a window's system
    // menu. The framework keeps it, without owning the menu, until the
    // process ends; NULL for a NULL handle.
    static CMenu* FromHandle(HMENU hMenu);

    // Loads menu nIDResource of the framework's resource module.
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    // The pop-up at position nPos, or NULL. The object lives as long as this one.
    CMenu* GetSubMenu(int nPos) const;
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
    UINT GetMenuItemID(int nPos) const;
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR pszNewItem = nullptr);
    // Shows the pop-up and tracks it until it closes; pWnd gets its commands.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT pRect = nullptr);

private:
    // Objects of the pop-ups handed out by GetSubMenu.
    mutable std::map<HMENU, std::unique_ptr<CMenu>> m_subMenus;

    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};
