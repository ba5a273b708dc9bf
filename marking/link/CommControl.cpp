#include "marking/link/CommControl.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <algorithm>
#include <chrono>

struct SerialCommControl::Impl {
  Resolver resolver;
  int port = 0;
  std::string settingsText = "19200,n,8,1";
  platform::serial::SerialPort serial;
  std::atomic<bool> open{false};
  mutable std::mutex mutex;  // error text
  std::mutex writeMutex;     // writes, and opening and closing against them
  std::string error;

  void Stop() {
    std::lock_guard lock(writeMutex);
    open = false;
    serial.Close();
  }
};

SerialCommControl::SerialCommControl(Resolver resolver) : impl_(std::make_unique<Impl>()) {
  impl_->resolver = std::move(resolver);
}

SerialCommControl::SerialCommControl(std::shared_ptr<platform::serial::SerialDiscovery> discovery)
    : SerialCommControl([discovery](int port) -> std::string {
        if (!discovery) return {};
        for (const auto& c : discovery->Find())
          if (c.number == port) return c.path;
        return {};
      }) {}

SerialCommControl::~SerialCommControl() { impl_->Stop(); }

void SerialCommControl::SetCommPort(int port) { impl_->port = port; }
int SerialCommControl::GetCommPort() const { return impl_->port; }
bool SerialCommControl::GetPortOpen() const { return impl_->open.load(); }

bool SerialCommControl::SetPortOpen(bool open) {
  if (!open) {
    impl_->Stop();
    return true;
  }
  if (impl_->open) return true;
  platform::serial::SerialSettings settings;
  std::string why;
  if (!platform::serial::ParseSerialSettings(impl_->settingsText, settings, &why)) {
    std::lock_guard lock(impl_->mutex);
    impl_->error = why;
    return false;
  }
  const std::string path = impl_->resolver ? impl_->resolver(impl_->port) : std::string();
  if (path.empty()) {
    std::lock_guard lock(impl_->mutex);
    impl_->error = "No serial device for port COM" + std::to_string(impl_->port);
    return false;
  }
  if (!impl_->serial.Open(path, settings)) {
    std::lock_guard lock(impl_->mutex);
    impl_->error = impl_->serial.LastError();
    return false;
  }
  impl_->open = true;
  return true;
}

void SerialCommControl::SetSettings(const std::string& settings) { impl_->settingsText = settings; }

bool SerialCommControl::Output(const BYTE* data, std::size_t length) {
  std::lock_guard lock(impl_->writeMutex);
  if (!impl_->open) return false;
  return impl_->serial.Write(data, length);
}

void SerialCommControl::SetReceiveHandler(ReceiveHandler) {}

long SerialCommControl::Input(BYTE* buffer, std::size_t max, int timeoutMs) {
  if (!impl_->open) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 10)));
    return 0;
  }
  const long n = impl_->serial.Read(buffer, max, timeoutMs);
  if (n < 0) {
    // A failed device: keep the reader from spinning until the link closes.
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 10)));
    return 0;
  }
  return n;
}

void SerialCommControl::WakeInput() { impl_->serial.Wake(); }

std::string SerialCommControl::LastError() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->error;
}
