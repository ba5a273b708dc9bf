#pragma once
// Texts in a stroke font pair: each line through the stroke-font engine, then
// the ratios, the fixed character width and the finishing steps.
#include "document/geometry/CDoublePoint.h"
#include "text/layout/TextLayoutContext.h"

void LayoutShx(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align);

// The main and big font file names of a stroke font pair ("main+big"), each
// with ".shx".
void SplitStrokeFontPair(const std::string& pair, std::string& mainFile, std::string& bigFile);
