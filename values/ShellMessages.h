#pragma once
// Message numbers the shell's windows exchange with the marking engine, the
// layout view and the rulers.
#include "platform/WinTypes.h"

constexpr UINT WM_SHOW_MARK_COUNT = 1121;   // wParam: marked total
constexpr UINT WM_SHOW_MARK_STATUS = 1122;  // wParam: total, lParam: finished
constexpr UINT WM_MARK_FINISHED = 1123;     // passed on to the marking controller
constexpr UINT WM_RULER_MARK = 1127;        // wParam: which ruler mark to show
constexpr UINT WM_IMPORT_FILE = 1222;       // the layout view asks itself for a drawing file
constexpr UINT WM_LOAD_MRK_FILE = 1254;     // payload: the project path
constexpr UINT WM_NEXT_RECORD = 1256;       // wParam: record number
constexpr UINT WM_SHOW_MARK_TIME = 1259;    // wParam: elapsed milliseconds
