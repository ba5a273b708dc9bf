#pragma once
// Messages the marking controller posts to the layout view; the main frame's
// numbers are the shell's.
#include "values/ShellMessages.h"
#include "platform/WinTypes.h"

constexpr UINT WM_MARK_OBJECT_DONE = 1120;  // wParam: the element just marked with air

// Commands posted to the view as WM_COMMAND (wParam).
constexpr WPARAM ID_PRINT_LAYOUT_DIRECT = 32740;  // print the layout on paper
constexpr WPARAM ID_NEXT_RECORD = 32735;          // next spreadsheet row

// Status-bar panes and control ids of the two progress bars.
constexpr int ID_PANE_PROGRESS_TOTAL = 61352;
constexpr int ID_PANE_PROGRESS_LOCAL = 61351;
constexpr int IDC_PROGRESS_TOTAL = 1134;
constexpr int IDC_PROGRESS_LOCAL = 1135;
