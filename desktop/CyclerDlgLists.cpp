// The window lists of the control dialog: all ten filled with the line for
// "no window" and one window entry for every top-level window with a title.
#include "ui/CyclerDlg.h"

#include "afx/afxapp.h"
#include "desktop/WindowSystem.h"
#include "desktop/WindowTitle.h"
#include "engine/WindowEntry.h"

#include <cstring>
#include <vector>

void CCyclerDlg::OnRereadLists()
{
    CWaitCursor wait;

    // One walk of the top-level windows, from the top of the z-order down,
    // every window whatever its visibility, owner or process; only those
    // without a title are left out.
    CWindowSystem& system = GetWindowSystem();
    std::vector<CString> entries;
    UINT nBytes = static_cast<UINT>(strlen(NO_WINDOW_LINE)) + 1;
    for (HWND hWnd = system.GetWindow(m_hWnd, GW_HWNDFIRST); hWnd != nullptr;
         hWnd = system.GetWindow(hWnd, GW_HWNDNEXT))
    {
        CString strTitle = ReadWindowTitle(hWnd);
        if (strTitle.IsEmpty())
            continue;
        DWORD dwProcessId = 0;
        system.GetWindowThreadProcessId(hWnd, &dwProcessId);
        entries.push_back(FormatWindowEntry(strTitle, dwProcessId));
        nBytes += static_cast<UINT>(entries.back().GetLength()) + 1;
    }

    // Each list is filled in one go without redrawing, with its storage
    // reserved first. The lists are sorted; "no window" goes in last at index
    // 0, because a title that begins with blanks or control characters would
    // sort ahead of it, and index 0 means no window throughout the program.
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
    {
        CComboBox& list = WindowList(nSlot);
        list.SendMessage(WM_SETREDRAW, FALSE);
        list.ResetContent();
        list.InitStorage(static_cast<int>(entries.size()) + 1, nBytes);
        for (const CString& strEntry : entries)
            list.AddString(strEntry);
        list.InsertString(0, NO_WINDOW_LINE);
        list.SendMessage(WM_SETREDRAW, TRUE);
        ::InvalidateRect(list.GetSafeHwnd(), nullptr, TRUE);
    }

    for (int i = 0; i < SLOT_COUNT; ++i)
        m_nWindowChoice[i] = 0;
    UpdateData(FALSE);
}
