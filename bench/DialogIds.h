// The control dialog's ten window lists and ten interval fields, slot 1
// first: the benchmark's programs address the rows by slot number.
#pragma once

#include "engine/SlotRules.h"
#include "res/SlotControls.h"

inline constexpr const int (&WINDOW_LISTS)[SLOT_COUNT] = SLOT_WINDOW_LIST_IDS;
inline constexpr const int (&INTERVAL_FIELDS)[SLOT_COUNT] = SLOT_INTERVAL_IDS;
