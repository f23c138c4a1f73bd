// The text rules of the dialog data exchange, apart from any window: reading
// an interval field's text as an integer, and filling the %1, %2 ... places of
// a validation message. Portable, so they are tested natively.
#pragma once

#include "afx/afxstr.h"

// Reads the whole text as a decimal integer: any blanks and tabs, an optional
// sign, one or more digits, any blanks and tabs, the end of the text. A number
// too large for 32 bits becomes the largest 32-bit value of its sign, so that
// a range check rejects it. A value of 0 is taken only when its text starts,
// after the blanks, with the digit 0 ("-0" and "+0" are not numbers here).
// Answers false, leaving nValue alone, for any other text.
bool AfxParseIntText(LPCSTR pszText, int& nValue);

// The text with each %1 to %9 replaced by the argument of that number; a
// number without an argument is replaced by nothing, "%%" and any other %
// are kept as they stand.
CString AfxInsertStrings(LPCSTR pszFormat, const LPCSTR* apszArgs, int nArgs);
