#pragma once
// The marking controller's side of the controller board protocol: builds each
// command in its buffer, frames it for the variant, hands it to the link owner
// and waits for the verdict; judges replies on the UI thread; retries up to
// five times and then asks the operator. The controller window owns one and
// routes its WM_COM_REQUEST messages to OnComReply.
#include <atomic>
#include <cstdint>
#include <functional>

#include "marking/link/CCritSecLock.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/WireProtocol.h"
#include "platform/Messages.h"

class CControllerLink {
 public:
  static constexpr int kTries = 5;

  // host: the link owner; replyWnd: the controller window, whose handler of
  // WM_COM_REQUEST calls OnComReply.
  CControllerLink(ILinkHost* host, platform::MessageTarget* replyWnd);

  // Board type (1: the USB board; others step through ports). Default: 1.
  void SetBoardTypeSource(std::function<int()> source) { boardType_ = std::move(source); }
  // The port polarity mask (bit 0 X origin level, bit 1 Y origin level).
  void SetPolarityMaskSource(std::function<int()> source) { polarityMask_ = std::move(source); }
  // The worker's done flag, set when parameters fail or a home return ends.
  void SetWorkerDoneFlag(std::atomic<int>* done) { workerDone_ = done; }

  // Simulated boards answer at once: tests shorten every time-out by this
  // factor. 1 for a real board.
  void SetTimeoutScale(double scale) { timeoutScale_ = scale; }

  int SendCommand(int type, const BYTE* data, int length, int timeoutMs);
  void PostCommand(int type, const BYTE* data, int length);
  int WaitReply(int timeoutMs);
  // The handler of WM_COM_REQUEST on the controller window.
  void OnComReply(const platform::Message& message);
  int SendStreamCommand(const BYTE* data, int length, int timeoutMs = CommandTimeoutMs(COM_STREAM));

  int SendParameters(const ParameterBlockInput& record);
  // Frequency and duty are clamped and written back.
  int SendSpeed(int& frequency, double& duty);
  int BackToOrigin(bool endStreamFirst);
  int SendMarkBegin();
  // Waits kPauseReplyTimeoutMs for the board's answer, not the stream's time.
  int SendPause();
  int SendStreamEnd();
  void SendAbort();
  // A move record through the stream.
  int SendMove(std::uint16_t xSteps, std::uint16_t ySteps, BYTE flags);

  // Link state shared by the worker (after its wait) and the UI thread.
  std::atomic<int> linkReady{0};
  std::atomic<int> resendAsked{0};
  std::atomic<int> lastStreamOk{1};
  std::atomic<int> commFailed{0};
  std::atomic<int> linkGivenUp{0};
  std::atomic<int> streamOpen{0};
  std::atomic<int> originStatus{0};  // last status byte of an origin command

  CCriticalSection& Lock() { return lock_; }

 private:
  int BoardType() const { return boardType_ ? boardType_() : 1; }
  void SetDone();

  ILinkHost* host_;
  platform::MessageTarget* replyWnd_;
  std::function<int()> boardType_;
  std::function<int()> polarityMask_;
  std::atomic<int>* workerDone_ = nullptr;
  CCriticalSection lock_;
  BYTE buffer_[kCommandBufferSize] = {};
  std::atomic<std::uint64_t> waitingSerial_{0};
  double timeoutScale_ = 1.0;
};
