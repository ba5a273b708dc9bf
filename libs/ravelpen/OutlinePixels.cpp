#include "libs/ravelpen/OutlinePixels.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ravelpen {
namespace {

// Grey (red 9798 + green 19235 + blue 3735) >> 15 is below 128 exactly when
// the weighted sum is below 128 << 15.
constexpr int kDarkBelow = 128 << 15;

// Pixels are taken 32 at a time: a run of white or of black, common in the
// pictures marked, is told by its bytes alone. The row loops are built twice,
// for AVX2 and for the baseline processor, and the one the processor runs is
// chosen at each call (no load-time resolver, which the sanitizers' runtimes
// are not ready for).
#if defined(__GNUC__)
#define RAVELPEN_ROW_LOOP inline __attribute__((always_inline))
#else
#define RAVELPEN_ROW_LOOP inline
#endif

constexpr std::size_t kRun = 32;

// The dark pixels of a row, and the stretch [from, to) of the row that holds
// them all (empty when none).
struct DarkSpan {
  std::size_t from = 0;
  std::size_t to = 0;
};

// dark[x] := 1 for a dark pixel x, else 0.
RAVELPEN_ROW_LOOP DarkSpan MarkDarkPixels(const std::uint8_t* pixel, std::size_t width, std::uint8_t* dark) {
  static constexpr std::uint8_t kLight[kRun] = {};
  static constexpr std::uint8_t kDark[kRun] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                               1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  std::size_t from = width, to = 0;
  std::size_t x = 0;
  for (; x + kRun <= width; x += kRun, pixel += 3 * kRun) {
    std::uint8_t all = 0xFF, any = 0;
    for (std::size_t b = 0; b < 3 * kRun; ++b) {
      all &= pixel[b];
      any |= pixel[b];
    }
    std::uint8_t some;
    if (all == 0xFF || any == 0) {
      std::memcpy(dark + x, any == 0 ? kDark : kLight, kRun);
      some = any == 0;
    } else {
      some = 0;
      for (std::size_t i = 0; i < kRun; ++i) {
        dark[x + i] = (pixel[3 * i + 2] * 9798 + pixel[3 * i + 1] * 19235 + pixel[3 * i] * 3735) < kDarkBelow;
        some |= dark[x + i];
      }
    }
    if (some) {
      from = std::min(from, x);
      to = x + kRun;
    }
  }
  if (x < width) {
    std::uint8_t some = 0;
    for (std::size_t i = x; i < width; ++i, pixel += 3) {
      dark[i] = (pixel[2] * 9798 + pixel[1] * 19235 + pixel[0] * 3735) < kDarkBelow;
      some |= dark[i];
    }
    if (some) {
      from = std::min(from, x);
      to = width;
    }
  }
  return from < to ? DarkSpan{from, to} : DarkSpan{};
}

// edge[x] := 1 for x in [from, to) where pixel x of the middle row is dark
// and not all eight neighbours are. Each row pointer starts at the light
// border column, so pixel x is at x + 1.
RAVELPEN_ROW_LOOP void MarkEdgePixels(const std::uint8_t* below, const std::uint8_t* row, const std::uint8_t* above,
                                      std::size_t from, std::size_t to, std::uint8_t* edge) {
  for (std::size_t x = from; x < to; ++x)
    edge[x] = row[x + 1] & static_cast<std::uint8_t>(~(row[x] & row[x + 2] & above[x] & above[x + 1] & above[x + 2] &
                                                       below[x] & below[x + 1] & below[x + 2]));
}

// Three dark rows at a time, each with a light border column on both sides,
// and a light row for the rows outside the picture. Outline pixels are
// looked for only where a row has dark pixels.
RAVELPEN_ROW_LOOP void ScanRows(const std::uint8_t* rows, std::size_t rowSize, std::size_t width, std::size_t height,
                                std::vector<OutlinePixel>& outline) {
  const std::size_t padded = width + 2;
  std::vector<std::uint8_t> buffer(4 * padded, 0);
  std::uint8_t* light = buffer.data() + 3 * padded;
  std::uint8_t* ring[3] = {buffer.data(), buffer.data() + padded, buffer.data() + 2 * padded};
  DarkSpan span[3];
  span[0] = MarkDarkPixels(rows, width, ring[0] + 1);
  if (height > 1) span[1] = MarkDarkPixels(rows + rowSize, width, ring[1] + 1);
  std::vector<std::uint8_t> edge(width);
  for (std::size_t r = 0; r < height; ++r) {
    if (r + 1 < height && r >= 1) span[(r + 1) % 3] = MarkDarkPixels(rows + (r + 1) * rowSize, width, ring[(r + 1) % 3] + 1);
    const DarkSpan s = span[r % 3];
    if (s.from >= s.to) continue;
    const std::uint8_t* below = r > 0 ? ring[(r - 1) % 3] : light;
    const std::uint8_t* above = r + 1 < height ? ring[(r + 1) % 3] : light;
    MarkEdgePixels(below, ring[r % 3], above, s.from, s.to, edge.data());
    for (std::size_t x = s.from; x < s.to;) {
      // Whole words of no outline are passed over at once.
      std::uint64_t word = 0;
      if (x + 8 <= s.to) std::memcpy(&word, edge.data() + x, 8);
      if (x + 8 <= s.to && word == 0) {
        x += 8;
        continue;
      }
      if (edge[x]) outline.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(r)});
      ++x;
    }
  }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define RAVELPEN_AVX2_ROWS 1
__attribute__((target("avx2"))) void ScanRowsAvx2(const std::uint8_t* rows, std::size_t rowSize, std::size_t width,
                                                  std::size_t height, std::vector<OutlinePixel>& outline) {
  ScanRows(rows, rowSize, width, height, outline);
}
#endif

void ScanRowsBaseline(const std::uint8_t* rows, std::size_t rowSize, std::size_t width, std::size_t height,
                      std::vector<OutlinePixel>& outline) {
  ScanRows(rows, rowSize, width, height, outline);
}

}  // namespace

std::vector<OutlinePixel> FindOutlinePixels(const std::uint8_t* rows, std::size_t rowSize, std::size_t width,
                                            std::size_t height) {
  std::vector<OutlinePixel> outline;
  if (width == 0 || height == 0) return outline;
#ifdef RAVELPEN_AVX2_ROWS
  if (__builtin_cpu_supports("avx2")) {
    ScanRowsAvx2(rows, rowSize, width, height, outline);
    return outline;
  }
#endif
  ScanRowsBaseline(rows, rowSize, width, height, outline);
  return outline;
}

}  // namespace ravelpen
