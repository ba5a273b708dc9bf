#include "tools/dotfont/HzkFontMaker.h"

#include <algorithm>
#include <climits>

namespace {

bool IsChineseCharacter(std::uint16_t code) { return (code >> 8) >= 0xB0; }

}  // namespace

HzkPlacement PlaceInHzkCell(const std::vector<std::pair<std::uint16_t, InkGlyph>>& glyphs, int rows) {
  const bool anyChinese = std::any_of(glyphs.begin(), glyphs.end(), [](const auto& g) {
    return IsChineseCharacter(g.first) && !g.second.pixels.empty();
  });
  int left = INT_MAX, top = INT_MIN, bottom = INT_MAX;
  for (const auto& [code, glyph] : glyphs) {
    if (anyChinese && !IsChineseCharacter(code)) continue;
    for (const InkPixel& p : glyph.pixels) {
      left = std::min(left, p.x);
      top = std::max(top, p.y);
      bottom = std::min(bottom, p.y);
    }
  }
  if (left == INT_MAX) return {0, rows - 1};
  // A box taller than the cell loses as much at the top as at the bottom.
  const int spare = rows - (top - bottom + 1);
  return {left, top + (spare >= 0 ? spare / 2 : -((-spare) / 2))};
}

std::vector<std::uint8_t> MakeHzkFont(const HzkGeometry& geometry,
                                      const std::vector<std::pair<std::uint16_t, InkGlyph>>& glyphs) {
  const int h = geometry.bytesPerRow;
  const int rows = geometry.bytesPerGlyph / h;
  const HzkPlacement at = PlaceInHzkCell(glyphs, rows);
  std::vector<std::uint8_t> bytes;
  for (const auto& [code, glyph] : glyphs) {
    const auto lead = static_cast<std::uint8_t>(code >> 8);
    const auto trail = static_cast<std::uint8_t>(code & 0xFF);
    if (lead < 0xA1 || trail < 0xA1) continue;
    const long offset = HzkGlyphOffset(geometry, lead, trail);
    // Whole rows of 94 cells.
    const long rowEnd = HzkGlyphOffset(geometry, lead, 0xFE) + geometry.bytesPerGlyph;
    if (bytes.size() < static_cast<std::size_t>(rowEnd)) bytes.resize(static_cast<std::size_t>(rowEnd), 0);
    for (const InkPixel& p : glyph.pixels) {
      const int column = p.x - at.left;
      const int row = at.top - p.y;
      if (column < 0 || column >= rows || row < 0 || row >= rows) continue;
      bytes[static_cast<std::size_t>(offset + row * h + column / 8)] |= static_cast<std::uint8_t>(0x80 >> (column % 8));
    }
  }
  return bytes;
}
