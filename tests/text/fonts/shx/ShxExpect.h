#pragma once
#include <gtest/gtest.h>

#include "tests/text/fonts/shx/ShxTestFonts.h"

// Point i of the writing pass is (x, y) with the flag.
inline void ExpectPoint(const ShxRun& run, int i, double x, double y, int flag, double tol = 1e-6) {
  ASSERT_LT(i, run.Points());
  EXPECT_NEAR(run.X(i), x, tol) << "point " << i;
  EXPECT_NEAR(run.Y(i), y, tol) << "point " << i;
  EXPECT_EQ(run.flags[i], flag) << "point " << i;
}
