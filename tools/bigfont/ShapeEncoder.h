#pragma once
// Writes the shape bytes of one big-font character: each contour drawn from
// its first point round to it again, then a pen-up move to the advance (the
// engine advances a big-font character to the rightmost x it reached).
// A step is a one-byte vector where its direction and length allow, else a
// displacement pair: single pairs as code 8, longer runs as one code 9; the
// cheapest mix is chosen. Steps longer than a signed byte are cut up.
#include <cstdint>
#include <vector>

#include "tools/bigfont/ContourSimplifier.h"

std::vector<std::uint8_t> EncodeShape(const std::vector<GridContour>& contours, int advance);

// The vector byte for the step (high four bits the length 1..15, low four
// the direction); 0 when no vector makes that step.
std::uint8_t VectorByte(int dx, int dy);
