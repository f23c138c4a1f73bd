// Start and Stop of the circulation: the only places that set and kill
// timer 1 and switch the buttons between their stopped and running patterns.
#include "ui/CyclerDlg.h"

namespace
{
const UINT_PTR TICK_TIMER = 1;
const UINT TICK_MILLISECONDS = 1000;
}

void CCyclerDlg::ShowButtonPattern(BOOL bRunning)
{
    m_btnStart.EnableWindow(!bRunning);
    m_btnStop.EnableWindow(bRunning);
    m_btnReread.EnableWindow(!bRunning);
}

void CCyclerDlg::OnOK()
{
    // A failed check has shown its message; the circulation starts all the
    // same, with the table as far as it was copied. The base's OnOK, which
    // would end the dialog, is not called.
    UpdateData(TRUE);
    ShowButtonPattern(TRUE);
    // Replaces a running timer 1: its next tick comes a full second later.
    SetTimer(TICK_TIMER, TICK_MILLISECONDS, nullptr);
    m_nElapsed = 0;
    m_nCurrentSlot = 1;
}

void CCyclerDlg::OnStop()
{
    ShowButtonPattern(FALSE);
    KillTimer(TICK_TIMER);
    m_trayIcon.SetTrayIcon(IDR_TRAYICON);
}

void CCyclerDlg::StartCirculation()
{
    OnOK();
}

void CCyclerDlg::StopCirculation()
{
    OnStop();
}
