#include "tray/TrayIcon.h"

#include "afx/afxapp.h"
#include "afx/afxmenu.h"
#include "afx/afxtext.h"
#include "desktop/WindowSystem.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTrayIcon, CCmdTarget)

namespace
{
// The tip field of the record's first form; the record's type has room for
// the longer tip of later shell versions.
const UINT TIP_SIZE = 64;
}

const UINT g_nTaskbarCreatedMsg = GetWindowSystem().RegisterWindowMessageA("TaskbarCreated");

LRESULT CTrayHook::HookedWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    // The callback message counts only on the notify window itself; the
    // shell sends "TaskbarCreated" to top-level windows, so either hook may
    // see it.
    if (nMessage == m_pOwner->m_iconData.uCallbackMessage && m_hWndHooked == m_pOwner->m_iconData.hWnd)
        m_pOwner->OnIconNotify(wParam, lParam);
    else if (nMessage == g_nTaskbarCreatedMsg)
        m_pOwner->OnTaskbarRestart(wParam, lParam);
    return CSubclassWnd::HookedWindowProc(nMessage, wParam, lParam);
}

CTrayIcon::CTrayIcon(UINT nID)
{
    memset(&m_iconData, 0, sizeof(m_iconData));
    // The record's first form, which every shell version takes.
    m_iconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_iconData.uID = nID;
    m_notifyHook.m_pOwner = this;
    m_topLevelHook.m_pOwner = this;
    AfxLoadString(nID, m_iconData.szTip, TIP_SIZE);
}

CTrayIcon::~CTrayIcon()
{
    SetTrayIcon(nullptr, nullptr);
    m_notifyHook.HookTo(nullptr);
    m_topLevelHook.HookTo(nullptr);
}

void CTrayIcon::SetNotifyWindow(CWnd* pWnd, UINT nMessage)
{
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    m_iconData.hWnd = hWnd;
    m_iconData.uCallbackMessage = nMessage;
    m_notifyHook.HookTo(hWnd);

    CWnd* pTopLevel = pWnd != nullptr ? pWnd->GetTopLevelParent() : nullptr;
    // A top-level notify window gets "TaskbarCreated" through its own hook;
    // a hook left on the top-level window of an earlier notify window would
    // add the icon a second time.
    if (pTopLevel == pWnd)
        m_topLevelHook.HookTo(nullptr);
    else
        m_topLevelHook.HookTo(pTopLevel != nullptr ? pTopLevel->GetSafeHwnd() : nullptr);
}

BOOL CTrayIcon::SetTrayIcon(UINT nID)
{
    HICON hIcon = nullptr;
    if (nID != 0)
    {
        AfxLoadString(nID, m_iconData.szTip, TIP_SIZE);
        hIcon = GetWindowSystem().LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    }
    return SetTrayIcon(hIcon, nullptr);
}

BOOL CTrayIcon::SetTrayIcon(HICON hIcon, LPCSTR pszTip)
{
    DWORD dwMessage;
    m_iconData.uFlags = 0;
    if (hIcon != nullptr)
    {
        dwMessage = m_iconData.hIcon != nullptr ? NIM_MODIFY : NIM_ADD;
        m_iconData.hIcon = hIcon;
        m_iconData.uFlags = NIF_ICON;
    }
    else if (m_iconData.hIcon == nullptr)
    {
        return TRUE;
    }
    else
    {
        dwMessage = NIM_DELETE;
    }

    // The tip always ends in a NUL within its field, cut between characters.
    if (pszTip != nullptr)
        AfxCopyString(m_iconData.szTip, TIP_SIZE, pszTip);
    if (m_iconData.szTip[0] != '\0')
        m_iconData.uFlags |= NIF_TIP;
    if (m_iconData.uCallbackMessage != 0 && m_iconData.hWnd != nullptr)
        m_iconData.uFlags |= NIF_MESSAGE;

    BOOL bResult = GetWindowSystem().Shell_NotifyIconA(dwMessage, &m_iconData);
    // A failed add or change leaves no icon this object can count on, so the
    // next icon is added anew.
    if (dwMessage == NIM_DELETE || !bResult)
        m_iconData.hIcon = nullptr;
    return bResult;
}

LRESULT CTrayIcon::OnIconNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_iconData.uID)
        return 0;
    if (lParam != WM_RBUTTONUP && lParam != WM_LBUTTONDBLCLK)
        return 0;

    // Loaded for each event and destroyed with the object on every return.
    CMenu menu;
    if (!menu.LoadMenu(m_iconData.uID))
        return 0;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return 0;

    CWindowSystem& system = GetWindowSystem();
    if (lParam == WM_RBUTTONUP)
    {
        pPopup->SetDefaultItem(0, TRUE);
        POINT ptCursor = {};
        system.GetCursorPos(&ptCursor);
        // The menu closes when the user clicks elsewhere only while its owner
        // is the foreground window, and only once the owner has received a
        // message after the menu returned.
        system.SetForegroundWindow(m_iconData.hWnd);
        pPopup->TrackPopupMenu(0, ptCursor.x, ptCursor.y, CWnd::FromHandle(m_iconData.hWnd));
        system.PostMessageA(m_iconData.hWnd, WM_NULL, 0, 0);
    }
    else
    {
        system.SendMessageA(m_iconData.hWnd, WM_COMMAND, pPopup->GetMenuItemID(0), 0);
    }
    return 1;
}

LRESULT CTrayIcon::OnTaskbarRestart(WPARAM, LPARAM)
{
    // The new taskbar holds no icon of ours: add the shown one again.
    HICON hIcon = m_iconData.hIcon;
    m_iconData.hIcon = nullptr;
    if (hIcon != nullptr && !SetTrayIcon(hIcon, nullptr))
    {
        // Any program may broadcast the message while the taskbar lives on
        // and still holds our icon; the shell then refuses the add. Taking
        // that for a lost icon would freeze the picture in the taskbar (every
        // later add refused too) and leave it there after the program ends.
        // A change finds the icon if it is still there.
        m_iconData.hIcon = hIcon;
        SetTrayIcon(hIcon, nullptr);
    }
    return 0;
}
