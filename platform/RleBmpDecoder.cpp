#include "platform/RleBmpDecoder.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/BmpRows.h"

namespace platform {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
// The shortest header with a compression field (the OS/2 2.x header may
// stop there); from 36 bytes on it also counts the palette's colours.
constexpr std::size_t kShortestHeader = 20;
constexpr std::size_t kHeaderWithColours = 36;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;

// Escape codes: a zero count, then one of these (larger values start an
// absolute run of that many pixels).
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kDelta = 2;

// The index unset pixels take: the top index of the depth when the palette
// gives it no colour (it then draws white, as an index past the palette
// does), else the brightest colour among the indices read as light.
unsigned PaperIndex(const std::vector<std::uint32_t>& palette, int depth) {
  const unsigned top = (1u << depth) - 1;
  if (palette.size() <= top) return top;
  auto brightness = [](std::uint32_t c) { return ((c >> 16) & 0xFF) * 9798 + ((c >> 8) & 0xFF) * 19235 + (c & 0xFF) * 3735; };
  unsigned best = top;
  for (unsigned i = FirstLightIndex(depth); i < top; ++i) {
    if (brightness(palette[i]) > brightness(palette[best])) best = i;
  }
  return best;
}

void Fill(PictureBitmap& b, unsigned index) {
  std::uint8_t byte = static_cast<std::uint8_t>(index);
  if (b.bitsPerPixel == 4) byte = static_cast<std::uint8_t>(index << 4 | index);
  if (b.bitsPerPixel == 1) byte = index != 0 ? 0xFF : 0x00;
  std::memset(b.bits.data(), byte, b.bits.size());
}

// Runs the codes from at into the bitmap; false when the data ends before
// the end-of-picture code. Pixels past a line's end, or above the last
// line, are dropped.
bool Expand(std::string_view bytes, std::size_t at, bool rle4, PictureBitmap& b) {
  const unsigned mask = (1u << b.bitsPerPixel) - 1;
  long long x = 0;
  long long row = 0;  // from the bottom, as the rows are stored
  auto put = [&](unsigned index) {
    if (x < b.width && row < b.height) b.SetIndex(static_cast<int>(x), static_cast<int>(row), index & mask);
    ++x;
  };
  auto next = [&](std::uint8_t& v) {
    if (at >= bytes.size()) return false;
    v = static_cast<std::uint8_t>(bytes[at++]);
    return true;
  };
  while (true) {
    std::uint8_t count = 0;
    std::uint8_t value = 0;
    if (!next(count) || !next(value)) return false;
    if (count > 0) {
      // One index repeated; in RLE4 the byte's two halves take turns.
      for (unsigned i = 0; i < count && x < b.width; ++i) put(!rle4 ? value : i % 2 == 0 ? value >> 4 : value & 0x0F);
      continue;
    }
    switch (value) {
      case kEndOfLine:
        x = 0;
        ++row;
        break;
      case kEndOfPicture:
        return true;
      case kDelta: {
        std::uint8_t right = 0;
        std::uint8_t up = 0;
        if (!next(right) || !next(up)) return false;
        x += right;
        row += up;
        break;
      }
      default: {
        // value pixels as they are, padded to a 16-bit boundary.
        const std::size_t size = rle4 ? (value + 1u) / 2 : value;
        const std::size_t padded = size + size % 2;
        if (bytes.size() - at < padded) return false;
        for (unsigned i = 0; i < value; ++i) {
          const auto v = static_cast<std::uint8_t>(bytes[at + (rle4 ? i / 2 : i)]);
          put(!rle4 ? v : i % 2 == 0 ? v >> 4 : v & 0x0F);
        }
        at += padded;
        break;
      }
    }
  }
}

}  // namespace

bool RleBmpDecoder::LooksLikeRleBmp(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize + kShortestHeader || bytes.substr(0, 2) != "BM") return false;
  if (BmpField(bytes, 14, 4) < kShortestHeader) return false;
  const std::uint32_t compression = BmpField(bytes, 30, 4);
  return compression == kRle8 || compression == kRle4;
}

bool RleBmpDecoder::Decode(std::string_view bytes, PictureBitmap& out) {
  if (!LooksLikeRleBmp(bytes)) return false;
  const std::size_t headerSize = BmpField(bytes, 14, 4);
  const bool rle4 = BmpField(bytes, 30, 4) == kRle4;
  const long long width = static_cast<std::int32_t>(BmpField(bytes, 18, 4));
  // Run-length pictures are stored bottom-up only: a negative height is no such picture.
  const long long height = static_cast<std::int32_t>(BmpField(bytes, 22, 4));
  const int depth = static_cast<int>(BmpField(bytes, 28, 2));
  if (depth != (rle4 ? 4 : 8) || width <= 0 || height <= 0 || width * height > kMaxPixels) return false;
  if (bytes.size() < kFileHeaderSize + headerSize) return false;

  std::size_t colours = headerSize >= kHeaderWithColours ? BmpField(bytes, 46, 4) : 0;
  if (colours == 0) colours = std::size_t{1} << depth;
  if (colours > 256) return false;
  const std::size_t paletteAt = kFileHeaderSize + headerSize;
  if (bytes.size() - paletteAt < 4 * colours) return false;
  std::vector<std::uint32_t> palette;
  for (std::size_t i = 0; i < colours; ++i) {
    // Blue, green, red and a byte left unused.
    const std::size_t at = paletteAt + 4 * i;
    palette.push_back(0xFF000000u | BmpField(bytes, at + 2, 1) << 16 | BmpField(bytes, at + 1, 1) << 8 | BmpField(bytes, at, 1));
  }
  // The data starts at the offset, and never inside the headers (a writer
  // that left the offset 0 has it after the palette).
  const std::size_t offset = BmpField(bytes, 10, 4);
  const std::size_t dataAt = offset >= paletteAt ? offset : paletteAt + 4 * colours;
  if (dataAt > bytes.size()) return false;

  PictureBitmap b = PictureBitmap::Make(static_cast<int>(width), static_cast<int>(height),
                                        PictureBitmap::PaletteDepth(colours));
  b.palette = std::move(palette);
  Fill(b, PaperIndex(b.palette, b.bitsPerPixel));
  if (!Expand(bytes, dataAt, rle4, b)) return false;
  out = std::move(b);
  return true;
}

}  // namespace platform
