#include "document/doc/PointsImage.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

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

std::uint64_t GetLE(const char* at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(at[i]);
  return v;
}

double GetDouble(const char* at) {
  const std::uint64_t bits = GetLE(at, 8);
  double d = 0;
  std::memcpy(&d, &bits, sizeof d);
  return d;
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

bool ParsePointsImage(std::string_view bytes, CPointList& dots) {
  if (bytes.size() < kPointsImageHeaderSize) return false;
  if (GetLE(bytes.data(), 4) != kPointsImageMagic) return false;
  // The count is checked against the bytes really there, so a damaged header
  // can neither over-read nor allocate for dots that do not exist.
  const std::uint64_t count = GetLE(bytes.data() + 4, 4);
  if (count > (bytes.size() - kPointsImageHeaderSize) / kPointsImageRecordSize) return false;
  CPointList read;
  const char* record = bytes.data() + kPointsImageHeaderSize;
  for (std::uint64_t i = 0; i < count; ++i, record += kPointsImageRecordSize) {
    const double x = GetDouble(record);
    const double y = GetDouble(record + 8);
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    read.Add(CDoublePoint(x, y, static_cast<std::uint8_t>(record[16])));
  }
  dots.Append(read);
  return true;
}

bool ReadPointsImage(const std::string& path, CPointList& dots) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParsePointsImage(bytes, dots);
}
