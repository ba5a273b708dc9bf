#pragma once
// ZSoft PCX pictures, read by our own decoder since the image libraries we
// build on have none: run-length coded lines of 1 bit (one or up to four
// planes, the 16-colour header palette), 4 bits in one plane, 8 bits (the
// 256-colour palette after the 0x0C byte at the end) and 24 bits (three 8-bit
// planes). Every size and run is checked against the file, so a damaged file
// is refused instead of read past its end.
#include <string_view>

#include "platform/PictureLoader.h"

namespace platform {

class PcxDecoder : public PictureDecoder {
 public:
  // Larger pictures are refused rather than decoded into gigabytes.
  static constexpr long long kMaxPixels = 64LL * 1024 * 1024;

  // Whether the bytes begin with a PCX header of a kind this decoder reads.
  static bool LooksLikePcx(std::string_view bytes);
  // Palette pictures keep their indices (the darkness rule reads them), with
  // the file's palette for drawing.
  bool Decode(std::string_view bytes, PictureBitmap& out) override;
  std::vector<std::string> FileSuffixes() const override { return {"pcx"}; }
};

}  // namespace platform
