#pragma once

#include "afx/afxstr.h"

// The whole title of a window, through the window-system seam: its length
// first, then the text into a buffer one byte longer. "" for a window without
// a title or one that no longer exists.
CString ReadWindowTitle(HWND hWnd);
