#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CLine2D.h"
#include "document/geometry/CSegment2D.h"
#include "document/geometry/CVector2D.h"

TEST(DoubleRect, HitTestsAndTolerance) {
  CDoubleRect r;
  r.SetFromCorners(10, 0, 0, 5);
  EXPECT_EQ(r, CDoubleRect(0, 5, 10, 0));
  EXPECT_TRUE(r.PtInRectTol(-0.1, 2));
  EXPECT_TRUE(r.PtInRectTol(10.1, 5.1));
  EXPECT_FALSE(r.PtInRectTol(-0.11, 2));
  EXPECT_FALSE(r.PtInRectTol(5, 5.11));
  EXPECT_TRUE(r.PtInRectStrict(5, 2));
  EXPECT_FALSE(r.PtInRectStrict(0, 2));
  EXPECT_FALSE(r.PtInRectStrict(5, 5));
}

TEST(DoubleRect, UnionInflateOffsetAndContainment) {
  CDoubleRect a(1, 4, 3, 2);
  CDoubleRect zero;
  a.UnionRect(zero);  // the zero rectangle is not skipped
  EXPECT_EQ(a, CDoubleRect(0, 4, 3, 0));
  CDoubleRect copy = a.InflateRect(2);
  EXPECT_EQ(copy, CDoubleRect(-2, 6, 5, -2));
  a.OffsetRect(1, -1);
  EXPECT_EQ(a, CDoubleRect(-1, 5, 6, -3));
  EXPECT_DOUBLE_EQ(a.Width(), 7);
  EXPECT_DOUBLE_EQ(a.Height(), 8);
  EXPECT_TRUE(CDoubleRect(0, 1, 1, 0).IsWithin(CDoubleRect(0, 1, 1, 0)));
  EXPECT_FALSE(CDoubleRect(0, 1.5, 1, 0).IsWithin(CDoubleRect(0, 1, 1, 0)));
  EXPECT_TRUE(CDoubleRect(0, 1, 1, 0) != CDoubleRect(0, 1, 1, -1));
}

TEST(DoubleRect, HandlePointsClockwiseFromTopLeft) {
  CDoubleRect r(0, 4, 2, 0);
  const double expected[9][2] = {{0, 4}, {1, 4}, {2, 4}, {2, 2}, {2, 0}, {1, 0}, {0, 0}, {0, 2}, {1, 2}};
  for (int i = 0; i < 9; ++i) {
    CDoublePoint p = r.GetHandlePoint(i);
    EXPECT_EQ(p.x, expected[i][0]) << i;
    EXPECT_EQ(p.y, expected[i][1]) << i;
    EXPECT_EQ(p.flag, 0);
  }
  EXPECT_EQ(r.GetHandlePoint(9).x, 0);
  EXPECT_EQ(r.GetHandlePoint(-1).y, 0);
}

TEST(DoubleRect, RoundHalfUpAndDeviceRect) {
  EXPECT_EQ(RoundHalfUp(2.5), 3);
  EXPECT_EQ(RoundHalfUp(2.49), 2);
  EXPECT_EQ(RoundHalfUp(-0.5), 0);
  EXPECT_EQ(RoundHalfUp(-2.7), -2);
  EXPECT_EQ(RoundHalfUp(-2.5), -2);
  // Values no int can hold end at the limits instead of undefined conversions.
  EXPECT_EQ(RoundHalfUp(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundHalfUp(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(RoundHalfUp(std::nan("")), 0);

  CDoubleRect r(1, 10, 5, -2.8);
  CDeviceRect d = r.ToDeviceRect(4, 4, 100, 200, 0.5);
  EXPECT_EQ(d, (CDeviceRect{102, 180, 110, 205}));  // -5.6 truncates to -5
}

TEST(Line2D, SlopesAndWidenedBoxes) {
  CLine2D up(CDoublePoint(1, 0), CDoublePoint(1, 5));
  EXPECT_EQ(up.slope, 4e298);
  EXPECT_NEAR(up.bounds.Width(), 2e-7, 1e-15);
  CLine2D down(CDoublePoint(1, 5), CDoublePoint(1, 0));
  EXPECT_EQ(down.slope, -4e298);
  CLine2D point(CDoublePoint(2, 2), CDoublePoint(2, 2));
  EXPECT_EQ(point.slope, 0);

  CDoublePoint out;
  EXPECT_TRUE(up.Intersect(CLine2D(0, 2), out, false, 0));
  EXPECT_NEAR(out.x, 1, 1e-9);
  EXPECT_NEAR(out.y, 2, 1e-9);

  CLine2D flat(CDoublePoint(0, 1), CDoublePoint(4, 1));
  EXPECT_TRUE(flat.Intersect(CLine2D(VerticalSlope, VerticalSlope), out, true, 3));
  EXPECT_EQ(out.x, 3);
  EXPECT_EQ(out.y, 1);
}

TEST(Line2D, ParallelAndEndPointsDoNotCount) {
  CDoublePoint out;
  CLine2D a(CDoublePoint(0, 0), CDoublePoint(2, 2));
  EXPECT_FALSE(a.Intersect(CLine2D(1, 5), out, false, 0));
  CLine2D v1(CDoublePoint(0, 0), CDoublePoint(0, 3));
  EXPECT_FALSE(v1.Intersect(CLine2D(CDoublePoint(5, 0), CDoublePoint(5, 3)), out, false, 0));
  // Crossing exactly at the edge's end point (2, 2): strict box test.
  EXPECT_FALSE(a.Intersect(CLine2D(0, 2), out, false, 0));
  EXPECT_TRUE(a.Intersect(CLine2D(0, 1.999), out, false, 0));
}

TEST(Vector2D, AnglesAndZeroVectors) {
  CVector2D x(1, 0), y(0, 2), back(-3, 0), zero;
  EXPECT_NEAR(x.AngleTo(y), 3.1415926 / 2, 1e-7);
  EXPECT_EQ(x.AngleTo(back), 3.1415926);
  EXPECT_EQ(x.AngleTo(CVector2D(5, 0)), 0);
  EXPECT_EQ(x.AngleTo(zero), 0);
  EXPECT_EQ(CVector2D(0.005, 0).AngleTo(CVector2D(0, 0.019)), 0);  // product below 0.0001
  EXPECT_DOUBLE_EQ(CVector2D::FromPoints(CDoublePoint(1, 1), CDoublePoint(4, 5)).Length(), 5);
}

TEST(Segment2D, IntersectionsAndTolerance) {
  CSegment2D a(CDoublePoint(0, 0), CDoublePoint(4, 0));
  CSegment2D b(CDoublePoint(4, -2), CDoublePoint(4, 2));  // crosses at a's end point
  CDoublePoint out;
  EXPECT_TRUE(a.Intersect(out, b, true));
  EXPECT_NEAR(out.x, 4, 1e-12);
  EXPECT_NEAR(out.y, 0, 1e-12);

  CSegment2D far(CDoublePoint(6, -2), CDoublePoint(6, 2));
  EXPECT_FALSE(a.Intersect(out, far, true));  // lines cross, segments do not
  EXPECT_TRUE(a.Intersect(out, far, false));
  EXPECT_NEAR(out.x, 6, 1e-12);

  CSegment2D parallel(CDoublePoint(0, 1), CDoublePoint(4, 1));
  EXPECT_FALSE(a.Intersect(out, parallel, false));

  EXPECT_TRUE(a.ContainsPoint(CDoublePoint(2, 0.2)));  // detour under 0.1
  EXPECT_FALSE(a.ContainsPoint(CDoublePoint(2, 0.7)));
  EXPECT_NEAR(a.AngleDeg(b), 90, 1e-5);
}

TEST(Segment2D, QuarterTurnAboutTheMiddle) {
  CSegment2D s(CDoublePoint(0, 0), CDoublePoint(4, 0));
  s.RotateAboutMid90();
  EXPECT_DOUBLE_EQ(s.start.x, 2);
  EXPECT_DOUBLE_EQ(s.start.y, -2);
  EXPECT_DOUBLE_EQ(s.end.x, 2);
  EXPECT_DOUBLE_EQ(s.end.y, 2);
  EXPECT_DOUBLE_EQ(s.dir.dx, 0);
  EXPECT_DOUBLE_EQ(s.dir.dy, 4);
  CDoublePoint m = s.MidPoint();
  EXPECT_DOUBLE_EQ(m.x, 2);
  EXPECT_DOUBLE_EQ(m.y, 0);
}
