// The bridge operations by device index: each builds its command block and
// sends it through the device table.
#include "libs/drunvel/Drunvel.h"

#include <cstring>
#include <new>
#include <vector>

#include "libs/drunvel/Ch365DeviceTable.h"

namespace {

using namespace ch365;
using drunvel::Ch365DeviceTable;

Ch365DeviceTable& Table() { return Ch365DeviceTable::Instance(); }

// I/O byte, word and block addresses below 256 are offsets in the bridge's window.
std::uint32_t IoAddress(std::uint32_t index, std::uint32_t address) {
  return address < kIoWindowSize ? address + Table().IoBase(index) : address;
}

// Double-word I/O addresses are offsets when below the base.
std::uint32_t IoDwordAddress(std::uint32_t index, std::uint32_t address) {
  const std::uint32_t base = Table().IoBase(index);
  return address < base ? address + base : address;
}

std::uint32_t MemAddress(std::uint32_t index, std::uint32_t address) {
  const std::uint32_t base = Table().MemBase(index);
  return address < base ? address + base : address;
}

template <class T>
int ReadSingle(std::uint32_t index, std::uint32_t command, std::uint32_t address, T* value) {
  if (value == nullptr) return 0;
  std::uint32_t data = 0;
  if (!Table().Single(index, command, address, sizeof(T), data)) return 0;
  std::memcpy(value, &data, sizeof(T));
  return 1;
}

int WriteSingle(std::uint32_t index, std::uint32_t command, std::uint32_t address, std::uint32_t length,
                std::uint32_t value) {
  return Table().Single(index, command, address, length, value) ? 1 : 0;
}

int GetValue(std::uint32_t index, std::uint32_t command, std::uint32_t* out) {
  std::uint32_t value = 0;
  if (!Table().Query(index, command, value)) return 0;
  if (out != nullptr) *out = value;
  return 1;
}

// A block of header + length bytes (the data field never shorter than 4).
std::vector<std::uint8_t> MakeBlock(std::uint32_t command, std::uint32_t address, std::uint32_t length) {
  std::vector<std::uint8_t> block(kHeaderSize + std::max<std::uint32_t>(length, 4), 0);
  std::memcpy(block.data(), &command, 4);
  std::memcpy(block.data() + 4, &address, 4);
  std::memcpy(block.data() + 8, &length, 4);
  return block;
}

}  // namespace

extern "C" {

CH365_HANDLE CH365mOpenDevice(std::uint32_t index, int enableMemory, int enableInterrupt) {
  return Table().Open(index, enableMemory != 0, enableInterrupt != 0);
}

int CH365mCloseDevice(std::uint32_t index) { return Table().Close(index); }

std::uint32_t CH365mDriverCommand(std::uint32_t index, CH365_CMD_BLOCK* block) {
  // The length comes from the caller: nothing the driver takes is longer than
  // an interrupt command buffer, so a larger one is refused before it is read.
  if (block == nullptr || block->length > kIntCommandLength) return 0;
  const std::uint32_t size = kHeaderSize + std::max<std::uint32_t>(block->length, 4);
  std::uint32_t returned = 0;
  return Table().Send(index, block, size, &returned) ? returned : 0;
}

int CH365mGetIoBaseAddr(std::uint32_t index, std::uint32_t* base) { return GetValue(index, kGetIoBase, base); }
int CH365mSetIoBaseAddr(std::uint32_t index, std::uint32_t base) {
  return Table().SetAndReadBack(index, kSetIoBase, base) ? 1 : 0;
}
int CH365mGetMemBaseAddr(std::uint32_t index, std::uint32_t* base) { return GetValue(index, kGetMemBase, base); }
int CH365mSetMemBaseAddr(std::uint32_t index, std::uint32_t base) {
  return Table().SetAndReadBack(index, kSetMemBase, base) ? 1 : 0;
}
int CH365mGetIntLine(std::uint32_t index, std::uint32_t* line) { return GetValue(index, kGetIntLine, line); }
int CH365mSetIntLine(std::uint32_t index, std::uint32_t line) {
  return Table().SetAndReadBack(index, kSetIntLine, line) ? 1 : 0;
}

int CH365mWaitInterrupt(std::uint32_t index) {
  std::uint32_t data = 0;
  return Table().Single(index, kWaitInterrupt, 0, 0, data) ? 1 : 0;
}

int CH365mAbortWaitInt(std::uint32_t index) {
  std::uint32_t data = 0;
  return Table().Single(index, kAbortWait, 0, 0, data) ? 1 : 0;
}

int CH365mSetIntRoutine(std::uint32_t index, CH365_INT_ROUTINE routine) {
  return Table().SetIntRoutine(index, routine);
}

int CH365mReadIntCommand(std::uint32_t index, std::uint8_t* buffer, std::uint32_t number) {
  if (buffer == nullptr) return 0;
  std::vector<std::uint8_t> block = MakeBlock(number == 1 ? kReadIntCommand1 : kReadIntCommand2, 0, kIntCommandLength);
  std::uint32_t returned = 0;
  if (!Table().Send(index, block.data(), static_cast<std::uint32_t>(block.size()), &returned)) return 0;
  // Whatever count the driver reports, the caller's buffer holds no more than this.
  const std::uint32_t count = returned > kHeaderSize ? std::min(returned - kHeaderSize, kIntCommandLength) : 0;
  std::memcpy(buffer, block.data() + kHeaderSize, count);
  return 1;
}

int CH365mWriteIntCommand(std::uint32_t index, const CH365_CMD_BLOCK* inner, std::uint32_t number) {
  if (inner == nullptr || inner->length > kIntCommandLength - kHeaderSize) return 0;
  const std::uint32_t innerSize = inner->length + kHeaderSize;
  std::vector<std::uint8_t> block = MakeBlock(number == 1 ? kWriteIntCommand1 : kWriteIntCommand2, 0, innerSize);
  std::memcpy(block.data() + kHeaderSize, inner, innerSize);
  return Table().Send(index, block.data(), static_cast<std::uint32_t>(block.size())) ? 1 : 0;
}

int CH365mReadIoByte(std::uint32_t index, std::uint32_t address, std::uint8_t* value) {
  return ReadSingle(index, kReadIoByte, IoAddress(index, address), value);
}
int CH365mReadIoWord(std::uint32_t index, std::uint32_t address, std::uint16_t* value) {
  return ReadSingle(index, kReadIoWord, IoAddress(index, address), value);
}
int CH365mReadIoDword(std::uint32_t index, std::uint32_t address, std::uint32_t* value) {
  return ReadSingle(index, kReadIoDword, IoDwordAddress(index, address), value);
}
int CH365mWriteIoByte(std::uint32_t index, std::uint32_t address, std::uint8_t value) {
  return WriteSingle(index, kWriteIoByte, IoAddress(index, address), 1, value);
}
int CH365mWriteIoWord(std::uint32_t index, std::uint32_t address, std::uint16_t value) {
  return WriteSingle(index, kWriteIoWord, IoAddress(index, address), 2, value);
}
int CH365mWriteIoDword(std::uint32_t index, std::uint32_t address, std::uint32_t value) {
  return WriteSingle(index, kWriteIoDword, IoDwordAddress(index, address), 4, value);
}

int CH365mReadMemByte(std::uint32_t index, std::uint32_t address, std::uint8_t* value) {
  return ReadSingle(index, kReadMemByte, MemAddress(index, address), value);
}
int CH365mReadMemDword(std::uint32_t index, std::uint32_t address, std::uint32_t* value) {
  return ReadSingle(index, kReadMemDword, MemAddress(index, address), value);
}
int CH365mWriteMemByte(std::uint32_t index, std::uint32_t address, std::uint8_t value) {
  return WriteSingle(index, kWriteMemByte, MemAddress(index, address), 1, value);
}
int CH365mWriteMemDword(std::uint32_t index, std::uint32_t address, std::uint32_t value) {
  return WriteSingle(index, kWriteMemDword, MemAddress(index, address), 4, value);
}

int CH365mReadConfig(std::uint32_t index, std::uint32_t offset, std::uint8_t* value) {
  return ReadSingle(index, kReadConfig, offset, value);
}
int CH365mWriteConfig(std::uint32_t index, std::uint32_t offset, std::uint8_t value) {
  return WriteSingle(index, kWriteConfig, offset, 1, value);
}

int CH365mSetA15_A8(std::uint32_t index, std::uint8_t value) {
  return WriteSingle(index, kWriteIoByte, Table().IoBase(index) + kRegA15A8, 1, value);
}

int CH365mAccessBlock(std::uint32_t index, std::uint32_t type, std::uint32_t address, void* buffer,
                      std::uint32_t length) {
  const bool ioRead = type >= kReadIoByte && type <= kReadIoBlock;
  const bool ioWrite = type >= kWriteIoByte && type <= kWriteIoBlock;
  const bool memRead = type >= kReadMemByte && type <= kReadMemDword;
  const bool memWrite = type >= kWriteMemByte && type <= kWriteMemDword;
  if (!ioRead && !ioWrite && !memRead && !memWrite) return 0;
  if (ioRead || ioWrite) {
    address = IoAddress(index, address);
    // Blocks stay clear of the bridge's own registers at 0xF0 to 0xFF.
    if ((type == kReadIoBlock || type == kWriteIoBlock) && (address & 0xFF) + length >= 240) return 0;
  } else {
    address = MemAddress(index, address);
  }
  if (length == 0) return 1;
  if (length > kMaxBlockLength || buffer == nullptr) return 0;
  std::vector<std::uint8_t> block;
  try {
    block = MakeBlock(type, address, length);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  const bool write = ioWrite || memWrite;
  if (write) std::memcpy(block.data() + kHeaderSize, buffer, length);
  if (!Table().Send(index, block.data(), static_cast<std::uint32_t>(block.size()))) return 0;
  if (!write) std::memcpy(buffer, block.data() + kHeaderSize, length);
  return 1;
}

int CH365mSetExclusive(std::uint32_t index, int exclusive) {
  return WriteSingle(index, kSetExclusive, 0, 1, exclusive != 0 ? 1 : 0);
}

}  // extern "C"
