#pragma once

#include "afx/afxstr.h"

// Finds the window that a window entry names among the live top-level
// windows, walking from the top of the z-order, and makes the first one with
// exactly that title and that process ID the foreground window. hWndFrom is
// any top-level window; the walk starts at the first window of its z-order.
// Answers the window brought forward, or NULL when none matched.
HWND BringWindowEntryToFront(HWND hWndFrom, const CString& strEntry);
