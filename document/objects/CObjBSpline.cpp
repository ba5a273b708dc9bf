#include "document/objects/CObjBSpline.h"

#include <cmath>
#include <memory>

#include "values/ShellValues.h"
#include "document/curves/CInterpCurve.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ParametricShape.h"
#include "document/objects/VertexObject.h"
#include "document/path/CStrokeGroup.h"

CObjBSpline::CObjBSpline(CPointList& controlPoints) : CObjPolyLine(controlPoints, 0, 0) {}

void CObjBSpline::RebuildCurve() {
  OutlineFill fill;
  if (!BeginFillRebuild(path_, fill)) return;

  CPointList curve;
  CurveThrough(path_.points, curve);

  path_.GetGroupArray().Add(std::make_unique<CStrokeGroup>(curve));
  fill.ApplyTo(*path_.GetGroupAt(0));
}

void CObjBSpline::CurveThrough(const CPointList& points, CPointList& curve) {
  // A control point placed twice (a double click) has no chord to its twin;
  // the curve runs through each distinct point once.
  CPointList distinct;
  CInterpCurve::DropRepeatedPoints(points, distinct);
  if (!(CInterpCurve::SampledPointsAtMost(distinct) <= kMaxCurvePoints)) return;
  CInterpCurve(distinct).BuildPolyline(curve);
}

void CObjBSpline::PreviewEditedPoint(double dx, double dy, CPointList& curve) const {
  CPointList controls(path_.points);
  if (editIndex_ >= 0 && editIndex_ < controls.GetSize() && std::isfinite(dx) && std::isfinite(dy)) {
    controls[editIndex_].x += dx;
    controls[editIndex_].y += dy;
  }
  CurveThrough(controls, curve);
}

void CObjBSpline::MirrorX(double axis) {
  MirrorVerticesX(path_, axis);
  RebuildCurve();
}

void CObjBSpline::MirrorY(double axis) {
  MirrorVerticesY(path_, axis);
  RebuildCurve();
}

void CObjBSpline::Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  ResizeVertexPath(path_, oldRect, newRect, handle, [this] { RebuildCurve(); });
}

void CObjBSpline::DrawControlPoints(platform::DeviceContext& dc, int originX, int originY, double zoom) const {
  for (int i = 0; i < path_.points.GetSize(); ++i) {
    const CDoublePoint& p = path_.points[i];
    const double fx = zoom * PixelsPerMmX * p.x;
    const double fy = PixelsPerMmY * p.y * zoom;
    // A point far off any screen is not drawn rather than overflowing the int.
    if (!(std::fabs(fx) < 1e9) || !(std::fabs(fy) < 1e9)) continue;
    const int px = originX + static_cast<int>(fx);
    const int py = originY - static_cast<int>(fy);
    dc.Rectangle(px - 4, py - 4, px + 4, py + 4);
  }
}

void CObjBSpline::Write(MrkLineWriter& out) const {
  out.WriteClassBegin("CObjBSpline");
  WriteBody(out);
}

void CObjBSpline::MoveEditedPoint(double dx, double dy) {
  const int i = editIndex_;
  editIndex_ = -1;
  if (i < 0 || i >= path_.points.GetSize()) return;
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  path_.points[i].x += dx;
  path_.points[i].y += dy;
  RebuildCurve();
}
