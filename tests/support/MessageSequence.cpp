#include "tests/support/MessageSequence.h"

#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

std::vector<std::string> g_sequence;
std::function<void(HWND, UINT, WPARAM, LPARAM)> g_onRecordingWndProc;

void ExpectSequence(const std::vector<std::string>& expected, const char* pszFile, int nLine)
{
    std::vector<std::string> actual;
    actual.swap(g_sequence);
    if (actual == expected)
        return;
    size_t nFirst = 0;
    while (nFirst < expected.size() && nFirst < actual.size() && expected[nFirst] == actual[nFirst])
        ++nFirst;
    std::ostringstream text;
    text << "message sequences differ at entry " << nFirst << "\n  expected:\n";
    for (const std::string& line : expected)
        text << "    " << line << "\n";
    text << "  actual:\n";
    for (const std::string& line : actual)
        text << "    " << line << "\n";
    ADD_FAILURE_AT(pszFile, nLine) << text.str();
}

std::string MessageText(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    char szName[32];
    switch (nMessage)
    {
    case WM_NULL: snprintf(szName, sizeof(szName), "WM_NULL"); break;
    case WM_DESTROY: snprintf(szName, sizeof(szName), "WM_DESTROY"); break;
    case WM_NCDESTROY: snprintf(szName, sizeof(szName), "WM_NCDESTROY"); break;
    case WM_COMMAND: snprintf(szName, sizeof(szName), "WM_COMMAND"); break;
    default:
        if (nMessage >= WM_APP && nMessage < 0xC000)
            snprintf(szName, sizeof(szName), "WM_APP+%u", nMessage - WM_APP);
        else if (nMessage >= WM_USER && nMessage < WM_APP)
            snprintf(szName, sizeof(szName), "WM_USER+%u", nMessage - WM_USER);
        else
            snprintf(szName, sizeof(szName), "0x%X", nMessage);
    }
    char szText[96];
    snprintf(szText, sizeof(szText), "%s(%lld,%lld)", szName, static_cast<long long>(wParam),
             static_cast<long long>(lParam));
    return szText;
}

bool IsRecordedMessage(UINT nMessage)
{
    return nMessage >= WM_USER || nMessage == WM_COMMAND || nMessage == WM_NULL || nMessage == WM_DESTROY ||
           nMessage == WM_NCDESTROY;
}

LRESULT CALLBACK RecordingWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (IsRecordedMessage(nMessage))
    {
        const char* pszName = reinterpret_cast<const char*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        g_sequence.push_back(std::string(pszName != nullptr ? pszName : "?") + " " +
                             MessageText(nMessage, wParam, lParam));
    }
    if (g_onRecordingWndProc)
        g_onRecordingWndProc(hWnd, nMessage, wParam, lParam);
    if (nMessage >= WM_APP && nMessage < 0xC000)
        return static_cast<LRESULT>(1000 + wParam);
    return DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

HWND CreateRecordingWindow(const char* pszName, HWND hWndParent, bool bChild)
{
    RegisterTestWindowClass("GyrovanterRecordingWindow", RecordingWndProc);
    DWORD dwStyle = bChild ? WS_CHILD : WS_OVERLAPPEDWINDOW;
    HWND hWnd = CreateWindowExA(0, "GyrovanterRecordingWindow", pszName, dwStyle, 10, 10, 200, 100, hWndParent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hWnd != nullptr)
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pszName));
    return hWnd;
}
