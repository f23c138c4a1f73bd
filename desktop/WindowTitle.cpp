#include "desktop/WindowTitle.h"

#include "desktop/WindowSystem.h"

CString ReadWindowTitle(HWND hWnd)
{
    CWindowSystem& system = GetWindowSystem();
    CString strTitle;
    int nLength = system.GetWindowTextLengthA(hWnd);
    if (nLength <= 0)
        return strTitle;
    LPSTR pszBuffer = strTitle.GetBuffer(nLength);
    pszBuffer[0] = '\0';
    int nCopied = system.GetWindowTextA(hWnd, pszBuffer, nLength + 1);
    // The title may have shortened since its length was asked for.
    strTitle.ReleaseBuffer(nCopied >= 0 && nCopied <= nLength ? nCopied : -1);
    return strTitle;
}
