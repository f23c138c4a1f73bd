// The parts of CString that need the Windows resources.
#include "afx/afxstr.h"

BOOL CString::LoadString(UINT nID)
{
    // Strings hold at most 4097 bytes in a resource string table.
    char szBuffer[4098];
    int nLength = ::LoadStringA(::GetModuleHandleA(nullptr), nID, szBuffer, sizeof(szBuffer));
    *this = CString(szBuffer, nLength > 0 ? nLength : 0);
    return nLength > 0;
}
