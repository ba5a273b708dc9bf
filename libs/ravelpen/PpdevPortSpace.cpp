#include "libs/ravelpen/PpdevPortSpace.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if defined(__linux__)
#include <linux/ppdev.h>
#endif

namespace ravelpen {

PpdevPortSpace::PpdevPortSpace(std::string device) : device_(std::move(device)) {}

PpdevPortSpace::~PpdevPortSpace() { Shutdown(); }

bool PpdevPortSpace::Initialize() {
#if defined(__linux__)
  if (fd_ >= 0) return true;
  fd_ = ::open(device_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) return false;
  if (::ioctl(fd_, PPCLAIM) != 0) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
#else
  return false;
#endif
}

void PpdevPortSpace::Shutdown() {
#if defined(__linux__)
  if (fd_ < 0) return;
  ::ioctl(fd_, PPRELEASE);
  ::close(fd_);
  fd_ = -1;
#endif
}

bool PpdevPortSpace::Read(WORD port, DWORD& value, BYTE size) {
#if defined(__linux__)
  if (fd_ < 0 || size != 1 || port != 889) return false;
  unsigned char status = 0;
  if (::ioctl(fd_, PPRSTATUS, &status) != 0) return false;
  value = status;
  return true;
#else
  (void)port, (void)value, (void)size;
  return false;
#endif
}

bool PpdevPortSpace::Write(WORD port, DWORD value, BYTE size) {
#if defined(__linux__)
  if (fd_ < 0 || size != 1) return false;
  unsigned char byte = static_cast<unsigned char>(value & 0xFF);
  if (port == 888) return ::ioctl(fd_, PPWDATA, &byte) == 0;
  if (port == 890) return ::ioctl(fd_, PPWCONTROL, &byte) == 0;
  return false;
#else
  (void)port, (void)value, (void)size;
  return false;
#endif
}

}  // namespace ravelpen
