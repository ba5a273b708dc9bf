// Arcs through three points: the circle, the chord plan and the path the
// chip axes actually drive, checked point by point against the circle.
#include <cmath>
#include <numbers>

#include "tests/libs/qm318/MotionFixture.h"

namespace qm318::test {
namespace {

struct CircleCase {
  const char* name;
  float points[6];
  int result;
  ArcCircle circle;
};
class Circle : public ::testing::TestWithParam<CircleCase> {};

TEST_P(Circle, ThroughThreePoints) {
  const CircleCase& c = GetParam();
  ArcCircle got{};
  ASSERT_EQ(circle_from_points(c.points, &got), c.result);
  if (c.result == 0) return;
  EXPECT_NEAR(got.centre_x, c.circle.centre_x, 1e-4);
  EXPECT_NEAR(got.centre_y, c.circle.centre_y, 1e-4);
  EXPECT_NEAR(got.start_angle, c.circle.start_angle, 1e-3);
  EXPECT_NEAR(got.end_angle, c.circle.end_angle, 1e-3);
  EXPECT_NEAR(got.radius, c.circle.radius, 1e-4);
  EXPECT_NEAR(got.turn, c.circle.turn, 1e-4);
}

constexpr float kPi = std::numbers::pi_v<float>;

INSTANTIATE_TEST_SUITE_P(
    Arc, Circle,
    ::testing::Values(
        CircleCase{"CounterClockwise", {10, 0, 0, 10, -10, 0}, 1, {0, 0, 0, 180, 10, 1.5f * kPi}},
        CircleCase{"Clockwise", {10, 0, 0, -10, -10, 0}, 1, {0, 0, 0, 180, 10, 0.5f * kPi}},
        CircleCase{"FullCircle", {10, 0, -10, 0, 10, 0}, 1, {0, 0, 360, 720, 10, 2 * kPi}},
        CircleCase{"OffCentre", {6, 2, 1, 7, -4, 2}, 1, {1, 2, 0, 180, 5, 1.5f * kPi}},
        CircleCase{"Collinear", {0, 0, 1, 1, 2, 2}, 0, {}},
        CircleCase{"AllEqual", {3, 3, 3, 3, 3, 3}, 0, {}},
        CircleCase{"NotFinite", {0, 0, INFINITY, 1, 2, 0}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlanCase {
  const char* name;
  float points[6];
  float pulsesPerUnit;
  int count;
  float delta;
};
class Plan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(Plan, ChordsOfTheArc) {
  const PlanCase& c = GetParam();
  ArcCircle circle{};
  ASSERT_EQ(circle_from_points(c.points, &circle), 1);
  const ArcPlan plan = PlanArc(circle, c.pulsesPerUnit);
  EXPECT_EQ(plan.count, c.count);
  if (c.delta != 0) {
    EXPECT_NEAR(plan.delta, c.delta, std::fabs(c.delta) * 1e-3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arc, Plan,
    ::testing::Values(PlanCase{"CounterClockwise", {10, 0, 0, 10, -10, 0}, 160, 314, 0.01f},
                      PlanCase{"Clockwise", {10, 0, 0, -10, -10, 0}, 160, 314, -0.01f},
                      PlanCase{"FullCircle", {10, 0, -10, 0, 10, 0}, 160, 628, 0.01f},
                      // 20 pulses per unit: 0.1 units would be 2 pulses, so chords of 3 pulses
                      PlanCase{"CoarseAxis", {10, 0, 0, 10, -10, 0}, 20, 209, 0.015f},
                      // Nearly collinear, the middle point beyond the end: the long way
                      // round a huge circle, in a bounded number of chords.
                      PlanCase{"NearlyCollinearIsBounded", {0, 0, 100, 0.001f, 50, 0}, 160, kMaxChords, 0.0f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArcPlanBound, LongChordsStillCoverTheArc) {
  const float points[6] = {0, 0, 100, 0.001f, 50, 0};
  ArcCircle circle{};
  ASSERT_EQ(circle_from_points(points, &circle), 1);
  const ArcPlan plan = PlanArc(circle, 160);
  const double travelled = std::fabs(plan.delta) * plan.count * circle.radius;
  const double whole = 2 * std::numbers::pi * circle.radius;
  EXPECT_NEAR(travelled, whole - 50.0, whole * 1e-3);
  // The chord's sagitta stays below a pulse.
  const double chord = std::fabs(plan.delta) * circle.radius;
  EXPECT_LT(chord * chord / (8 * circle.radius), 1.0 / 160);
}

class Arcs : public MotionFixture {
 protected:
  // Samples both axes of pair 1 after every port access while recording is on.
  void Trace() {
    bus->SetAccessHook([this](sim::SimulatedMotionBus& b) {
      sim::SimulatedCard& c = b.Card(0);
      path.push_back({c.Axis(1).position, c.Axis(2).position});
    });
  }
  std::vector<std::array<std::int64_t, 2>> path;
};

struct ArcRun {
  const char* name;
  float points[6];
  int axisA, axisB;
  double extremeY;  // the far point of the arc on the y axis (units)
};
class ArcPaths : public Arcs, public ::testing::WithParamInterface<ArcRun> {};

TEST_P(ArcPaths, FollowTheCircleToTheEndPoint) {
  const ArcRun& r = GetParam();
  Start();
  Trace();
  float points[6];
  std::copy(std::begin(r.points), std::end(r.points), points);
  ASSERT_EQ(work_arc(r.axisA, r.axisB, points, 0, PollHook), 1);
  bus->SetAccessHook(nullptr);
  // axis a carries x, axis b carries y
  const int ax = r.axisA == 1 ? 0 : 1, ay = 1 - ax;
  EXPECT_EQ(card->Axis(r.axisA).logical, -1600);
  EXPECT_EQ(card->Axis(r.axisB).logical, 0);
  // From the start point on, every position lies on the circle within two pulses.
  std::size_t first = 0;
  while (first < path.size() && path[first][static_cast<std::size_t>(ax)] != 1600) ++first;
  ASSERT_LT(first, path.size());
  double extreme = 0;
  for (std::size_t n = first; n < path.size(); ++n) {
    const double x = static_cast<double>(path[n][static_cast<std::size_t>(ax)]);
    const double y = static_cast<double>(path[n][static_cast<std::size_t>(ay)]);
    EXPECT_NEAR(std::hypot(x, y), 1600.0, 2.0) << "at " << n;
    if (std::fabs(y) > std::fabs(extreme)) extreme = y;
  }
  EXPECT_NEAR(extreme / 160.0, r.extremeY, 0.01);
  // The first chord, 314 on the circle and the last one.
  EXPECT_EQ(CountWrites(kBase, 0x0030), 316u);
}

INSTANTIATE_TEST_SUITE_P(Arc, ArcPaths,
                         ::testing::Values(ArcRun{"CounterClockwise", {10, 0, 0, 10, -10, 0}, 1, 2, 10.0},
                                           ArcRun{"Clockwise", {10, 0, 0, -10, -10, 0}, 1, 2, -10.0},
                                           ArcRun{"SwappedAxes", {10, 0, 0, 10, -10, 0}, 2, 1, 10.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Arcs, SwappedAxesUseTheSpeedSetOfTheLowerAxis) {
  Start();
  float points[6] = {1, 0, 0, 1, -1, 0};
  ASSERT_EQ(work_arc(2, 1, points, 1, nullptr), 1);
  EXPECT_EQ(ParamsSent(1, 0x04), std::vector<DWORD>{1600});
  EXPECT_TRUE(ParamsSent(2, 0x04).empty());
}

TEST_F(Arcs, FullCircleComesBackToItsStart) {
  Start();
  float points[6] = {2, 0, -2, 0, 2, 0};
  EXPECT_EQ(work_arc(3, 4, points, 0, nullptr), 1);
  EXPECT_EQ(card->Axis(3).logical, 320);
  EXPECT_EQ(card->Axis(4).logical, 0);
  EXPECT_GT(card->Axis(4).pulsesPlus, 600u);  // went round: up and down through 640 pulses
}

TEST_F(Arcs, RefusesBadAxesAndDegeneratePointsBeforeMoving) {
  para.enabled[1] = 0;
  Start();
  all_stop(1);
  bus->ClearAccesses();
  float line[6] = {0, 0, 1, 1, 2, 2};
  float circle[6] = {10, 0, 0, 10, -10, 0};
  EXPECT_EQ(work_arc(2, 3, circle, 0, nullptr), -5);
  EXPECT_EQ(work_arc(1, 2, circle, 0, nullptr), -1);
  EXPECT_EQ(work_arc(3, 4, line, 0, nullptr), -4);
  EXPECT_EQ(work_arc(3, 4, nullptr, 0, nullptr), -4);
  EXPECT_EQ(Motion().StopFlag(3), 2);
  EXPECT_TRUE(Writes().empty());
}

TEST_F(Arcs, SoftLimitStopsTheArcAtTheLastChordMade) {
  para.soft_limits[1] = 1;
  para.soft_min[1] = 0.0f;
  para.soft_max[1] = 5.0f;
  Start();
  float points[6] = {10, 0, 0, 10, -10, 0};
  EXPECT_EQ(work_arc(1, 2, points, 0, nullptr), -2);
  EXPECT_LE(card->Axis(2).logical, 800);
  EXPECT_GT(card->Axis(2).logical, 700);
}

TEST_F(Arcs, StopOfBothAxesEndsTheArc) {
  Start();
  g_onPoll = [] {
    if (g_polls == 30) {
      one_stop(1, 1);
      one_stop(2, 1);
    }
  };
  float points[6] = {10, 0, 0, 10, -10, 0};
  EXPECT_EQ(work_arc(1, 2, points, 0, PollHook), 0);
  EXPECT_LT(CountWrites(kBase, 0x0030), 316u);
}

TEST_F(Arcs, LimitOnTheWayEndsTheArc) {
  card->Axis(2).mechanics.limitPlus = 1000;
  Start();
  float points[6] = {10, 0, 0, 10, -10, 0};
  EXPECT_EQ(work_arc(1, 2, points, 0, nullptr), -3);
  EXPECT_EQ(card->Axis(2).position, 1000);
}

}  // namespace
}  // namespace qm318::test
