// Picture files as the picture object loads them from a file or a project:
// our own BMP run-length and PCX readers, and every other format through the
// GUI's image readers.
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/objects/CPictureLoader.h"
#include "platform_qt/QtPictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool installed = [] {
    platform_qt::InstallQtPictureDecoder();
    // The image readers' complaints about damaged files only slow the runs.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return true;
  }();
  (void)installed;
  CPictureLoader loader;
  if (!loader.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  const platform::PictureBitmap* bitmap = loader.GetBitmap();
  if (bitmap == nullptr || bitmap->IsEmpty()) std::abort();
  // A decoded picture holds every row it claims; reading each pixel's colour
  // goes through its rows and its palette, and telling whether it is dark
  // lets a memory checker see a pixel the reader never set.
  if (bitmap->bits.size() < static_cast<std::size_t>(bitmap->bytesPerRow) * static_cast<std::size_t>(bitmap->height))
    std::abort();
  volatile long long dark = 0;
  for (int row = 0; row < bitmap->height; ++row) {
    for (int x = 0; x < bitmap->width; ++x) {
      const std::uint32_t c = bitmap->PixelColor(x, row);
      if (platform::IsDarkRgb(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF)))
        dark = dark + 1;
    }
  }
  return 0;
}
