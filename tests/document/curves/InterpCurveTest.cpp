// The interpolating curve of the B-spline object: its system, the ten Jacobi
// sweeps and the sampling every half millimetre.
#include <gtest/gtest.h>

#include <cmath>

#include "document/curves/CInterpCurve.h"

namespace {

CPointList MakeList(std::initializer_list<CDoublePoint> pts) {
  CPointList list;
  for (const auto& p : pts) list.Add(p);
  return list;
}

TEST(InterpCurve, TwoPointsGiveTheJacobiTangentsAndHalfMillimetreSamples) {
  CInterpCurve curve(MakeList({{0, 0, 0}, {2, 0, 1}}));
  CPointList out;
  curve.BuildPolyline(out);
  EXPECT_EQ(curve.diagonal[0], 2.0);
  EXPECT_EQ(curve.diagonal[1], 2.0);
  EXPECT_EQ(curve.upper[0], 1.0);
  EXPECT_EQ(curve.lower[1], 1.0);
  // Start 3, the error halves and flips sign each sweep: 2 + 1/1024 after ten.
  EXPECT_DOUBLE_EQ(curve.tangents[0].x, 2 + 1.0 / 1024);
  EXPECT_DOUBLE_EQ(curve.tangents[1].x, 2 + 1.0 / 1024);
  EXPECT_EQ(curve.tangents[0].y, 0);

  ASSERT_EQ(out.GetSize(), 5);
  EXPECT_EQ(out[0].x, 0);
  EXPECT_EQ(out[0].flag, 0);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_NEAR(out[k].x, 0.5 * k, 0.001) << k;
    EXPECT_EQ(out[k].y, 0) << k;
    EXPECT_EQ(out[k].flag, 1) << k;
  }
  EXPECT_EQ(out[4].x, 2.0);  // u = 1 lands exactly on the end point
}

TEST(InterpCurve, CurvePassesThroughItsPointsAndEndsOnlyOnWholeSteps) {
  // Pieces with dominant extents 3 (a multiple of 0.5) and 2.2 (not).
  CInterpCurve curve(MakeList({{0, 0}, {3, 1}, {5.2, 0}}));
  CPointList out;
  curve.BuildPolyline(out);
  // 1 + 6 samples of the first piece, then 1 + 4 of the second.
  ASSERT_EQ(out.GetSize(), 12);
  EXPECT_NEAR(out[6].x, 3, 1e-9);
  EXPECT_NEAR(out[6].y, 1, 1e-9);
  EXPECT_EQ(out[7].x, 3);  // the next piece starts with its own point
  EXPECT_GT(out[11].x, 4.6);  // the last step before 5.2, which is left out
  EXPECT_LT(out[11].x, 5.2);
  EXPECT_EQ(out[0].flag & 1, 0);
  for (int i = 1; i < out.GetSize(); ++i) EXPECT_EQ(out[i].flag & 1, 1) << i;

  // The output is appended to, not replaced; the first point then joins too.
  CInterpCurve again(MakeList({{0, 0}, {1, 0}}));
  again.BuildPolyline(out);
  EXPECT_EQ(out[12].flag & 1, 1);

  CPointList none;
  CInterpCurve single(MakeList({{1, 1}}));
  single.BuildPolyline(none);
  EXPECT_EQ(none.GetSize(), 0);
}

TEST(InterpCurve, RepeatedPointsUseTheSentinelRatiosAndNeverGiveNotANumber) {
  CInterpCurve curve(MakeList({{0, 0}, {4, 0}, {4, 0}, {4, 0}, {8, 3}}));
  CPointList out;
  curve.BuildPolyline(out);
  EXPECT_EQ(curve.ratios[0], 4e298);  // a chord followed by a zero chord
  EXPECT_EQ(curve.ratios[1], 1.0);    // two zero chords
  EXPECT_EQ(curve.ratios[2], 0.0);    // a zero chord followed by a real one
  EXPECT_EQ(curve.ratios[3], 1.0);
  for (int i = 0; i < out.GetSize(); ++i) {
    EXPECT_TRUE(std::isfinite(out[i].x) && std::isfinite(out[i].y)) << i;
  }

  CPointList distinct;
  CInterpCurve::DropRepeatedPoints(curve.points, distinct);
  ASSERT_EQ(distinct.GetSize(), 3);
  EXPECT_EQ(distinct[2].x, 8);
}

TEST(InterpCurve, FarPointsDoNotStallTheSampling) {
  CInterpCurve curve(MakeList({{0, 0}, {1e300, 0}}));
  CPointList out;
  curve.BuildPolyline(out);
  EXPECT_EQ(out.GetSize(), 1);
}

}  // namespace
