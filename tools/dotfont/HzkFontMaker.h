#pragma once
// Writes a GB2312 bitmap font of one dot kind: the glyphs in code order from
// 0xA1A1, each its rows of h bytes top row first, bit 7 the leftmost dot; the
// cells of codes not given are left blank, and the file ends after the row
// of 94 codes of the last code given.
//
// All glyphs of a face are placed alike: the box that holds the ink of its
// Chinese characters (lead byte 0xB0 and above; all the glyphs when there
// are none) stands at the cell's left and halfway down it. Ink that falls
// outside the cell is cut off.
#include <cstdint>
#include <utility>
#include <vector>

#include "text/fonts/hzk/HzkFont.h"
#include "tools/dotfont/InkGlyph.h"

// Placement of a face's glyphs in the cell.
struct HzkPlacement {
  int left;  // the ink column that lands in the cell's first column
  int top;   // the ink row that lands in the cell's top row
};

// rows: the cell's rows (and columns), bytes per glyph / h.
HzkPlacement PlaceInHzkCell(const std::vector<std::pair<std::uint16_t, InkGlyph>>& glyphs, int rows);

// glyphs: code (lead byte x 256 + trail byte, both 0xA1 or above) and ink.
std::vector<std::uint8_t> MakeHzkFont(const HzkGeometry& geometry,
                                      const std::vector<std::pair<std::uint16_t, InkGlyph>>& glyphs);
