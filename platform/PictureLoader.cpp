#include "platform/PictureLoader.h"

#include <algorithm>
#include <limits>

#include "platform/BmpRows.h"
#include "platform/PcxDecoder.h"
#include "platform/ReplaceableInstance.h"
#include "platform/RleBmpDecoder.h"

namespace platform {
namespace {

class NoPictureDecoder : public PictureDecoder {
 public:
  bool Decode(std::string_view, PictureBitmap&) override { return false; }
};

ReplaceableInstance<PictureDecoder> g_decoder;

// What a decoder hands back must hold its rows and stay addressable by int.
bool IsConsistent(const PictureBitmap& b) {
  const int depth = b.bitsPerPixel;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return false;
  if (b.width <= 0 || b.height <= 0) return false;
  if (b.bytesPerRow < PictureBitmap::RowBytes(b.width, depth)) return false;
  const long long total = static_cast<long long>(b.bytesPerRow) * b.height;
  if (total > std::numeric_limits<int>::max()) return false;
  return b.bits.size() >= static_cast<std::size_t>(total);
}

}  // namespace

int PictureBitmap::RowBytes(int width, int bitsPerPixel) {
  const long long bitsInRow = static_cast<long long>(width) * bitsPerPixel;
  return static_cast<int>((bitsInRow + 31) / 32 * 4);
}

PictureBitmap PictureBitmap::Make(int width, int height, int bitsPerPixel) {
  PictureBitmap b;
  b.width = width;
  b.height = height;
  b.bitsPerPixel = bitsPerPixel;
  b.bytesPerRow = RowBytes(width, bitsPerPixel);
  b.bits.assign(static_cast<std::size_t>(b.bytesPerRow) * static_cast<std::size_t>(height), 0);
  return b;
}

void PictureBitmap::SetIndex(int x, int row, unsigned index) {
  std::uint8_t* line = bits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(bytesPerRow);
  switch (bitsPerPixel) {
    case 1: {
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      line[x / 8] = static_cast<std::uint8_t>(index & 1 ? line[x / 8] | bit : line[x / 8] & ~bit);
      break;
    }
    case 4: {
      std::uint8_t& b = line[x / 2];
      b = static_cast<std::uint8_t>(x % 2 == 0 ? (b & 0x0F) | (index & 0x0F) << 4 : (b & 0xF0) | (index & 0x0F));
      break;
    }
    case 8:
      line[x] = static_cast<std::uint8_t>(index);
      break;
    default:
      break;
  }
}

std::uint32_t PictureBitmap::PixelColor(int x, int row) const {
  if (x < 0 || row < 0 || x >= width || row >= height) return 0xFF000000u;
  const std::uint8_t* line = bits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(bytesPerRow);
  int index = 0;
  switch (bitsPerPixel) {
    case 1:
      index = (line[x / 8] >> (7 - x % 8)) & 1;
      break;
    case 4:
      index = x % 2 == 0 ? line[x / 2] >> 4 : line[x / 2] & 0x0F;
      break;
    case 8:
      index = line[x];
      break;
    case 24: {
      const std::uint8_t* p = line + 3 * x;
      return 0xFF000000u | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
    default:
      return 0xFF000000u;
  }
  if (static_cast<std::size_t>(index) < palette.size()) return palette[static_cast<std::size_t>(index)];
  // Without a palette an index reads as a grey level of its depth.
  const int maxIndex = (1 << bitsPerPixel) - 1;
  const std::uint32_t grey = static_cast<std::uint32_t>(index * 255 / maxIndex);
  return 0xFF000000u | (grey << 16) | (grey << 8) | grey;
}

PictureDecoder& CurrentPictureDecoder() {
  return g_decoder.Get([] { return std::make_shared<NoPictureDecoder>(); });
}

void SetPictureDecoder(std::shared_ptr<PictureDecoder> decoder) { g_decoder.Set(std::move(decoder)); }

bool DecodePicture(std::string_view bytes, PictureBitmap& out) {
  if (bytes.empty()) return false;
  // A BMP cut short would come back with rows of leftover memory: refused.
  // One that only lacks its last row's padding reads as if it had it.
  std::size_t wholeSize = 0;
  std::string padded;
  switch (CheckBmpRows(bytes, wholeSize)) {
    case BmpRows::CutShort:
      return false;
    case BmpRows::LastRowUnpadded:
      padded.assign(bytes);
      padded.resize(wholeSize, '\0');
      bytes = padded;
      break;
    default:
      break;
  }
  PictureBitmap decoded;
  // PCX and run-length coded BMP have readers of our own, whatever backend
  // is installed; a header that says PCX is no other format's.
  PcxDecoder pcx;
  RleBmpDecoder rle;
  PictureDecoder& decoder = PcxDecoder::LooksLikePcx(bytes)        ? static_cast<PictureDecoder&>(pcx)
                            : RleBmpDecoder::LooksLikeRleBmp(bytes) ? static_cast<PictureDecoder&>(rle)
                                                                   : CurrentPictureDecoder();
  if (!decoder.Decode(bytes, decoded) || !IsConsistent(decoded)) return false;
  out = std::move(decoded);
  return true;
}

std::vector<std::string> PictureFileSuffixes() {
  std::vector<std::string> suffixes = PcxDecoder().FileSuffixes();
  for (std::string& suffix : CurrentPictureDecoder().FileSuffixes()) {
    if (std::find(suffixes.begin(), suffixes.end(), suffix) == suffixes.end()) suffixes.push_back(std::move(suffix));
  }
  return suffixes;
}

}  // namespace platform
