#pragma once
// A serial device opened in raw mode: no echo, no line editing, no CR/LF
// mapping and no XON/XOFF (0x11 and 0x13 are ordinary data bytes of the
// controller protocol). The device is locked exclusively (flock) while open.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/serial/SerialSettings.h"

namespace platform::serial {

class SerialPort {
 public:
  SerialPort();
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // false with a readable reason in LastError() when the device cannot be
  // opened, locked or configured.
  bool Open(const std::string& path, const SerialSettings& settings);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  const std::string& LastError() const { return error_; }

  // Writes every byte (waits while the driver's buffer is full); false on error.
  bool Write(const void* data, std::size_t length);
  // Waits up to timeoutMs (negative: no limit) for bytes and reads what is
  // there, at most max. Returns the count, 0 on time-out or Wake(), -1 when
  // the port is closed or failed.
  long Read(void* buffer, std::size_t max, int timeoutMs);
  // Makes a Read that is waiting on another thread return at once.
  void Wake();
  // Drops bytes received but not read yet.
  void FlushInput();

 private:
  int fd_ = -1;
  int wakePipe_[2] = {-1, -1};
  std::string path_;
  std::string error_;
};

// Puts an open terminal descriptor into raw mode with the given line settings.
// false (errno kept) on failure.
bool ConfigureRawTerminal(int fd, const SerialSettings& settings);

// Exclusive test open of a device for reading and writing, closed again at
// once: whether the port can be had now.
bool ProbeSerialDevice(const std::string& path);

}  // namespace platform::serial
