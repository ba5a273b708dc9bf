#include "platform/serial/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace platform::serial {
namespace {

speed_t SpeedOf(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return 0;
  }
}

std::string ErrnoText(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool ConfigureRawTerminal(int fd, const SerialSettings& settings) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP);
  tio.c_oflag &= ~static_cast<tcflag_t>(OPOST | ONLCR | OCRNL);
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  switch (settings.dataBits) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    default: tio.c_cflag |= CS8; break;
  }
  if (settings.parity == 'o') tio.c_cflag |= PARENB | PARODD;
  if (settings.parity == 'e') tio.c_cflag |= PARENB;
  if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  speed_t speed = SpeedOf(settings.baud);
  if (speed == 0) {
    errno = EINVAL;
    return false;
  }
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool ProbeSerialDevice(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);  // also drops the lock
  return ok;
}

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() { Close(); }

bool SerialPort::Open(const std::string& path, const SerialSettings& settings) {
  Close();
  error_.clear();
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_ = ErrnoText("Cannot open", path);
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error_ = "Serial port " + path + " is in use by another program";
    ::close(fd);
    return false;
  }
  if (!ConfigureRawTerminal(fd, settings)) {
    error_ = ErrnoText("Cannot configure", path);
    ::close(fd);
    return false;
  }
  if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    error_ = ErrnoText("Cannot create wake pipe for", path);
    ::close(fd);
    wakePipe_[0] = wakePipe_[1] = -1;
    return false;
  }
  tcflush(fd, TCIOFLUSH);
  fd_ = fd;
  path_ = path;
  return true;
}

void SerialPort::Close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  for (int& p : wakePipe_) {
    if (p >= 0) ::close(p);
    p = -1;
  }
}

bool SerialPort::Write(const void* data, std::size_t length) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (length > 0) {
    if (fd_ < 0) return false;
    ssize_t n = ::write(fd_, bytes, length);
    if (n > 0) {
      bytes += n;
      length -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd p{fd_, POLLOUT, 0};
      if (::poll(&p, 1, 1000) < 0 && errno != EINTR) return false;
      continue;
    }
    error_ = ErrnoText("Cannot write to", path_);
    return false;
  }
  return true;
}

long SerialPort::Read(void* buffer, std::size_t max, int timeoutMs) {
  if (fd_ < 0) return -1;
  pollfd p[2] = {{fd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
  int r = ::poll(p, 2, timeoutMs);
  if (r < 0) return errno == EINTR ? 0 : -1;
  if (r == 0) return 0;
  if (p[1].revents & POLLIN) {
    unsigned char drain[64];
    while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
    }
    if (!(p[0].revents & POLLIN)) return 0;
  }
  if (p[0].revents & POLLIN) {
    ssize_t n = ::read(fd_, buffer, max);
    if (n > 0) return n;
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return -1;
  }
  if (p[0].revents & (POLLERR | POLLNVAL)) return -1;
  if (p[0].revents & POLLHUP) {
    // A pseudo-terminal without its other side: nothing to read yet.
    ::usleep(1000);
    return 0;
  }
  return 0;
}

void SerialPort::Wake() {
  if (wakePipe_[1] >= 0) {
    unsigned char b = 1;
    [[maybe_unused]] ssize_t n = ::write(wakePipe_[1], &b, 1);
  }
}

void SerialPort::FlushInput() {
  if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

}  // namespace platform::serial
