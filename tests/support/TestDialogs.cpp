#include "tests/support/TestDialogs.h"

namespace
{
const std::function<void()>* g_pBody = nullptr;
CDialog* g_pDialog = nullptr;
UINT_PTR g_nBodyTimer = 0;
UINT_PTR g_nWatchdogTimer = 0;

void CALLBACK RunBody(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    KillTimer(nullptr, nIDEvent);
    if (g_pBody != nullptr)
    {
        const std::function<void()>* pBody = g_pBody;
        g_pBody = nullptr;
        (*pBody)();
    }
}

struct DialogSearch
{
    HWND hWndExcept;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    DialogSearch* pSearch = reinterpret_cast<DialogSearch*>(lParam);
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (hWnd != pSearch->hWndExcept && lstrcmpA(szClass, "#32770") == 0 && IsWindowVisible(hWnd))
        pSearch->found.push_back(hWnd);
    return TRUE;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    KillTimer(nullptr, nIDEvent);
    if (g_pDialog != nullptr)
        g_pDialog->EndDialog(-2);
}
}

INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body, DWORD dwWatchdog)
{
    g_pBody = &body;
    g_pDialog = &dlg;
    g_nBodyTimer = SetTimer(nullptr, 0, 1, RunBody);
    g_nWatchdogTimer = SetTimer(nullptr, 0, dwWatchdog, Watchdog);
    INT_PTR nResult = dlg.DoModal();
    KillTimer(nullptr, g_nBodyTimer);
    KillTimer(nullptr, g_nWatchdogTimer);
    g_pBody = nullptr;
    g_pDialog = nullptr;
    return nResult;
}

RECT DialogUnitsToPixels(HWND hWndDlg, int x, int y, int cx, int cy)
{
    // Position and size are mapped each on its own, as the window system
    // does when it creates a dialog's controls.
    RECT rc = { x, y, cx, cy };
    MapDialogRect(hWndDlg, &rc);
    return RECT{ rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom };
}

std::vector<HWND> FindThreadDialogs(HWND hWndExcept)
{
    DialogSearch search = { hWndExcept, {} };
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
