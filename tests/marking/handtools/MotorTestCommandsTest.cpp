#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "document/geometry/SharedState.h"
#include "marking/handtools/MotorTestCommands.h"

namespace {

struct SpeedCase {
  int frequency;
  double scale;
  unsigned divider;
  unsigned on;
};

class TestSpeedBlock : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(TestSpeedBlock, DividerAndOnTimeHighByteFirst) {
  const SpeedCase& c = GetParam();
  const std::vector<BYTE> block = BuildTestSpeedBlock(c.frequency, c.scale);
  ASSERT_EQ(block.size(), 5u);
  EXPECT_EQ(block[0], '0');
  EXPECT_EQ(block[1] << 8 | block[2], static_cast<int>(c.divider));
  EXPECT_EQ(block[3] << 8 | block[4], static_cast<int>(c.on));
}

// divider = 14745600 / (f x 512); on = divider x scale / 100, truncated.
INSTANTIATE_TEST_SUITE_P(Cases, TestSpeedBlock,
                         ::testing::Values(SpeedCase{1, 50, 28800, 14400}, SpeedCase{500, 50, 57, 28},
                                           SpeedCase{0, 100, 28800, 28800}, SpeedCase{600, 10, 57, 5},
                                           SpeedCase{100, 33.3, 288, 95}, SpeedCase{250, 0.0001, 115, 0}));

TEST(TestCommandWire, PlainSendsTheBytesAsTheyAre) {
  const BYTE one = '1';
  EXPECT_EQ(WireTestCommand(TEST_X_LEFT, &one, 1, false), std::vector<BYTE>{'1'});
  const std::vector<BYTE> speed = BuildTestSpeedBlock(100, 50);
  EXPECT_EQ(WireTestCommand(TEST_SPEED, speed.data(), 5, false), speed);
}

TEST(TestCommandWire, FramedCommandsAre33BytesWithTheirSum) {
  struct Case {
    int type;
    std::vector<BYTE> bytes;
    std::vector<BYTE> head;  // frame bytes 1.. that are not zero padding
  };
  const std::vector<BYTE> speed = BuildTestSpeedBlock(1, 50);
  const Case cases[] = {
      {TEST_X_LEFT, {'1'}, {'1'}},
      {TEST_CLOSE, {'9'}, {'9'}},
      {TEST_OPEN, {0x40}, {0x40}},
      {TEST_NEEDLE, {'8'}, {'8'}},
      {TEST_Z_STEP_LINE, {'C'}, {'C'}},
      // The speed block's '0' becomes the speed frame's command byte.
      {TEST_SPEED, speed, {0xA2, speed[1], speed[2], speed[3], speed[4]}},
  };
  for (const Case& c : cases) {
    const std::vector<BYTE> wire = WireTestCommand(c.type, c.bytes.data(), static_cast<int>(c.bytes.size()), true);
    ASSERT_EQ(wire.size(), 33u) << c.type;
    EXPECT_EQ(wire[0], 0xFF);
    std::vector<BYTE> expected(31, 0);
    std::copy(c.head.begin(), c.head.end(), expected.begin());
    EXPECT_EQ(std::vector<BYTE>(wire.begin() + 1, wire.begin() + 32), expected) << c.type;
    const unsigned sum = std::accumulate(wire.begin() + 1, wire.begin() + 32, 0u);
    EXPECT_EQ(wire[32], sum & 0xFF) << c.type;
  }
}

TEST(TestReplyCounters, MovesChangeTheCountersByAThousand) {
  struct Case {
    int type;
    std::int32_t before[3];
    std::int32_t after[3];
  };
  const Case cases[] = {
      {TEST_X_LEFT, {2500, 0, 0}, {1500, 0, 0}},
      {TEST_X_LEFT, {400, 0, 0}, {0, 0, 0}},  // not below 0
      {TEST_X_RIGHT, {-10, 5, 5}, {990, 5, 5}},
      {TEST_Y_UP, {0, 999, 0}, {0, 0, 0}},
      {TEST_Y_DOWN, {0, 1, 0}, {0, 1001, 0}},
      {TEST_Z_FIRST, {0, 0, -3}, {0, 0, 997}},
      {TEST_Z_SECOND, {0, 0, 200}, {0, 0, -800}},  // Z may go negative
      {TEST_NEEDLE, {7, 8, 9}, {7, 8, 9}},
      {TEST_SPEED, {7, 8, 9}, {7, 8, 9}},
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 3; ++i) AxisStepCounters[i] = c.before[i];
    const bool move = c.type >= TEST_X_LEFT && c.type <= TEST_Z_SECOND;
    EXPECT_EQ(ApplyTestReplyToCounters(c.type), move) << c.type;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(AxisStepCounters[i].load(), c.after[i]) << c.type << " axis " << i;
  }
}

TEST(SpeedEditRules, FrequencyEditTakesChangesWithin1To300) {
  struct Case {
    int current;
    long long typed;
    bool taken;
  };
  const Case cases[] = {{100, 300, true}, {100, 301, false}, {100, 1, true},  {100, 0, false},
                        {100, 100, false}, {100, -5, false}, {250, 280, true}};
  for (const Case& c : cases) EXPECT_EQ(FrequencyEditTaken(c.current, c.typed), c.taken) << c.typed;
}

TEST(SpeedEditRules, ScaleEditTakesChangesOfAtLeastATenThousandth) {
  struct Case {
    double current;
    double typed;
    bool taken;
  };
  const Case cases[] = {{50, 50.0001, true}, {50, 50.00005, false}, {50, 100, true},     {50, 100.01, false},
                        {50, 0.0001, true},  {50, 0.00009, false},  {50, 0, false},      {0, 0.0001, true}};
  for (const Case& c : cases) EXPECT_EQ(ScaleEditTaken(c.current, c.typed), c.taken) << c.typed;
}

TEST(SpinRules, FrequencySpinStaysWithin1To250) {
  struct Case {
    int current;
    int delta;
    int next;
  };
  const Case cases[] = {{249, 1, 250}, {250, 1, 250}, {280, 1, 280}, {2, -1, 1}, {1, -1, 1}, {280, -1, 279}};
  for (const Case& c : cases) EXPECT_EQ(SpinFrequency(c.current, c.delta), c.next) << c.current << " " << c.delta;
}

TEST(SpinRules, ScaleSpinStepsByHalfOrTenthAndStaysWithin0To100) {
  struct Case {
    double current;
    int delta;
    bool micro;
    double next;
  };
  const Case cases[] = {{50, 1, false, 50.5},   {50, 1, true, 50.1},  {99.8, 1, false, 100}, {100, 1, true, 100},
                        {50, -1, false, 49.5},  {50, -1, true, 49.9}, {0.5, -1, false, 0},   {0.4, -1, false, 0.4},
                        {0.4, -1, true, 0.4},   {0.5, -1, true, 0.4}};
  for (const Case& c : cases)
    EXPECT_NEAR(SpinScale(c.current, c.delta, c.micro), c.next, 1e-9) << c.current << " " << c.delta << " " << c.micro;
  EXPECT_FALSE(ScaleSpinTaken(100, 100));
  EXPECT_TRUE(ScaleSpinTaken(0.5, 0));
}

}  // namespace
