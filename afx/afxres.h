// Resource and command ids that belong to the framework. Plain #defines, so
// that resource scripts can include this file too.
#pragma once

// The application-title string; without it the application's name is the
// program file's name.
#define AFX_IDS_APP_TITLE           0xE000

// The help command (F1), and the string that holds the program's help text.
#define ID_HELP                     0xE146

// The validation messages of the data exchange.
#define AFX_IDP_PARSE_INT           0xF110
#define AFX_IDP_PARSE_INT_RANGE     0xF112
