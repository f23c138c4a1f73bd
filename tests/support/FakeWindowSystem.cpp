#include "tests/support/FakeWindowSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string Hex(UINT_PTR nValue)
{
    char sz[32];
    snprintf(sz, sizeof(sz), "0x%llX", static_cast<unsigned long long>(nValue));
    return sz;
}

namespace
{
std::string Hex(HWND hWnd)
{
    return ::Hex(reinterpret_cast<UINT_PTR>(hWnd));
}

std::string Hex(HMENU hMenu)
{
    return ::Hex(reinterpret_cast<UINT_PTR>(hMenu));
}
}

CFakeWindowSystem::CFakeWindowSystem()
{
    m_pPrevious = SetWindowSystem(this);
}

CFakeWindowSystem::~CFakeWindowSystem()
{
    SetWindowSystem(m_pPrevious == this ? nullptr : m_pPrevious);
}

HWND CFakeWindowSystem::AddWindow(const std::string& strTitle, DWORD dwProcessId)
{
    // Fake handles are even numbers far above the ones Windows hands out, so
    // they never name a real window.
    HWND hWnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 2;
    m_windows.push_back(FakeWindow{ hWnd, strTitle, dwProcessId });
    return hWnd;
}

void CFakeWindowSystem::DestroyFakeWindow(HWND hWnd)
{
    auto it = Find(hWnd);
    if (it != m_windows.end())
        m_windows.erase(it);
}

void CFakeWindowSystem::SetTitle(HWND hWnd, const std::string& strTitle)
{
    auto it = Find(hWnd);
    if (it != m_windows.end())
        it->strTitle = strTitle;
}

bool CFakeWindowSystem::IsFake(HWND hWnd) const
{
    UINT_PTR n = reinterpret_cast<UINT_PTR>(hWnd);
    return n >= 0x7F000010 && n < m_nextHandle && n % 2 == 0;
}

std::vector<CFakeWindowSystem::FakeWindow>::iterator CFakeWindowSystem::Find(HWND hWnd)
{
    return std::find_if(m_windows.begin(), m_windows.end(),
                        [hWnd](const FakeWindow& w) { return w.hWnd == hWnd; });
}

std::vector<CFakeWindowSystem::FakeWindow>::const_iterator CFakeWindowSystem::Find(HWND hWnd) const
{
    return std::find_if(m_windows.begin(), m_windows.end(),
                        [hWnd](const FakeWindow& w) { return w.hWnd == hWnd; });
}

void CFakeWindowSystem::Record(const std::string& strEntry)
{
    log.push_back(strEntry);
}

void CFakeWindowSystem::ClearRecords()
{
    log.clear();
    foregroundRequests.clear();
    processIdQueries.clear();
    notifyCalls.clear();
    timerCalls.clear();
    postedMessages.clear();
    sentCommands.clear();
    trackCalls.clear();
    enableCalls.clear();
    showCalls.clear();
    menusLoaded.clear();
    menusDestroyed.clear();
    iconsLoaded.clear();
    windowProcsSet.clear();
    messageBoxes.clear();
}

HWND CFakeWindowSystem::GetWindow(HWND hWnd, UINT uCmd)
{
    bool bWalk = uCmd == GW_HWNDFIRST || uCmd == GW_HWNDNEXT;
    if (!bWalk || (m_windows.empty() && !IsFake(hWnd)))
        return CWin32WindowSystem::GetWindow(hWnd, uCmd);

    HWND hResult = NULL;
    if (uCmd == GW_HWNDFIRST)
    {
        hResult = m_windows.empty() ? NULL : m_windows.front().hWnd;
    }
    else
    {
        // A destroyed window has no next window, as on a real desktop.
        auto it = Find(hWnd);
        if (it != m_windows.end() && it + 1 != m_windows.end())
            hResult = (it + 1)->hWnd;
    }
    if (onWalkStep)
        onWalkStep(hResult);
    return hResult;
}

int CFakeWindowSystem::GetWindowTextLengthA(HWND hWnd)
{
    if (!IsFake(hWnd))
        return CWin32WindowSystem::GetWindowTextLengthA(hWnd);
    auto it = Find(hWnd);
    return it == m_windows.end() ? 0 : static_cast<int>(it->strTitle.size());
}

int CFakeWindowSystem::GetWindowTextA(HWND hWnd, LPSTR pszText, int nMaxCount)
{
    if (!IsFake(hWnd))
        return CWin32WindowSystem::GetWindowTextA(hWnd, pszText, nMaxCount);
    auto it = Find(hWnd);
    if (nMaxCount <= 0)
        return 0;
    if (it == m_windows.end())
    {
        pszText[0] = '\0';
        return 0;
    }
    int nCopy = std::min(static_cast<int>(it->strTitle.size()), nMaxCount - 1);
    memcpy(pszText, it->strTitle.data(), nCopy);
    pszText[nCopy] = '\0';
    return nCopy;
}

DWORD CFakeWindowSystem::GetWindowThreadProcessId(HWND hWnd, LPDWORD pdwProcessId)
{
    if (!IsFake(hWnd))
        return CWin32WindowSystem::GetWindowThreadProcessId(hWnd, pdwProcessId);
    processIdQueries.push_back(hWnd);
    Record("GetWindowThreadProcessId(" + Hex(hWnd) + ")");
    auto it = Find(hWnd);
    if (it == m_windows.end())
        return 0;
    if (pdwProcessId != nullptr)
        *pdwProcessId = it->dwProcessId;
    return 1;  // any thread id but 0
}

BOOL CFakeWindowSystem::SetForegroundWindow(HWND hWnd)
{
    foregroundRequests.push_back(hWnd);
    Record("SetForegroundWindow(" + Hex(hWnd) + ")");
    if (IsFake(hWnd))
        return Find(hWnd) != m_windows.end();
    return bPassForegroundThrough ? CWin32WindowSystem::SetForegroundWindow(hWnd) : TRUE;
}

BOOL CFakeWindowSystem::EnableWindow(HWND hWnd, BOOL bEnable)
{
    enableCalls.emplace_back(hWnd, bEnable);
    Record("EnableWindow(" + Hex(hWnd) + ", " + std::to_string(bEnable) + ")");
    return IsFake(hWnd) ? FALSE : CWin32WindowSystem::EnableWindow(hWnd, bEnable);
}

BOOL CFakeWindowSystem::ShowWindow(HWND hWnd, int nCmdShow)
{
    showCalls.emplace_back(hWnd, nCmdShow);
    Record("ShowWindow(" + Hex(hWnd) + ", " + std::to_string(nCmdShow) + ")");
    return IsFake(hWnd) ? FALSE : CWin32WindowSystem::ShowWindow(hWnd, nCmdShow);
}

LRESULT CFakeWindowSystem::SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COMMAND)
    {
        sentCommands.push_back(MessageCall{ hWnd, uMsg, wParam, lParam });
        Record("SendMessage(" + Hex(hWnd) + ", WM_COMMAND, " + std::to_string(wParam) + ", " +
               std::to_string(lParam) + ")");
    }
    return IsFake(hWnd) ? 0 : CWin32WindowSystem::SendMessageA(hWnd, uMsg, wParam, lParam);
}

BOOL CFakeWindowSystem::PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    postedMessages.push_back(MessageCall{ hWnd, uMsg, wParam, lParam });
    Record("PostMessage(" + Hex(hWnd) + ", " + Hex(uMsg) + ", " + std::to_string(wParam) + ", " +
           std::to_string(lParam) + ")");
    return IsFake(hWnd) ? FALSE : CWin32WindowSystem::PostMessageA(hWnd, uMsg, wParam, lParam);
}

UINT_PTR CFakeWindowSystem::SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimer)
{
    timerCalls.push_back(TimerCall{ true, hWnd, nIDEvent, uElapse });
    Record("SetTimer(" + Hex(hWnd) + ", " + std::to_string(nIDEvent) + ", " + std::to_string(uElapse) + ")");
    // No real timer: tests drive ticks with WM_TIMER themselves.
    (void)pfnTimer;
    return nIDEvent;
}

BOOL CFakeWindowSystem::KillTimer(HWND hWnd, UINT_PTR nIDEvent)
{
    timerCalls.push_back(TimerCall{ false, hWnd, nIDEvent, 0 });
    Record("KillTimer(" + Hex(hWnd) + ", " + std::to_string(nIDEvent) + ")");
    return CWin32WindowSystem::KillTimer(hWnd, nIDEvent);
}

WNDPROC CFakeWindowSystem::SetWindowProc(HWND hWnd, WNDPROC pfnNew)
{
    windowProcsSet.emplace_back(hWnd, pfnNew);
    Record("SetWindowProc(" + Hex(hWnd) + ")");
    return CWin32WindowSystem::SetWindowProc(hWnd, pfnNew);
}

HICON CFakeWindowSystem::LoadIconA(HINSTANCE hInstance, LPCSTR pszName)
{
    iconsLoaded.push_back(pszName);
    UINT nId = static_cast<UINT>(reinterpret_cast<UINT_PTR>(pszName));
    Record("LoadIcon(" + std::to_string(nId) + ")");
    if (std::find(missingIcons.begin(), missingIcons.end(), nId) != missingIcons.end())
        return NULL;
    return CWin32WindowSystem::LoadIconA(hInstance, pszName);
}

HMENU CFakeWindowSystem::LoadMenuA(HINSTANCE hInstance, LPCSTR pszName)
{
    HMENU hMenu = bMenuMissing ? NULL : CWin32WindowSystem::LoadMenuA(hInstance, pszName);
    if (hMenu != NULL)
        menusLoaded.push_back(hMenu);
    Record("LoadMenu(" + std::to_string(reinterpret_cast<UINT_PTR>(pszName)) + ")");
    return hMenu;
}

BOOL CFakeWindowSystem::DestroyMenu(HMENU hMenu)
{
    menusDestroyed.push_back(hMenu);
    Record("DestroyMenu(" + Hex(hMenu) + ")");
    return CWin32WindowSystem::DestroyMenu(hMenu);
}

HMENU CFakeWindowSystem::GetSubMenu(HMENU hMenu, int nPos)
{
    return bSubMenuMissing ? NULL : CWin32WindowSystem::GetSubMenu(hMenu, nPos);
}

BOOL CFakeWindowSystem::SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos)
{
    Record("SetMenuDefaultItem(" + Hex(hMenu) + ", " + std::to_string(uItem) + ", " + std::to_string(fByPos) + ")");
    return CWin32WindowSystem::SetMenuDefaultItem(hMenu, uItem, fByPos);
}

BOOL CFakeWindowSystem::GetCursorPos(LPPOINT pPoint)
{
    Record("GetCursorPos");
    *pPoint = ptCursor;
    return TRUE;
}

BOOL CFakeWindowSystem::TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved,
                                       HWND hWnd, const RECT* pRect)
{
    (void)nReserved;
    (void)pRect;
    trackCalls.push_back(TrackCall{ hMenu, uFlags, x, y, hWnd });
    Record("TrackPopupMenu(" + Hex(hMenu) + ", " + std::to_string(uFlags) + ", " + std::to_string(x) + ", " +
           std::to_string(y) + ", " + Hex(hWnd) + ")");
    if (onTrack)
        onTrack(trackCalls.back());
    // No real menu opens; a chosen item reaches the owner the way a menu
    // delivers it, as a posted WM_COMMAND.
    if (nTrackChoice != 0)
        ::PostMessageA(hWnd, WM_COMMAND, nTrackChoice, 0);
    return TRUE;
}

BOOL CFakeWindowSystem::Shell_NotifyIconA(DWORD dwMessage, PNOTIFYICONDATAA pData)
{
    NotifyCall call;
    call.dwMessage = dwMessage;
    memset(&call.data, 0, sizeof(call.data));
    memcpy(&call.data, pData, std::min<size_t>(pData->cbSize, sizeof(call.data)));
    notifyCalls.push_back(call);
    Record("Shell_NotifyIcon(" + std::to_string(dwMessage) + ")");
    if (!notifyResults.empty())
    {
        BOOL bResult = notifyResults.front();
        notifyResults.erase(notifyResults.begin());
        return bResult;
    }
    return bNotifyResult;
}

int CFakeWindowSystem::MessageBoxIndirectA(const MSGBOXPARAMSA* pParams)
{
    MessageBoxCall call{ pParams->hwndOwner, pParams->lpszText != nullptr ? pParams->lpszText : "",
                         pParams->lpszCaption != nullptr ? pParams->lpszCaption : "",
                         pParams->dwStyle, static_cast<DWORD>(pParams->dwContextHelpId) };
    messageBoxes.push_back(call);
    Record("MessageBox(" + Hex(call.hWndOwner) + ", \"" + call.strText + "\")");
    return onMessageBox ? onMessageBox(call) : IDOK;
}
