#include "text/layout/TextFinishing.h"

#include <algorithm>
#include <cmath>

#include "document/path/PathListHelpers.h"

void TextLayoutReport::NoteMissingFont(const std::string& name) {
  fontMissing = true;
  if (std::find(missingFonts.begin(), missingFonts.end(), name) == missingFonts.end()) missingFonts.push_back(name);
}

CDoubleRect TextLayoutContext::Bounds() const { return GetTwoListBoundRect(main, second); }

void TextLayoutContext::Offset(double dx, double dy) {
  for (int i = 0; i < main.GetSize(); ++i) main[i] += {dx, dy};
  for (int i = 0; i < second.GetSize(); ++i) second[i] += {dx, dy};
  s.position.x += dx;
  s.position.y += dy;
}

void ScaleByRatios(const TextSettings& s, CPointList& list) {
  if (s.aspectRatio == 1.0 && s.heightRatio == 1.0) return;
  for (int i = 0; i < list.GetSize(); ++i) {
    list[i].x = s.position.x + s.aspectRatio * (list[i].x - s.position.x);
    list[i].y = s.position.y + (list[i].y - s.position.y) * s.heightRatio;
  }
}

void FitCharWidth(const TextSettings& s, CPointList& list) {
  const double w = s.fixedCharWidth;
  if (!(w >= 0.001) || list.GetSize() < 2) return;
  double minX = list[0].x;
  double maxX = list[0].x;
  for (int i = 1; i < list.GetSize(); ++i) {
    minX = std::min(minX, list[i].x);
    maxX = std::max(maxX, list[i].x);
  }
  const double n = static_cast<double>(s.text.size()) + (s.starMode != 0 ? 2 : 0);
  const double target = (n - 1) * s.charSpacing + w * n;
  const double span = std::fabs(maxX - minX);
  // A text without width (a lone "1" or "I") or without characters has nothing
  // to stretch: dividing by it would put every point at infinity.
  if (n < 1 || !(span > 1e-9) || !(target > 1e-9)) return;
  const double factor = span / target;
  const double x0 = list[0].x;
  for (int i = 1; i < list.GetSize(); ++i) list[i].x = x0 + (list[i].x - x0) / factor;
}

void SlantAndRotate(const TextSettings& s, CPointList& list) {
  if ((s.slant == 0 && s.rotation == 0) || list.GetSize() == 0) return;
  const CDoubleRect b = GetPointArrayBoundRect(list);
  const double left = b.left;
  const double bottom = b.bottom;
  const double sl = s.slant * DEG_TO_RAD;
  const double r = s.rotation * DEG_TO_RAD;
  const double t = std::tan(sl);
  const double c = std::cos(r);
  const double sn = std::sin(r);
  for (int i = 0; i < list.GetSize(); ++i) {
    const double d = list[i].y - bottom;
    const double e = (list[i].x - left) + t * d;
    list[i].x = left + c * e - sn * d;
    list[i].y = bottom + sn * e + c * d;
  }
}

namespace {

void AlignAndMirror(TextLayoutContext& ctx, const CDoublePoint& anchor, bool align) {
  const TextSettings& s = ctx.s;
  // A layout that drew nothing (its font is missing) has no corner to align:
  // aligning the empty bounds would carry the position off to the anchor.
  const bool empty = ctx.main.GetSize() == 0 && ctx.second.GetSize() == 0;
  if (align && !empty && std::fabs(s.arcRadius) < 0.1 && s.fixedCorner >= 0 && s.fixedCorner <= 8) {
    const CDoublePoint p = FixedPointOf(ctx.Bounds(), s.fixedCorner);
    const double dx = anchor.x - p.x;
    const double dy = anchor.y - p.y;
    if (dx != 0 || dy != 0) ctx.Offset(dx, dy);
  }
  if (s.flags & TEXT_CODE_SYMBOL) return;
  const CDoubleRect b = ctx.Bounds();
  if (s.flags & TEXT_MIRROR_X) MirrorPointsX(ctx.main, b.CenterX());
  if (s.flags & TEXT_MIRROR_Y) MirrorPointsY(ctx.main, b.CenterY());
}

}  // namespace

void FinishLayout(TextLayoutContext& ctx, const CPointList& work, const CDoublePoint& anchor, bool align) {
  ctx.main.Append(work);
  AlignAndMirror(ctx, anchor, align);
}

void FinishDotLayout(TextLayoutContext& ctx, CPointList& work, const CDoublePoint& anchor, bool align,
                     bool toSecond) {
  CPointList& target = toSecond ? ctx.second : ctx.main;
  target.RemoveAll();
  target.Append(work);
  work.RemoveAll();
  AlignAndMirror(ctx, anchor, align);
}

void MirrorPointsX(CPointList& list, double a) {
  for (int i = 0; i < list.GetSize(); ++i) list[i].x = 2 * a - list[i].x;
}

void MirrorPointsY(CPointList& list, double a) {
  for (int i = 0; i < list.GetSize(); ++i) list[i].y = 2 * a - list[i].y;
}

void RotateTextPoints(CPointList& list, const CDoublePoint& centre, double degrees) {
  RotatePointsRad(list, centre, degrees * DEG_TO_RAD);
}
