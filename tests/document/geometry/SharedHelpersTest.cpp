#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "platform/PortIo.h"
#include "platform/SettingsStore.h"

namespace {

double Snap(double v, double step) {
  CDoublePoint p(v, v, 0x41);
  SnapPointToGrid(p, step, step);
  EXPECT_EQ(p.flag, 0x41);
  return p.x;
}

}  // namespace

TEST(GridSnap, MovesToCellCentres) {
  EXPECT_DOUBLE_EQ(Snap(0.3, 1), 0.5);
  EXPECT_DOUBLE_EQ(Snap(0.9, 1), 0.5);
  EXPECT_DOUBLE_EQ(Snap(1.0, 1), 1.5);
  EXPECT_DOUBLE_EQ(Snap(1.2, 1), 1.5);
  EXPECT_DOUBLE_EQ(Snap(-0.3, 1), -0.5);
  EXPECT_DOUBLE_EQ(Snap(7.3, 0.5), 7.25);
  CDoublePoint p(3.3, 3.3);
  SnapPointToGrid(p, 2, 0.2);
  EXPECT_DOUBLE_EQ(p.x, 3);
  EXPECT_NEAR(p.y, 3.3, 1e-12);
}

TEST(GridSnap, UnusableStepsLeaveTheCoordinate) {
  EXPECT_EQ(Snap(0.3, 0), 0.3);
  EXPECT_EQ(Snap(0.3, -1), 0.3);
  EXPECT_EQ(Snap(0.3, std::nan("")), 0.3);
  EXPECT_EQ(Snap(0.3, INFINITY), 0.3);
  EXPECT_TRUE(std::isnan(Snap(std::nan(""), 1)));
  EXPECT_EQ(Snap(1e300, 1e-300), 1e300);  // half-step count overflows: left alone, never infinite
}

TEST(Rounding, ThroughDecimalText) {
  float f = 2.345f;
  RoundFloat1(f);
  EXPECT_FLOAT_EQ(f, 2.3f);
  f = 1.23456f;
  RoundFloat3(f);
  EXPECT_FLOAT_EQ(f, 1.235f);
  double d = -0.12345;
  RoundDouble3(d);
  EXPECT_DOUBLE_EQ(d, -0.123);
  std::string text;
  FormatFloat1(12.25f, text);
  EXPECT_EQ(text, "12.2");
  FormatFloat1(-0.06f, text);
  EXPECT_EQ(text, "-0.1");
}

TEST(QuantizeSteps, LongRunsAddUpToTheRoundedTotal) {
  double carry = 0;
  long total = 0;
  for (int i = 0; i < 1000; ++i) total += QuantizeSteps(2.6, carry, 1);
  EXPECT_EQ(total, 2600);
  EXPECT_LE(std::fabs(carry), 0.5 + 1e-9);

  // Step length 4 micrometres: the carry is kept in micrometres.
  carry = 0;
  total = 0;
  for (int i = 0; i < 999; ++i) total += QuantizeSteps(0.75, carry, 4);
  EXPECT_EQ(total, 749);  // 749.25 steps
  EXPECT_NEAR(carry, 1.0, 1e-6);
}

TEST(QuantizeSteps, MixedSignsAndSingleMoves) {
  double carry = 0;
  EXPECT_EQ(QuantizeSteps(2.7, carry, 1), 3);
  EXPECT_NEAR(carry, -0.3, 1e-12);
  carry = 0;
  EXPECT_EQ(QuantizeSteps(2.3, carry, 1), 2);
  EXPECT_NEAR(carry, 0.3, 1e-12);

  // Back and forth by the same amounts returns to where it started.
  carry = 0;
  long position = 0;
  const double moves[] = {1.4, -2.7, 0.35, 3.55, -0.6, -1.9, 2.45, -2.55};
  double exact = 0;
  for (int round = 0; round < 250; ++round) {
    for (double m : moves) {
      position += QuantizeSteps(m, carry, 1);
      exact += m;
      ASSERT_LE(std::fabs(position - exact), 0.5 + 1e-6);
    }
  }
  EXPECT_EQ(position, std::lround(exact));
}

TEST(QuantizeSteps, UnusableInputsStaySafe) {
  double carry = 0.2;
  EXPECT_EQ(QuantizeSteps(2.6, carry, 0), 3);
  EXPECT_EQ(QuantizeSteps(-2.6, carry, -1), -3);
  EXPECT_EQ(carry, 0.2);
  EXPECT_EQ(QuantizeSteps(std::nan(""), carry, 1), 0);
  EXPECT_EQ(QuantizeSteps(INFINITY, carry, 1), 0);
  EXPECT_EQ(carry, 0.2);
  EXPECT_EQ(QuantizeSteps(1e12, carry, 1), 2147483647);  // clamped, never an undefined conversion
}

TEST(StopKey, OnlyKeyDownOfStopKeysWhileMarking) {
  MarkStatusWord = 0;
  EXPECT_EQ(FilterStopKey(WM_KEYDOWN, 27), 0);
  EXPECT_EQ(MarkStatusWord.load(), 0u);

  MarkStatusWord = MSW_MARKING;
  EXPECT_EQ(FilterStopKey(WM_KEYUP, 13), 0);
  EXPECT_EQ(FilterStopKey(WM_KEYDOWN, 'A'), 0);
  EXPECT_EQ(MarkStatusWord.load(), MSW_MARKING);
  for (WPARAM key : {13u, 27u, 32u}) {
    MarkStatusWord = MSW_MARKING;
    platform::Message m{WM_KEYDOWN, key, 0, {}};
    EXPECT_EQ(FilterStopKey(m), 1);
    EXPECT_EQ(MarkStatusWord.load(), MSW_MARKING | MSW_STOP_REQUEST);
  }
  MarkStatusWord = 0;
}

class RegistryHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = platform::MakeMemorySettingsStore();
    platform::SetSettingsStore(store_);
  }
  std::shared_ptr<platform::SettingsStore> store_;
};

TEST_F(RegistryHelpers, NothingWithoutTheKey) {
  DWORD d = 77;
  float f = 1.5f;
  EXPECT_EQ(WriteRegDword(5, "SuccessedNum"), 0);
  EXPECT_EQ(ReadRegDword(d, "SuccessedNum"), 0);
  EXPECT_EQ(ReadRegFloat(f, "DistanceVer"), 0);
  EXPECT_EQ(d, 77u);
  EXPECT_EQ(f, 1.5f);
  EXPECT_FALSE(store_->KeyExists(platform::kRegistryKey));  // never created here
}

TEST_F(RegistryHelpers, DwordsAndFloatTexts) {
  ASSERT_TRUE(store_->CreateKey(platform::kRegistryKey));
  DWORD d = 77;
  EXPECT_EQ(ReadRegDword(d, "SuccessedNum"), 0);
  EXPECT_EQ(d, 77u);
  EXPECT_EQ(WriteRegDword(0xFFFFFFFEu, "SuccessedNum"), 1);
  EXPECT_EQ(ReadRegDword(d, "SuccessedNum"), 1);
  EXPECT_EQ(d, 0xFFFFFFFEu);
  int i = 0;
  EXPECT_EQ(ReadRegDword("SuccessedNum", i), 1);
  EXPECT_EQ(i, -2);

  EXPECT_EQ(WriteRegFloat(-12.5f, "MarkPositionX"), 1);
  std::vector<BYTE> raw;
  ASSERT_TRUE(store_->ReadBinary(platform::kRegistryKey, "MarkPositionX", raw));
  ASSERT_EQ(raw.size(), 64u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw.data())), "-12.500000");
  EXPECT_EQ(raw[63], 0);
  float f = 0;
  EXPECT_EQ(ReadRegFloat("MarkPositionX", f), 1);
  EXPECT_EQ(f, -12.5f);

  // Not a number, or longer than 64 bytes: refused, the default stays.
  store_->WriteBinary(platform::kRegistryKey, "DistanceVer", std::vector<BYTE>{'x', 'y', 0});
  store_->WriteBinary(platform::kRegistryKey, "DistanceHor", std::vector<BYTE>(80, '1'));
  f = 3;
  EXPECT_EQ(ReadRegFloat(f, "DistanceVer"), 0);
  EXPECT_EQ(ReadRegFloat(f, "DistanceHor"), 0);
  EXPECT_EQ(f, 3);
  // Exactly 64 digits without a terminator still parse.
  store_->WriteBinary(platform::kRegistryKey, "DistanceHor", std::vector<BYTE>(64, '1'));
  EXPECT_EQ(ReadRegFloat(f, "DistanceHor"), 1);
  EXPECT_TRUE(std::isinf(f));  // 1e63 does not fit a float
}

class PortHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_ = std::make_shared<platform::SimulatedPortSpace>();
    platform::SetPortSpace(ports_);
    SetPortAddresses(0x378);
    MarkStatusWord = 0;
    OutputShadow = 0;
    ControlShadow = 0;
    PulseLevels = 0x02;
    ControlBit0Switch = 0;
    for (auto& c : AxisStepCounters) c = 0;
  }
  std::shared_ptr<platform::SimulatedPortSpace> ports_;
};

TEST_F(PortHelpers, BytesGoToTheConfiguredPorts) {
  EXPECT_EQ(InPortAddress.load(), 0x379);
  EXPECT_EQ(CtrlPortAddress.load(), 0x37A);
  WriteOutPort(0xA5);
  EXPECT_EQ(ports_->LastWritten(0x378), 0xA5u);
  ports_->QueueInput(0x379, 0x5A);
  EXPECT_EQ(ReadInPort(), 0x5A);

  ControlShadow = 0x1F6;  // only the low byte reaches the port
  ControlBit0Switch = 1;
  ApplyCtrlPortBit0();
  EXPECT_EQ(ControlShadow.load(), 0x1F7);
  EXPECT_EQ(ports_->LastWritten(0x37A), 0xF7u);
  ControlBit0Switch = 0;
  ApplyCtrlPortBit0();
  EXPECT_EQ(ports_->LastWritten(0x37A), 0xF6u);
  ControlShadow = 0x0F;
  ClearCtrlPortBit0();
  EXPECT_EQ(ControlShadow.load(), 0x0E);
  EXPECT_EQ(ports_->LastWritten(0x37A), 0x0Eu);
}

TEST_F(PortHelpers, AxisBitsLevelsAndCounters) {
  OutputShadow = OUT_NEEDLE | OUT_Y_DIR;
  SetAxisXDirection(1, 0);  // rest level: pulse bit from bit 0 of the levels (low)
  EXPECT_EQ(OutputShadow.load(), OUT_NEEDLE | OUT_Y_DIR | OUT_X_DIR);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  SetAxisXDirection(1, 1);
  EXPECT_EQ(OutputShadow.load(), OUT_NEEDLE | OUT_Y_DIR | OUT_X_DIR | OUT_X_PULSE);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), -1);
  SetAxisYDirection(0, 1);
  EXPECT_EQ(OutputShadow.load(), OUT_NEEDLE | OUT_X_DIR | OUT_X_PULSE | OUT_Y_PULSE);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 1);
  SetAxisZDirection(0, 2);  // any pulse other than 1 sets the level but counts nothing
  EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), 0);
  EXPECT_TRUE(OutputShadow.load() & OUT_Z_PULSE);

  MarkStatusWord = MSW_INVERT_DIR;  // inverted direction outputs; counting unchanged
  SetAxisZDirection(0, 1);
  EXPECT_TRUE(OutputShadow.load() & OUT_Z_DIR);
  EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), 1);
  PulseLevels = 0x01;  // rest high, pulse low
  SetAxisZDirection(1, 0);
  EXPECT_FALSE(OutputShadow.load() & OUT_Z_DIR);
  EXPECT_TRUE(OutputShadow.load() & OUT_Z_PULSE);
  EXPECT_TRUE(ports_->Writes(0x378).empty());  // the helpers never write the port themselves
}
