#pragma once
// What one layout call works on: the text object's settings, its two point
// lists, the installation folder the fonts are read from, and what went wrong
// on the way (the layout draws what it can and reports the rest here).
#include <string>
#include <vector>

#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "text/layout/TextSettings.h"

struct TextLayoutReport {
  int strokeStatus = 0;     // status bits of the stroke-font engine, over all lines
  int glyphsFailed = 0;     // lines whose stroke font stopped at a glyph that failed
  int glyphsMissing = 0;    // characters a dot, bitmap or outline font did not have
  bool fontMissing = false; // a font file or face could not be opened
  // The font files (or TrueType faces) the text needed and did not have, each
  // once, as the text's settings name them (code page 936 bytes).
  std::vector<std::string> missingFonts;
  void Clear() { *this = TextLayoutReport(); }
  void NoteMissingFont(const std::string& name);
};

class ShxFontCache;

struct TextLayoutContext {
  TextSettings& s;
  CPointList& main;
  CPointList& second;
  std::string installFolder;
  TextLayoutReport report;
  // Stroke fonts kept open by the caller beyond this layout (a ruler's labels
  // share one); without it the layout keeps its own.
  ShxFontCache* strokeFonts = nullptr;

  // Bounds of both point lists (the zero rectangle when both are empty).
  CDoubleRect Bounds() const;
  // Moves both lists and the position.
  void Offset(double dx, double dy);
};
