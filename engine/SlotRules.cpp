#include "engine/SlotRules.h"

namespace
{
// The cursor is 1 to 10 while a run goes on. A timer message that reaches
// the dialog before the first Start finds it at 0; any cursor outside the
// table is taken as slot 1 so that no rule reads outside the arrays.
int ValidSlot(int nSlot)
{
    return (nSlot >= 1 && nSlot <= SLOT_COUNT) ? nSlot : 1;
}

bool Chosen(const int anWindowChoice[SLOT_COUNT], int nSlot)
{
    return IsSlotChosen(anWindowChoice[nSlot - 1]);
}
}

int SelectSlot(const int anWindowChoice[SLOT_COUNT], int nCurrent)
{
    for (int nSlot = ValidSlot(nCurrent); nSlot < SLOT_COUNT; ++nSlot)
        if (Chosen(anWindowChoice, nSlot))
            return nSlot;
    return Chosen(anWindowChoice, SLOT_COUNT) ? SLOT_COUNT : 1;
}

int DwellInterval(const int anWindowChoice[SLOT_COUNT], const int anInterval[SLOT_COUNT], int nCurrent)
{
    int nCursor = ValidSlot(nCurrent);
    for (int nStep = 1; nStep <= SLOT_COUNT; ++nStep)
    {
        int nSlot = (nCursor - 1 - nStep + 2 * SLOT_COUNT) % SLOT_COUNT + 1;
        if (Chosen(anWindowChoice, nSlot))
            return anInterval[nSlot - 1];
    }
    return anInterval[0];
}

int NextSlot(int nCurrent)
{
    return (nCurrent >= 1 && nCurrent < SLOT_COUNT) ? nCurrent + 1 : 1;
}
