// Running a framework dialog modally from a test: the test's body runs inside
// the dialog's own modal loop, once the dialog exists.
#pragma once

#include "afx/afxdlg.h"

#include <functional>
#include <vector>

// Calls dlg.DoModal() and, from inside its modal loop (a thread timer that
// the loop dispatches), runs body once. The body ends the dialog itself
// (EndDialog, or a command that ends it); a watchdog ends it with -2 after
// dwWatchdog milliseconds so that a broken test cannot hang.
INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body, DWORD dwWatchdog = 30000);

// The place of a control at x, y of size cx, cy in dialog units, in pixels
// of dialog hWndDlg's client area.
RECT DialogUnitsToPixels(HWND hWndDlg, int x, int y, int cx, int cy);

// The shown dialog boxes (message boxes among them) of this thread but
// hWndExcept.
std::vector<HWND> FindThreadDialogs(HWND hWndExcept);
