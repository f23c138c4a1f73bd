// CString: the framework's reference-counted 8-bit string.
//
// Texts are bytes in the system's ANSI code page; positions and lengths count
// bytes. Copies share one buffer until one of them is changed. The program
// has one user-interface thread, so the count is not interlocked.
#pragma once

#include "afx/afxbase.h"

class CString
{
public:
    CString();
    CString(const CString& other);
    CString(LPCSTR psz);
    CString(LPCSTR pch, int nLength);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(LPCSTR psz);
    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    int GetLength() const;
    BOOL IsEmpty() const;
    void Empty();
    operator LPCSTR() const { return m_pchData; }
    char GetAt(int nIndex) const;

    // Position of the first (Find) or last (ReverseFind) occurrence, -1 if none.
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int Find(char ch, int nStart = 0) const;
    int ReverseFind(LPCSTR pszSub) const;

    // Parts of the text; counts and positions are clamped to the text.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;

    // printf-style formatting; CString arguments are passed as (LPCSTR).
    void Format(LPCSTR pszFormat, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;

#ifdef _WIN32
    // Loads string nID of the program's resources; empty when it is missing.
    BOOL LoadString(UINT nID);
#endif

    // Direct access for APIs that fill a buffer: GetBuffer gives room for at
    // least nMinLength bytes and a NUL; ReleaseBuffer takes the length from
    // the NUL (nNewLength -1) or from nNewLength.
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

    friend bool operator==(const CString& a, const CString& b);
    friend bool operator==(const CString& a, LPCSTR b);
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);

private:
    struct Data
    {
        long nRefs;
        int nLength;
        int nCapacity;
        char* Chars() { return reinterpret_cast<char*>(this + 1); }
    };

    Data* GetData() const { return reinterpret_cast<Data*>(m_pchData) - 1; }
    void Assign(LPCSTR pch, int nLength);
    void Append(LPCSTR pch, int nLength);
    void Release();
    void PrepareWrite(int nCapacity);
    static char* Allocate(int nCapacity);

    char* m_pchData;
};
