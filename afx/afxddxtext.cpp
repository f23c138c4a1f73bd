#include "afx/afxddxtext.h"

#include <climits>

namespace
{
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}
}

bool AfxParseIntText(LPCSTR pszText, int& nValue)
{
    if (pszText == nullptr)
        return false;
    const char* p = pszText;
    while (IsBlank(*p))
        ++p;
    const char* pFirst = p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = *p++ == '-';
    if (!IsDigit(*p))
        return false;
    // Saturates instead of overflowing: a magnitude past 2^31 stays there.
    const long long nLimit = bNegative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long nMagnitude = 0;
    for (; IsDigit(*p); ++p)
    {
        nMagnitude = nMagnitude * 10 + (*p - '0');
        if (nMagnitude > nLimit)
            nMagnitude = nLimit;
    }
    while (IsBlank(*p))
        ++p;
    if (*p != '\0')
        return false;
    if (nMagnitude == 0 && *pFirst != '0')
        return false;
    nValue = static_cast<int>(bNegative ? -nMagnitude : nMagnitude);
    return true;
}

CString AfxInsertStrings(LPCSTR pszFormat, const LPCSTR* apszArgs, int nArgs)
{
    CString strResult;
    if (pszFormat == nullptr)
        return strResult;
    const char* pRun = pszFormat;  // start of the text not yet copied
    const char* p = pszFormat;
    while (*p != '\0')
    {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9')
        {
            strResult += CString(pRun, static_cast<int>(p - pRun));
            int nIndex = p[1] - '1';
            if (nIndex < nArgs && apszArgs[nIndex] != nullptr)
                strResult += apszArgs[nIndex];
            p += 2;
            pRun = p;
        }
        else if (p[0] == '%' && p[1] == '%')
        {
            p += 2;
        }
        else
        {
            ++p;
        }
    }
    strResult += CString(pRun, static_cast<int>(p - pRun));
    return strResult;
}
