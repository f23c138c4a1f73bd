// The circulation tick: the control dialog's handler of timer 1, once a
// second while the circulation runs.
#include "ui/CyclerDlg.h"

namespace
{
// The running pictures of the tray icon by frame 1 to 4: in this order the
// coloured windows move on counter-clockwise, the way the arrows point.
const UINT RUNNING_ICONS[4] = { IDI_RUNNING_1, IDI_RUNNING_2, IDI_RUNNING_3, IDI_RUNNING_4 };
}

void CCyclerDlg::OnTimer(UINT_PTR)
{
    // Take over what the user changed since the last tick. A failed check has
    // shown its message; the tick goes on with the table as far as it was
    // copied. While that message is open, the ticks that its loop dispatches
    // copy nothing (UpdateData answers FALSE at once) and so open no further
    // box, but count, turn and animate as usual.
    UpdateData(TRUE);

    ++m_nElapsed;
    SelectCurrentSlot();
    int nDwell = GetDwellInterval();

    if (!IsSlotChosen(m_nWindowChoice[m_nCurrentSlot - 1]))
    {
        // Only slot 1 gets here, after the selection stepped back to it: it
        // is passed over and the count goes on.
        AdvanceCurrentSlot();
    }
    else if (m_nElapsed >= nDwell)
    {
        CString strEntry;
        WindowList(m_nCurrentSlot).GetWindowText(strEntry);
        if (!strEntry.IsEmpty())
            BringEntryToFront(strEntry);
        m_nElapsed = 0;
        AdvanceCurrentSlot();
    }

    if (++m_nTrayFrame > 4)
        m_nTrayFrame = 1;
    m_trayIcon.SetTrayIcon(RUNNING_ICONS[m_nTrayFrame - 1]);
}
