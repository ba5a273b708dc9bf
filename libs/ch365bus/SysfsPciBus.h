#pragma once
// The bridges of the running machine, found and driven through sysfs: each
// PCI device folder whose vendor and device ids are the CH365's is a bridge;
// its I/O window is reached through the I/O resource file, its memory window
// by mapping the memory resource file, its configuration through "config".
// An open handle holds a shared flock on "config"; exclusive use takes it
// exclusively. Opening needs write access to the resource files (root or a
// udev rule); interrupts are not delivered through sysfs, so waits fail.
#include <string>

#include "libs/ch365bus/Ch365Bus.h"

namespace ch365 {

class SysfsPciBus : public Ch365Bus {
 public:
  explicit SysfsPciBus(std::string root = "/sys/bus/pci/devices");
  std::vector<std::string> DevicePaths() override;
  std::unique_ptr<Ch365Handle> Open(const std::string& path, bool forInterrupts) override;

 private:
  std::string root_;
};

}  // namespace ch365
