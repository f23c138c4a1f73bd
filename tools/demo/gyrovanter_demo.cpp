// The headless demo's driver: three coloured sample windows, and Gyrovanter
// driven through its dialog and tray icon the way a user does, with
// screenshots at the moments worth seeing and a log of which window came to
// the front when.
//
//   gyrovanter_demo <Gyrovanter.exe> <output folder>
//
// Screenshots are taken by the calling script, which watches the output
// folder: for a shot the driver writes NAME.request holding the rectangle to
// capture ("x y width height", or nothing for the whole screen) and waits for
// NAME.png to appear. Everything it does is written to demo.log in the output
// folder and to standard output. Exit code 0 when every step went as expected.
#include "res/SlotControls.h"
#include "res/resource.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestWindows.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
const UINT TRAY_CALLBACK = WM_USER + 10;
const WPARAM TRAY_ID = 129;

struct Sample
{
    const char* pszTitle;
    COLORREF color;
    int nSlot;
    const char* pszInterval;
    HWND hWnd;
};

Sample g_samples[] = {
    { "Demo Red", RGB(200, 40, 40), 1, "2", nullptr },
    { "Demo Green", RGB(40, 160, 60), 2, "3", nullptr },
    { "Demo Blue", RGB(40, 80, 200), 4, "2", nullptr },
};

std::string g_strFolder;
FILE* g_pLog = nullptr;
DWORD g_dwStart = 0;
int g_nFailures = 0;

void Log(const char* pszFormat, ...)
{
    char szLine[1024];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szLine, sizeof(szLine), pszFormat, args);
    va_end(args);
    double dSeconds = (GetTickCount() - g_dwStart) / 1000.0;
    for (FILE* pOut : { stdout, g_pLog })
        if (pOut != nullptr)
        {
            fprintf(pOut, "%7.2f s  %s\n", dSeconds, szLine);
            fflush(pOut);
        }
}

void Check(bool bOk, const char* pszWhat)
{
    if (!bOk)
    {
        ++g_nFailures;
        Log("FAILED: %s", pszWhat);
    }
}

LRESULT CALLBACK SampleProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT)
    {
        PAINTSTRUCT ps;
        HDC hDC = BeginPaint(hWnd, &ps);
        RECT rc;
        GetClientRect(hWnd, &rc);
        COLORREF color = RGB(128, 128, 128);
        char szTitle[64] = "";
        GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
        for (const Sample& sample : g_samples)
            if (sample.hWnd == hWnd)
                color = sample.color;
        HBRUSH hBrush = CreateSolidBrush(color);
        FillRect(hDC, &rc, hBrush);
        DeleteObject(hBrush);
        HFONT hFont = CreateFontA(40, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        HGDIOBJ hOld = SelectObject(hDC, hFont);
        SetBkMode(hDC, TRANSPARENT);
        SetTextColor(hDC, RGB(255, 255, 255));
        DrawTextA(hDC, szTitle, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(hDC, hOld);
        DeleteObject(hFont);
        EndPaint(hWnd, &ps);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

void CreateSamples()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SampleProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GyrovanterDemoSample";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    int i = 0;
    for (Sample& sample : g_samples)
    {
        sample.hWnd = CreateWindowExA(0, wc.lpszClassName, sample.pszTitle, WS_OVERLAPPEDWINDOW, 700 + 90 * i,
                                      120 + 110 * i, 480, 320, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(sample.hWnd, SW_SHOWNOACTIVATE);
        ++i;
    }
    PumpMessages(300);
}

std::string NameOf(const CForegroundRecorder::Change& change, HWND hDlg)
{
    for (const Sample& sample : g_samples)
        if (change.hWnd == sample.hWnd)
            return sample.pszTitle;
    if (change.hWnd == hDlg)
        return "the Gyrovanter dialog";
    return change.strName;
}

// Asks the calling script for a screenshot and waits for it, pumping the
// sample windows' messages meanwhile. hWindow NULL takes the whole screen.
void Screenshot(const char* pszName, const RECT* pRect)
{
    PumpMessages(400);
    std::string strBase = g_strFolder + "\\" + pszName;
    std::string strRequest = strBase + ".request";
    FILE* pRequest = fopen(strRequest.c_str(), "w");
    if (pRequest == nullptr)
    {
        Check(false, "writing a screenshot request");
        return;
    }
    if (pRect != nullptr)
    {
        RECT rc;
        RECT rcScreen = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
        IntersectRect(&rc, pRect, &rcScreen);
        fprintf(pRequest, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    }
    fclose(pRequest);
    std::string strShot = strBase + ".png";
    bool bTaken = WaitUntil([&] { return GetFileAttributesA(strShot.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
    Check(bTaken, "screenshot taken by the script");
    if (bTaken)
        Log("screenshot %s.png", pszName);
}

// A screenshot of a window with a margin around it; NULL for the whole screen.
void Screenshot(const char* pszName, HWND hWindow, int nMargin = 0)
{
    if (hWindow == nullptr)
    {
        Screenshot(pszName, static_cast<const RECT*>(nullptr));
        return;
    }
    RECT rc;
    GetWindowRect(hWindow, &rc);
    InflateRect(&rc, nMargin, nMargin);
    Screenshot(pszName, &rc);
}

HWND WaitForVisible(DWORD dwProcessId, LPCSTR pszClass, LPCSTR pszCaption, HWND hExcept = nullptr)
{
    HWND hFound = nullptr;
    WaitUntil(
        [&] {
            for (HWND hWnd : FindVisibleProcessWindows(dwProcessId, pszClass, pszCaption))
                if (hWnd != hExcept)
                    hFound = hWnd;
            return hFound != nullptr;
        },
        5000);
    return hFound;
}

int RunDemo(const std::string& strExe)
{
    CreateSamples();
    Log("sample windows: Demo Red, Demo Green, Demo Blue");

    CProgramProcess program(strExe);
    Check(program.IsStarted(), "starting Gyrovanter.exe");
    HWND hDlg = program.WaitForWindow("#32770", "Gyrovanter", 20000);
    Check(hDlg != nullptr, "the Gyrovanter dialog appears");
    if (hDlg == nullptr)
        return 1;
    WaitUntil([&] { return ComboLines(GetDlgItem(hDlg, IDC_WINDOW1)).size() > 1; }, 5000);
    Log("Gyrovanter started, process %lu", program.ProcessId());
    Screenshot("1-dialog", hDlg);

    // Choose the samples and their intervals, as a user picks lines and types.
    for (const Sample& sample : g_samples)
    {
        char szEntry[128];
        snprintf(szEntry, sizeof(szEntry), "%s <(PID=%lu)>", sample.pszTitle, GetCurrentProcessId());
        int nIndex = FindComboLine(hDlg, SLOT_WINDOW_LIST_IDS[sample.nSlot - 1], szEntry);
        Check(nIndex > 0, "the sample window is in the list");
        ChooseComboLine(hDlg, SLOT_WINDOW_LIST_IDS[sample.nSlot - 1], nIndex);
        SetControlText(hDlg, SLOT_INTERVAL_IDS[sample.nSlot - 1], sample.pszInterval);
        Log("slot %d: %s, %s s", sample.nSlot, szEntry, sample.pszInterval);
    }
    PumpMessages(200);
    Screenshot("2-configured", hDlg);

    // Start, and watch the windows take turns.
    CForegroundRecorder recorder;
    BringToFront(hDlg);
    recorder.Restart();
    DWORD dwRunStart = GetTickCount();
    ClickButton(hDlg, IDOK);
    Log("Start pressed");
    Check(WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(hDlg, IDOK)); }, 3000), "Start disables itself");
    WaitUntil([&] { return GetForegroundWindow() == g_samples[1].hWnd; }, 8000);
    Screenshot("3-cycling", static_cast<HWND>(nullptr));
    WaitUntil([&] { return GetTickCount() - dwRunStart >= 12000; }, 15000);

    // The About box, from the About button.
    ClickButton(hDlg, IDC_ABOUT);
    HWND hAbout = WaitForVisible(program.ProcessId(), "#32770", "About Gyrovanter");
    Check(hAbout != nullptr, "the About box opens");
    if (hAbout != nullptr)
    {
        Log("About box open");
        BringToFront(hAbout);
        Screenshot("4-about", hAbout);
        ClickButton(hAbout, IDOK);
        Check(WaitUntil([&] { return !IsWindowVisible(hAbout); }, 3000), "OK closes the About box");
    }

    // Close: the notice, then the dialog goes to the tray while the run goes on.
    ClickButton(hDlg, IDCANCEL);
    HWND hNotice = WaitForVisible(program.ProcessId(), "#32770", "Gyrovanter", hDlg);
    Check(hNotice != nullptr, "Close shows its notice");
    if (hNotice != nullptr)
    {
        Log("Close notice: %s", ControlText(hNotice, 0xFFFF).c_str());
        Screenshot("5-close-notice", hNotice, 4);
        ClickButton(hNotice, IDOK);
    }
    Check(WaitUntil([&] { return !IsWindowVisible(hDlg); }, 3000), "the dialog hides");
    Log("dialog hidden; the run goes on");
    PumpMessages(3000);

    // The tray icon's menu, from a right click on the icon; Escape closes it.
    // Under Wine, with no system tray on the X display, the icons sit in a
    // small window of Wine's own, the first one at its top left; the pointer
    // goes to the icon's lower right corner, so that the menu, which opens at
    // the pointer, leaves the icon in sight.
    HWND hTray = FindWindowA("__winex11_standalone_tray", nullptr);
    RECT rcTray = {};
    if (hTray != nullptr && IsWindowVisible(hTray))
    {
        GetWindowRect(hTray, &rcTray);
        SetCursorPos(rcTray.left + 22, rcTray.top + 42);
    }
    HWND hMenu = nullptr;
    for (int nAttempt = 0; nAttempt < 3 && hMenu == nullptr; ++nAttempt)
    {
        PostMessageW(hDlg, TRAY_CALLBACK, TRAY_ID, WM_RBUTTONUP);
        hMenu = WaitForVisible(program.ProcessId(), "#32768", nullptr);
        if (hMenu != nullptr && !HoldsFor([&] { return IsWindowVisible(hMenu) != FALSE; }, 300))
            hMenu = nullptr;
    }
    Check(hMenu != nullptr, "a right click opens the tray menu");
    if (hMenu != nullptr)
    {
        Log("tray menu open");
        RECT rcShot;
        GetWindowRect(hMenu, &rcShot);
        UnionRect(&rcShot, &rcShot, &rcTray);
        InflateRect(&rcShot, 12, 12);
        Screenshot("6-tray-menu", &rcShot);
        PostKey(hMenu, VK_ESCAPE);
        WaitUntil([&] { return !IsWindowVisible(hMenu); }, 3000);
    }

    // A double-click on the icon shows the dialog again, as it was left.
    PostMessageW(hDlg, TRAY_CALLBACK, TRAY_ID, WM_LBUTTONDBLCLK);
    Check(WaitUntil([&] { return IsWindowVisible(hDlg) != FALSE; }, 3000), "a double-click shows the dialog");
    Log("dialog shown again by a double-click on the tray icon");
    Screenshot("7-shown-again", hDlg);

    // Exit from the tray menu.
    PostCommand(hDlg, ID_TRAY_EXIT);
    Check(program.WaitForExit(5000), "Exit ends the program");
    Log("Exit chosen; the program has ended");

    Log("which window came to the front when (seconds after Start):");
    for (const CForegroundRecorder::Change& change : recorder.Changes())
        if (change.hWnd != nullptr)
            Log("  %6.2f s  %s", change.dSeconds, NameOf(change, hDlg).c_str());
    return g_nFailures == 0 ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        fprintf(stderr, "usage: gyrovanter_demo <Gyrovanter.exe> <output folder>\n");
        return 2;
    }
    g_dwStart = GetTickCount();
    g_strFolder = argv[2];
    g_pLog = fopen((g_strFolder + "\\demo.log").c_str(), "w");
    int nResult = RunDemo(argv[1]);
    if (nResult == 0)
        Log("demo finished");
    else
        Log("demo finished with %d failed steps", g_nFailures);
    if (g_pLog != nullptr)
        fclose(g_pLog);
    return nResult;
}
