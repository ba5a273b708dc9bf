#include "text/layout/ArcTextLayout.h"

#include <cmath>

#include "document/path/PathListHelpers.h"
#include "text/layout/TextFinishing.h"
#include "text/layout/TextStrokes.h"

namespace {

constexpr double kSpaceFactor = static_cast<double>(0.382f);
constexpr double kDegreesPerRadianStored = 57.296083239749734;

// Characters of the text, a double-byte character counting as one: true for a space.
std::vector<bool> SpacesOf(const std::string& text) {
  std::vector<bool> spaces;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    spaces.push_back(c == ' ');
    if (c & 0x80) ++i;
  }
  return spaces;
}

}  // namespace

void ArrangeOnArc(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) {
  const TextSettings& s = ctx.s;
  if (!(std::fabs(s.arcRadius) > 2)) return;
  const CPointList& list = ctx.main;
  if (list.GetSize() == 0) return;
  const double sw = GetPointArrayBoundRect(list).Height() * (s.aspectRatio / s.heightRatio) * kSpaceFactor;
  const std::vector<bool> spaces = SpacesOf(s.text);
  std::vector<ArcGlyph> glyphs;
  auto addSpaces = [&] {
    while (glyphs.size() < spaces.size() && spaces[glyphs.size()]) {
      CPointList stroke;
      stroke.Add(CDoublePoint(list[0].x, list[0].y, 0));
      stroke.Add(CDoublePoint(list[0].x + sw, list[0].y, PT_JOINED));
      glyphs.push_back({std::make_unique<CStrokeGroup>(stroke), true});
    }
  };
  CPointList stroke;
  for (const TextStroke& st : CutTextStrokes(list)) {
    if (st.count < 2) continue;
    CopyStroke(list, st, stroke);
    if (st.startsCharacter) {
      addSpaces();
      glyphs.push_back({std::make_unique<CStrokeGroup>(stroke), false});
    } else if (!glyphs.empty()) {
      glyphs.back().group->AddPointList(stroke);
    }
  }
  PlaceGlyphsOnArc(ctx, glyphs, anchor, align);
}

void PlaceGlyphsOnArc(TextLayoutContext& ctx, std::vector<ArcGlyph>& glyphs, const CDoublePoint& anchor, bool align) {
  TextSettings& s = ctx.s;
  const double radius = s.arcRadius;
  const double r = std::fabs(radius);
  const int n = static_cast<int>(glyphs.size());
  // Without characters (a font that is missing) there is nothing to place:
  // the list is left as the layout made it.
  if (n == 0 || !(r > 0)) return;

  std::vector<double> widths(static_cast<std::size_t>(n));
  double sum = 0;
  BoundsUnion u;
  for (int j = 0; j < n; ++j) {
    widths[static_cast<std::size_t>(j)] = glyphs[static_cast<std::size_t>(j)].group->GetBoundRect().Width();
    sum += widths[static_cast<std::size_t>(j)];
    u.Add(glyphs[static_cast<std::size_t>(j)].group->GetListsBoundRect());
  }
  const CDoubleRect all = u.Rect();
  const double w0 = widths[0] / 2;

  double length;
  if (s.arcSize >= 1) {
    length = s.arcSize * DEG_TO_RAD * r;
  } else {
    length = all.Width();
    s.arcSize = static_cast<float>(length / r * kDegreesPerRadianStored);
  }
  const int m = std::fabs(s.arcSize) >= 359 ? n : n - 1;
  const double gap = n == 1 || m == 0 ? 0.0 : (length - sum) * RAD_TO_DEG / (m * r);

  ctx.main.RemoveAll();
  const bool positive = radius > 0;
  double a = positive ? s.deflection - w0 * RAD_TO_DEG / r : s.deflection + w0 * RAD_TO_DEG / r;
  const double turnOffset = positive ? -90.0 : 90.0;
  const CDoublePoint m0 = s.position;
  CPointList out;
  for (int j = 0; j < n; ++j) {
    CStrokeGroup& g = *glyphs[static_cast<std::size_t>(j)].group;
    const CDoubleRect b = g.GetBoundRect();
    g.Offset(m0.x - b.CenterX(), m0.y - b.CenterY());
    g.RotateDeg(m0, static_cast<float>(turnOffset + a));
    const double d = positive ? b.CenterY() + r - all.bottom : r + all.top - b.CenterY();
    g.Offset(d * std::cos(a * DEG_TO_RAD), d * std::sin(a * DEG_TO_RAD));
    if (j + 1 < n) {
      const double step = (widths[static_cast<std::size_t>(j)] + widths[static_cast<std::size_t>(j) + 1]) *
                              28.6478895 / r + gap;
      a = positive ? a - step : a + step;
    }
    if (glyphs[static_cast<std::size_t>(j)].space) continue;
    for (int k = 0; k < g.GetCount(); ++k) out.Append(g.GetAt(k)->points);
  }
  FinishLayout(ctx, out, anchor, align);
}
