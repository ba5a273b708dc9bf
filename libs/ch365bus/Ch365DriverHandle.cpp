#include "libs/ch365bus/Ch365DriverHandle.h"

#include <algorithm>
#include <cstring>

#include "libs/ch365bus/Ch365Commands.h"

namespace ch365 {
namespace {

std::uint32_t LoadLe(const std::uint8_t* p, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void StoreLe(std::uint8_t* p, std::uint32_t v, int size) {
  for (int i = 0; i < size; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Access width of the single I/O and memory commands.
int WidthOf(std::uint32_t command) {
  switch (command % 4) {
    case 0: return 1;
    case 1: return 2;
    default: return 4;
  }
}

}  // namespace

Ch365DriverHandle::Ch365DriverHandle(std::shared_ptr<Ch365Hardware> hardware, std::intptr_t value)
    : hardware_(std::move(hardware)), value_(value) {}

bool Ch365DriverHandle::Control(std::uint32_t code, std::uint8_t* buffer, std::uint32_t inSize, std::uint32_t outSize,
                                std::uint32_t& returned) {
  returned = 0;
  if (code != kIoControlCode || buffer == nullptr || inSize < kHeaderSize) return false;
  const std::uint32_t command = LoadLe(buffer, 4);
  std::uint32_t address = LoadLe(buffer + 4, 4);
  const std::uint32_t length = LoadLe(buffer + 8, 4);
  // The data the caller really sent and the room it left for the answer.
  const std::uint32_t room = std::min(inSize, outSize) - kHeaderSize;
  if (!Run(command, address, length, buffer + kHeaderSize, room)) return false;
  StoreLe(buffer + 4, address, 4);
  returned = outSize;
  return true;
}

bool Ch365DriverHandle::Run(std::uint32_t command, std::uint32_t& address, std::uint32_t length, std::uint8_t* data,
                            std::uint32_t room) {
  Ch365Hardware& hw = *hardware_;
  switch (command) {
    case kDriverVersion:
      if (room < 1) return false;
      data[0] = kVersion;
      return true;
    case kGetIoBase: address = hw.IoBase(); return true;
    case kGetMemBase: address = hw.MemBase(); return true;
    case kGetIntLine: address = hw.IntLine(); return true;
    case kSetIoBase: return hw.SetIoBase(address);
    case kSetMemBase: return hw.SetMemBase(address);
    case kSetIntLine: return hw.SetIntLine(address);
    case kWaitInterrupt: return hw.WaitInterrupt();
    case kAbortWait: hw.AbortWait(); return true;
    case kSetExclusive: return length >= 1 && room >= 1 && hw.SetExclusive(data[0] != 0);
    case kReadIoByte:
    case kReadIoWord:
    case kReadIoDword: {
      const int size = WidthOf(command);
      std::uint32_t value = 0;
      if (room < static_cast<std::uint32_t>(size) || !hw.ReadIo(address, value, size)) return false;
      StoreLe(data, value, size);
      return true;
    }
    case kWriteIoByte:
    case kWriteIoWord:
    case kWriteIoDword: {
      const int size = WidthOf(command);
      return room >= static_cast<std::uint32_t>(size) && hw.WriteIo(address, LoadLe(data, size), size);
    }
    case kReadIoBlock:
      if (length > room) return false;
      for (std::uint32_t i = 0; i < length; ++i) {
        std::uint32_t value = 0;
        if (!hw.ReadIo(address + i, value, 1)) return false;
        data[i] = static_cast<std::uint8_t>(value);
      }
      return true;
    case kWriteIoBlock:
      if (length > room) return false;
      for (std::uint32_t i = 0; i < length; ++i) {
        if (!hw.WriteIo(address + i, data[i], 1)) return false;
      }
      return true;
    case kReadMemByte:
    case kReadMemWord:
    case kReadMemDword:
      return length <= room && hw.ReadMem(address, data, length);
    case kWriteMemByte:
    case kWriteMemWord:
    case kWriteMemDword:
      return length <= room && hw.WriteMem(address, data, length);
    case kReadConfig:
      return room >= 1 && hw.ReadConfig(address, data[0]);
    case kWriteConfig:
      return room >= 1 && hw.WriteConfig(address, data[0]);
    case kReadIntCommand1:
    case kReadIntCommand2: {
      if (length < kIntCommandLength || room < kIntCommandLength) return false;
      const auto& kept = intCommands_[command == kReadIntCommand1 ? 0 : 1];
      std::memset(data, 0, kIntCommandLength);
      std::copy(kept.begin(), kept.end(), data);
      return true;
    }
    case kWriteIntCommand1:
    case kWriteIntCommand2:
      if (length > room || length > kIntCommandLength) return false;
      intCommands_[command == kWriteIntCommand1 ? 0 : 1].assign(data, data + length);
      return true;
    default:
      return false;
  }
}

}  // namespace ch365
