#pragma once
// The screen image of a picture, converted once and kept with the picture (in
// its draw cache) so repaints of an unchanged picture draw it as it is. The
// images kept together stay within a budget; past it a picture converts on
// every draw as before, to the same pixels.
#include <QImage>
#include <cstddef>
#include <memory>

#include "platform/PictureLoader.h"

namespace platform_qt {

class PictureImageCache {
 public:
  static constexpr std::size_t kBudgetBytes = std::size_t{512} << 20;

  // The picture's screen image; null for an empty picture.
  static std::shared_ptr<const QImage> ImageOf(const platform::PictureBitmap& bitmap);
  // Bytes the kept images take now.
  static std::size_t BytesHeld();
};

}  // namespace platform_qt
