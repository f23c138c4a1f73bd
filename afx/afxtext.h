// Bounded ANSI texts: copying into a fixed buffer without splitting a
// double-byte character, and loading the program's string resources.
#pragma once

#include <windows.h>

// Copies as much of pszSource as fits into nMax bytes with its NUL, whole
// characters only, and always ends pszDest with a NUL (nothing is written when
// nMax is 0). Answers the number of bytes copied before the NUL.
int AfxCopyString(LPSTR pszDest, UINT nMax, LPCSTR pszSource);

// Copies string nID of the framework's resource module into pszBuf, at most
// nMax - 1 bytes and a NUL. Leaves an empty text when the string does not
// exist. Answers the number of bytes copied.
int AfxLoadString(UINT nID, LPSTR pszBuf, UINT nMax);
