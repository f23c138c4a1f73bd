// Basic types of the framework layer. On Windows they are the SDK's; the
// native build of the pure logic (rotation rules, entry parsing, number
// parsing) gets the few it needs from here.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>
typedef int BOOL;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef unsigned int UINT;
typedef uint32_t DWORD;
typedef char* LPSTR;
typedef const char* LPCSTR;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#endif
