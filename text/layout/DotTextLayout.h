#pragma once
// Texts marked as single needle dots: digits and capitals from a ".dot" font
// (dot kind 0), GB2312 characters from the HZK bitmap fonts (kinds 2 to 5),
// or the outline points of a dot-style TrueType face made into dots (kind 1).
// The last dot of each character carries 0x20.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"
#include "text/layout/TextLayoutContext.h"

// The TrueType face of dot kind 1.
inline constexpr char kDotTrueTypeFace[] = "Atomic Clock Radio";

void LayoutDotFont(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);
void LayoutDotHzk(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);
void LayoutDotTrueType(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);
// Dot kind 1: the outline points in the main list become ordered character dots.
void BuildDotGrid(TextLayoutContext& ctx);
