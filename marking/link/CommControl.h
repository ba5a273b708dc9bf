#pragma once
// The communications control the link drives: a port addressed by number,
// opened and closed, given its settings text, written to, and raising a comm
// event with the bytes it received.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/WinTypes.h"
#include "platform/serial/SerialDiscovery.h"
#include "platform/serial/SerialPort.h"

class CommControl {
 public:
  using ReceiveHandler = std::function<void(const BYTE* data, std::size_t length)>;
  virtual ~CommControl() = default;
  virtual void SetCommPort(int port) = 0;
  virtual int GetCommPort() const = 0;
  virtual bool GetPortOpen() const = 0;
  // false with LastError() when the port cannot be opened.
  virtual bool SetPortOpen(bool open) = 0;
  virtual void SetSettings(const std::string& settings) = 0;
  virtual bool Output(const BYTE* data, std::size_t length) = 0;
  // A control that raises comm events calls the handler with received bytes.
  virtual void SetReceiveHandler(ReceiveHandler handler) = 0;
  // A control that is read instead: the link's reader thread waits in Input
  // for bytes (up to timeoutMs) and WakeInput makes it return at once.
  virtual bool IsPolled() const { return false; }
  virtual long Input(BYTE* /*buffer*/, std::size_t /*max*/, int /*timeoutMs*/) { return 0; }
  virtual void WakeInput() {}
  virtual std::string LastError() const = 0;
};

// The control over a real serial device, read by the link's reader thread.
// Port numbers are turned into device paths by the resolver (normally the
// adapter discovery).
class SerialCommControl : public CommControl {
 public:
  using Resolver = std::function<std::string(int port)>;
  explicit SerialCommControl(Resolver resolver);
  // Resolves through the discovery's list of candidates.
  explicit SerialCommControl(std::shared_ptr<platform::serial::SerialDiscovery> discovery);
  ~SerialCommControl() override;

  void SetCommPort(int port) override;
  int GetCommPort() const override;
  bool GetPortOpen() const override;
  bool SetPortOpen(bool open) override;
  void SetSettings(const std::string& settings) override;
  bool Output(const BYTE* data, std::size_t length) override;
  void SetReceiveHandler(ReceiveHandler handler) override;
  bool IsPolled() const override { return true; }
  long Input(BYTE* buffer, std::size_t max, int timeoutMs) override;
  void WakeInput() override;
  std::string LastError() const override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
