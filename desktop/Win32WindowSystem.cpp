#include "desktop/WindowSystem.h"

namespace
{
CWin32WindowSystem& Win32System()
{
    // A function-local static, so that static initialisers (the registered
    // "TaskbarCreated" message) can use the seam before main runs.
    static CWin32WindowSystem s_system;
    return s_system;
}

CWindowSystem* g_pInstalled = nullptr;
}

CWindowSystem& GetWindowSystem()
{
    return g_pInstalled != nullptr ? *g_pInstalled : Win32System();
}

CWindowSystem* SetWindowSystem(CWindowSystem* pSystem)
{
    CWindowSystem* pPrevious = &GetWindowSystem();
    g_pInstalled = pSystem;
    return pPrevious;
}

HWND CWin32WindowSystem::GetWindow(HWND hWnd, UINT uCmd)
{
    return ::GetWindow(hWnd, uCmd);
}

int CWin32WindowSystem::GetWindowTextLengthA(HWND hWnd)
{
    return ::GetWindowTextLengthA(hWnd);
}

int CWin32WindowSystem::GetWindowTextA(HWND hWnd, LPSTR pszText, int nMaxCount)
{
    return ::GetWindowTextA(hWnd, pszText, nMaxCount);
}

DWORD CWin32WindowSystem::GetWindowThreadProcessId(HWND hWnd, LPDWORD pdwProcessId)
{
    return ::GetWindowThreadProcessId(hWnd, pdwProcessId);
}

BOOL CWin32WindowSystem::SetForegroundWindow(HWND hWnd)
{
    return ::SetForegroundWindow(hWnd);
}

BOOL CWin32WindowSystem::EnableWindow(HWND hWnd, BOOL bEnable)
{
    return ::EnableWindow(hWnd, bEnable);
}

BOOL CWin32WindowSystem::ShowWindow(HWND hWnd, int nCmdShow)
{
    return ::ShowWindow(hWnd, nCmdShow);
}

LRESULT CWin32WindowSystem::SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(hWnd, uMsg, wParam, lParam);
}

BOOL CWin32WindowSystem::PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(hWnd, uMsg, wParam, lParam);
}

UINT CWin32WindowSystem::RegisterWindowMessageA(LPCSTR pszName)
{
    return ::RegisterWindowMessageA(pszName);
}

UINT_PTR CWin32WindowSystem::SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimer)
{
    return ::SetTimer(hWnd, nIDEvent, uElapse, pfnTimer);
}

BOOL CWin32WindowSystem::KillTimer(HWND hWnd, UINT_PTR nIDEvent)
{
    return ::KillTimer(hWnd, nIDEvent);
}

WNDPROC CWin32WindowSystem::SetWindowProc(HWND hWnd, WNDPROC pfnNew)
{
    // Pointer-sized on both 32- and 64-bit Windows.
    return reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnNew)));
}

LRESULT CWin32WindowSystem::CallWindowProcA(WNDPROC pfn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(pfn, hWnd, uMsg, wParam, lParam);
}

HICON CWin32WindowSystem::LoadIconA(HINSTANCE hInstance, LPCSTR pszName)
{
    return ::LoadIconA(hInstance, pszName);
}

HMENU CWin32WindowSystem::LoadMenuA(HINSTANCE hInstance, LPCSTR pszName)
{
    return ::LoadMenuA(hInstance, pszName);
}

BOOL CWin32WindowSystem::DestroyMenu(HMENU hMenu)
{
    return ::DestroyMenu(hMenu);
}

HMENU CWin32WindowSystem::GetSubMenu(HMENU hMenu, int nPos)
{
    return ::GetSubMenu(hMenu, nPos);
}

BOOL CWin32WindowSystem::SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos)
{
    return ::SetMenuDefaultItem(hMenu, uItem, fByPos);
}

UINT CWin32WindowSystem::GetMenuItemID(HMENU hMenu, int nPos)
{
    return ::GetMenuItemID(hMenu, nPos);
}

BOOL CWin32WindowSystem::AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem)
{
    return ::AppendMenuA(hMenu, uFlags, uIDNewItem, pszNewItem);
}

HMENU CWin32WindowSystem::GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    return ::GetSystemMenu(hWnd, bRevert);
}

BOOL CWin32WindowSystem::GetCursorPos(LPPOINT pPoint)
{
    return ::GetCursorPos(pPoint);
}

BOOL CWin32WindowSystem::TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved,
                                        HWND hWnd, const RECT* pRect)
{
    return ::TrackPopupMenu(hMenu, uFlags, x, y, nReserved, hWnd, pRect);
}

BOOL CWin32WindowSystem::Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA pData)
{
    return ::Shell_NotifyIconA(dwMessage, pData);
}

int CWin32WindowSystem::MessageBoxIndirectA(const MSGBOXPARAMSA* pParams)
{
    return ::MessageBoxIndirectA(pParams);
}
