#include "text/fonts/shx/ShxStrokeRenderer.h"

#include <climits>
#include <cmath>

#include "document/curves/CArc3Point.h"
#include "text/fonts/shx/ShxTextToStrokes.h"

namespace {

constexpr double kDegToRad = 0.0174532;
constexpr std::size_t kDefinitionBytes = 10240;
constexpr std::size_t kSubshapeBytes = 1024;
constexpr double kArcEndTolerance = 0.0001;

// Unit steps of the sixteen vector directions (x before the width factor).
constexpr double kDirections[16][2] = {
    {1, 0},  {1, 0.5},   {1, 1},   {0.5, 1},   {0, 1},  {-0.5, 1}, {-1, 1}, {-1, 0.5},
    {-1, 0}, {-1, -0.5}, {-1, -1}, {-0.5, -1}, {0, -1}, {0.5, -1}, {1, -1}, {1, -0.5},
};

// The diameter sign: an octagon 4 units wide with a slash through it, then an
// advance of 6 units.
const std::vector<std::uint8_t> kDiameterShape = {2,    0x44, 1,    0x12, 0x20, 0x1E, 0x2C, 0x1A, 0x28, 0x16, 0x24,
                                                  2,    0x12, 0x20, 0x13, 1,    0x6B, 2,    0x13, 0x1C, 0x50, 0};
constexpr double kDiameterScale = 1.6666666666667;

// The star of "%%*", in hundredths of the text height.
constexpr double kStarPoints[11][2] = {
    {50, 97.7233},         {38.213016, 61.446692}, {0.069533, 61.446692}, {30.928259, 39.026516},
    {19.141274, 2.749908}, {50, 25.170084},        {80.858726, 2.749908}, {69.071741, 39.026516},
    {99.930467, 61.446692}, {61.786984, 61.446692}, {50, 97.7233},
};
constexpr double kStarAdvance = 120;

bool Near(const CDoublePoint& p, double x, double y) { return std::hypot(p.x - x, p.y - y) <= kArcEndTolerance; }

}  // namespace

ShxStrokeRenderer::ShxStrokeRenderer(const ShxLayout& layout, double* coords, std::uint8_t* flags, int* capacity,
                                     int* status)
    : layout_(layout),
      cosRotation_(std::cos(layout.rotation * kDegToRad)),
      sinRotation_(std::sin(layout.rotation * kDegToRad)),
      tanSlant_(std::tan(layout.slant * kDegToRad)),
      coords_(coords),
      flags_(flags),
      capacity_(capacity),
      status_(status) {
  curX_ = nextX_ = charStartX_ = rightmostX_ = layout_.originX;
  curY_ = nextY_ = charStartY_ = layout_.originY;
  lastOut_ = {layout_.originX, layout_.originY};
}

void ShxStrokeRenderer::OpenFonts(const std::string& installFolder, const std::string& mainFontName,
                                  const std::string& bigFontName) {
  ownFonts_ = std::make_unique<ShxFontCache>(installFolder);
  OpenFonts(*ownFonts_, mainFontName, bigFontName);
}

void ShxStrokeRenderer::OpenFonts(ShxFontCache& fonts, const std::string& mainFontName,
                                  const std::string& bigFontName) {
  stackCount_ = 0;
  fntMode_ = 0;
  main_ = fonts.Open(mainFontName);
  if (!main_) {
    const std::size_t shx = mainFontName.find(".shx");
    const std::string base = shx == std::string::npos ? std::string() : mainFontName.substr(0, shx);
    main_ = fonts.Open(base + ".fnt");
    if (main_) fntMode_ = 1;
  }
  big_ = fonts.Open(bigFontName);

  *status_ = 0;
  if (!big_) *status_ |= SHX_NO_BIG_FONT;
  if (!main_) *status_ |= SHX_NO_MAIN_FONT;
  if (main_ && !fntMode_ && main_->MainHeader()) mainScale_ = main_->main.GetScale();
  if (big_ && big_->BigHeader()) bigScale_ = big_->big.GetScale();
}

int ShxStrokeRenderer::Render(const std::string& text) {
  // The text ends at its first zero byte, as it always has.
  std::string buffer(text.c_str());
  if (!big_) {
    // Without a big font each double-byte character shows as "??"; a lead byte
    // at the very end becomes "??" too instead of swallowing the end mark.
    for (std::size_t i = 0; i < buffer.size(); ++i) {
      if (static_cast<std::uint8_t>(buffer[i]) & 0x80) {
        bigLacking_ = true;
        buffer[i] = '?';
        if (i + 1 < buffer.size()) {
          buffer[i + 1] = '?';
        } else {
          buffer.push_back('?');
        }
        ++i;
      }
    }
  }
  if (buffer.empty()) buffer.assign(1, '?');

  if (!Emit(layout_.originX, layout_.originY, 0)) {
    *status_ |= SHX_GLYPH_FAILED;
    return 0;
  }

  std::vector<std::uint8_t> definition;
  const std::size_t n = buffer.size();
  for (std::size_t i = 0; i < n;) {
    const auto c = static_cast<std::uint8_t>(buffer[i]);
    bool ok = true;
    const Snapshot before = Save();
    if (c >= 1 && c <= 31) {
      *status_ |= SHX_CONTROL_CHARACTER;
      ++i;
      continue;
    }
    const bool percents = c == '%' && i + 2 < n && buffer[i + 1] == '%';
    if (percents && (buffer[i + 2] == 'c' || buffer[i + 2] == 'C')) {
      ok = DrawDiameterSign();
      i += 3;
    } else if (percents && buffer[i + 2] == '*') {
      ok = DrawStar();
      i += 3;
    } else if (c & 0x80) {
      if (big_) {
        const std::uint8_t trail = i + 1 < n ? static_cast<std::uint8_t>(buffer[i + 1]) : 0;
        scale_ = 1.0;
        glyphScale_ = bigScale_;
        if (big_->big.Lookup(static_cast<std::uint16_t>(c * 256 + trail), kDefinitionBytes, definition)) {
          ok = DrawShapeGlyph(definition, ShapeStartAfterName(definition), true);
        } else {
          *status_ |= SHX_GLYPH_MISSING;
        }
      } else {
        *status_ |= SHX_NO_BIG_FONT;
        bigLacking_ = true;
      }
      i += 2;
    } else if (main_) {
      scale_ = 1.0;
      if (fntMode_) {
        if (c == ' ') {
          curX_ += 0.76 * layout_.height;
        } else {
          ok = DrawPointListGlyph(c);
        }
      } else {
        glyphScale_ = mainScale_;
        if (main_->main.Lookup(c, kDefinitionBytes, definition)) {
          ok = DrawShapeGlyph(definition, main_->main.ShapeStart(definition), false);
        } else {
          *status_ |= SHX_GLYPH_MISSING;
        }
      }
      ++i;
    } else {
      *status_ |= SHX_NO_MAIN_FONT;
      mainLacking_ = true;
      ++i;
    }
    if (!ok) {
      *status_ |= SHX_GLYPH_FAILED;
      if (!skipFailed_) return 0;
      Restore(before);
    }
  }
  return Writing() ? written_ : 0;
}

ShxStrokeRenderer::Snapshot ShxStrokeRenderer::Save() const {
  return Snapshot{written_, produced_,  Writing() ? 0 : *capacity_, stackCount_, skipNext_, curX_,      curY_,
                  nextX_,   nextY_,     charStartX_, charStartY_, rightmostX_, scale_, lastOut_};
}

void ShxStrokeRenderer::Restore(const Snapshot& s) {
  written_ = s.written;
  produced_ = s.produced;
  if (!Writing()) *capacity_ = s.capacity;
  stackCount_ = s.stackCount;
  skipNext_ = s.skipNext;
  curX_ = s.curX;
  curY_ = s.curY;
  nextX_ = s.nextX;
  nextY_ = s.nextY;
  charStartX_ = s.charStartX;
  charStartY_ = s.charStartY;
  rightmostX_ = s.rightmostX;
  scale_ = s.scale;
  lastOut_ = s.lastOut;
  subshapeDepth_ = 0;
}

bool ShxStrokeRenderer::DrawShapeGlyph(const std::vector<std::uint8_t>& definition, std::size_t start, bool bigMode) {
  charStartX_ = curX_;
  charStartY_ = curY_;
  rightmostX_ = curX_;
  const int from = written_;
  if (!RunShape(definition, start, bigMode, false)) return false;
  MarkCharacterStart(from);
  return true;
}

bool ShxStrokeRenderer::DrawDiameterSign() {
  scale_ = 1.0;
  glyphScale_ = kDiameterScale;
  // The built-in shape has no name or index bytes in front: it always starts
  // at its first byte, whatever the kind of the main font.
  return DrawShapeGlyph(kDiameterShape, 0, false);
}

bool ShxStrokeRenderer::DrawStar() {
  const double s = layout_.height * 0.01 * layout_.mainWidth;
  const int from = written_;
  for (int k = 0; k < 11; ++k) {
    if (!Emit(curX_ + kStarPoints[k][0] * s, curY_ + kStarPoints[k][1] * s, k == 0 ? 0 : SHX_PEN_DOWN)) return false;
  }
  const double endX = curX_ + kStarAdvance * s;
  if (!Emit(endX, curY_, 0)) return false;
  curX_ = endX + layout_.spacing;
  MarkCharacterStart(from);
  return true;
}

bool ShxStrokeRenderer::DrawPointListGlyph(std::uint8_t character) {
  std::uint32_t count = 0;
  if (!main_->pointList.FindGlyph(character, count)) return true;
  const int from = written_;
  if (!Writing()) {
    for (std::uint32_t k = 0; k < count; ++k) {
      if (!Produce()) return false;
    }
    return true;
  }
  const double r = layout_.rotation * kDegToRad;
  const double cosR = std::cos(r), sinR = std::sin(r), tanS = std::tan(layout_.slant * kDegToRad);
  double lastX = curX_;
  for (std::uint32_t k = 0; k < count; ++k) {
    ShxListPoint point;
    if (!main_->pointList.ReadPoint(point)) break;
    const double px = curX_ + point.x * layout_.mainWidth * 0.2 * layout_.height;
    const double py = curY_ + point.y * 0.2 * layout_.height;
    const double dx = px - layout_.originX;
    const double dy = py - layout_.originY;
    const double rx = cosR * dx - sinR * dy;
    const double ry = sinR * dx + cosR * dy;
    if (!EmitTransformed(layout_.originX + rx + tanS * ry, layout_.originY + ry, point.flag)) return false;
    lastX = px;
  }
  curY_ = layout_.originY;
  curX_ = lastX + layout_.spacing;
  MarkCharacterStart(from);
  return true;
}

void ShxStrokeRenderer::MarkCharacterStart(int fromDouble) {
  if (!Writing()) return;
  for (int p = fromDouble / 2; p < written_ / 2; ++p) {
    if (flags_[p] != 0) {
      flags_[p] |= SHX_CHAR_FIRST;
      return;
    }
  }
}

bool ShxStrokeRenderer::RunShape(const std::vector<std::uint8_t>& definition, std::size_t start, bool bigMode,
                                 bool subshape) {
  const std::size_t size = definition.size();
  // Bytes beyond the definition read as the zeros of a cleared buffer, so
  // every run ends at an end-of-shape code.
  auto at = [&](std::size_t k) -> std::uint8_t { return k < size ? definition[k] : 0; };
  auto signedAt = [&](std::size_t k) -> double { return static_cast<std::int8_t>(at(k)); };
  const double width = bigMode ? layout_.bigWidth : layout_.mainWidth;
  bool pen = false;
  std::size_t i = start;
  for (;;) {
    const double unit = layout_.height * 0.1 * glyphScale_ * scale_;
    const std::uint8_t code = at(i++);
    switch (code) {
      case 0:
        if (subshape) return true;
        return Advance(bigMode, pen);
      case 1:
        pen = true;
        break;
      case 2:
        pen = false;
        break;
      case 3:
      case 4: {
        const std::uint8_t factor = at(i++);
        if (skipNext_) {
          skipNext_ = 0;
          break;
        }
        if (factor == 0) {
          *status_ |= SHX_ZERO_SCALE;
          return false;
        }
        scale_ = code == 3 ? scale_ / factor : scale_ * factor;
        break;
      }
      case 5:
        if (skipNext_) {
          skipNext_ = 0;
          break;
        }
        if (stackCount_ + 4 > static_cast<int>(stack_.size())) {
          *status_ |= SHX_STACK_FAULT;
          return false;
        }
        stack_[stackCount_] = curX_;
        stack_[stackCount_ + 1] = curY_;
        stack_[stackCount_ + 2] = lastOut_.x;
        stack_[stackCount_ + 3] = lastOut_.y;
        stackCount_ += 4;
        break;
      case 6:
        if (skipNext_) {
          skipNext_ = 0;
          break;
        }
        if (stackCount_ < 4) {
          *status_ |= SHX_STACK_FAULT;
          return false;
        }
        stackCount_ -= 4;
        if (!EmitTransformed(stack_[stackCount_ + 2], stack_[stackCount_ + 3], 0)) return false;
        curX_ = stack_[stackCount_];
        curY_ = stack_[stackCount_ + 1];
        break;
      case 7: {
        const std::uint8_t number = at(i++);
        if (skipNext_) {
          skipNext_ = 0;
          break;
        }
        if (!CallSubshape(number)) return false;
        break;
      }
      case 8: {
        const double dx = signedAt(i), dy = signedAt(i + 1);
        i += 2;
        if (skipNext_) {
          skipNext_ = 0;
          pen = false;
          break;
        }
        if (!MoveBy(dx * unit * width, dy * unit, pen)) return false;
        break;
      }
      case 9: {
        const bool skipping = skipNext_ != 0;
        for (;;) {
          const double dx = signedAt(i), dy = signedAt(i + 1);
          i += 2;
          if (dx == 0 && dy == 0) break;
          if (!skipping && !MoveBy(dx * unit * width, dy * unit, pen)) return false;
        }
        if (skipping) skipNext_ = 0;
        break;
      }
      case 10: {
        const std::uint8_t radius = at(i), octants = at(i + 1);
        i += 2;
        if (!OctantArc(unit, radius, octants)) return false;
        break;
      }
      case 11: {
        const std::uint8_t operands[5] = {at(i), at(i + 1), at(i + 2), at(i + 3), at(i + 4)};
        i += 5;
        if (!FractionalArc(unit, operands)) return false;
        break;
      }
      case 12: {
        const auto dx = static_cast<std::int8_t>(at(i)), dy = static_cast<std::int8_t>(at(i + 1));
        const auto bulge = static_cast<std::int8_t>(at(i + 2));
        i += 3;
        if (!BulgeArc(unit, width, dx, dy, bulge, 0)) return false;
        break;
      }
      case 13: {
        const bool skipping = skipNext_ != 0;
        bool first = true;
        for (;;) {
          const auto dx = static_cast<std::int8_t>(at(i)), dy = static_cast<std::int8_t>(at(i + 1));
          i += 2;
          if (dx == 0 && dy == 0) break;
          const auto bulge = static_cast<std::int8_t>(at(i++));
          if (skipping) continue;
          if (!BulgeArc(unit, width, dx, dy, bulge, first ? 0 : SHX_PEN_DOWN)) return false;
          first = false;
        }
        if (skipping) skipNext_ = 0;
        break;
      }
      case 14:
        skipNext_ = 1;
        break;
      default: {
        if (skipNext_) {
          skipNext_ = 0;
          break;
        }
        const int length = code >> 4;
        const double* d = kDirections[code & 0x0F];
        if (!MoveBy(d[0] * length * unit * width, d[1] * length * unit, pen)) return false;
        break;
      }
    }
  }
}

bool ShxStrokeRenderer::CallSubshape(std::uint8_t number) {
  if (!subshapeLooked_[number]) {
    subshapeLooked_[number] = true;
    std::vector<std::uint8_t> definition;
    if (big_ && big_->big.Lookup(number, kSubshapeBytes, definition)) subshapes_[number] = std::move(definition);
  }
  if (!subshapes_[number]) {
    *status_ |= SHX_SUBSHAPE_MISSING | SHX_GLYPH_MISSING;
    return true;
  }
  // Subshapes that call themselves, or each other without end, fail the glyph.
  if (subshapeDepth_ >= kShxMaxSubshapeDepth || ++subshapeCalls_ > kShxMaxSubshapeCalls) return false;
  const std::vector<std::uint8_t>& definition = *subshapes_[number];
  ++subshapeDepth_;
  const bool ok = RunShape(definition, ShapeStartAfterName(definition), true, true);
  --subshapeDepth_;
  return ok;
}

bool ShxStrokeRenderer::MoveBy(double dx, double dy, bool pen) {
  nextX_ = curX_ + dx;
  nextY_ = curY_ + dy;
  if (!Emit(nextX_, nextY_, pen ? SHX_PEN_DOWN : 0)) return false;
  curX_ = nextX_;
  curY_ = nextY_;
  if (curX_ > rightmostX_) rightmostX_ = curX_;
  return true;
}

bool ShxStrokeRenderer::Arc(const Point& start, const Point& middle, const Point& end, std::uint8_t firstFlag) {
  CArc3Point arc(CDoublePoint(start.x, start.y), CDoublePoint(middle.x, middle.y), CDoublePoint(end.x, end.y));
  int callerValue = 0;
  arc.Generate(0.5f, &callerValue, 1);
  const CPointList& points = arc.output;
  const int n = points.GetSize();
  if (n == 0) return true;
  // An arc generated from its end back to its start is drawn the other way.
  const bool reverse = Near(points[n - 1], start.x, start.y) && !Near(points[n - 1], end.x, end.y);
  for (int k = 0; k < n; ++k) {
    const CDoublePoint& p = points[reverse ? n - 1 - k : k];
    nextX_ = p.x;
    nextY_ = p.y;
    if (!Emit(nextX_, nextY_, k == 0 ? firstFlag : SHX_PEN_DOWN)) return false;
    curX_ = nextX_;
    curY_ = nextY_;
  }
  if (curX_ > rightmostX_) rightmostX_ = curX_;
  return true;
}

bool ShxStrokeRenderer::OctantArc(double unit, std::uint8_t radius, std::uint8_t octants) {
  const double r = radius * unit;
  const bool clockwise = (octants & 0x80) != 0;
  const int startOctant = (octants >> 4) & 7;
  int count = octants & 0x0F;
  if (count == 0) count = 8;
  double a = 45.0 * startOctant;
  // A full circle is drawn as two half circles.
  const int parts = count == 8 ? 2 : 1;
  const int perPart = count == 8 ? 4 : count;
  for (int part = 0; part < parts; ++part) {
    const double sweep = 45.0 * perPart;
    const double e = clockwise ? a - sweep : a + sweep;
    const double m = (a + e) / 2;
    const double cx = curX_ - r * std::cos(a * kDegToRad);
    const double cy = curY_ - r * std::sin(a * kDegToRad);
    const Point start{cx + r * std::cos(a * kDegToRad), cy + r * std::sin(a * kDegToRad)};
    const Point middle{cx + r * std::cos(m * kDegToRad), cy + r * std::sin(m * kDegToRad)};
    const Point end{cx + r * std::cos(e * kDegToRad), cy + r * std::sin(e * kDegToRad)};
    if (!Arc(start, middle, end, 0)) return false;
    a = e;
  }
  return true;
}

bool ShxStrokeRenderer::FractionalArc(double unit, const std::uint8_t* operands) {
  const int startDegrees = operands[0] * 45 / 256;
  const int endDegrees = operands[1] * 45 / 256;
  const double r = (operands[2] * 256 + operands[3]) * unit;
  const std::uint8_t octants = operands[4];
  const bool clockwise = (octants & 0x80) != 0;
  const int s = (octants >> 4) & 7;
  int count = octants & 0x0F;
  if (count == 0) count = 8;
  double a, e;
  if (clockwise) {
    a = 45.0 * s - startDegrees;
    e = 45.0 * (s - count - 1) + endDegrees;
  } else {
    a = 45.0 * s + startDegrees;
    e = 45.0 * (s + count) + endDegrees;
  }
  const double m = (a + e) / 2;
  const double cx = curX_ - r * std::cos(a * kDegToRad);
  const double cy = curY_ - r * std::sin(a * kDegToRad);
  return Arc({cx + r * std::cos(a * kDegToRad), cy + r * std::sin(a * kDegToRad)},
             {cx + r * std::cos(m * kDegToRad), cy + r * std::sin(m * kDegToRad)},
             {cx + r * std::cos(e * kDegToRad), cy + r * std::sin(e * kDegToRad)}, 0);
}

bool ShxStrokeRenderer::BulgeArc(double unit, double width, std::int8_t dx, std::int8_t dy, std::int8_t bulge,
                                 std::uint8_t firstFlag) {
  const Point start{curX_, curY_};
  const double chordX = dx * unit * width;
  const double chordY = dy * unit;
  const Point end{start.x + chordX, start.y + chordY};
  const double h = bulge / 127.0;
  const Point middle{(start.x + end.x) / 2 + (h / 2) * chordY, (start.y + end.y) / 2 - (h / 2) * chordX};
  return Arc(start, middle, end, firstFlag);
}

bool ShxStrokeRenderer::Advance(bool bigMode, bool pen) {
  curY_ = charStartY_;
  curX_ = (bigMode ? rightmostX_ : curX_) + layout_.spacing;
  return layout_.spacing == 0 || Emit(curX_, curY_, pen ? SHX_PEN_DOWN : 0);
}

ShxStrokeRenderer::Point ShxStrokeRenderer::Transform(double x, double y) const {
  const double dy = y - layout_.originY;
  const double xs = (x - layout_.originX) + tanSlant_ * dy;
  return {layout_.originX + cosRotation_ * xs - sinRotation_ * dy,
          layout_.originY + sinRotation_ * xs + cosRotation_ * dy};
}

bool ShxStrokeRenderer::Emit(double x, double y, std::uint8_t flag) {
  const Point p = Transform(x, y);
  return EmitTransformed(p.x, p.y, flag);
}

bool ShxStrokeRenderer::EmitTransformed(double x, double y, std::uint8_t flag) {
  // A point that is not a number (a font scaled beyond all bounds) is never
  // handed to the machine.
  if (!std::isfinite(x) || !std::isfinite(y)) return false;
  lastOut_ = {x, y};
  if (!Produce()) return false;
  if (Writing() && written_ + 2 <= *capacity_) {
    coords_[written_] = x;
    coords_[written_ + 1] = y;
    flags_[written_ / 2] = flag;
    written_ += 2;
  }
  return true;
}

bool ShxStrokeRenderer::Produce() {
  if (produced_ > kShxMaxOutputDoubles - 2) return false;
  produced_ += 2;
  if (!Writing()) {
    if (*capacity_ > INT_MAX - 2) return false;
    *capacity_ += 2;
  }
  return true;
}
