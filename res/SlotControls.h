// The controls of the control dialog's ten rows, slot 1 first: each slot's
// window list and interval field. The ids are not consecutive.
#pragma once

#include "res/resource.h"

inline constexpr int SLOT_WINDOW_LIST_IDS[10] = { IDC_WINDOW1, IDC_WINDOW2, IDC_WINDOW3, IDC_WINDOW4,
                                                  IDC_WINDOW5, IDC_WINDOW6, IDC_WINDOW7, IDC_WINDOW8,
                                                  IDC_WINDOW9, IDC_WINDOW10 };
inline constexpr int SLOT_INTERVAL_IDS[10] = { IDC_INTERVAL1, IDC_INTERVAL2, IDC_INTERVAL3, IDC_INTERVAL4,
                                               IDC_INTERVAL5, IDC_INTERVAL6, IDC_INTERVAL7, IDC_INTERVAL8,
                                               IDC_INTERVAL9, IDC_INTERVAL10 };
