#pragma once
// One face of a font file read with FreeType as pixels at one size: the
// strike of a bitmap face (PCF, also gzip-compressed), or an outline face
// rendered without hinting in black and white, so that what a glyph gives
// does not depend on the FreeType version's hinter.
#include <memory>
#include <string>

#include "tools/dotfont/InkGlyph.h"

class BitmapFace {
 public:
  BitmapFace();
  ~BitmapFace();
  BitmapFace(const BitmapFace&) = delete;
  BitmapFace& operator=(const BitmapFace&) = delete;

  // pixelSize: pixels to the em; a bitmap face must have a strike of that
  // size. widthScale narrows (below 1) an outline face's glyphs; a bitmap
  // face takes only 1. False with the reason in error.
  bool Open(const std::string& path, int pixelSize, double widthScale, std::string& error);
  // False when the face has no glyph for the character.
  bool Load(char32_t character, InkGlyph& glyph) const;

 private:
  struct Library;
  std::unique_ptr<Library> ft_;
};
