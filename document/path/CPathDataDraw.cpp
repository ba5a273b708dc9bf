// Drawing of a path's stroke groups on the layout view's device context.
#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "values/ShellValues.h"
#include "document/path/CPathData.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
// Dot pixels per millimetre of dot size and screen scale.
constexpr double kDotScale = 0.4761905;

// Truncation towards zero into device range. A stray point far outside any
// screen (or a non-finite value) is pinned instead of overflowing the int.
int TruncDevice(double v) {
  constexpr double kLimit = 1.0e9;
  return v == v ? static_cast<int>(std::min(std::max(v, -kLimit), kLimit)) : 0;  // NaN: 0
}

platform::DcPoint ToDevice(const PathDrawContext& ctx, double x, double y) {
  return {ctx.originX + TruncDevice(x * ctx.zoom * PixelsPerMmX),
          ctx.originY - TruncDevice(y * ctx.zoom * PixelsPerMmY)};
}

void Report(PathDrawContext& ctx, const CPointList& list, const CDoublePoint& p, bool& firstPoint) {
  if (ctx.lastPoint) *ctx.lastPoint = p;
  if (firstPoint) {
    if (ctx.firstPoint) *ctx.firstPoint = list[0];
    firstPoint = false;
  }
}

}  // namespace

bool CPathData::BeyondVisible(const PathDrawContext& ctx) const {
  const platform::DcRect& visible = *ctx.visible;
  if (!(ctx.zoom * PixelsPerMmX > 0) || !(ctx.zoom * PixelsPerMmY > 0)) return false;
  // A device position grows with x and falls with y, so the box of the
  // bounds holds every point drawn. `reach`: how far past a point's own pixel
  // its drawing goes (dots are drawn around their point), plus a pixel for
  // the rounding of points onto their bounds.
  int reach = 2;
  for (int g = 0; g < groups_.GetSize(); ++g) {
    const CStrokeGroup& group = *groups_.GetAt(g);
    if (group.kind == GROUP_KIND_DOTS)
      reach = std::max(reach, TruncDevice(static_cast<double>(group.dotSize) * kDotScale * PixelsPerMmX * ctx.zoom) + 4);
  }
  auto beyond = [&](double left, double bottom, double right, double top) {
    if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top) || !std::isfinite(bottom)) return false;
    const platform::DcPoint low = ToDevice(ctx, left + ctx.offsetX, bottom + ctx.offsetY);
    const platform::DcPoint high = ToDevice(ctx, right + ctx.offsetX, top + ctx.offsetY);
    return high.x + reach < visible.left || low.x - reach > visible.right || low.y + reach < visible.top ||
           high.y - reach > visible.bottom;
  };
  // The bounds the element keeps (brought up to date with every change of
  // its geometry) decide, as they decide hit tests and the marking range.
  // As a guard against bounds left behind, the ends of every list drawn
  // must lie within them.
  const CDoubleRect& b = ctx.bounds;
  const double left = std::min(b.left, b.right), right = std::max(b.left, b.right);
  const double bottom = std::min(b.top, b.bottom), top = std::max(b.top, b.bottom);
  if (!beyond(left, bottom, right, top)) return false;
  const double tolerance = 1e-6 * (1.0 + std::max({std::fabs(left), std::fabs(right), std::fabs(top), std::fabs(bottom)}));
  auto within = [&](const CPointList& list) {
    const int n = list.GetSize();
    for (const int i : {0, n - 1}) {
      if (n == 0) break;
      const CDoublePoint& p = list[i];
      if (!(p.x >= left - tolerance && p.x <= right + tolerance && p.y >= bottom - tolerance && p.y <= top + tolerance))
        return false;
    }
    return true;
  };
  for (int g = 0; g < groups_.GetSize(); ++g) {
    const CStrokeGroup& group = *groups_.GetAt(g);
    if (group.kind != GROUP_KIND_LINES && group.kind != GROUP_KIND_DOTS) continue;
    for (int i = 0; i < group.GetCount(); ++i)
      if (!within(group.GetAt(i)->points)) return false;
    if (group.kind == GROUP_KIND_LINES && !within(group.fill)) return false;
  }
  return true;
}

void CPathData::PassGroups(PathDrawContext& ctx) const {
  bool firstPoint = true;
  bool moved = false;
  platform::DcPoint at;
  auto report = [&](const CPointList& list) {
    const int n = list.GetSize();
    if (n == 0) return;
    if (firstPoint) {
      if (ctx.firstPoint) *ctx.firstPoint = list[0];
      firstPoint = false;
    }
    if (ctx.lastPoint) *ctx.lastPoint = list[n - 1];
  };
  // Where a list leaves the current position: its last point, or in clip
  // mode its last point inside the working area (nothing reported).
  auto pass = [&](const CPointList& list) {
    const int n = list.GetSize();
    if (flag == 0) {
      report(list);
      if (n == 0) return;
      at = ToDevice(ctx, list[n - 1].x + ctx.offsetX, list[n - 1].y + ctx.offsetY);
      moved = true;
      return;
    }
    const double halfW = static_cast<double>(MachineSettings.rangeX) / 2;
    const double halfH = static_cast<double>(MachineSettings.rangeY) / 2;
    for (int i = n - 1; i >= 0; --i) {
      const double x = list[i].x + ctx.offsetX;
      const double y = list[i].y + ctx.offsetY;
      if (-halfW < x && x < halfW && -halfH < y && y < halfH) {
        at = ToDevice(ctx, x, y);
        moved = true;
        return;
      }
    }
  };
  for (int g = 0; g < groups_.GetSize(); ++g) {
    const CStrokeGroup& group = *groups_.GetAt(g);
    if (group.kind == GROUP_KIND_LINES) {
      for (int i = 0; i < group.GetCount(); ++i) pass(group.GetAt(i)->points);
      pass(group.fill);
    } else if (group.kind == GROUP_KIND_DOTS) {
      for (int i = 0; i < group.GetCount(); ++i) report(group.GetAt(i)->points);
    }
  }
  if (moved) ctx.dc->MoveTo(at.x, at.y);
}

void CPathData::DrawGroups(PathDrawContext& ctx) const {
  // Everything a path wholly beyond the visible box would draw is dropped
  // there anyway.
  if (ctx.visible && BeyondVisible(ctx)) {
    PassGroups(ctx);
    return;
  }
  platform::DeviceContext& dc = *ctx.dc;
  bool firstPoint = true;
  for (int g = 0; g < groups_.GetSize(); ++g) {
    const CStrokeGroup& group = *groups_.GetAt(g);
    if (group.kind == GROUP_KIND_LINES) {
      for (int i = 0; i < group.GetCount(); ++i) {
        const CStrokePath& path = *group.GetAt(i);
        if (ctx.highlightPen && path.flag != 0) {
          const platform::DcPen previous = dc.SelectPen(*ctx.highlightPen);
          DrawPointList(path.points, ctx, firstPoint);
          dc.SelectPen(previous);
        } else {
          DrawPointList(path.points, ctx, firstPoint);
        }
      }
      DrawPointList(group.fill, ctx, firstPoint);
    } else if (group.kind == GROUP_KIND_DOTS) {
      const int d = TruncDevice(static_cast<double>(group.dotSize) * kDotScale * PixelsPerMmX * ctx.zoom) + 1;
      const platform::DcPen blackPen{platform::PS_SOLID, 1, kBlack};
      const platform::DcBrush blackBrush{false, kBlack};
      for (int i = 0; i < group.GetCount(); ++i) {
        const platform::DcPen previousPen = dc.SelectPen(blackPen);
        const platform::DcBrush previousBrush = dc.SelectBrush(blackBrush);
        DrawDots(group.GetAt(i)->points, ctx, firstPoint, d);
        dc.SelectPen(previousPen);
        dc.SelectBrush(previousBrush);
      }
    }
    // Kind 2 and any other kind draw nothing.
  }
}

void CPathData::DrawPointList(const CPointList& list, PathDrawContext& ctx, bool& firstPoint) const {
  platform::DeviceContext& dc = *ctx.dc;
  const int n = list.GetSize();
  if (flag == 0) {
    // Each point a MoveTo or LineTo, handed over in batches; the first and
    // last points reported as if point by point.
    if (n == 0) return;
    Report(ctx, list, list[0], firstPoint);
    Report(ctx, list, list[n - 1], firstPoint);
    constexpr int kBatch = 256;
    platform::DcPoint device[kBatch];
    std::uint8_t joined[kBatch];
    // Copied out of the context: the flags written are bytes, which the
    // compiler must otherwise take to overwrite anything.
    const CDoublePoint* points = list.GetData();
    const int originX = ctx.originX, originY = ctx.originY;
    const double offsetX = ctx.offsetX, offsetY = ctx.offsetY, zoom = ctx.zoom;
    const double perMmX = PixelsPerMmX, perMmY = PixelsPerMmY;
#if defined(__SSE2__)
    // x and y side by side, each computed as ToDevice computes it.
    const __m128d offset = _mm_set_pd(offsetY, offsetX), zooms = _mm_set1_pd(zoom);
    const __m128d perMm = _mm_set_pd(perMmY, perMmX), limit = _mm_set1_pd(1.0e9);
    const __m128i origin = _mm_set_epi32(0, 0, originY, originX);
#endif
    for (int from = 0; from < n; from += kBatch) {
      const int count = std::min(kBatch, n - from);
      for (int k = 0; k < count; ++k) {
        const CDoublePoint& p = points[from + k];
#if defined(__SSE2__)
        __m128d v = _mm_mul_pd(_mm_mul_pd(_mm_add_pd(_mm_loadu_pd(&p.x), offset), zooms), perMm);
        // TruncDevice: pinned to the device range, 0 for NaN.
        const __m128d number = _mm_cmpord_pd(v, v);
        v = _mm_and_pd(_mm_min_pd(_mm_max_pd(v, _mm_sub_pd(_mm_setzero_pd(), limit)), limit), number);
        __m128i t = _mm_cvttpd_epi32(v);                                   // x, y
        t = _mm_sub_epi32(_mm_xor_si128(t, _mm_set_epi32(0, 0, -1, 0)), _mm_set_epi32(0, 0, -1, 0));  // x, -y
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&device[k]), _mm_add_epi32(t, origin));
#else
        device[k] = {originX + TruncDevice((p.x + offsetX) * zoom * perMmX),
                     originY - TruncDevice((p.y + offsetY) * zoom * perMmY)};
#endif
        joined[k] = (p.flag & PT_JOINED) != 0;
      }
      dc.MoveOrLineTo(device, joined, count);
    }
    return;
  }
  // Clip mode: only what lies inside the working area is drawn, and a stroke
  // that leaves it restarts where it comes back.
  const double halfW = static_cast<double>(MachineSettings.rangeX) / 2;
  const double halfH = static_cast<double>(MachineSettings.rangeY) / 2;
  bool restart = true;
  for (int i = 0; i < n; ++i) {
    const CDoublePoint& p = list[i];
    const double x = p.x + ctx.offsetX;
    const double y = p.y + ctx.offsetY;
    if (!(-halfW < x && x < halfW && -halfH < y && y < halfH)) {
      restart = true;
      continue;
    }
    const platform::DcPoint d = ToDevice(ctx, x, y);
    if ((p.flag & PT_JOINED) == 0 || restart)
      dc.MoveTo(d.x, d.y);
    else
      dc.LineTo(d.x, d.y);
    restart = false;
  }
}

void CPathData::DrawDots(const CPointList& list, PathDrawContext& ctx, bool& firstPoint, int dotPixels) const {
  platform::DeviceContext& dc = *ctx.dc;
  const int n = list.GetSize();
  for (int i = 0; i < n; ++i) {
    const CDoublePoint& p = list[i];
    Report(ctx, list, p, firstPoint);
    const platform::DcPoint d = ToDevice(ctx, p.x + ctx.offsetX, p.y + ctx.offsetY);
    const int X = d.x;
    const int Y = d.y;
    if (dotPixels >= 16) {
      const int m = dotPixels / 2;
      dc.Arc(X - m + 1, Y - m + 1, X + m + 1, Y + m + 1, X + m + 1, Y, X + m + 1, Y);
      dc.FloodFill(X, Y, kBlack);
    } else if (dotPixels < 3) {
      dc.SetPixel(X, Y, kBlack);
      dc.SetPixel(X + 1, Y, kBlack);
      dc.SetPixel(X + 1, Y + 1, kBlack);
      dc.SetPixel(X, Y + 1, kBlack);
    } else {
      dc.SetPixel(X, Y, kRed);
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (dx != 0 || dy != 0) dc.SetPixel(X + dx, Y + dy, kBlack);
    }
  }
}
