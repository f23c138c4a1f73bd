// The program's entry point: the framework runs the one application object,
// which static initialisation has built before this is called.
#include "afx/afxapp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, pszCmdLine, nCmdShow);
}
