#include "app/core/CommandIds.h"

#include <array>

namespace cmd {

namespace {
constexpr std::array<CommandInfo, 69> kCommands{{
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
    // The layout view's import, editing, arranging, zoom and needle commands.
    {32782, "Import file(&I)", "Import a drawing file (*.dxf, *.plt)"},
    {32857, "Import modules", "Import modules"},
    {32742, "Import points image(*.pts)", "Import points image(*.pts)"},
    {57634, "Copy(&C)\tCtrl+C", "Copy"},
    {57635, "Cut(&T)\tCtrl+X", "Cut"},
    {57637, "Paste(&P)\tCtrl+V", "Paste"},
    {32798, "Delete(&D)\tCtrl+D", "Delete"},
    {32799, "Select all(&A)\tCtrl+A", "Select all"},
    {32800, "Clear all(&M)", "Clear all"},
    {32835, "Change mark order(&O)", "Change mark order"},
    {32801, "Rotate(&R)", "Rotate"},
    {32842, "Matrix copy", "Matrix copy objects"},
    {32849, "Fill vector image", "Fill vector image"},
    {32843, "Miror(X)", "Miror(X)"},
    {32844, "mirror(Y)", "mirror(Y)"},
    {32802, "Align center(&Z)", "Align center"},
    {32805, "Align left(&L)", "Align left"},
    {32806, "Align right(&H)", "Align right"},
    {32807, "Align top(&I)", "Align top"},
    {32808, "Align bottom(&J)", "Align bottom"},
    {32856, "Offset", "Offset"},
    {32837, "Object size", "Object size"},
    {32868, "Oring view(&O)", "Oring view"},
    {32869, "Zoom in(&G)", "Zoom in"},
    {32870, "Zoom out(&M)", "Zoom out"},
    {32871, "Window view(&B)", "Window view"},
    {32783, "Zoom in(local)(&E)", "Zoom in(local)"},
    {32812, "Move view", "Move view"},
    {32810, "Fresh view(&F)", "Fresh view"},
    {32850, "Layer No.1", "Layer No.1"},
    {32851, "Layer No.2", "Layer No.2"},
    {32852, "Layer No.3", "Layer No.3"},
    {32853, "Layer No.4", "Layer No.4"},
    {32902, "Lock", "Lock"},
    {32903, "Unlock", "Unlock"},
    {32906, "Remove lock", "Remove lock"},
    {32907, "Lock all", "Lock all"},
    {32824, "Apply start-back path(&T)", "Apply start-back path"},
    {32881, "Mouse position", "Mouse position"},
    {32882, "Drag gas needle", "\\Drad gas needle"},
    {32886, "Selected tracking", "selected tracking"},
    {32733, "Lock arc point-1", "Lock arc point-1"},
    {32734, "Lock arc point-2", "Lock arc point-2"},
    {32887, "Two point for refer arc radius", "two point for refer arc radius"},
    {32889, "Select refer arc", "select refer arc"},
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
