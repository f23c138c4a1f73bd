// A second process for tests: owns top-level windows with given titles, so
// that their process ID differs from the test's.
//
//   window_owner <ready-event> <quit-event> <window>...
//
// Each window is "v:Title" (shown), "h:Title" (hidden) or "m:Title"
// (minimised). The program signals the ready event once its windows exist,
// then pumps messages until the quit event is set, at most 120 seconds.
#include <windows.h>

#include <cstring>

namespace
{
LRESULT CALLBACK OwnerWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
}

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GyrovanterTestOwner";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);

    for (int i = 3; i < argc; ++i)
    {
        const char* pszSpec = argv[i];
        if (strlen(pszSpec) < 2 || pszSpec[1] != ':')
            return 2;
        HWND hWnd = CreateWindowExA(0, wc.lpszClassName, pszSpec + 2, WS_OVERLAPPEDWINDOW,
                                    40 + 30 * i, 40 + 20 * i, 320, 200, nullptr, nullptr, wc.hInstance, nullptr);
        if (hWnd == nullptr)
            return 3;
        if (pszSpec[0] == 'v')
            ShowWindow(hWnd, SW_SHOWNOACTIVATE);
        else if (pszSpec[0] == 'm')
            ShowWindow(hWnd, SW_SHOWMINNOACTIVE);
    }

    HANDLE hReady = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE hQuit = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    if (hReady == nullptr || hQuit == nullptr)
        return 4;
    SetEvent(hReady);

    DWORD dwDeadline = GetTickCount() + 120000;
    for (;;)
    {
        DWORD dwNow = GetTickCount();
        if (static_cast<LONG>(dwDeadline - dwNow) <= 0)
            return 5;
        DWORD dwWait = MsgWaitForMultipleObjects(1, &hQuit, FALSE, dwDeadline - dwNow, QS_ALLINPUT);
        if (dwWait == WAIT_OBJECT_0)
            return 0;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
