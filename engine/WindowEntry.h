// The window entry: the text by which a window list names a window, its full
// title followed by " <(PID=", the owning process ID in decimal and ")>".
#pragma once

#include "afx/afxstr.h"

// The line shown for "no window", always index 0 of every window list.
extern const char NO_WINDOW_LINE[];

// "%s <(PID=%d)>" of the title and process ID.
CString FormatWindowEntry(LPCSTR pszTitle, DWORD dwProcessId);

// Splits an entry back into title and process ID. The suffix is read from the
// end, so titles that themselves contain " <(PID=" or ")>" come back whole.
// An entry without a well-formed suffix answers false, with the whole entry as
// the title: such an entry names no process and matches no window.
bool ParseWindowEntry(const CString& strEntry, CString& strTitle, DWORD& dwProcessId);
