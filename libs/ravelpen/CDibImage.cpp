#include "libs/ravelpen/CDibImage.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

#include "libs/ravelpen/LatticeTracer.h"
#include "libs/ravelpen/OutlineLattice.h"
#include "libs/ravelpen/OutlinePixels.h"
#include "platform/Prompt.h"

namespace ravelpen {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
// Bitmaps beyond this are refused before any allocation.
constexpr std::uintmax_t kFileSizeMax = 1024u * 1024 * 1024;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

struct DibLayout {
  long long width = 0;
  long long height = 0;
  int bitsPerPixel = 0;
  std::size_t rowSize = 0;
  std::size_t pixelStart = 0;
};

// False when the headers or the pixel rows they describe lie past the end
// of the file.
bool ReadLayout(const std::vector<std::uint8_t>& b, DibLayout& layout) {
  if (b.size() < kFileHeaderSize + 12) return false;
  const std::uint32_t headerSize = U32(b, kFileHeaderSize);
  const std::size_t h = kFileHeaderSize;
  std::uint32_t colours = 0;
  std::size_t entrySize = 4;
  if (headerSize >= 40) {
    // The information header and its later versions (52, 56, 108, 124 bytes)
    // share the first 40 bytes.
    if (b.size() < h + headerSize) return false;
    layout.width = static_cast<std::int32_t>(U32(b, h + 4));
    layout.height = static_cast<std::int32_t>(U32(b, h + 8));
    layout.bitsPerPixel = U16(b, h + 14);
    colours = U32(b, h + 32);
  } else if (headerSize == 12) {
    layout.width = U16(b, h + 4);
    layout.height = U16(b, h + 6);
    layout.bitsPerPixel = U16(b, h + 10);
    entrySize = 3;
  } else {
    return false;
  }
  if (colours == 0) {
    switch (layout.bitsPerPixel) {
      case 1: colours = 2; break;
      case 4: colours = 16; break;
      case 8: colours = 256; break;
      default: colours = 0; break;
    }
  }
  const unsigned long long start =
      static_cast<unsigned long long>(h) + headerSize + static_cast<unsigned long long>(colours) * entrySize;
  if (layout.width <= 0 || layout.height <= 0) {
    layout.pixelStart = 0;
    layout.rowSize = 0;
    return start <= b.size();
  }
  const unsigned long long rowSize = (static_cast<unsigned long long>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
  if (rowSize == 0 || start > b.size()) return false;
  if ((b.size() - start) / rowSize < static_cast<unsigned long long>(layout.height)) return false;
  layout.rowSize = static_cast<std::size_t>(rowSize);
  layout.pixelStart = static_cast<std::size_t>(start);
  return true;
}

}  // namespace

int GetPixelGrey(std::size_t rowSize, const std::uint8_t* rows, std::size_t u, std::size_t r) {
  const std::uint8_t* pixel = rows + r * rowSize + u;
  const int blue = pixel[0];
  const int green = pixel[1];
  const int red = pixel[2];
  return (red * 9798 + green * 19235 + blue * 3735) >> 15;
}

int CDibImage::LoadFile(const std::string& path) {
  bytes_.clear();
  bytes_.shrink_to_fit();
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  if (size > kFileSizeMax) {
    platform::MessageBox("内存不够!", "Ravelpen", MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) return 0;
  bytes_ = std::move(bytes);
  return 1;
}

int CDibImage::TraceToPolylines(TracePolylineArray& result) const {
  result.clear();
  if (bytes_.empty()) return 1;
  DibLayout layout;
  if (!ReadLayout(bytes_, layout)) return 1;
  if (layout.bitsPerPixel != 24) return 3;
  if (layout.width <= 0 || layout.height <= 0) return 0;

  const auto width = static_cast<std::size_t>(layout.width), height = static_cast<std::size_t>(layout.height);
  const std::uint8_t* rows = bytes_.data() + layout.pixelStart;
  if (LatticeTracer::Fits(width, height)) {
    LatticeTracer().Trace(OutlineLattice(rows, layout.rowSize, width, height), result);
    return 0;
  }
  // Pictures too wide for the lattice go through the steps one by one.
  const std::vector<OutlinePixel> outline = FindOutlinePixels(rows, layout.rowSize, width, height);
  if (outline.empty()) return 0;

  long long minX = outline[0].x, maxX = minX, minR = outline[0].row, maxR = minR;
  for (const OutlinePixel& pixel : outline) {
    minX = std::min<long long>(minX, pixel.x);
    maxX = std::max<long long>(maxX, pixel.x);
    minR = std::min<long long>(minR, pixel.row);
    maxR = std::max<long long>(maxR, pixel.row);
  }
  const long long cx = (minX + maxX) / 2;
  const long long cr = (minR + maxR) / 2;
  std::vector<TracePoint> points;
  points.reserve(outline.size());
  for (const OutlinePixel& pixel : outline)
    points.push_back({static_cast<float>(pixel.x - cx) * 0.25f, static_cast<float>(pixel.row - cr) * 0.25f, 0.0f});

  ThinOnGrid(points, 0.25);
  const TracePoint start = points.front();
  OrderPath(points, start, 0.225, false);
  CutIntoPolylines(points, result, 0.5025, 0.225);
  for (TracePolyline& polyline : result) ReduceToCorners(polyline);
  return 0;
}

}  // namespace ravelpen
