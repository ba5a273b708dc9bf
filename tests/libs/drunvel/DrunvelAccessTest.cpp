// I/O, memory and configuration accesses, block transfers, caller-built
// commands and the interrupt command buffers against the simulated bridge.
#include <cstring>
#include <functional>
#include <numeric>
#include <vector>

#include "tests/libs/ch365bus/SimulatedBoards.h"

namespace {

using namespace ch365;
using Chip = SimulatedCh365;
constexpr std::uint32_t kIo = 0xE800;
constexpr std::uint32_t kMem = 0xFEBF8000;

using DrunvelAccess = SimulatedBoards;

// Where a single access lands: the address the block carries.
struct AddressCase {
  const char* name;
  std::function<int()> call;
  std::uint32_t command;
  std::uint32_t address;
  std::uint32_t length;
};

class DrunvelAddressRules : public SimulatedBoards, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(DrunvelAddressRules, TranslatesTheAddressIntoTheBlock) {
  OpenBoard();
  ASSERT_EQ(GetParam().call(), 1) << GetParam().name;
  const auto blocks = bus_->Blocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].command, GetParam().command);
  EXPECT_EQ(blocks[0].address, GetParam().address);
  EXPECT_EQ(blocks[0].length, GetParam().length);
  EXPECT_EQ(blocks[0].size, 16u);
}

std::uint8_t g_byte;
std::uint16_t g_word;
std::uint32_t g_dword;

INSTANTIATE_TEST_SUITE_P(
    Cases, DrunvelAddressRules,
    ::testing::Values(
        AddressCase{"byte offset", [] { return CH365mReadIoByte(0, 0x10, &g_byte); }, kReadIoByte, kIo + 0x10, 1},
        AddressCase{"byte absolute", [] { return CH365mWriteIoByte(0, kIo + 0x20, 1); }, kWriteIoByte, kIo + 0x20, 1},
        AddressCase{"word offset", [] { return CH365mReadIoWord(0, 0x30, &g_word); }, kReadIoWord, kIo + 0x30, 2},
        AddressCase{"word write", [] { return CH365mWriteIoWord(0, 0x30, 1); }, kWriteIoWord, kIo + 0x30, 2},
        AddressCase{"dword below base", [] { return CH365mReadIoDword(0, 0x40, &g_dword); }, kReadIoDword, kIo + 0x40, 4},
        AddressCase{"dword absolute", [] { return CH365mWriteIoDword(0, kIo + 0x44, 1); }, kWriteIoDword, kIo + 0x44, 4},
        AddressCase{"memory offset", [] { return CH365mReadMemByte(0, 0x100, &g_byte); }, kReadMemByte, kMem + 0x100, 1},
        AddressCase{"memory absolute", [] { return CH365mWriteMemDword(0, kMem + 8, 1); }, kWriteMemDword, kMem + 8, 4},
        AddressCase{"config", [] { return CH365mReadConfig(0, 0x3C, &g_byte); }, kReadConfig, 0x3C, 1},
        AddressCase{"address lines", [] { return CH365mSetA15_A8(0, 0x5A); }, kWriteIoByte, kIo + kRegA15A8, 1}));

TEST_F(DrunvelAccess, IoValuesTravelLittleEndian) {
  auto chip = OpenBoard();
  ASSERT_EQ(CH365mWriteIoWord(0, 0x20, 0x1234), 1);
  EXPECT_EQ(chip->IoByte(0x20), 0x34);
  EXPECT_EQ(chip->IoByte(0x21), 0x12);
  for (std::uint8_t i = 0; i < 4; ++i) chip->QueueInput(0x30 + i, static_cast<std::uint8_t>(i + 1));
  std::uint32_t dword = 0;
  ASSERT_EQ(CH365mReadIoDword(0, 0x30, &dword), 1);
  EXPECT_EQ(dword, 0x04030201u);
  chip->SetIdleInput(0x50, 0xA5);
  std::uint8_t byte = 0;
  ASSERT_EQ(CH365ReadIoByte(0x50, &byte), 1);
  EXPECT_EQ(byte, 0xA5);
}

TEST_F(DrunvelAccess, MemoryAndConfigurationRoundTrip) {
  auto chip = OpenBoard();
  ASSERT_EQ(CH365mWriteMemDword(0, 8, 0xA1B2C3D4), 1);
  ASSERT_EQ(CH365mWriteMemByte(0, 0x7FFF, 0x66), 1);
  std::uint8_t byte = 0;
  std::uint32_t dword = 0;
  ASSERT_EQ(CH365mReadMemByte(0, 9, &byte), 1);
  EXPECT_EQ(byte, 0xC3);
  ASSERT_EQ(CH365mReadMemDword(0, 8, &dword), 1);
  EXPECT_EQ(dword, 0xA1B2C3D4u);
  EXPECT_EQ(chip->MemByte(0x7FFF), 0x66);
  // Past the 32 KB window the bridge refuses.
  EXPECT_EQ(CH365mWriteMemDword(0, 0x7FFE, 1), 0);

  ASSERT_EQ(CH365mReadConfig(0, 0, &byte), 1);
  EXPECT_EQ(byte, 0x48);
  ASSERT_EQ(CH365mWriteConfig(0, 0x40, 0x5A), 1);
  ASSERT_EQ(CH365ReadConfig(0x40, &byte), 1);
  EXPECT_EQ(byte, 0x5A);
  EXPECT_EQ(CH365mReadConfig(0, 0x100, &byte), 0);
}

TEST_F(DrunvelAccess, AddressLinesGoToTheBridgeRegister) {
  auto chip = OpenBoard();
  ASSERT_EQ(CH365SetA15_A8(0x9C), 1);
  EXPECT_EQ(chip->IoByte(kRegA15A8), 0x9C);
}

struct BlockCase {
  std::uint32_t type;
  std::uint32_t address;
  std::uint32_t length;
  int result;
  bool request;
};

class DrunvelBlocks : public SimulatedBoards, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(DrunvelBlocks, RefusesOrSendsAsTheTypeAndLengthAllow) {
  OpenBoard();
  std::vector<std::uint8_t> buffer(GetParam().length + 1, 0x11);
  EXPECT_EQ(CH365mAccessBlock(0, GetParam().type, GetParam().address, buffer.data(), GetParam().length),
            GetParam().result);
  const auto blocks = bus_->Blocks();
  ASSERT_EQ(blocks.size(), GetParam().request ? 1u : 0u);
  if (GetParam().request) {
    EXPECT_EQ(blocks[0].command, GetParam().type);
    EXPECT_EQ(blocks[0].length, GetParam().length);
    EXPECT_EQ(blocks[0].size, 12 + std::max<std::uint32_t>(GetParam().length, 4));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DrunvelBlocks,
                         ::testing::Values(BlockCase{kReadIoBlock, 0xE0, 16, 0, false},   // reaches 0xF0
                                           BlockCase{kReadIoBlock, 0xE0, 15, 1, true},
                                           BlockCase{kWriteIoBlock, 0x10, 0, 1, false},
                                           BlockCase{kReadMemByte, 0, 0x8001, 0, false},
                                           BlockCase{kReadMemByte, 0, 0x8000, 1, true},
                                           BlockCase{kWriteMemByte, 0, 1024, 1, true},
                                           BlockCase{kWriteMemByte, 0, 1025, 1, true},
                                           BlockCase{27, 0, 4, 0, false},
                                           BlockCase{15, 0, 4, 0, false},
                                           BlockCase{31, 0, 4, 0, false},
                                           BlockCase{kReadIoByte, 0x10, 1, 1, true}));

TEST_F(DrunvelAccess, BlocksCarryTheCallersBytesBothWays) {
  auto chip = OpenBoard();
  std::vector<std::uint8_t> out(1025);
  std::iota(out.begin(), out.end(), 0);
  ASSERT_EQ(CH365mAccessBlock(0, kWriteMemByte, 0x200, out.data(), 1025), 1);
  std::vector<std::uint8_t> in(1025, 0);
  ASSERT_EQ(CH365mAccessBlock(0, kReadMemByte, 0x200, in.data(), 1025), 1);
  EXPECT_EQ(in, out);

  const std::uint8_t ports[3] = {7, 8, 9};
  ASSERT_EQ(CH365mAccessBlock(0, kWriteIoBlock, 0x10, const_cast<std::uint8_t*>(ports), 3), 1);
  EXPECT_EQ(chip->IoByte(0x10), 7);
  EXPECT_EQ(chip->IoByte(0x12), 9);
  chip->QueueInput(0x20, 0xAB);
  chip->QueueInput(0x21, 0xCD);
  std::uint8_t read[2] = {};
  ASSERT_EQ(CH365mAccessBlock(0, kReadIoBlock, 0x20, read, 2), 1);
  EXPECT_EQ(read[0], 0xAB);
  EXPECT_EQ(read[1], 0xCD);
}

TEST_F(DrunvelAccess, DriverCommandRunsTheCallersBlock) {
  auto chip = OpenBoard();
  chip->QueueInput(0x10, 0x3C);
  CH365_CMD_BLOCK block{kReadIoByte, kIo + 0x10, 1, {}};
  EXPECT_EQ(CH365DriverCommand(&block), 16u);
  EXPECT_EQ(block.data[0], 0x3C);
  // A length no driver command has is refused before anything is read.
  CH365_CMD_BLOCK huge{kReadMemByte, kMem, 40000, {}};
  bus_->ClearBlocks();
  EXPECT_EQ(CH365mDriverCommand(0, &huge), 0u);
  EXPECT_EQ(CH365mDriverCommand(0, nullptr), 0u);
  EXPECT_TRUE(bus_->Blocks().empty());
  CH365_CMD_BLOCK unknown{99, 0, 0, {}};
  EXPECT_EQ(CH365mDriverCommand(0, &unknown), 0u);
}

TEST_F(DrunvelAccess, InterruptCommandBuffersKeepTheBlockPerBuffer) {
  OpenBoard();
  const CH365_CMD_BLOCK first{kWriteIoByte, kIo + 5, 1, {0x77}};
  const CH365_CMD_BLOCK second{kReadIoByte, kIo + 6, 1, {}};
  ASSERT_EQ(CH365mWriteIntCommand(0, &first, 1), 1);
  ASSERT_EQ(CH365WriteIntCommand(&second, 2), 1);
  std::vector<std::uint8_t> buffer(kIntCommandLength, 0xEE);
  ASSERT_EQ(CH365mReadIntCommand(0, buffer.data(), 1), 1);
  EXPECT_EQ(std::memcmp(buffer.data(), &first, sizeof first), 0);
  EXPECT_EQ(buffer[sizeof first], 0);
  ASSERT_EQ(CH365ReadIntCommand(buffer.data(), 7), 1);
  EXPECT_EQ(std::memcmp(buffer.data(), &second, sizeof second), 0);

  const auto blocks = bus_->Blocks();
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0].command, kWriteIntCommand1);
  EXPECT_EQ(blocks[0].length, 13u);  // the inner block: its header and its one data byte
  EXPECT_EQ(blocks[0].size, 25u);
  EXPECT_EQ(blocks[1].command, kWriteIntCommand2);
  EXPECT_EQ(blocks[2].command, kReadIntCommand1);
  EXPECT_EQ(blocks[2].length, kIntCommandLength);
  EXPECT_EQ(blocks[2].size, kIntCommandLength + 12);
  EXPECT_EQ(blocks[3].command, kReadIntCommand2);
}

TEST_F(DrunvelAccess, InterruptCommandLongerThanTheBufferIsRefused) {
  OpenBoard();
  CH365_CMD_BLOCK block{kWriteIoByte, 0, kIntCommandLength - 12 + 1, {}};
  EXPECT_EQ(CH365mWriteIntCommand(0, &block, 1), 0);
  EXPECT_EQ(CH365mWriteIntCommand(0, nullptr, 1), 0);
  EXPECT_EQ(CH365mReadIntCommand(0, nullptr, 1), 0);
  EXPECT_TRUE(bus_->Blocks().empty());
}

TEST_F(DrunvelAccess, DeviceZeroFunctionsActOnDeviceZeroOnly) {
  auto zero = OpenBoard(0);
  auto one = OpenBoard(1);
  std::uint8_t byte = 0;
  std::uint16_t word = 0;
  std::uint32_t dword = 0;
  EXPECT_EQ(CH365WriteIoByte(0x10, 1), 1);
  EXPECT_EQ(CH365WriteIoWord(0x10, 1), 1);
  EXPECT_EQ(CH365WriteIoDword(0x10, 1), 1);
  EXPECT_EQ(CH365ReadIoByte(0x10, &byte), 1);
  EXPECT_EQ(CH365ReadIoWord(0x10, &word), 1);
  EXPECT_EQ(CH365ReadIoDword(0x10, &dword), 1);
  EXPECT_EQ(CH365WriteMemByte(0, 1), 1);
  EXPECT_EQ(CH365WriteMemDword(0, 1), 1);
  EXPECT_EQ(CH365ReadMemByte(0, &byte), 1);
  EXPECT_EQ(CH365ReadMemDword(0, &dword), 1);
  EXPECT_EQ(CH365WriteConfig(0x40, 1), 1);
  EXPECT_EQ(CH365WriteI2C(0x50, 1, 2), 1);
  EXPECT_EQ(CH365ReadI2C(0x50, 1, &byte), 1);
  EXPECT_EQ(byte, 2);
  EXPECT_EQ(CH365SetIoBaseAddr(0xE800), 1);
  EXPECT_EQ(CH365SetMemBaseAddr(kMem), 1);
  EXPECT_EQ(CH365SetIntLine(11), 1);
  EXPECT_EQ(CH365GetMemBaseAddr(&dword), 1);
  EXPECT_EQ(CH365AbortWaitInt(), 1);
  EXPECT_FALSE(zero->Accesses().empty());
  EXPECT_TRUE(one->Accesses().empty());
  EXPECT_EQ(zero->EepromByte(1), 2);
  EXPECT_EQ(one->EepromByte(1), 0xFF);
  EXPECT_EQ(CH365CloseDevice(), 1);
  EXPECT_EQ(bus_->OpenHandles(), 1);
}

}  // namespace
