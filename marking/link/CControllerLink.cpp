#include "marking/link/CControllerLink.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "document/geometry/SharedState.h"
#include "marking/link/LinkMessages.h"
#include "platform/Prompt.h"

CControllerLink::CControllerLink(ILinkHost* host, platform::MessageTarget* replyWnd)
    : host_(host), replyWnd_(replyWnd) {}

void CControllerLink::SetDone() {
  if (workerDone_) workerDone_->store(1);
}

void CControllerLink::PostCommand(int type, const BYTE* data, int length) {
  const bool framed = host_->GetProtocolVariant() == PROTOCOL_FRAMED;
  std::vector<BYTE> wire;
  bool immediate = false;
  const bool send = FrameForVariant(type, data, length, framed, wire, immediate);
  CComRequest* request = host_->GetComRequest();
  request->Prepare(type, wire.data(), static_cast<int>(wire.size()), replyWnd_, WM_COM_REQUEST, 0);
  waitingSerial_ = request->GetSerial();
  if (!send) {
    // Hello and "WW" do not exist in the framed variant: they succeed at once.
    if (immediate) request->Signal(1);
    return;
  }
  platform::MessageTarget* target = host_->GetRequestTarget();
  if (!target || !target->Post(request->MakeSubmitMessage(WM_COM_REQUEST))) request->Signal(0);
}

int CControllerLink::WaitReply(int timeoutMs) {
  const auto scaled = std::chrono::milliseconds(static_cast<long long>(timeoutMs * timeoutScale_));
  return host_->GetComRequest()->WaitEither(scaled, waitingSerial_.load()) == 1;
}

int CControllerLink::SendCommand(int type, const BYTE* data, int length, int timeoutMs) {
  const bool framed = host_->GetProtocolVariant() == PROTOCOL_FRAMED;
  commFailed = 0;
  lastStreamOk = 1;
  BYTE resync[kRecordSize];
  std::memset(resync, RECORD_RESYNC, sizeof resync);
  for (;;) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
      resendAsked = 0;
      const bool resynchronise = framed && attempt > 0 && type == COM_STREAM && !lastStreamOk;
      lastStreamOk = 1;
      if (resynchronise) PostCommand(type, resync, kRecordSize);
      else PostCommand(type, data, length);
      const int result = WaitReply(timeoutMs);
      if (!resendAsked && (!framed || lastStreamOk)) return result;
    }
    // Asked from the worker: the prompt marshals the box to the UI thread.
    const int answer = platform::MessageBox("Data comunicate error,are you want retry?", "Vendrik",
                                            MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
      commFailed = 1;
      linkGivenUp = 1;
      return 0;
    }
  }
}

void CControllerLink::OnComReply(const platform::Message& message) {
  CComRequest* request = RequestOf(message);
  if (!request) return;
  const ComReply* carried = ReplyOf(message);
  // A reply to an earlier preparation answers nobody now.
  if (carried && carried->serial != request->GetSerial()) return;
  const std::vector<BYTE> reply = carried ? carried->bytes : request->GetReply();
  const bool overflow = carried ? carried->overflow : request->ReplyOverflowed();
  const int type = carried ? carried->type : request->GetType();
  const bool framed = host_->GetProtocolVariant() == PROTOCOL_FRAMED;

  const bool stopBefore = (MarkStatusWord.load() & MSW_STOP_REQUEST) != 0;
  ReplyVerdict v = JudgeReply(type, reply.data(), static_cast<int>(reply.size()), framed, stopBefore);
  if (!v.signal) return;
  if (overflow) v.good = v.resend = v.stop = false;
  if (framed) resendAsked = v.resend ? 1 : 0;
  if (v.originStatus >= 0) originStatus = v.originStatus;
  if (v.stop) MarkStatusWord.fetch_or(MSW_STOP_REQUEST);
  if (framed) lastStreamOk = type == COM_STREAM ? (v.good ? 1 : 0) : 1;
  request->SignalReply(message, v.good ? 1 : 0);
}

int CControllerLink::SendStreamCommand(const BYTE* data, int length, int timeoutMs) {
  CCritSecLock lock(&lock_);
  return SendCommand(COM_STREAM, data, length, timeoutMs);
}

int CControllerLink::SendParameters(const ParameterBlockInput& record) {
  if (!host_->IsLinkOpen()) {
    platform::MessageBox("USB com-line not insert ok or power is off!");
    SetDone();
    linkReady = 0;
    return 0;
  }
  std::memset(buffer_, 0, sizeof buffer_);
  BuildLetterCommand(buffer_, 'H');
  if (!SendCommand(COM_HELLO, buffer_, kLetterCommandSize, CommandTimeoutMs(COM_HELLO))) {
    linkReady = 0;
    return 0;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::memset(buffer_, 0, sizeof buffer_);
  const auto block = BuildParameterBlock(record);
  std::memcpy(buffer_, block.data(), block.size());
  linkReady = SendCommand(COM_PARAMETERS, buffer_, kParameterBlockSize, CommandTimeoutMs(COM_PARAMETERS));
  return linkReady;
}

int CControllerLink::SendSpeed(int& frequency, double& duty) {
  if (BoardType() != 1) return 1;
  if (!host_->IsLinkOpen()) return 0;
  std::memset(buffer_, 0, sizeof buffer_);
  BuildLetterCommand(buffer_, 'W');
  if (!SendCommand(COM_SPEED_BEGIN, buffer_, kLetterCommandSize, CommandTimeoutMs(COM_SPEED_BEGIN))) return 0;
  std::memset(buffer_, 0, sizeof buffer_);
  const auto block = BuildSpeedBlock(frequency, duty);
  std::memcpy(buffer_, block.data(), block.size());
  return SendCommand(COM_SPEED, buffer_, kSpeedBlockSize, CommandTimeoutMs(COM_SPEED));
}

int CControllerLink::BackToOrigin(bool endStreamFirst) {
  if (endStreamFirst) {
    const int ended = SendStreamEnd();
    streamOpen = 0;
    if (!ended) return 1;
  }
  const int mask = polarityMask_ ? polarityMask_() : 0;
  std::memset(buffer_, 0, sizeof buffer_);
  BuildLetterCommand(buffer_, 'R');
  // A missing status reads as both axes away from home.
  originStatus = ((~mask) & 0x03) << 2;
  if (SendCommand(COM_ORIGIN, buffer_, kLetterCommandSize, CommandTimeoutMs(COM_ORIGIN))) {
    for (auto& counter : AxisStepCounters) counter = 0;
    SetDone();
    return 1;
  }
  const int e = mask ^ (originStatus.load() >> 2);
  if (e & 0x01) platform::MessageBox("X back origin error!");
  else if (e & 0x02) platform::MessageBox("Y back origin error!");
  SetDone();
  return 0;
}

int CControllerLink::SendMarkBegin() {
  std::memset(buffer_, 0, sizeof buffer_);
  BuildLetterCommand(buffer_, 'M');
  return SendCommand(COM_MARK_BEGIN, buffer_, kLetterCommandSize, CommandTimeoutMs(COM_MARK_BEGIN));
}

int CControllerLink::SendPause() {
  if (BoardType() != 1) return 1;
  BYTE record[kRecordSize];
  std::memset(record, RECORD_PAUSE, sizeof record);
  return SendStreamCommand(record, kRecordSize, kPauseReplyTimeoutMs);
}

int CControllerLink::SendStreamEnd() {
  if (BoardType() != 1) return 1;
  BYTE record[kRecordSize];
  std::memset(record, RECORD_END, sizeof record);
  const int result = SendStreamCommand(record, kRecordSize);
  host_->ResetComRequest();
  return result;
}

void CControllerLink::SendAbort() {
  BYTE zeros[kLetterCommandSize] = {};
  PostCommand(COM_ABORT, zeros, kLetterCommandSize);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int CControllerLink::SendMove(std::uint16_t xSteps, std::uint16_t ySteps, BYTE flags) {
  BYTE record[kRecordSize];
  MakeMoveRecord(record, xSteps, ySteps, flags);
  return SendStreamCommand(record, kRecordSize);
}
