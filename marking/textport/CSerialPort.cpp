#include "marking/textport/CSerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "marking/link/LinkMessages.h"
#include "platform/Prompt.h"
#include "platform/serial/SerialPort.h"

using namespace std::chrono_literals;

std::string ComDevicePath(int portNumber) {
  const std::string name = "VENDRIK_COM" + std::to_string(portNumber);
  if (const char* configured = std::getenv(name.c_str()); configured && *configured) return configured;
  return "/dev/ttyS" + std::to_string(portNumber - 1);
}

namespace {

bool IsSupportedBaud(int baud) {
  switch (baud) {
    case 1200: case 2400: case 4800: case 9600: case 19200: case 38400: case 57600: case 115200: return true;
    default: return false;
  }
}

}  // namespace

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() {
  JoinMonitor();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ClosePortLocked();
  }
  for (int& p : wakePipe_) {
    if (p >= 0) ::close(p);
    p = -1;
  }
}

bool CSerialPort::IsOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fd_ >= 0;
}

void CSerialPort::SetShutdown() {
  shutdownEvent_.Set();
  if (wakePipe_[1] >= 0) {
    const unsigned char b = 1;
    [[maybe_unused]] ssize_t n = ::write(wakePipe_[1], &b, 1);
  }
}

void CSerialPort::JoinMonitor() {
  if (monitor_.joinable()) {
    SetShutdown();
    monitor_.join();
  }
  threadAlive_ = 0;
}

void CSerialPort::ClosePortLocked() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int CSerialPort::InitPort(platform::MessageTarget* owner, int portNumber, int baud, char parity, int dataBits,
                          int stopBits, DWORD eventMask, int writeBufferSize) {
  JoinMonitor();
  shutdownEvent_.Reset();
  writeEvent_.Reset();
  if (wakePipe_[0] < 0 && ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe_[0] = wakePipe_[1] = -1;
  if (wakePipe_[0] >= 0) {
    unsigned char drain[64];
    while (::read(wakePipe_[0], drain, sizeof drain) > 0) {
    }
  }
  owner_ = owner;
  portNumber_ = portNumber;
  eventMask_ = eventMask;
  writeBuffer_.assign(static_cast<std::size_t>(writeBufferSize > 0 ? writeBufferSize : 0), 0);
  errorShown_ = false;

  std::lock_guard<std::mutex> lock(mutex_);
  ClosePortLocked();
  const std::string path = ComDevicePath(portNumber);
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {  // exclusive, as the device is opened
    ::close(fd);
    return 0;
  }
  fd_ = fd;

  // Time-outs and the event mask have no counterpart on a terminal: reads
  // wait in poll, and every received byte is an event.
  termios state{};
  if (::tcgetattr(fd_, &state) != 0) {
    ReportErrorCode("GetCommState()", errno);
  } else if (!IsSupportedBaud(baud) || (parity != 'N' && parity != 'O' && parity != 'E') || dataBits < 5 ||
             dataBits > 8 || (stopBits != 1 && stopBits != 2)) {
    ReportErrorCode("BuildCommDCB()", EINVAL);
  } else {
    platform::serial::SerialSettings settings;
    settings.baud = baud;
    settings.parity = static_cast<char>(parity == 'O' ? 'o' : parity == 'E' ? 'e' : 'n');
    settings.dataBits = dataBits;
    settings.stopBits = stopBits;
    if (!platform::serial::ConfigureRawTerminal(fd_, settings)) ReportErrorCode("SetCommState()", errno);
  }
  ::tcflush(fd_, TCIOFLUSH);
  return 1;
}

bool CSerialPort::StartMonitoring() {
  if (monitor_.joinable()) return false;
  try {
    monitor_ = std::thread([this] { MonitorThread(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CSerialPort::StopMonitoring() { SetShutdown(); }

void CSerialPort::ReportError(const char* operation) { ReportErrorCode(operation, errno); }

void CSerialPort::ReportErrorCode(const char* operation, int code) {
  char text[1024];
  std::snprintf(text, sizeof text, "WARNING:  %s Failed with the following error: \n%s\nPort: %d\n", operation,
                std::strerror(code), portNumber_.load());
  platform::MessageBox(text, "Application Error", MB_OK | MB_ICONERROR);
}

void CSerialPort::MarkHandled(const platform::Message& message) {
  if (message.msg != WM_COMM_RXCHAR || !message.payload) return;
  static_cast<platform::Event*>(message.payload.get())->Set();
}

void CSerialPort::MonitorThread() {
  int fd;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fd = fd_;
    if (fd >= 0) ::tcflush(fd, TCIFLUSH);
  }
  threadAlive_ = 1;
  while (!shutdownEvent_.IsSet()) {
    pollfd p[2] = {{fd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    const int r = ::poll(p, 2, -1);
    if (shutdownEvent_.IsSet()) break;
    if (r < 0) {
      if (errno == EINTR) continue;
      if (!errorShown_) ReportErrorCode("WaitCommEvent()", errno);
      errorShown_ = true;
      shutdownEvent_.Wait(100ms);
      continue;
    }
    if (p[0].revents & POLLIN) {
      if (eventMask_.load() & EV_RXCHAR) ReadReceivedBytes();
      continue;
    }
    if (p[0].revents & (POLLERR | POLLNVAL)) {
      if (!errorShown_) ReportErrorCode("WaitCommEvent()", p[0].revents & POLLNVAL ? EBADF : EIO);
      errorShown_ = true;
      shutdownEvent_.Wait(100ms);
    } else if (p[0].revents & POLLHUP) {
      shutdownEvent_.Wait(10ms);  // no other side yet: nothing to read
    }
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ClosePortLocked();
  }
  threadAlive_ = 0;
}

void CSerialPort::ReadReceivedBytes() {
  for (;;) {
    if (shutdownEvent_.IsSet()) return;
    unsigned char byte = 0;
    ssize_t n;
    int error = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (fd_ < 0) return;
      n = ::read(fd_, &byte, 1);
      if (n < 0) error = errno;
    }
    if (n == 1) {
      errorShown_ = false;
      if (byte < 32) byte = 32;
      if (!SendByte(byte)) return;
      continue;
    }
    if (n < 0 && (error == EAGAIN || error == EWOULDBLOCK || error == EINTR)) return;  // nothing queued
    if (!errorShown_) ReportErrorCode("ReadFile()", n < 0 ? error : EIO);
    errorShown_ = true;
    shutdownEvent_.Wait(100ms);
    return;
  }
}

bool CSerialPort::SendByte(unsigned char byte) {
  platform::MessageTarget* owner = owner_.load();
  if (!owner) return true;
  auto handled = std::make_shared<platform::Event>(true, false);
  if (!owner->PostMessage(WM_COMM_RXCHAR, byte, static_cast<LPARAM>(portNumber_.load()), handled)) return true;
  // A blocking send: the next byte goes only after the owner handled this one.
  while (!handled->Wait(20ms)) {
    if (shutdownEvent_.IsSet()) return false;
  }
  return true;
}
