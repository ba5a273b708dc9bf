// PCX pictures as the picture loader reads them from a file or a project.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::PictureBitmap bitmap;
  if (!platform::DecodePicture(std::string_view(reinterpret_cast<const char*>(data), size), bitmap)) return 0;
  // A decoded picture holds every row it claims; reading each pixel's colour
  // goes through its rows and its palette.
  if (bitmap.bits.size() < static_cast<std::size_t>(bitmap.bytesPerRow) * static_cast<std::size_t>(bitmap.height)) std::abort();
  volatile std::uint32_t sum = 0;
  for (int row = 0; row < bitmap.height; ++row) {
    for (int x = 0; x < bitmap.width; ++x) sum = sum + bitmap.PixelColor(x, row);
  }
  return 0;
}
