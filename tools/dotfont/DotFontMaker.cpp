#include "tools/dotfont/DotFontMaker.h"

#include <algorithm>
#include <climits>

#include "text/fonts/dot/DotFontFile.h"

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 16;

void PutI32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
}

}  // namespace

bool MakeDotFont(const std::vector<std::pair<std::uint8_t, InkGlyph>>& glyphs, std::vector<std::uint8_t>& bytes,
                 std::string& error) {
  if (glyphs.size() > static_cast<std::size_t>(kDotFontMaxRecords)) {
    error = "a dot font holds at most " + std::to_string(kDotFontMaxRecords) + " characters";
    return false;
  }
  int left = INT_MAX;
  for (const auto& [code, glyph] : glyphs) {
    for (const InkPixel& p : glyph.pixels) left = std::min(left, p.x);
  }
  bytes.assign(kDotFontHeaderBytes, 0);
  for (const auto& [code, glyph] : glyphs) {
    std::vector<std::uint8_t> dots;
    for (const InkPixel& p : glyph.pixels) {
      if (p.y < 0) continue;
      const int column = p.x - left;
      if (column >= kColumns || p.y >= kRows) {
        error = "the glyph of '" + std::string(1, static_cast<char>(code)) + "' does not fit a cell of " +
                std::to_string(kColumns) + " by " + std::to_string(kRows) + " dots";
        return false;
      }
      dots.push_back(static_cast<std::uint8_t>(128 + column * kRows + p.y));
    }
    std::sort(dots.begin(), dots.end());
    dots.erase(std::unique(dots.begin(), dots.end()), dots.end());
    bytes.insert(bytes.end(), {0, 0, 0, code});
    PutI32(bytes, static_cast<std::int32_t>(dots.size()));
    PutI32(bytes, 0);
    bytes.insert(bytes.end(), dots.begin(), dots.end());
  }
  return true;
}
