// CPaintDC: the device context of one WM_PAINT, from BeginPaint to EndPaint.
#pragma once

#include "afx/afxwnd.h"

class CPaintDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
    HDC m_hDC;

    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
};
