#pragma once
// The steps every layout ends with: the fixed character width, slant and
// rotation, the hand-over of the working list with the alignment on the
// anchor, and mirroring.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"
#include "text/layout/TextLayoutContext.h"

// x = position x + aspect × (x − position x), y likewise with the height
// ratio; nothing when both ratios are 1.
void ScaleByRatios(const TextSettings& s, CPointList& list);

// Stretches the list so that the text spans n × W + (n − 1) × char spacing.
// A text whose points have no width (a "1" alone) or no characters is left as it is.
void FitCharWidth(const TextSettings& s, CPointList& list);

// Shears by the slant from the list's bottom line and turns by the rotation
// about the list's left-bottom corner.
void SlantAndRotate(const TextSettings& s, CPointList& list);

// Appends the working list to the main list, moves the fixed corner onto the
// anchor (when align is set and the text is not on an arc) and mirrors.
void FinishLayout(TextLayoutContext& ctx, const CPointList& work, const CDoublePoint& anchor, bool align);
// The same for dot layouts: the target list (main, or second when asked) is
// emptied first and the working list afterwards.
void FinishDotLayout(TextLayoutContext& ctx, CPointList& work, const CDoublePoint& anchor, bool align,
                     bool toSecond);

void MirrorPointsX(CPointList& list, double a);
void MirrorPointsY(CPointList& list, double a);
// Degrees, with the stored conversion factor.
void RotateTextPoints(CPointList& list, const CDoublePoint& centre, double degrees);
