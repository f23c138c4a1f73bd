// Per-thread state of the framework.
#pragma once

#include <windows.h>

class CWnd;

struct AFX_THREAD_STATE
{
    // The message being handled: the record that CWnd::GetCurrentMessage
    // answers and CWnd::Default sends again. Window procedures of the
    // framework and of the hooks save it, fill in window, message, wParam and
    // lParam, and restore it when they return, so nested sends are safe.
    MSG m_lastSentMsg;
    // The dialog being created, until its window procedure is installed.
    CWnd* m_pWndInit;
};

AFX_THREAD_STATE* AfxGetThreadState();
