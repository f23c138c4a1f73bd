// A recording fake of the window-system seam.
//
// It keeps an in-memory desktop of fake top-level windows (z-order, titles,
// owning processes) for the walks, records every call that a real desktop
// cannot show (foreground requests, timers, menus, tray records, posted and
// sent messages), and passes calls on real windows through to Win32, so a
// real dialog keeps working while the fake watches it.
#pragma once

#include "desktop/WindowSystem.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class CFakeWindowSystem : public CWin32WindowSystem
{
public:
    struct FakeWindow
    {
        HWND hWnd;
        std::string strTitle;
        DWORD dwProcessId;
    };

    struct NotifyCall
    {
        DWORD dwMessage;       // NIM_ADD, NIM_MODIFY or NIM_DELETE
        NOTIFYICONDATAA data;  // the record as it was passed
    };

    struct MessageCall
    {
        HWND hWnd;
        UINT uMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    struct TimerCall
    {
        bool bSet;  // SetTimer, else KillTimer
        HWND hWnd;
        UINT_PTR nIDEvent;
        UINT uElapse;
    };

    struct MessageBoxCall
    {
        HWND hWndOwner;
        std::string strText;
        std::string strCaption;
        UINT uType;
        DWORD dwContextHelpId;
    };

    struct TrackCall
    {
        HMENU hMenu;
        UINT uFlags;
        int x, y;
        HWND hWnd;
    };

    // Installs itself as the seam on construction and restores the previous
    // implementation on destruction.
    CFakeWindowSystem();
    ~CFakeWindowSystem() override;

    // The fake desktop. Windows are added at the bottom of the z-order. Once
    // any fake window exists, GW_HWNDFIRST/GW_HWNDNEXT walk the fake desktop.
    HWND AddWindow(const std::string& strTitle, DWORD dwProcessId);
    void DestroyFakeWindow(HWND hWnd);
    void SetTitle(HWND hWnd, const std::string& strTitle);
    bool IsFake(HWND hWnd) const;
    // Called after each GetWindow step of a walk, with the window answered;
    // lets a test destroy windows in the middle of a walk.
    std::function<void(HWND)> onWalkStep;

    // What was recorded, in order.
    std::vector<std::string> log;               // every recorded call, readable
    std::vector<HWND> foregroundRequests;       // SetForegroundWindow arguments
    std::vector<HWND> processIdQueries;         // GetWindowThreadProcessId arguments
    std::vector<NotifyCall> notifyCalls;
    std::vector<TimerCall> timerCalls;
    std::vector<MessageCall> postedMessages;
    std::vector<MessageCall> sentCommands;      // SendMessageA with WM_COMMAND
    std::vector<TrackCall> trackCalls;
    std::vector<std::pair<HWND, BOOL>> enableCalls;
    std::vector<std::pair<HWND, int>> showCalls;
    std::vector<HMENU> menusLoaded;
    std::vector<HMENU> menusDestroyed;
    std::vector<LPCSTR> iconsLoaded;            // resource ids asked for
    std::vector<std::pair<HWND, WNDPROC>> windowProcsSet;  // SetWindowProc arguments
    std::vector<MessageBoxCall> messageBoxes;   // every box asked for, in order

    // Answers to give. Shell_NotifyIconA answers from the queue while it has
    // entries, then bNotifyResult. A cursor position for GetCursorPos. When
    // nTrackChoice is not 0, TrackPopupMenu posts WM_COMMAND with it to the
    // owner, as choosing a menu item does. Icon ids listed in missingIcons
    // load as NULL; bMenuMissing makes LoadMenuA answer NULL.
    std::vector<BOOL> notifyResults;
    BOOL bNotifyResult = TRUE;
    POINT ptCursor = { 0, 0 };
    UINT nTrackChoice = 0;
    // Called inside TrackPopupMenu, while the pop-up would be open.
    std::function<void(const TrackCall&)> onTrack;
    std::vector<UINT> missingIcons;
    bool bMenuMissing = false;
    // GetSubMenu answers NULL, as for a menu without pop-ups.
    bool bSubMenuMissing = false;
    // SetForegroundWindow on real windows is only recorded unless this is set.
    bool bPassForegroundThrough = false;
    // No real message box opens. onMessageBox, when set, runs in its place,
    // as the box's modal loop would (a test may send the dialog timer
    // messages from it), and answers the button; without it the box answers
    // IDOK at once.
    std::function<int(const MessageBoxCall&)> onMessageBox;

    void ClearRecords();

    HWND GetWindow(HWND hWnd, UINT uCmd) override;
    int GetWindowTextLengthA(HWND hWnd) override;
    int GetWindowTextA(HWND hWnd, LPSTR pszText, int nMaxCount) override;
    DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD pdwProcessId) override;
    BOOL SetForegroundWindow(HWND hWnd) override;
    BOOL EnableWindow(HWND hWnd, BOOL bEnable) override;
    BOOL ShowWindow(HWND hWnd, int nCmdShow) override;
    LRESULT SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    BOOL PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimer) override;
    BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent) override;
    WNDPROC SetWindowProc(HWND hWnd, WNDPROC pfnNew) override;
    HICON LoadIconA(HINSTANCE hInstance, LPCSTR pszName) override;
    HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR pszName) override;
    BOOL DestroyMenu(HMENU hMenu) override;
    HMENU GetSubMenu(HMENU hMenu, int nPos) override;
    BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos) override;
    BOOL GetCursorPos(LPPOINT pPoint) override;
    BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved,
                        HWND hWnd, const RECT* pRect) override;
    BOOL Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA pData) override;
    int MessageBoxIndirectA(const MSGBOXPARAMSA* pParams) override;

private:
    std::vector<FakeWindow>::iterator Find(HWND hWnd);
    std::vector<FakeWindow>::const_iterator Find(HWND hWnd) const;
    void Record(const std::string& strEntry);

    std::vector<FakeWindow> m_windows;  // z-order, top first
    UINT_PTR m_nextHandle = 0x7F000010;
    CWindowSystem* m_pPrevious;
};

// Text of a handle or number for log lines: "0x1A2B".
std::string Hex(UINT_PTR nValue);
