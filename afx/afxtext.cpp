#include "afx/afxtext.h"

#include "afx/afxapp.h"

int AfxCopyString(LPSTR pszDest, UINT nMax, LPCSTR pszSource)
{
    if (nMax == 0)
        return 0;
    if (pszSource == nullptr)
        pszSource = "";
    UINT nLength = 0;
    while (pszSource[nLength] != '\0')
    {
        // A lead byte and its trail byte go together or not at all.
        UINT nChar = ::IsDBCSLeadByte(static_cast<BYTE>(pszSource[nLength])) &&
                             pszSource[nLength + 1] != '\0' ? 2 : 1;
        if (nLength + nChar > nMax - 1)
            break;
        nLength += nChar;
    }
    memcpy(pszDest, pszSource, nLength);
    pszDest[nLength] = '\0';
    return static_cast<int>(nLength);
}

int AfxLoadString(UINT nID, LPSTR pszBuf, UINT nMax)
{
    // Loads the whole string first: LoadStringA itself may cut a double-byte
    // character in two. A string table entry holds at most 4097 bytes.
    char szWhole[4098];
    int nLoaded = ::LoadStringA(AfxGetResourceHandle(), nID, szWhole, sizeof(szWhole));
    szWhole[nLoaded > 0 ? nLoaded : 0] = '\0';
    return AfxCopyString(pszBuf, nMax, szWhole);
}
