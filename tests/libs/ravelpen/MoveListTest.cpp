// Settings limits, the step rounding of moves and the shape builders.
#include <cmath>
#include <vector>

#include "tests/libs/ravelpen/PlotterFixture.h"

namespace {

using ravelpen::MoveNode;
using ravelpen::Moves;
using ravelpen::Settings;

struct Point {
  double x;
  double y;
  bool pen;
};

// Where each move ends, in mm, from the start corner of the list.
std::vector<Point> Walk(double startX, double startY) {
  std::vector<Point> points;
  double x = startX;
  double y = startY;
  for (const MoveNode& n : Moves().Nodes()) {
    x += (n.flags & ravelpen::kMoveXNegative ? -n.dx : n.dx) * Settings().stepLength / 1000;
    y += (n.flags & ravelpen::kMoveYPositive ? n.dy : -n.dy) * Settings().stepLength / 1000;
    points.push_back({x, y, (n.flags & ravelpen::kMovePenDown) != 0});
  }
  return points;
}

using PlotterSettingsTest = PlotterTest;

TEST_F(PlotterSettingsTest, LimitsReplaceValuesOutsideTheirRanges) {
  const struct {
    double in;
    double out;
  } steps[] = {{16, 16}, {16.5, 8.929}, {0.9, 3.98}, {1, 1}, {NAN, 3.98}};
  for (const auto& c : steps) {
    OnSetStepLength(c.in);
    EXPECT_DOUBLE_EQ(Settings().stepLength, c.out) << c.in;
  }
  InitialRange(800, 5);
  EXPECT_DOUBLE_EQ(Settings().rangeX, 800);
  EXPECT_DOUBLE_EQ(Settings().rangeY, 100);
  InitialPrinter(99, 20000, 20001);
  EXPECT_EQ(Settings().emptySpeed, 3000);
  EXPECT_EQ(Settings().lineSpeed, 20000);
  EXPECT_EQ(Settings().backSpeed, 8000);
  for (int corner : {-1, 5}) {
    OnSetMachineOrigin(corner);
    EXPECT_EQ(Settings().originCorner, 0);
  }
}

TEST_F(PlotterSettingsTest, StoredSpeedsOfZeroNeverStallTheSteps) {
  settings_->WriteDword(platform::kRegistryKey, "LineSpeed", 0);
  settings_->WriteDword(platform::kRegistryKey, "BackSpeed", 0);
  OnUpdateMachinePara();
  EXPECT_EQ(Settings().lineSpeed, 1000);
  EXPECT_EQ(Settings().backSpeed, 2000);
  EXPECT_GT(ravelpen::StepPeriodTicks(0), 0);
  EXPECT_EQ(ravelpen::StepPeriodTicks(100000), 1);
}

TEST_F(PlotterSettingsTest, HalfStepsRoundAwayFromZeroAndTheRestIsCarried) {
  OnSetMachineOrigin(4);  // the list starts where the head is: 0, 0
  ASSERT_EQ(MoveToXY(0.002, 0), 1);
  EXPECT_EQ(Moves().Nodes()[0].dx, 1);
  ASSERT_EQ(MoveToXY(0, 0), 1);
  Moves().Clear();
  ASSERT_EQ(MoveToXY(-0.001, 0), 1);
  EXPECT_EQ(Moves().Nodes()[0].dx, 0);
  Moves().Clear();

  // A thousand moves of 0.002 mm end 2 mm on, not 4: each move's rounding
  // is carried into the next.
  OnSetMachineOrigin(1);
  const double startX = -Settings().rangeX / 2;
  long long total = 0;
  for (int i = 1; i <= 1000; ++i) ASSERT_EQ(LineToXY(startX + 0.002 * i, -Settings().rangeY / 2), 1);
  for (const MoveNode& n : Moves().Nodes()) total += n.dx;
  EXPECT_EQ(total, 500);
}

TEST_F(PlotterSettingsTest, FlagsGiveDirectionsAndPen) {
  ASSERT_EQ(MoveToXY(-50 - 1, 45 - 2), 1);  // left and down from the corner
  ASSERT_EQ(LineToXY(-50 + 1, 45 + 1), 1);  // right and up
  const auto nodes = Moves().Nodes();
  EXPECT_EQ(nodes[0].flags, ravelpen::kMoveXNegative);
  EXPECT_EQ(nodes[0].dx, 250);
  EXPECT_EQ(nodes[0].dy, 500);
  EXPECT_EQ(nodes[1].flags, ravelpen::kMoveYPositive | ravelpen::kMovePenDown);
  EXPECT_EQ(nodes[1].dx, 500);
  EXPECT_EQ(nodes[1].dy, 750);
}

TEST_F(PlotterSettingsTest, TargetsNoMachineReachesAreRefused) {
  EXPECT_EQ(LineToXY(1e300, 0), 0);
  EXPECT_EQ(LineToXY(NAN, 0), 0);
  EXPECT_TRUE(Moves().Empty());
}

TEST_F(PlotterSettingsTest, ArcsRunTheirChordsOnTheCircleAndAFullTurnCloses) {
  // A radius of r mm takes 16 r steps (12 to 540) around the turn: a point
  // after each step short of the end, then the move back to the start. At
  // 540 steps the summed step falls just short of the full turn, which adds
  // one more point right beside the start.
  const struct {
    double radius;
    double used;
    int penDownMoves;
  } cases[] = {{0.3, 2, 32}, {50, 50, 541}, {1, 1, 16}};
  for (const auto& c : cases) {
    Moves().Clear();
    ASSERT_EQ(PrintArc(0, 0, c.radius, 0, 360), 1);
    const auto points = Walk(-50, 45);
    ASSERT_GE(points.size(), 2u);
    EXPECT_FALSE(points[0].pen);
    int penDown = 0;
    for (const Point& p : points) {
      EXPECT_NEAR(std::hypot(p.x, p.y), c.used, 0.004) << c.radius;
      penDown += p.pen;
    }
    EXPECT_EQ(penDown, c.penDownMoves) << c.radius;
    EXPECT_NEAR(points.back().x, points.front().x, 1e-9);
    EXPECT_NEAR(points.back().y, points.front().y, 1e-9);
  }
}

TEST_F(PlotterSettingsTest, ArcThroughZeroAndPartialArcsEndAtTheirAngle) {
  ASSERT_EQ(PrintArc(0, 0, 10, 300, 60), 1);
  auto points = Walk(-50, 45);
  EXPECT_NEAR(points.front().x, 10 * std::cos(300 * M_PI / 180), 0.004);
  EXPECT_NEAR(points.back().x, 10 * std::cos(60 * M_PI / 180), 0.004);
  EXPECT_NEAR(points.back().y, 10 * std::sin(60 * M_PI / 180), 0.004);
  for (const Point& p : points) EXPECT_GE(p.x, 10 * std::cos(60 * M_PI / 180) - 0.01) << "passes through 0 degrees";
  Moves().Clear();
  EXPECT_EQ(PrintArc(0, 0, 10, 0, 1e12), 0) << "an endless sweep is refused";
}

TEST_F(PlotterSettingsTest, ShapesLieOnTheirOutlines) {
  ASSERT_EQ(PrinterTriangle(5, 5, 10, 90), 1);
  auto points = Walk(-50, 45);
  ASSERT_EQ(points.size(), 4u);
  EXPECT_NEAR(points[0].x, 5, 0.004);
  EXPECT_NEAR(points[0].y, 15, 0.004);
  EXPECT_NEAR(points[3].x, points[0].x, 0.004);
  for (const Point& p : points) EXPECT_NEAR(std::hypot(p.x - 5, p.y - 5), 10, 0.004);

  Moves().Clear();
  ASSERT_EQ(PrinterWeldHole(0, 0, 3, 0), 1);
  points = Walk(-50, 45);
  EXPECT_NEAR(points[0].x, -3, 0.004);
  EXPECT_NEAR(points[1].x, 3, 0.004);
  EXPECT_NEAR(points.back().x, -3, 0.004) << "the half circle ends at 180 degrees";
  for (std::size_t i = 2; i < points.size(); ++i) EXPECT_GE(points[i].y, -0.004);

  Moves().Clear();
  ASSERT_EQ(PrinterGlideHole(0, 0, 20, 2, 0), 1);
  points = Walk(-50, 45);
  double maxX = -1e9, minX = 1e9;
  for (const Point& p : points) {
    maxX = std::max(maxX, p.x);
    minX = std::min(minX, p.x);
    EXPECT_LE(std::fabs(p.y), 2.004);
  }
  // The end arcs step 24 degrees from 270, so no point falls exactly on 0.
  EXPECT_NEAR(maxX, 22, 0.02);
  EXPECT_NEAR(minX, -2, 0.02);
  EXPECT_DOUBLE_EQ(Settings().shapeRadius, 2);
  Moves().Clear();
  ASSERT_EQ(PrinterGlideHole(0, 0, 20, 0, 90), 1);
  EXPECT_DOUBLE_EQ(Settings().shapeRadius, 10) << "a radius of 0 becomes 10";
}

}  // namespace
