#pragma once
// Circles, arcs and ellipses of DXF drawings as runs of points: the first
// with the pen up, the others drawn.
#include "text/exchange/dxf/DxfPointSink.h"

constexpr double kDxfDegToRad = 0.0174532;
constexpr double kDxfFullTurn = 6.2831852;
constexpr double kDxfCircleAngle = 45.0;  // start and end of a full circle

// Arc from startDeg to endDeg (degrees, counter-clockwise; a start not below
// the end wraps through 0). 7.5 points per millimetre of radius, 8 to 540 per turn.
// Mirrored: the entity's extrusion points down (0, 0, -1), so its own x axis
// is the drawing's -x; centre and points are reflected accordingly.
void EmitDxfArc(DxfPointSink& sink, double cx, double cy, double radius, double startDeg, double endDeg,
                bool mirrored = false);

// The drawn points of a polyline segment from (x1, y1) to (x2, y2) with a bulge
// (tangent of a quarter of the included angle, positive counter-clockwise):
// the points along the arc after the start, then the end itself. A bulge of 0
// gives the end alone. Same point density as EmitDxfArc.
void EmitDxfBulgeSegment(DxfPointSink& sink, double x1, double y1, double x2, double y2, double bulge);

// Elliptical arc from parameter start to end (radians); (mx, my) is the end of
// the major axis relative to the centre, ratio the minor to major axis.
void EmitDxfEllipse(DxfPointSink& sink, double cx, double cy, double mx, double my, double ratio, double start,
                    double end);
