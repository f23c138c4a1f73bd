#include "tests/support/TestWindows.h"

#include <cstdio>

void PumpMessages(DWORD dwMilliseconds)
{
    DWORD dwStart = GetTickCount();
    do
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (dwMilliseconds != 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - dwStart < dwMilliseconds);
}

bool WaitForForeground(HWND hWnd, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    for (;;)
    {
        PumpMessages();
        if (GetForegroundWindow() == hWnd)
            return true;
        if (GetTickCount() - dwStart >= dwTimeout)
            return false;
        Sleep(10);
    }
}

void RegisterTestWindowClass(LPCSTR pszClassName, WNDPROC pfnWndProc)
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), pszClassName, &wc))
        return;
    wc.lpfnWndProc = pfnWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = pszClassName;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
}

HWND CreateTestWindow(const std::string& strTitle, int nShow)
{
    RegisterTestWindowClass("GyrovanterTestWindow", DefWindowProcA);
    HWND hWnd = CreateWindowExA(0, "GyrovanterTestWindow", strTitle.c_str(), WS_OVERLAPPEDWINDOW,
                                100, 100, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hWnd != nullptr && nShow != SW_HIDE)
        ShowWindow(hWnd, nShow);
    PumpMessages();
    return hWnd;
}

CTestWindows::~CTestWindows()
{
    for (HWND hWnd : m_windows)
        if (IsWindow(hWnd))
            DestroyWindow(hWnd);
    PumpMessages();
}

HWND CTestWindows::Create(const std::string& strTitle, int nShow)
{
    m_windows.push_back(CreateTestWindow(strTitle, nShow));
    return m_windows.back();
}

void CTestWindows::Destroy(HWND hWnd)
{
    DestroyWindow(hWnd);
    PumpMessages();
}

std::string TestProgramFolder()
{
    char szPath[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath(szPath, n);
    return strPath.substr(0, strPath.find_last_of("\\/") + 1);
}

CWindowOwnerProcess::CWindowOwnerProcess(const std::vector<std::string>& windows)
{
    static int s_nInstance = 0;
    char szReady[64], szQuit[64];
    snprintf(szReady, sizeof(szReady), "GyroTestReady-%lu-%d", GetCurrentProcessId(), s_nInstance);
    snprintf(szQuit, sizeof(szQuit), "GyroTestQuit-%lu-%d", GetCurrentProcessId(), s_nInstance++);
    m_hReady = CreateEventA(nullptr, TRUE, FALSE, szReady);
    m_hQuit = CreateEventA(nullptr, TRUE, FALSE, szQuit);

    std::string strCommand = "\"" + TestProgramFolder() + "window_owner.exe\" " + szReady + " " + szQuit;
    for (const std::string& strWindow : windows)
        strCommand += " \"" + strWindow + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::vector<char> command(strCommand.begin(), strCommand.end());
    command.push_back('\0');
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        return;
    HANDLE handles[2] = { m_hReady, m_pi.hProcess };
    m_bReady = WaitForMultipleObjects(2, handles, FALSE, 30000) == WAIT_OBJECT_0;
}

CWindowOwnerProcess::~CWindowOwnerProcess()
{
    if (m_pi.hProcess != nullptr)
    {
        SetEvent(m_hQuit);
        if (WaitForSingleObject(m_pi.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
    }
    CloseHandle(m_hReady);
    CloseHandle(m_hQuit);
}

std::vector<HWND> CWindowOwnerProcess::FindWindows(const std::string& strTitle) const
{
    return FindTopLevelWindows(m_pi.dwProcessId, strTitle);
}

std::vector<HWND> FindTopLevelWindows(DWORD dwProcessId, const std::string& strTitle)
{
    std::vector<HWND> found;
    for (HWND hWnd = GetTopWindow(nullptr); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
    {
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hWnd, &dwOwner);
        char szTitle[1024];
        GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
        if (dwOwner == dwProcessId && strTitle == szTitle)
            found.push_back(hWnd);
    }
    return found;
}
