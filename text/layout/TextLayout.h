#pragma once
// The layout of a text object: chooses the stroke-font, TrueType or dot
// layout by the flags and bends stroke and outline texts onto their arc.
#include "document/geometry/CDoublePoint.h"
#include "text/layout/TextLayoutContext.h"

// Empties both point lists and lays the text out again at the anchor.
void CreateTextPoints(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);
