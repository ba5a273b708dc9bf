#pragma once
// Texts in a TrueType face: each character's outline from the font system,
// placed with the pen advancing by the character widths, each line scaled to
// the char height and set with its left and top edges on the line position.
// Units on the way are those of the screen at 100 × the pixels per millimetre
// and 96 logical pixels per inch: a cell is 1.85 char heights tall.
#include <string>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"
#include "text/layout/TextLayoutContext.h"

void LayoutTrueType(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);
// The lines of the text in the face, into the working list (no slant,
// rotation or finishing). False when no face could be opened.
bool LayoutTrueTypeLines(TextLayoutContext& ctx, const TextLogFont& font, CPointList& work);

// Samples a cubic Bezier at t = 0, 0.25, 0.5, 0.75 and 1, each appended
// joined unless it equals the list's last point.
void FlattenBezier(const double px[4], const double py[4], CPointList& out);
// Scales the line from its first point by char height / 72, flips it upright
// and puts its left and top edges on (f, g).
void ScaleTrueTypeLine(const TextSettings& s, int first, double f, double g, CPointList& list);
// The star token's outline from its origin.
void AddStarOutline(double x, double y, CPointList& out);

// The logical pixels per inch the outlines are sized for.
constexpr int kTrueTypeLogPixelsY = 96;
