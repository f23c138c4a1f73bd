// Measures Gyrovanter.exe from outside, side by side with the baseline dialog
// program, on a desktop crowded by window_farm processes. Every figure is
// taken in alternated rounds (program, baseline, program, ...) and reported as
// median, min and max, and as the ratio program / baseline (or program / bare
// walk for the turn), with its goal.
//
//   bench_driver --program EXE --baseline EXE --farm EXE --out FILE
//                [--exe LABEL=EXE]... [--rounds N] [--turns N]
//                [--idle SECONDS] [--timing SECONDS]
//
// The programs are driven only through their windows: the dialog captioned
// "Gyrovanter" of the started process, its buttons (Start 1, Stop 3,
// "Reread lists" 1013), its window lists and interval fields, WM_TIMER, and
// the window-entry form "%s <(PID=%d)>". Progress goes to stderr; the results
// (a Markdown table and the raw rounds) go to FILE.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/DialogIds.h"

namespace
{
// ---------------------------------------------------------------- basics

double g_dTicksPerSecond = 0;
double g_dStart = 0;

double Now()
{
    LARGE_INTEGER n;
    QueryPerformanceCounter(&n);
    return static_cast<double>(n.QuadPart) / g_dTicksPerSecond;
}

#define PRINTF_LIKE(n) __attribute__((format(__MINGW_PRINTF_FORMAT, n, n + 1)))

PRINTF_LIKE(1) void Log(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    fprintf(stderr, "[%6.1f s] ", Now() - g_dStart);
    vfprintf(stderr, pszFormat, args);
    fputc('\n', stderr);
    fflush(stderr);
    va_end(args);
}

std::vector<HANDLE> g_started;   // every process we started, ended on failure

[[noreturn]] PRINTF_LIKE(1) void Fail(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    fprintf(stderr, "bench_driver: ");
    vfprintf(stderr, pszFormat, args);
    fputc('\n', stderr);
    va_end(args);
    for (HANDLE hProcess : g_started)
        TerminateProcess(hProcess, 1);
    exit(1);
}

PRINTF_LIKE(1) std::string Format(const char* pszFormat, ...)
{
    char szText[512];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    return szText;
}

double FileTimeSeconds(const FILETIME& ft)
{
    return static_cast<double>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) * 1e-7;
}

std::string ReadSmallFile(const std::string& strPath)
{
    std::string strText;
    if (FILE* pFile = fopen(strPath.c_str(), "rb"))
    {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pFile)) > 0;)
            strText.append(buffer, n);
        fclose(pFile);
    }
    return strText;
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& strFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do
        if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
            names.push_back(data.cFileName);
    while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return names;
}

// A Windows path in one spelling: backslashes, lower case.
std::string NormalPath(std::string strPath)
{
    for (char& c : strPath)
        c = c == '/' ? '\\' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return strPath;
}

const char LINUX_PROC[] = "Z:\\proc\\";

// CPU time (kernel plus user) of a process, in seconds. Wine's
// GetProcessTimes answers for the calling process only, so under Wine the time
// of another process comes from Linux: the run time of each of its threads in
// /proc/<pid>/task/<tid>/schedstat (nanoseconds), read through Wine's Z:
// drive. The Linux process is the one whose command line is the started
// program's path. Wine's server opens files for its clients, so /proc/self
// there is the Wine server itself.
class CCpuClock
{
public:
    static bool OnLinux() { return GetFileAttributesA("Z:\\proc\\self\\stat") != INVALID_FILE_ATTRIBUTES; }

    static CCpuClock Self() { return CCpuClock(GetCurrentProcess(), ""); }
    // Off Wine on Linux there is no server to read, and the clock answers 0.
    // The server's process ID is the first field of what it reads as
    // /proc/self/stat.
    static CCpuClock WineServer()
    {
        if (!OnLinux())
            return CCpuClock(nullptr, "");
        std::string strPid = std::to_string(atol(ReadSmallFile(std::string(LINUX_PROC) + "self\\stat").c_str()));
        return CCpuClock(nullptr, LINUX_PROC + strPid + "\\task\\");
    }

    // The started process hProcess, whose command line is strCommand: the
    // path of its image and one argument that no other process has.
    static CCpuClock Started(HANDLE hProcess, const std::string& strCommand)
    {
        if (!OnLinux())
            return CCpuClock(hProcess, "");
        for (int nAttempt = 0; nAttempt < 100; ++nAttempt, Sleep(10))
        {
            std::vector<std::string> found;
            for (const std::string& strPid : FolderNames(LINUX_PROC))
            {
                if (strPid.find_first_not_of("0123456789") != std::string::npos)
                    continue;
                // The arguments, each ended by a null; Wine pads the line
                // with more nulls.
                std::string strLine = ReadSmallFile(LINUX_PROC + strPid + "\\cmdline");
                strLine.erase(strLine.find_last_not_of('\0') + 1);
                std::replace(strLine.begin(), strLine.end(), '\0', ' ');
                if (NormalPath(strLine) == NormalPath(strCommand))
                    found.push_back(strPid);
            }
            if (found.size() > 1)
                Fail("%zu Linux processes run %s", found.size(), strCommand.c_str());
            if (found.size() == 1)
                return CCpuClock(nullptr, LINUX_PROC + found[0] + "\\task\\");
        }
        Fail("no Linux process runs %s", strCommand.c_str());
    }

    double Seconds() const
    {
        if (m_strTasks.empty() && m_hProcess == nullptr)
            return 0;
        if (m_strTasks.empty())
        {
            FILETIME ftCreation, ftExit, ftKernel, ftUser;
            if (!GetProcessTimes(m_hProcess, &ftCreation, &ftExit, &ftKernel, &ftUser))
                Fail("GetProcessTimes failed (%lu)", GetLastError());
            return FileTimeSeconds(ftKernel) + FileTimeSeconds(ftUser);
        }
        double dSeconds = 0;
        for (const std::string& strTask : FolderNames(m_strTasks))
            dSeconds += strtod(ReadSmallFile(m_strTasks + strTask + "\\schedstat").c_str(), nullptr) * 1e-9;
        return dSeconds;
    }

    // The cores the process may run on, as Linux lists them ("1", "0-1").
    std::string Cores() const
    {
        if (m_strTasks.empty())
            return "unknown";
        std::string strStatus = ReadSmallFile(m_strTasks + "..\\status");
        const char KEY[] = "Cpus_allowed_list:";
        size_t nAt = strStatus.find(KEY);
        if (nAt == std::string::npos)
            return "unknown";
        nAt = strStatus.find_first_not_of(" \t", nAt + strlen(KEY));
        return strStatus.substr(nAt, strStatus.find('\n', nAt) - nAt);
    }

private:
    CCpuClock(HANDLE hProcess, const std::string& strTasks) : m_hProcess(hProcess), m_strTasks(strTasks) {}

    HANDLE m_hProcess;
    std::string m_strTasks;   // Z:\proc\<pid>\task\ under Wine
};

double WorkingSetMB(HANDLE hProcess)
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(hProcess, &pmc, sizeof pmc))
        Fail("GetProcessMemoryInfo failed (%lu)", GetLastError());
    return static_cast<double>(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}

// The values of one figure over the rounds.
class CSample
{
public:
    void Add(double dValue) { m_values.push_back(dValue); }
    bool Empty() const { return m_values.empty(); }
    double Min() const { return *std::min_element(m_values.begin(), m_values.end()); }
    double Max() const { return *std::max_element(m_values.begin(), m_values.end()); }
    double Median() const
    {
        std::vector<double> sorted = m_values;
        std::sort(sorted.begin(), sorted.end());
        size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    // "median (min–max)" with the given scale and unit.
    std::string Text(double dScale, const char* pszUnit, int nDecimals = 1) const
    {
        if (Empty())
            return "n/a";
        return Format("%.*f %s (%.*f\xE2\x80\x93%.*f)", nDecimals, Median() * dScale, pszUnit, nDecimals,
                      Min() * dScale, nDecimals, Max() * dScale);
    }
    std::string Raw(double dScale, int nDecimals) const
    {
        std::string strText;
        for (double dValue : m_values)
            strText += Format("%s%.*f", strText.empty() ? "" : ", ", nDecimals, dValue * dScale);
        return strText;
    }

private:
    std::vector<double> m_values;
};

// ---------------------------------------------------------------- processes

struct CSubject
{
    const char* pszName;
    std::string strPath;
    WPARAM nExitCommand;   // the command that ends the program
};

PROCESS_INFORMATION StartProcess(const std::string& strCommandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        Fail("cannot start %s (%lu)", strCommandLine.c_str(), GetLastError());
    g_started.push_back(pi.hProcess);
    return pi;
}

void EndProcess(PROCESS_INFORMATION& pi)
{
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
    {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 10000);
    }
    g_started.erase(std::remove(g_started.begin(), g_started.end(), pi.hProcess), g_started.end());
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    pi = {};
}

LRESULT Send(HWND hWnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR nResult = 0;
    if (!SendMessageTimeoutW(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, 120000, &nResult))
        Fail("no answer to message 0x%04x from window %p (%lu)", uMsg, static_cast<void*>(hWnd), GetLastError());
    return static_cast<LRESULT>(nResult);
}

void SetForegroundAndWait(HWND hWnd)
{
    SetForegroundWindow(hWnd);
    for (double dEnd = Now() + 2; GetForegroundWindow() != hWnd && Now() < dEnd;)
        Sleep(1);
}

// The window class of the farm's windows (the farm also has Wine's own
// untitled helper windows).
const char FARM_CLASS[] = "GyrovanterBenchFarm";

// A top-level window of the farm.
struct CFarmWindow
{
    HWND hWnd;
    std::string strTitle;
    bool bVisible;
};

// A window_farm process with its windows, ended on destruction.
class CFarm
{
public:
    CFarm(const std::string& strFarm, int nCount) : m_nCount(nCount)
    {
        static int s_nFarms = 0;
        std::string strReady = Format("GyrovanterBenchReady%lu_%d", GetCurrentProcessId(), ++s_nFarms);
        std::string strQuit = Format("GyrovanterBenchQuit%lu_%d", GetCurrentProcessId(), s_nFarms);
        m_hReady = CreateEventA(nullptr, TRUE, FALSE, strReady.c_str());
        m_hQuit = CreateEventA(nullptr, TRUE, FALSE, strQuit.c_str());
        double dStart = Now();
        m_pi = StartProcess(Format("\"%s\" %s %s %d", strFarm.c_str(), strReady.c_str(), strQuit.c_str(), nCount));
        HANDLE ahWait[2] = {m_hReady, m_pi.hProcess};
        if (WaitForMultipleObjects(2, ahWait, FALSE, 180000) != WAIT_OBJECT_0)
            Fail("the window farm of %d windows did not get ready", nCount);
        double dReady = Now();
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(this));
        if (m_windows.size() != static_cast<size_t>(nCount))
            Fail("the farm owns %zu windows, not %d", m_windows.size(), nCount);
        Log("farm of %d windows ready in %.1f s", nCount, dReady - dStart);
    }

    ~CFarm()
    {
        SetEvent(m_hQuit);
        if (WaitForSingleObject(m_pi.hProcess, 10000) != WAIT_OBJECT_0)
            Log("the farm did not quit; ending it");
        EndProcess(m_pi);
        CloseHandle(m_hReady);
        CloseHandle(m_hQuit);
    }

    CFarm(const CFarm&) = delete;
    CFarm& operator=(const CFarm&) = delete;

    int Count() const { return m_nCount; }

    std::string Entry(const CFarmWindow& window) const
    {
        return Format("%s <(PID=%d)>", window.strTitle.c_str(), static_cast<int>(m_pi.dwProcessId));
    }

    // nCount shown windows whose titles no other farm window has, so that a
    // lookup by title can only find that one.
    std::vector<const CFarmWindow*> UniqueShownWindows(size_t nCount) const
    {
        std::vector<const CFarmWindow*> found;
        for (const CFarmWindow& window : m_windows)
        {
            if (!window.bVisible)
                continue;
            size_t nSame = std::count_if(m_windows.begin(), m_windows.end(),
                                         [&](const CFarmWindow& w) { return w.strTitle == window.strTitle; });
            if (nSame == 1)
                found.push_back(&window);
            if (found.size() == nCount)
                return found;
        }
        Fail("the farm has fewer than %zu shown windows with unique titles", nCount);
    }

private:
    static BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
    {
        CFarm* pFarm = reinterpret_cast<CFarm*>(lParam);
        DWORD dwProcessId = 0;
        GetWindowThreadProcessId(hWnd, &dwProcessId);
        char szClass[64] = "";
        GetClassNameA(hWnd, szClass, sizeof szClass);
        if (dwProcessId == pFarm->m_pi.dwProcessId && strcmp(szClass, FARM_CLASS) == 0)
        {
            char szTitle[256] = "";
            GetWindowTextA(hWnd, szTitle, sizeof szTitle);
            pFarm->m_windows.push_back({hWnd, szTitle, IsWindowVisible(hWnd) != FALSE});
        }
        return TRUE;
    }

    int m_nCount;
    HANDLE m_hReady = nullptr;
    HANDLE m_hQuit = nullptr;
    PROCESS_INFORMATION m_pi = {};
    std::vector<CFarmWindow> m_windows;
};

// A running program under test: the process and its control dialog.
class CDialogProgram
{
public:
    // Starts the program and waits until its dialog is visible and its last
    // window list holds at least nMinLines lines; m_dStartup is the time from
    // just before process creation until then.
    CDialogProgram(const CSubject& subject, int nMinLines) : m_subject(subject)
    {
        // The program reads no command line; the argument only tells this
        // process apart from other runs of the same program.
        static int s_nStarted = 0;
        m_strTag = Format("bench-%lu-%d", GetCurrentProcessId(), ++s_nStarted);
        double dStart = Now();
        m_pi = StartProcess("\"" + subject.strPath + "\" " + m_strTag);
        for (;;)
        {
            if (m_hDlg == nullptr)
                m_hDlg = FindDialog(m_pi.dwProcessId);
            if (m_hDlg != nullptr && IsWindowVisible(m_hDlg) &&
                Send(Item(IDC_WINDOW10), CB_GETCOUNT) >= nMinLines)
                break;
            if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0)
                Fail("%s ended during start-up", subject.pszName);
            if (Now() - dStart > 60)
                Fail("%s showed no dialog with %d lines within 60 s", subject.pszName, nMinLines);
            Sleep(1);
        }
        m_dStartup = Now() - dStart;
    }

    ~CDialogProgram()
    {
        // The program's own way out first; a program that ignores it is ended.
        PostMessageA(m_hDlg, WM_COMMAND, m_subject.nExitCommand, 0);
        if (WaitForSingleObject(m_pi.hProcess, 3000) != WAIT_OBJECT_0)
            Log("%s did not end on command %u; ending it", m_subject.pszName,
                static_cast<unsigned>(m_subject.nExitCommand));
        EndProcess(m_pi);
    }

    CDialogProgram(const CDialogProgram&) = delete;
    CDialogProgram& operator=(const CDialogProgram&) = delete;

    const char* Name() const { return m_subject.pszName; }
    HANDLE Process() const { return m_pi.hProcess; }
    HWND Dialog() const { return m_hDlg; }
    double Startup() const { return m_dStartup; }
    HWND Item(int nId) const { return GetDlgItem(m_hDlg, nId); }
    void Click(int nId) { Send(Item(nId), BM_CLICK); }

    double CpuSeconds() { return Clock().Seconds(); }
    std::string Cores() { return Clock().Cores(); }

    // Selects the line strEntry (or line 0 for "") in the slot's window list
    // and writes the interval into its field.
    void Choose(int nSlot, const std::string& strEntry, int nInterval)
    {
        HWND hList = Item(WINDOW_LISTS[nSlot - 1]);
        LRESULT nIndex = strEntry.empty() ? 0 : FindLine(hList, strEntry);
        if (nIndex == CB_ERR)
            Fail("%s does not list \"%s\"", Name(), strEntry.c_str());
        Send(hList, CB_SETCURSEL, static_cast<WPARAM>(nIndex));
        std::wstring strInterval = std::to_wstring(nInterval);
        Send(Item(INTERVAL_FIELDS[nSlot - 1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strInterval.c_str()));
    }

private:
    const CCpuClock& Clock()
    {
        if (!m_pCpu)
            m_pCpu.reset(new CCpuClock(CCpuClock::Started(m_pi.hProcess, m_subject.strPath + " " + m_strTag)));
        return *m_pCpu;
    }

    static HWND FindDialog(DWORD dwProcessId)
    {
        HWND hWnd = nullptr;
        while ((hWnd = FindWindowExA(nullptr, hWnd, "#32770", "Gyrovanter")) != nullptr)
        {
            DWORD dwOwner = 0;
            GetWindowThreadProcessId(hWnd, &dwOwner);
            if (dwOwner == dwProcessId)
                return hWnd;
        }
        return nullptr;
    }

    // The index of the line that equals strEntry exactly (the list's own
    // search ignores case). Lines are read with the wide messages: Wine
    // answers the ANSI ones across processes with the first character only.
    static LRESULT FindLine(HWND hList, const std::string& strEntry)
    {
        std::wstring strWide(strEntry.begin(), strEntry.end());
        LRESULT nFrom = -1;
        for (;;)
        {
            LRESULT nIndex = Send(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nFrom),
                                  reinterpret_cast<LPARAM>(strWide.c_str()));
            if (nIndex == CB_ERR || nIndex <= nFrom)
                return CB_ERR;
            std::wstring strLine(static_cast<size_t>(Send(hList, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex))) + 1,
                                 L'\0');
            Send(hList, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&strLine[0]));
            if (wcscmp(strLine.c_str(), strWide.c_str()) == 0)
                return nIndex;
            nFrom = nIndex;
        }
    }

    CSubject m_subject;
    std::string m_strTag;
    PROCESS_INFORMATION m_pi = {};
    HWND m_hDlg = nullptr;
    double m_dStartup = 0;
    std::unique_ptr<CCpuClock> m_pCpu;
};

// The bare walk: every top-level window from the top of the z-order, each
// title read whole. Answers the number of windows.
int WalkAllTitles(HWND hFrom)
{
    static std::vector<char> title;
    int nWindows = 0;
    for (HWND hWnd = GetWindow(hFrom, GW_HWNDFIRST); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
    {
        int nLength = GetWindowTextLengthA(hWnd);
        title.resize(static_cast<size_t>(nLength) + 1);
        GetWindowTextA(hWnd, title.data(), nLength + 1);
        ++nWindows;
    }
    return nWindows;
}

// ---------------------------------------------------------------- executable facts

struct CExecutable
{
    std::string strLabel;
    std::string strPath;
    ULONGLONG nSize = 0;
    std::vector<std::string> imports;   // DLL names from the import directory
};

// Reads the file size and the names of the DLLs the executable imports.
CExecutable InspectExecutable(const std::string& strLabel, const std::string& strPath)
{
    CExecutable exe;
    exe.strLabel = strLabel;
    exe.strPath = strPath;
    FILE* pFile = fopen(strPath.c_str(), "rb");
    if (pFile == nullptr)
        Fail("cannot read %s", strPath.c_str());
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pFile)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(pFile);
    exe.nSize = bytes.size();

    auto read32 = [&](size_t nOffset) -> DWORD {
        if (nOffset + 4 > bytes.size())
            Fail("%s is not a complete PE file", strPath.c_str());
        DWORD dw;
        memcpy(&dw, &bytes[nOffset], 4);
        return dw;
    };
    auto read16 = [&](size_t nOffset) -> WORD { return static_cast<WORD>(read32(nOffset) & 0xFFFF); };
    size_t nPe = read32(0x3C);
    WORD nSections = read16(nPe + 6);
    WORD nOptionalSize = read16(nPe + 20);
    size_t nOptional = nPe + 24;
    bool b64 = read16(nOptional) == 0x20B;
    DWORD nImportRva = read32(nOptional + (b64 ? 120 : 104));
    size_t nSectionTable = nOptional + nOptionalSize;
    auto fileOffset = [&](DWORD nRva) -> size_t {
        for (WORD i = 0; i < nSections; ++i)
        {
            size_t nHeader = nSectionTable + 40u * i;
            DWORD nVirtual = read32(nHeader + 12), nVirtualSize = read32(nHeader + 8);
            DWORD nRaw = read32(nHeader + 20), nRawSize = read32(nHeader + 16);
            if (nRva >= nVirtual && nRva < nVirtual + std::max(nVirtualSize, nRawSize))
                return nRva - nVirtual + nRaw;
        }
        Fail("%s: address %lx is in no section", strPath.c_str(), static_cast<unsigned long>(nRva));
    };
    if (nImportRva == 0)
        return exe;
    for (size_t nDescriptor = fileOffset(nImportRva);; nDescriptor += 20)
    {
        DWORD nName = read32(nDescriptor + 12);
        if (nName == 0)
            break;
        size_t nAt = fileOffset(nName);
        std::string strName;
        while (nAt < bytes.size() && bytes[nAt] != 0)
            strName += static_cast<char>(bytes[nAt++]);
        exe.imports.push_back(strName);
    }
    return exe;
}

bool IsSystemDll(std::string strName)
{
    static const char* const SYSTEM_DLLS[] = {
        "kernel32.dll", "user32.dll",   "gdi32.dll",  "shell32.dll",  "comctl32.dll", "advapi32.dll",
        "msvcrt.dll",   "ntdll.dll",    "ole32.dll",  "oleaut32.dll", "comdlg32.dll", "shlwapi.dll",
        "psapi.dll",    "version.dll",  "uxtheme.dll", "imm32.dll",   "winmm.dll",    "ws2_32.dll"};
    for (char& c : strName)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (strName.rfind("api-ms-win-", 0) == 0)
        return true;
    return std::find_if(std::begin(SYSTEM_DLLS), std::end(SYSTEM_DLLS),
                        [&](const char* p) { return strName == p; }) != std::end(SYSTEM_DLLS);
}

// ---------------------------------------------------------------- results

struct COptions
{
    CSubject program{"Gyrovanter", "", ID_TRAY_EXIT};
    CSubject baseline{"baseline", "", IDCANCEL};
    std::string strFarm;
    std::string strOut;
    std::vector<std::pair<std::string, std::string>> executables;
    int nRounds = 5;
    int nTurns = 15;
    int nIdleSeconds = 30;
    int nTimingSeconds = 60;
};

class CReport
{
public:
    void Row(const std::string& strFigure, const std::string& strProgram, const std::string& strReference,
             const std::string& strRatio, const std::string& strGoal, bool bMet, const std::string& strNote = "")
    {
        m_strTable += "| " + strFigure + " | " + strProgram + " | " + strReference + " | " + strRatio + " | " +
                      strGoal + " | " + (bMet ? "met" : "**missed**") + (strNote.empty() ? "" : "; " + strNote) +
                      " |\n";
        Log("%s: %s vs %s, %s (goal %s): %s", strFigure.c_str(), strProgram.c_str(), strReference.c_str(),
            strRatio.c_str(), strGoal.c_str(), bMet ? "met" : "MISSED");
    }

    // A ratio row of two samples: median / median against a limit.
    void RatioRow(const std::string& strFigure, const CSample& program, const CSample& reference,
                  double dScale, const char* pszUnit, double dLimit, const std::string& strGoal,
                  const std::string& strNote = "", int nDecimals = 1)
    {
        double dRatio = program.Median() / reference.Median();
        Row(strFigure, program.Text(dScale, pszUnit, nDecimals), reference.Text(dScale, pszUnit, nDecimals),
            Format("%.2f\xC3\x97", dRatio), strGoal, dRatio <= dLimit, strNote);
    }

    void Detail(const std::string& strLine)
    {
        m_strDetails += "- " + strLine + "\n";
    }

    void Write(const std::string& strPath) const
    {
        FILE* pFile = fopen(strPath.c_str(), "wb");
        if (pFile == nullptr)
            Fail("cannot write %s", strPath.c_str());
        fprintf(pFile, "| Figure | Gyrovanter | Baseline or reference | Ratio | Goal | Verdict |\n");
        fprintf(pFile, "|---|---|---|---|---|---|\n%s\n", m_strTable.c_str());
        fprintf(pFile, "Raw rounds and details:\n\n%s", m_strDetails.c_str());
        fclose(pFile);
    }

private:
    std::string m_strTable;
    std::string m_strDetails;
};

// ---------------------------------------------------------------- the measurements

const int STARTUP_FARM = 250;
const int REBUILD_FARMS[] = {250, 1000, 2000};

void MeasureStartup(const COptions& options, CReport& report)
{
    CFarm farm(options.strFarm, STARTUP_FARM);
    CSample startup[2], memory[2], cpu[2];
    const CSubject* subjects[2] = {&options.program, &options.baseline};
    for (int nRound = 0; nRound < options.nRounds; ++nRound)
        for (int i = 0; i < 2; ++i)
        {
            CDialogProgram program(*subjects[i], STARTUP_FARM + 1);
            startup[i].Add(program.Startup());
            Sleep(500);   // let it finish painting before its memory is read
            double dMemory = WorkingSetMB(program.Process());
            memory[i].Add(dMemory);
            cpu[i].Add(program.CpuSeconds());
            Log("start-up %s: %.1f ms, %.1f MB", program.Name(), program.Startup() * 1000, dMemory);
        }
    report.RatioRow(Format("Start-up (to the dialog with its lists filled, %d farm windows)", STARTUP_FARM),
                    startup[0], startup[1], 1000, "ms", 1.2, "\xE2\x89\xA4 1.2\xC3\x97 baseline");
    report.RatioRow("Resident memory after start-up (working set)", memory[0], memory[1], 1, "MB", 1.2,
                    "\xE2\x89\xA4 1.2\xC3\x97 baseline");
    report.Detail("CPU of the process from its start until half a second after its dialog was ready: Gyrovanter " +
                  cpu[0].Text(1000, "ms") + ", baseline " + cpu[1].Text(1000, "ms"));
    report.Detail("start-up, Gyrovanter (ms): " + startup[0].Raw(1000, 1));
    report.Detail("start-up, baseline (ms): " + startup[1].Raw(1000, 1));
    report.Detail("working set after start-up, Gyrovanter (MB): " + memory[0].Raw(1, 2));
    report.Detail("working set after start-up, baseline (MB): " + memory[1].Raw(1, 2));
}

// Wall time, and the CPU time of the working process and of the Wine server,
// over one stretch of work.
struct CCost
{
    double dWall;
    double dCpu;
    double dServer;
};

const CCpuClock g_server = CCpuClock::WineServer();

CCost MeasureCost(const std::function<double()>& processCpu, const std::function<void()>& work)
{
    double dCpu = processCpu(), dServer = g_server.Seconds(), dStart = Now();
    work();
    return {Now() - dStart, processCpu() - dCpu, g_server.Seconds() - dServer};
}

// The costs of one figure over the rounds.
struct CCostSample
{
    CSample wall, cpu, server;

    void Add(const CCost& cost, double dScale = 1)
    {
        wall.Add(cost.dWall * dScale);
        cpu.Add(cost.dCpu * dScale);
        server.Add(cost.dServer * dScale);
    }

    std::string Text() const
    {
        return "wall " + wall.Text(1000, "ms") + ", own CPU " + cpu.Text(1000, "ms") + ", Wine server CPU " +
               server.Text(1000, "ms");
    }
};

typedef CDialogProgram* CPair[2];

// "Reread lists" at each farm size. Each round starts the program, then the
// baseline, and measures one rebuild of each on the dialog in front, as a
// user would press the button; only one of them runs at a time, since a
// second dialog program on the desktop made the first one's rebuilds slower
// by 10 to 25 % in trials. The start-up's own rebuild warms each process up.
// The farm of the last size stays for the later figures.
void MeasureRebuilds(const COptions& options, std::unique_ptr<CFarm>& farm, CReport& report)
{
    const CSubject* subjects[2] = {&options.program, &options.baseline};
    for (int nCount : REBUILD_FARMS)
    {
        farm.reset();
        farm.reset(new CFarm(options.strFarm, nCount));
        CCostSample rebuild[2];
        CSample memory[2];
        int nWindows = 0;
        for (int nRound = 0; nRound < options.nRounds; ++nRound)
            for (int i = 0; i < 2; ++i)
            {
                CDialogProgram program(*subjects[i], nCount + 1);
                nWindows = WalkAllTitles(program.Dialog());
                SetForegroundAndWait(program.Dialog());
                rebuild[i].Add(MeasureCost([&] { return program.CpuSeconds(); },
                                           [&] { program.Click(IDC_REREAD); }));
                LRESULT nLines = Send(program.Item(IDC_WINDOW10), CB_GETCOUNT);
                if (nLines < nCount + 1)
                    Fail("%s lists %ld lines after the rebuild, fewer than %d", program.Name(),
                         static_cast<long>(nLines), nCount + 1);
                memory[i].Add(WorkingSetMB(program.Process()));
            }
        CSample work[2];
        for (int i = 0; i < 2; ++i)
            work[i].Add(rebuild[i].cpu.Median() + rebuild[i].server.Median());
        report.RatioRow(Format("List rebuild, N = %d (%d top-level windows walked)", nCount, nWindows),
                        rebuild[0].wall, rebuild[1].wall, 1000, "ms", 1.0, "\xE2\x89\xA4 1.0\xC3\x97 baseline",
                        Format("CPU of the process and the Wine server: %.0f ms against %.0f ms, %.2f\xC3\x97",
                               work[0].Median() * 1000, work[1].Median() * 1000, work[0].Median() / work[1].Median()));
        for (int i = 0; i < 2; ++i)
        {
            report.Detail(Format("rebuild N = %d, %s: ", nCount, subjects[i]->pszName) + rebuild[i].Text());
            report.Detail(Format("rebuild N = %d, %s, wall per round (ms): ", nCount, subjects[i]->pszName) +
                          rebuild[i].wall.Raw(1000, 1));
        }
        if (nCount == REBUILD_FARMS[2])
            report.RatioRow(Format("Resident memory after the rebuild at N = %d", nCount), memory[0], memory[1], 1,
                            "MB", 1.2, "\xE2\x89\xA4 1.2\xC3\x97 baseline");
    }
}

// One turn on the farm. Slot 1 names a farm window whose title is then
// changed, so that every turn walks all windows and finds none: the work of
// the bare walk, which reads every title, plus the turn's own. The timer
// messages are sent after Start and Stop, so no timer of the program's own
// adds ticks.
void MeasureTurn(const COptions& options, CPair& programs, const CFarm& farm, CReport& report)
{
    const CFarmWindow& target = *farm.UniqueShownWindows(2)[0];
    const CFarmWindow& away = *farm.UniqueShownWindows(2)[1];
    for (CDialogProgram* p : programs)
    {
        p->Choose(1, farm.Entry(target), 1);
        p->Click(IDOK);
        p->Click(IDC_STOP);
        SetForegroundAndWait(away.hWnd);
        Send(p->Dialog(), WM_TIMER, 1);
        for (double dEnd = Now() + 2; GetForegroundWindow() != target.hWnd && Now() < dEnd;)
            Sleep(1);
        if (GetForegroundWindow() != target.hWnd)
            Fail("%s's turn did not bring \"%s\" to the front", p->Name(), target.strTitle.c_str());
        Log("%s's turn brought the chosen farm window to the front", p->Name());
    }
    std::string strChanged = target.strTitle + " (changed)";
    SetWindowTextA(target.hWnd, strChanged.c_str());
    HWND hFrom = programs[0]->Dialog();
    int nWindows = WalkAllTitles(hFrom);
    const CCpuClock self = CCpuClock::Self();
    CCostSample turn[2], walk;
    double dPerTurn = 1.0 / options.nTurns;
    for (int nRound = 0; nRound < options.nRounds; ++nRound)
        for (int i = 0; i < 2; ++i)
        {
            CDialogProgram* p = programs[i];
            turn[i].Add(MeasureCost([p] { return p->CpuSeconds(); },
                                    [&] {
                                        for (int n = 0; n < options.nTurns; ++n)
                                            Send(p->Dialog(), WM_TIMER, 1);
                                    }),
                        dPerTurn);
            if (i == 0)
                walk.Add(MeasureCost([&] { return self.Seconds(); },
                                     [&] {
                                         for (int n = 0; n < options.nTurns; ++n)
                                             WalkAllTitles(hFrom);
                                     }),
                         dPerTurn);
        }
    SetWindowTextA(target.hWnd, target.strTitle.c_str());
    for (CDialogProgram* p : programs)
        p->Choose(1, "", 1);
    report.RatioRow(Format("One turn, %d farm windows (%d walked): CPU", farm.Count(), nWindows), turn[0].cpu,
                    walk.cpu, 1000, "ms", 1.2, "\xE2\x89\xA4 1.2\xC3\x97 the bare walk");
    report.Detail(Format("one turn of the baseline: %.2f\xC3\x97 the bare walk's CPU",
                         turn[1].cpu.Median() / walk.cpu.Median()));
    for (int i = 0; i < 2; ++i)
        report.Detail(Format("one turn, %s: ", programs[i]->Name()) + turn[i].Text());
    report.Detail("one bare walk: " + walk.Text());
    report.Detail("turn CPU per round, Gyrovanter (ms): " + turn[0].cpu.Raw(1000, 2));
    report.Detail("bare walk CPU per round (ms): " + walk.cpu.Raw(1000, 2));
}

// CPU while stopped, then while running with nothing chosen.
void MeasureIdle(const COptions& options, CPair& programs, CReport& report)
{
    Sleep(1000);
    for (int nRunning = 0; nRunning < 2; ++nRunning)
    {
        if (nRunning)
            for (CDialogProgram* p : programs)
                p->Click(IDOK);
        const char* pszState = nRunning ? "running with nothing chosen" : "stopped";
        Log("measuring CPU over %d s while %s", options.nIdleSeconds, pszState);
        double adCpu[2] = {programs[0]->CpuSeconds(), programs[1]->CpuSeconds()};
        double dServer = g_server.Seconds();
        Sleep(static_cast<DWORD>(options.nIdleSeconds) * 1000);
        for (int i = 0; i < 2; ++i)
            adCpu[i] = programs[i]->CpuSeconds() - adCpu[i];
        dServer = g_server.Seconds() - dServer;
        if (nRunning)
            for (CDialogProgram* p : programs)
                p->Click(IDC_STOP);
        double dLimit = nRunning ? 0.05 : 0.01;
        report.Row(Format("CPU over %d s, %s", options.nIdleSeconds, pszState), Format("%.4f s", adCpu[0]),
                   Format("%.4f s", adCpu[1]), "\xE2\x80\x94", Format("\xE2\x89\xA4 %.2f s per 30 s", dLimit),
                   adCpu[0] * 30.0 / options.nIdleSeconds <= dLimit,
                   options.nIdleSeconds == 30 ? "" : "scaled to 30 s for the verdict");
        report.Detail(Format("Wine server CPU over the %d s %s (both programs, the farm, Wine's own processes): "
                             "%.4f s",
                             options.nIdleSeconds, pszState, dServer));
    }
}

// Turn timing: slots 1, 2 and 3 with intervals 1, 2 and 3 on three shown
// farm windows; every foreground change is timed against the tick that the
// rotation rules predict for it, counted from the return of Start.
void MeasureTiming(const COptions& options, CPair& programs, const CFarm& farm, CReport& report)
{
    std::vector<const CFarmWindow*> shown = farm.UniqueShownWindows(4);
    const int anInterval[SLOT_COUNT] = {1, 2, 3, 1, 1, 1, 1, 1, 1, 1};
    const int anChoice[SLOT_COUNT] = {1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    std::vector<std::pair<int, int>> predicted;   // tick, slot
    for (int nTick = 1, nElapsed = 0, nCursor = 1; nTick <= options.nTimingSeconds; ++nTick)
    {
        ++nElapsed;
        nCursor = SelectSlot(anChoice, nCursor);
        bool bChosen = IsSlotChosen(anChoice[nCursor - 1]);
        if (bChosen && nElapsed < DwellInterval(anChoice, anInterval, nCursor))
            continue;
        if (bChosen)
        {
            predicted.emplace_back(nTick, nCursor);
            nElapsed = 0;
        }
        nCursor = NextSlot(nCursor);
    }
    std::string astrTiming[2];
    bool bMet = false;
    for (int i = 0; i < 2; ++i)
    {
        CDialogProgram* p = programs[i];
        for (int nSlot = 1; nSlot <= 3; ++nSlot)
            p->Choose(nSlot, farm.Entry(*shown[nSlot - 1]), anInterval[nSlot - 1]);
        SetForegroundAndWait(shown[3]->hWnd);
        Log("timing the turns of %s for %d s", p->Name(), options.nTimingSeconds);
        p->Click(IDOK);
        double dStart = Now();
        std::vector<std::pair<double, HWND>> changes;
        for (HWND hLast = shown[3]->hWnd; Now() < dStart + options.nTimingSeconds + 0.6; Sleep(1))
        {
            HWND hForeground = GetForegroundWindow();
            if (hForeground != hLast)
                changes.emplace_back(Now() - dStart, hLast = hForeground);
        }
        p->Click(IDC_STOP);
        for (int nSlot = 1; nSlot <= 3; ++nSlot)
            p->Choose(nSlot, "", 1);

        // Each predicted turn takes the first later change to its window
        // within half a second; a turn without one is missed.
        CSample error;
        int nMissed = 0;
        double dWorst = 0;
        size_t nNext = 0;
        for (const auto& turn : predicted)
        {
            HWND hExpected = shown[turn.second - 1]->hWnd;
            double dPredicted = turn.first;
            size_t n = nNext;
            while (n < changes.size() && (changes[n].second != hExpected || changes[n].first < dPredicted - 0.5))
                ++n;
            if (n == changes.size() || changes[n].first > dPredicted + 0.5)
            {
                ++nMissed;
                continue;
            }
            error.Add(changes[n].first - dPredicted);
            dWorst = std::max(dWorst, std::fabs(changes[n].first - dPredicted));
            nNext = n + 1;
        }
        astrTiming[i] = Format("%zu turns, late by %s, worst %.0f ms, %d missed", predicted.size(),
                               error.Text(1000, "ms", 0).c_str(), dWorst * 1000, nMissed);
        if (i == 0)
            bMet = nMissed == 0 && dWorst <= 0.1;
        report.Detail(Format("turn timing, %s: %zu foreground changes seen; error of each turn (ms): ", p->Name(),
                             changes.size()) +
                      error.Raw(1000, 0));
    }
    report.Row(Format("Turn timing over %d s, intervals 1, 2 and 3", options.nTimingSeconds), astrTiming[0],
               astrTiming[1], "\xE2\x80\x94", "every turn within \xC2\xB1" "100 ms of its predicted time", bMet);
}

// The rebuilds, then both programs together on the largest farm.
void MeasureRunning(const COptions& options, CReport& report)
{
    std::unique_ptr<CFarm> farm;
    MeasureRebuilds(options, farm, report);
    CDialogProgram program(options.program, farm->Count() + 1);
    CDialogProgram baseline(options.baseline, farm->Count() + 1);
    CPair programs = {&program, &baseline};
    report.Detail("cores the processes may run on: Wine server " + g_server.Cores() + ", Gyrovanter " +
                  program.Cores() + ", baseline " + baseline.Cores());
    MeasureTurn(options, programs, *farm, report);
    MeasureIdle(options, programs, report);
    MeasureTiming(options, programs, *farm, report);
}

void ReportExecutables(const COptions& options, CReport& report)
{
    for (const auto& labelAndPath : options.executables)
    {
        CExecutable exe = InspectExecutable(labelAndPath.first, labelAndPath.second);
        std::string strImports;
        bool bSystemOnly = true;
        for (const std::string& strName : exe.imports)
        {
            strImports += (strImports.empty() ? "" : ", ") + strName;
            bSystemOnly = bSystemOnly && IsSystemDll(strName);
        }
        bool bProgram = exe.strLabel.rfind("Gyrovanter", 0) == 0;
        report.Row("Executable size, " + exe.strLabel,
                   Format("%llu bytes (%.1f KB)", exe.nSize, static_cast<double>(exe.nSize) / 1024), "\xE2\x80\x94",
                   "\xE2\x80\x94", "\xE2\x89\xA4 400 KB, no DLL beyond the system's",
                   !bProgram || (exe.nSize <= 400 * 1024 && bSystemOnly), "imports " + strImports);
    }
}

COptions ParseOptions(int argc, char** argv)
{
    COptions options;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        std::string strName = argv[i], strValue = argv[i + 1];
        if (strName == "--program")
            options.program.strPath = strValue;
        else if (strName == "--baseline")
            options.baseline.strPath = strValue;
        else if (strName == "--farm")
            options.strFarm = strValue;
        else if (strName == "--out")
            options.strOut = strValue;
        else if (strName == "--exe" && strValue.find('=') != std::string::npos)
            options.executables.emplace_back(strValue.substr(0, strValue.find('=')),
                                             strValue.substr(strValue.find('=') + 1));
        else if (strName == "--rounds")
            options.nRounds = std::max(1, atoi(strValue.c_str()));
        else if (strName == "--turns")
            options.nTurns = std::max(1, atoi(strValue.c_str()));
        else if (strName == "--idle")
            options.nIdleSeconds = std::max(1, atoi(strValue.c_str()));
        else if (strName == "--timing")
            options.nTimingSeconds = std::max(6, atoi(strValue.c_str()));
        else
            Fail("unknown option %s", strName.c_str());
    }
    if (options.program.strPath.empty() || options.baseline.strPath.empty() || options.strFarm.empty() ||
        options.strOut.empty())
        Fail("usage: bench_driver --program EXE --baseline EXE --farm EXE --out FILE [--exe LABEL=EXE]... "
             "[--rounds N] [--turns N] [--idle SECONDS] [--timing SECONDS]");
    return options;
}
}

int main(int argc, char** argv)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_dTicksPerSecond = static_cast<double>(frequency.QuadPart);
    g_dStart = Now();

    COptions options = ParseOptions(argc, argv);
    CReport report;
    ReportExecutables(options, report);
    MeasureStartup(options, report);
    MeasureRunning(options, report);
    report.Write(options.strOut);
    Log("done in %.0f s", Now() - g_dStart);
    return 0;
}
