#include "platform/serial/SerialDiscovery.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/serial/SerialPort.h"

namespace platform::serial {
namespace fs = std::filesystem;

bool SerialDiscovery::Probe(const std::string& path) { return ProbeSerialDevice(path); }

bool IsAdapterDriver(const std::string& driver) {
  // CH340/CH341 ("USB-SERIAL CH341", CH340SER, CH341SER) and Prolific (Ser2pl).
  return driver == "ch341-uart" || driver == "ch341" || driver == "pl2303";
}

std::vector<SerialCandidate> SysfsSerialDiscovery::Find() {
  std::vector<SerialCandidate> found;
  std::error_code ec;
  fs::directory_iterator it(sys_, ec);
  if (ec) return found;
  for (const auto& entry : it) {
    const std::string name = entry.path().filename().string();
    // Adapters appear as ttyUSB<n>; the number after it gives the port number.
    if (name.rfind("ttyUSB", 0) != 0 || name.size() == 6) continue;
    const std::string digits = name.substr(6);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    if (digits.size() > 3) continue;
    int index = std::atoi(digits.c_str());
    if (index > 254) continue;
    fs::path driverLink = entry.path() / "device" / "driver";
    fs::path target = fs::read_symlink(driverLink, ec);
    if (ec) {
      ec.clear();
      continue;
    }
    if (!IsAdapterDriver(target.filename().string())) continue;
    found.push_back({index + 1, (fs::path(dev_) / name).string()});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
  return found;
}

std::shared_ptr<SerialDiscovery> MakeDefaultSerialDiscovery() {
  if (const char* configured = std::getenv("VENDRIK_SERIAL_DEVICE"); configured && *configured)
    return std::make_shared<FixedSerialDiscovery>(std::vector<SerialCandidate>{{1, configured}});
  return std::make_shared<SysfsSerialDiscovery>();
}

}  // namespace platform::serial
