#pragma once
// Finding the USB-serial adapter of the controller board. Each port found has
// a number (the program's port numbers start at 1) and a device path. Sources:
// a configured device ($VENDRIK_SERIAL_DEVICE), or the kernel's serial devices
// whose driver is one of the adapters the board ships with (CH340/CH341 and
// Prolific) under /sys/class/tty.
#include <memory>
#include <string>
#include <vector>

namespace platform::serial {

struct SerialCandidate {
  int number = 0;    // 1.. (ttyUSB0 is 1)
  std::string path;  // device to open
};

class SerialDiscovery {
 public:
  virtual ~SerialDiscovery() = default;
  virtual std::vector<SerialCandidate> Find() = 0;
  // Exclusive test open (closed again at once).
  virtual bool Probe(const std::string& path);
};

// A fixed list: a configured device or a test's injection.
class FixedSerialDiscovery : public SerialDiscovery {
 public:
  explicit FixedSerialDiscovery(std::vector<SerialCandidate> ports) : ports_(std::move(ports)) {}
  std::vector<SerialCandidate> Find() override { return ports_; }

 private:
  std::vector<SerialCandidate> ports_;
};

// Serial devices under sysClassTty (normally /sys/class/tty) whose
// device/driver link names an adapter driver; devices are opened under devDir.
class SysfsSerialDiscovery : public SerialDiscovery {
 public:
  explicit SysfsSerialDiscovery(std::string sysClassTty = "/sys/class/tty", std::string devDir = "/dev")
      : sys_(std::move(sysClassTty)), dev_(std::move(devDir)) {}
  std::vector<SerialCandidate> Find() override;

 private:
  std::string sys_;
  std::string dev_;
};

// Whether a kernel driver name belongs to an adapter the board uses.
bool IsAdapterDriver(const std::string& driver);

// $VENDRIK_SERIAL_DEVICE when set (as port 1), else the sysfs search.
std::shared_ptr<SerialDiscovery> MakeDefaultSerialDiscovery();

}  // namespace platform::serial
