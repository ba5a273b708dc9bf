#pragma once
// Type 23: a smooth curve through control points the user places and drags.
// The polyline's vertex list holds the control points; the curve itself is
// not stored but regenerated into the path's stroke group after every change
// of shape, after reading and after resizing. Moving and rotating carry the
// control points and the curve together.
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"
#include "document/objects/CObjPolyLine.h"
#include "platform/DeviceContext.h"

class MrkLineWriter;

class CObjBSpline : public CObjPolyLine {
 public:
  CObjBSpline() = default;
  // Takes the control points, leaving the list empty. No curve is built yet:
  // the creator calls RebuildCurve.
  explicit CObjBSpline(CPointList& controlPoints);
  ~CObjBSpline() override = default;

  // Regenerates the curve (and its hatching) from the control points and the
  // owner's fill settings; without an owner the path is left with no groups.
  void RebuildCurve();
  void MirrorX(double axis);
  void MirrorY(double axis);
  void Resize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle);
  // An 8-pixel square around every control point, with the current pen and brush.
  void DrawControlPoints(platform::DeviceContext& dc, int originX, int originY, double zoom) const;
  void Write(MrkLineWriter& out) const;

  // The end of a drag: the control point under edit moves by (dx, dy), the
  // curve follows and the edit ends. Nothing without a valid edit index.
  void MoveEditedPoint(double dx, double dy);
  // The curve as it will be once the control point under edit has moved by
  // (dx, dy), for showing it while it is dragged; the spline is not changed.
  // Without a valid edit index the curve through the points as they are.
  void PreviewEditedPoint(double dx, double dy, CPointList& curve) const;
  // The curve through the points (repeated points once), appended to curve.
  static void CurveThrough(const CPointList& points, CPointList& curve);
  int GetEditIndex() const { return editIndex_; }
  void SetEditIndex(int index) { editIndex_ = index; }

 private:
  int editIndex_ = -1;  // control point being dragged; -1 when none
};
