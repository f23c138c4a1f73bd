#include "afx/afxwnd.h"

#include "afx/afxapp.h"
#include "afx/afxmenu.h"
#include "afx/afxstate.h"
#include "desktop/WindowSystem.h"
#include "desktop/WindowTitle.h"

#include <map>
#include <memory>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace
{
// Window handle to attached object. The program has one user-interface
// thread, and only it creates windows.
std::map<HWND, CWnd*>& PermanentMap()
{
    static std::map<HWND, CWnd*> s_map;
    return s_map;
}

// Objects made by FromHandle for windows the framework does not own. They
// hold nothing but the handle and are kept until the process ends; the
// program asks for at most a few of them.
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryMap()
{
    static std::map<HWND, std::unique_ptr<CWnd>> s_map;
    return s_map;
}

thread_local HHOOK t_hCbtHook = nullptr;

// The system may create the thread's input-method window while it creates
// the first window of the thread; that window is not the one being hooked.
bool IsImeWindow(HWND hWnd)
{
    char szClass[8];
    return ::GetClassNameA(hWnd, szClass, sizeof(szClass)) > 0 && ::lstrcmpiA(szClass, "IME") == 0;
}
}

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::~CWnd()
{
    // A window outliving its object must not reach a dangling pointer.
    if (m_hWnd != nullptr)
        UnsubclassAndDetach();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
    {
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    m_controlHandles.clear();
    return hWnd;
}

void CWnd::UnsubclassAndDetach()
{
    // Only while AfxWndProc is still the window's procedure: a hook put on
    // later keeps its own chain.
    if (m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    Detach();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (pfnOld != AfxWndProc)
        m_pfnSuper = pfnOld;
    return TRUE;
}


CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = PermanentMap().find(hWnd);
    return it != PermanentMap().end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<CWnd>& pTemporary = TemporaryMap()[hWnd];
    if (!pTemporary)
    {
        pTemporary.reset(new CWnd);
        pTemporary->m_hWnd = hWnd;
    }
    return pTemporary.get();
}

const MSG* CWnd::GetCurrentMessage()
{
    return &AfxGetThreadState()->m_lastSentMsg;
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMessage, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, nMessage, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(nMessage, wParam, lParam, &lResult))
        lResult = DefWindowProc(nMessage, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (nMessage == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nMessage);
    if (pEntry == nullptr)
        return FALSE;
    *pResult = pEntry->pfnThunk(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    // lParam 0: a menu or accelerator command, whose code is 0 as well.
    int nCode = lParam == 0 ? 0 : HIWORD(wParam);
    return OnCmdMsg(nID, nCode);
}

CWnd* CWnd::GetParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndTop = m_hWnd;
    for (;;)
    {
        // Children go up to their parent, pop-ups to their owner.
        HWND hWndUp = (::GetWindowLongPtrA(hWndTop, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWndTop)
                                                                          : ::GetWindow(hWndTop, GW_OWNER);
        if (hWndUp == nullptr)
            break;
        hWndTop = hWndUp;
    }
    return hWndTop == m_hWnd ? const_cast<CWnd*>(this) : FromHandle(hWndTop);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(GetWindowSystem().GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return GetWindowSystem().ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return GetWindowSystem().EnableWindow(m_hWnd, bEnable);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC pfnTimer)
{
    return GetWindowSystem().SetTimer(m_hWnd, nIDEvent, nElapse, pfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return GetWindowSystem().KillTimer(m_hWnd, nIDEvent);
}

LRESULT CWnd::SendMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return GetWindowSystem().SendMessageA(m_hWnd, nMessage, wParam, lParam);
}





BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::SetWindowText(LPCSTR pszText)
{
    ::SetWindowTextA(m_hWnd, pszText);
}


void CWnd::GetWindowText(CString& strText) const
{
    strText = ReadWindowTitle(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(GetDlgItemHandle(nID));
}

HWND CWnd::GetDlgItemHandle(int nID) const
{
    for (auto& control : m_controlHandles)
    {
        if (control.first == nID)
        {
            if (!::IsWindow(control.second))
                control.second = ::GetDlgItem(m_hWnd, nID);
            return control.second;
        }
    }
    HWND hWndControl = ::GetDlgItem(m_hWnd, nID);
    if (hWndControl != nullptr)
        m_controlHandles.emplace_back(nID, hWndControl);
    return hWndControl;
}

void CWnd::GetClientRect(LPRECT pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
}



BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);

    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG saved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMessage;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = pWnd->WindowProc(nMessage, wParam, lParam);

    if (nMessage == WM_NCDESTROY)
    {
        // The window is gone: give it back its old procedure and let the
        // object go, so that no later message reaches it.
        pWnd->UnsubclassAndDetach();
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == pWnd)
            pApp->m_pMainWnd = nullptr;
        pWnd->PostNcDestroy();
    }
    pState->m_lastSentMsg = saved;
    return lResult;
}

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit != nullptr && !IsImeWindow(reinterpret_cast<HWND>(wParam)))
    {
        CWnd* pWnd = pState->m_pWndInit;
        pState->m_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hCbtHook, nCode, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    if (t_hCbtHook == nullptr)
        t_hCbtHook = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    AfxGetThreadState()->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (t_hCbtHook != nullptr)
    {
        ::UnhookWindowsHookEx(t_hCbtHook);
        t_hCbtHook = nullptr;
    }
    BOOL bHooked = pState->m_pWndInit == nullptr;
    pState->m_pWndInit = nullptr;
    return bHooked;
}
