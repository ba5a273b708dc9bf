// Arcs through three points, equal divisions of a segment and the flattening
// of cubic B-splines from drawing-exchange files.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "document/curves/CArc3Point.h"
#include "document/curves/CSegmentDivider.h"
#include "document/curves/SplineToPolyline.h"

namespace {

void ExpectPoint(const CDoublePoint& p, double x, double y, double tol = 1e-6) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

TEST(Arc3Point, HalfCircleRunsCounterClockwiseFromFirstToThird) {
  CArc3Point arc(CDoublePoint(10.2, 0), CDoublePoint(0, 10.2), CDoublePoint(-10.2, 0));
  int value = 0;
  arc.Generate(0.5f, &value, 1);
  const CPointList& out = arc.output;
  ASSERT_EQ(out.GetSize(), 21);
  ExpectPoint(out[0], 10.2, 0);
  ExpectPoint(out[20], -10.2, 0, 1e-5);
  for (int i = 0; i < out.GetSize(); ++i) {
    EXPECT_NEAR(std::hypot(out[i].x, out[i].y), 10.2, 1e-6) << i;
    EXPECT_GE(out[i].y, -1e-6) << i;  // upper half: counter-clockwise
    EXPECT_EQ(out[i].flag, 0);
  }
  ExpectPoint(arc.current, -10.2, 0);
  EXPECT_EQ(arc.second.GetSize(), 0);

  // Generating again starts from an empty list.
  arc.Generate(0.5f, &value, 1);
  EXPECT_EQ(arc.output.GetSize(), 21);
}

TEST(Arc3Point, SecondPointOutsideTheOthersGoesTheLongWayFromTheLargerAngle) {
  // Angles 0 (first), 270 (second), 90 (third): the second point is not
  // between, and the third has the larger angle, so the arc starts there and
  // sweeps counter-clockwise through 180 and 270 back to the first.
  CArc3Point arc(CDoublePoint(5, 0), CDoublePoint(0, -5), CDoublePoint(0, 5));
  arc.Generate(0.5f, nullptr, 1);
  const CPointList& out = arc.output;
  ASSERT_GE(out.GetSize(), 4);
  ExpectPoint(out[0], 0, 5, 1e-5);
  ExpectPoint(out[out.GetSize() - 1], 5, 0, 1e-5);
  // It passes the left-most point (-5, 0) on the way.
  double minX = 0;
  for (int i = 0; i < out.GetSize(); ++i) minX = std::min(minX, out[i].x);
  EXPECT_NEAR(minX, -5, 0.05);
  // H = integer part of (1.5 pi * 6 / pi + 5 * 1.5) = 16.
  EXPECT_EQ(out.GetSize(), 16);
}

TEST(Arc3Point, CollinearOrTinyCirclesAreDividedAsTheLongestSegment) {
  CArc3Point line(CDoublePoint(0, 0), CDoublePoint(1, 0), CDoublePoint(3, 0));
  line.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(line.output.GetSize(), 7);
  for (int i = 0; i < 7; ++i) ExpectPoint(line.output[i], 0.5 * i, 0);

  // The longest pair is the second and third point here.
  CArc3Point tail(CDoublePoint(1, 0), CDoublePoint(0, 0), CDoublePoint(4, 0));
  tail.Generate(1.0f, nullptr, 1);
  ASSERT_EQ(tail.output.GetSize(), 5);
  ExpectPoint(tail.output[0], 0, 0);
  ExpectPoint(tail.output[4], 4, 0);

  // A circle of radius 0.01 is too small to mark as an arc.
  CArc3Point tiny(CDoublePoint(0.01, 0), CDoublePoint(0, 0.01), CDoublePoint(-0.01, 0));
  tiny.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(tiny.output.GetSize(), 1);  // shorter than the step: the start only
  ExpectPoint(tiny.output[0], 0.01, 0);

  // Extra spacing widens the fallback's step.
  CArc3Point spaced(CDoublePoint(0, 0), CDoublePoint(1, 0), CDoublePoint(3, 0));
  spaced.extraSpacing = 0.5f;
  spaced.Generate(0.5f, nullptr, 1);
  EXPECT_EQ(spaced.output.GetSize(), 4);
}

TEST(Arc3Point, NearlyStraightPointsDoNotExplodeIntoMillionsOfPoints) {
  // The bisectors meet some 10^9 mm away; the arc would need billions of
  // points, so the points are divided as a line instead.
  CArc3Point arc(CDoublePoint(0, 0), CDoublePoint(1, 1e-9), CDoublePoint(2, 0));
  arc.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(arc.output.GetSize(), 5);
  ExpectPoint(arc.output[4], 2, 0);
}

TEST(SegmentDivider, StepsAreRoundedToDivideTheSegmentExactly) {
  CSegmentDivider a(CDoublePoint(0, 0), CDoublePoint(1.2, 0));
  a.Divide(0.5f);
  ASSERT_EQ(a.output.GetSize(), 3);
  ExpectPoint(a.output[1], 0.6, 0);
  ExpectPoint(a.output[2], 1.2, 0);

  CSegmentDivider b(CDoublePoint(0, 0), CDoublePoint(0, 1.3));
  b.Divide(0.5f);
  ASSERT_EQ(b.output.GetSize(), 4);
  ExpectPoint(b.output[1], 0, 1.3 / 3);
  ExpectPoint(b.output[3], 0, 1.3);

  // Without rounding the last point is the last whole step before the end.
  CSegmentDivider c(CDoublePoint(0, 0), CDoublePoint(1.3, 0));
  c.current.flag = 1;
  c.DivideEx(0.5f, 0);
  ASSERT_EQ(c.output.GetSize(), 3);
  ExpectPoint(c.output[2], 1.0, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(c.output[i].flag, 1);

  CSegmentDivider shortOne(CDoublePoint(2, 2), CDoublePoint(2.3, 2));
  shortOne.Divide(0.5f);
  ASSERT_EQ(shortOne.output.GetSize(), 1);
  ExpectPoint(shortOne.output[0], 2, 2);
}

TEST(SegmentDivider, TrimsShortenTheSegmentAndDegenerateInputStaysFinite) {
  CSegmentDivider trimmed(CDoublePoint(0, 0), CDoublePoint(10, 0));
  trimmed.startTrim = 1;
  trimmed.endTrim = 2;
  trimmed.Divide(1.0f);
  ASSERT_EQ(trimmed.output.GetSize(), 8);
  ExpectPoint(trimmed.output[0], 1, 0);
  ExpectPoint(trimmed.output[7], 8, 0);

  // A segment of no length with trims, and steps that are not positive, give
  // the start point only, never not-a-number or an endless loop.
  CSegmentDivider point(CDoublePoint(3, 4), CDoublePoint(3, 4));
  point.startTrim = 1;
  point.Divide(0.5f);
  ASSERT_EQ(point.output.GetSize(), 1);
  ExpectPoint(point.output[0], 3, 4);

  for (float step : {0.0f, -1.0f}) {
    CSegmentDivider d(CDoublePoint(0, 0), CDoublePoint(5, 0));
    d.Divide(step);
    ASSERT_EQ(d.output.GetSize(), 1) << step;
  }

  // A tiny step on a long segment is capped instead of exhausting memory.
  CSegmentDivider huge(CDoublePoint(0, 0), CDoublePoint(1e9, 0));
  huge.Divide(0.001f);
  EXPECT_LE(huge.output.GetSize(), kMaxSegmentDivisions + 1);
  ExpectPoint(huge.output[huge.output.GetSize() - 1], 1e9, 0, 1e-3);
}

// A clamped cubic spline through the control points with uniform inner knots.
CSplineRecord MakeSpline(const std::vector<CDoublePoint>& controls) {
  CSplineRecord s;
  for (const auto& p : controls) s.controlPoints.Add(p);
  const int spans = static_cast<int>(controls.size()) - 3;
  for (int i = 0; i < 4; ++i) s.knots.push_back(0);
  for (int i = 1; i < spans; ++i) s.knots.push_back(i);
  for (int i = 0; i < 4; ++i) s.knots.push_back(spans);
  s.degree = 3;
  return s;
}

TEST(SplineFlattening, PointsPerSpanFollowTheControlPolygonLength) {
  // Polygons of 20 mm, 5 mm and 300 mm: 12, 9 and the most, 30.
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {10, 0}, {10, 5}, {15, 5}}), 3), 12);
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {2, 0}, {2, 2}, {3, 2}}), 3), 9);
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {100, 0}, {100, 100}, {200, 100}}), 3), 30);
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {0, 0}, {0, 0}, {0, 0}}), 3), 8);
}

TEST(SplineFlattening, ClampedSplineRunsFromFirstToLastControlPoint) {
  const CSplineRecord s = MakeSpline({{0, 0}, {10, 0}, {10, 5}, {15, 5}, {20, 0}});
  ExpectPoint(EvalDeBoor(s, 3, 0), 0, 0);
  ExpectPoint(EvalDeBoor(s, 4, 2), 20, 0);
  // Between: a convex combination of the span's control points.
  const CDoublePoint mid = EvalDeBoor(s, 3, 0.5);
  EXPECT_GT(mid.x, 0);
  EXPECT_LT(mid.x, 15);

  // The counting pass and the filling pass agree; the filling pass writes at
  // the caller's position and moves it by two per point.
  int counter = 0;
  const int counted = SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr);
  EXPECT_EQ(counter, 0);
  const int n = SpanPointCount(s, 3) + SpanPointCount(s, 4);
  ASSERT_EQ(counted, 2 * n);

  std::vector<double> coords(static_cast<std::size_t>(counted + 4), -1);
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(counted / 2 + 2), 9);
  counter = 4;  // two points of something else come first
  int fill = 1;
  EXPECT_EQ(SplineToPolyline(s, coords.data(), flags.data(), counter, &fill, nullptr), counted);
  EXPECT_EQ(counter, counted + 4);
  EXPECT_EQ(coords[3], -1);  // before the position: untouched
  EXPECT_NEAR(coords[4], 0, 1e-9);
  EXPECT_NEAR(coords[5], 0, 1e-9);
  EXPECT_NEAR(coords[static_cast<std::size_t>(counted + 2)], 20, 1e-9);
  EXPECT_EQ(flags[2], 0);
  for (std::size_t j = 3; j < flags.size(); ++j) EXPECT_EQ(flags[j], 1) << j;
  EXPECT_EQ(flags[1], 9);
}

TEST(SplineFlattening, EmptySpansAndMissingKnotsAreSkipped) {
  CSplineRecord s = MakeSpline({{0, 0}, {10, 0}, {10, 5}, {15, 5}, {20, 0}});
  // A repeated inner knot empties span 3; span 4 still gives its points.
  s.knots = {0, 0, 0, 0, 0, 1, 1, 1, 1};
  int counter = 0;
  EXPECT_EQ(SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr), 2 * SpanPointCount(s, 4));

  // A damaged file with too few knots: the spans without knots give nothing,
  // and nothing is read beyond the knots there are.
  s.knots = {0, 0, 0, 0, 1, 1};
  EXPECT_EQ(SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr), 0);
  s.knots.clear();
  EXPECT_EQ(SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr), 0);
  CSplineRecord fewPoints;
  fewPoints.controlPoints.Add(CDoublePoint(1, 1));
  fewPoints.knots = {0, 0, 1, 1};
  EXPECT_EQ(SplineToPolyline(fewPoints, nullptr, nullptr, counter, nullptr, nullptr), 0);
}

}  // namespace
