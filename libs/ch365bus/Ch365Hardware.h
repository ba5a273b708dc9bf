#pragma once
// One CH365 bridge as the driver layer sees it: base addresses and interrupt
// line, accesses at absolute bus addresses inside its I/O and memory windows,
// its configuration space, its interrupt and the exclusive-use lock. The
// sysfs backend and the simulated chip implement it.
#include <cstdint>

namespace ch365 {

class Ch365Hardware {
 public:
  virtual ~Ch365Hardware() = default;

  virtual std::uint32_t IoBase() = 0;
  virtual std::uint32_t MemBase() = 0;
  virtual std::uint32_t IntLine() = 0;
  virtual bool SetIoBase(std::uint32_t base) = 0;
  virtual bool SetMemBase(std::uint32_t base) = 0;
  virtual bool SetIntLine(std::uint32_t line) = 0;

  // One I/O cycle of 1, 2 or 4 bytes (little-endian) at an absolute port address.
  virtual bool ReadIo(std::uint32_t address, std::uint32_t& value, int size) = 0;
  virtual bool WriteIo(std::uint32_t address, std::uint32_t value, int size) = 0;
  // Any number of bytes from an absolute memory address.
  virtual bool ReadMem(std::uint32_t address, std::uint8_t* data, std::uint32_t length) = 0;
  virtual bool WriteMem(std::uint32_t address, const std::uint8_t* data, std::uint32_t length) = 0;
  virtual bool ReadConfig(std::uint32_t offset, std::uint8_t& value) = 0;
  virtual bool WriteConfig(std::uint32_t offset, std::uint8_t value) = 0;

  // Blocks until an interrupt arrives (true) or a wait is aborted (false).
  virtual bool WaitInterrupt() = 0;
  virtual void AbortWait() = 0;
  virtual bool SetExclusive(bool exclusive) = 0;
};

}  // namespace ch365
