#include "engine/WindowLookup.h"

#include "desktop/WindowSystem.h"
#include "desktop/WindowTitle.h"
#include "engine/WindowEntry.h"

HWND BringWindowEntryToFront(HWND hWndFrom, const CString& strEntry)
{
    CString strTitle;
    DWORD dwProcessId = 0;
    bool bHasProcess = ParseWindowEntry(strEntry, strTitle, dwProcessId);

    CWindowSystem& system = GetWindowSystem();
    for (HWND hWnd = system.GetWindow(hWndFrom, GW_HWNDFIRST); hWnd != NULL;
         hWnd = system.GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (ReadWindowTitle(hWnd) != strTitle || !bHasProcess)
            continue;
        DWORD dwOwner = 0;
        // A window destroyed since its title was read has no owner (thread 0);
        // it must not match an entry through a process ID of 0.
        if (system.GetWindowThreadProcessId(hWnd, &dwOwner) == 0)
            continue;
        if (dwOwner == dwProcessId)
        {
            system.SetForegroundWindow(hWnd);
            return hWnd;
        }
    }
    return NULL;
}
