#include "marking/link/CommControl.h"

#include <atomic>
#include <mutex>
#include <thread>

struct SerialCommControl::Impl {
  Resolver resolver;
  int port = 0;
  std::string settingsText = "19200,n,8,1";
  platform::serial::SerialPort serial;
  std::atomic<bool> open{false};
  std::atomic<bool> receiving{false};
  std::thread receiver;
  mutable std::mutex mutex;  // handler and error text
  std::mutex writeMutex;
  ReceiveHandler handler;
  std::string error;

  void ReceiveLoop() {
    BYTE buffer[512];
    while (receiving.load()) {
      long n = serial.Read(buffer, sizeof buffer, 200);
      if (n < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      if (n == 0) continue;
      ReceiveHandler h;
      {
        std::lock_guard lock(mutex);
        h = handler;
      }
      if (h) h(buffer, static_cast<std::size_t>(n));
    }
  }

  void Stop() {
    receiving = false;
    serial.Wake();
    if (receiver.joinable()) receiver.join();
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
  impl_->receiving = true;
  impl_->receiver = std::thread([this] { impl_->ReceiveLoop(); });
  return true;
}

void SerialCommControl::SetSettings(const std::string& settings) { impl_->settingsText = settings; }

bool SerialCommControl::Output(const BYTE* data, std::size_t length) {
  std::lock_guard lock(impl_->writeMutex);
  if (!impl_->open) return false;
  return impl_->serial.Write(data, length);
}

void SerialCommControl::SetReceiveHandler(ReceiveHandler handler) {
  std::lock_guard lock(impl_->mutex);
  impl_->handler = std::move(handler);
}

std::string SerialCommControl::LastError() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->error;
}
