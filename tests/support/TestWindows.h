// Real windows for tests under Wine: windows of the test's own process,
// windows of a second process, and waiting for the window system to settle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Dispatches every pending message of the thread, for at least dwMilliseconds.
void PumpMessages(DWORD dwMilliseconds = 0);

// Pumps messages until GetForegroundWindow() is hWnd or dwTimeout runs out.
// Activation of another thread's window goes through posted messages.
bool WaitForForeground(HWND hWnd, DWORD dwTimeout = 2000);

// Registers a window class of the test program once, with that procedure.
void RegisterTestWindowClass(LPCSTR pszClassName, WNDPROC pfnWndProc);

// A top-level window of the test's process with a DefWindowProc procedure.
// nShow is SW_SHOWNOACTIVATE, SW_HIDE or SW_SHOWMINNOACTIVE.
HWND CreateTestWindow(const std::string& strTitle, int nShow = SW_SHOWNOACTIVATE);

// Test windows of this process that are destroyed with the object.
class CTestWindows
{
public:
    CTestWindows() = default;
    ~CTestWindows();
    CTestWindows(const CTestWindows&) = delete;
    CTestWindows& operator=(const CTestWindows&) = delete;

    HWND Create(const std::string& strTitle, int nShow = SW_SHOWNOACTIVATE);
    // Destroys one of them now.
    void Destroy(HWND hWnd);

private:
    std::vector<HWND> m_windows;
};

// The folder of the running test program, with a trailing backslash.
std::string TestProgramFolder();

// A second process (tests/helpers/window_owner) owning the given windows,
// each "v:Title" (shown), "h:Title" (hidden) or "m:Title" (minimised). Ends
// it on destruction.
class CWindowOwnerProcess
{
public:
    explicit CWindowOwnerProcess(const std::vector<std::string>& windows);
    ~CWindowOwnerProcess();
    CWindowOwnerProcess(const CWindowOwnerProcess&) = delete;
    CWindowOwnerProcess& operator=(const CWindowOwnerProcess&) = delete;

    bool IsReady() const { return m_bReady; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    // The process's top-level windows with that title, top of the z-order first.
    std::vector<HWND> FindWindows(const std::string& strTitle) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HANDLE m_hReady = nullptr;
    HANDLE m_hQuit = nullptr;
    bool m_bReady = false;
};

// Every top-level window of process dwProcessId titled strTitle, in z-order.
std::vector<HWND> FindTopLevelWindows(DWORD dwProcessId, const std::string& strTitle);
