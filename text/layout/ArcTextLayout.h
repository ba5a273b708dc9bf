#pragma once
// Stroke and outline texts bent onto a circle about the text's position: each
// character (and each space) becomes a group that is turned and placed on the
// arc in text order.
#include <memory>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/path/CStrokeGroup.h"
#include "text/layout/TextLayoutContext.h"

// Only when |arc radius| > 2.
void ArrangeOnArc(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);

// One group per character or space, in text order; spaces are placed but not drawn.
struct ArcGlyph {
  std::unique_ptr<CStrokeGroup> group;
  bool space = false;
};
void PlaceGlyphsOnArc(TextLayoutContext& ctx, std::vector<ArcGlyph>& glyphs, const CDoublePoint& anchor, bool align);
