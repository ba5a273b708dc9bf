// Homing on the simulated mechanics: home sensors, limit switches and index
// marks at known carriage positions.
#include "tests/libs/qm318/MotionFixture.h"

namespace qm318::test {
namespace {

class Homing : public MotionFixture {
 protected:
  void Home(int axis, std::int64_t low, std::int64_t high) {
    card->Axis(axis).mechanics.homeLow = low;
    card->Axis(axis).mechanics.homeHigh = high;
  }
  void ExpectZeroed(int axis) {
    EXPECT_EQ(card->Axis(axis).logical, 0) << axis;
    EXPECT_EQ(card->Axis(axis).actual, 0) << axis;
  }
  void ExpectStopModesOff(int axis) { EXPECT_EQ(card->Axis(axis).mode1 & 0x000A, 0u) << axis; }
};

TEST_F(Homing, SeeksBacksOffAndApproachesTheSensorAgain) {
  Home(1, -5000, -4990);
  Start();
  ASSERT_EQ(home1(1, PollHook), 1);
  EXPECT_EQ(card->Axis(1).position, -4990);
  ExpectZeroed(1);
  ExpectStopModesOff(1);
  EXPECT_EQ(ParamsSent(1, 0x06), (std::vector<DWORD>{10000000 & 0xFFFF, 640, 10000000 & 0xFFFF}));
  EXPECT_EQ(ParamsSent(1, 0x05), (std::vector<DWORD>{8000, 4000, 2666}));  // homing, back-off, approach
  EXPECT_EQ(card->Axis(1).pulsesPlus, 640u);
}

TEST_F(Homing, LimitSwitchServesAsHomeWithoutASensor) {
  para.use_home_sensor[1] = 0;
  card->Axis(2).mechanics.limitMinus = -3000;
  Start();
  ASSERT_EQ(home1(2, nullptr), 1);
  EXPECT_EQ(card->Axis(2).position, -3000);
  ExpectZeroed(2);
}

TEST_F(Homing, PositiveDirectionWhenHomeDirIsZero) {
  para.home_dir[2] = 0;
  Home(3, 700, 900);
  Start();
  ASSERT_EQ(home1(3, nullptr), 1);
  EXPECT_EQ(card->Axis(3).position, 700);
}

TEST_F(Homing, LimitBeforeTheSensorSendsTheAxisBackAcrossTheTravel) {
  Home(1, 2000, 2010);
  card->Axis(1).mechanics.limitMinus = -3000;
  Start();
  ASSERT_EQ(home1(1, nullptr), 1);
  EXPECT_EQ(card->Axis(1).position, 2010);
  ExpectZeroed(1);
}

TEST_F(Homing, TwoAxesWaitForEachOther) {
  Home(1, -800, -790);
  Home(2, 500, 510);
  card->Axis(2).mechanics.limitMinus = -400;
  Start();
  ASSERT_EQ(home2(1, 2, PollHook), 1);
  EXPECT_EQ(card->Axis(1).position, -790);
  EXPECT_EQ(card->Axis(2).position, 510);
  ExpectZeroed(1);
  ExpectZeroed(2);
}

TEST_F(Homing, IndexSearchOnlyWhereAskedFor) {
  para.use_index[0] = 1;
  para.use_index[1] = 1;
  para.use_home_sensor[1] = 0;  // no sensor: no index search either
  Home(1, -800, -790);
  card->Axis(1).mechanics.indexPeriod = 1600;
  card->Axis(2).mechanics.limitMinus = -200;
  card->Axis(2).mechanics.indexPeriod = 1600;
  card->Axis(2).mechanics.indexPhase = 5;
  Start();
  ASSERT_EQ(home2(1, 2, nullptr), 1);
  EXPECT_EQ(card->Axis(1).position, -1599);  // the first index mark beyond the sensor
  EXPECT_EQ(card->Axis(2).position, -200);
  ExpectZeroed(1);
  ExpectZeroed(2);
  ExpectStopModesOff(1);
  EXPECT_EQ(card->Axis(1).mode1 & 0x000C, 0u);
}

TEST_F(Homing, StopRequestEndsTheCallAndLeavesTheOtherAxesToTheHost) {
  for (int axis = 1; axis <= 3; ++axis) Home(axis, -90000, -89990);
  Start();
  g_onPoll = [] {
    if (g_polls == 10) one_stop(2, 0);
  };
  EXPECT_EQ(home3(1, 2, 3, PollHook), 0);
  for (int axis = 1; axis <= 3; ++axis) {
    int status = 0;
    TheChipLayer().get_status(0, axis, &status);
    EXPECT_EQ(status != 0, axis != 2) << "only the axis asked to stop stands: " << axis;
    ExpectStopModesOff(axis);
  }
  all_stop(0);
  for (int axis = 1; axis <= 3; ++axis) {
    int status = 0;
    TheChipLayer().get_status(0, axis, &status);
    EXPECT_EQ(status, 0) << "stopped by the host: " << axis;
  }
}

TEST_F(Homing, FlagLeftFromEarlierDoesNotEndTheCall) {
  Home(4, -100, -90);
  Start();
  all_stop(1);
  EXPECT_EQ(home1(4, nullptr), 1);
  EXPECT_EQ(card->Axis(4).position, -90);
}

TEST_F(Homing, AllFourAxesBackOffSixUnits) {
  for (int axis = 1; axis <= 4; ++axis) Home(axis, -300 * axis, -300 * axis + 10);
  Start();
  ASSERT_EQ(home4(PollHook), 1);
  for (int axis = 1; axis <= 4; ++axis) {
    EXPECT_EQ(card->Axis(axis).position, -300 * axis + 10);
    EXPECT_EQ(card->Axis(axis).pulsesPlus, 960u);
  }
}

TEST_F(Homing, DisabledAxisIsRefused) {
  para.enabled[2] = 0;
  Start();
  EXPECT_EQ(home3(1, 2, 3, nullptr), -1);
  EXPECT_EQ(home1(7, nullptr), -1);
  EXPECT_TRUE(Writes().empty());
}

TEST_F(Homing, NothingFoundOnTheWholeSeek) {
  para.use_home_sensor[0] = 0;
  para.multiplier[0] = 500;
  para.home_start_speed[0] = para.home_drive_speed[0] = 25000.0f;
  bus->SetAccessCostNs(1'000'000);
  Start();
  EXPECT_EQ(home1(1, nullptr), -2);
  EXPECT_EQ(card->Axis(1).pulsesMinus, 10000000u);
  ExpectStopModesOff(1);
}

// With slow port access (3 ms on the simulated clock) an axis whose index
// mark lies a few pulses past the home sensor reaches it before the first
// read of the search; wherever the mark lies, the search finds it.
TEST_F(Homing, IndexSearchFindsTheMarkWithSlowPortAccess) {
  para.use_index[0] = 1;
  Home(1, -800, -790);
  card->Axis(1).mechanics.indexPeriod = 1600;
  Start();
  bus->SetAccessCostNs(3'000'000);
  std::vector<int> missed;
  for (int run = 0; run < 500; ++run) {
    card->Axis(1).position = 0;
    card->Axis(1).mechanics.indexPhase = run * 7 % 1600;
    if (home1(1, nullptr) != 1) missed.push_back(run);
  }
  EXPECT_TRUE(missed.empty()) << "first miss in run " << missed.front() << " of " << missed.size();
}

}  // namespace
}  // namespace qm318::test
