#pragma once
// Pictures drawn in a raster of dark and light pixels and written as bitmap
// files byte by byte, for the tracing tests and benchmarks.
#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <vector>

inline void PutLE32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void PutLE16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

struct RasterCentre {
  long long x;
  long long y;
};

// Row 0 is the first stored row (the bottom of a bottom-up bitmap).
struct Raster {
  Raster(int w, int h) : width(w), height(h), dark(static_cast<std::size_t>(w) * h, 0) {}
  void Set(int x, int y) { dark[static_cast<std::size_t>(y) * width + x] = 1; }
  void Clear(int x, int y) { dark[static_cast<std::size_t>(y) * width + x] = 0; }
  bool Dark(int x, int y) const { return dark[static_cast<std::size_t>(y) * width + x] != 0; }
  void Fill(int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) Set(i, j);
  }
  void Disc(int cx, int cy, int r) {
    for (int j = std::max(0, cy - r); j <= std::min(height - 1, cy + r); ++j)
      for (int i = std::max(0, cx - r); i <= std::min(width - 1, cx + r); ++i)
        if ((i - cx) * (i - cx) + (j - cy) * (j - cy) <= r * r) Set(i, j);
  }
  // A disc of radius r less the disc of radius inner: a letter O.
  void Ring(int cx, int cy, int r, int inner) {
    Disc(cx, cy, r);
    for (int j = std::max(0, cy - inner); j <= std::min(height - 1, cy + inner); ++j)
      for (int i = std::max(0, cx - inner); i <= std::min(width - 1, cx + inner); ++i)
        if ((i - cx) * (i - cx) + (j - cy) * (j - cy) <= inner * inner) Clear(i, j);
  }
  // A straight stroke `thickness` pixels wide from (x0, y0) to (x1, y1).
  void Stroke(int x0, int y0, int x1, int y1, int thickness) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int k = 0; k <= steps; ++k) {
      const int x = x0 + (steps ? (x1 - x0) * k / steps : 0), y = y0 + (steps ? (y1 - y0) * k / steps : 0);
      Fill(std::max(0, x - thickness / 2), std::max(0, y - thickness / 2),
           std::min(thickness, width - std::max(0, x - thickness / 2)),
           std::min(thickness, height - std::max(0, y - thickness / 2)));
    }
  }
  // The integer middle of the dark pixels' extremes, as the tracing centres.
  RasterCentre OutlineCentre() const {
    int minX = width, maxX = -1, minY = height, maxY = -1;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (Dark(x, y)) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          minY = std::min(minY, y);
          maxY = std::max(maxY, y);
        }
    return {(minX + maxX) / 2, (minY + maxY) / 2};
  }

  int width;
  int height;
  std::vector<std::uint8_t> dark;
};

// The raster packed a bit a pixel, row by row in words of `Word` (potrace's
// layout: the first pixel of a word in its highest bit); `wordsPerRow` words
// a row.
template <typename Word>
std::vector<Word> PackedRows(const Raster& raster, int& wordsPerRow) {
  const int wordBits = 8 * sizeof(Word);
  wordsPerRow = (raster.width + wordBits - 1) / wordBits;
  std::vector<Word> map(static_cast<std::size_t>(wordsPerRow) * raster.height, 0);
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x)
      if (raster.Dark(x, y))
        map[static_cast<std::size_t>(y) * wordsPerRow + x / wordBits] |= Word(1) << (wordBits - 1 - x % wordBits);
  return map;
}

// A 24-bit bitmap file: black where the raster is dark, white elsewhere.
inline std::vector<std::uint8_t> Bmp24(const Raster& raster, std::uint32_t headerSize = 40) {
  const std::size_t rowSize = (static_cast<std::size_t>(raster.width) * 24 + 31) / 32 * 4;
  const std::size_t start = 14 + headerSize;
  std::vector<std::uint8_t> b(start + rowSize * raster.height, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLE32(b, 2, static_cast<std::uint32_t>(b.size()));
  PutLE32(b, 10, static_cast<std::uint32_t>(start));
  PutLE32(b, 14, headerSize);
  PutLE32(b, 18, static_cast<std::uint32_t>(raster.width));
  PutLE32(b, 22, static_cast<std::uint32_t>(raster.height));
  PutLE16(b, 26, 1);
  PutLE16(b, 28, 24);
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x) {
      const std::uint8_t v = raster.Dark(x, y) ? 0 : 255;
      const std::size_t at = start + y * rowSize + 3 * static_cast<std::size_t>(x);
      b[at] = b[at + 1] = b[at + 2] = v;
    }
  return b;
}

// A 256-colour bitmap file (all colour 0).
inline std::vector<std::uint8_t> Bmp8(int width, int height) {
  const std::size_t rowSize = (static_cast<std::size_t>(width) * 8 + 31) / 32 * 4;
  const std::size_t start = 14 + 40 + 256 * 4;
  std::vector<std::uint8_t> b(start + rowSize * height, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLE32(b, 14, 40);
  PutLE32(b, 18, static_cast<std::uint32_t>(width));
  PutLE32(b, 22, static_cast<std::uint32_t>(height));
  PutLE16(b, 26, 1);
  PutLE16(b, 28, 8);
  return b;
}
