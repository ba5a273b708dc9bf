#include "text/layout/DotTextLayout.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "document/path/PathListHelpers.h"
#include "document/path/PointOrdering.h"
#include "text/fonts/dot/DotFontFile.h"
#include "text/fonts/folder/FontFolder.h"
#include "text/fonts/hzk/HzkFont.h"
#include "text/layout/TextFinishing.h"
#include "text/layout/TextLines.h"
#include "text/layout/TextStrokes.h"
#include "text/layout/TrueTypeTextLayout.h"

namespace {

constexpr double kEmptyAdvance = 0.7142857142857142;  // 5/7 of the char height
constexpr double kDotPitch = static_cast<double>(0.16666667f);

// The pen of a dot line: where the next character starts, the base line, and
// the dot the needle stands on.
struct DotPen {
  double x = 0;
  double baseY = 0;
  CDoublePoint current;
};

// Orders a character's dots nearest-first from the current point, marks the
// last of several and appends them.
void AppendCharacterDots(CPointList& dots, DotPen& pen, CPointList& out) {
  if (dots.GetSize() == 0) return;
  SortPointsNearestFirst(pen.current, dots);
  if (dots.GetSize() > 1) dots[dots.GetSize() - 1].flag |= PT_CHAR_LAST;
  out.Append(dots);
}

// The fonts of one dot layout, each opened once.
class DotFonts {
 public:
  explicit DotFonts(TextLayoutContext& ctx) : ctx_(ctx) {}

  const DotFontFile* DotFont() {
    if (!dotLoaded_) {
      dotLoaded_ = true;
      dotOpen_ = dot_.Load(FontFilePath(ctx_.installFolder, ctx_.s.dotFontFile));
      if (!dotOpen_) ctx_.report.NoteMissingFont(ctx_.s.dotFontFile);
    }
    return dotOpen_ ? &dot_ : nullptr;
  }
  const HzkFont* Hzk(const HzkGeometry& g) {
    if (!hzkLoaded_) {
      hzkLoaded_ = true;
      if (!hzk_.Open(FontFilePath(ctx_.installFolder, g.fileName), g)) ctx_.report.NoteMissingFont(g.fileName);
    }
    return hzk_.IsOpen() ? &hzk_ : nullptr;
  }

 private:
  TextLayoutContext& ctx_;
  DotFontFile dot_;
  bool dotLoaded_ = false;
  bool dotOpen_ = false;
  HzkFont hzk_;
  bool hzkLoaded_ = false;
};

bool ReadDotFontGlyph(TextLayoutContext& ctx, DotFonts& fonts, std::uint8_t code, DotPen& pen, CPointList& out) {
  const DotFontFile* font = fonts.DotFont();
  const std::vector<std::uint8_t>* dots = font ? font->Find(code) : nullptr;
  if (!dots) {
    if (font) ++ctx.report.glyphsMissing;
    return false;
  }
  const double p = ctx.s.charHeight * kDotPitch;
  if (dots->empty()) {
    pen.x += ctx.s.charHeight * kEmptyAdvance;
    return true;
  }
  int c0 = DotColumn((*dots)[0]);
  int c1 = c0;
  for (std::uint8_t b : *dots) {
    c0 = std::min(c0, DotColumn(b));
    c1 = std::max(c1, DotColumn(b));
  }
  CPointList glyph;
  for (std::uint8_t b : *dots) glyph.Add(CDoublePoint(pen.x + p * (DotColumn(b) - c0), pen.baseY + p * DotRow(b), 0));
  AppendCharacterDots(glyph, pen, out);
  pen.x += p * (c1 - c0 + 2);
  return true;
}

bool ReadHzkGlyph(TextLayoutContext& ctx, DotFonts& fonts, std::uint8_t c1, std::uint8_t c2, DotPen& pen,
                  CPointList& out, bool nextIsAscii) {
  const HzkGeometry* g = HzkGeometryOf(ctx.s.dotKind);
  if (!g) return false;
  const HzkFont* font = fonts.Hzk(*g);
  if (!font) return true;
  std::vector<std::uint8_t> bytes;
  const int h = g->bytesPerRow;
  const double pitch = ctx.s.charHeight / (8 * h - g->v - 1);
  if (!font->ReadGlyph(c1, c2, bytes)) {
    ++ctx.report.glyphsMissing;
    return true;
  }
  CPointList glyph;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    for (int n = 7; n >= 0; --n) {
      if (!(bytes[i] & (1 << n))) continue;
      const int column = static_cast<int>(i % static_cast<std::size_t>(h)) * 8 + 7 - n;
      const int row = static_cast<int>(i / static_cast<std::size_t>(h));
      glyph.Add(CDoublePoint(pen.x + pitch * column, pen.baseY + pitch * (8 * h - row - g->v - 1), 0));
    }
  }
  AppendCharacterDots(glyph, pen, out);
  pen.x += pitch * (9 * h - (nextIsAscii ? g->gapAscii : g->gapNotAscii));
  return true;
}

// Bends the dots onto the circle about the position, the left end at the
// deflection angle, running clockwise.
void BendDotsOnArc(TextLayoutContext& ctx) {
  const TextSettings& s = ctx.s;
  if (!(std::fabs(s.arcRadius) > 2)) return;
  CDoubleRect b = ctx.Bounds();
  double r = s.arcRadius;
  if (r < 0) {
    RotateTextPoints(ctx.main, b.CenterPoint(), 180);
    b = ctx.Bounds();
    r = -r;
  }
  const double start = s.deflection * DEG_TO_RAD - b.Width() / r * 0.5;
  const double cx = b.CenterX();
  const double cy = b.bottom - r;
  for (int i = 0; i < ctx.main.GetSize(); ++i) {
    CDoublePoint& p = ctx.main[i];
    const double a = start - (p.x - cx) / r;
    const double d = p.y - cy;
    p.x = cx + std::cos(a) * d;
    p.y = cy + std::sin(a) * d;
  }
  const double dx = s.position.x - cx;
  const double dy = s.position.y - cy;
  for (int i = 0; i < ctx.main.GetSize(); ++i) ctx.main[i] += {dx, dy};
  for (int i = 0; i < ctx.second.GetSize(); ++i) ctx.second[i] += {dx, dy};
}

// The line loop of dot kinds 0 and 2..5.
void LayoutDotLines(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) {
  const TextSettings& s = ctx.s;
  if (s.text.empty()) return;
  const double u = s.charHeight * kEmptyAdvance;
  const bool hzk = s.dotKind >= DOT_KIND_HZK12 && s.dotKind <= DOT_KIND_HZK24Z;
  DotFonts fonts(ctx);
  DotPen pen;
  pen.x = s.position.x;
  pen.baseY = s.position.y - s.charHeight;
  pen.current = CDoublePoint(pen.x, pen.baseY, 0);
  CPointList work;
  for (const std::string& line : SplitTextLines(s.text)) {
    for (std::size_t i = 0; i < line.size();) {
      const auto c = static_cast<std::uint8_t>(line[i]);
      if (c & 0x80) {
        const auto c2 = i + 1 < line.size() ? static_cast<std::uint8_t>(line[i + 1]) : std::uint8_t{0};
        if (hzk && c >= 0xA1 && c2 >= 0xA1) {
          const auto next = i + 2 < line.size() ? static_cast<std::uint8_t>(line[i + 2]) : std::uint8_t{0};
          ReadHzkGlyph(ctx, fonts, c, c2, pen, work, next >= 1 && next <= 127);
        } else {
          pen.x += u;
        }
        i += 2;
      } else {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
          ReadDotFontGlyph(ctx, fonts, c, pen, work);
        } else {
          pen.x += u;
        }
        ++i;
      }
      pen.x += s.charSpacing;
    }
    pen.x = s.position.x;
    pen.baseY -= static_cast<double>(s.lineSpacing) + s.charHeight;
  }
  ScaleByRatios(s, work);
  SlantAndRotate(s, work);
  FinishDotLayout(ctx, work, anchor, align, false);
  BendDotsOnArc(ctx);
}

// Scales the character groups about the position so that together they are
// exactly the char height tall.
void ScaleGroupsToHeight(const TextSettings& s, std::vector<std::unique_ptr<CStrokeGroup>>& groups) {
  BoundsUnion u;
  for (const auto& g : groups) u.Add(g->GetListsBoundRect());
  const double height = u.Rect().Height();
  if (!(height > 0.1)) return;
  const double k = s.charHeight / height;
  for (const auto& g : groups) {
    for (int c = 0; c < g->GetCount(); ++c) {
      CPointList& list = g->GetAt(c)->points;
      for (int i = 0; i < list.GetSize(); ++i) {
        list[i].x = s.position.x + (list[i].x - s.position.x) * k;
        list[i].y = s.position.y + (list[i].y - s.position.y) * k;
      }
    }
  }
}

}  // namespace

void LayoutDotFont(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) { LayoutDotLines(ctx, anchor, align); }

void LayoutDotHzk(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) { LayoutDotLines(ctx, anchor, align); }

void LayoutDotTrueType(TextLayoutContext& ctx, const CDoublePoint& /*anchor*/, bool /*align*/) {
  TextSettings& s = ctx.s;
  TextLogFont font = s.font;
  font.faceName = kDotTrueTypeFace;
  const float rotation = s.rotation;
  s.rotation = 0;
  s.arcRadius = 0;
  CPointList work;
  LayoutTrueTypeLines(ctx, font, work);
  // Slanted as any TrueType layout; the rotation waits for the dot grid.
  SlantAndRotate(s, work);
  s.rotation = rotation;
  ctx.main.Append(work);
}

void BuildDotGrid(TextLayoutContext& ctx) {
  TextSettings& s = ctx.s;
  // Every point of a character gathered into one contour.
  std::vector<std::unique_ptr<CStrokeGroup>> groups;
  for (const auto& character : CharacterGroupsOf(ctx.main)) {
    CPointList all;
    for (int k = 0; k < character->GetCount(); ++k) all.Append(character->GetAt(k)->points);
    if (auto g = NewHatchGroup(all, false, false, 0, 0.1f)) groups.push_back(std::move(g));
  }
  ScaleGroupsToHeight(s, groups);
  ctx.main.RemoveAll();
  CDoublePoint start = s.position;
  CPointList dots;
  for (const auto& g : groups) {
    CPointList character;
    g->GatherNearestFirst(character, start);
    for (int i = 0; i < character.GetSize(); ++i) character[i].flag = 0;
    if (character.GetSize() > 0) character[character.GetSize() - 1].flag |= PT_CHAR_LAST;
    dots.Append(character);
  }
  if (std::fabs(s.rotation) >= 0.001) RotatePointsDeg(dots, s.anchor, s.rotation);
  FinishDotLayout(ctx, dots, s.anchor, true, false);
}
