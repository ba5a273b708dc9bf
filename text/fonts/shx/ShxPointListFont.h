#pragma once
// A point-list font (".fnt"): a table of characters and, for each, a list of
// points in units of a fifth of the text height, each with its own stroke flag.
#include <cstdint>
#include <unordered_map>

#include "text/fonts/shx/ShxFontFile.h"

struct ShxListPoint {
  double x = 0;
  double y = 0;
  std::uint8_t flag = 0;
};

class ShxPointListFont {
 public:
  explicit ShxPointListFont(ShxFontFile& file) : file_(file) {}

  // Positions the file at the first point of the character's glyph and gives
  // the number of points the file really holds there (never more than its
  // stated count); false when the character is not in the table.
  bool FindGlyph(std::uint8_t character, std::uint32_t& pointCount);
  // The next point of the glyph found last.
  bool ReadPoint(ShxListPoint& point);

 private:
  void ReadTable();

  ShxFontFile& file_;
  bool tableRead_ = false;
  std::unordered_map<std::uint8_t, std::uint32_t> offsets_;  // first entry of each character
};
