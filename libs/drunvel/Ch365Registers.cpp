// Operations on the bridge's own registers: the I2C master, the counter the
// hardware delay is timed by, and the version queries.
#include <chrono>

#include "libs/drunvel/Ch365DeviceTable.h"
#include "libs/drunvel/Drunvel.h"

namespace {

using namespace ch365;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLibraryVersion = 21;
constexpr std::uint32_t kMicrosPerWrap = 983;  // 256 counts of 3.84 microseconds
constexpr std::uint32_t kTicksPerWrap = 256;
constexpr std::uint32_t kShortDelayLimit = 10;  // up to this, three counter reads per microsecond
constexpr std::uint32_t kI2cSettleMicros = 4;
// A transfer takes well under a millisecond; a bridge that never clears its
// busy bit is given up on after this.
constexpr auto kI2cLimit = std::chrono::milliseconds(50);
// The counter moves every 3.84 microseconds; one that shows the same value
// this long has stopped, and the delay waiting on it gives up.
constexpr auto kCounterStuckLimit = std::chrono::milliseconds(20);

bool ReadCounter(std::uint32_t index, std::uint8_t& value) {
  return CH365mReadIoByte(index, kRegCounter, &value) != 0;
}

// Waits by the counter of bridge index, counting elapsed ticks so that a
// reading that skips a value cannot make the wait miss its end; false when the
// counter cannot be read or stops moving.
constexpr std::uint32_t kStuckReadsMin = 1000;

bool DelayOn(std::uint32_t index, std::uint32_t micros) {
  const std::uint32_t wraps = micros / kMicrosPerWrap;
  const std::uint32_t rest = micros % kMicrosPerWrap;
  const std::uint64_t ticks =
      static_cast<std::uint64_t>(wraps) * kTicksPerWrap + (rest > kShortDelayLimit ? rest * 50 / 192 : 0);
  if (ticks > 0) {
    std::uint8_t previous = 0;
    if (!ReadCounter(index, previous)) return false;
    std::uint64_t elapsed = 0;
    auto lastMove = Clock::now();
    // Stuck takes both many reads without a change and the time limit, so a
    // thread the system holds off between two reads is not taken for a
    // counter that stopped.
    std::uint32_t unchangedReads = 0;
    while (elapsed < ticks) {
      std::uint8_t current = 0;
      if (!ReadCounter(index, current)) return false;
      if (current != previous) {
        elapsed += static_cast<std::uint8_t>(current - previous);
        previous = current;
        lastMove = Clock::now();
        unchangedReads = 0;
      } else if (++unchangedReads >= kStuckReadsMin && Clock::now() - lastMove > kCounterStuckLimit) {
        return false;
      }
    }
  }
  if (rest <= kShortDelayLimit) {
    for (std::uint32_t i = 0; i < rest * 3; ++i) {
      std::uint8_t value = 0;
      if (!ReadCounter(index, value)) return false;
    }
  }
  return true;
}

// One byte through the bridge's I2C master.
int I2cTransfer(std::uint32_t index, std::uint8_t device, std::uint8_t address, bool read, std::uint8_t data,
                std::uint8_t* out) {
  const auto deviceByte = static_cast<std::uint8_t>(read ? (device << 1) | 1 : (device << 1) & 0xFE);
  if (!CH365mWriteIoByte(index, kRegI2cDevice, deviceByte)) return 0;
  if (!CH365mWriteIoByte(index, kRegI2cByteAddress, address)) return 0;
  if (!read && !CH365mWriteIoByte(index, kRegI2cData, data)) return 0;
  std::uint8_t control = 0;
  if (!CH365mReadIoByte(index, kRegI2cControl, &control)) return 0;
  if (!CH365mWriteIoByte(index, kRegI2cControl, static_cast<std::uint8_t>(control | 1))) return 0;
  const auto deadline = Clock::now() + kI2cLimit;
  for (;;) {
    std::uint8_t status = 0;
    if (!CH365mReadIoByte(index, kRegI2cControl, &status)) return 0;
    if ((status & 1) == 0) break;
    if (Clock::now() > deadline) return 0;
  }
  if (read && !CH365mReadIoByte(index, kRegI2cData, out)) return 0;
  DelayOn(index, kI2cSettleMicros);
  return 1;
}

}  // namespace

extern "C" {

int CH365mReadI2C(std::uint32_t index, std::uint8_t device, std::uint8_t address, std::uint8_t* value) {
  if (value == nullptr) return 0;
  return I2cTransfer(index, device, address, true, 0, value);
}

int CH365mWriteI2C(std::uint32_t index, std::uint8_t device, std::uint8_t address, std::uint8_t value) {
  return I2cTransfer(index, device, address, false, value, nullptr);
}

int CH365DelayUS(std::uint32_t micros) {
  const int index = drunvel::Ch365DeviceTable::Instance().FirstOpen();
  if (index < 0) return 0;
  return DelayOn(static_cast<std::uint32_t>(index), micros) ? 1 : 0;
}

std::uint32_t CH365GetVersion() { return kLibraryVersion; }

std::uint32_t CH365GetDrvVersion() {
  const int index = drunvel::Ch365DeviceTable::Instance().FirstOpen();
  if (index < 0) return 0;
  std::uint32_t data = 0;
  if (!drunvel::Ch365DeviceTable::Instance().Single(static_cast<std::uint32_t>(index), kDriverVersion, 0, 0, data)) {
    return 0;
  }
  return data & 0xFF;
}

}  // extern "C"
