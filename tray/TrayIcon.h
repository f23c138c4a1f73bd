// CTrayIcon: one icon with a tip in the shell's notification area.
//
// One resource id ties together the icon, its tip (a string of the string
// table) and its pop-up menu. The shell reports the icon's mouse events to
// the notify window as its callback message; a hook on that window passes
// them to OnIconNotify, which opens the menu's first pop-up on a right click
// and sends its first command on a double-click. When the taskbar is created
// anew (the shell restarted), the icon is added again.
//
// Calling order: construct, SetNotifyWindow once the window exists, then
// SetTrayIcon as often as needed; destruction removes the icon.
#pragma once

#include "afx/afxmsg.h"
#include "tray/SubclassWnd.h"

#include <shellapi.h>

class CTrayIcon;
class CWnd;

// The number of the message "TaskbarCreated" that the shell broadcasts to
// top-level windows when its taskbar is created; registered during static
// initialisation.
extern const UINT g_nTaskbarCreatedMsg;

// The hooks of a CTrayIcon: they hand its messages to their owner and pass
// every message on.
class CTrayHook : public CSubclassWnd
{
public:
    CTrayHook() : m_pOwner(nullptr) {}

    CTrayIcon* m_pOwner;  // the tray icon that contains the hook; not owned

protected:
    LRESULT HookedWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override;
};

class CTrayIcon : public CCmdTarget
{
    DECLARE_DYNAMIC(CTrayIcon)

public:
    // No icon is shown until the first SetTrayIcon; the tip is string nID.
    explicit CTrayIcon(UINT nID);
    // Removes the icon if it is shown, then takes the hooks off.
    ~CTrayIcon() override;

    // The window that gets the icon's notifications as message nMessage; it
    // is hooked, and so is its top-level window when that is another one.
    // Reaches the shell with the next SetTrayIcon.
    void SetNotifyWindow(CWnd* pWnd, UINT nMessage);

    // Shows icon nID with tip nID, or removes the icon for 0 or a missing icon.
    BOOL SetTrayIcon(UINT nID);
    // Adds or changes the icon to hIcon, or removes it for NULL; pszTip NULL
    // keeps the stored tip. The answer is the shell's.
    BOOL SetTrayIcon(HICON hIcon, LPCSTR pszTip);

    // The callback message, from the notify window's hook: the right button
    // coming up opens the menu, a left double-click sends its first command.
    // 1 when handled.
    virtual LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);
    // "TaskbarCreated": adds the shown icon again, or changes it when the
    // shell refuses the add because it still holds the icon. Always 0.
    virtual LRESULT OnTaskbarRestart(WPARAM wParam, LPARAM lParam);

protected:
    // The record of every shell call. hIcon is set exactly while the last add
    // or change succeeded.
    NOTIFYICONDATAA m_iconData;
    CTrayHook m_notifyHook;    // on the notify window
    CTrayHook m_topLevelHook;  // on its top-level window, when that is another one

    friend class CTrayHook;
};
