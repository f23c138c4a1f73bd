// The window-system and shell operations the program needs, behind one seam.
//
// Every call the program makes to user32 or shell32 for walking windows,
// changing the foreground, timers, menus, window procedures and the tray icon
// goes through the object that GetWindowSystem() answers. The program always
// uses the Win32 implementation; tests install a recording fake in its place
// to see calls that a real desktop cannot show.
#pragma once

#include <windows.h>
#include <shellapi.h>

class CWindowSystem
{
public:
    virtual ~CWindowSystem() {}

    // Windows and their titles and owners.
    virtual HWND GetWindow(HWND hWnd, UINT uCmd) = 0;
    virtual int GetWindowTextLengthA(HWND hWnd) = 0;
    virtual int GetWindowTextA(HWND hWnd, LPSTR pszText, int nMaxCount) = 0;
    virtual DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD pdwProcessId) = 0;
    virtual BOOL SetForegroundWindow(HWND hWnd) = 0;
    virtual BOOL EnableWindow(HWND hWnd, BOOL bEnable) = 0;
    virtual BOOL ShowWindow(HWND hWnd, int nCmdShow) = 0;

    // Messages and timers.
    virtual LRESULT SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
    virtual UINT RegisterWindowMessageA(LPCSTR pszName) = 0;
    virtual UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimer) = 0;
    virtual BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent) = 0;

    // Window procedures: replacing one, and calling a saved one.
    virtual WNDPROC SetWindowProc(HWND hWnd, WNDPROC pfnNew) = 0;
    virtual LRESULT CallWindowProcA(WNDPROC pfn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;

    // Resources and menus.
    virtual HICON LoadIconA(HINSTANCE hInstance, LPCSTR pszName) = 0;
    virtual HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR pszName) = 0;
    virtual BOOL DestroyMenu(HMENU hMenu) = 0;
    virtual HMENU GetSubMenu(HMENU hMenu, int nPos) = 0;
    virtual BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos) = 0;
    virtual UINT GetMenuItemID(HMENU hMenu, int nPos) = 0;
    virtual BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem) = 0;
    virtual HMENU GetSystemMenu(HWND hWnd, BOOL bRevert) = 0;
    virtual BOOL GetCursorPos(LPPOINT pPoint) = 0;
    virtual BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved,
                                HWND hWnd, const RECT* pRect) = 0;

    // The notification area.
    virtual BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA pData) = 0;

    // Message boxes (the framework's AfxMessageBox): returns once the box is
    // closed, with the button that closed it.
    virtual int MessageBoxIndirectA(const MSGBOXPARAMSA* pParams) = 0;
};

// The Win32 implementation: each operation is the system call of that name.
class CWin32WindowSystem : public CWindowSystem
{
public:
    HWND GetWindow(HWND hWnd, UINT uCmd) override;
    int GetWindowTextLengthA(HWND hWnd) override;
    int GetWindowTextA(HWND hWnd, LPSTR pszText, int nMaxCount) override;
    DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD pdwProcessId) override;
    BOOL SetForegroundWindow(HWND hWnd) override;
    BOOL EnableWindow(HWND hWnd, BOOL bEnable) override;
    BOOL ShowWindow(HWND hWnd, int nCmdShow) override;
    LRESULT SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    BOOL PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    UINT RegisterWindowMessageA(LPCSTR pszName) override;
    UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimer) override;
    BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent) override;
    WNDPROC SetWindowProc(HWND hWnd, WNDPROC pfnNew) override;
    LRESULT CallWindowProcA(WNDPROC pfn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    HICON LoadIconA(HINSTANCE hInstance, LPCSTR pszName) override;
    HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR pszName) override;
    BOOL DestroyMenu(HMENU hMenu) override;
    HMENU GetSubMenu(HMENU hMenu, int nPos) override;
    BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos) override;
    UINT GetMenuItemID(HMENU hMenu, int nPos) override;
    BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem) override;
    HMENU GetSystemMenu(HWND hWnd, BOOL bRevert) override;
    BOOL GetCursorPos(LPPOINT pPoint) override;
    BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved,
                        HWND hWnd, const RECT* pRect) override;
    BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA pData) override;
    int MessageBoxIndirectA(const MSGBOXPARAMSA* pParams) override;
};

// The implementation in use. It is the Win32 one unless a test has installed
// another; it is safe to call during static initialisation.
CWindowSystem& GetWindowSystem();

// Installs pSystem (NULL restores the Win32 implementation) and answers the
// one that was in use. For tests only.
CWindowSystem* SetWindowSystem(CWindowSystem* pSystem);
