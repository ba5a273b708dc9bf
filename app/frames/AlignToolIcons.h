#pragma once
// The align tool bar's icons, drawn by code: two bars lined up against the
// edge they are aligned to, or centred on a cross for "Align center".
#include <QIcon>

// Null icon for a command that is not an alignment.
QIcon AlignToolIcon(int commandId);
