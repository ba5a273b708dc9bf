#pragma once
// Circles, arcs and ellipses of DXF drawings as runs of points: the first
// with the pen up, the others drawn.
#include "text/exchange/dxf/DxfPointSink.h"

constexpr double kDxfDegToRad = 0.0174532;
constexpr double kDxfFullTurn = 6.2831852;
constexpr double kDxfCircleAngle = 45.0;  // start and end of a full circle

// Arc from startDeg to endDeg (degrees, counter-clockwise; a start not below
// the end wraps through 0). 7.5 points per millimetre of radius, 8 to 540 per turn.
void EmitDxfArc(DxfPointSink& sink, double cx, double cy, double radius, double startDeg, double endDeg);

// Elliptical arc from parameter start to end (radians); (mx, my) is the end of
// the major axis relative to the centre, ratio the minor to major axis.
void EmitDxfEllipse(DxfPointSink& sink, double cx, double cy, double mx, double my, double ratio, double start,
                    double end);
