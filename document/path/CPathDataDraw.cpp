// Drawing of a path's stroke groups on the layout view's device context.
#include <cmath>

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
  if (std::isnan(v)) return 0;
  if (v > kLimit) return static_cast<int>(kLimit);
  if (v < -kLimit) return -static_cast<int>(kLimit);
  return static_cast<int>(v);
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

void CPathData::DrawGroups(PathDrawContext& ctx) const {
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
    for (int i = 0; i < n; ++i) {
      const CDoublePoint& p = list[i];
      Report(ctx, list, p, firstPoint);
      const platform::DcPoint d = ToDevice(ctx, p.x + ctx.offsetX, p.y + ctx.offsetY);
      if (p.flag & PT_JOINED)
        dc.LineTo(d.x, d.y);
      else
        dc.MoveTo(d.x, d.y);
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
