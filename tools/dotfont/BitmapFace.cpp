#include "tools/dotfont/BitmapFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

struct BitmapFace::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  FT_Int32 loadFlags = FT_LOAD_RENDER | FT_LOAD_TARGET_MONO;
  ~Library() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

BitmapFace::BitmapFace() : ft_(std::make_unique<Library>()) {}

BitmapFace::~BitmapFace() = default;

bool BitmapFace::Open(const std::string& path, int pixelSize, double widthScale, std::string& error) {
  ft_ = std::make_unique<Library>();
  if (FT_Init_FreeType(&ft_->library) != 0) {
    error = "FreeType does not start";
    return false;
  }
  if (FT_New_Face(ft_->library, path.c_str(), 0, &ft_->face) != 0) {
    error = path + ": not a font file FreeType reads";
    return false;
  }
  FT_Face face = ft_->face;
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    error = path + ": the face has no Unicode character map";
    return false;
  }
  if (FT_IS_SCALABLE(face)) {
    if (!(widthScale > 0 && widthScale <= 1) || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
      error = path + ": the face does not take that size";
      return false;
    }
    if (widthScale != 1) {
      FT_Matrix narrow{static_cast<FT_Fixed>(std::lround(widthScale * 0x10000)), 0, 0, 0x10000};
      FT_Set_Transform(face, &narrow, nullptr);
    }
    ft_->loadFlags |= FT_LOAD_NO_HINTING;
    return true;
  }
  if (widthScale != 1) {
    error = path + ": a bitmap face cannot be narrowed";
    return false;
  }
  for (int i = 0; i < face->num_fixed_sizes; ++i) {
    if ((face->available_sizes[i].y_ppem + 32) / 64 == pixelSize) {
      if (FT_Select_Size(face, i) != 0) break;
      return true;
    }
  }
  error = path + ": the face has no strike of " + std::to_string(pixelSize) + " pixels";
  return false;
}

bool BitmapFace::Load(char32_t character, InkGlyph& glyph) const {
  glyph.pixels.clear();
  FT_Face face = ft_->face;
  if (face == nullptr) return false;
  const FT_UInt index = FT_Get_Char_Index(face, character);
  if (index == 0 || FT_Load_Glyph(face, index, ft_->loadFlags) != 0) return false;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& b = slot->bitmap;
  for (unsigned row = 0; row < b.rows; ++row) {
    const unsigned char* line = b.buffer + static_cast<std::ptrdiff_t>(row) * b.pitch;
    for (unsigned column = 0; column < b.width; ++column) {
      const bool ink =
          b.pixel_mode == FT_PIXEL_MODE_MONO ? (line[column / 8] & (0x80 >> (column % 8))) != 0 : line[column] >= 0x80;
      if (ink)
        glyph.pixels.push_back(
            {slot->bitmap_left + static_cast<int>(column), slot->bitmap_top - 1 - static_cast<int>(row)});
    }
  }
  return true;
}
