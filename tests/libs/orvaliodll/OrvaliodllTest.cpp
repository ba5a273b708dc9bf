// The I/O card's calls against a simulated bridge: the bytes each one puts
// on the card's ports, and its results and messages with and without a board.
#include "libs/orvaliodll/Orvaliodll.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "libs/ch365bus/Ch365DriverHandle.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "tests/libs/ch365bus/SimulatedBoards.h"

namespace {

using namespace ch365;
using Writes = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

constexpr char kNoIoBase[] = "获得I/O基址失败！";

class Orvalio : public SimulatedBoards {
 protected:
  void SetUp() override {
    SimulatedBoards::SetUp();
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    SetBaseAddr(0);
    // The output shadow outlives each test; index 16 clears it without a bridge.
    for (std::uint32_t bit = 0; bit < 8; ++bit) Set_Do_Bit(bit, 0, 16);
  }
  void TearDown() override {
    SetBaseAddr(0);
    SimulatedBoards::TearDown();
  }

  // Opens the card as index, initialised; its access log starts empty.
  std::shared_ptr<SimulatedCh365> OpenCard(std::uint32_t index = 0) {
    auto chip = AddBoard();
    EXPECT_NE(OrvalioOpenDevice(1, 1, index), CH365_INVALID_HANDLE);
    EXPECT_EQ(Orvalio_InitDevice(index), 1);
    chip->ClearAccesses();
    return chip;
  }

  static Writes WritesOf(const SimulatedCh365& chip) {
    Writes writes;
    for (const auto& a : chip.IoWrites()) writes.emplace_back(a.offset, a.value);
    return writes;
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
};

struct SpeedCase {
  int mode;  // -1: Orvalio_InitDevice
  std::uint32_t speed;
};

class OrvalioSpeed : public Orvalio, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(OrvalioSpeed, InitialisationWritesTheSpeedRegister) {
  auto chip = AddBoard();
  ASSERT_NE(OrvalioOpenDevice(0, 0, 0), CH365_INVALID_HANDLE);
  chip->ClearAccesses();
  const int mode = GetParam().mode;
  EXPECT_EQ(mode < 0 ? Orvalio_InitDevice(0) : Orvalio_SetSpeed(static_cast<std::uint32_t>(mode), 0), 1);
  EXPECT_EQ(WritesOf(*chip), (Writes{{kRegSpeed, GetParam().speed}}));
}

INSTANTIATE_TEST_SUITE_P(Cases, OrvalioSpeed,
                         ::testing::Values(SpeedCase{-1, 7}, SpeedCase{0, 0}, SpeedCase{1, 0x12}, SpeedCase{2, 7},
                                           SpeedCase{99, 7}));

TEST_F(Orvalio, WithoutABoardDeviceCallsFailWithTheirMessages) {
  EXPECT_EQ(OrvalioOpenDevice(1, 1, 0), CH365_INVALID_HANDLE);
  EXPECT_EQ(Orvalio_InitDevice(0), 0);
  EXPECT_EQ(Orvalio_SetSpeed(1, 0), 0);
  EXPECT_EQ(OrvalioAddrRefresh(0), 1);
  std::uint8_t byte = 0x33;
  EXPECT_EQ(WriteI2C_Rom(0, 1, 0), 0);
  EXPECT_EQ(ReadI2C_Rom(0, &byte, 0), 0);
  EXPECT_EQ(byte, 0x33);
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{kNoIoBase, kNoIoBase, "获得中断号失败！", kNoIoBase,
                                                        "写数据失败！", "读数据失败！"}));
  for (const auto& r : prompt_->Requests()) {
    EXPECT_EQ(r.caption, "提示");
    EXPECT_EQ(r.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
  }
  // The channel calls fail quietly.
  EXPECT_EQ(Set_Do_Byte(1, 0), 0);
  EXPECT_EQ(Set_Do_Bit(1, 1, 0), 0);
  EXPECT_EQ(Set_Da_Value(1, 0x123, 0), 0);
  EXPECT_EQ(Set_Da_3d(1, 2, 3, 0), 0);
  EXPECT_EQ(Set_Pwm_Out(1000, 0.5f, 1000000, 0), 0);
  EXPECT_EQ(Get_Di_Byte(0), 0);
  EXPECT_EQ(Get_Di_Dword(0), 0u);
  EXPECT_EQ(Delay_HardWareUS(40), 0);
  EXPECT_EQ(OrvalioGetDrvVersion(), 0u);
  EXPECT_EQ(OrvalioCloseDevice(0), 0);
  EXPECT_EQ(prompt_->Texts().size(), 6u);
}

TEST_F(Orvalio, AddressRefreshReadsLineAndBasesAndCloseUsesTheOpenedIndex) {
  AddBoard();
  OpenCard(1);
  EXPECT_EQ(OrvalioAddrRefresh(1), 1);
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_EQ(OrvalioSetA15_A8(0x3F, 1), 1);
  EXPECT_EQ(OrvalioGetDrvVersion(), Ch365DriverHandle::kVersion);
  EXPECT_EQ(OrvalioCloseDevice(7), 1);
  EXPECT_EQ(bus_->OpenHandles(), 0);
}

TEST_F(Orvalio, DllVersionIsHexadecimalText) {
  char text[16];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(OrvalioGetDllVersion(text), 1);
  EXPECT_STREQ(text, "15");
  EXPECT_EQ(OrvalioGetDllVersion(nullptr), 0);
}

TEST_F(Orvalio, OutputBitsAccumulateInTheShadowByte) {
  auto chip = OpenCard();
  SetBaseAddr(0x20);
  EXPECT_EQ(Set_Do_Bit(0, 1, 0), 1);
  EXPECT_EQ(Set_Do_Bit(3, 1, 0), 1);
  EXPECT_EQ(Set_Do_Bit(0, 0, 0), 1);
  EXPECT_EQ(Set_Do_Bit(8, 1, 0), 1);   // beyond the byte: written unchanged
  EXPECT_EQ(Set_Do_Bit(35, 1, 0), 1);  // taken modulo 32: bit 3
  EXPECT_EQ(WritesOf(*chip), (Writes{{0x20, 1}, {0x20, 9}, {0x20, 8}, {0x20, 8}, {0x20, 8}}));
}

TEST_F(Orvalio, CardBaseAbove1023StopsTheBitCalls) {
  auto chip = OpenCard();
  EXPECT_EQ(SetBaseAddr(1024), 1024);
  EXPECT_EQ(Set_Do_Bit(0, 1, 0), 0);
  EXPECT_EQ(Get_Di_Bit(0, 0), 2);
  EXPECT_TRUE(chip->Accesses().empty());
}

TEST_F(Orvalio, InputsAreReadOnTheOpenedBridge) {
  AddBoard();
  auto chip = OpenCard(1);
  chip->SetIdleInput(0, 0x05);
  EXPECT_EQ(Get_Di_Byte(9), 0x05);
  EXPECT_EQ(Get_Di_Bit(0, 9), 1);
  EXPECT_EQ(Get_Di_Bit(1, 9), 0);
  EXPECT_EQ(Get_Di_Bit(2, 9), 1);
  EXPECT_EQ(Get_Di_Bit(8, 9), 0);
  for (std::uint8_t i = 0; i < 4; ++i) chip->QueueInput(i, static_cast<std::uint8_t>(0x10 + i));
  EXPECT_EQ(Get_Di_Dword(0), 0x13121110u);
  chip->QueueInput(0, 0xAA);
  chip->QueueInput(1, 0xBB);
  EXPECT_EQ(Get_Di_Word(0), 0xBBAA);
}

TEST_F(Orvalio, OutputsByteWordAndDword) {
  auto chip = OpenCard();
  EXPECT_EQ(Set_Do_Byte(0x12, 0), 1);
  EXPECT_EQ(Set_Do_Word(0x3456, 0), 1);
  EXPECT_EQ(Set_Do_Dword(0x789ABCDE, 0), 1);
  const auto writes = chip->IoWrites();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[1].size, 2);
  EXPECT_EQ(writes[2].size, 4);
  EXPECT_EQ(writes[2].value, 0x789ABCDEu);
}

struct DaCase {
  std::uint8_t channel;
  std::uint32_t lowPort;
};

class OrvalioAnalogue : public Orvalio, public ::testing::WithParamInterface<DaCase> {};

TEST_P(OrvalioAnalogue, HighByteThenTheChannelsLowByte) {
  auto chip = OpenCard();
  SetBaseAddr(0x40);
  EXPECT_EQ(Set_Da_Value(GetParam().channel, 0xABCD, 0), 1);
  EXPECT_EQ(WritesOf(*chip), (Writes{{0x41, 0xAB}, {0x40 + GetParam().lowPort, 0xCD}}));
}

INSTANTIATE_TEST_SUITE_P(Channels, OrvalioAnalogue,
                         ::testing::Values(DaCase{1, 8}, DaCase{2, 11}, DaCase{3, 12}, DaCase{4, 15}));

TEST_F(Orvalio, AnalogueRefusesChannelsAndIndexesWithoutATableEntry) {
  auto chip = OpenCard();
  EXPECT_EQ(Set_Da_Value(0, 1, 0), 0);
  EXPECT_EQ(Set_Da_Value(5, 1, 0), 0);
  EXPECT_EQ(Set_Da_Value(255, 1, 0), 0);
  EXPECT_EQ(Set_Da_Value(1, 1, 16), 0);
  EXPECT_EQ(Set_Da_Value(1, 1, 256), 0);
  EXPECT_TRUE(chip->Accesses().empty());
}

TEST_F(Orvalio, ThreeAxisSetsChannelsOneToThreeInOrder) {
  auto chip = OpenCard();
  EXPECT_EQ(Set_Da_3d(0x0101, 0x0202, 0x0303, 0), 1);
  EXPECT_EQ(WritesOf(*chip), (Writes{{1, 1}, {8, 1}, {1, 2}, {11, 2}, {1, 3}, {12, 3}}));
}

struct PwmCase {
  std::uint32_t frequency;
  float duty;
  std::uint32_t clock;
  Writes writes;  // empty: refused with the message
};

class OrvalioPwm : public Orvalio, public ::testing::WithParamInterface<PwmCase> {};

TEST_P(OrvalioPwm, ProgramsBothCountersOrRefuses) {
  auto chip = OpenCard();
  const PwmCase& c = GetParam();
  EXPECT_EQ(Set_Pwm_Out(c.frequency, c.duty, c.clock, 0), c.writes.empty() ? 0 : 1);
  EXPECT_EQ(WritesOf(*chip), c.writes);
  if (c.writes.empty()) {
    ASSERT_EQ(prompt_->Requests().size(), 1u);
    EXPECT_EQ(prompt_->Requests()[0].text, "Set_Pwm_Out函数调用参数错误");
    EXPECT_EQ(prompt_->Requests()[0].caption, "错误");
    EXPECT_EQ(prompt_->Requests()[0].type, static_cast<UINT>(MB_OK));
  } else {
    EXPECT_TRUE(prompt_->Requests().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrvalioPwm,
    ::testing::Values(
        // 1000 counts a period, 750 low.
        PwmCase{1000, 0.25f, 1000000, {{7, 0x34}, {4, 0xE8}, {4, 0x03}, {7, 0x72}, {5, 0xEE}, {5, 0x02}}},
        PwmCase{1000, 1.0f, 1000000, {{7, 0x34}, {4, 0xE8}, {4, 0x03}, {7, 0x72}, {5, 0}, {5, 0}}},
        PwmCase{153, 0.5f, 10000000, {{7, 0x34}, {4, 0x4F}, {4, 0xFF}, {7, 0x72}, {5, 0xA7}, {5, 0x7F}}},
        PwmCase{1000, 0.0f, 1000000, {}},
        PwmCase{1000, 1.5f, 1000000, {}},
        PwmCase{0, 0.5f, 1000000, {}},
        PwmCase{100001, 0.5f, 10000000, {}},
        PwmCase{1000, 0.5f, 10000001, {}},
        // 100000 counts do not fit the 16-bit counter.
        PwmCase{100, 0.5f, 10000000, {}},
        PwmCase{1000, 0.5f, 1000, {}}));

TEST_F(Orvalio, EepromBytesGoThroughTheBridgesI2cMaster) {
  auto chip = OpenCard();
  EXPECT_EQ(WriteI2C_Rom(0x21, 0x9D, 0), 1);
  EXPECT_EQ(chip->EepromByte(0x21), 0x9D);
  const auto writes = WritesOf(*chip);
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.front(), (std::pair<std::uint32_t, std::uint32_t>{kRegI2cControl, 0}));
  std::uint8_t value = 0;
  EXPECT_EQ(ReadI2C_Rom(0x21, &value, 0), 1);
  EXPECT_EQ(value, 0x9D);
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(Orvalio, EepromThatNeverAnswersFailsWithTheMessage) {
  auto chip = OpenCard();
  chip->SetI2cStuck(true);
  std::uint8_t value = 0x44;
  EXPECT_EQ(ReadI2C_Rom(0, &value, 0), 0);
  EXPECT_EQ(value, 0x44);
  EXPECT_EQ(WriteI2C_Rom(0, 1, 0), 0);
  EXPECT_EQ(prompt_->Texts(), (std::vector<std::string>{"读数据失败！", "写数据失败！"}));
}

TEST_F(Orvalio, HardwareDelayTakesAQuarterOfItsCount) {
  auto chip = OpenCard();
  EXPECT_EQ(Delay_HardWareUS(40), 1);
  EXPECT_EQ(chip->CounterReads(), 30);
}

struct TenNanoCase {
  std::int64_t count;
  std::uint32_t speed;
  int result;
};

class OrvalioTenNano : public Orvalio, public ::testing::WithParamInterface<TenNanoCase> {};

TEST_P(OrvalioTenNano, AcceptsCountsAndSpeedsWithinTheirLimits) {
  EXPECT_EQ(Delay_10NS(GetParam().count, GetParam().speed), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrvalioTenNano,
                         ::testing::Values(TenNanoCase{500000000, 0, 1}, TenNanoCase{500000001, 0, 0},
                                           TenNanoCase{10, 20000, 1}, TenNanoCase{10, 20001, 0},
                                           TenNanoCase{0, 100, 1}, TenNanoCase{-5, 100, 1}));

// The delay polls the process clock; here each read of it takes a microsecond.
TEST_F(Orvalio, MicrosecondDelayCountsHalfMicroseconds) {
  auto clock = std::make_shared<platform::SimulatedClock>();
  clock->SetAdvancePerRead(1);
  platform::SetClock(clock);
  for (const auto& [count, micros] : {std::pair{2000, 1000}, {3, 1}, {0, 0}}) {
    const std::int64_t start = clock->QueryCounter();
    EXPECT_EQ(Delay_US(count), 1);
    const std::int64_t waited = clock->QueryCounter() - start - 1;  // the last read is this one's
    EXPECT_GE(waited, micros) << count;
    EXPECT_LE(waited, micros + 2) << count;
  }
  platform::SetClock(nullptr);
}

TEST_F(Orvalio, ProcessorSpeedEstimateIsPositive) { EXPECT_GT(Get_Cpu_Speed(), 0u); }

}  // namespace
