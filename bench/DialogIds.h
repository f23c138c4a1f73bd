// The control dialog's ten window lists and ten interval fields, slot 1
// first: the benchmark's programs address the rows by slot number.
#pragma once

#include "engine/SlotRules.h"
#include "res/resource.h"

inline constexpr int WINDOW_LISTS[SLOT_COUNT] = {IDC_WINDOW1, IDC_WINDOW2, IDC_WINDOW3, IDC_WINDOW4,
                                                 IDC_WINDOW5, IDC_WINDOW6, IDC_WINDOW7, IDC_WINDOW8,
                                                 IDC_WINDOW9, IDC_WINDOW10};
inline constexpr int INTERVAL_FIELDS[SLOT_COUNT] = {IDC_INTERVAL1, IDC_INTERVAL2, IDC_INTERVAL3,
                                                    IDC_INTERVAL4, IDC_INTERVAL5, IDC_INTERVAL6,
                                                    IDC_INTERVAL7, IDC_INTERVAL8, IDC_INTERVAL9,
                                                    IDC_INTERVAL10};
