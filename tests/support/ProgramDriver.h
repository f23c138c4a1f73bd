// Driving another program from outside, the way a user's clicks and the
// shell reach it: starting it so that it never outlives the caller, finding
// its windows, reading what they show, clicking, choosing and typing, and
// waiting for what should follow with a bound on the time.
//
// Texts are read with the wide messages and converted to the ANSI code page:
// under Wine the ANSI forms of some messages (CB_GETLBTEXT) return only the
// first character when they cross into another process.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Polls condition() every 10 ms, pumping this thread's messages in between,
// until it holds or dwTimeout milliseconds have passed. Answers whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeout);

// Polls condition() every 10 ms for dwDuration milliseconds. Answers whether
// it held at every poll.
bool HoldsFor(const std::function<bool()>& condition, DWORD dwDuration);

// The class name of a window ("#32770" for dialogs and message boxes).
std::string WindowClass(HWND hWnd);
// The text of a window of any process: its caption, or a control's text.
std::string WindowText(HWND hWnd);
// The text of control nId of dialog hDlg ("" when there is no such control).
std::string ControlText(HWND hDlg, int nId);
// Every line of a combo box of any process, in its order.
std::vector<std::string> ComboLines(HWND hCombo);
// The window that has the input focus in the thread that owns hWnd, or NULL.
HWND FocusOfThread(HWND hWnd);
// The process that owns hWnd.
DWORD WindowProcessId(HWND hWnd);

// The colours of a rectangle of the screen, row by row, as a user sees it.
std::vector<COLORREF> ScreenPixels(const RECT& rc);
// The share, 0 to 1, of the pixels in which two captures of one rectangle
// differ; 1 when their sizes differ.
double PixelDifference(const std::vector<COLORREF>& first, const std::vector<COLORREF>& second);

// The top-level windows of process dwProcessId, top of the z-order first,
// hidden ones included. pszClass and pszCaption filter exactly; NULL takes any.
std::vector<HWND> FindProcessWindows(DWORD dwProcessId, LPCSTR pszClass = nullptr,
                                     LPCSTR pszCaption = nullptr);
// The same, visible windows only.
std::vector<HWND> FindVisibleProcessWindows(DWORD dwProcessId, LPCSTR pszClass = nullptr,
                                            LPCSTR pszCaption = nullptr);

// What a user does. Every action that may open a modal box is posted, so that
// the caller is not held until the box closes.
//
// Brings a top-level window to the front, as a user's click on it does, and
// waits (at most two seconds) until it is the foreground window.
void BringToFront(HWND hWindow);
// A mouse click on button nId of hDlg: the dialog comes to the front, then
// BM_CLICK. (A BM_CLICK alone on a dialog in the background makes Wine move
// the activation to the desktop window.)
void ClickButton(HWND hDlg, int nId);
// A key pressed in a window: the window comes to the front, and the key goes
// to the control that has the focus there.
void PressKey(HWND hWindow, UINT nVirtualKey);
// Selecting line nIndex of combo box nId, then the CBN_SELCHANGE notification
// that a user's choice sends to the dialog.
void ChooseComboLine(HWND hDlg, int nId, int nIndex);
// The index of the line strLine in combo box nId of hDlg, or -1.
int FindComboLine(HWND hDlg, int nId, const std::string& strLine);
// Replacing the whole text of control nId (WM_SETTEXT; an edit control then
// notifies EN_CHANGE as after typing).
void SetControlText(HWND hDlg, int nId, const std::string& strText);
// A menu command as a chosen menu item sends it (WM_COMMAND, lParam 0).
void PostCommand(HWND hWnd, UINT nId);
// A key pressed and released on a window, whatever window is in front:
// WM_KEYDOWN and WM_KEYUP, posted. The receiving thread's loop translates them
// into WM_CHAR as for a real key. A menu being tracked takes the keys posted
// to any window of its thread.
void PostKey(HWND hWnd, UINT nVirtualKey);

// A program started by a test. It is placed in a job that ends it when the
// job's handle closes, and the destructor ends it too, so that it never
// outlives the test, whatever happens.
class CProgramProcess
{
public:
    // Starts strPath with the command line's arguments strArgs. IsStarted
    // tells whether that worked.
    explicit CProgramProcess(const std::string& strPath, const std::string& strArgs = "");
    ~CProgramProcess();
    CProgramProcess(const CProgramProcess&) = delete;
    CProgramProcess& operator=(const CProgramProcess&) = delete;

    bool IsStarted() const { return m_pi.hProcess != nullptr; }
    bool IsRunning() const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    // Waits up to dwTimeout ms for the process to end; answers whether it has.
    bool WaitForExit(DWORD dwTimeout);
    // Waits up to dwTimeout ms for a visible top-level window of the process
    // with that class and caption; NULL when none came or the process ended.
    HWND WaitForWindow(LPCSTR pszClass, LPCSTR pszCaption, DWORD dwTimeout);
    // Ends the process at once, if it still runs, and waits for its end.
    void Terminate();

private:
    PROCESS_INFORMATION m_pi = {};
    HANDLE m_hJob = nullptr;
};

// Records every change of the foreground window, with the time it was seen,
// by polling from a thread of its own every few milliseconds.
class CForegroundRecorder
{
public:
    struct Change
    {
        double dSeconds;      // since the last Restart
        HWND hWnd;            // the new foreground window
        std::string strName;  // its class and title at that moment
    };

    CForegroundRecorder();
    ~CForegroundRecorder();
    CForegroundRecorder(const CForegroundRecorder&) = delete;
    CForegroundRecorder& operator=(const CForegroundRecorder&) = delete;

    // Forgets what was recorded and counts time from now. The window in front
    // now is the starting point: only later changes are recorded.
    void Restart();
    double Seconds() const;
    std::vector<Change> Changes() const;

private:
    void Poll();
    static std::string DescribeWindow(HWND hWnd);

    mutable std::mutex m_mutex;
    std::chrono::steady_clock::time_point m_start;
    HWND m_hLast = nullptr;
    std::vector<Change> m_changes;
    bool m_bQuit = false;
    std::thread m_thread;
};
