// Jobs played on the simulated head: homing, strokes, settle times, stops,
// jogs, the rotary axis and the sensors.
#include <algorithm>
#include <cmath>

#include "tests/libs/ravelpen/PlotterFixture.h"

namespace {

using PlotterPlayback = PlotterTest;

long long Steps(double mm) { return std::llround(mm / 0.004); }

TEST_F(PlotterPlayback, ASquareIsMarkedBetweenTwoHomings) {
  // Corner 0 is (-50, 45): the square's corners in steps from there.
  ASSERT_EQ(MoveToXY(-40, 35), 1);
  ASSERT_EQ(LineToXY(-38, 35), 1);
  ASSERT_EQ(LineToXY(-38, 33), 1);
  ASSERT_EQ(LineToXY(-40, 33), 1);
  ASSERT_EQ(LineToXY(-40, 35), 1);
  ASSERT_EQ(PrinterStart(), 1);
  EXPECT_EQ(GetPrinterState(), 1) << "running as soon as the start returns";
  EXPECT_TRUE(ravelpen::Moves().Empty()) << "the job took its list";
  WaitIdle();
  EXPECT_EQ(GetPrinterState(), 0);

  const auto strokes = head_->Strokes();
  ASSERT_EQ(strokes.size(), 4u) << "each pen-down move lifts the pen after it";
  const HeadPoint corners[] = {{Steps(10), Steps(10)}, {Steps(12), Steps(10)}, {Steps(12), Steps(12)},
                               {Steps(10), Steps(12)}, {Steps(10), Steps(10)}};
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    EXPECT_EQ(strokes[i].front().x, corners[i].x) << i;
    EXPECT_EQ(strokes[i].front().y, corners[i].y) << i;
    EXPECT_EQ(strokes[i].back().x, corners[i + 1].x) << i;
    EXPECT_EQ(strokes[i].back().y, corners[i + 1].y) << i;
  }
  EXPECT_EQ(head_->HomeArrivals(), 2) << "homed before and after";
  EXPECT_EQ(head_->Position().x, 0);
  EXPECT_FALSE(head_->PenDown());
}

TEST_F(PlotterPlayback, StepsAlternateByTheErrorTerm) {
  ravelpen::Player().Run({{ravelpen::kMovePenDown, 3, 1}});
  EXPECT_EQ(head_->StepOrder(), "XYXX");
}

TEST_F(PlotterPlayback, PenSettlesAfterTheFirstLineAndLongPenUpMoves) {
  const struct {
    int penUpSteps;
    double settleMicros;
  } cases[] = {{4999, 25000}, {5000, 50000}, {2499, 20}, {2500, 25000}};
  for (const auto& c : cases) {
    clock_->ClearWaits();
    ravelpen::Player().Run({{ravelpen::kMovePenDown, 1, 0}, {0, c.penUpSteps, 0}, {ravelpen::kMovePenDown, 1, 0}});
    const auto waits = clock_->Waits();
    EXPECT_EQ(std::count(waits.begin(), waits.end(), 75000.0), 1) << "the first line settles 75 ms";
    if (c.settleMicros > 20) {
      EXPECT_EQ(std::count(waits.begin(), waits.end(), c.settleMicros), 1) << c.penUpSteps;
    } else {
      EXPECT_EQ(std::count(waits.begin(), waits.end(), 25000.0), 0) << c.penUpSteps;
      EXPECT_EQ(std::count(waits.begin(), waits.end(), 50000.0), 0) << c.penUpSteps;
    }
  }
}

TEST_F(PlotterPlayback, OnlyPenUpMovesNeverLowerThePenAndStillHome) {
  ASSERT_EQ(MoveToXY(-30, 30), 1);
  ASSERT_EQ(MoveToXY(-20, 20), 1);
  ASSERT_EQ(PrinterStart(), 1);
  WaitIdle();
  EXPECT_TRUE(head_->Strokes().empty());
  EXPECT_EQ(head_->HomeArrivals(), 2);
}

TEST_F(PlotterPlayback, AStopEndsTheJobAfterTheMoveUnderWayAndHomes) {
  ASSERT_EQ(MoveToXY(-45, 40), 1);
  ASSERT_EQ(LineToXY(-5, 40), 1);  // 10000 steps with the pen down
  ASSERT_EQ(LineToXY(-5, 0), 1);
  ASSERT_EQ(PrinterStart(), 1);
  PrinterEnd();
  WaitIdle();
  EXPECT_EQ(GetPrinterState(), 0);
  EXPECT_LE(head_->Strokes().size(), 1u) << "the second line is never started";
  EXPECT_EQ(head_->Position().x, 0);
}

TEST_F(PlotterPlayback, HomingThatNeverFindsTheSensorsFailsAndDropsTheList) {
  head_->SetSensorsDead(true);
  ASSERT_EQ(LineToXY(0, 0), 1);
  EXPECT_EQ(PrinterStart(), 0);
  EXPECT_EQ(GetPrinterState(), 0);
  EXPECT_TRUE(ravelpen::Moves().Empty());
  // The head went no further than the work area and 500 steps.
  EXPECT_GE(head_->Position().x, 300 - (100 * 250 + 500));

  head_->SetSensorsDead(false);
  head_->SetReadFails(true);
  ASSERT_EQ(LineToXY(0, 0), 1);
  EXPECT_EQ(PrinterStart(), 0) << "a port that cannot be read is no sensor at zero";
}

TEST_F(PlotterPlayback, JogsStopAtTheSensorAndTheRotaryAxisKeepsItsSpeedLimits) {
  MoveX(0, 0);  // toward the sensor: 300 steps away, less than the 1000 of a jog
  EXPECT_EQ(head_->Position().x, 0);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"X已经到位"});
  head_->ClearRecords();
  MoveX(0, 0);
  EXPECT_EQ(head_->StepOrder(), "") << "already at zero: no step";
  MoveX(0, 1);
  EXPECT_EQ(head_->Position().x, 1000);
  MoveY(0, 1);
  EXPECT_EQ(head_->Position().y, 1200);

  clock_->ClearWaits();
  RotateArixZ(3, 0);
  EXPECT_EQ(head_->ZSteps(), 3);
  auto waits = clock_->Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 10.0), 6) << "speed 0 steps at speed 1";
  clock_->ClearWaits();
  RotateArixZ(-2, 5000);
  EXPECT_EQ(head_->ZSteps(), 1);
  waits = clock_->Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 10000.0), 4) << "speed 5000 steps at 1000";
}

TEST_F(PlotterPlayback, SensorsAndKeyFollowTheStatusRegister) {
  EXPECT_EQ(IsArixZeroX(), 0);
  EXPECT_EQ(IsOriginXY(), 0);
  MoveX(0, 0);
  MoveY(0, 0);
  EXPECT_EQ(IsArixZeroX(), 1);
  EXPECT_EQ(IsArixZeroY(), 1);
  EXPECT_EQ(IsOriginXY(), 1);
  EXPECT_FALSE(ReadKeyValue());
  head_->SetReadFails(true);
  EXPECT_EQ(IsOriginXY(), 0);
}

TEST_F(PlotterPlayback, PenCallsWaitForTheJob) {
  SetPointer(1);
  EXPECT_TRUE(head_->PenDown());
  SetPointer(0);
  EXPECT_FALSE(head_->PenDown());
}

}  // namespace
