#include "tools/bigfont/OutlineFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

struct OutlineFace::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Library() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

namespace {

// Collects FreeType's outline walk as polylines on the grid.
struct Flattener {
  double scale;   // grid units per font unit
  double bottom;  // font units of the em square's bottom
  double tolerance;
  std::vector<Contour> contours;
  GridPoint last{0, 0};

  GridPoint Grid(const FT_Vector* v) const { return {v->x * scale, (v->y - bottom) * scale}; }

  void Add(const GridPoint& p) {
    contours.back().push_back(p);
    last = p;
  }

  // Chords of equal parameter steps, as many as keep the chord error within
  // the tolerance (bounded by the second derivative).
  int Steps(double secondDerivative) const {
    return std::max(1, static_cast<int>(std::ceil(std::sqrt(secondDerivative / (8 * tolerance)))));
  }

  static int MoveTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<Flattener*>(user);
    self->contours.emplace_back();
    self->Add(self->Grid(to));
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<Flattener*>(user);
    self->Add(self->Grid(to));
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* self = static_cast<Flattener*>(user);
    const GridPoint p0 = self->last, p1 = self->Grid(control), p2 = self->Grid(to);
    const int n = self->Steps(2 * std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y));
    for (int k = 1; k <= n; ++k) {
      const double t = static_cast<double>(k) / n, u = 1 - t;
      self->Add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    return 0;
  }
  static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* self = static_cast<Flattener*>(user);
    const GridPoint p0 = self->last, p1 = self->Grid(c1), p2 = self->Grid(c2), p3 = self->Grid(to);
    const double d = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                              std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    const int n = self->Steps(6 * d);
    for (int k = 1; k <= n; ++k) {
      const double t = static_cast<double>(k) / n, u = 1 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
      self->Add({a * p0.x + b * p1.x + c * p2.x + e * p3.x, a * p0.y + b * p1.y + c * p2.y + e * p3.y});
    }
    return 0;
  }
};

}  // namespace

OutlineFace::OutlineFace(int emUnits, double tolerance)
    : ft_(std::make_unique<Library>()), emUnits_(emUnits), tolerance_(tolerance) {}

OutlineFace::~OutlineFace() = default;

bool OutlineFace::Open(const std::string& path, int faceIndex, std::string& error) {
  if (ft_->library == nullptr && FT_Init_FreeType(&ft_->library) != 0) {
    ft_->library = nullptr;
    error = "FreeType does not start";
    return false;
  }
  if (ft_->face != nullptr) FT_Done_Face(ft_->face);
  if (FT_New_Face(ft_->library, path.c_str(), faceIndex, &ft_->face) != 0) {
    ft_->face = nullptr;
    error = "no face " + std::to_string(faceIndex) + " in it";
    return false;
  }
  if (!FT_IS_SCALABLE(ft_->face) || ft_->face->units_per_EM == 0 ||
      FT_Select_Charmap(ft_->face, FT_ENCODING_UNICODE) != 0) {
    error = "not an outline font with a Unicode character map";
    return false;
  }
  return true;
}

bool OutlineFace::Load(char32_t character, FlatGlyph& glyph) const {
  glyph = FlatGlyph{};
  FT_Face face = ft_->face;
  if (face == nullptr) return false;
  const FT_UInt index = FT_Get_Char_Index(face, character);
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
      face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
    return false;
  }
  const double upem = face->units_per_EM;
  Flattener flat{emUnits_ / upem, -upem / 8, tolerance_, {}, {}};
  FT_Outline_Funcs funcs{};
  funcs.move_to = &Flattener::MoveTo;
  funcs.line_to = &Flattener::LineTo;
  funcs.conic_to = &Flattener::ConicTo;
  funcs.cubic_to = &Flattener::CubicTo;
  if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &flat) != 0) return false;
  glyph.contours = std::move(flat.contours);
  glyph.advance = face->glyph->advance.x * flat.scale;
  return true;
}
