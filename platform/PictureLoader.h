#pragma once
// Pictures: file bytes in, pixels out. The decoding itself is a replaceable
// backend (the GUI installs one over its image library; without one nothing
// decodes), so the document code reads pictures without any GUI header.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PictureDrawCache.h"

namespace platform {

// A decoded picture in the layout of a device-independent bitmap: rows
// bottom-up (row 0 is the picture's last line), each padded to a multiple of
// 4 bytes. 1, 4 and 8 bits per pixel hold palette indices (1 bit: most
// significant bit first); 24 bits hold red, green, blue in this order.
struct PictureBitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int bytesPerRow = 0;
  std::vector<std::uint8_t> bits;
  std::vector<std::uint32_t> palette;  // 0xAARRGGBB, for 1, 4 and 8 bits per pixel
  // The drawing backend's converted copy; not copied with the pixels.
  PictureDrawCache drawCache;

  bool IsEmpty() const { return width <= 0 || height <= 0 || bits.empty(); }
  // Bytes a row of the given width and depth takes, padding included.
  static int RowBytes(int width, int bitsPerPixel);
  // A zeroed bitmap of the size and depth (palette left empty).
  static PictureBitmap Make(int width, int height, int bitsPerPixel);
  // The depth a palette picture of this many colours keeps: 1 bit for two,
  // 4 bits for up to 16, else 8.
  static int PaletteDepth(std::size_t colours) { return colours <= 2 ? 1 : colours <= 16 ? 4 : 8; }
  // Sets the palette index of pixel (x, row) of a 1-, 4- or 8-bit bitmap.
  void SetIndex(int x, int row, unsigned index);
  // The colour of pixel (x, row) as 0xAARRGGBB; black outside the bitmap.
  std::uint32_t PixelColor(int x, int row) const;
};

// Whether a true-colour pixel is dark: its brightness, weighing red, green
// and blue as the eye does, below half. Every format's dark pixels follow it.
inline bool IsDarkRgb(int red, int green, int blue) { return ((red * 9798 + green * 19235 + blue * 3735) >> 15) < 128; }
// Palette pictures are dark by their index: below this one of their depth
// (1 bit: 1; 4 bits: 9; 8 bits: 128).
inline unsigned FirstLightIndex(int bitsPerPixel) { return bitsPerPixel == 1 ? 1 : bitsPerPixel == 4 ? 9 : 128; }

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // Decodes the bytes of a picture file (bmp, dib, gif, jpeg, pcx, tga,
  // tiff ...). False, out untouched, when they hold no picture it can read.
  virtual bool Decode(std::string_view bytes, PictureBitmap& out) = 0;
  // Name suffixes (lower case, no dot) of the files it decodes, for the
  // file dialogs' filters; the reading itself goes by content.
  virtual std::vector<std::string> FileSuffixes() const { return {}; }
};

// The process-wide decoder; one that decodes nothing until the GUI (or a
// test) installs its own.
PictureDecoder& CurrentPictureDecoder();
void SetPictureDecoder(std::shared_ptr<PictureDecoder> decoder);

// Decodes PCX pictures itself and every other format through the current
// decoder; the result is checked, so callers may rely on bits holding
// bytesPerRow x height bytes.
bool DecodePicture(std::string_view bytes, PictureBitmap& out);
// Suffixes of every picture file DecodePicture reads: PCX and the current
// decoder's, each once.
std::vector<std::string> PictureFileSuffixes();

}  // namespace platform
