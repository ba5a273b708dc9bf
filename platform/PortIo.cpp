#include "platform/PortIo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Clock.h"
#include "platform/ReplaceableInstance.h"

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define VENDRIK_HAVE_PORT_IO 1
#else
#define VENDRIK_HAVE_PORT_IO 0
#endif

namespace platform {
namespace {

bool ValidSize(BYTE size) { return size == 1 || size == 2 || size == 4; }

DWORD MaskToSize(DWORD value, BYTE size) {
  if (size == 1) return value & 0xFF;
  if (size == 2) return value & 0xFFFF;
  return value;
}

#if VENDRIK_HAVE_PORT_IO
// Port permissions belong to the thread on Linux: each thread that touches a
// port gains them for itself. Ports below 0x400 need only the first part of
// the permission bitmap; a board above it (PCI bridges sit high) needs the
// whole bitmap, or the I/O privilege level where the bitmap cannot grow.
constexpr unsigned kLowPorts = 0x400;
constexpr unsigned kAllPorts = 0x10000;
enum Grant { kNone, kLow, kAll };
thread_local Grant t_grant = kNone;
thread_local bool t_usedIopl = false;

// Every byte of a wide access must be granted: a word at 0x3FF reaches 0x400.
bool GrantFor(WORD port, BYTE size) {
  const unsigned end = static_cast<unsigned>(port) + size;
  if (end > kAllPorts) return false;  // past the last port: no permission can cover it
  const bool high = end > kLowPorts;
  if (t_grant == kAll || (!high && t_grant == kLow)) return true;
  if (high) {
    if (ioperm(0, kAllPorts, 1) == 0) {
      t_grant = kAll;
    } else if (iopl(3) == 0) {
      t_grant = kAll;
      t_usedIopl = true;
    }
    return t_grant == kAll;
  }
  if (ioperm(0, kLowPorts, 1) == 0) t_grant = kLow;
  return t_grant == kLow;
}

class LinuxPortSpace : public PortSpace {
 public:
  bool Initialize() override { return GrantFor(0, 1); }

  void Shutdown() override {
    if (t_grant == kAll && !t_usedIopl) ioperm(0, kAllPorts, 0);
    if (t_grant == kLow) ioperm(0, kLowPorts, 0);
    if (t_usedIopl) iopl(0);
    t_grant = kNone;
    t_usedIopl = false;
  }

  bool Read(WORD port, DWORD& value, BYTE size) override {
    if (!ValidSize(size) || !GrantFor(port, size)) return false;
    if (size == 1) value = inb(port);
    else if (size == 2) value = inw(port);
    else value = inl(port);
    return true;
  }

  bool Write(WORD port, DWORD value, BYTE size) override {
    if (!ValidSize(size) || !GrantFor(port, size)) return false;
    if (size == 1) outb(static_cast<unsigned char>(value), port);
    else if (size == 2) outw(static_cast<unsigned short>(value), port);
    else outl(value, port);
    return true;
  }
};
#else
class LinuxPortSpace : public PortSpace {
 public:
  bool Initialize() override { return false; }
  void Shutdown() override {}
  bool Read(WORD, DWORD&, BYTE) override { return false; }
  bool Write(WORD, DWORD, BYTE) override { return false; }
};
#endif

ReplaceableInstance<PortSpace> g_port;

}  // namespace

bool SimulatedPortSpace::Initialize() { return true; }
void SimulatedPortSpace::Shutdown() {}

bool SimulatedPortSpace::Read(WORD port, DWORD& value, BYTE size) {
  if (!ValidSize(size)) return false;
  std::lock_guard lock(mutex_);
  DWORD v = 0xFF;
  auto queued = queued_.find(port);
  if (queued != queued_.end() && !queued->second.empty()) {
    v = queued->second.front();
    queued->second.pop_front();
  } else if (auto idle = idle_.find(port); idle != idle_.end()) {
    v = idle->second;
  }
  value = MaskToSize(v, size);
  // The clock is read only for a record: stepping with recording off stays cheap.
  if (recording_) accesses_.push_back(PortAccess{false, port, value, size, CurrentClock().NowMicros()});
  return true;
}

bool SimulatedPortSpace::Write(WORD port, DWORD value, BYTE size) {
  if (!ValidSize(size)) return false;
  std::lock_guard lock(mutex_);
  value = MaskToSize(value, size);
  last_[port] = value;
  if (recording_) accesses_.push_back(PortAccess{true, port, value, size, CurrentClock().NowMicros()});
  return true;
}

void SimulatedPortSpace::QueueInput(WORD port, DWORD value) {
  std::lock_guard lock(mutex_);
  queued_[port].push_back(value);
}

void SimulatedPortSpace::SetIdleInput(WORD port, DWORD value) {
  std::lock_guard lock(mutex_);
  idle_[port] = value;
}

std::vector<PortAccess> SimulatedPortSpace::Accesses() const {
  std::lock_guard lock(mutex_);
  return accesses_;
}

std::vector<PortAccess> SimulatedPortSpace::Writes(WORD port) const {
  std::lock_guard lock(mutex_);
  std::vector<PortAccess> out;
  for (const auto& a : accesses_)
    if (a.write && a.port == port) out.push_back(a);
  return out;
}

void SimulatedPortSpace::ClearAccesses() {
  std::lock_guard lock(mutex_);
  accesses_.clear();
}

void SimulatedPortSpace::SetRecording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
}

DWORD SimulatedPortSpace::LastWritten(WORD port) const {
  std::lock_guard lock(mutex_);
  const auto it = last_.find(port);
  return it == last_.end() ? 0 : it->second;
}

std::shared_ptr<PortSpace> MakeLinuxPortSpace() { return std::make_shared<LinuxPortSpace>(); }

std::shared_ptr<PortSpace> MakeConfiguredPortSpace() {
  const char* backend = std::getenv("VENDRIK_PORT_BACKEND");
  const std::string name = backend ? backend : "";
  if (name == "linux") return MakeLinuxPortSpace();
  if (!name.empty() && name != "simulated")
    std::fprintf(stderr, "VENDRIK_PORT_BACKEND=\"%s\" is not known (linux or simulated); using the simulated ports\n",
                 name.c_str());
  return std::make_shared<SimulatedPortSpace>();
}

PortSpace& CurrentPortSpace() {
  return g_port.Get(MakeConfiguredPortSpace);
}

void SetPortSpace(std::shared_ptr<PortSpace> space) {
  g_port.Set(std::move(space));
}

}  // namespace platform

bool InitializeWinIo() { return platform::CurrentPortSpace().Initialize(); }

void ShutdownWinIo() { platform::CurrentPortSpace().Shutdown(); }

bool GetPortVal(WORD port, DWORD* value, BYTE size) {
  if (!value) return false;
  return platform::CurrentPortSpace().Read(port, *value, size);
}

bool SetPortVal(WORD port, DWORD value, BYTE size) { return platform::CurrentPortSpace().Write(port, value, size); }
