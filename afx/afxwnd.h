// CWnd: a C++ object attached to a window.
//
// A window that the framework created or subclassed has AfxWndProc as its
// procedure; AfxWndProc finds the object for the handle and calls its
// virtual WindowProc, which dispatches through the message map and passes
// what no entry handles to the procedure the window had before.
#pragma once

#include "afx/afxmsg.h"
#include "afx/afxstr.h"

#include <utility>
#include <vector>

class CMenu;

class CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // Attaching: the object answers FromHandlePermanent for the handle.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attaches and installs AfxWndProc, keeping the old procedure for Default.
    BOOL SubclassWindow(HWND hWnd);

    // The attached object of a window, or NULL.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The attached object, or a temporary one that holds only the handle and
    // is kept until the process ends; NULL for a NULL handle.
    static CWnd* FromHandle(HWND hWnd);

    // The window's own message handling.
    virtual LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: menu commands (lParam 0) and control notifications.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // What the window's previous procedure does with a message.
    virtual LRESULT DefWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, when the object no longer has a window.
    virtual void PostNcDestroy() {}

    // The message being handled, and sending it again to the previous procedure.
    static const MSG* GetCurrentMessage();
    LRESULT Default();

    // The top-level window above this one, following parents and owners;
    // this object for a top-level window; NULL without a window.
    CWnd* GetTopLevelParent() const;
    CWnd* GetParent() const;
    // The window's system menu, kept by the framework as a temporary object;
    // bRevert TRUE puts back the default system menu and answers NULL.
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // Thin wrappers. Those that the circulation and the tray rely on go
    // through the window-system seam.
    BOOL ShowWindow(int nCmdShow);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC pfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);
    LRESULT SendMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0);

    BOOL IsIconic() const;
    void SetWindowText(LPCSTR pszText);
    void GetWindowText(CString& strText) const;
    CWnd* GetDlgItem(int nID) const;
    // The handle of child control nID. Looked up once and remembered while
    // this object keeps its window: the controls of a dialog live as long as
    // the dialog, and the data exchange asks for them at every tick.
    HWND GetDlgItemHandle(int nID) const;
    void GetClientRect(LPRECT pRect) const;
    BOOL DestroyWindow();

protected:
    // Gives the window back the procedure it had before SubclassWindow, and
    // lets the object go.
    void UnsubclassAndDetach();

    WNDPROC m_pfnSuper;  // the procedure the window had before AfxWndProc
    mutable std::vector<std::pair<int, HWND>> m_controlHandles;  // see GetDlgItemHandle

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtFilterHook(int, WPARAM, LPARAM);

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
};

// The procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

// Until AfxUnhookWindowCreate, the next window created on this thread is
// attached to pWnd and subclassed as it is created, so that it sees even its
// first messages (WM_INITDIALOG among them) through AfxWndProc.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();
