#pragma once
// A CH365 bridge in memory, the test double of the sysfs backend: 256 I/O
// bytes (the board's ports below 0xF0, the chip's registers above), 32 KB of
// memory, configuration space, the I2C engine with a 24C02-style EEPROM at
// device 0x50, the free-running counter at 0xFC and an interrupt the test
// raises. Every I/O and memory access is recorded.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "libs/ch365bus/Ch365Bus.h"
#include "libs/ch365bus/Ch365Hardware.h"

namespace ch365 {

class SimulatedCh365 : public Ch365Hardware {
 public:
  enum class Space { Io, Memory };
  struct Access {
    Space space = Space::Io;
    bool write = false;
    std::uint32_t offset = 0;  // from the window's base
    int size = 1;
    std::uint32_t value = 0;
  };
  static constexpr std::uint8_t kEepromDevice = 0x50;

  explicit SimulatedCh365(std::uint32_t ioBase = 0xE800, std::uint32_t memBase = 0xFEBF8000, std::uint8_t intLine = 11);

  std::uint32_t IoBase() override;
  std::uint32_t MemBase() override;
  std::uint32_t IntLine() override;
  bool SetIoBase(std::uint32_t base) override;
  bool SetMemBase(std::uint32_t base) override;
  bool SetIntLine(std::uint32_t line) override;
  bool ReadIo(std::uint32_t address, std::uint32_t& value, int size) override;
  bool WriteIo(std::uint32_t address, std::uint32_t value, int size) override;
  bool ReadMem(std::uint32_t address, std::uint8_t* data, std::uint32_t length) override;
  bool WriteMem(std::uint32_t address, const std::uint8_t* data, std::uint32_t length) override;
  bool ReadConfig(std::uint32_t offset, std::uint8_t& value) override;
  bool WriteConfig(std::uint32_t offset, std::uint8_t value) override;
  bool WaitInterrupt() override;
  void AbortWait() override;
  bool SetExclusive(bool exclusive) override;

  // Board side of the I/O window (offsets below 0xF0): a read takes the next
  // queued byte of its offset, else the idle byte (0xFF unless set).
  void QueueInput(std::uint32_t offset, std::uint8_t value);
  void SetIdleInput(std::uint32_t offset, std::uint8_t value);
  std::vector<Access> Accesses() const;
  std::vector<Access> IoWrites() const;
  void ClearAccesses();
  // Last byte written at an I/O offset (0 when never written).
  std::uint8_t IoByte(std::uint32_t offset) const;
  std::uint8_t MemByte(std::uint32_t offset) const;

  std::uint8_t EepromByte(std::uint8_t address) const;
  void SetEepromByte(std::uint8_t address, std::uint8_t value);
  // Status reads a transfer stays busy for; stuck: it never ends.
  void SetI2cBusyReads(int reads);
  void SetI2cStuck(bool stuck);

  // Simulated time moves by this much per I/O access (1 microsecond unless
  // set); a frozen counter never moves.
  void SetMicrosPerAccess(double micros);
  void FreezeCounter(bool frozen);
  int CounterReads() const;

  void RaiseInterrupt();
  int WaitsInProgress() const;
  bool Exclusive() const;

 private:
  std::uint8_t ReadByteLocked(std::uint32_t offset);
  void WriteByteLocked(std::uint32_t offset, std::uint8_t value);
  void FinishI2cLocked();
  std::uint32_t BarLocked(int offset) const;
  void SetBarLocked(int offset, std::uint32_t value);

  mutable std::mutex mutex_;
  std::array<std::uint8_t, 256> config_{};
  std::array<std::uint8_t, 256> io_{};
  std::vector<std::uint8_t> mem_;
  std::map<std::uint32_t, std::deque<std::uint8_t>> queued_;
  std::map<std::uint32_t, std::uint8_t> idle_;
  std::vector<Access> accesses_;
  std::array<std::uint8_t, 256> eeprom_;
  int i2cBusyReads_ = 2;
  int i2cBusyLeft_ = 0;
  bool i2cStuck_ = false;
  double micros_ = 0;
  double microsPerAccess_ = 1.0;
  bool counterFrozen_ = false;
  int counterReads_ = 0;
  bool exclusive_ = false;

  std::condition_variable interruptCv_;
  bool interruptPending_ = false;
  std::uint64_t abortGeneration_ = 0;
  int waiting_ = 0;
};

// A bus of simulated bridges, in the order added. Records the header of every
// command block the handles receive.
class SimulatedCh365Bus : public Ch365Bus, public std::enable_shared_from_this<SimulatedCh365Bus> {
 public:
  struct Block {
    std::uint32_t command = 0;
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    std::uint32_t size = 0;  // bytes sent
  };

  std::shared_ptr<SimulatedCh365> AddBoard(std::shared_ptr<SimulatedCh365> chip = std::make_shared<SimulatedCh365>());
  std::vector<std::string> DevicePaths() override;
  std::unique_ptr<Ch365Handle> Open(const std::string& path, bool forInterrupts) override;

  std::vector<Block> Blocks() const;
  void ClearBlocks();
  // Requests with this command code fail from now on (0: none fail).
  void FailCommand(std::uint32_t command);
  bool Fails(std::uint32_t command) const;
  int OpenHandles() const;
  void Record(const Block& block);
  void HandleClosed();

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<SimulatedCh365>> boards_;
  std::vector<Block> blocks_;
  int openHandles_ = 0;
  std::uint32_t failing_ = 0;
  std::intptr_t nextHandle_ = 100;
};

}  // namespace ch365
