#include "app/core/CommandIds.h"

#include <array>

namespace cmd {

namespace {
constexpr std::array<CommandInfo, 70> kCommands{{
    {ID_FILE_NEW, "New(&N)\tCtrl+N", "New layout"},
    {ID_FILE_OPEN, "Open(&O)...\tCtrl+O", "Open a layout"},
    {ID_FILE_CLOSE, "Close(&C)", "Close the layout"},
    {ID_FILE_SAVE, "Save(&S)\tCtrl+S", "Save the layout"},
    {ID_FILE_SAVE_AS, "Save as(&A)...", "Save the layout under a new name"},
    {ID_EXPORT_POINTS_IMAGE, "Export points image(*.pts)", "Save the layout's dots as a dot image"},
    {ID_FILE_PRINT, "Print(&P)...\tCtrl+P", "Print the layout"},
    {ID_FILE_PRINT_DIRECT, "Print direct", "Print the layout on the default printer"},
    {ID_FILE_PRINT_SETUP, "Print setup(&R)...", "Printer settings"},
    {ID_APP_EXIT, "Exit(&X)", "Quit the program"},
    {ID_NEW_LAYOUT, "New layout", "New layout"},
    {ID_VIEW_TOOLBAR, "Toolbar(&T)", "Show or hide the tool bar"},
    {ID_VIEW_STATUS_BAR, "Status bar(&S)", "Show or hide the status bar"},
    {ID_VIEW_EDIT_TOOLBAR, "Display edit toolbar(&H)", "Show or hide the edit tool bar"},
    {ID_VIEW_ALIGN_TOOLBAR, "Display align toolbar(I)", "Show or hide the align tool bar"},
    {ID_WINDOW_CASCADE, "Cascade(&C)", "Cascade the layout windows"},
    {ID_WINDOW_TILE_HORZ, "Tile(&T)", "Tile the layout windows"},
    {ID_WINDOW_ARRANGE, "Arrange icons(&A)", "Arrange the minimised windows"},
    {ID_CHANGE_ACTIVE_PANE, "Change active window(&H)", "Switch between the layout and the property pane"},
    {ID_APP_ABOUT, "About Vendrik(&A)...", "Program version"},
    {ID_FILE_MRU_FILE1, "Recent file 1", "Open this layout"},
    {ID_FILE_MRU_FILE1 + 1, "Recent file 2", "Open this layout"},
    {ID_FILE_MRU_FILE1 + 2, "Recent file 3", "Open this layout"},
    {ID_FILE_MRU_FILE4, "Recent file 4", "Open this layout"},
    {ID_START_MARK, "Start mark(S)", "Start marking"},
    {ID_MARK_NO_GAS, "Mark(No Gas)(&E)", "Mark with the air valve off"},
    {ID_PAUSE_MARK, "Pause marking", "Pause marking"},
    {ID_JUMP_WAITING, "Jump waiting...", "Jump waiting..."},
    {ID_MARK_INFO_DATABASE, "Add mark information into database", "Mark info add database"},
    {ID_OPEN_MARK_WINDOW, "Open marking window", "Open marking window"},
    {ID_CHECK_VIN_MARKED, "Check vin-code is marked?", "Check vin-code is marked?"},
    {ID_HAND_SCROLL_TO_ORIGIN, "Hand scroll object to orign", "Hand scroll object to orign"},
    {ID_DITHERING_SET, "Twitter set...(&W)", "Dithering control"},
    {ID_CONFIG_MACHINE_ORIGIN, "Config machine origin", "Config machine origin"},
    {ID_POINTED_POSITION, "Pointed position", "Pointed position"},
    {ID_SELECT_POINTED_POSITION, "Select pointed position", "Select pointed position"},
    {ID_MACHINE_ORIGIN, "Machine origin", "Machine origin"},
    {ID_ORIGIN_BY_HAND, "Orign by hand", "Orign by hand"},
    {ID_TEST_HARDWARE, "Test hardware", "Test hardware"},
    {ID_DEMO_OBJECT_BORDER, "(1):Object border(demo)", "Trace every object's border, air off"},
    {ID_DEMO_OBJECT_ORBIT, "(2):Object orbit(demo)", "Trace the objects' paths, air off"},
    {ID_DEMO_MAX_BORDER, "(3):Max border(demo)", "Trace the border of all objects, air off"},
    {ID_MARK_BORDER, "(4):Mark border", "Mark every object's border"},
    {ID_MARK_ORBIT, "(5):[ Mark orbit ]", "Mark the objects' paths"},
    {ID_MARK_MAX_BORDER, "(6):Mark max border", "Mark the border of all objects"},
    {ID_PERMIT_MARK, "(8):[Permit/Disable] mark", "Permit or disable marking of the selected objects"},
    {ID_PRINT_EDGE_SETTING, "Print edge seting", "Config printer"},
    {ID_PRINT_LAYOUT_NOW, "Print layout", "Print the layout on the default printer"},
    {ID_SYNC_PAPER_PRINT, "On/Off(synchronization printer)", "On/Off(synchronization printer)"},
    {ID_SOFT_TYPE, "Soft type and PCI-board", "Soft type and PCI-board"},
    {ID_RS232_SETTING, "RS232 setting", "RS232 setting"},
    {ID_SCREEN_SIZE, "Physics screen size", "Physics screen size"},
    {ID_LOOK_DATABASE, "Look database information", "Look database information"},
    {ID_CLEAR_DATABASE, "Clear database data", "Clear database data"},
    {ID_EDIT_UNDO, "Undo(&U)\tCtrl+Z", "Undo"},
    {ID_EDIT_REDO, "ReDo(&R)\tCtrl+Y", "Redo"},
    {ID_SELECT_NONE, "Select none(&E)", "Select"},
    {ID_ADD_POINT, "Add point", "Add point"},
    {ID_ADD_LINE, "Add line(&L)", "Add line"},
    {ID_ADD_POLYLINE, "Add polyline(&M)", "Polyline line"},
    {ID_ADD_RECTANGLE, "Add rectangle(&R)", "Add rectangle"},
    {ID_ADD_MULTIBORDER, "Add multi-borders(&P)", "Multi borders"},
    {ID_ADD_ARC, "Add arc(&C)", "Add arc"},
    {ID_ADD_SPLINE, "Spline", "Spline"},
    {ID_ADD_TEXT, "Add text(&T)", "Add text"},
    {ID_ADD_AUTO_TEXT, "Add auto number text", "Add auto number text"},
    {ID_ADD_SYSTEM_DATE, "System date(D)", "System time"},
    {ID_ADD_VIN, "Vin(17 code)(&F)", "vin code"},
    {ID_ADD_RULER, "Add ruler", "Add ruler"},
    {ID_ADD_BARCODE, "Add barcode", "Barcode"},
}};
}  // namespace

std::span<const CommandInfo> CommandTable() { return kCommands; }

const CommandInfo* FindCommand(int id) {
  for (const CommandInfo& c : kCommands) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

}  // namespace cmd
