#pragma once
// The edit tool bar's icons, drawn by code: undo and redo arrows, scissors,
// two sheets for copy, a clipboard for paste, a cross for delete, a dashed
// frame for select all (crossed for clear all), numbered steps for the mark
// order and padlocks for the locks.
#include <QIcon>

// Null icon for a command that is not on the edit tool bar.
QIcon EditToolIcon(int commandId);
