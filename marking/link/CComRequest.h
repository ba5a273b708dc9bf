#pragma once
// One transaction with the controller board: the bytes to send, where the
// reply goes, the reply itself and the two events the sender waits on.
//
// Prepare copies the bytes, so the sender's buffer may be reused at once, and
// gives every preparation a serial number. The link posts replies with that
// number, and the request ignores a reply (or a signal for one) whose number is
// not the current preparation's: a late reply to a command that timed out can
// never answer the next one.
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Messages.h"
#include "platform/WinTypes.h"

// Payloads the link puts on its messages start with a tag, so a handler can
// tell a reply from a command.
struct LinkPayload {
  enum Kind : std::uint32_t { kCommand = 0x434D4431, kReply = 0x52504C31 };
  explicit LinkPayload(Kind k) : kind(k) {}
  Kind kind;
};

// What one preparation sends and where its reply goes.
struct ComCommand : LinkPayload {
  ComCommand() : LinkPayload(kCommand) {}
  std::uint64_t serial = 0;
  int type = 0;
  std::vector<BYTE> bytes;
  platform::MessageTarget* replyWnd = nullptr;             // who prepared it (compared, never posted to)
  std::shared_ptr<platform::MessageTarget> replyHandle;  // replyWnd's handle: the link posts here
  UINT replyMsg = 0;
  int extra = 0;
};

// A reply as the link cut it out; travels as the payload of the reply message.
struct ComReply : LinkPayload {
  ComReply() : LinkPayload(kReply) {}
  std::uint64_t serial = 0;
  int type = 0;
  int extra = 0;
  std::vector<BYTE> bytes;  // this reply's bytes
  bool overflow = false;    // more arrived than the buffers hold: judge it bad
};

class CComRequest {
 public:
  static constexpr int kReplySize = 256;

  CComRequest();
  virtual ~CComRequest();
  CComRequest(const CComRequest&) = delete;
  CComRequest& operator=(const CComRequest&) = delete;

  // Resets both events, stores the command (copying length bytes of data),
  // empties the reply.
  void Prepare(int type, const BYTE* data, int length, platform::MessageTarget* replyWnd, UINT replyMsg, int extra);
  // Sets the success event when ok is non-zero, else the failure event.
  void Signal(int ok);
  // Signal for the reply carried by a reply message: ignored (false) when the
  // request has been prepared again since that reply's command went out.
  bool SignalReply(const platform::Message& reply, int ok);

  int GetType() const;
  const BYTE* GetData() const;  // the request's own copy; valid until the next Prepare
  int GetLength() const;
  platform::MessageTarget* GetReplyWnd() const;
  UINT GetReplyMsg() const;
  int GetExtra() const;
  std::uint64_t GetSerial() const;
  std::shared_ptr<const ComCommand> GetCommand() const;

  // The reply gathered so far for the current preparation.
  std::vector<BYTE> GetReply() const;
  int GetReplyLength() const;
  bool ReplyOverflowed() const;

  // The link's side: appends to the reply of preparation `serial`; false (and
  // nothing stored) when the request was prepared again meanwhile. Bytes past
  // the 256-byte buffer are not stored and mark the reply overflowed.
  bool AppendReply(std::uint64_t serial, const BYTE* data, int length);
  bool MarkOverflow(std::uint64_t serial);

  // The two manual-reset events.
  void SetSuccessEvent();
  void SetFailureEvent();
  bool IsSuccessSet() const;
  // 1 when the success event is (or becomes) set within the time-out, 0 for the
  // failure event, -1 on time-out. Success is looked at first. When the
  // request is prepared again meanwhile (serial given, or the current one at
  // the start of the wait), the waiter's command is abandoned: 0.
  int WaitEither(std::chrono::milliseconds timeout, std::uint64_t serial = 0) const;

  // The WM_COM_REQUEST message that hands this request to the property view.
  platform::Message MakeSubmitMessage(UINT msg) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  std::shared_ptr<const ComCommand> command_;
  std::array<BYTE, kReplySize> reply_{};
  int replyLength_ = 0;
  bool overflow_ = false;
  bool success_ = false;
  bool failure_ = false;
  std::uint64_t nextSerial_ = 1;
};

// The reply carried by a reply message, or null.
const ComReply* ReplyOf(const platform::Message& message);
// The command carried by a submit message, or null.
std::shared_ptr<const ComCommand> CommandOf(const platform::Message& message);
// The request in wParam.
inline CComRequest* RequestOf(const platform::Message& message) {
  return reinterpret_cast<CComRequest*>(message.wParam);
}
