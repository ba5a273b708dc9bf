#pragma once
// A rectangle in millimetres with the y axis up: top is the larger y. The
// 0.1 mm tolerance of PtInRectTol is the hit tolerance of every object.
#include "document/geometry/CDoublePoint.h"

// Rounds halves up for non-negative values; negative values truncate
// (-2.7 gives -2). Device coordinates of the drawing rely on exactly this.
int RoundHalfUp(double x);

// Four device pixels, as the view draws them.
struct CDeviceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const CDeviceRect&) const = default;
};

struct CDoubleRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;

  CDoubleRect() = default;
  CDoubleRect(double l, double t, double r, double b) : left(l), top(t), right(r), bottom(b) {}
  CDoubleRect(const CDoubleRect&) = default;
  CDoubleRect operator=(const CDoubleRect& other) {
    left = other.left;
    top = other.top;
    right = other.right;
    bottom = other.bottom;
    return *this;
  }
  bool operator!=(const CDoubleRect& o) const {
    return left != o.left || top != o.top || right != o.right || bottom != o.bottom;
  }
  bool operator==(const CDoubleRect& o) const { return !(*this != o); }

  void SetRectEmpty() { left = top = right = bottom = 0; }
  void SetRect(float l, float t, float r, float b);
  // Normalised box of two corners.
  void SetFromCorners(double x1, double y1, double x2, double y2);

  bool PtInRectTol(double x, double y) const;     // edges widened by 0.1 mm, included
  bool PtInRectTol(const CDoublePoint& p) const { return PtInRectTol(p.x, p.y); }
  bool PtInRectStrict(double x, double y) const;  // edges excluded

  CDoubleRect InflateRect(int n);
  CDoubleRect OffsetRect(double dx, double dy);
  // Plain min/max union; a zero rectangle takes part like any other.
  CDoubleRect UnionRect(const CDoubleRect& other);
  bool IsWithin(const CDoubleRect& other) const;  // borders included

  double Width() const;
  double Height() const;
  double CenterX() const { return (left + right) / 2; }
  double CenterY() const { return (top + bottom) / 2; }
  CDoublePoint CenterPoint() const { return CDoublePoint(CenterX(), CenterY(), 0); }
  // 0 left-top, then clockwise: 1 top middle ... 7 left middle, 8 centre;
  // anything else (0, 0).
  CDoublePoint GetHandlePoint(int i) const;
  CDeviceRect ToDeviceRect(double pxPerMmX, double pxPerMmY, int originX, int originY, double zoom) const;
};
