#include "libs/drunvel/Ch365DeviceTable.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace drunvel {
namespace {

using namespace ch365;

constexpr std::size_t kMaxPathLength = 127;
constexpr auto kWaitRetry = std::chrono::milliseconds(5);
constexpr auto kAbortInterval = std::chrono::milliseconds(1);

}  // namespace

Ch365DeviceTable& Ch365DeviceTable::Instance() {
  static Ch365DeviceTable table;
  return table;
}

Ch365DeviceTable::~Ch365DeviceTable() {
  // A routine still set at exit: its thread must end before the tables go.
  for (Slot& slot : slots_) StopInterruptThread(slot);
}

CH365_HANDLE Ch365DeviceTable::Open(std::uint32_t index, bool enableMemory, bool enableInterrupt) {
  if (index >= slots_.size()) return CH365_INVALID_HANDLE;
  Slot& slot = slots_[index];
  // A second open replaces the first: close it rather than lose it.
  if (IsOpen(index)) Close(index);

  std::shared_ptr<Ch365Bus> bus = CurrentBus();
  const std::vector<std::string> paths = bus->DevicePaths();
  if (index >= paths.size()) return CH365_INVALID_HANDLE;
  const std::string path = paths[index].substr(0, kMaxPathLength);
  std::shared_ptr<Ch365Handle> handle = bus->Open(path, false);
  {
    std::lock_guard lock(slot.mutex);
    slot.path = path;
    if (!handle) return CH365_INVALID_HANDLE;
    slot.handle = handle;
    slot.bus = bus;
  }

  std::uint32_t value = 0;
  Query(index, kGetIoBase, value);
  Query(index, kGetMemBase, value);
  if (enableMemory && slot.memBase == 0) SetAndReadBack(index, kSetMemBase, 0xFFFFFFFF);
  Query(index, kGetIntLine, value);
  if (enableInterrupt && slot.intLine == 0) SetAndReadBack(index, kSetIntLine, 0xFFFFFFFF);
  return handle->Value();
}

int Ch365DeviceTable::Close(std::uint32_t index) {
  if (index >= slots_.size()) return 0;
  Slot& slot = slots_[index];
  StopInterruptThread(slot);
  std::lock_guard lock(slot.mutex);
  if (!slot.handle) return 0;
  slot.handle.reset();
  return 1;
}

bool Ch365DeviceTable::IsOpen(std::uint32_t index) const { return HandleOf(index) != nullptr; }

int Ch365DeviceTable::FirstOpen() const {
  for (std::uint32_t i = 0; i < slots_.size(); ++i) {
    if (IsOpen(i)) return static_cast<int>(i);
  }
  return -1;
}

std::shared_ptr<Ch365Handle> Ch365DeviceTable::HandleOf(std::uint32_t index) const {
  if (index >= slots_.size()) return nullptr;
  std::lock_guard lock(slots_[index].mutex);
  return slots_[index].handle;
}

bool Ch365DeviceTable::Send(std::uint32_t index, void* block, std::uint32_t size, std::uint32_t* returned) {
  std::uint32_t count = 0;
  if (returned != nullptr) *returned = 0;
  std::shared_ptr<Ch365Handle> handle = HandleOf(index);
  if (!handle || block == nullptr) return false;
  const bool ok = handle->Control(kIoControlCode, static_cast<std::uint8_t*>(block), size, size, count);
  if (returned != nullptr) *returned = ok ? count : 0;
  return ok;
}

bool Ch365DeviceTable::Single(std::uint32_t index, std::uint32_t command, std::uint32_t address, std::uint32_t length,
                              std::uint32_t& data) {
  CH365_CMD_BLOCK block{command, address, length, {}};
  std::memcpy(block.data, &data, sizeof block.data);
  if (!Send(index, &block, kSingleBlockSize)) return false;
  std::memcpy(&data, block.data, sizeof block.data);
  return true;
}

bool Ch365DeviceTable::Query(std::uint32_t index, std::uint32_t command, std::uint32_t& value) {
  CH365_CMD_BLOCK block{command, 0, 0, {}};
  if (!Send(index, &block, kSingleBlockSize)) return false;
  Slot& slot = slots_[index];
  switch (command) {
    case kGetIoBase: slot.ioBase = block.address; break;
    case kGetMemBase: slot.memBase = block.address; break;
    case kGetIntLine: slot.intLine = block.address; break;
    default: return false;
  }
  value = block.address;
  return true;
}

bool Ch365DeviceTable::SetAndReadBack(std::uint32_t index, std::uint32_t setCommand, std::uint32_t value) {
  CH365_CMD_BLOCK block{setCommand, value, 0, {}};
  const bool ok = Send(index, &block, kSingleBlockSize);
  std::uint32_t readBack = 0;
  Query(index, setCommand - 1, readBack);
  return ok;
}

std::uint32_t Ch365DeviceTable::IoBase(std::uint32_t index) const {
  return index < slots_.size() ? slots_[index].ioBase.load() : 0;
}

std::uint32_t Ch365DeviceTable::MemBase(std::uint32_t index) const {
  return index < slots_.size() ? slots_[index].memBase.load() : 0;
}

int Ch365DeviceTable::SetIntRoutine(std::uint32_t index, CH365_INT_ROUTINE routine) {
  if (index >= slots_.size()) return 0;
  Slot& slot = slots_[index];
  if (!StopInterruptThread(slot)) return 0;
  if (routine == nullptr) return 1;
  std::lock_guard lock(slot.mutex);
  if (!slot.handle) return 0;
  slot.routine = routine;
  slot.threadId = nextThreadId_++;
  try {
    slot.thread = std::thread([this, &slot] { InterruptLoop(slot); });
  } catch (const std::system_error&) {
    slot.routine = nullptr;
    slot.threadId = 0;
    return 0;
  }
  // Time-critical where the process may ask for it; ordinary otherwise.
  sched_param param{};
  param.sched_priority = sched_get_priority_max(SCHED_FIFO);
  pthread_setschedparam(slot.thread.native_handle(), SCHED_FIFO, &param);
  return 1;
}

// Clears the routine and aborts the thread's wait until it has ended, for at
// most kStopLimit; false when it did not end (a bridge that ignores aborts).
bool Ch365DeviceTable::StopInterruptThread(Slot& slot) {
  slot.routine = nullptr;
  {
    // Called from the routine itself: the thread ends when the routine returns.
    std::lock_guard lock(slot.mutex);
    if (slot.thread.joinable() && slot.thread.get_id() == std::this_thread::get_id()) return true;
  }
  const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
  while (slot.threadId != 0) {
    std::shared_ptr<Ch365Handle> handle;
    {
      std::lock_guard lock(slot.mutex);
      handle = slot.handle ? slot.handle : slot.interruptHandle;
    }
    if (handle) {
      CH365_CMD_BLOCK block{kAbortWait, 0, 0, {}};
      std::uint32_t returned = 0;
      handle->Control(kIoControlCode, reinterpret_cast<std::uint8_t*>(&block), kSingleBlockSize, kSingleBlockSize,
                      returned);
    }
    if (std::chrono::steady_clock::now() > deadline) {
      std::lock_guard lock(slot.mutex);
      if (slot.thread.joinable()) slot.thread.detach();  // it ends by itself once its wait returns
      return false;
    }
    std::this_thread::sleep_for(kAbortInterval);
  }
  std::lock_guard lock(slot.mutex);
  if (slot.thread.joinable()) slot.thread.join();
  return true;
}

void Ch365DeviceTable::InterruptLoop(Slot& slot) {
  std::shared_ptr<Ch365Bus> bus;
  std::string path;
  {
    std::lock_guard lock(slot.mutex);
    bus = slot.bus;
    path = slot.path;
  }
  std::shared_ptr<Ch365Handle> handle = bus ? bus->Open(path, true) : nullptr;
  if (handle) {
    {
      std::lock_guard lock(slot.mutex);
      slot.interruptHandle = handle;
    }
    while (slot.routine != nullptr) {
      CH365_CMD_BLOCK block{kWaitInterrupt, 0, 0, {}};
      std::uint32_t returned = 0;
      if (handle->Control(kIoControlCode, reinterpret_cast<std::uint8_t*>(&block), kSingleBlockSize,
                          kSingleBlockSize, returned)) {
        if (CH365_INT_ROUTINE routine = slot.routine) routine();
      } else {
        if (slot.routine == nullptr) break;
        std::this_thread::sleep_for(kWaitRetry);
      }
    }
    std::lock_guard lock(slot.mutex);
    slot.interruptHandle.reset();
  }
  slot.threadId = 0;
}

}  // namespace drunvel
