#include "engine/WindowEntry.h"

const char NO_WINDOW_LINE[] = " <No window selected>";

namespace
{
const char PID_OPEN[] = " <(PID=";
const char PID_CLOSE[] = ")>";
const int PID_OPEN_LENGTH = sizeof(PID_OPEN) - 1;
const int PID_CLOSE_LENGTH = sizeof(PID_CLOSE) - 1;

// The number between the markers, as "%d" wrote it: an optional minus and one
// or more digits that fit 32 bits. Anything else is no process ID.
bool ParseProcessId(const CString& strDigits, DWORD& dwProcessId)
{
    int nLength = strDigits.GetLength();
    int nPos = 0;
    bool bNegative = false;
    if (nPos < nLength && strDigits.GetAt(nPos) == '-')
    {
        bNegative = true;
        ++nPos;
    }
    if (nPos == nLength)
        return false;
    long long nValue = 0;
    for (; nPos < nLength; ++nPos)
    {
        char ch = strDigits.GetAt(nPos);
        if (ch < '0' || ch > '9')
            return false;
        nValue = nValue * 10 + (ch - '0');
        if (nValue > 0x80000000LL)
            return false;
    }
    if (bNegative)
        nValue = -nValue;
    if (nValue > 0x7FFFFFFFLL)
        return false;
    // %d wrote the ID as a signed number; give back the same 32 bits.
    dwProcessId = static_cast<DWORD>(static_cast<int>(nValue));
    return true;
}
}

CString FormatWindowEntry(LPCSTR pszTitle, DWORD dwProcessId)
{
    CString strEntry;
    strEntry.Format("%s <(PID=%d)>", pszTitle != nullptr ? pszTitle : "", static_cast<int>(dwProcessId));
    return strEntry;
}

bool ParseWindowEntry(const CString& strEntry, CString& strTitle, DWORD& dwProcessId)
{
    int nLength = strEntry.GetLength();
    dwProcessId = 0;
    if (nLength >= PID_OPEN_LENGTH + PID_CLOSE_LENGTH + 1 && strEntry.Right(PID_CLOSE_LENGTH) == PID_CLOSE)
    {
        int nOpen = strEntry.Left(nLength - PID_CLOSE_LENGTH).ReverseFind(PID_OPEN);
        if (nOpen >= 0)
        {
            int nDigitsFirst = nOpen + PID_OPEN_LENGTH;
            CString strDigits = strEntry.Mid(nDigitsFirst, nLength - PID_CLOSE_LENGTH - nDigitsFirst);
            if (ParseProcessId(strDigits, dwProcessId))
            {
                strTitle = strEntry.Left(nOpen);
                return true;
            }
        }
    }
    strTitle = strEntry;
    dwProcessId = 0;
    return false;
}
