#pragma once
// In place of the CH365 kernel driver and its device interface: a bus lists
// the bridges present, in a fixed order, and opens a handle to one of them;
// a handle runs command blocks sent as device-control requests. The process
// uses the sysfs bus unless a test installs another.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ch365 {

class Ch365Handle {
 public:
  virtual ~Ch365Handle() = default;
  // The value the open call hands to its caller.
  virtual std::intptr_t Value() const = 0;
  // Runs the command block in buffer (inSize bytes) and returns up to outSize
  // bytes in the same buffer; false when the request fails.
  virtual bool Control(std::uint32_t code, std::uint8_t* buffer, std::uint32_t inSize, std::uint32_t outSize,
                       std::uint32_t& returned) = 0;
};

class Ch365Bus {
 public:
  virtual ~Ch365Bus() = default;
  // Paths of the bridges present; a device index is a position in this list.
  virtual std::vector<std::string> DevicePaths() = 0;
  // forInterrupts: the second handle an interrupt thread waits on; it takes
  // no part in the exclusive-use lock. Null when the bridge cannot be opened.
  virtual std::unique_ptr<Ch365Handle> Open(const std::string& path, bool forInterrupts) = 0;
};

std::shared_ptr<Ch365Bus> CurrentBus();
void SetBus(std::shared_ptr<Ch365Bus> bus);

}  // namespace ch365
