// Port stepping and move records: bits on the output port, timing on the
// simulated clock, the speed table, ramps, dwells, dot strikes, the origin
// seek, and how long moves are cut into records.
#include <algorithm>
#include <numeric>

#include <gtest/gtest.h>

#include "ControllerTestSupport.h"
#include "marking/controller/CStepOutput.h"
#include "marking/link/CControllerLink.h"

namespace {

StepNode Node(std::uint8_t flags, int x, int y, StepNode* next = nullptr) {
  StepNode n;
  n.flags = flags;
  n.stepsX = x;
  n.stepsY = y;
  n.next = next;
  return n;
}

int RisingEdges(const std::vector<platform::PortAccess>& writes, int bit) {
  int edges = 0;
  int last = 0;
  for (const auto& w : writes) {
    const int now = (w.value & bit) ? 1 : 0;
    if (now && !last) ++edges;
    last = now;
  }
  return edges;
}

// Waits of at least a millisecond (the dwells and strikes, not the half steps).
std::vector<double> LongWaits(const platform::SimulatedClock& clock) {
  std::vector<double> out;
  for (double w : clock.Waits())
    if (w >= 1000) out.push_back(w);
  return out;
}

class StepOutputTest : public ::testing::Test {
 protected:
  StepOutputTest() : out(bench.clock.get()) {
    out.SetBoardTypeSource([] { return 0; });
    out.ComputeSpeedTable(record.GetPenUpSpeed(), record.GetPenUpSpeed2(), record.GetPenDownSpeed(), record);
    out.BeginJob();
  }
  PortBench bench;
  CDrawProperity record = DefaultRecord();
  CStepOutput out;
};

}  // namespace

TEST(StepPeriods, FollowTheMachineTypeStepLengthsAndFloor) {
  PortBench bench;
  CStepOutput out(bench.clock.get());
  CDrawProperity record = DefaultRecord();
  // 4 um steps, machine type 0: period = 21000 / speed * 1e6 / 12566.
  out.ComputeSpeedTable(32, 100, 25, record);
  EXPECT_EQ(out.Periods().jump, 52224);
  EXPECT_EQ(out.Periods().fastJump, 16711);
  EXPECT_EQ(out.Periods().mark, 66847);
  // Very fast speeds never go below 3000 ns a half step.
  out.ComputeSpeedTable(10000, 10000, 10000, record);
  EXPECT_EQ(out.Periods().jump, CStepOutput::kMinPeriodNs);
  // Machine type 2 triples the constant; steps above 7.5 um double the period.
  record.SetMachineType(2);
  record.SetStepLengthX(8);
  record.SetAcceleration(3);
  out.ComputeSpeedTable(50, 50, 50, record);
  EXPECT_EQ(out.Periods().jump, static_cast<std::int64_t>(2 * (63000.0 / 50) * 1000000 / 6283));
  EXPECT_EQ(record.GetAcceleration(), 10) << "a tiny acceleration is raised to 10 in the record";
  // A speed of 0 does not divide by zero.
  out.ComputeSpeedTable(0, 0, 0, record);
  EXPECT_GT(out.Periods().jump, 0);
}

TEST_F(StepOutputTest, StrokeStepsBothAxesWithNeedleDownAndDirectionBits) {
  const StepNode node = Node(SN_TOOL_DOWN | SN_X_NEGATIVE, 6, 2);
  out.BeginObject({});
  ASSERT_EQ(out.OutputNode(node, 1, record), 1);
  const auto writes = bench.OutWrites();
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.front().value & OUT_NEEDLE, OUT_NEEDLE) << "needle goes down first";
  EXPECT_EQ(RisingEdges(writes, OUT_X_PULSE), 6);
  EXPECT_EQ(RisingEdges(writes, OUT_Y_PULSE), 2);
  // Every step write: X direction set (x negative), Y direction clear, needle down.
  for (std::size_t i = 1; i + 1 < writes.size(); ++i) {
    EXPECT_EQ(writes[i].value & OUT_X_DIR, OUT_X_DIR);
    EXPECT_EQ(writes[i].value & OUT_Y_DIR, 0);
    EXPECT_EQ(writes[i].value & OUT_NEEDLE, OUT_NEEDLE);
  }
  EXPECT_EQ(writes.back().value & OUT_NEEDLE, 0) << "needle up after the last node";
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), -6);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 2);
  // Two writes and two waits of one marking period per major step.
  EXPECT_EQ(writes.size(), 1u + 12u + 1u);
  const auto waits = bench.clock->Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), out.Periods().mark / 1000.0), 12);
}

TEST_F(StepOutputTest, InvertedDirectionAndYPositive) {
  MarkStatusWord = MSW_INVERT_DIR;
  const StepNode node = Node(SN_Y_POSITIVE, 1, 3);
  out.OutputNode(node, 1, record);
  const auto writes = bench.OutWrites();
  // Direction bits as they stand while each axis pulses.
  for (const auto& w : writes) {
    if (w.value & OUT_X_PULSE) { EXPECT_EQ(w.value & OUT_X_DIR, OUT_X_DIR) << "x positive, inverted"; }
    if (w.value & OUT_Y_PULSE) { EXPECT_EQ(w.value & OUT_Y_DIR, 0) << "y positive, inverted"; }
    EXPECT_EQ(w.value & OUT_NEEDLE, 0) << "a jump keeps the needle up";
  }
  EXPECT_EQ(RisingEdges(writes, OUT_X_PULSE), 1);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), -3);
}

TEST_F(StepOutputTest, DwellBeforeAStrokeFollowsTheLastJump) {
  ObjectDelays delays;
  delays.penDown = 300;
  delays.penChange = 100;
  out.BeginObject(delays);
  const StepNode stroke = Node(SN_TOOL_DOWN, 1, 0);
  out.OutputNode(stroke, 1, record);
  EXPECT_EQ(LongWaits(*bench.clock), std::vector<double>{300000}) << "first stroke of an object: pen-down delay";

  const std::pair<int, double> table[] = {{49, 0},     {50, 10},    {499, 10},   {500, 20},   {999, 20},
                                          {1000, 50},  {2000, 100}, {3999, 100}, {4000, 200}, {9999, 200},
                                          {10000, 300}};
  for (auto [lastJump, ms] : table) {
    out.LastJump() = lastJump;
    bench.clock->ClearWaits();
    out.OutputNode(stroke, 1, record);
    const auto waits = LongWaits(*bench.clock);
    SCOPED_TRACE(lastJump);
    if (ms == 0) EXPECT_TRUE(waits.empty());
    else EXPECT_EQ(waits, std::vector<double>{ms * 1000});
  }
  // Without air a stroke is only a move: no dwell, and it counts as a jump.
  out.LastJump() = 10000;
  bench.clock->ClearWaits();
  out.OutputNode(Node(SN_TOOL_DOWN, 7, 0), 0, record);
  EXPECT_TRUE(LongWaits(*bench.clock).empty());
  EXPECT_EQ(out.LastJump(), 7);
}

TEST_F(StepOutputTest, RampOnlyOnJumpsOfFourMillimetresAndMore) {
  // 50 mm: the ramp reaches the fast-jump period.
  out.OutputNode(Node(0, 12500, 0), 1, record);
  EXPECT_GT(out.LastRampLength(), 0);
  EXPECT_EQ(out.LastRampTarget(), out.Periods().fastJump);
  EXPECT_EQ(out.MinPeriodOfLastNode(), out.Periods().fastJump);
  // 3.996 mm: no ramp.
  out.OutputNode(Node(0, 999, 0), 1, record);
  EXPECT_EQ(out.LastRampLength(), 0);
  EXPECT_EQ(out.MinPeriodOfLastNode(), out.Periods().jump);
  // 4 mm: a partial ramp.
  out.OutputNode(Node(0, 1000, 0), 1, record);
  EXPECT_GT(out.LastRampLength(), 0);
  EXPECT_LT(out.MinPeriodOfLastNode(), out.Periods().jump);
  EXPECT_GT(out.MinPeriodOfLastNode(), out.Periods().fastJump);
  // A long stroke is never ramped.
  out.OutputNode(Node(SN_TOOL_DOWN, 12500, 0), 1, record);
  EXPECT_EQ(out.LastRampLength(), 0);
  EXPECT_EQ(out.MinPeriodOfLastNode(), out.Periods().mark);
  // The ramp ends where it started: the last half steps run at the jump period.
  bench.clock->ClearWaits();
  out.OutputNode(Node(0, 12500, 0), 1, record);
  const auto waits = bench.clock->Waits();
  EXPECT_DOUBLE_EQ(waits.back(), out.Periods().jump / 1000.0);
}

TEST_F(StepOutputTest, DotStrikeWaitsAroundTheNeedle) {
  record.SetNeedleDelayBefore(7);
  record.SetNeedleDelayAfter(9);
  ObjectDelays delays;
  delays.dotTime = 40;
  out.BeginObject(delays);
  bench.ports->ClearAccesses();
  out.OutputNode(Node(SN_NEEDLE_DOT, 2, 2), 1, record);
  EXPECT_EQ(LongWaits(*bench.clock), (std::vector<double>{7000, 45000, 9000}));
  const auto writes = bench.OutWrites();
  // Needle up while moving, down for the strike, up again.
  std::vector<int> needle;
  for (const auto& w : writes)
    if (needle.empty() || needle.back() != static_cast<int>(w.value & OUT_NEEDLE)) needle.push_back(w.value & OUT_NEEDLE);
  EXPECT_EQ(needle, (std::vector<int>{0, OUT_NEEDLE, 0}));
  // No strike without air.
  bench.clock->ClearWaits();
  out.OutputNode(Node(SN_NEEDLE_DOT, 2, 2), 0, record);
  EXPECT_TRUE(LongWaits(*bench.clock).empty());
}

TEST_F(StepOutputTest, StartMarkDelayIsOwedOncePerJobAndObjectEndDelayBeforeJumps) {
  StartMarkDelay = 250;
  record.SetObjectEndDelay(30);
  StepNode second = Node(SN_TOOL_DOWN, 1, 0);
  StepNode first = Node(SN_TOOL_DOWN, 1, 0, &second);
  out.OutputNode(first, 1, record);
  out.OutputNode(second, 1, record);
  // 250 once, then after the last stroke the object-end delay.
  EXPECT_EQ(LongWaits(*bench.clock), (std::vector<double>{250000, 30000}));
  bench.clock->ClearWaits();
  out.OutputNode(Node(0, 1, 0), 1, record);
  EXPECT_EQ(LongWaits(*bench.clock), (std::vector<double>{30000, 30000})) << "before the jump and after it";
}

TEST_F(StepOutputTest, StopConfirmedAsksAndEndsOnYes) {
  MarkStatusWord = MSW_STOP_CONFIRMED;
  bench.prompt->QueueAnswer(IDNO);
  EXPECT_EQ(out.OutputNode(Node(SN_TOOL_DOWN, 3, 0), 1, record), 1) << "No goes on";
  EXPECT_EQ(MarkStatusWord.load() & (MSW_STOP_CONFIRMED | MSW_STOP_REQUEST), 0u);
  MarkStatusWord = MSW_STOP_CONFIRMED;
  bench.prompt->QueueAnswer(IDYES);
  EXPECT_EQ(out.OutputNode(Node(SN_TOOL_DOWN, 3, 0), 1, record), 0);
  EXPECT_EQ(bench.prompt->Texts(),
            (std::vector<std::string>{"Are you terminated marking", "Are you terminated marking"}));
  EXPECT_EQ(bench.OutWrites().back().value & OUT_NEEDLE, 0) << "needle lifted before asking";
}

TEST_F(StepOutputTest, RotaryDriveRunsAtTheRampFactorAndSettlesAfterThreeAxisMoves) {
  RotateMark = 1;
  YReplacesZ = 0;  // the rotary drive stands in for X
  MachineOptions m;
  m.rotaryRampOn = 1;
  m.rotaryRampFactor = 3;
  m.rotarySettleMs = 40;
  out.SetMachineOptions(m);
  const double scaledUs = (3 * out.Periods().jump) / 1000.0;

  // The rotary drive makes the minor part: the whole move at the scaled period.
  out.OutputNode(Node(SN_ROTARY_2AXIS, 4, 20), 0, record);
  auto waits = bench.clock->Waits();
  ASSERT_EQ(waits.size(), 40u);
  for (double w : waits) EXPECT_DOUBLE_EQ(w, scaledUs);
  EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), 4);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 20);

  // As the major axis it starts at the scaled period and winds up to its own.
  bench.clock->ClearWaits();
  out.OutputNode(Node(SN_ROTARY_2AXIS, 3000, 0), 0, record);
  waits = bench.clock->Waits();
  EXPECT_DOUBLE_EQ(waits.front(), scaledUs);
  EXPECT_DOUBLE_EQ(*std::min_element(waits.begin(), waits.end()), out.Periods().jump / 1000.0);
  EXPECT_TRUE(LongWaits(*bench.clock).empty()) << "no settle after a two-axis rotary move";

  // Three-axis rotary moves settle afterwards, only with the ramp on.
  bench.clock->ClearWaits();
  out.OutputNode(Node(SN_ROTARY_3AXIS, 2, 0), 0, record);
  EXPECT_EQ(LongWaits(*bench.clock), std::vector<double>{40000});
  m.rotaryRampOn = 0;
  out.SetMachineOptions(m);
  record.SetAuxSpeedSwitch(1);
  bench.clock->ClearWaits();
  out.OutputNode(Node(SN_ROTARY_3AXIS, 2, 0), 0, record);
  waits = bench.clock->Waits();
  ASSERT_EQ(waits.size(), 4u) << "no settle with the ramp off";
  EXPECT_DOUBLE_EQ(waits.front(), out.Periods().auxiliary / 1000.0) << "the rotary speed takes over";
  RotateMark = 0;
}

TEST_F(StepOutputTest, OriginSeekStepsEachAxisUntilItsSwitch) {
  // X origin level 0 (bit 7), Y origin level 0 (bit 5).
  auto loop = [&](DWORD v) {
    for (int i = 0; i < 3; ++i) bench.ports->QueueInput(kInPort, v);
  };
  for (int i = 0; i < 3; ++i) loop(0xFF);
  loop(0xDF);
  loop(0xDF);
  loop(0x5F);
  AxisStepCounters[AXIS_X] = 1234;
  AxisStepCounters[AXIS_Y] = -77;
  std::string error;
  int xs = 0, ys = 0;
  MachineOptions corner;
  corner.originCorner = 2;  // right-top: X away from x negative, Y towards y positive
  out.SetMachineOptions(corner);
  ASSERT_EQ(out.SeekOriginOnce(record, 1.0, error, &xs, &ys), 1) << error;
  EXPECT_EQ(xs, 5);
  EXPECT_EQ(ys, 3);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 0);
  const auto writes = bench.OutWrites();
  EXPECT_EQ(RisingEdges(writes, OUT_X_PULSE), 5);
  for (const auto& w : writes) {
    if (w.value & OUT_X_PULSE) { EXPECT_EQ(w.value & OUT_X_DIR, 0); }
    if (w.value & OUT_Y_PULSE) { EXPECT_EQ(w.value & OUT_Y_DIR, OUT_Y_DIR); }
  }
  EXPECT_EQ(RisingEdges(writes, OUT_Y_PULSE), 3);
  EXPECT_EQ(LastInputByte.load(), 0x5F);
}

TEST_F(StepOutputTest, OriginSeekGivesUpAfterTheRangeAndHonoursTheStop) {
  record.SetRangeX(10);
  record.SetRangeY(10);
  std::string error;
  int xs = 0;
  EXPECT_EQ(out.SeekOriginOnce(record, 1.0, error, &xs), 0);
  EXPECT_EQ(error, "Axis(x) back to origin error!!!");
  EXPECT_EQ(xs, 2500 + 500);
  bench.ports->SetIdleInput(kInPort, 0x7F);  // X home, Y never
  EXPECT_EQ(out.SeekOriginOnce(record, 1.0, error), 0);
  EXPECT_EQ(error, "Axis(y) back to origin error!!!");
  MarkStatusWord = MSW_STOP_CONFIRMED;
  EXPECT_EQ(out.SeekOriginOnce(record, 1.0, error), 0);
  EXPECT_TRUE(error.empty());
}

namespace {

struct MoveRec {
  int x, y, flags;
  bool operator==(const MoveRec&) const = default;
};

std::vector<MoveRec> Moves(AgreeingLinkHost& host) {
  std::vector<MoveRec> out;
  for (const auto& b : host.Sent())
    if (b.size() == 5) out.push_back({b[0] << 8 | b[1], b[2] << 8 | b[3], b[4]});
  return out;
}

class MoveRecordTest : public ::testing::Test {
 protected:
  MoveRecordTest() : link(&host, &replies) {
    out.SetBoardTypeSource([] { return 1; });
    link.SetBoardTypeSource([] { return 1; });
    out.SetLink(&link);
    out.BeginJob();
  }
  PortBench bench;
  AgreeingLinkHost host;
  platform::QueueMessageTarget replies;
  CControllerLink link;
  CStepOutput out{bench.clock.get()};
  CDrawProperity record = DefaultRecord();
};

}  // namespace

TEST_F(MoveRecordTest, TwoHundredFiftyMillimetresSplitInTwo) {
  // 250 mm at 4 um: 62500 steps.
  ASSERT_EQ(out.SendMoveNode(Node(SN_X_NEGATIVE, 62500, 3), record), 1);
  EXPECT_EQ(Moves(host), (std::vector<MoveRec>{{31250, 2, SN_X_NEGATIVE}, {31250, 1, SN_X_NEGATIVE}}));
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), -62500);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 3);
  host.Sent();
  AgreeingLinkHost fresh;
  CControllerLink freshLink(&fresh, &replies);
  out.SetLink(&freshLink);
  ASSERT_EQ(out.SendMoveNode(Node(0, 62497, 0), record), 1);
  EXPECT_EQ(Moves(fresh), (std::vector<MoveRec>{{62497, 0, 0}})) << "249.99 mm is one record";
}

TEST_F(MoveRecordTest, MovesBeyondSixteenBitsAreSplitAsOftenAsNeeded) {
  record.SetStepLengthX(1);
  record.SetStepLengthY(1);
  // 300 mm at 1 um: 300000 steps, far more than one record can hold even halved.
  ASSERT_EQ(out.SendMoveNode(Node(SN_Y_POSITIVE, 1000, 300000), record), 1);
  const auto moves = Moves(host);
  ASSERT_GE(moves.size(), 5u);
  long long sumX = 0, sumY = 0;
  for (const auto& m : moves) {
    EXPECT_LE(m.y, 65535);
    EXPECT_NE(m.x >> 8, 0x50);
    EXPECT_EQ(m.flags, SN_Y_POSITIVE);
    sumX += m.x;
    sumY += m.y;
  }
  EXPECT_EQ(sumX, 1000);
  EXPECT_EQ(sumY, 300000);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), -300000);
}

TEST_F(MoveRecordTest, HighByteOfPauseIsNeverSentAndStrokeFollowingIsFlagged) {
  StepNode stroke = Node(SN_TOOL_DOWN, 1, 1);
  const StepNode jump = Node(0, 20480, 100, &stroke);
  ASSERT_EQ(out.SendMoveNode(jump, record), 1);
  const auto moves = Moves(host);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].x + moves[1].x, 20480);
  EXPECT_EQ(moves[0].y + moves[1].y, 100);
  for (const auto& m : moves) {
    EXPECT_NE(m.x >> 8, 0x50);
    EXPECT_EQ(m.flags, 0x20) << "the next node is a stroke";
  }
}

TEST_F(MoveRecordTest, RotaryNodesCountOnTheRotaryChannel) {
  RotateMark = 1;
  YReplacesZ = 0;
  out.SendMoveNode(Node(SN_ROTARY_2AXIS | SN_X_NEGATIVE, 40, 5), record);
  EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), -40);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 5);
  // Positioning moves cancel the rotary substitution.
  out.SendMoveNode(Node(SN_ROTARY_2AXIS | SN_POSITIONING, 40, 0), record);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 40);
  RotateMark = 0;
}
