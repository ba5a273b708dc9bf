// Arcs through three points, equal divisions, B-spline flattening and the
// interpolating curve of the B-spline object.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "document/curves/CArc3Point.h"
#include "document/curves/CInterpCurve.h"
#include "document/curves/CSegmentDivider.h"
#include "document/curves/SplineToPolyline.h"

namespace {

void ExpectPoint(const CDoublePoint& p, double x, double y, double tol = 1e-5) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
}

CPointList MakeList(std::initializer_list<CDoublePoint> pts) {
  CPointList list;
  for (const auto& p : pts) list.Add(p);
  return list;
}

TEST(Arc3Point, ArcsRunBetweenTheirEndsOnTheCircle) {
  CArc3Point half(CDoublePoint(10.2, 0), CDoublePoint(0, 10.2), CDoublePoint(-10.2, 0));
  half.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(half.output.GetSize(), 21);
  ExpectPoint(half.output[0], 10.2, 0);
  ExpectPoint(half.output[20], -10.2, 0);
  for (int i = 0; i < 21; ++i) {
    EXPECT_NEAR(std::hypot(half.output[i].x, half.output[i].y), 10.2, 1e-6);
    EXPECT_GE(half.output[i].y, -1e-6);  // counter-clockwise over the top
  }
  ExpectPoint(half.current, -10.2, 0);

  // Second point not between the others, third at the larger angle: the arc
  // starts at the third point and sweeps 270 degrees counter-clockwise.
  CArc3Point longWay(CDoublePoint(5, 0), CDoublePoint(0, -5), CDoublePoint(0, 5));
  longWay.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(longWay.output.GetSize(), 16);
  ExpectPoint(longWay.output[0], 0, 5);
  const double a8 = (90 + 8 * 18) * 3.14159265358979 / 180;  // steps of 270 / 15 degrees
  ExpectPoint(longWay.output[8], 5 * std::cos(a8), 5 * std::sin(a8), 1e-3);
  ExpectPoint(longWay.output[15], 5, 0);
}

TEST(Arc3Point, StraightOrTinyOrNearlyStraightPointsAreDividedAsALine) {
  CArc3Point line(CDoublePoint(0, 0), CDoublePoint(1, 0), CDoublePoint(3, 0));
  line.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(line.output.GetSize(), 7);
  ExpectPoint(line.output[6], 3, 0);

  CArc3Point tiny(CDoublePoint(0.01, 0), CDoublePoint(0, 0.01), CDoublePoint(-0.01, 0));
  tiny.Generate(0.5f, nullptr, 1);
  EXPECT_EQ(tiny.output.GetSize(), 1);

  // A centre 10^9 mm away would ask for a billion arc points.
  CArc3Point flat(CDoublePoint(0, 0), CDoublePoint(1, 1e-9), CDoublePoint(2, 0));
  flat.Generate(0.5f, nullptr, 1);
  ASSERT_EQ(flat.output.GetSize(), 5);
}

TEST(SegmentDivider, StepsRoundToWholeDivisionsAndDegenerateInputStaysFinite) {
  CSegmentDivider a(CDoublePoint(0, 0), CDoublePoint(1.2, 0));
  a.Divide(0.5f);  // remainder 0.2: two steps of 0.6
  ASSERT_EQ(a.output.GetSize(), 3);
  ExpectPoint(a.output[1], 0.6, 0);
  CSegmentDivider b(CDoublePoint(0, 0), CDoublePoint(0, 1.3));
  b.Divide(0.5f);  // remainder 0.3: three steps
  ASSERT_EQ(b.output.GetSize(), 4);
  ExpectPoint(b.output[3], 0, 1.3);
  CSegmentDivider c(CDoublePoint(0, 0), CDoublePoint(1.3, 0));
  c.current.flag = 1;
  c.DivideEx(0.5f, 0);  // no rounding: stops at the last whole step
  ASSERT_EQ(c.output.GetSize(), 3);
  ExpectPoint(c.output[2], 1.0, 0);
  EXPECT_EQ(c.output[2].flag, 1);

  // No length, or a step that is not positive: the start only, no NaN, no endless loop.
  CSegmentDivider point(CDoublePoint(3, 4), CDoublePoint(3, 4));
  point.startTrim = 1;
  point.Divide(0.5f);
  ASSERT_EQ(point.output.GetSize(), 1);
  ExpectPoint(point.output[0], 3, 4);
  CSegmentDivider zero(CDoublePoint(0, 0), CDoublePoint(5, 0));
  zero.Divide(0.0f);
  EXPECT_EQ(zero.output.GetSize(), 1);
}

// A clamped cubic spline with uniform inner knots.
CSplineRecord MakeSpline(std::initializer_list<CDoublePoint> controls) {
  CSplineRecord s;
  for (const auto& p : controls) s.controlPoints.Add(p);
  const int spans = s.controlPoints.GetSize() - 3;
  s.knots = {0, 0, 0, 0};
  for (int i = 1; i < spans; ++i) s.knots.push_back(i);
  for (int i = 0; i < 4; ++i) s.knots.push_back(spans);
  return s;
}

TEST(SplineFlattening, BothPassesAgreeAndTheSpanSizeFollowsItsPolygon) {
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {10, 0}, {10, 5}, {15, 5}}), 3), 12);  // 20 mm
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {2, 0}, {2, 2}, {3, 2}}), 3), 9);      // 5 mm
  EXPECT_EQ(SpanPointCount(MakeSpline({{0, 0}, {100, 0}, {100, 100}, {200, 100}}), 3), 30);

  const CSplineRecord s = MakeSpline({{0, 0}, {10, 0}, {10, 5}, {15, 5}, {20, 0}});
  int counter = 0;
  const int counted = SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr);
  EXPECT_EQ(counter, 0);
  ASSERT_EQ(counted, 2 * (SpanPointCount(s, 3) + SpanPointCount(s, 4)));

  std::vector<double> coords(static_cast<std::size_t>(counted + 2), -1);
  std::vector<std::uint8_t> flags(static_cast<std::size_t>(counted / 2 + 1), 9);
  counter = 2;  // one point of something else first
  int fill = 1;
  EXPECT_EQ(SplineToPolyline(s, coords.data(), flags.data(), counter, &fill, nullptr), counted);
  EXPECT_EQ(counter, counted + 2);
  EXPECT_EQ(coords[1], -1);
  EXPECT_EQ(flags[0], 9);
  ExpectPoint(CDoublePoint(coords[2], coords[3]), 0, 0);                   // clamped: starts on P[0]
  ExpectPoint(CDoublePoint(coords[counted], coords[counted + 1]), 20, 0);  // and ends on P[4]
  EXPECT_EQ(flags[1], 0);
  EXPECT_EQ(flags[2], 1);
}

TEST(SplineFlattening, EmptySpansAndMissingKnotsGiveNothing) {
  CSplineRecord s = MakeSpline({{0, 0}, {10, 0}, {10, 5}, {15, 5}, {20, 0}});
  s.knots = {0, 0, 0, 0, 0, 1, 1, 1, 1};  // span 3 has no length
  int counter = 0;
  EXPECT_EQ(SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr), 2 * SpanPointCount(s, 4));
  s.knots = {0, 0, 0, 0, 1, 1};  // damaged file: knots missing
  EXPECT_EQ(SplineToPolyline(s, nullptr, nullptr, counter, nullptr, nullptr), 0);
}

TEST(InterpCurve, TwoPointsGiveTheTenSweepTangentsAndHalfMillimetreSamples) {
  CInterpCurve curve(MakeList({{0, 0, 0}, {2, 0, 1}}));
  CPointList out;
  curve.BuildPolyline(out);
  // Start 3; the error halves and flips sign each sweep: 2 + 1/1024 after ten.
  EXPECT_DOUBLE_EQ(curve.tangents[0].x, 2 + 1.0 / 1024);
  EXPECT_DOUBLE_EQ(curve.tangents[1].x, 2 + 1.0 / 1024);
  ASSERT_EQ(out.GetSize(), 5);
  EXPECT_EQ(out[0].flag, 0);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_NEAR(out[k].x, 0.5 * k, 0.001);
    EXPECT_EQ(out[k].flag, 1);
  }
  EXPECT_EQ(out[4].x, 2.0);
}

TEST(InterpCurve, RepeatedAndFarPointsNeverGiveNotANumberOrStall) {
  CInterpCurve curve(MakeList({{0, 0}, {4, 0}, {4, 0}, {4, 0}, {8, 3}}));
  CPointList out;
  curve.BuildPolyline(out);
  EXPECT_EQ(curve.ratios[0], 4e298);  // chord, then zero chord
  EXPECT_EQ(curve.ratios[1], 1.0);    // two zero chords
  for (int i = 0; i < out.GetSize(); ++i) ASSERT_TRUE(std::isfinite(out[i].x) && std::isfinite(out[i].y));

  CInterpCurve far(MakeList({{0, 0}, {1e300, 0}}));
  CPointList farOut;
  far.BuildPolyline(farOut);
  EXPECT_EQ(farOut.GetSize(), 1);
}

}  // namespace
