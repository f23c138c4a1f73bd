// The benchmark's yardstick: the control dialog's job done the straightforward
// way, with plain user32 calls from one dialog procedure. Same template, same
// ten sorted lists, same one-second timer and the same lookup as the program,
// but no framework classes, no window-system seam and no tray icon.
//
// Buttons: Start (1) sets the timer, Stop (3) kills it, "Reread lists" (1013)
// rebuilds the lists, Close (2) ends the program. Every timer message runs one
// tick, whichever timer it names, so the benchmark can drive ticks itself.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/DialogIds.h"

namespace
{
const char PID_MARK[] = " <(PID=";

int g_anInterval[SLOT_COUNT];
int g_anWindowChoice[SLOT_COUNT];
int g_nElapsed = 0;
int g_nCurrentSlot = 0;

// The whole title of a window; "" for none.
void ReadTitle(HWND hWnd, std::vector<char>& title)
{
    int nLength = GetWindowTextLengthA(hWnd);
    title.resize(static_cast<size_t>(nLength) + 1);
    title[0] = '\0';
    if (nLength > 0)
        GetWindowTextA(hWnd, title.data(), nLength + 1);
}

// Empties the ten lists and fills them with " <No window selected>" and one
// "%s <(PID=%d)>" line for every titled top-level window, top of the z-order
// first; then selects line 0 everywhere and shows the stored intervals.
void RereadLists(HWND hDlg)
{
    HCURSOR hOldCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    for (int nId : WINDOW_LISTS)
    {
        SendDlgItemMessageA(hDlg, nId, CB_RESETCONTENT, 0, 0);
        SendDlgItemMessageA(hDlg, nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(" <No window selected>"));
    }
    std::vector<char> title, entry;
    for (HWND hWnd = GetWindow(hDlg, GW_HWNDFIRST); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
    {
        ReadTitle(hWnd, title);
        if (title[0] == '\0')
            continue;
        DWORD dwProcessId = 0;
        GetWindowThreadProcessId(hWnd, &dwProcessId);
        entry.resize(title.size() + 32);
        snprintf(entry.data(), entry.size(), "%s <(PID=%d)>", title.data(), static_cast<int>(dwProcessId));
        for (int nId : WINDOW_LISTS)
            SendDlgItemMessageA(hDlg, nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.data()));
    }
    for (int nSlot = 0; nSlot < SLOT_COUNT; ++nSlot)
    {
        g_anWindowChoice[nSlot] = 0;
        SendDlgItemMessageA(hDlg, WINDOW_LISTS[nSlot], CB_SETCURSEL, 0, 0);
        SetDlgItemInt(hDlg, INTERVAL_FIELDS[nSlot], static_cast<UINT>(g_anInterval[nSlot]), TRUE);
    }
    SetCursor(hOldCursor);
}

// Takes the intervals and window choices from the dialog; a field that holds
// no number keeps the slot's interval.
void ReadSlots(HWND hDlg)
{
    for (int nSlot = 0; nSlot < SLOT_COUNT; ++nSlot)
    {
        BOOL bNumber = FALSE;
        int nInterval = static_cast<int>(GetDlgItemInt(hDlg, INTERVAL_FIELDS[nSlot], &bNumber, TRUE));
        if (bNumber)
            g_anInterval[nSlot] = nInterval;
        g_anWindowChoice[nSlot] =
            static_cast<int>(SendDlgItemMessageA(hDlg, WINDOW_LISTS[nSlot], CB_GETCURSEL, 0, 0));
    }
}

// Splits "title <(PID=n)>" at the last " <(PID=" and brings the first
// top-level window with exactly that title and process to the front.
void BringEntryToFront(HWND hDlg, const char* pszEntry)
{
    const char* pszMark = nullptr;
    for (const char* p = strstr(pszEntry, PID_MARK); p != nullptr; p = strstr(p + 1, PID_MARK))
        pszMark = p;
    if (pszMark == nullptr)
        return;
    size_t nTitleLength = static_cast<size_t>(pszMark - pszEntry);
    DWORD dwProcessId = static_cast<DWORD>(atoi(pszMark + strlen(PID_MARK)));
    std::vector<char> title;
    for (HWND hWnd = GetWindow(hDlg, GW_HWNDFIRST); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
    {
        ReadTitle(hWnd, title);
        if (title.size() != nTitleLength + 1 || memcmp(title.data(), pszEntry, nTitleLength) != 0)
            continue;
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner == dwProcessId)
        {
            SetForegroundWindow(hWnd);
            return;
        }
    }
}

// One tick: take the dialog's settings, count a second, and at the end of
// the window in front's interval bring the next chosen slot's window forward.
void Tick(HWND hDlg)
{
    ReadSlots(hDlg);
    ++g_nElapsed;
    g_nCurrentSlot = SelectSlot(g_anWindowChoice, g_nCurrentSlot);
    int nDwell = DwellInterval(g_anWindowChoice, g_anInterval, g_nCurrentSlot);
    bool bChosen = IsSlotChosen(g_anWindowChoice[g_nCurrentSlot - 1]);
    if (bChosen && g_nElapsed < nDwell)
        return;
    if (bChosen)
    {
        std::vector<char> entry;
        ReadTitle(GetDlgItem(hDlg, WINDOW_LISTS[g_nCurrentSlot - 1]), entry);
        if (entry[0] != '\0')
            BringEntryToFront(hDlg, entry.data());
        g_nElapsed = 0;
    }
    g_nCurrentSlot = NextSlot(g_nCurrentSlot);
}

void SetRunning(HWND hDlg, bool bRunning)
{
    EnableWindow(GetDlgItem(hDlg, IDOK), !bRunning);
    EnableWindow(GetDlgItem(hDlg, IDC_STOP), bRunning);
    EnableWindow(GetDlgItem(hDlg, IDC_REREAD), !bRunning);
}

INT_PTR CALLBACK BaselineDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM)
{
    switch (uMsg)
    {
    case WM_INITDIALOG:
        for (int& nInterval : g_anInterval)
            nInterval = 1;
        SetDlgItemTextA(hDlg, IDC_INSTRUCTIONS, "Baseline: pick windows and intervals, then press Start.");
        RereadLists(hDlg);
        SetRunning(hDlg, false);
        return TRUE;
    case WM_TIMER:
        Tick(hDlg);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case IDOK:
            ReadSlots(hDlg);
            SetRunning(hDlg, true);
            SetTimer(hDlg, 1, 1000, nullptr);
            g_nElapsed = 0;
            g_nCurrentSlot = 1;
            return TRUE;
        case IDC_STOP:
            SetRunning(hDlg, false);
            KillTimer(hDlg, 1);
            return TRUE;
        case IDC_REREAD:
            RereadLists(hDlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_GYROVANTER_DIALOG), nullptr, BaselineDlgProc, 0));
}
