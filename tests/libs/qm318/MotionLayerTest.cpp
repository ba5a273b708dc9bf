// QM318's board start-up, unit conversion, speed set-up and moves in user
// units, through its exports on the simulated bus.
#include <atomic>
#include <climits>
#include <cmath>
#include <thread>

#include "tests/libs/qm318/MotionFixture.h"

namespace qm318::test {
namespace {

class Board : public MotionFixture {};

TEST_F(Board, PreparesEveryEnabledAxis) {
  para.enabled[1] = 0;
  para.multiplier[0] = 4;
  para.pulse_mode[2] = 1;
  WriteParams();
  bus->ClearAccesses();
  ASSERT_EQ(qm318_init_board(), 1);
  EXPECT_EQ(ParamsSent(1, 0x00), std::vector<DWORD>{2000000 & 0xFFFF});
  EXPECT_TRUE(ParamsSent(2, 0x00).empty());
  EXPECT_EQ(card->Axis(3).mode2 & 0x0100, 0x0100u);
  for (int axis : {1, 3, 4}) {
    EXPECT_EQ(card->Axis(axis).startv, 100);
    EXPECT_EQ(card->Axis(axis).speed, 100);
    EXPECT_EQ(card->Axis(axis).acc, 20);
    EXPECT_EQ(card->Axis(axis).mode2 & 0x0040, 0x0040u);
  }
  EXPECT_EQ(card->Axis(2).speed, 0);
  EXPECT_FLOAT_EQ(Motion().PulsesPerUnit(1), 160.0f);
}

TEST_F(Board, MissingFileIsReportedAfterTheCardWasFound) {
  EXPECT_EQ(qm318_init_board(), -3);
  EXPECT_EQ(card->Resets(1), 1);
  EXPECT_EQ(card->Axis(1).speed, 0);  // no axis prepared
}

TEST_F(Board, NoCardIsReportedWithoutReadingTheFile) {
  Install();  // a bus without a card
  WriteParams();
  EXPECT_EQ(qm318_init_board(), 0);
}

TEST_F(Board, ShortFileReplacesOnlyTheBytesItHolds) {
  para.drive_speed0[0] = 7.0f;
  Start();
  para.enabled[3] = 0;
  para.multiplier[0] = 3;
  para.drive_speed0[0] = 9.0f;
  WriteParams(32);
  ASSERT_EQ(qm318_init_board(), 1);
  EXPECT_EQ(Motion().Para().enabled[3], 0);
  EXPECT_EQ(Motion().Para().multiplier[0], 3);
  EXPECT_FLOAT_EQ(Motion().Para().drive_speed0[0], 7.0f);
}

// --- conversion ----------------------------------------------------------------

struct ConversionCase {
  int linear;
  float unitsPerRev;
  int pulsesPerRev;
  float units;
  int pulses;       // units_to_pulses(units)
  int readPulses;   // pulses_to_units(readPulses) == readUnits
  double readUnits;
};
class Conversion : public MotionFixture, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(Conversion, ConvertsBothWays) {
  const ConversionCase& c = GetParam();
  para.linear[0] = c.linear;
  para.units_per_rev[0] = c.unitsPerRev;
  para.pulses_per_rev[0] = c.pulsesPerRev;
  Start();
  EXPECT_EQ(Motion().units_to_pulses(1, c.units), c.pulses);
  EXPECT_NEAR(Motion().pulses_to_units(1, c.readPulses), c.readUnits, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Motion, Conversion,
                         ::testing::Values(ConversionCase{1, 10.0f, 1600, 2.5f, 400, 401, 2.50625},
                                           ConversionCase{1, 10.0f, 1600, 1000.0f, 160000, -160, -1.0},
                                           ConversionCase{0, 10.0f, 3600, 90.0f, 900, 7250, 5.0},
                                           ConversionCase{0, 10.0f, 3600, -9.0f, -90, -900, -90.0},
                                           // below the least values: 1.0 unit and 200 pulses per turn
                                           ConversionCase{1, 0.0f, 100, 1.0f, 200, 100, 0.5},
                                           // a turn of no pulses cannot divide a rotary position
                                           ConversionCase{0, 1.0f, 0, 1.0f, 0, 250, 50.0 / (200.0 / 360.0)}));

// --- speed set-up ----------------------------------------------------------------

struct ProfileCase {
  const char* name;
  int linear, multiplier, pulsesPerRev;
  float start, drive, accTime;
  int startv, speed, acc;  // acc -1: the acceleration is not written
};
class Profile : public MotionFixture, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(Profile, WritesTheRegisterValues) {
  const ProfileCase& c = GetParam();
  para.linear[0] = c.linear;
  para.multiplier[0] = c.multiplier;
  para.pulses_per_rev[0] = c.pulsesPerRev;
  Start();
  EXPECT_EQ(Motion().set_speed_profile(1, c.start, c.drive, c.accTime), 1);
  EXPECT_EQ(ParamsSent(1, 0x04), std::vector<DWORD>{static_cast<DWORD>(c.startv)});
  EXPECT_EQ(ParamsSent(1, 0x05), std::vector<DWORD>{static_cast<DWORD>(c.speed)});
  const std::vector<DWORD> acc = c.acc < 0 ? std::vector<DWORD>{} : std::vector<DWORD>{static_cast<DWORD>(c.acc)};
  EXPECT_EQ(ParamsSent(1, 0x02), acc);
}

INSTANTIATE_TEST_SUITE_P(
    Motion, Profile,
    ::testing::Values(ProfileCase{"Ramp", 1, 2, 1600, 5, 25, 0.5f, 400, 2000, 25},
                      ProfileCase{"EqualSpeedsRunWithoutRamp", 1, 2, 1600, 10, 10, 0.5f, 800, 800, -1},
                      ProfileCase{"StartAboveDrive", 1, 1, 1600, 30, 10, 0.5f, 1600, 1600, -1},
                      ProfileCase{"ZeroSpeedsCountAsHalfAUnit", 1, 1, 1600, 0, -3, 1, 80, 80, -1},
                      ProfileCase{"MultiplierZeroCountsAsOne", 1, 0, 1600, 5, 25, 0.5f, 800, 4000, 51},
                      ProfileCase{"NoAccelerationTimeIsTheFastestRamp", 1, 1, 1600, 5, 25, 0, 800, 4000, 8000},
                      ProfileCase{"RotaryInTurnsPerSecond", 0, 1, 3600, 1, 2, 1, 3600, 7200, 28},
                      ProfileCase{"ClampedToTheChip", 1, 1, 1600, 1, 1000, 0.001f, 160, 8000, 8000}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever bytes the parameter file holds, conversions and speed set-up stay
// defined (the sanitizers watch every float-to-int conversion and division).
TEST_F(Board, HostileParameterFilesAreSurvived) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  const std::uint32_t specials[] = {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x80000000u, 0, 0x7FFFFFFFu, 1};
  for (int round = 0; round < 40; ++round) {
    auto* words = reinterpret_cast<std::uint32_t*>(&para);
    for (std::size_t n = 0; n < sizeof para / 4; ++n)
      words[n] = round % 2 ? specials[next() % 7] : next();
    WriteParams();
    ASSERT_EQ(qm318_init_board(), 1);
    for (int axis = 1; axis <= 4; ++axis) {
      Motion().units_to_pulses(axis, 1e30f);
      Motion().units_to_pulses(axis, -1e30f);
      Motion().pulses_to_units(axis, INT_MIN);
      Motion().set_const_speed(axis, 1e30f);
      Motion().set_speed_profile(axis, para.start_speed0[axis - 1], para.drive_speed0[axis - 1], para.acc_time0[axis - 1]);
      Motion().set_speed_profile(axis, 0.5f, 1e30f, 1e-30f);
      get_move_speed(axis, 0);
      get_logical_pos(axis, 0);
    }
  }
}

TEST_F(Board, DisabledAxisRefusesSpeedSetUp) {
  para.enabled[1] = 0;
  Start();
  EXPECT_EQ(Motion().set_speed_profile(2, 1, 2, 1), -1);
  EXPECT_EQ(Motion().set_const_speed(2, 1), -1);
  EXPECT_EQ(Motion().set_const_speed(9, 1), -1);
  EXPECT_TRUE(Writes().empty());
}

// --- fixed moves -------------------------------------------------------------------

class Moves : public MotionFixture {
 protected:
  void SetUp() override {
    MotionFixture::SetUp();
  }
};

TEST_F(Moves, RelativeAndAbsoluteMovesDriveTheirPulses) {
  Start();
  EXPECT_EQ(work_move1(1, 12.5f, 0, 0, PollHook), 1);
  EXPECT_EQ(card->Axis(1).pulsesPlus, 2000u);
  EXPECT_EQ(work_move1(1, 5.0f, 1, 1, PollHook), 1);
  EXPECT_EQ(card->Axis(1).pulsesMinus, 1200u);
  EXPECT_DOUBLE_EQ(get_logical_pos(1, 0), 5.0);
  EXPECT_DOUBLE_EQ(get_logical_pos(1, 1), 800.0);
  EXPECT_DOUBLE_EQ(get_fact_pos(1, 0), 5.0);
  EXPECT_GT(g_polls, 0);
}

TEST_F(Moves, ZeroDistanceIsDoneWithoutADriveUnlessTheLimitIsActive) {
  Start();
  EXPECT_EQ(work_move1(2, 0.0f, 0, 0, nullptr), 1);
  EXPECT_EQ(CountWrites(kBase, 0x0220) + CountWrites(kBase, 0x0221), 0u);
  card->Axis(2).mechanics.limitMinus = 0;
  EXPECT_EQ(work_move1(2, 0.0f, 0, 0, nullptr), -3);
}

TEST_F(Moves, LimitInTheDirectionOfTravelIsReportedWhenTheAxisStands) {
  card->Axis(3).mechanics.limitPlus = 1000;
  Start();
  EXPECT_EQ(work_move1(3, 12.5f, 0, 0, PollHook), -3);
  EXPECT_EQ(card->Axis(3).position, 1000);
}

TEST_F(Moves, SoftLimitsPassTheLimitItselfAndRefuseBeyond) {
  for (int i = 0; i < 4; ++i) {
    para.soft_limits[i] = 1;
    para.soft_max[i] = 20.0f;
    para.soft_min[i] = -1.0f;
  }
  Start();
  EXPECT_EQ(work_move1(1, 20.0f, 1, 0, nullptr), 1);
  one_stop(1, 1);
  EXPECT_EQ(work_move1(1, 20.5f, 1, 0, nullptr), -2);
  EXPECT_EQ(Motion().StopFlag(1), 2);  // untouched by the refusal
  EXPECT_EQ(work_move2(2, 1.0f, 1, -30.0f, 0, 0, nullptr), -2);
  EXPECT_EQ(card->Axis(2).logical, 0);  // nothing moved before the second test
}

TEST_F(Moves, StopOfOneAxisLetsTheOtherFinish) {
  Start();
  g_onPoll = [] {
    if (g_polls == 2) one_stop(2, 0);
  };
  EXPECT_EQ(work_move2(1, 10.0f, 2, 10.0f, 0, 0, PollHook), 1);
  EXPECT_EQ(card->Axis(1).logical, 1600);
  EXPECT_LT(card->Axis(2).logical, 1600);
}

TEST_F(Moves, StopOfEveryAxisEndsTheMoveInThatPass) {
  Start();
  int pollsAtStop = 0;
  g_onPoll = [&pollsAtStop] {
    if (g_polls == 3) {
      all_stop(1);
      pollsAtStop = g_polls;
    }
  };
  EXPECT_EQ(work_move3(1, 10.0f, 2, 10.0f, 3, 10.0f, 0, 0, PollHook), 0);
  EXPECT_EQ(g_polls, pollsAtStop);
}

// A sudden stop leaves the axis standing before the flag is looked at; it is
// still a stop, not a finished move.
TEST_F(Moves, SuddenStopIsReportedAsAStop) {
  Start();
  g_onPoll = [] {
    if (g_polls == 2) one_stop(1, 0);
  };
  EXPECT_EQ(work_move1(1, 10.0f, 0, 0, PollHook), 0);
  EXPECT_LT(card->Axis(1).logical, 1600);
}

TEST_F(Moves, DisabledOrUnknownAxisIsRefused) {
  para.enabled[3] = 0;
  Start();
  EXPECT_EQ(work_move4(1, 1, 1, 1, 0, 0, nullptr), -1);
  EXPECT_EQ(work_move1(0, 1, 0, 0, nullptr), -1);
  EXPECT_EQ(work_move1(5, 1, 0, 0, nullptr), -1);
  EXPECT_EQ(hand_move(4, 0, nullptr), -1);
  EXPECT_EQ(continue_move1(4, 0, 0, nullptr), -1);
  EXPECT_TRUE(Writes().empty());
}

TEST_F(Moves, FourAxesMoveTogether) {
  Start();
  EXPECT_EQ(work_move4(1.0f, -2.0f, 3.0f, -4.0f, 0, 1, PollHook), 1);
  const int want[4] = {160, -320, 480, -640};
  for (int axis = 1; axis <= 4; ++axis) EXPECT_EQ(card->Axis(axis).logical, want[axis - 1]);
}

TEST_F(Moves, FreeMoveUsesTheCallersProfile) {
  Start();
  EXPECT_EQ(free_move1(2, 5.0f, 5.0f, 25.0f, 0.5f, 0, PollHook), 1);
  EXPECT_EQ(ParamsSent(2, 0x04), std::vector<DWORD>{800});
  EXPECT_EQ(ParamsSent(2, 0x05), std::vector<DWORD>{4000});
  EXPECT_EQ(ParamsSent(2, 0x02), std::vector<DWORD>{51});
  EXPECT_EQ(card->Axis(2).logical, 800);
  EXPECT_EQ(free_move4(1, 10, 10, 0, 1, 10, 10, 0, 1, 10, 10, 0, 1, 10, 10, 0, 0, nullptr), 1);
  EXPECT_EQ(card->Axis(4).logical, 160);
}

TEST_F(Moves, FreeMoveClearsTheStopFlagsBeforeItsSoftLimitTest) {
  para.soft_limits[0] = 1;
  Start();
  all_stop(1);
  EXPECT_EQ(free_move2(1, -5.0f, 1, 2, 1, 2, 1.0f, 1, 2, 1, 0, nullptr), -2);
  EXPECT_EQ(Motion().StopFlag(1), 0);
  EXPECT_EQ(Motion().StopFlag(2), 0);
  EXPECT_EQ(Motion().StopFlag(3), 2);
}

// --- continuous moves and jogging ----------------------------------------------------

TEST_F(Moves, ContinuousMoveStoppedByARequestStopsEveryAxis) {
  Start();
  g_onPoll = [] {
    if (g_polls == 5) one_stop(1, 1);
  };
  EXPECT_EQ(continue_move1(1, 0, 0, PollHook), 0);
  for (int axis = 1; axis <= 4; ++axis) EXPECT_EQ(Motion().StopFlag(axis), 1);
  int status = 0;
  TheChipLayer().get_status(0, 1, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ParamsSent(1, 0x06), std::vector<DWORD>{100000000 & 0xFFFF});
}

TEST_F(Moves, ContinuousMoveEndsAtTheLimit) {
  card->Axis(1).mechanics.limitMinus = -300;
  Start();
  EXPECT_EQ(continue_move1(1, 1, 0, PollHook), -3);
  EXPECT_EQ(card->Axis(1).position, -300);
}

// The chip stopping the drive by itself (here at the home input with stop
// mode 0 on) ends the move instead of polling a standing axis forever.
TEST_F(Moves, ContinuousMoveEndsWhenTheChipStopsTheDrive) {
  card->Axis(2).mechanics.homeLow = 400;
  card->Axis(2).mechanics.homeHigh = 500;
  Start();
  TheChipLayer().set_stop0_mode(0, 2, 1, 0);
  EXPECT_EQ(continue_move1(2, 0, 0, PollHook), 1);
  EXPECT_EQ(card->Axis(2).position, 400);
  card->Axis(1).mechanics.limitPlus = 100;
  EXPECT_EQ(continue_move2(1, 0, 2, 0, 0, PollHook), -3);
  EXPECT_EQ(card->Axis(1).position, 100);
}

TEST_F(Moves, ContinuousMoveOfTwoAxesEndsWhenBothMeetTheirLimits) {
  card->Axis(3).mechanics.limitMinus = -100;
  card->Axis(4).mechanics.limitPlus = 250;
  Start();
  EXPECT_EQ(continue_move2(3, 1, 4, 0, 0, PollHook), -3);
  EXPECT_EQ(card->Axis(3).position, -100);
  EXPECT_EQ(card->Axis(4).position, 250);
}

struct JogCase {
  float step;
  DWORD pulses;
};
class Jog : public MotionFixture, public ::testing::WithParamInterface<JogCase> {};

TEST_P(Jog, StepsUntilStopped) {
  para.jog_step[0] = GetParam().step;
  Start();
  g_onPoll = [] {
    if (g_polls == 40) one_stop(1, 1);
  };
  EXPECT_EQ(hand_move(1, 1, PollHook), 0);
  const auto counts = ParamsSent(1, 0x06);
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.front(), GetParam().pulses);
  EXPECT_EQ(CountWrites(kBase, 0x0121), counts.size());
}

INSTANTIATE_TEST_SUITE_P(Motion, Jog, ::testing::Values(JogCase{0.0f, 200}, JogCase{0.5f, 80}, JogCase{0.01f, 1}));

TEST_F(Moves, JogEndsAtTheLimit) {
  card->Axis(1).mechanics.limitPlus = 170;
  Start();
  EXPECT_EQ(hand_move(1, 0, PollHook), -3);
  EXPECT_EQ(card->Axis(1).position, 170);
}

// --- interpolated lines -----------------------------------------------------------

TEST_F(Moves, TwoAxisLineInEitherArgumentOrder) {
  Start();
  EXPECT_EQ(work_inp2(2, 5.0f, 1, 3.0f, 0, 1, PollHook), 1);
  EXPECT_EQ(card->Axis(2).logical, 800);
  EXPECT_EQ(card->Axis(1).logical, 480);
  EXPECT_EQ(card->Axis(2).pulsesPlus, 800u);
  EXPECT_EQ(card->Axis(1).pulsesPlus, 480u);
  EXPECT_EQ(ParamsSent(1, 0x04), std::vector<DWORD>{1600});  // speed set 1 of axis 1
  EXPECT_TRUE(ParamsSent(2, 0x04).empty());
  EXPECT_EQ(work_inp2(4, -1.0f, 3, 2.0f, 0, 0, nullptr), 1);
  EXPECT_EQ(card->Axis(3).logical, 320);
  EXPECT_EQ(card->Axis(4).logical, -160);
}

// 8388608 pulses lie beyond the chip's interpolation range: nothing moves.
TEST_F(Moves, LineTheChipCannotInterpolateIsNotReportedAsDone) {
  Start();
  EXPECT_EQ(work_inp2(1, 8388608.0f / 160, 2, 1.0f, 0, 0, nullptr), -2);
  EXPECT_EQ(work_inp3(1.0f, -8388608.0f / 160, 1.0f, 0, 0, nullptr), -2);
  EXPECT_EQ(card->Axis(1).logical, 0);
  EXPECT_EQ(card->Axis(2).logical, 0);
}

TEST_F(Moves, TwoAxisLineNeedsTheAxesOfOneChip) {
  Start();
  one_stop(1, 1);
  EXPECT_EQ(work_inp2(1, 1.0f, 3, 1.0f, 0, 0, nullptr), -4);
  EXPECT_EQ(Motion().StopFlag(1), 2);
}

TEST_F(Moves, ThreeAndFourAxisLines) {
  para.multiplier[0] = 2;
  Start();
  EXPECT_EQ(work_inp3(2.0f, -1.0f, 0.5f, 0, 0, PollHook), 1);
  const int want3[3] = {320, -160, 80};
  for (int axis = 1; axis <= 3; ++axis) EXPECT_EQ(card->Axis(axis).logical, want3[axis - 1]);
  EXPECT_EQ(Motion().Para().multiplier[2], 2);  // follows axis 1 after a finished move
  EXPECT_EQ(work_inp4(0.0f, 0.0f, 1.0f, -1.0f, 0, 0, PollHook), 1);
  EXPECT_EQ(card->Axis(3).logical, 240);
  EXPECT_EQ(card->Axis(4).logical, -160);
  // Axis 4 then drives on its own again after chip 2 is repaired.
  EXPECT_EQ(work_move1(4, 1.0f, 0, 0, nullptr), 1);
  EXPECT_EQ(card->Axis(4).logical, 0);
}

TEST_F(Moves, StoppedThreeAxisLineGivesAxis3ItsMultiplierBack) {
  para.multiplier[0] = 2;
  Start();
  g_onPoll = [] {
    if (g_polls == 3) all_stop(1);
  };
  EXPECT_EQ(work_inp3(20.0f, 20.0f, 20.0f, 0, 0, PollHook), 0);
  EXPECT_EQ(Motion().Para().multiplier[2], 1);
}

// A stop request from another thread reaches the polling loop. The loop's
// fiftieth pass waits until the request is made, however the threads are run.
TEST_F(Moves, StopFromAnotherThreadEndsTheMove) {
  Start();
  static std::atomic<int> passes{0};
  static std::atomic<bool> stopped{false};
  passes = 0;
  stopped = false;
  std::thread stopper([] {
    while (passes < 50) std::this_thread::yield();
    one_stop(1, 1);
    stopped = true;
  });
  const int result = work_move1(1, 100.0f, 0, 0, [] {
    if (++passes == 50)
      while (!stopped) std::this_thread::yield();
  });
  stopper.join();
  EXPECT_EQ(result, 0);
  EXPECT_LT(card->Axis(1).logical, 16000);
}

TEST_F(Moves, InputsReadAsTheyAreWhileLimitsAreActiveLow) {
  Start();
  EXPECT_EQ(get_input(0), 1);
  EXPECT_EQ(Motion().read_limit_input(1, 0), 0);
  card->Axis(1).mechanics.limitPlus = 0;
  EXPECT_EQ(get_input(0), 0);
  EXPECT_EQ(Motion().read_limit_input(1, 0), 1);
  EXPECT_EQ(get_input(32), -1);
  EXPECT_EQ(set_output(20, 1), 0);
  EXPECT_EQ(card->Outputs(2), 0x0010);
  EXPECT_EQ(set_output(40, 1), 1);
}

TEST_F(Moves, SpeedReadInUnitsAndPulses) {
  para.multiplier[1] = 2;
  Start();
  TheChipLayer().set_startv(0, 2, 400);
  TheChipLayer().set_speed(0, 2, 400);
  TheChipLayer().pmove(0, 2, 100000);
  bus->Advance(10'000'000);
  EXPECT_DOUBLE_EQ(get_move_speed(2, 1), 800.0);
  EXPECT_DOUBLE_EQ(get_move_speed(2, 0), 5.0);
  TheChipLayer().sudden_stop(0, 2);
}

}  // namespace
}  // namespace qm318::test
