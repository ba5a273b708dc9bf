#include "document/doc/PointsImage.h"

#include <cstring>

#include "document/geometry/CPointList.h"
#include "document/mrk/MrkFile.h"

namespace {

// Byte by byte, so the file is little-endian whatever the host.
void PutLE(char* at, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutDouble(char* at, double d) {
  std::uint64_t bits = 0;
  static_assert(sizeof bits == sizeof d);
  std::memcpy(&bits, &d, sizeof d);
  PutLE(at, bits, 8);
}

}  // namespace

std::string BuildPointsImage(const CPointList& dots) {
  const std::size_t n = dots.GetSize() > 0 ? static_cast<std::size_t>(dots.GetSize()) : 0;
  std::string bytes(kPointsImageHeaderSize + kPointsImageRecordSize * n + kPointsImageTrailerSize, '\0');
  PutLE(bytes.data(), kPointsImageMagic, 4);
  PutLE(bytes.data() + 4, static_cast<std::uint32_t>(n), 4);
  char* record = bytes.data() + kPointsImageHeaderSize;
  for (std::size_t i = 0; i < n; ++i, record += kPointsImageRecordSize) {
    const CDoublePoint& p = dots[static_cast<int>(i)];
    PutDouble(record, p.x);
    PutDouble(record + 8, p.y);
    record[16] = static_cast<char>(p.flag);
  }
  return bytes;
}

bool WritePointsImage(const std::string& path, const CPointList& dots) {
  const std::string bytes = BuildPointsImage(dots);
  return StoreWholeFile(path, bytes);
}
