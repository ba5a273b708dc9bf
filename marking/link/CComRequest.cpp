#include "marking/link/CComRequest.h"

#include <algorithm>

CComRequest::CComRequest() : command_(std::make_shared<ComCommand>()) {}

CComRequest::~CComRequest() = default;

void CComRequest::Prepare(int type, const BYTE* data, int length, platform::MessageTarget* replyWnd, UINT replyMsg,
                          int extra) {
  auto command = std::make_shared<ComCommand>();
  command->type = type;
  if (data && length > 0) command->bytes.assign(data, data + length);
  command->replyWnd = replyWnd;
  if (replyWnd) command->replyHandle = replyWnd->Handle();
  command->replyMsg = replyMsg;
  command->extra = extra;
  {
    std::lock_guard lock(mutex_);
    command->serial = nextSerial_++;
    command_ = std::move(command);
    success_ = failure_ = false;
    replyLength_ = 0;
    overflow_ = false;
    reply_.fill(0);
  }
  cv_.notify_all();  // a waiter on the previous command gives up
}

void CComRequest::Signal(int ok) {
  if (ok) SetSuccessEvent();
  else SetFailureEvent();
}

bool CComRequest::SignalReply(const platform::Message& reply, int ok) {
  const ComReply* r = ReplyOf(reply);
  {
    std::lock_guard lock(mutex_);
    if (r && r->serial != command_->serial) return false;
  }
  Signal(ok);
  return true;
}

int CComRequest::GetType() const {
  std::lock_guard lock(mutex_);
  return command_->type;
}

const BYTE* CComRequest::GetData() const {
  std::lock_guard lock(mutex_);
  return command_->bytes.data();
}

int CComRequest::GetLength() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(command_->bytes.size());
}

platform::MessageTarget* CComRequest::GetReplyWnd() const {
  std::lock_guard lock(mutex_);
  return command_->replyWnd;
}

UINT CComRequest::GetReplyMsg() const {
  std::lock_guard lock(mutex_);
  return command_->replyMsg;
}

int CComRequest::GetExtra() const {
  std::lock_guard lock(mutex_);
  return command_->extra;
}

std::uint64_t CComRequest::GetSerial() const {
  std::lock_guard lock(mutex_);
  return command_->serial;
}

std::shared_ptr<const ComCommand> CComRequest::GetCommand() const {
  std::lock_guard lock(mutex_);
  return command_;
}

std::vector<BYTE> CComRequest::GetReply() const {
  std::lock_guard lock(mutex_);
  return {reply_.begin(), reply_.begin() + replyLength_};
}

int CComRequest::GetReplyLength() const {
  std::lock_guard lock(mutex_);
  return replyLength_;
}

bool CComRequest::ReplyOverflowed() const {
  std::lock_guard lock(mutex_);
  return overflow_;
}

bool CComRequest::AppendReply(std::uint64_t serial, const BYTE* data, int length) {
  std::lock_guard lock(mutex_);
  if (serial != command_->serial) return false;
  const int room = kReplySize - replyLength_;
  const int take = std::clamp(length, 0, room);
  std::copy(data, data + take, reply_.begin() + replyLength_);
  replyLength_ += take;
  if (take < length) overflow_ = true;
  return true;
}

bool CComRequest::MarkOverflow(std::uint64_t serial) {
  std::lock_guard lock(mutex_);
  if (serial != command_->serial) return false;
  overflow_ = true;
  return true;
}

void CComRequest::SetSuccessEvent() {
  {
    std::lock_guard lock(mutex_);
    success_ = true;
  }
  cv_.notify_all();
}

void CComRequest::SetFailureEvent() {
  {
    std::lock_guard lock(mutex_);
    failure_ = true;
  }
  cv_.notify_all();
}

bool CComRequest::IsSuccessSet() const {
  std::lock_guard lock(mutex_);
  return success_;
}

int CComRequest::WaitEither(std::chrono::milliseconds timeout, std::uint64_t serial) const {
  std::unique_lock lock(mutex_);
  if (serial == 0) serial = command_->serial;
  cv_.wait_for(lock, std::max(timeout, std::chrono::milliseconds(0)),
               [&] { return success_ || failure_ || command_->serial != serial; });
  if (command_->serial != serial) return 0;
  if (success_) return 1;
  if (failure_) return 0;
  return -1;
}

platform::Message CComRequest::MakeSubmitMessage(UINT msg) const {
  platform::Message m;
  m.msg = msg;
  m.wParam = reinterpret_cast<WPARAM>(this);
  m.payload = std::const_pointer_cast<ComCommand>(GetCommand());
  return m;
}

const ComReply* ReplyOf(const platform::Message& message) {
  const auto* p = static_cast<const LinkPayload*>(message.payload.get());
  return p && p->kind == LinkPayload::kReply ? static_cast<const ComReply*>(p) : nullptr;
}

std::shared_ptr<const ComCommand> CommandOf(const platform::Message& message) {
  const auto* p = static_cast<const LinkPayload*>(message.payload.get());
  if (!p || p->kind != LinkPayload::kCommand) return nullptr;
  return std::static_pointer_cast<const ComCommand>(message.payload);
}
