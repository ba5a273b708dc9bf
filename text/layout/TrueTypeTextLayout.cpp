#include "text/layout/TrueTypeTextLayout.h"

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "platform/Cp936.h"
#include "text/fonts/truetype/TrueTypeFace.h"
#include "text/layout/TextFinishing.h"
#include "text/layout/TextLines.h"
#include "values/ShellValues.h"

namespace {

constexpr double kStar[11][2] = {{36.0, 68.5416},  {27.9175, 43.6662}, {1.762, 43.6662},   {22.9222, 28.2924},
                                 {14.8397, 3.417}, {36.0, 18.7908},    {57.1603, 3.417},   {49.0778, 28.2924},
                                 {70.238, 43.6662}, {44.0825, 43.6662}, {36.0, 68.5416}};

// Screen pixels per millimetre; a screen scale not set up (a headless run)
// counts as 96 pixels per inch.
double ScreenScale(double v) { return std::isfinite(v) && v > 0 ? v : 96.0 / 25.4; }

// Truncation toward zero into device units; a value out of any screen's range
// (a damaged file's position) is held at the edge instead of overflowing.
double Trunc(double v) {
  if (!std::isfinite(v)) return 0;
  if (v > 1e9) return 1e9;
  if (v < -1e9) return -1e9;
  return std::trunc(v);
}

void AppendDistinct(CPointList& out, double x, double y, std::uint8_t flag) {
  const int n = out.GetSize();
  if (n > 0 && out[n - 1].x == x && out[n - 1].y == y) return;
  out.Add(CDoublePoint(x, y, flag));
}

// The faces of one layout: the one asked for, and the ones the font system
// offers for characters it lacks, each opened once.
class FaceSet {
 public:
  FaceSet(const TextLogFont& font, int cellPx) : cellPx_(cellPx) {
    const std::string family = platform::Cp936ToUtf8(font.faceName);
    primary_ = Open(TrueTypeFace::MatchFile(family, font.weight >= 700, font.italic != 0));
  }
  bool Ok() const { return primary_ != nullptr; }
  const TrueTypeFace& Primary() const { return *primary_; }
  const TrueTypeFace* For(char32_t c) {
    if (!primary_ || primary_->HasGlyph(c)) return primary_;
    auto it = byChar_.find(c);
    if (it != byChar_.end()) return it->second;
    const TrueTypeFace* face = Open(TrueTypeFace::MatchFileFor(c));
    if (!face || !face->HasGlyph(c)) face = primary_;
    byChar_[c] = face;
    return face;
  }

 private:
  const TrueTypeFace* Open(const std::string& path) {
    if (path.empty()) return nullptr;
    auto it = byFile_.find(path);
    if (it != byFile_.end()) return it->second.get();
    auto face = std::make_unique<TrueTypeFace>();
    if (!face->OpenFile(path)) return nullptr;
    face->SetCellHeight(cellPx_);
    return (byFile_[path] = std::move(face)).get();
  }
  int cellPx_;
  const TrueTypeFace* primary_ = nullptr;
  std::map<std::string, std::unique_ptr<TrueTypeFace>> byFile_;
  std::map<char32_t, const TrueTypeFace*> byChar_;
};

// The outline of one character into the list in outline units (pixels over
// pixels per millimetre).
void CreateTrueTypeOutline(const std::vector<TrueTypeSegment>& path, double ppmX, double ppmY, CPointList& out) {
  double startX = 0;
  double startY = 0;
  double curX = 0;
  double curY = 0;
  for (const TrueTypeSegment& s : path) {
    switch (s.kind) {
      case TrueTypeSegment::Move:
        curX = startX = s.x[0] / ppmX;
        curY = startY = s.y[0] / ppmY;
        AppendDistinct(out, curX, curY, 0);
        break;
      case TrueTypeSegment::Line:
        curX = s.x[0] / ppmX;
        curY = s.y[0] / ppmY;
        AppendDistinct(out, curX, curY, PT_JOINED);
        break;
      case TrueTypeSegment::Cubic: {
        const double px[4] = {curX, s.x[0] / ppmX, s.x[1] / ppmX, s.x[2] / ppmX};
        const double py[4] = {curY, s.y[0] / ppmY, s.y[1] / ppmY, s.y[2] / ppmY};
        FlattenBezier(px, py, out);
        curX = px[3];
        curY = py[3];
        break;
      }
      case TrueTypeSegment::Close:
        AppendDistinct(out, startX, startY, PT_JOINED);
        curX = startX;
        curY = startY;
        break;
    }
  }
}

// The rectangle of an underline or strike-out stroke, a closed figure, from
// device pixels to outline units.
void AddLineStroke(double left, double right, double top, double thickness, double ppmX, double ppmY,
                   CPointList& out) {
  const double l = left / ppmX;
  const double r = right / ppmX;
  const double t = top / ppmY;
  const double b = (top + thickness) / ppmY;
  AppendDistinct(out, l, t, 0);
  AppendDistinct(out, r, t, PT_JOINED);
  AppendDistinct(out, r, b, PT_JOINED);
  AppendDistinct(out, l, b, PT_JOINED);
  AppendDistinct(out, l, t, PT_JOINED);
}

// The first joined point of a character's points gets the character mark.
void MarkCharacter(CPointList& out, int from) {
  for (int i = from; i < out.GetSize(); ++i) {
    if (out[i].flag & PT_JOINED) {
      out[i].flag |= PT_TEXT_MARK;
      return;
    }
  }
}

}  // namespace

void FlattenBezier(const double px[4], const double py[4], CPointList& out) {
  for (int k = 0; k <= 4; ++k) {
    const double t = k * 0.25 > 1 ? 1 : k * 0.25;
    double x[4] = {px[0], px[1], px[2], px[3]};
    double y[4] = {py[0], py[1], py[2], py[3]};
    for (int level = 3; level > 0; --level) {
      for (int i = 0; i < level; ++i) {
        x[i] = x[i] + (x[i + 1] - x[i]) * t;
        y[i] = y[i] + (y[i + 1] - y[i]) * t;
      }
    }
    AppendDistinct(out, x[0], y[0], PT_JOINED);
  }
}

void ScaleTrueTypeLine(const TextSettings& s, int first, double f, double g, CPointList& list) {
  const int n = list.GetSize();
  if (first >= n) return;
  const double k = s.charHeight * 0.013888888888888888;
  double minX = 0;
  double maxY = 0;
  for (int i = first; i < n; ++i) {
    list[i].x = f + k * (list[i].x - f);
    list[i].y = -(g + k * (list[i].y - g));
    if (i == first || list[i].x < minX) minX = list[i].x;
    if (i == first || list[i].y > maxY) maxY = list[i].y;
  }
  const double dx = f - minX;
  const double dy = g - maxY;
  for (int i = first; i < n; ++i) {
    list[i].x += dx;
    list[i].y += dy;
    if (s.aspectRatio != 1.0 || s.heightRatio != 1.0) {
      list[i].x = f + s.aspectRatio * (list[i].x - f);
      list[i].y = g + (list[i].y - g) * s.heightRatio;
    }
  }
}

void AddStarOutline(double x, double y, CPointList& out) {
  const int from = out.GetSize();
  for (int k = 0; k < 11; ++k) out.Add(CDoublePoint(x + kStar[k][0], y - kStar[k][1], k == 0 ? 0 : PT_JOINED));
  out[from + 1].flag |= PT_TEXT_MARK;
}

bool LayoutTrueTypeLines(TextLayoutContext& ctx, const TextLogFont& font, CPointList& work) {
  TextSettings& s = ctx.s;
  const double ppmX = ScreenScale(PixelsPerMmX);
  const double ppmY = ScreenScale(PixelsPerMmY);
  const int size = static_cast<int>(Trunc(100 * ppmY));
  const int cellPx = size * kTrueTypeLogPixelsY / 72;
  FaceSet faces(font, cellPx);
  if (!faces.Ok()) {
    ctx.report.NoteMissingFont(font.faceName);
    return false;
  }
  if (s.text.empty()) return true;
  const TrueTypeLineMetrics lines = faces.Primary().LineMetrics();
  if (!(s.charSpacing > -100 && s.charSpacing < 100)) s.charSpacing = 0;
  const double extra = s.charHeight != 0 ? Trunc(s.charSpacing * ppmX * 100 / s.charHeight) : 0;
  std::vector<TrueTypeSegment> path;
  CDoublePoint line = s.position;
  for (const std::string& text : SplitTextLines(DecorateText(s))) {
    if (!text.empty()) {
      const int first = work.GetSize();
      double penX = Trunc(ppmX * line.x);
      const double penY = Trunc(ppmY * line.y);
      for (std::size_t i = 0; i < text.size();) {
        if (s.starMode == 1 && text.compare(i, 3, "%%*") == 0) {
          AddStarOutline(penX / ppmX, penY / ppmY + 90, work);
          penX += Trunc(ppmX * 72);
          penX += extra;
          i += 3;
          continue;
        }
        std::string token;
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0x80) && i + 1 < text.size()) {
          token = text.substr(i, 2);
          i += 2;
        } else {
          token = c < 0x20 ? std::string("?") : std::string(1, static_cast<char>(c));
          ++i;
        }
        const std::u32string chars = DecodeUtf8(platform::Cp936ToUtf8(token));
        const char32_t ch = chars.empty() ? U'?' : chars[0];
        const TrueTypeFace* face = faces.For(ch);
        const int advance = face ? face->Advance(ch) : 0;
        if (ch != U' ') {
          const int from = work.GetSize();
          if (face && face->Outline(ch, penX, penY, path)) {
            CreateTrueTypeOutline(path, ppmX, ppmY, work);
          } else if (!face || !face->HasGlyph(ch)) {
            ++ctx.report.glyphsMissing;
          }
          // The font's underline and strike-out are part of each character's
          // outline, as wide as the character advances.
          if (face && (font.underline || font.strikeOut)) {
            const double base = penY + faces.Primary().Ascent();
            if (font.underline) {
              AddLineStroke(penX, penX + advance, base + lines.underlineTop, lines.underlineThickness, ppmX, ppmY,
                            work);
            }
            if (font.strikeOut) {
              AddLineStroke(penX, penX + advance, base + lines.strikeOutTop, lines.strikeOutThickness, ppmX, ppmY,
                            work);
            }
          }
          MarkCharacter(work, from);
        }
        penX += advance;
        penX += extra;
      }
      ScaleTrueTypeLine(s, first, line.x, line.y, work);
    }
    line = NextLineStart(s, line);
  }
  return true;
}

void LayoutTrueType(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) {
  CPointList work;
  LayoutTrueTypeLines(ctx, ctx.s.font, work);
  SlantAndRotate(ctx.s, work);
  FinishLayout(ctx, work, anchor, align);
}
