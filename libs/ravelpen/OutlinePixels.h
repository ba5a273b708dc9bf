#pragma once
// The outline pixels of a 24-bit picture: dark pixels (grey below 128) with
// at least one light pixel among their eight neighbours, a pixel outside the
// picture counting as light; row by row from stored row 0, left to right.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravelpen {

struct OutlinePixel {
  std::int32_t x;
  std::int32_t row;
};

// `rows` holds `height` rows of `rowSize` bytes, each `width` pixels of
// blue, green, red.
std::vector<OutlinePixel> FindOutlinePixels(const std::uint8_t* rows, std::size_t rowSize, std::size_t width,
                                            std::size_t height);

}  // namespace ravelpen
