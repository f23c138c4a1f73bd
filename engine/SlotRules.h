// The rotation rules over the slot table: which slot has the next turn, how
// long the window in front stays there, and where the cursor goes after a
// turn. Slots are numbered 1 to 10; the arrays hold slot n at index n - 1.
// The rules need no window system.
#pragma once

const int SLOT_COUNT = 10;

// A slot is chosen when its window choice is not 0 (-1, no line selected,
// counts as chosen).
inline bool IsSlotChosen(int nWindowChoice)
{
    return nWindowChoice != 0;
}

// The cursor after selection: the first chosen slot from nCurrent up to 9;
// else 10 when slot 10 is chosen, else 1 (even when slot 1 is not chosen).
int SelectSlot(const int anWindowChoice[SLOT_COUNT], int nCurrent);

// Seconds the window in front stays before the turn of slot nCurrent: the
// interval of the first chosen slot found going backward around the circle
// from just before the cursor, the cursor itself last; slot 1's interval when
// none is chosen. Intervals are used as they are, also outside 1 to 3600.
int DwellInterval(const int anWindowChoice[SLOT_COUNT], const int anInterval[SLOT_COUNT], int nCurrent);

// The cursor after a turn: one slot on, 10 wrapping to 1.
int NextSlot(int nCurrent);
