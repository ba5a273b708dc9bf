#include "platform/BmpRows.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes
constexpr std::size_t kShortestInfoHeader = 16;
constexpr std::size_t kHeaderWithColours = 36;  // from here on the header counts the palette's colours
constexpr std::size_t kInfoHeaderSize = 40;     // the Windows 3 header, whose bit field masks follow it
// Compressions whose rows are plain: none, bit fields, alpha bit fields.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

}  // namespace

BmpRows CheckBmpRows(std::string_view bytes, std::size_t& wholeSize) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes.substr(0, 2) != "BM") return BmpRows::NotChecked;
  const std::size_t headerSize = BmpField(bytes, 14, 4);
  const bool core = headerSize == kCoreHeaderSize;
  if (!core && headerSize < kShortestInfoHeader) return BmpRows::NotChecked;
  if (bytes.size() < kFileHeaderSize + (core ? kCoreHeaderSize : kShortestInfoHeader)) return BmpRows::CutShort;
  long long width = 0;
  long long height = 0;
  int depth = 0;
  std::uint32_t compression = kRgb;
  if (core) {
    width = BmpField(bytes, 18, 2);
    height = BmpField(bytes, 20, 2);
    depth = static_cast<int>(BmpField(bytes, 24, 2));
  } else {
    width = static_cast<std::int32_t>(BmpField(bytes, 18, 4));
    height = static_cast<std::int32_t>(BmpField(bytes, 22, 4));
    depth = static_cast<int>(BmpField(bytes, 28, 2));
    if (headerSize >= 20) {
      if (bytes.size() < kFileHeaderSize + 20) return BmpRows::CutShort;
      compression = BmpField(bytes, 30, 4);
    }
  }
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) return BmpRows::NotChecked;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return BmpRows::NotChecked;
  // A picture turned upside down gives its height negative.
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0) return BmpRows::NotChecked;
  // What the image library reads after the header before any row: the
  // palette of a picture of up to 8 bits (its count of colours, else all its
  // depth has; three bytes an entry in the old header) and, with the shortest
  // header of bit fields, their three masks.
  long long tables = 0;
  if (depth <= 8) {
    long long colours = 0;
    if (!core && headerSize >= kHeaderWithColours) {
      if (bytes.size() < kFileHeaderSize + kHeaderWithColours) return BmpRows::CutShort;
      colours = BmpField(bytes, 46, 4);
    }
    if (colours == 0) colours = 1LL << depth;
    tables = colours * (core ? 3 : 4);
  } else if (compression == kBitFields && headerSize == kInfoHeaderSize) {
    tables = 12;
  }
  // The rows start at the offset, and never inside the headers or those
  // tables (a reader given an offset there starts after them).
  const long long offset = std::max<long long>(BmpField(bytes, 10, 4),
                                               static_cast<long long>(kFileHeaderSize + headerSize) + tables);
  const long long rowBytes = (width * depth + 31) / 32 * 4;
  const long long pixelBytes = (width * depth + 7) / 8;
  const long long size = static_cast<long long>(bytes.size());
  if (size < offset) return BmpRows::CutShort;
  const long long rowsHeld = (size - offset) / rowBytes;
  if (rowsHeld >= height) return BmpRows::Whole;
  if (rowsHeld == height - 1 && size - offset - rowsHeld * rowBytes >= pixelBytes) {
    wholeSize = static_cast<std::size_t>(offset + rowBytes * height);
    return BmpRows::LastRowUnpadded;
  }
  return BmpRows::CutShort;
}

std::uint32_t BmpField(std::string_view b, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

}  // namespace platform
