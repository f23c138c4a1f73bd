#include "tests/support/ProgramDriver.h"

#include "tests/support/TestWindows.h"

namespace
{
const DWORD POLL_MS = 10;

std::string Narrow(const std::wstring& strWide)
{
    if (strWide.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, strWide.data(), static_cast<int>(strWide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string strText(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, strWide.data(), static_cast<int>(strWide.size()), &strText[0], n,
                        nullptr, nullptr);
    return strText;
}

std::wstring Widen(const std::string& strText)
{
    if (strText.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
    std::wstring strWide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), &strWide[0], n);
    return strWide;
}

std::vector<HWND> FindWindowsOf(DWORD dwProcessId, LPCSTR pszClass, LPCSTR pszCaption, bool bVisibleOnly)
{
    std::vector<HWND> found;
    for (HWND hWnd = GetTopWindow(nullptr); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (WindowProcessId(hWnd) != dwProcessId)
            continue;
        if (bVisibleOnly && !IsWindowVisible(hWnd))
            continue;
        if (pszClass != nullptr && WindowClass(hWnd) != pszClass)
            continue;
        if (pszCaption != nullptr && WindowText(hWnd) != pszCaption)
            continue;
        found.push_back(hWnd);
    }
    return found;
}
}

bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    for (;;)
    {
        if (condition())
            return true;
        if (GetTickCount() - dwStart >= dwTimeout)
            return false;
        PumpMessages();
        Sleep(POLL_MS);
    }
}

bool HoldsFor(const std::function<bool()>& condition, DWORD dwDuration)
{
    return !WaitUntil([&] { return !condition(); }, dwDuration);
}

std::string WindowClass(HWND hWnd)
{
    char szClass[256] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

std::string WindowText(HWND hWnd)
{
    DWORD_PTR nLength = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &nLength))
        return std::string();
    std::wstring strText(nLength + 1, L'\0');
    DWORD_PTR nCopied = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXT, nLength + 1, reinterpret_cast<LPARAM>(&strText[0]),
                             SMTO_ABORTIFHUNG, 2000, &nCopied))
        return std::string();
    strText.resize(nCopied);
    return Narrow(strText);
}

std::string ControlText(HWND hDlg, int nId)
{
    HWND hControl = GetDlgItem(hDlg, nId);
    return hControl != nullptr ? WindowText(hControl) : std::string();
}

std::vector<std::string> ComboLines(HWND hCombo)
{
    std::vector<std::string> lines;
    LRESULT nCount = SendMessageW(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i)
    {
        LRESULT nLength = SendMessageW(hCombo, CB_GETLBTEXTLEN, i, 0);
        if (nLength < 0)
            break;
        std::wstring strLine(static_cast<size_t>(nLength) + 1, L'\0');
        LRESULT nCopied = SendMessageW(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&strLine[0]));
        strLine.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
        lines.push_back(Narrow(strLine));
    }
    return lines;
}

HWND FocusOfThread(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::vector<COLORREF> ScreenPixels(const RECT& rc)
{
    int nWidth = rc.right - rc.left, nHeight = rc.bottom - rc.top;
    std::vector<COLORREF> pixels;
    if (nWidth <= 0 || nHeight <= 0)
        return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC hScreen = GetDC(nullptr);
    HDC hMemory = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap != nullptr)
    {
        HGDIOBJ hOld = SelectObject(hMemory, hBitmap);
        BitBlt(hMemory, 0, 0, nWidth, nHeight, hScreen, rc.left, rc.top, SRCCOPY);
        GdiFlush();
        // The DIB holds blue, green, red and an unused byte; COLORREF wants
        // red in the low byte.
        const BYTE* pByte = static_cast<const BYTE*>(pBits);
        size_t nPixels = static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight);
        pixels.reserve(nPixels);
        for (size_t i = 0; i < nPixels; ++i, pByte += 4)
            pixels.push_back(RGB(pByte[2], pByte[1], pByte[0]));
        SelectObject(hMemory, hOld);
        DeleteObject(hBitmap);
    }
    DeleteDC(hMemory);
    ReleaseDC(nullptr, hScreen);
    return pixels;
}

double PixelDifference(const std::vector<COLORREF>& first, const std::vector<COLORREF>& second)
{
    if (first.size() != second.size() || first.empty())
        return 1.0;
    size_t nDiffering = 0;
    for (size_t i = 0; i < first.size(); ++i)
        if (first[i] != second[i])
            ++nDiffering;
    return static_cast<double>(nDiffering) / static_cast<double>(first.size());
}

DWORD WindowProcessId(HWND hWnd)
{
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    return dwProcessId;
}

std::vector<HWND> FindProcessWindows(DWORD dwProcessId, LPCSTR pszClass, LPCSTR pszCaption)
{
    return FindWindowsOf(dwProcessId, pszClass, pszCaption, false);
}

std::vector<HWND> FindVisibleProcessWindows(DWORD dwProcessId, LPCSTR pszClass, LPCSTR pszCaption)
{
    return FindWindowsOf(dwProcessId, pszClass, pszCaption, true);
}

void BringToFront(HWND hWindow)
{
    SetForegroundWindow(hWindow);
    WaitForForeground(hWindow, 2000);
}

void ClickButton(HWND hDlg, int nId)
{
    BringToFront(hDlg);
    PostMessageW(GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}

void PressKey(HWND hWindow, UINT nVirtualKey)
{
    BringToFront(hWindow);
    WaitUntil([&] { return FocusOfThread(hWindow) != nullptr; }, 1000);
    HWND hFocus = FocusOfThread(hWindow);
    PostKey(hFocus != nullptr ? hFocus : hWindow, nVirtualKey);
}

void ChooseComboLine(HWND hDlg, int nId, int nIndex)
{
    HWND hCombo = GetDlgItem(hDlg, nId);
    SendMessageW(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

int FindComboLine(HWND hDlg, int nId, const std::string& strLine)
{
    std::vector<std::string> lines = ComboLines(GetDlgItem(hDlg, nId));
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == strLine)
            return static_cast<int>(i);
    return -1;
}

void SetControlText(HWND hDlg, int nId, const std::string& strText)
{
    std::wstring strWide = Widen(strText);
    DWORD_PTR nResult = 0;
    SendMessageTimeoutW(GetDlgItem(hDlg, nId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strWide.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &nResult);
}

void PostCommand(HWND hWnd, UINT nId)
{
    PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(nId, 0), 0);
}

void PostKey(HWND hWnd, UINT nVirtualKey)
{
    LPARAM nScan = static_cast<LPARAM>(MapVirtualKeyW(nVirtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(hWnd, WM_KEYDOWN, nVirtualKey, nScan | 1);
    PostMessageW(hWnd, WM_KEYUP, nVirtualKey, nScan | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31));
}

CProgramProcess::CProgramProcess(const std::string& strPath, const std::string& strArgs)
{
    m_hJob = CreateJobObjectW(nullptr, nullptr);
    if (m_hJob != nullptr)
    {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }

    std::string strCommand = "\"" + strPath + "\"";
    if (!strArgs.empty())
        strCommand += " " + strArgs;
    std::vector<char> command(strCommand.begin(), strCommand.end());
    command.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(strPath.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &si, &m_pi))
    {
        m_pi = PROCESS_INFORMATION();
        return;
    }
    if (m_hJob != nullptr)
        AssignProcessToJobObject(m_hJob, m_pi.hProcess);
    ResumeThread(m_pi.hThread);
}

CProgramProcess::~CProgramProcess()
{
    Terminate();
    if (m_pi.hProcess != nullptr)
    {
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
    }
    if (m_hJob != nullptr)
        CloseHandle(m_hJob);
}

bool CProgramProcess::IsRunning() const
{
    return m_pi.hProcess != nullptr && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool CProgramProcess::WaitForExit(DWORD dwTimeout)
{
    return m_pi.hProcess == nullptr || WaitForSingleObject(m_pi.hProcess, dwTimeout) == WAIT_OBJECT_0;
}

HWND CProgramProcess::WaitForWindow(LPCSTR pszClass, LPCSTR pszCaption, DWORD dwTimeout)
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> windows = FindVisibleProcessWindows(m_pi.dwProcessId, pszClass, pszCaption);
            if (!windows.empty())
                hFound = windows.front();
            return hFound != nullptr || !IsRunning();
        },
        dwTimeout);
    return hFound;
}

void CProgramProcess::Terminate()
{
    if (IsRunning())
    {
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, 10000);
    }
}

CForegroundRecorder::CForegroundRecorder()
{
    Restart();
    m_thread = std::thread([this] { Poll(); });
}

CForegroundRecorder::~CForegroundRecorder()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bQuit = true;
    }
    m_thread.join();
}

void CForegroundRecorder::Restart()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_start = std::chrono::steady_clock::now();
    m_hLast = GetForegroundWindow();
    m_changes.clear();
}

double CForegroundRecorder::Seconds() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

std::vector<CForegroundRecorder::Change> CForegroundRecorder::Changes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_changes;
}

void CForegroundRecorder::Poll()
{
    for (;;)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_bQuit)
                return;
            HWND hForeground = GetForegroundWindow();
            if (hForeground != m_hLast)
            {
                m_hLast = hForeground;
                double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
                m_changes.push_back({ dSeconds, hForeground, DescribeWindow(hForeground) });
            }
        }
        Sleep(5);
    }
}

std::string CForegroundRecorder::DescribeWindow(HWND hWnd)
{
    if (hWnd == nullptr)
        return "(none)";
    // InternalGetWindowText sends no message: the window's thread may be
    // waiting for this one.
    wchar_t szTitle[256] = L"";
    InternalGetWindowText(hWnd, szTitle, 256);
    std::string strName = WindowClass(hWnd);
    if (szTitle[0] != L'\0')
        strName += " \"" + Narrow(szTitle) + "\"";
    return strName;
}
