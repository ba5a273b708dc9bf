#include "platform/PcxDecoder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kManufacturer = 0x0A;
constexpr std::uint8_t kRunLength = 1;
// The 256-colour palette: a 0x0C byte, then 256 red, green, blue triples.
constexpr std::uint8_t kPaletteMark = 0x0C;
constexpr std::size_t kPaletteSize = 1 + 256 * 3;
// A run byte repeats the next byte up to 63 times: no two bytes of a file
// make more than 63 bytes of lines.
constexpr long long kMostRunPerByte = 32;
// Line data beyond this is refused whatever the file claims.
constexpr long long kMostLineBytes = 256LL * 1024 * 1024;

struct PcxHeader {
  int bitsPerPlane = 0;
  int planes = 0;
  int bytesPerLine = 0;
  int width = 0;
  int height = 0;
};

int Word(std::string_view b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}

std::uint8_t Byte(std::string_view b, std::size_t at) { return static_cast<std::uint8_t>(b[at]); }

bool IsReadKind(int bitsPerPlane, int planes) {
  return (bitsPerPlane == 1 && planes >= 1 && planes <= 4) || (bitsPerPlane == 4 && planes == 1) ||
         (bitsPerPlane == 8 && (planes == 1 || planes == 3));
}

PcxHeader ReadHeader(std::string_view b) {
  PcxHeader h;
  h.bitsPerPlane = Byte(b, 3);
  h.planes = Byte(b, 65);
  h.bytesPerLine = Word(b, 66);
  h.width = Word(b, 8) - Word(b, 4) + 1;
  h.height = Word(b, 10) - Word(b, 6) + 1;
  return h;
}

std::uint32_t Rgb(std::string_view b, std::size_t at) {
  return 0xFF000000u | static_cast<std::uint32_t>(Byte(b, at)) << 16 | static_cast<std::uint32_t>(Byte(b, at + 1)) << 8 |
         Byte(b, at + 2);
}

// Expands the run-length data into lines of total bytes. Runs may go on
// into the next line (some writers do that); one that goes past the last
// line is cut there. False when the data ends first.
bool ExpandRuns(std::string_view data, std::vector<std::uint8_t>& lines) {
  std::size_t in = 0;
  std::size_t out = 0;
  while (out < lines.size()) {
    if (in >= data.size()) return false;
    std::uint8_t value = Byte(data, in++);
    std::size_t count = 1;
    if ((value & 0xC0) == 0xC0) {
      count = value & 0x3F;
      if (in >= data.size()) return false;
      value = Byte(data, in++);
    }
    count = std::min(count, lines.size() - out);
    std::fill_n(lines.begin() + static_cast<std::ptrdiff_t>(out), count, value);
    out += count;
  }
  return true;
}

}  // namespace

bool PcxDecoder::LooksLikePcx(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) return false;
  const int version = Byte(bytes, 1);
  if (Byte(bytes, 0) != kManufacturer || Byte(bytes, 2) != kRunLength) return false;
  if (version != 0 && version != 2 && version != 3 && version != 4 && version != 5) return false;
  return IsReadKind(Byte(bytes, 3), Byte(bytes, 65));
}

bool PcxDecoder::Decode(std::string_view bytes, PictureBitmap& out) {
  if (!LooksLikePcx(bytes)) return false;
  const PcxHeader h = ReadHeader(bytes);
  if (h.width <= 0 || h.height <= 0) return false;
  if (static_cast<long long>(h.width) * h.height > kMaxPixels) return false;
  // Every plane's line must hold the picture's width.
  if (h.bytesPerLine < (h.width * h.bitsPerPlane + 7) / 8) return false;

  std::string_view data = bytes.substr(kHeaderSize);
  const bool eightBit = h.bitsPerPlane == 8 && h.planes == 1;
  const bool endPalette = eightBit && bytes.size() >= kHeaderSize + kPaletteSize &&
                          Byte(bytes, bytes.size() - kPaletteSize) == kPaletteMark;
  if (endPalette) data.remove_suffix(kPaletteSize);

  const long long lineBytes = static_cast<long long>(h.planes) * h.bytesPerLine;
  const long long total = lineBytes * h.height;
  // A file too short to hold its lines even as runs is cut; say so before
  // making room for them.
  if (total > kMostLineBytes || total > kMostRunPerByte * static_cast<long long>(data.size())) return false;
  std::vector<std::uint8_t> lines(static_cast<std::size_t>(total));
  if (!ExpandRuns(data, lines)) return false;

  const bool rgb = h.bitsPerPlane == 8 && h.planes == 3;
  const int depth = rgb ? 24 : h.planes > 1 ? 4 : h.bitsPerPlane;
  PictureBitmap bitmap = PictureBitmap::Make(h.width, h.height, depth);
  if (depth == 1) {
    // Monochrome pictures are black on white whatever the header holds.
    bitmap.palette = {0xFF000000u, 0xFFFFFFFFu};
  } else if (depth == 4) {
    for (int i = 0; i < 16; ++i) bitmap.palette.push_back(Rgb(bytes, 16 + 3 * static_cast<std::size_t>(i)));
  } else if (depth == 8) {
    for (int i = 0; i < 256; ++i) {
      const std::uint32_t grey = static_cast<std::uint32_t>(i);
      bitmap.palette.push_back(endPalette ? Rgb(bytes, bytes.size() - kPaletteSize + 1 + 3 * static_cast<std::size_t>(i))
                                          : 0xFF000000u | grey << 16 | grey << 8 | grey);
    }
  }

  for (int y = 0; y < h.height; ++y) {
    const std::uint8_t* line = lines.data() + y * lineBytes;
    // Lines come top first; the bitmap keeps its rows bottom-up.
    std::uint8_t* row = bitmap.bits.data() + static_cast<std::size_t>(h.height - 1 - y) * bitmap.bytesPerRow;
    if (h.planes == 1) {
      std::copy_n(line, (h.width * h.bitsPerPlane + 7) / 8, row);
    } else if (rgb) {
      for (int x = 0; x < h.width; ++x) {
        for (int c = 0; c < 3; ++c) row[3 * x + c] = line[c * h.bytesPerLine + x];
      }
    } else {
      // Planes of one bit each: plane p gives bit p of the colour index.
      for (int x = 0; x < h.width; ++x) {
        int index = 0;
        for (int p = 0; p < h.planes; ++p) index |= ((line[p * h.bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
        row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
      }
    }
  }
  out = std::move(bitmap);
  return true;
}

}  // namespace platform
