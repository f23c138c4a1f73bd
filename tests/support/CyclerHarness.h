// The control dialog for tests: an application object (the program's own
// comes later in its start-up), the dialog created without a modal loop of
// its own (the test's pumping dispatches its messages), and the few things a
// user does to it, done through its controls and messages.
#pragma once

#include "afx/afxapp.h"
#include "ui/CyclerDlg.h"

#include <string>
#include <vector>

class CCyclerHarness
{
public:
    // Creates the dialog; it initialises as it opens.
    CCyclerHarness();
    ~CCyclerHarness();
    CCyclerHarness(const CCyclerHarness&) = delete;
    CCyclerHarness& operator=(const CCyclerHarness&) = delete;

    CCyclerDlg& Dlg() { return m_dlg; }
    HWND Hwnd() const { return m_dlg.m_hWnd; }
    HWND Control(int nID) const { return GetDlgItem(m_dlg.m_hWnd, nID); }
    HWND WindowList(int nSlot) const;
    HWND IntervalField(int nSlot) const;

    // What the user sees in the controls.
    std::string FieldText(int nSlot) const;
    std::vector<std::string> ListLines(int nSlot) const;
    int Selection(int nSlot) const;
    bool IsEnabled(int nID) const { return IsWindowEnabled(Control(nID)) != FALSE; }

    // What the user does. Choose selects the line of the entry (false when
    // the list has no such line); ChooseIndex selects by index (-1: none).
    void SetFieldText(int nSlot, const std::string& strText);
    bool Choose(int nSlot, const std::string& strEntry);
    void ChooseIndex(int nSlot, int nIndex);
    void ClickButton(int nID);
    void Tick();

private:
    CWinApp m_app;
    CCyclerDlg m_dlg;
};

// The entry that lists a window of this process.
std::string OwnEntry(const std::string& strTitle);
