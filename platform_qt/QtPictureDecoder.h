#pragma once
// Picture decoding over Qt's image readers, and the conversions between the
// platform's bitmaps and QImage.
#include <QImage>
#include <memory>

#include "platform/PictureLoader.h"

namespace platform_qt {

class QtPictureDecoder : public platform::PictureDecoder {
 public:
  // Two-colour pictures other than BMP come back with the dark colour as
  // index 0 (BMP files keep their own index order).
  bool Decode(std::string_view bytes, platform::PictureBitmap& out) override;
  // Every format Qt's image readers (with the installed plugins) take.
  std::vector<std::string> FileSuffixes() const override;
};

// Monochrome and two-colour pictures keep 1 bit, pictures of up to 16
// palette colours 4 bits, other palette pictures 8 bits, everything else 24
// bits. Palette pictures keep the file's indices and palette (transparent
// entries drawn as white paper).
platform::PictureBitmap BitmapFromImage(const QImage& image);
// The bitmap as an upright image (for drawing).
QImage ImageFromBitmap(const platform::PictureBitmap& bitmap);

// Installs the decoder as the process-wide one.
void InstallQtPictureDecoder();

}  // namespace platform_qt
