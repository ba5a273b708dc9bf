// The .pts dot image the import reads: a refused image leaves the dots as
// they were; a taken one holds the dots its header counts, every one finite,
// and reads back the same once written again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/doc/PointsImage.h"
#include "document/geometry/CPointList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CPointList dots;
  dots.Add(CDoublePoint(1, 2, 0));  // already in the list: kept either way
  if (!ParsePointsImage(bytes, dots)) {
    if (dots.GetSize() != 1) __builtin_trap();
    return 0;
  }
  const std::uint32_t count = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[4])) |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[5])) << 8 |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[6])) << 16 |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[7])) << 24;
  if (static_cast<std::uint64_t>(dots.GetSize()) != std::uint64_t{count} + 1) __builtin_trap();
  CPointList read;
  for (int i = 1; i < dots.GetSize(); ++i) {
    if (!std::isfinite(dots[i].x) || !std::isfinite(dots[i].y)) __builtin_trap();
    read.Add(dots[i]);
  }
  CPointList again;
  if (!ParsePointsImage(BuildPointsImage(read), again) || again.GetSize() != read.GetSize()) __builtin_trap();
  for (int i = 0; i < read.GetSize(); ++i) {
    if (again[i].x != read[i].x || again[i].y != read[i].y || again[i].flag != read[i].flag) __builtin_trap();
  }
  return 0;
}
