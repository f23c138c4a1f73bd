#include "afx/afxstr.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
// The one empty text that every empty CString shares; its count is never
// changed, so it is never freed.
struct EmptyData
{
    long nRefs;
    int nLength;
    int nCapacity;
    char chNul;
};
EmptyData g_empty = { -1, 0, 0, '\0' };

char* EmptyChars()
{
    return &g_empty.chNul;
}

int Length(LPCSTR psz)
{
    if (psz == nullptr)
        return 0;
    size_t n = strlen(psz);
    if (n > static_cast<size_t>(INT_MAX - 64))
        throw std::bad_alloc();
    return static_cast<int>(n);
}
}

char* CString::Allocate(int nCapacity)
{
    if (nCapacity <= 0)
        return EmptyChars();
    if (nCapacity > INT_MAX - static_cast<int>(sizeof(Data)) - 1)
        throw std::bad_alloc();
    Data* pData = static_cast<Data*>(::operator new(sizeof(Data) + nCapacity + 1));
    pData->nRefs = 1;
    pData->nLength = 0;
    pData->nCapacity = nCapacity;
    pData->Chars()[0] = '\0';
    return pData->Chars();
}

CString::CString() : m_pchData(EmptyChars()) {}

CString::CString(const CString& other) : m_pchData(other.m_pchData)
{
    if (m_pchData != EmptyChars())
        ++GetData()->nRefs;
}

CString::CString(LPCSTR psz) : m_pchData(EmptyChars())
{
    Assign(psz, Length(psz));
}

CString::CString(LPCSTR pch, int nLength) : m_pchData(EmptyChars())
{
    Assign(pch, nLength < 0 ? 0 : nLength);
}

CString::~CString()
{
    Release();
}

void CString::Release()
{
    if (m_pchData != EmptyChars())
    {
        Data* pData = GetData();
        if (--pData->nRefs == 0)
            ::operator delete(pData);
        m_pchData = EmptyChars();
    }
}

CString& CString::operator=(const CString& other)
{
    if (m_pchData != other.m_pchData)
    {
        Release();
        m_pchData = other.m_pchData;
        if (m_pchData != EmptyChars())
            ++GetData()->nRefs;
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz)
{
    Assign(psz, Length(psz));
    return *this;
}

void CString::Assign(LPCSTR pch, int nLength)
{
    // pch may point into this string's own buffer, so copy before releasing.
    char* pNew = Allocate(nLength);
    if (nLength > 0)
    {
        memcpy(pNew, pch, nLength);
        pNew[nLength] = '\0';
        reinterpret_cast<Data*>(pNew)[-1].nLength = nLength;
    }
    Release();
    m_pchData = pNew;
}

void CString::Append(LPCSTR pch, int nLength)
{
    if (nLength <= 0)
        return;
    int nOld = GetLength();
    if (nLength > INT_MAX - 64 - nOld)
        throw std::bad_alloc();
    char* pNew = Allocate(nOld + nLength);
    memcpy(pNew, m_pchData, nOld);
    memcpy(pNew + nOld, pch, nLength);
    pNew[nOld + nLength] = '\0';
    reinterpret_cast<Data*>(pNew)[-1].nLength = nOld + nLength;
    Release();
    m_pchData = pNew;
}

CString& CString::operator+=(const CString& other)
{
    CString keep(other); // other may be *this
    Append(keep.m_pchData, keep.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    CString keep(psz);
    Append(keep.m_pchData, keep.GetLength());
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

int CString::GetLength() const
{
    return GetData()->nLength;
}

BOOL CString::IsEmpty() const
{
    return GetLength() == 0;
}

void CString::Empty()
{
    Release();
}

char CString::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < GetLength()) ? m_pchData[nIndex] : '\0';
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    int nLength = GetLength();
    int nSub = Length(pszSub);
    if (nStart < 0)
        nStart = 0;
    for (int i = nStart; i + nSub <= nLength; ++i)
        if (memcmp(m_pchData + i, pszSub, nSub) == 0)
            return i;
    return -1;
}

int CString::Find(char ch, int nStart) const
{
    char sz[2] = { ch, '\0' };
    return Find(sz, nStart);
}

int CString::ReverseFind(LPCSTR pszSub) const
{
    int nSub = Length(pszSub);
    for (int i = GetLength() - nSub; i >= 0; --i)
        if (memcmp(m_pchData + i, pszSub, nSub) == 0)
            return i;
    return -1;
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    int nLength = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst > nLength)
        nFirst = nLength;
    if (nCount < 0)
        nCount = 0;
    if (nCount > nLength - nFirst)
        nCount = nLength - nFirst;
    if (nFirst == 0 && nCount == nLength)
        return *this;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    int nLength = GetLength();
    return nCount >= nLength ? *this : Mid(nLength - nCount, nCount);
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list again;
    va_copy(again, args);
    int nLength = vsnprintf(nullptr, 0, pszFormat, args);
    va_end(args);
    if (nLength < 0)
    {
        va_end(again);
        Empty();
        return;
    }
    char* pNew = Allocate(nLength);
    if (nLength > 0)
    {
        vsnprintf(pNew, static_cast<size_t>(nLength) + 1, pszFormat, again);
        reinterpret_cast<Data*>(pNew)[-1].nLength = nLength;
    }
    va_end(again);
    Release();
    m_pchData = pNew;
}

void CString::PrepareWrite(int nCapacity)
{
    Data* pData = GetData();
    if (pData->nRefs == 1 && pData->nCapacity >= nCapacity)
        return;
    int nOld = GetLength();
    char* pNew = Allocate(nCapacity > nOld ? nCapacity : nOld);
    if (pNew != EmptyChars())
    {
        memcpy(pNew, m_pchData, nOld + 1);
        reinterpret_cast<Data*>(pNew)[-1].nLength = nOld;
    }
    Release();
    m_pchData = pNew;
}

LPSTR CString::GetBuffer(int nMinLength)
{
    // Always a private buffer, even for zero length, so callers may write the NUL.
    PrepareWrite(nMinLength < 1 ? 1 : nMinLength);
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_pchData == EmptyChars())
        return;
    Data* pData = GetData();
    if (nNewLength < 0 || nNewLength > pData->nCapacity)
    {
        nNewLength = static_cast<int>(strnlen(m_pchData, static_cast<size_t>(pData->nCapacity)));
    }
    m_pchData[nNewLength] = '\0';
    pData->nLength = nNewLength;
}

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() && memcmp(a.m_pchData, b.m_pchData, a.GetLength()) == 0;
}

bool operator==(const CString& a, LPCSTR b)
{
    return strcmp(a.m_pchData, b != nullptr ? b : "") == 0 && a.GetLength() == Length(b);
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}
