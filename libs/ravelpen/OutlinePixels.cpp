#include "libs/ravelpen/OutlinePixels.h"

#include "libs/ravelpen/OutlineLattice.h"

namespace ravelpen {

std::vector<OutlinePixel> FindOutlinePixels(const std::uint8_t* rows, std::size_t rowSize, std::size_t width,
                                            std::size_t height) {
  const OutlineLattice lattice(rows, rowSize, width, height);
  std::vector<OutlinePixel> outline(lattice.Size());
  for (std::size_t i = 0; i < outline.size(); ++i) outline[i] = {lattice.X(i), lattice.Row(i)};
  return outline;
}

}  // namespace ravelpen
