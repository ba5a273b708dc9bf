#include "libs/tabrion/ColumnWidths.h"

#include <algorithm>
#include <cmath>

#include "libs/tabrion/DefaultFont.h"

namespace tabrion {
namespace {

// Two pixels of margin on each side and one of grid line.
constexpr int kPaddingPixels = 5;
// Widest column a spreadsheet allows, in characters.
constexpr double kMaxCharacters = 255;

// Pixels of a whole column from its stored width, rounded as the spreadsheet
// rounds it: whole 1/256 characters, then whole pixels.
int ColumnPixels(double stored) {
  double w = std::clamp(stored, 0.0, kMaxCharacters);
  return static_cast<int>(std::floor((std::floor(256 * w) + 128 / kDigitPixels) * kDigitPixels / 256));
}

int TextOf(int columnPixels) { return std::max(0, columnPixels - kPaddingPixels); }

bool HasWidth(double stored) { return std::isfinite(stored) && stored > 0; }

}  // namespace

void ColumnWidths::SetBaseWidth(double characters) {
  if (std::isfinite(characters) && characters >= 0) baseCharacters_ = std::min(characters, kMaxCharacters);
}

void ColumnWidths::SetDefaultWidth(double stored) {
  if (HasWidth(stored)) defaultPixels_ = TextOf(ColumnPixels(stored));
}

void ColumnWidths::SetWidth(long first, long last, double stored) {
  if (!HasWidth(stored)) return;
  first = std::max(first, 1L);
  last = std::min(last, static_cast<long>(kReadableColumns));
  for (long c = first; c <= last; ++c) pixels_[static_cast<std::size_t>(c - 1)] = TextOf(ColumnPixels(stored));
}

int ColumnWidths::TextPixels(int column) const {
  if (column >= 1 && column <= kReadableColumns && pixels_[static_cast<std::size_t>(column - 1)] >= 0)
    return pixels_[static_cast<std::size_t>(column - 1)];
  if (defaultPixels_ >= 0) return defaultPixels_;
  // The base width with its padding, rounded up to whole 8 pixels: 8
  // characters give the standard 64-pixel column, shown as 8.43.
  int pixels = static_cast<int>(std::ceil(baseCharacters_ * kDigitPixels)) + kPaddingPixels;
  return TextOf((pixels + 7) / 8 * 8);
}

}  // namespace tabrion
