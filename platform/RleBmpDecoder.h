#pragma once
// Run-length coded BMP pictures (RLE8 and RLE4), read by our own decoder:
// their codes may move past pixels (deltas, line ends, an end of the picture
// before its last line), and the image library we build on leaves those
// pixels as whatever memory held, so the same file drew as noise and gave
// other dots at each reading. Here a pixel the codes never set is paper: an
// index that its depth's darkness rule reads as light, drawn white when the
// palette leaves that index free. A file whose data ends before its
// end-of-picture code is refused, as any BMP cut short is. Pictures come out
// as the image library hands out palette pictures: the file's indices and
// palette, in the depth its number of colours asks for.
#include <string_view>

#include "platform/PictureLoader.h"

namespace platform {

class RleBmpDecoder : public PictureDecoder {
 public:
  // Larger pictures are refused rather than decoded into gigabytes.
  static constexpr long long kMaxPixels = 64LL * 1024 * 1024;

  // Whether the bytes begin with a BMP header naming RLE8 or RLE4 data.
  static bool LooksLikeRleBmp(std::string_view bytes);
  bool Decode(std::string_view bytes, PictureBitmap& out) override;
};

}  // namespace platform
