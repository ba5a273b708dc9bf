#include "libs/ch365bus/SimulatedCh365.h"

#include <cstring>

#include "libs/ch365bus/Ch365Commands.h"
#include "libs/ch365bus/Ch365DriverHandle.h"

namespace ch365 {
namespace {

constexpr int kBar0 = 0x10;  // I/O window
constexpr int kBar1 = 0x14;  // memory window
constexpr int kIntLineOffset = 0x3C;
constexpr double kMicrosPerCount = 3.84;

}  // namespace

SimulatedCh365::SimulatedCh365(std::uint32_t ioBase, std::uint32_t memBase, std::uint8_t intLine)
    : mem_(kMemWindowSize, 0) {
  eeprom_.fill(0xFF);
  config_[0] = kVendorId & 0xFF;
  config_[1] = kVendorId >> 8;
  config_[2] = kDeviceId & 0xFF;
  config_[3] = kDeviceId >> 8;
  config_[0x0B] = 0x08;  // other system peripheral
  config_[0x0E] = 0x00;
  SetBarLocked(kBar0, ioBase);
  SetBarLocked(kBar1, memBase);
  config_[kIntLineOffset] = intLine;
  config_[0x3D] = 1;  // INTA
}

// Base address registers keep only the bits their window size allows, as a
// real one does (writing all ones reads back the size mask).
void SimulatedCh365::SetBarLocked(int offset, std::uint32_t value) {
  const std::uint32_t v = offset == kBar0 ? ((value & ~(kIoWindowSize - 1)) | 1u) : (value & ~(kMemWindowSize - 1));
  for (int i = 0; i < 4; ++i) config_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t SimulatedCh365::BarLocked(int offset) const {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | config_[offset + i];
  return offset == kBar0 ? (v & ~3u) : (v & ~0xFu);
}

std::uint32_t SimulatedCh365::IoBase() {
  std::lock_guard lock(mutex_);
  return BarLocked(kBar0);
}

std::uint32_t SimulatedCh365::MemBase() {
  std::lock_guard lock(mutex_);
  return BarLocked(kBar1);
}

std::uint32_t SimulatedCh365::IntLine() {
  std::lock_guard lock(mutex_);
  return config_[kIntLineOffset];
}

bool SimulatedCh365::SetIoBase(std::uint32_t base) {
  std::lock_guard lock(mutex_);
  SetBarLocked(kBar0, base);
  return true;
}

bool SimulatedCh365::SetMemBase(std::uint32_t base) {
  std::lock_guard lock(mutex_);
  SetBarLocked(kBar1, base);
  return true;
}

bool SimulatedCh365::SetIntLine(std::uint32_t line) {
  std::lock_guard lock(mutex_);
  config_[kIntLineOffset] = static_cast<std::uint8_t>(line);
  return true;
}

std::uint8_t SimulatedCh365::ReadByteLocked(std::uint32_t offset) {
  if (offset == kRegCounter) {
    ++counterReads_;
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(micros_ / kMicrosPerCount) & 0xFF);
  }
  if (offset == kRegI2cControl && (io_[offset] & 1) != 0 && !i2cStuck_) {
    if (i2cBusyLeft_ > 0) {
      --i2cBusyLeft_;
    } else {
      FinishI2cLocked();
    }
    return io_[offset];
  }
  if (offset >= kFirstChipRegister) return io_[offset];
  auto queued = queued_.find(offset);
  if (queued != queued_.end() && !queued->second.empty()) {
    const std::uint8_t v = queued->second.front();
    queued->second.pop_front();
    return v;
  }
  auto idle = idle_.find(offset);
  return idle != idle_.end() ? idle->second : 0xFF;
}

void SimulatedCh365::WriteByteLocked(std::uint32_t offset, std::uint8_t value) {
  io_[offset] = value;
  if (offset == kRegI2cControl && (value & 1) != 0) i2cBusyLeft_ = i2cBusyReads_;
}

// Ends the running transfer: a read fetches the addressed EEPROM byte into
// the data register, a write stores the data register; nobody else answers.
void SimulatedCh365::FinishI2cLocked() {
  const std::uint8_t device = io_[kRegI2cDevice];
  const std::uint8_t address = io_[kRegI2cByteAddress];
  const bool read = (device & 1) != 0;
  if ((device >> 1) == kEepromDevice) {
    if (read) {
      io_[kRegI2cData] = eeprom_[address];
    } else {
      eeprom_[address] = io_[kRegI2cData];
    }
  } else if (read) {
    io_[kRegI2cData] = 0xFF;
  }
  io_[kRegI2cControl] &= static_cast<std::uint8_t>(~1u);
}

bool SimulatedCh365::ReadIo(std::uint32_t address, std::uint32_t& value, int size) {
  std::lock_guard lock(mutex_);
  const std::uint32_t base = BarLocked(kBar0);
  if ((size != 1 && size != 2 && size != 4) || address < base || address - base + size > kIoWindowSize) return false;
  if (!counterFrozen_) micros_ += microsPerAccess_;
  const std::uint32_t offset = address - base;
  value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(ReadByteLocked(offset + i)) << (8 * i);
  accesses_.push_back({Space::Io, false, offset, size, value});
  return true;
}

bool SimulatedCh365::WriteIo(std::uint32_t address, std::uint32_t value, int size) {
  std::lock_guard lock(mutex_);
  const std::uint32_t base = BarLocked(kBar0);
  if ((size != 1 && size != 2 && size != 4) || address < base || address - base + size > kIoWindowSize) return false;
  if (!counterFrozen_) micros_ += microsPerAccess_;
  const std::uint32_t offset = address - base;
  for (int i = 0; i < size; ++i) WriteByteLocked(offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
  accesses_.push_back({Space::Io, true, offset, size, size == 4 ? value : value & ((1u << (8 * size)) - 1)});
  return true;
}

bool SimulatedCh365::ReadMem(std::uint32_t address, std::uint8_t* data, std::uint32_t length) {
  std::lock_guard lock(mutex_);
  const std::uint32_t base = BarLocked(kBar1);
  if (address < base || address - base > kMemWindowSize || length > kMemWindowSize - (address - base)) return false;
  std::memcpy(data, mem_.data() + (address - base), length);
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < length && i < 4; ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  accesses_.push_back({Space::Memory, false, address - base, static_cast<int>(length), value});
  return true;
}

bool SimulatedCh365::WriteMem(std::uint32_t address, const std::uint8_t* data, std::uint32_t length) {
  std::lock_guard lock(mutex_);
  const std::uint32_t base = BarLocked(kBar1);
  if (address < base || address - base > kMemWindowSize || length > kMemWindowSize - (address - base)) return false;
  std::memcpy(mem_.data() + (address - base), data, length);
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < length && i < 4; ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  accesses_.push_back({Space::Memory, true, address - base, static_cast<int>(length), value});
  return true;
}

bool SimulatedCh365::ReadConfig(std::uint32_t offset, std::uint8_t& value) {
  std::lock_guard lock(mutex_);
  if (offset >= config_.size()) return false;
  value = config_[offset];
  return true;
}

bool SimulatedCh365::WriteConfig(std::uint32_t offset, std::uint8_t value) {
  std::lock_guard lock(mutex_);
  if (offset >= config_.size()) return false;
  config_[offset] = value;
  return true;
}

bool SimulatedCh365::WaitInterrupt() {
  std::unique_lock lock(mutex_);
  const std::uint64_t generation = abortGeneration_;
  ++waiting_;
  interruptCv_.wait(lock, [&] { return interruptPending_ || abortGeneration_ != generation; });
  --waiting_;
  if (interruptPending_) {
    interruptPending_ = false;
    return true;
  }
  return false;
}

void SimulatedCh365::AbortWait() {
  {
    std::lock_guard lock(mutex_);
    ++abortGeneration_;
  }
  interruptCv_.notify_all();
}

bool SimulatedCh365::SetExclusive(bool exclusive) {
  std::lock_guard lock(mutex_);
  exclusive_ = exclusive;
  return true;
}

void SimulatedCh365::QueueInput(std::uint32_t offset, std::uint8_t value) {
  std::lock_guard lock(mutex_);
  queued_[offset].push_back(value);
}

void SimulatedCh365::SetIdleInput(std::uint32_t offset, std::uint8_t value) {
  std::lock_guard lock(mutex_);
  idle_[offset] = value;
}

std::vector<SimulatedCh365::Access> SimulatedCh365::Accesses() const {
  std::lock_guard lock(mutex_);
  return accesses_;
}

std::vector<SimulatedCh365::Access> SimulatedCh365::IoWrites() const {
  std::lock_guard lock(mutex_);
  std::vector<Access> writes;
  for (const Access& a : accesses_) {
    if (a.space == Space::Io && a.write) writes.push_back(a);
  }
  return writes;
}

void SimulatedCh365::ClearAccesses() {
  std::lock_guard lock(mutex_);
  accesses_.clear();
  counterReads_ = 0;
}

std::uint8_t SimulatedCh365::IoByte(std::uint32_t offset) const {
  std::lock_guard lock(mutex_);
  return offset < io_.size() ? io_[offset] : 0;
}

std::uint8_t SimulatedCh365::MemByte(std::uint32_t offset) const {
  std::lock_guard lock(mutex_);
  return offset < mem_.size() ? mem_[offset] : 0;
}

std::uint8_t SimulatedCh365::EepromByte(std::uint8_t address) const {
  std::lock_guard lock(mutex_);
  return eeprom_[address];
}

void SimulatedCh365::SetEepromByte(std::uint8_t address, std::uint8_t value) {
  std::lock_guard lock(mutex_);
  eeprom_[address] = value;
}

void SimulatedCh365::SetI2cBusyReads(int reads) {
  std::lock_guard lock(mutex_);
  i2cBusyReads_ = reads;
}

void SimulatedCh365::SetI2cStuck(bool stuck) {
  std::lock_guard lock(mutex_);
  i2cStuck_ = stuck;
}

void SimulatedCh365::SetMicrosPerAccess(double micros) {
  std::lock_guard lock(mutex_);
  microsPerAccess_ = micros;
}

void SimulatedCh365::FreezeCounter(bool frozen) {
  std::lock_guard lock(mutex_);
  counterFrozen_ = frozen;
}

int SimulatedCh365::CounterReads() const {
  std::lock_guard lock(mutex_);
  return counterReads_;
}

void SimulatedCh365::RaiseInterrupt() {
  {
    std::lock_guard lock(mutex_);
    interruptPending_ = true;
  }
  interruptCv_.notify_all();
}

int SimulatedCh365::WaitsInProgress() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

bool SimulatedCh365::Exclusive() const {
  std::lock_guard lock(mutex_);
  return exclusive_;
}

namespace {

// A driver handle that tells its bus what it receives and when it closes.
class SimulatedHandle : public Ch365DriverHandle {
 public:
  SimulatedHandle(std::shared_ptr<SimulatedCh365Bus> bus, std::shared_ptr<SimulatedCh365> chip, std::intptr_t value)
      : Ch365DriverHandle(std::move(chip), value), bus_(std::move(bus)) {}
  ~SimulatedHandle() override { bus_->HandleClosed(); }

  bool Control(std::uint32_t code, std::uint8_t* buffer, std::uint32_t inSize, std::uint32_t outSize,
               std::uint32_t& returned) override {
    if (buffer != nullptr && inSize >= kHeaderSize) {
      SimulatedCh365Bus::Block block;
      std::memcpy(&block.command, buffer, 4);
      std::memcpy(&block.address, buffer + 4, 4);
      std::memcpy(&block.length, buffer + 8, 4);
      block.size = inSize;
      bus_->Record(block);
      if (bus_->Fails(block.command)) return false;
    }
    return Ch365DriverHandle::Control(code, buffer, inSize, outSize, returned);
  }

 private:
  std::shared_ptr<SimulatedCh365Bus> bus_;
};

}  // namespace

std::shared_ptr<SimulatedCh365> SimulatedCh365Bus::AddBoard(std::shared_ptr<SimulatedCh365> chip) {
  std::lock_guard lock(mutex_);
  boards_.push_back(chip);
  return chip;
}

std::vector<std::string> SimulatedCh365Bus::DevicePaths() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < boards_.size(); ++i) paths.push_back("sim-ch365-" + std::to_string(i));
  return paths;
}

std::unique_ptr<Ch365Handle> SimulatedCh365Bus::Open(const std::string& path, bool /*forInterrupts*/) {
  std::shared_ptr<SimulatedCh365> chip;
  std::intptr_t value = 0;
  {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < boards_.size(); ++i) {
      if (path == "sim-ch365-" + std::to_string(i)) chip = boards_[i];
    }
    if (!chip) return nullptr;
    ++openHandles_;
    value = nextHandle_++;
  }
  return std::make_unique<SimulatedHandle>(shared_from_this(), std::move(chip), value);
}

std::vector<SimulatedCh365Bus::Block> SimulatedCh365Bus::Blocks() const {
  std::lock_guard lock(mutex_);
  return blocks_;
}

void SimulatedCh365Bus::ClearBlocks() {
  std::lock_guard lock(mutex_);
  blocks_.clear();
}

void SimulatedCh365Bus::FailCommand(std::uint32_t command) {
  std::lock_guard lock(mutex_);
  failing_ = command;
}

bool SimulatedCh365Bus::Fails(std::uint32_t command) const {
  std::lock_guard lock(mutex_);
  return failing_ != 0 && failing_ == command;
}

int SimulatedCh365Bus::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return openHandles_;
}

void SimulatedCh365Bus::Record(const Block& block) {
  std::lock_guard lock(mutex_);
  blocks_.push_back(block);
}

void SimulatedCh365Bus::HandleClosed() {
  std::lock_guard lock(mutex_);
  --openHandles_;
}

}  // namespace ch365
