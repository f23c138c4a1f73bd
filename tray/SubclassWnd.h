// Window-procedure hooks: objects that see another window's messages.
//
// A CSubclassWnd put on a window with HookTo sees every message of that
// window before the window's own procedure does, in HookedWindowProc, and
// passes it on by calling the base version. Several hooks may be on one
// window: they form a chain, newest first, and the window's own procedure
// gets the message last. The first hook on a window installs SubclassWndProc
// as its procedure, and the last one to come off puts the old one back. A
// window's destruction takes every hook off it before its own procedure sees
// WM_NCDESTROY.
//
// The hooks belong to their users; the process-wide registry only points at
// them. Everything runs on the thread that owns the hooked windows.
#pragma once

#include "afx/afxcoll.h"

class CSubclassWndMap;

class CSubclassWnd : public CObject
{
    DECLARE_DYNAMIC(CSubclassWnd)

public:
    CSubclassWnd();
    // Takes the hook off its window if it is on.
    ~CSubclassWnd() override;

    // Puts the hook on hWnd, as the newest of the window's hooks, or takes it
    // off for NULL. A hook that is on another window (or the same one) is
    // taken off first. Always TRUE.
    BOOL HookTo(HWND hWnd);
    BOOL IsHooked() const { return m_hWndHooked != nullptr; }

    // Called for each message of the hooked window. An override handles what
    // it wants and calls this base version to pass the message on to the next
    // older hook, or to the window's own procedure after the oldest. Its
    // result is the result of the message.
    virtual LRESULT HookedWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);

protected:
    HWND m_hWndHooked;           // the window the hook is on; NULL while off
    WNDPROC m_pfnPrevWndProc;    // the window's procedure before its first hook
    CSubclassWnd* m_pNextHook;   // the next older hook on the window; not owned

    friend class CSubclassWndMap;
    friend LRESULT CALLBACK SubclassWndProc(HWND, UINT, WPARAM, LPARAM);

    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;
};

// Window handle to the newest hook on that window.
class CSubclassWndMap : public CMapPtrToPtr
{
public:
    // Puts pHook at the head of hWnd's chain, installing SubclassWndProc when
    // it is the window's first hook.
    void AddHook(HWND hWnd, CSubclassWnd* pHook);
    // Takes pHook out of the chain of its window; the last hook to go puts the
    // saved procedure back.
    void RemoveHook(CSubclassWnd* pHook);
    // Takes every hook off hWnd, newest first.
    void RemoveAllHooks(HWND hWnd);
    // The newest hook on hWnd, or NULL.
    CSubclassWnd* FindHook(HWND hWnd) const;
};

// The registry of the process, built at the first call.
CSubclassWndMap& GetSubclassWndMap();

// The procedure of every hooked window.
LRESULT CALLBACK SubclassWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
