#include "libs/ch365bus/SysfsPciBus.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "libs/ch365bus/Ch365Commands.h"
#include "libs/ch365bus/Ch365DriverHandle.h"

namespace ch365 {
namespace {

namespace fs = std::filesystem;

constexpr unsigned long long kResourceIo = 0x100;
constexpr unsigned long long kResourceMem = 0x200;
constexpr std::uint32_t kIntLineOffset = 0x3C;

unsigned long ReadHexFile(const fs::path& path) {
  std::ifstream in(path);
  std::string text;
  in >> text;
  return text.empty() ? 0 : std::strtoul(text.c_str(), nullptr, 16);
}

struct Region {
  int index = -1;
  std::uint64_t start = 0;
  std::uint64_t size = 0;
};

// The first I/O and the first memory region of the "resource" listing.
void FindRegions(const fs::path& dir, Region& io, Region& mem) {
  std::ifstream in(dir / "resource");
  std::string line;
  for (int index = 0; index < 6 && std::getline(in, line); ++index) {
    std::istringstream fields(line);
    std::string a, b, c;
    fields >> a >> b >> c;
    const std::uint64_t start = std::strtoull(a.c_str(), nullptr, 16);
    const std::uint64_t end = std::strtoull(b.c_str(), nullptr, 16);
    const std::uint64_t flags = std::strtoull(c.c_str(), nullptr, 16);
    if (end <= start) continue;
    Region r{index, start, end - start + 1};
    if ((flags & kResourceIo) != 0 && io.index < 0) io = r;
    if ((flags & kResourceMem) != 0 && mem.index < 0) mem = r;
  }
}

class SysfsCh365 : public Ch365Hardware {
 public:
  ~SysfsCh365() override {
    if (map_ != nullptr) ::munmap(const_cast<std::uint8_t*>(map_), mem_.size);
    if (memFd_ >= 0) ::close(memFd_);
    if (ioFd_ >= 0) ::close(ioFd_);
    if (configFd_ >= 0) ::close(configFd_);
  }

  bool Open(const fs::path& dir, bool forInterrupts) {
    configFd_ = ::open((dir / "config").c_str(), O_RDWR | O_CLOEXEC);
    if (configFd_ < 0) configFd_ = ::open((dir / "config").c_str(), O_RDONLY | O_CLOEXEC);
    if (configFd_ < 0) return false;
    takesLock_ = !forInterrupts;
    if (takesLock_ && ::flock(configFd_, LOCK_SH | LOCK_NB) != 0) return false;  // held exclusively elsewhere
    FindRegions(dir, io_, mem_);
    if (io_.index < 0) return false;
    ioFd_ = ::open((dir / ("resource" + std::to_string(io_.index))).c_str(), O_RDWR | O_CLOEXEC);
    if (ioFd_ < 0) return false;
    if (mem_.index >= 0) {
      memFd_ = ::open((dir / ("resource" + std::to_string(mem_.index))).c_str(), O_RDWR | O_CLOEXEC);
      if (memFd_ >= 0) {
        void* p = ::mmap(nullptr, mem_.size, PROT_READ | PROT_WRITE, MAP_SHARED, memFd_, 0);
        map_ = p == MAP_FAILED ? nullptr : static_cast<volatile std::uint8_t*>(p);
      }
    }
    return true;
  }

  int ConfigFd() const { return configFd_; }

  std::uint32_t IoBase() override { return static_cast<std::uint32_t>(io_.start); }
  std::uint32_t MemBase() override { return static_cast<std::uint32_t>(mem_.start); }
  std::uint32_t IntLine() override {
    std::uint8_t line = 0;
    return ReadConfig(kIntLineOffset, line) ? line : 0;
  }
  // The kernel owns the windows' placement; moving them behind its back
  // would leave its resource records wrong.
  bool SetIoBase(std::uint32_t base) override { return base == IoBase(); }
  bool SetMemBase(std::uint32_t base) override { return mem_.index >= 0 && base == MemBase(); }
  bool SetIntLine(std::uint32_t line) override { return WriteConfig(kIntLineOffset, static_cast<std::uint8_t>(line)); }

  bool ReadIo(std::uint32_t address, std::uint32_t& value, int size) override {
    std::uint64_t offset = 0;
    if (!InIo(address, size, offset)) return false;
    std::uint8_t bytes[4] = {};
    if (::pread(ioFd_, bytes, size, static_cast<off_t>(offset)) != size) return false;
    value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return true;
  }

  bool WriteIo(std::uint32_t address, std::uint32_t value, int size) override {
    std::uint64_t offset = 0;
    if (!InIo(address, size, offset)) return false;
    std::uint8_t bytes[4];
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return ::pwrite(ioFd_, bytes, size, static_cast<off_t>(offset)) == size;
  }

  bool ReadMem(std::uint32_t address, std::uint8_t* data, std::uint32_t length) override {
    std::uint64_t offset = 0;
    if (!InMem(address, length, offset)) return false;
    for (std::uint32_t i = 0; i < length; ++i) data[i] = map_[offset + i];
    return true;
  }

  bool WriteMem(std::uint32_t address, const std::uint8_t* data, std::uint32_t length) override {
    std::uint64_t offset = 0;
    if (!InMem(address, length, offset)) return false;
    for (std::uint32_t i = 0; i < length; ++i) map_[offset + i] = data[i];
    return true;
  }

  bool ReadConfig(std::uint32_t offset, std::uint8_t& value) override {
    return offset < 256 && ::pread(configFd_, &value, 1, offset) == 1;
  }
  bool WriteConfig(std::uint32_t offset, std::uint8_t value) override {
    return offset < 256 && ::pwrite(configFd_, &value, 1, offset) == 1;
  }

  bool WaitInterrupt() override { return false; }
  void AbortWait() override {}
  bool SetExclusive(bool exclusive) override {
    if (!takesLock_) return false;
    return ::flock(configFd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
  }

 private:
  bool InIo(std::uint32_t address, int size, std::uint64_t& offset) const {
    if ((size != 1 && size != 2 && size != 4) || address < io_.start) return false;
    offset = address - io_.start;
    return offset + size <= io_.size;
  }
  bool InMem(std::uint32_t address, std::uint32_t length, std::uint64_t& offset) const {
    if (map_ == nullptr || address < mem_.start) return false;
    offset = address - mem_.start;
    return offset <= mem_.size && length <= mem_.size - offset;
  }

  int configFd_ = -1;
  int ioFd_ = -1;
  int memFd_ = -1;
  bool takesLock_ = true;
  Region io_;
  Region mem_;
  volatile std::uint8_t* map_ = nullptr;
};

}  // namespace

SysfsPciBus::SysfsPciBus(std::string root) : root_(std::move(root)) {}

std::vector<std::string> SysfsPciBus::DevicePaths() {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root_, ec)) {
    const fs::path dir = entry.path();
    if (ReadHexFile(dir / "vendor") == kVendorId && ReadHexFile(dir / "device") == kDeviceId) {
      paths.push_back(dir.string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::unique_ptr<Ch365Handle> SysfsPciBus::Open(const std::string& path, bool forInterrupts) {
  auto hardware = std::make_shared<SysfsCh365>();
  if (!hardware->Open(path, forInterrupts)) return nullptr;
  const int fd = hardware->ConfigFd();
  return std::make_unique<Ch365DriverHandle>(std::move(hardware), fd);
}

}  // namespace ch365
