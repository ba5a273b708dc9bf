#pragma once
// PCI configuration space as the card scan reads it. On Linux the kernel
// serves it from sysfs, so the scan never touches the configuration ports
// 0xCF8/0xCFC; a simulated bus supplies its own.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/PortIo.h"

namespace qm318 {

struct PciFunctionAddress {
  int bus = 0;
  int device = 0;
  int function = 0;
  auto operator<=>(const PciFunctionAddress&) const = default;
};

class PciConfigSpace {
 public:
  virtual ~PciConfigSpace() = default;
  // Functions present on segment 0, in ascending bus, device, function order.
  virtual std::vector<PciFunctionAddress> Functions() = 0;
  // The 32-bit register at offset (a multiple of 4); 0xFFFFFFFF when it cannot be read.
  virtual std::uint32_t ReadDword(const PciFunctionAddress& at, int offset) = 0;
};

// Reads <root>/0000:BB:DD.F/config; root is normally /sys/bus/pci/devices.
class SysfsPciConfigSpace : public PciConfigSpace {
 public:
  explicit SysfsPciConfigSpace(std::string root = "/sys/bus/pci/devices");
  std::vector<PciFunctionAddress> Functions() override;
  std::uint32_t ReadDword(const PciFunctionAddress& at, int offset) override;

 private:
  std::string root_;
};

// The configuration space a card scan over these ports uses: the one set
// here, else sysfs for real ports. Cards found in sysfs cannot be reached
// through the platform's simulated port space, so with that backend the scan
// sees no function at all.
PciConfigSpace& PciConfigSpaceFor(platform::PortSpace& ports);
// Null goes back to the choice by backend.
void SetPciConfigSpace(std::shared_ptr<PciConfigSpace> space);

}  // namespace qm318
