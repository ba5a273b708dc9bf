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

// Marking, machine position and settings commands of the layout view.
constexpr int ID_START_MARK = 32822;
constexpr int ID_MARK_NO_GAS = 32823;
constexpr int ID_PAUSE_MARK = 32848;
constexpr int ID_JUMP_WAITING = 32854;
constexpr int ID_MARK_INFO_DATABASE = 32860;
constexpr int ID_OPEN_MARK_WINDOW = 32864;
constexpr int ID_CHECK_VIN_MARKED = 32863;
constexpr int ID_HAND_SCROLL_TO_ORIGIN = 32846;
constexpr int ID_DITHERING_SET = 32847;
constexpr int ID_CONFIG_MACHINE_ORIGIN = 32855;
constexpr int ID_POINTED_POSITION = 32858;
constexpr int ID_SELECT_POINTED_POSITION = 32859;
constexpr int ID_MACHINE_ORIGIN = 32910;
constexpr int ID_ORIGIN_BY_HAND = 32908;
constexpr int ID_TEST_HARDWARE = 32836;
constexpr int ID_DEMO_OBJECT_BORDER = 32911;
constexpr int ID_DEMO_OBJECT_ORBIT = 32912;
constexpr int ID_DEMO_MAX_BORDER = 32917;
constexpr int ID_MARK_BORDER = 32915;
constexpr int ID_MARK_ORBIT = 32916;
constexpr int ID_MARK_MAX_BORDER = 32918;
constexpr int ID_DELETE_SELECTION = 32798;  // the editing commands' delete
constexpr int ID_PERMIT_MARK = 32919;
constexpr int ID_PRINT_EDGE_SETTING = 32739;
constexpr int ID_PRINT_LAYOUT_NOW = 32740;  // posted by the marking controller
constexpr int ID_SYNC_PAPER_PRINT = 32741;
constexpr int ID_SOFT_TYPE = 32874;
constexpr int ID_RS232_SETTING = 32839;
constexpr int ID_SCREEN_SIZE = 32866;
constexpr int ID_LOOK_DATABASE = 32861;
constexpr int ID_CLEAR_DATABASE = 32862;
// The spreadsheet link.
constexpr int ID_BAND_EXCEL = 32738;    // link on or off
constexpr int ID_CONFIG_EXCEL = 32737;  // dialog 183
constexpr int ID_PRE_RECORD = 32736;
constexpr int ID_NEXT_RECORD = 32735;

// The Edit menu's clipboard, selection and lock commands.
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_SELECT_ALL = 32799;
constexpr int ID_CLEAR_ALL = 32800;
constexpr int ID_CHANGE_MARK_ORDER = 32835;
constexpr int ID_LOCK = 32902;
constexpr int ID_UNLOCK = 32903;
constexpr int ID_REMOVE_LOCK = 32906;
constexpr int ID_LOCK_ALL = 32907;
// The alignments of the selection.
constexpr int ID_ALIGN_CENTER = 32802;
constexpr int ID_ALIGN_LEFT = 32805;
constexpr int ID_ALIGN_RIGHT = 32806;
constexpr int ID_ALIGN_TOP = 32807;
constexpr int ID_ALIGN_BOTTOM = 32808;

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
constexpr int ID_ADD_SPECIAL_PICTURE = 32867;  // a drawing from the library folder

// Marking order and the reference arc.
constexpr int ID_APPLY_OPTIMIZE_SPEED = 32841;
constexpr int ID_REFER_ARC_ALIGN = 32888;
constexpr int ID_ALIGN_LINE = 32899;

struct CommandInfo {
  int id;
  const char* menuText;  // with '&' accelerator marks and "\t" shortcut
  const char* tip;
};

// The table, in menu order within each menu.
std::span<const CommandInfo> CommandTable();
const CommandInfo* FindCommand(int id);

}  // namespace cmd
