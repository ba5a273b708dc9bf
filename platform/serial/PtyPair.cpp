#include "platform/serial/PtyPair.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/serial/SerialPort.h"

namespace platform::serial {

PtyPair::~PtyPair() { Close(); }

bool PtyPair::Open(const std::string& linkPath) {
  Close();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    error_ = std::string("Cannot create a pseudo-terminal: ") + std::strerror(errno);
    Close();
    return false;
  }
  char name[128] = {};
  if (::ptsname_r(master_, name, sizeof name) != 0) {
    error_ = "Cannot name the pseudo-terminal";
    Close();
    return false;
  }
  slavePath_ = name;
  slaveHold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  SerialSettings raw;
  if (slaveHold_ < 0 || !ConfigureRawTerminal(slaveHold_, raw)) {
    error_ = std::string("Cannot set up the pseudo-terminal: ") + std::strerror(errno);
    Close();
    return false;
  }
  if (!linkPath.empty()) {
    ::unlink(linkPath.c_str());
    if (::symlink(name, linkPath.c_str()) != 0) {
      error_ = "Cannot make the link " + linkPath + ": " + std::strerror(errno);
      Close();
      return false;
    }
    linkPath_ = linkPath;
  }
  return true;
}

void PtyPair::Close() {
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
  linkPath_.clear();
  if (slaveHold_ >= 0) ::close(slaveHold_);
  if (master_ >= 0) ::close(master_);
  slaveHold_ = master_ = -1;
  slavePath_.clear();
}

}  // namespace platform::serial
