#include "tray/SubclassWnd.h"

#include "afx/afxstate.h"
#include "desktop/WindowSystem.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

CSubclassWnd::CSubclassWnd() : m_hWndHooked(nullptr), m_pfnPrevWndProc(nullptr), m_pNextHook(nullptr) {}

CSubclassWnd::~CSubclassWnd()
{
    if (m_hWndHooked != nullptr)
        HookTo(nullptr);
}

BOOL CSubclassWnd::HookTo(HWND hWnd)
{
    if (m_hWndHooked != nullptr)
    {
        GetSubclassWndMap().RemoveHook(this);
        m_pfnPrevWndProc = nullptr;
        m_pNextHook = nullptr;
        m_hWndHooked = nullptr;
    }
    if (hWnd != nullptr)
    {
        // Set only after the registry took the hook: should the registry run
        // out of memory, the hook stays off and the window untouched.
        GetSubclassWndMap().AddHook(hWnd, this);
        m_hWndHooked = hWnd;
    }
    return TRUE;
}

LRESULT CSubclassWnd::HookedWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (m_pNextHook != nullptr)
        return m_pNextHook->HookedWindowProc(nMessage, wParam, lParam);
    return GetWindowSystem().CallWindowProcA(m_pfnPrevWndProc, m_hWndHooked, nMessage, wParam, lParam);
}

CSubclassWndMap& GetSubclassWndMap()
{
    static CSubclassWndMap s_map;
    return s_map;
}

CSubclassWnd* CSubclassWndMap::FindHook(HWND hWnd) const
{
    void* pHook = nullptr;
    return Lookup(hWnd, pHook) ? static_cast<CSubclassWnd*>(pHook) : nullptr;
}

void CSubclassWndMap::AddHook(HWND hWnd, CSubclassWnd* pHook)
{
    CSubclassWnd* pNext = FindHook(hWnd);
    SetAt(hWnd, pHook);
    pHook->m_pNextHook = pNext;
    if (pNext == nullptr)
        pHook->m_pfnPrevWndProc = GetWindowSystem().SetWindowProc(hWnd, SubclassWndProc);
    else
        pHook->m_pfnPrevWndProc = pNext->m_pfnPrevWndProc;
}

void CSubclassWndMap::RemoveHook(CSubclassWnd* pHook)
{
    HWND hWnd = pHook->m_hWndHooked;
    CSubclassWnd* pHead = FindHook(hWnd);
    if (pHead == pHook)
    {
        if (pHook->m_pNextHook != nullptr)
        {
            SetAt(hWnd, pHook->m_pNextHook);
        }
        else
        {
            RemoveKey(hWnd);
            GetWindowSystem().SetWindowProc(hWnd, pHook->m_pfnPrevWndProc);
        }
        return;
    }
    for (CSubclassWnd* pHookBefore = pHead; pHookBefore != nullptr; pHookBefore = pHookBefore->m_pNextHook)
    {
        if (pHookBefore->m_pNextHook == pHook)
        {
            pHookBefore->m_pNextHook = pHook->m_pNextHook;
            return;
        }
    }
}

void CSubclassWndMap::RemoveAllHooks(HWND hWnd)
{
    while (CSubclassWnd* pHook = FindHook(hWnd))
        pHook->HookTo(nullptr);
}

LRESULT CALLBACK SubclassWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    // The hooks see this message as the current one; the caller's record
    // comes back afterwards, so that nested sends are safe.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    const MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMessage;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    CSubclassWndMap& map = GetSubclassWndMap();
    CSubclassWnd* pHook = map.FindHook(hWnd);
    LRESULT lResult;
    if (pHook == nullptr)
    {
        // Only a procedure installed over ours after the first hook, and left
        // calling ours after the last hook came off, gets here. The window's
        // own procedure is not known any more.
        lResult = ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
    }
    else if (nMessage == WM_NCDESTROY)
    {
        // The window is going: every hook comes off, and the window has its
        // own procedure back, before that procedure sees the last message.
        WNDPROC pfnPrevWndProc = pHook->m_pfnPrevWndProc;
        map.RemoveAllHooks(hWnd);
        lResult = GetWindowSystem().CallWindowProcA(pfnPrevWndProc, hWnd, nMessage, wParam, lParam);
    }
    else
    {
        lResult = pHook->HookedWindowProc(nMessage, wParam, lParam);
    }

    pState->m_lastSentMsg = saved;
    return lResult;
}
