#pragma once
// Every menu and tool-bar command of the shell: id, menu text and tool tip.
// Handlers are looked up by id along the route active view, child frame,
// main frame, application; a command nobody handles is shown disabled.
#include <span>

namespace cmd {

// Framework commands.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;  // no dialog: the default printer
constexpr int ID_FILE_MRU_FILE1 = 57616;  // the four recent files
constexpr int ID_FILE_MRU_FILE4 = 57619;
constexpr int ID_WINDOW_ARRANGE = 57649;
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// The program's own.
constexpr int ID_NEW_LAYOUT = 1221;           // second "new" command
constexpr int ID_VIEW_EDIT_TOOLBAR = 32820;   // second tool bar on/off
constexpr int ID_VIEW_ALIGN_TOOLBAR = 32821;  // third tool bar on/off
constexpr int ID_CHANGE_ACTIVE_PANE = 32833;
constexpr int ID_EXPORT_POINTS_IMAGE = 32743;  // the document's dot export

// Undo, redo and the drawing tools of the layout view.
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 32786;
constexpr int ID_SELECT_NONE = 32872;
constexpr int ID_ADD_POINT = 32845;
constexpr int ID_ADD_LINE = 32873;
constexpr int ID_ADD_MULTIBORDER = 32817;
constexpr int ID_ADD_RECTANGLE = 32774;
constexpr int ID_ADD_POLYLINE = 32809;
constexpr int ID_ADD_ARC = 32775;
constexpr int ID_ADD_TEXT = 32776;
constexpr int ID_ADD_AUTO_TEXT = 32777;
constexpr int ID_ADD_SYSTEM_DATE = 32781;
constexpr int ID_ADD_VIN = 32780;
constexpr int ID_ADD_RULER = 32818;
constexpr int ID_ADD_BARCODE = 32797;
constexpr int ID_ADD_SPLINE = 32819;

struct CommandInfo {
  int id;
  const char* menuText;  // with '&' accelerator marks and "\t" shortcut
  const char* tip;
};

// The table, in menu order within each menu.
std::span<const CommandInfo> CommandTable();
const CommandInfo* FindCommand(int id);

}  // namespace cmd
