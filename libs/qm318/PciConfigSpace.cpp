#include "libs/qm318/PciConfigSpace.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace qm318 {
namespace {

class NoPciFunctions : public PciConfigSpace {
 public:
  std::vector<PciFunctionAddress> Functions() override { return {}; }
  std::uint32_t ReadDword(const PciFunctionAddress&, int) override { return 0xFFFFFFFFu; }
};

std::mutex g_mutex;
std::shared_ptr<PciConfigSpace> g_set;
// A replaced space stays alive: a scan may still be reading it.
std::vector<std::shared_ptr<PciConfigSpace>> g_retired;

// "0000:BB:DD.F"; other segments are out of reach of configuration mechanism 1.
bool ParseSysfsName(const std::string& name, PciFunctionAddress& out) {
  unsigned domain = 0, bus = 0, device = 0, function = 0;
  char tail = 0;
  if (std::sscanf(name.c_str(), "%4x:%2x:%2x.%1x%c", &domain, &bus, &device, &function, &tail) != 4) return false;
  if (domain != 0 || device > 31 || function > 7) return false;
  out = {static_cast<int>(bus), static_cast<int>(device), static_cast<int>(function)};
  return true;
}

}  // namespace

SysfsPciConfigSpace::SysfsPciConfigSpace(std::string root) : root_(std::move(root)) {}

std::vector<PciFunctionAddress> SysfsPciConfigSpace::Functions() {
  std::vector<PciFunctionAddress> out;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
    PciFunctionAddress at;
    if (ParseSysfsName(it->path().filename().string(), at)) out.push_back(at);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::uint32_t SysfsPciConfigSpace::ReadDword(const PciFunctionAddress& at, int offset) {
  if (offset < 0 || offset % 4 != 0) return 0xFFFFFFFFu;
  char name[32];
  std::snprintf(name, sizeof name, "0000:%02x:%02x.%x", at.bus, at.device, at.function);
  std::ifstream in(root_ + "/" + name + "/config", std::ios::binary);
  unsigned char bytes[4];
  if (!in || !in.seekg(offset) || !in.read(reinterpret_cast<char*>(bytes), 4)) return 0xFFFFFFFFu;
  // Configuration space is little-endian whatever the processor.
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

PciConfigSpace& PciConfigSpaceFor(platform::PortSpace& ports) {
  std::lock_guard lock(g_mutex);
  if (g_set) return *g_set;
  static SysfsPciConfigSpace sysfs;
  static NoPciFunctions none;
  if (dynamic_cast<platform::SimulatedPortSpace*>(&ports)) return none;
  return sysfs;
}

void SetPciConfigSpace(std::shared_ptr<PciConfigSpace> space) {
  std::lock_guard lock(g_mutex);
  if (g_set) g_retired.push_back(std::move(g_set));
  g_set = std::move(space);
}

}  // namespace qm318
