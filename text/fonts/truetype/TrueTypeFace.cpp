#include "text/fonts/truetype/TrueTypeFace.h"

#include <algorithm>
#include <cmath>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

struct TrueTypeFace::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  double scale = 0;  // pixels per font unit
  double ascent = 0;
  double descent = 0;
};

namespace {

// Ascent and descent in font units as the cell height counts them: the
// Windows metrics of the OS/2 table when the face has them.
void CellMetrics(FT_Face face, double& ascent, double& descent) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && (os2->usWinAscent + os2->usWinDescent) > 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  } else {
    ascent = face->ascender;
    descent = -face->descender;
  }
  if (!(ascent + descent > 0)) {
    ascent = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    descent = 0;
  }
}

std::string FcMatchFile(FcPattern* pattern) {
  std::string file;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) file = reinterpret_cast<char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

struct Decomposer {
  std::vector<TrueTypeSegment>* out;
  double scale;
  double penX;
  double baseY;
  double lastX = 0;
  double lastY = 0;
  bool open = false;
  double X(const FT_Vector* v) const { return penX + v->x * scale; }
  double Y(const FT_Vector* v) const { return baseY - v->y * scale; }
};

int MoveTo(const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  if (d->open) d->out->push_back({TrueTypeSegment::Close, {0, 0, 0}, {0, 0, 0}});
  d->lastX = d->X(to);
  d->lastY = d->Y(to);
  d->out->push_back({TrueTypeSegment::Move, {d->lastX, 0, 0}, {d->lastY, 0, 0}});
  d->open = true;
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  d->lastX = d->X(to);
  d->lastY = d->Y(to);
  d->out->push_back({TrueTypeSegment::Line, {d->lastX, 0, 0}, {d->lastY, 0, 0}});
  return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  TrueTypeSegment s{TrueTypeSegment::Cubic, {d->X(c1), d->X(c2), d->X(to)}, {d->Y(c1), d->Y(c2), d->Y(to)}};
  d->out->push_back(s);
  d->lastX = s.x[2];
  d->lastY = s.y[2];
  return 0;
}

// A quadratic segment is the cubic with control points two thirds of the way
// to the quadratic control point.
int ConicTo(const FT_Vector* c, const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  const double qx = d->X(c);
  const double qy = d->Y(c);
  const double ex = d->X(to);
  const double ey = d->Y(to);
  TrueTypeSegment s{TrueTypeSegment::Cubic,
                    {d->lastX + 2.0 / 3.0 * (qx - d->lastX), ex + 2.0 / 3.0 * (qx - ex), ex},
                    {d->lastY + 2.0 / 3.0 * (qy - d->lastY), ey + 2.0 / 3.0 * (qy - ey), ey}};
  d->out->push_back(s);
  d->lastX = ex;
  d->lastY = ey;
  return 0;
}

}  // namespace

TrueTypeFace::TrueTypeFace() : impl_(std::make_unique<Impl>()) {}

TrueTypeFace::~TrueTypeFace() {
  if (impl_->face) FT_Done_Face(impl_->face);
  if (impl_->library) FT_Done_FreeType(impl_->library);
}

std::string TrueTypeFace::MatchFile(const std::string& family, bool bold, bool italic) {
  if (!FcInit()) return {};
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  return FcMatchFile(pattern);
}

std::string TrueTypeFace::MatchFileFor(char32_t character) {
  if (!FcInit()) return {};
  FcPattern* pattern = FcPatternCreate();
  FcCharSet* set = FcCharSetCreate();
  FcCharSetAddChar(set, static_cast<FcChar32>(character));
  FcPatternAddCharSet(pattern, FC_CHARSET, set);
  FcCharSetDestroy(set);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  return FcMatchFile(pattern);
}

bool TrueTypeFace::OpenFile(const std::string& path) {
  if (impl_->face) {
    FT_Done_Face(impl_->face);
    impl_->face = nullptr;
  }
  if (path.empty()) return false;
  if (!impl_->library && FT_Init_FreeType(&impl_->library) != 0) {
    impl_->library = nullptr;
    return false;
  }
  if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) {
    impl_->face = nullptr;
    return false;
  }
  if (!FT_IS_SCALABLE(impl_->face)) {
    FT_Done_Face(impl_->face);
    impl_->face = nullptr;
    return false;
  }
  FT_Select_Charmap(impl_->face, FT_ENCODING_UNICODE);
  return true;
}

bool TrueTypeFace::IsOpen() const { return impl_->face != nullptr; }

void TrueTypeFace::SetCellHeight(int pixels) {
  if (!impl_->face) return;
  double a = 0;
  double d = 0;
  CellMetrics(impl_->face, a, d);
  impl_->scale = pixels / (a + d);
  impl_->ascent = a * impl_->scale;
  impl_->descent = d * impl_->scale;
}

double TrueTypeFace::Ascent() const { return impl_->ascent; }
double TrueTypeFace::Descent() const { return impl_->descent; }

TrueTypeLineMetrics TrueTypeFace::LineMetrics() const {
  TrueTypeLineMetrics m;
  const FT_Face face = impl_->face;
  if (!face) return m;
  const double k = impl_->scale;
  auto pixels = [k](double units) { return static_cast<int>(std::lround(units * k)); };
  auto thickness = [&pixels](double units) { return std::max(1, pixels(units)); };
  // FreeType gives the middle of the underline stroke, above the base line.
  const double underlineThickness = face->underline_thickness > 0 ? face->underline_thickness : face->units_per_EM / 20.0;
  m.underlineThickness = thickness(underlineThickness);
  m.underlineTop = -pixels(face->underline_position + underlineThickness / 2);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    m.strikeOutTop = -pixels(os2->yStrikeoutPosition);
    m.strikeOutThickness = thickness(os2->yStrikeoutSize);
  } else {
    m.strikeOutTop = -pixels(face->units_per_EM / 4.0);
    m.strikeOutThickness = m.underlineThickness;
  }
  return m;
}

bool TrueTypeFace::HasGlyph(char32_t character) const {
  return impl_->face && FT_Get_Char_Index(impl_->face, character) != 0;
}

int TrueTypeFace::Advance(char32_t character) const {
  if (!impl_->face) return 0;
  const FT_UInt index = FT_Get_Char_Index(impl_->face, character);
  if (FT_Load_Glyph(impl_->face, index, FT_LOAD_NO_SCALE) != 0) return 0;
  return static_cast<int>(std::lround(impl_->face->glyph->metrics.horiAdvance * impl_->scale));
}

bool TrueTypeFace::Outline(char32_t character, double penX, double penY, std::vector<TrueTypeSegment>& out) const {
  out.clear();
  if (!impl_->face) return false;
  const FT_UInt index = FT_Get_Char_Index(impl_->face, character);
  if (index == 0) return false;
  if (FT_Load_Glyph(impl_->face, index, FT_LOAD_NO_SCALE) != 0) return false;
  FT_GlyphSlot slot = impl_->face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  Decomposer d{&out, impl_->scale, penX, penY + impl_->ascent};
  FT_Outline_Funcs funcs{};
  funcs.move_to = &MoveTo;
  funcs.line_to = &LineTo;
  funcs.conic_to = &ConicTo;
  funcs.cubic_to = &CubicTo;
  if (FT_Outline_Decompose(&slot->outline, &funcs, &d) != 0) {
    out.clear();
    return false;
  }
  if (d.open) out.push_back({TrueTypeSegment::Close, {0, 0, 0}, {0, 0, 0}});
  return !out.empty();
}

std::u32string DecodeUtf8(const std::string& utf8) {
  std::u32string out;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    int extra = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= n) {
      out.push_back(0xFFFD);
      break;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if ((p[i + static_cast<std::size_t>(k)] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (p[i + static_cast<std::size_t>(k)] & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}
