#pragma once
// The command block the CH365 bridge driver takes in one device-control
// request, its command codes and the bridge's own registers. Shared by the
// access library, which builds the blocks, and the driver layer, which runs them.
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// Little-endian header of 12 bytes, then `length` data bytes (at least 4).
struct CH365_CMD_BLOCK {
  std::uint32_t command;
  std::uint32_t address;  // the base and line queries return their value here
  std::uint32_t length;
  std::uint8_t data[4];
};
#pragma pack(pop)
static_assert(sizeof(CH365_CMD_BLOCK) == 16);
static_assert(offsetof(CH365_CMD_BLOCK, data) == 12);

namespace ch365 {

// Device type 0x22, function 0xF36, buffered.
constexpr std::uint32_t kIoControlCode = 0x223CD8;
constexpr std::uint32_t kHeaderSize = 12;
constexpr std::uint32_t kSingleBlockSize = sizeof(CH365_CMD_BLOCK);
constexpr std::uint32_t kMaxBlockLength = 0x8000;     // largest transfer
constexpr std::uint32_t kIntCommandLength = 32780;    // data part of an interrupt command buffer
constexpr int kMaxDevices = 16;

enum Command : std::uint32_t {
  kDriverVersion = 1,
  kGetIoBase = 4,
  kSetIoBase = 5,
  kGetMemBase = 6,
  kSetMemBase = 7,
  kGetIntLine = 8,
  kSetIntLine = 9,
  kWaitInterrupt = 10,
  kAbortWait = 11,
  kSetExclusive = 12,
  kReadIoByte = 16,
  kReadIoWord = 17,
  kReadIoDword = 18,
  kReadIoBlock = 19,
  kWriteIoByte = 20,
  kWriteIoWord = 21,
  kWriteIoDword = 22,
  kWriteIoBlock = 23,
  kReadMemByte = 24,
  kReadMemWord = 25,
  kReadMemDword = 26,
  kWriteMemByte = 28,
  kWriteMemWord = 29,
  kWriteMemDword = 30,
  kReadConfig = 32,
  kWriteConfig = 33,
  kReadIntCommand1 = 36,
  kWriteIntCommand1 = 37,
  kReadIntCommand2 = 38,
  kWriteIntCommand2 = 39,
};

// The bridge's registers, as offsets in its 256-byte I/O window.
constexpr std::uint32_t kRegA15A8 = 0xF1;
constexpr std::uint32_t kRegI2cData = 0xF4;
constexpr std::uint32_t kRegI2cControl = 0xF5;  // bit 0 starts a transfer, stays set while it runs
constexpr std::uint32_t kRegI2cByteAddress = 0xF6;
constexpr std::uint32_t kRegI2cDevice = 0xF7;
constexpr std::uint32_t kRegSpeed = 0xFA;
constexpr std::uint32_t kRegCounter = 0xFC;  // free-running, one count per 3.84 microseconds
constexpr std::uint32_t kFirstChipRegister = 0xF0;

constexpr std::uint32_t kIoWindowSize = 0x100;
constexpr std::uint32_t kMemWindowSize = 0x8000;

// PCI identity of the bridge.
constexpr std::uint16_t kVendorId = 0x4348;
constexpr std::uint16_t kDeviceId = 0x5049;

}  // namespace ch365
