#pragma once
// The transport to the controller board: a writer thread that sends the
// current request's bytes, a reader thread that cuts replies out of what the
// port received and posts them to the request's reply window.
//
// The threads post only through handles of the windows (platform/Messages.h),
// so a window may go before the link. A request handed to Submit is used by
// both threads: it must outlive them (Close, or the link's destruction).
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "marking/link/CComRequest.h"
#include "marking/link/CommControl.h"
#include "platform/Event.h"
#include "platform/Messages.h"

class CComLink {
 public:
  static constexpr int kReceiveSize = 256;
  static constexpr std::uint32_t kHandKeyGapMs = 1000;

  // The control is not owned and must outlive the link.
  explicit CComLink(CommControl* control);
  virtual ~CComLink();
  CComLink(const CComLink&) = delete;
  CComLink& operator=(const CComLink&) = delete;

  int Open(int port);
  int Close();
  bool IsOpen() const;
  // Makes the request current and wakes the writer; null only clears it.
  // The command is the one carried by the submit message (default: the
  // request's current one). The writer sends it only when it is still the
  // request's current preparation: a command prepared again before it went out
  // is replaced, and its bytes never reach the board.
  void Submit(CComRequest* request, std::shared_ptr<const ComCommand> command = nullptr);
  // Received bytes (the control's comm event).
  void OnComm(const BYTE* data, std::size_t length);
  void ClearReceive();
  // Waits until every submitted command has gone out (or was dropped as
  // replaced); false on time-out.
  bool WaitSent(std::chrono::milliseconds timeout);

  void SetNotifyWindow(platform::MessageTarget* window);
  platform::MessageTarget* GetNotifyWindow() const { return notifyWnd_.load(); }
  void SetProtocol(int variant) { protocol_.store(variant); }
  int GetProtocol() const { return protocol_.load(); }
  // Millisecond tick source for the hand-key gap (tests step it by hand).
  void SetTickSource(std::function<std::uint32_t()> ticks);

 private:
  void StartThreads();
  bool SendBytes(const BYTE* data, std::size_t length);
  void WriterThread();
  void ReaderThread();
  void ExamineReceived();  // under lock_
  void PostReply(const BYTE* data, int length, bool overflow);
  bool WaitStopped(int rounds);
  void ClearReceiveLocked();

  std::atomic<platform::MessageTarget*> notifyWnd_{nullptr};
  CommControl* control_;
  struct Outgoing {
    CComRequest* request;
    std::shared_ptr<const ComCommand> command;
  };
  CComRequest* current_ = nullptr;  // under lock_
  Outgoing sent_;                   // under lock_: whose bytes went out last
  std::deque<Outgoing> outbox_;     // under lock_
  std::shared_ptr<platform::MessageTarget> notifyHandle_;  // under lock_
  std::atomic<int> running_{0};
  platform::Event dataReceived_{true, false};
  platform::Event requestReady_{true, false};
  std::atomic<int> opened_{0};
  std::atomic<bool> readerStopped_{true};
  std::atomic<bool> writerStopped_{true};
  std::atomic<std::uint32_t> lastHandKey_{0};
  std::atomic<int> port_{0};
  std::atomic<int> protocol_{-1};
  std::mutex lock_;
  std::condition_variable outboxEmptied_;  // with lock_
  std::array<BYTE, kReceiveSize> receive_{};
  int receiveCount_ = 0;
  bool receiveOverflow_ = false;
  std::function<std::uint32_t()> ticks_;
  std::thread writer_;
  std::thread reader_;
};
