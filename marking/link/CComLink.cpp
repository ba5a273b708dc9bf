#include "marking/link/CComLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "marking/link/LinkMessages.h"
#include "marking/link/WireProtocol.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

namespace {

constexpr BYTE kFrameHead0 = 0x0B, kFrameHead1 = 0x0C, kFrameTail0 = 0xFD, kFrameTail1 = 0xFE;

std::uint32_t DefaultTicks() {
  return static_cast<std::uint32_t>(platform::CurrentClock().NowMicros() / 1000);
}

}  // namespace

CComLink::CComLink(CommControl* control) : control_(control), ticks_(DefaultTicks) {
  lastHandKey_ = ticks_();
  if (control_) control_->SetReceiveHandler([this](const BYTE* data, std::size_t n) { OnComm(data, n); });
}

CComLink::~CComLink() {
  running_ = 0;
  requestReady_.Set();
  dataReceived_.Set();
  if (control_) control_->WakeInput();
  // A thread that has not stopped must not find the link freed under it: wait
  // the usual second, then for as long as it takes.
  WaitStopped(51);
  if (writer_.joinable()) writer_.join();
  if (reader_.joinable()) reader_.join();
  if (control_) {
    control_->SetReceiveHandler(nullptr);
    if (control_->GetPortOpen()) control_->SetPortOpen(false);
  }
}

void CComLink::SetTickSource(std::function<std::uint32_t()> ticks) {
  std::lock_guard lock(lock_);  // the reader calls it under the same lock
  ticks_ = std::move(ticks);
  lastHandKey_ = ticks_();
}

int CComLink::Open(int port) {
  opened_ = 0;
  if (!readerStopped_ || !writerStopped_) return 0;
  if (writer_.joinable()) writer_.join();
  if (reader_.joinable()) reader_.join();
  port_ = port;
  if (control_->GetPortOpen()) control_->SetPortOpen(false);
  control_->SetCommPort(port);
  if (control_->GetPortOpen()) {
    platform::MessageBox("Please insert usb line-2! Restart the software");
    return 0;
  }
  control_->SetSettings("19200,n,8,1");
  if (!control_->SetPortOpen(true)) {
    platform::MessageBox("Cannot open the serial port COM" + std::to_string(port) + ": " + control_->LastError());
    return 0;
  }
  ClearReceive();  // whatever was waiting in the port is dropped
  opened_ = 1;
  StartThreads();
  return 1;
}

int CComLink::Close() {
  if (!control_->GetPortOpen()) return 1;
  running_ = 0;
  ClearReceive();
  requestReady_.Set();
  dataReceived_.Set();
  control_->WakeInput();
  if (!WaitStopped(51)) return 0;
  if (writer_.joinable()) writer_.join();
  if (reader_.joinable()) reader_.join();
  control_->SetPortOpen(false);
  opened_ = 0;
  requestReady_.Reset();
  dataReceived_.Reset();
  return 1;
}

bool CComLink::WaitStopped(int rounds) {
  auto stopped = [this] { return readerStopped_.load() && writerStopped_.load(); };
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  for (int i = 0; i < rounds && !stopped(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return stopped();
}

void CComLink::SetNotifyWindow(platform::MessageTarget* window) {
  auto handle = window ? window->Handle() : nullptr;
  std::lock_guard lock(lock_);
  notifyWnd_.store(window);
  notifyHandle_ = std::move(handle);
}

bool CComLink::IsOpen() const { return opened_.load() && control_ && control_->GetPortOpen(); }

void CComLink::Submit(CComRequest* request, std::shared_ptr<const ComCommand> command) {
  {
    std::lock_guard lock(lock_);
    current_ = request;
    if (!request) {
      outbox_.clear();
      return;
    }
    if (!command) command = request->GetCommand();
    outbox_.push_back({request, std::move(command)});
  }
  requestReady_.Set();
}

bool CComLink::WaitSent(std::chrono::milliseconds timeout) {
  std::unique_lock lock(lock_);
  return outboxEmptied_.wait_for(lock, timeout, [this] { return outbox_.empty() || !running_; });
}

void CComLink::OnComm(const BYTE* data, std::size_t length) {
  if (length == 0) return;
  {
    std::lock_guard lock(lock_);
    const std::size_t room = static_cast<std::size_t>(kReceiveSize - receiveCount_);
    const std::size_t take = std::min(room, length);
    std::memcpy(receive_.data() + receiveCount_, data, take);
    receiveCount_ += static_cast<int>(take);
    if (take < length) receiveOverflow_ = true;
  }
  dataReceived_.Set();
}

void CComLink::ClearReceive() {
  std::lock_guard lock(lock_);
  ClearReceiveLocked();
}

void CComLink::ClearReceiveLocked() {
  receive_.fill(0);
  receiveCount_ = 0;
  receiveOverflow_ = false;
}

void CComLink::StartThreads() {
  {
    // Commands handed over while the link was closed belong to the last
    // opening: like a request-ready signal, they are not carried over.
    std::lock_guard lock(lock_);
    outbox_.clear();
    sent_ = {};
  }
  requestReady_.Reset();
  dataReceived_.Reset();
  running_ = 1;
  writerStopped_ = false;
  readerStopped_ = false;
  writer_ = std::thread([this] { WriterThread(); });
  reader_ = std::thread([this] { ReaderThread(); });
}

bool CComLink::SendBytes(const BYTE* data, std::size_t length) {
  return length == 0 || control_->Output(data, length);
}

void CComLink::WriterThread() {
  writerStopped_ = false;
  while (running_) {
    requestReady_.Wait();
    requestReady_.Reset();
    std::lock_guard lock(lock_);
    if (!running_) break;
    while (!outbox_.empty()) {
      Outgoing next = std::move(outbox_.front());
      outbox_.pop_front();
      // Prepared again since it was handed over: the sender waits for the new
      // command now, and a reply to the old bytes would pass for the new one's.
      if (next.command->serial != next.request->GetSerial()) continue;
      ClearReceiveLocked();
      sent_ = next;
      SendBytes(next.command->bytes.data(), next.command->bytes.size());
    }
    outboxEmptied_.notify_all();
  }
  writerStopped_ = true;
}

void CComLink::ReaderThread() {
  readerStopped_ = false;
  const bool polled = control_->IsPolled();
  BYTE input[kReceiveSize];
  while (running_) {
    if (polled) {
      // This thread also takes the bytes from the port: one hand-over less
      // on every reply.
      const long n = control_->Input(input, sizeof input, 100);
      if (n > 0) OnComm(input, static_cast<std::size_t>(n));
      if (!dataReceived_.IsSet()) continue;
    } else {
      dataReceived_.Wait();
    }
    dataReceived_.Reset();
    if (!running_) break;
    std::lock_guard lock(lock_);
    ExamineReceived();
  }
  readerStopped_ = true;
}

void CComLink::PostReply(const BYTE* data, int length, bool overflow) {
  CComRequest* request = sent_.request;
  const ComCommand& command = *sent_.command;
  bool fresh = request->AppendReply(command.serial, data, length);
  if (overflow && fresh) request->MarkOverflow(command.serial);
  ClearReceiveLocked();
  // Prepared again since this command went out: the reply is late and nobody
  // waits for it any more.
  if (!fresh || !command.replyHandle) return;
  auto reply = std::make_shared<ComReply>();
  reply->serial = command.serial;
  reply->type = command.type;
  reply->extra = command.extra;
  reply->bytes = request->GetReply();
  reply->overflow = request->ReplyOverflowed();
  command.replyHandle->Post(platform::Message{command.replyMsg, reinterpret_cast<WPARAM>(request), 0,
                                              std::shared_ptr<void>(reply, reply.get())});
}

void CComLink::ExamineReceived() {
  const int n = receiveCount_;
  if (n == 0) return;
  // Only the command whose bytes went out last can be answered; with no
  // current request, or nothing sent since the opening, nobody is.
  const bool answerable = current_ && sent_.command;

  // More arrived than the buffer holds: the reply is cut and judged bad.
  if (receiveOverflow_) {
    if (answerable) PostReply(receive_.data(), n, true);
    else ClearReceiveLocked();
    return;
  }

  if (answerable && sent_.command->type == COM_STREAM) {
    if (protocol_.load() == PROTOCOL_FRAMED) {
      if (n < 4) return;
      PostReply(receive_.data() + n - 4, 4, false);
    } else {
      PostReply(receive_.data() + n - 1, 1, false);
    }
    return;
  }

  if (n >= 5 && receive_[0] == kFrameHead0 && receive_[1] == kFrameHead1 && receive_[n - 2] == kFrameTail0 &&
      receive_[n - 1] == kFrameTail1) {
    const BYTE* payload = receive_.data() + 2;
    const int length = n - 4;
    if (length >= 4 && std::memcmp(payload + length - 4, "HKEY", 4) == 0) {
      const std::uint32_t now = ticks_();
      if (notifyHandle_ && now - lastHandKey_.load() >= kHandKeyGapMs) {
        notifyHandle_->PostMessage(WM_HARD_START, 0, 0);
        lastHandKey_ = now;
      }
      ClearReceiveLocked();
      return;
    }
    if (answerable) PostReply(payload, length, false);
  }
}
