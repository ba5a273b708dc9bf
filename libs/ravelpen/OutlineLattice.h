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
  // The scan built for the processor's vector instructions when it has them,
  // or the one for any processor.
  enum class Scan { kFastest, kBaseline };

  // `rows` holds `height` rows of `rowSize` bytes, each `width` pixels of
  // blue, green, red.
  OutlineLattice(const std::uint8_t* rows, std::size_t rowSize, std::size_t width, std::size_t height,
                 Scan scan = Scan::kFastest);

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
    const std::uint32_t row = (around_[i] >> (5 * (dy + 2))) & 31;
    return First(i, dy, row) + kCount[row & ((1u << (dx + 2)) - 1)];
  }
  // Calls visit(j, dx, dy) for each outline pixel j other than i within
  // `reach` (1 or 2) pixels of outline pixel i, row by row, left to right.
  template <int reach, typename Visit>
  void ForEachNear(std::size_t i, const Visit& visit) const {
    static_assert(reach == 1 || reach == 2);
    const std::uint32_t around = around_[i];
    const std::uint32_t* base = base_.data() + 4 * i;
    // The pixels of a row are consecutive in the list: from the index of
    // the first one on, each set bit is the next index.
    constexpr std::uint32_t kWithin = reach == 1 ? 0b01110u : 0b11111u;
    auto row = [&](int dy, std::uint32_t bits, std::size_t j) {
      if (reach == 1) j += bits & 1;
      for (bits &= kWithin; bits != 0; bits &= bits - 1, ++j) visit(j, __builtin_ctz(bits) - 2, dy);
    };
    auto bitsOf = [&](int dy) { return (around >> (5 * (dy + 2))) & 31; };
    if (reach == 2 && bitsOf(-2)) row(-2, bitsOf(-2), base[0]);
    if (bitsOf(-1)) row(-1, bitsOf(-1), base[1]);
    const std::uint32_t left = bitsOf(0) & kWithin & 0b00011u, right = bitsOf(0) & kWithin & 0b11000u;
    if (left) row(0, left, i - kCount[left]);
    if (right) row(0, right, i + 1);
    if (bitsOf(1)) row(1, bitsOf(1), base[2]);
    if (reach == 2 && bitsOf(2)) row(2, bitsOf(2), base[3]);
  }

 private:
  // The list index of the first outline pixel of row + dy from x - 2 on,
  // given the bits of that row around pixel i.
  std::size_t First(std::size_t i, int dy, std::uint32_t row) const {
    return dy == 0 ? i - kCount[row & 3] : base_[4 * i + static_cast<std::size_t>(dy < 0 ? dy + 2 : dy + 1)];
  }
  static constexpr std::uint8_t kCount[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

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
