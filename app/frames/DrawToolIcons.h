#pragma once
// The draw tool bar's icons, drawn by code: one small picture per tool
// command (an arrow, a dot, a line, a polygon, a rectangle, a polyline, an
// ellipse, a spline, lettered boxes for the text kinds and a framed drawing for
// the library's special picture).
#include <QIcon>

// Null icon for a command that is not a drawing tool.
QIcon DrawToolIcon(int commandId);
