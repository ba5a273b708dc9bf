// The bridge's I2C master with its EEPROM and the counter-timed delay.
#include <chrono>
#include <vector>

#include "tests/libs/ch365bus/SimulatedBoards.h"

namespace {

using namespace ch365;
using Chip = SimulatedCh365;
using DrunvelRegisters = SimulatedBoards;

// The bridge-register writes of an access log, as (offset, value) pairs.
std::vector<std::pair<std::uint32_t, std::uint32_t>> RegisterWrites(const Chip& chip) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> writes;
  for (const auto& a : chip.IoWrites()) {
    if (a.offset >= kFirstChipRegister) writes.emplace_back(a.offset, a.value);
  }
  return writes;
}

TEST_F(DrunvelRegisters, EepromWriteLoadsAddressDataThenStarts) {
  auto chip = OpenBoard();
  ASSERT_EQ(CH365mWriteI2C(0, 0x50, 0x12, 0xAB), 1);
  EXPECT_EQ(chip->EepromByte(0x12), 0xAB);
  EXPECT_EQ(RegisterWrites(*chip), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                       {kRegI2cDevice, 0xA0}, {kRegI2cByteAddress, 0x12}, {kRegI2cData, 0xAB},
                                       {kRegI2cControl, 0x01}}));
}

TEST_F(DrunvelRegisters, EepromReadStartsWithTheReadBitAndFetchesTheByte) {
  auto chip = OpenBoard();
  chip->SetEepromByte(0x34, 0x5C);
  chip->SetI2cBusyReads(5);
  std::uint8_t value = 0;
  ASSERT_EQ(CH365mReadI2C(0, 0x50, 0x34, &value), 1);
  EXPECT_EQ(value, 0x5C);
  EXPECT_EQ(RegisterWrites(*chip), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                       {kRegI2cDevice, 0xA1}, {kRegI2cByteAddress, 0x34}, {kRegI2cControl, 0x01}}));
  // The settling delay reads the counter afterwards.
  EXPECT_EQ(chip->CounterReads(), 12);
}

TEST_F(DrunvelRegisters, EepromRoundTripsEveryAddressEdge) {
  OpenBoard();
  for (std::uint8_t address : {std::uint8_t{0}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
    ASSERT_EQ(CH365WriteI2C(0x50, address, static_cast<std::uint8_t>(address ^ 0x5A)), 1);
    std::uint8_t value = 0;
    ASSERT_EQ(CH365ReadI2C(0x50, address, &value), 1);
    EXPECT_EQ(value, address ^ 0x5A);
  }
}

// A bridge that never clears its busy bit is given up on (after a limit on
// the wall clock, as real hardware is timed: a hang shows as the test's own
// time-out).
TEST_F(DrunvelRegisters, TransferThatNeverEndsFails) {
  auto chip = OpenBoard();
  chip->SetI2cStuck(true);
  std::uint8_t value = 0;
  EXPECT_EQ(CH365mReadI2C(0, 0x50, 0, &value), 0);
  EXPECT_EQ(CH365mWriteI2C(0, 0x50, 0, 1), 0);
  EXPECT_EQ(chip->EepromByte(0), 0xFF);
}

TEST_F(DrunvelRegisters, FailedRegisterAccessFailsTheTransfer) {
  OpenBoard();
  bus_->FailCommand(kReadIoByte);
  std::uint8_t value = 0;
  EXPECT_EQ(CH365mReadI2C(0, 0x50, 0, &value), 0);
  EXPECT_EQ(CH365mWriteI2C(0, 0x50, 0, 1), 0);
  EXPECT_EQ(CH365mReadI2C(0, 0x50, 0, nullptr), 0);
}

struct DelayCase {
  std::uint32_t micros;
  double microsPerAccess;
  double minSimulated;  // simulated time the delay must take at least
  double maxSimulated;
};

class DrunvelDelay : public SimulatedBoards, public ::testing::WithParamInterface<DelayCase> {};

// Simulated time moves per I/O access, so the counter reads tell how long the
// delay lasted on the bridge's clock.
TEST_P(DrunvelDelay, LastsAtLeastItsTimeOnTheCounter) {
  auto chip = OpenBoard();
  chip->SetMicrosPerAccess(GetParam().microsPerAccess);
  ASSERT_EQ(CH365DelayUS(GetParam().micros), 1);
  const double simulated = chip->CounterReads() * GetParam().microsPerAccess;
  EXPECT_GE(simulated, GetParam().minSimulated);
  EXPECT_LE(simulated, GetParam().maxSimulated);
}

INSTANTIATE_TEST_SUITE_P(Cases, DrunvelDelay,
                         ::testing::Values(DelayCase{10, 1, 30, 30},          // three reads per microsecond
                                           DelayCase{0, 1, 0, 0},
                                           DelayCase{500, 1, 130 * 3.84 - 4, 130 * 3.84 + 4},
                                           DelayCase{983, 1, 979, 988},       // one wrap
                                           DelayCase{2000, 1, 1995, 2005},
                                           // Reads far apart skip counter values; the wait still ends.
                                           DelayCase{983, 10, 979, 1000},
                                           DelayCase{3000, 7, 2990, 3012}));

TEST_F(DrunvelRegisters, DelayUsesTheFirstOpenBridge) {
  auto zero = AddBoard();
  auto one = OpenBoard(1);
  ASSERT_EQ(CH365DelayUS(5), 1);
  EXPECT_EQ(one->CounterReads(), 15);
  EXPECT_EQ(zero->CounterReads(), 0);
}

TEST_F(DrunvelRegisters, DelayOnACounterThatStoppedGivesUp) {
  auto chip = OpenBoard();
  chip->FreezeCounter(true);
  EXPECT_EQ(CH365DelayUS(100), 0);
}

TEST_F(DrunvelRegisters, DelayFailsWhenTheCounterCannotBeRead) {
  OpenBoard();
  bus_->FailCommand(kReadIoByte);
  EXPECT_EQ(CH365DelayUS(100), 0);
  EXPECT_EQ(CH365DelayUS(3), 0);
}

}  // namespace
