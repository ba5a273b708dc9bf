#include "libs/ravelpen/OutlinePixels.h"

#include <algorithm>
#include <cstring>

namespace ravelpen {
namespace {

// Grey (red 9798 + green 19235 + blue 3735) >> 15 is below 128 exactly when
// the weighted sum is below 128 << 15.
constexpr int kDarkBelow = 128 << 15;

// Pixels are taken 32 at a time: a run of white or of black, common in the
// pictures marked, is told by its bytes alone. The loops are built for the
// processor found at load time (AVX2 or the baseline).
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define RAVELPEN_PIXEL_LOOP __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef RAVELPEN_PIXEL_LOOP
#define RAVELPEN_PIXEL_LOOP
#endif

constexpr std::size_t kRun = 32;

// The dark pixels of a row, and the stretch [from, to) of the row that holds
// them all (empty when none).
struct DarkSpan {
  std::size_t from = 0;
  std::size_t to = 0;
};

// dark[x] := 1 for a dark pixel x, else 0.
RAVELPEN_PIXEL_LOOP DarkSpan MarkDarkPixels(const std::uint8_t* pixel, std::size_t width, std::uint8_t* dark) {
  DarkSpan span{width, 0};
  auto seen = [&span](std::size_t from, std::size_t to) {
    span.from = std::min(span.from, from);
    span.to = std::max(span.to, to);
  };
  std::size_t x = 0;
  for (; x + kRun <= width; x += kRun, pixel += 3 * kRun) {
    std::uint8_t all = 0xFF, any = 0;
    for (std::size_t b = 0; b < 3 * kRun; ++b) {
      all &= pixel[b];
      any |= pixel[b];
    }
    if (all == 0xFF || any == 0) {
      static constexpr std::uint8_t kLight[kRun] = {}, kDark[kRun] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                                     1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
      std::memcpy(dark + x, any == 0 ? kDark : kLight, kRun);
      if (any == 0) seen(x, x + kRun);
      continue;
    }
    std::uint8_t some = 0;
    for (std::size_t i = 0; i < kRun; ++i) {
      dark[x + i] = (pixel[3 * i + 2] * 9798 + pixel[3 * i + 1] * 19235 + pixel[3 * i] * 3735) < kDarkBelow;
      some |= dark[x + i];
    }
    if (some) seen(x, x + kRun);
  }
  if (x < width) {
    std::uint8_t some = 0;
    for (std::size_t i = x; i < width; ++i, pixel += 3) {
      dark[i] = (pixel[2] * 9798 + pixel[1] * 19235 + pixel[0] * 3735) < kDarkBelow;
      some |= dark[i];
    }
    if (some) seen(x, width);
  }
  if (span.from >= span.to) span = {};
  return span;
}

// edge[x] := 1 for x in [from, to) where pixel x of the middle row is dark
// and not all eight neighbours are. Each row pointer starts at the light
// border column, so pixel x is at x + 1.
RAVELPEN_PIXEL_LOOP void MarkEdgePixels(const std::uint8_t* below, const std::uint8_t* row, const std::uint8_t* above,
                                        std::size_t from, std::size_t to, std::uint8_t* edge) {
  for (std::size_t x = from; x < to; ++x)
    edge[x] = row[x + 1] & static_cast<std::uint8_t>(~(row[x] & row[x + 2] & above[x] & above[x + 1] & above[x + 2] &
                                                       below[x] & below[x + 1] & below[x + 2]));
}

}  // namespace

std::vector<OutlinePixel> FindOutlinePixels(const std::uint8_t* rows, std::size_t rowSize, std::size_t width,
                                            std::size_t height) {
  std::vector<OutlinePixel> outline;
  if (width == 0 || height == 0) return outline;
  // Three dark rows at a time, each with a light border column on both
  // sides, and a light row for the rows outside the picture. Outline pixels
  // are looked for only where a row has dark pixels.
  const std::size_t padded = width + 2;
  std::vector<std::uint8_t> buffer(4 * padded, 0);
  std::uint8_t* light = buffer.data() + 3 * padded;
  std::uint8_t* ring[3] = {buffer.data(), buffer.data() + padded, buffer.data() + 2 * padded};
  DarkSpan span[3];
  auto load = [&](std::size_t r) { span[r % 3] = MarkDarkPixels(rows + r * rowSize, width, ring[r % 3] + 1); };
  load(0);
  if (height > 1) load(1);
  std::vector<std::uint8_t> edge(width);
  for (std::size_t r = 0; r < height; ++r) {
    if (r + 1 < height && r >= 1) load(r + 1);
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
  return outline;
}

}  // namespace ravelpen
