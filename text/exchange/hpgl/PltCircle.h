#pragma once
// The points of a plotted circle ("CI"): a ring of chords starting at 45
// degrees, closed through 0 degrees and back to 45 degrees.
#include "text/exchange/hpgl/PltPointSink.h"

// Number of chords for radius r in mm: 7.5 r, kept within 8 to 540.
double PltCircleDivisions(double r);

// Adds the circle's points to the sink: the first with the pen up, the rest
// down. A circle whose points would not all be finite adds nothing.
void AddPltCircle(PltPointSink& sink, double cx, double cy, double r);
