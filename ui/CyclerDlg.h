// CCyclerDlg: the control dialog, the program's main window. Ten rows (slots)
// of a window list and an interval field, the instructions, and the buttons
// Start, Stop, About, Close and "Reread lists". Its members hold the slot
// table of the circulation; the circulation itself (the tick, Start and Stop,
// the rotation rules, bringing an entry to the front) is in engine/, and the
// window lists are built in desktop/.
#pragma once

#include "afx/afxctrl.h"
#include "afx/afxdlg.h"
#include "engine/SlotRules.h"
#include "res/resource.h"
#include "tray/TrayIcon.h"

// The tray icon's callback message to the dialog.
#define WM_TRAYNOTIFY (WM_USER + 10)

class CCyclerDlg : public CDialog
{
public:
    explicit CCyclerDlg(CWnd* pParent = nullptr);
    ~CCyclerDlg() override;

    enum { IDD = IDD_GYROVANTER_DIALOG };

    // The tray menu's Start and Stop: the same as the dialog's buttons.
    void StartCirculation();
    void StopCirculation();
    // The tray menu's Exit: ends the dialog without the Close notice.
    void ExitProgram();

    // Dialog data: the control wrappers, attached by the first exchange, and
    // the slot table. Slot n is index n - 1 of the two arrays.
    CButton m_btnReread;
    CButton m_btnStop;
    CComboBox m_cboWindow1;
    CComboBox m_cboWindow2;
    CComboBox m_cboWindow3;
    CComboBox m_cboWindow4;
    CComboBox m_cboWindow5;
    CComboBox m_cboWindow6;
    CComboBox m_cboWindow7;
    CComboBox m_cboWindow8;
    CComboBox m_cboWindow9;
    CComboBox m_cboWindow10;
    CButton m_btnStart;
    int m_nInterval[SLOT_COUNT];      // seconds the slot's window stays in front
    int m_nWindowChoice[SLOT_COUNT];  // selected line of the slot's list; 0: no window
    CString m_strInstructions;
    int m_nElapsed;                   // seconds since the last turn
    int m_nCurrentSlot;               // the slot whose turn comes next, 1 to 10 while running
    HICON m_hIcon;
    int m_nTrayFrame;                 // frame of the tray animation, 1 to 4
    CTrayIcon m_trayIcon;

    // The window list of slot nSlot (1 to 10).
    CComboBox& WindowList(int nSlot);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The Start button (IDOK): starts the circulation; never ends the dialog.
    void OnOK() override;
    // Close, Escape and the close box: a notice, then the dialog hides to the
    // notification area. The program goes on.
    void OnCancel() override;

    // The system menu's About item; every other system command as usual.
    void OnSysCommand(UINT nID, LPARAM lParam);
    // Draws the icon while the dialog is minimised.
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAboutButton();

    // The tick: timer 1, once a second while the circulation runs.
    void OnTimer(UINT_PTR nIDEvent);
    // The Stop button.
    void OnStop();
    // The "Reread lists" button: builds the ten window lists anew.
    void OnRereadLists();

    // The rotation rules over the slot table.
    void SelectCurrentSlot();
    int GetDwellInterval() const;
    void AdvanceCurrentSlot();
    // Brings the window that a window entry names to the front, if it lives.
    void BringEntryToFront(const CString& strEntry);

    // Start, Stop and "Reread lists" enabled as when stopped, or as when running.
    void ShowButtonPattern(BOOL bRunning);

    DECLARE_MESSAGE_MAP()
};
