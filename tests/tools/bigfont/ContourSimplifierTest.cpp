// Flattened contours put on the whole-unit grid and thinned: what lies on
// the outline within the tolerance goes, corners stay, specks are dropped.
#include "tools/bigfont/ContourSimplifier.h"

#include <gtest/gtest.h>

namespace {

struct SimplifyCase {
  const char* name;
  std::vector<Contour> in;
  std::vector<GridContour> out;
};

void PrintTo(const SimplifyCase& c, std::ostream* out) { *out << c.name; }

class Simplified : public ::testing::TestWithParam<SimplifyCase> {};

TEST_P(Simplified, KeepsTheCornersOfWhatCanBeSeen) {
  EXPECT_EQ(ContourSimplifier(0.6, 2).Simplify(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Contours, Simplified,
    ::testing::Values(
        SimplifyCase{"PointsOnAStraightSideGo",
                     {{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {7, 10}, {0, 10}}},
                     {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}},
        SimplifyCase{"PointsRoundToTheGridAndRepeatsGo",
                     {{{0.2, -0.3}, {0.4, 0.1}, {9.6, 0.2}, {10.4, 9.7}, {0.1, 10.2}, {0, 0}}},
                     {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}},
        SimplifyCase{"APointHalfAUnitOffTheSideGoes",
                     {{{0, 0}, {10, 0}, {20, 1}, {20, 20}}},
                     {{{0, 0}, {20, 1}, {20, 20}}}},
        SimplifyCase{"APointAUnitOffTheSideStays",
                     {{{0, 0}, {10, 1}, {20, 0}, {20, 20}}},
                     {{{0, 0}, {10, 1}, {20, 0}, {20, 20}}}},
        SimplifyCase{"ASpeckGoesAThinStrokeStays",
                     {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{5, 5}, {8, 5}, {8, 6}, {5, 6}}},
                     {{{5, 5}, {8, 5}, {8, 6}, {5, 6}}}},
        SimplifyCase{"ACurveKeepsItsBend",
                     {{{0, 0}, {4, 0.3}, {8, 1.2}, {12, 2.7}, {16, 4.8}, {20, 7.5}, {20, 20}, {0, 20}}},
                     {{{0, 0}, {8, 1}, {20, 8}, {20, 20}, {0, 20}}}},
        SimplifyCase{"NothingLeft", {{{3, 3}}, {}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
