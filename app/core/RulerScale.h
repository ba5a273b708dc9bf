#pragma once
// The millimetre scale of a ruler beside the layout view: ticks every 2.5 mm
// of screen from the work area's zero, longer every second and fourth tick,
// and a label on every fourth with (i / 4) / scale, signed by the side of the
// zero it lies on. Positions run along the ruler's band in pixels.
#include <string>
#include <vector>

struct RulerTick {
  int position = 0;   // along the band
  int length = 0;     // 12, 8 or 4 pixels
  bool longMark = false;  // i a multiple of 8 (the label sits 4 pixels further in)
  std::string label;  // empty on unlabelled ticks
};

// zero: the work area's centre along the band. positiveAfter: values grow
// past the zero (the top ruler, left to right); otherwise they grow before it
// (the left ruler, upwards). Ticks at 3 pixels or less are dropped, and so is
// the band beyond its length.
std::vector<RulerTick> RulerTicks(int bandLength, int zero, double pxPerMm, float scale, bool positiveAfter);
