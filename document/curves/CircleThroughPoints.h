#pragma once
// The circle through three points, as the three-point arc and the arc fitter
// both find it: where the perpendicular bisectors of the two chords meet.
#include "document/geometry/CDoublePoint.h"

// Centre of the circle through p1, p2 and p3; false when they are collinear.
bool CircleCentre(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3, CDoublePoint& centre);
