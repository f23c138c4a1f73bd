// The rotation rules and the turn's lookup as members of the control dialog:
// they work on its slot table through the pure rules of SlotRules.h and the
// lookup of WindowLookup.h.
#include "ui/CyclerDlg.h"

#include "engine/WindowLookup.h"

void CCyclerDlg::SelectCurrentSlot()
{
    m_nCurrentSlot = SelectSlot(m_nWindowChoice, m_nCurrentSlot);
}

int CCyclerDlg::GetDwellInterval() const
{
    return DwellInterval(m_nWindowChoice, m_nInterval, m_nCurrentSlot);
}

void CCyclerDlg::AdvanceCurrentSlot()
{
    m_nCurrentSlot = NextSlot(m_nCurrentSlot);
}

void CCyclerDlg::BringEntryToFront(const CString& strEntry)
{
    // Any top-level window starts the walk; the dialog is one.
    BringWindowEntryToFront(m_hWnd, strEntry);
}
