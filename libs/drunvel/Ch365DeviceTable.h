#pragma once
// The library's per-bridge tables (handle, base addresses, interrupt line,
// interrupt routine and thread, device path) for device indexes 0 to 15, and
// the sending of command blocks to an open bridge. Every operation checks its
// index, so a bad index or a closed bridge fails instead of reaching a table
// it has no entry in.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "libs/ch365bus/Ch365Bus.h"
#include "libs/drunvel/Drunvel.h"

namespace drunvel {

class Ch365DeviceTable {
 public:
  static Ch365DeviceTable& Instance();
  ~Ch365DeviceTable();

  CH365_HANDLE Open(std::uint32_t index, bool enableMemory, bool enableInterrupt);
  int Close(std::uint32_t index);
  bool IsOpen(std::uint32_t index) const;
  // Lowest open index, or -1.
  int FirstOpen() const;

  // Sends size bytes of block as one request, the same buffer coming back.
  bool Send(std::uint32_t index, void* block, std::uint32_t size, std::uint32_t* returned = nullptr);
  // A 16-byte block; data is the value sent and received in the data field.
  bool Single(std::uint32_t index, std::uint32_t command, std::uint32_t address, std::uint32_t length,
              std::uint32_t& data);
  // The base and line queries: the value lands in the table and in value.
  bool Query(std::uint32_t index, std::uint32_t command, std::uint32_t& value);
  // Sets, then reads the value back into the table whatever the set gave.
  bool SetAndReadBack(std::uint32_t index, std::uint32_t setCommand, std::uint32_t value);

  std::uint32_t IoBase(std::uint32_t index) const;
  std::uint32_t MemBase(std::uint32_t index) const;

  int SetIntRoutine(std::uint32_t index, CH365_INT_ROUTINE routine);

  // How long the removal of an interrupt routine keeps aborting the wait.
  static constexpr std::chrono::milliseconds kStopLimit{2000};

 private:
  struct Slot {
    mutable std::mutex mutex;  // guards the pointers and the thread object, not the requests
    std::shared_ptr<ch365::Ch365Handle> handle;
    std::shared_ptr<ch365::Ch365Handle> interruptHandle;
    std::shared_ptr<ch365::Ch365Bus> bus;
    std::string path;
    std::thread thread;
    std::atomic<std::uint32_t> ioBase{0};
    std::atomic<std::uint32_t> memBase{0};
    std::atomic<std::uint32_t> intLine{0};
    std::atomic<CH365_INT_ROUTINE> routine{nullptr};
    std::atomic<std::uint32_t> threadId{0};
  };

  Ch365DeviceTable() = default;
  std::shared_ptr<ch365::Ch365Handle> HandleOf(std::uint32_t index) const;
  bool StopInterruptThread(Slot& slot);
  void InterruptLoop(Slot& slot);

  std::array<Slot, ch365::kMaxDevices> slots_;
  std::atomic<std::uint32_t> nextThreadId_{1};
};

}  // namespace drunvel
