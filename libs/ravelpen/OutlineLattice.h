#pragma once
// The outline pixels of a 24-bit picture (dark pixels with a light one among
// their eight neighbours, a pixel outside the picture counting as light), row
// by row from stored row 0, left to right, each with the outline pixels of
// the 5 x 5 pixels around it: which of them are outline pixels and where they
// are in the list. The tracing's orderings and its cutting into polylines
// look only that far around a point for its near neighbours, and find them
// here in constant time instead of searching for them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravelpen {

class OutlineLattice {
 public:
  // `rows` holds `height` rows of `rowSize` bytes, each `width` pixels of
  // blue, green, red.
  OutlineLattice(const std::uint8_t* rows, std::size_t rowSize, std::size_t width, std::size_t height);

  std::size_t Size() const { return x_.size(); }
  std::int32_t X(std::size_t i) const { return x_[i]; }
  std::int32_t Row(std::size_t i) const { return row_[i]; }
  std::int32_t LeastX() const { return leastX_; }
  std::int32_t GreatestX() const { return greatestX_; }

  // Bit 5 (dy + 2) + dx + 2 is set when pixel (x + dx, row + dy) of outline
  // pixel i is an outline pixel too, for dx and dy from -2 to 2 (the middle
  // bit, the pixel itself, included).
  std::uint32_t Around(std::size_t i) const { return around_[i]; }
  static constexpr int Bit(int dx, int dy) { return 5 * (dy + 2) + dx + 2; }
  // The list index of outline pixel (x + dx, row + dy) of outline pixel i,
  // which must be one.
  std::size_t Neighbour(std::size_t i, int dx, int dy) const {
    // Bits set among the (at most four) pixels of that row left of it.
    constexpr std::uint8_t kCount[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
    const std::uint32_t left = (around_[i] >> (5 * (dy + 2))) & ((1u << (dx + 2)) - 1);
    const std::uint32_t own = around_[i] >> (5 * 2);
    const std::size_t base = dy == 0 ? i - kCount[own & 3]
                                     : base_[4 * i + static_cast<std::size_t>(dy < 0 ? dy + 2 : dy + 1)];
    return base + kCount[left];
  }

 private:
  std::vector<std::int32_t> x_, row_;
  std::vector<std::uint32_t> around_;
  // Four a pixel, for dy = -2, -1, 1, 2: the list index of the first
  // outline pixel of row + dy at or right of x - 2 (any value when there is
  // none within x + 2). In the pixel's own row that is i less those at x - 2
  // and x - 1.
  std::vector<std::uint32_t> base_;
  std::int32_t leastX_ = 0, greatestX_ = 0;
};

}  // namespace ravelpen
