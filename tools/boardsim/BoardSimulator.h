#pragma once
// The controller board as the host sees it over the wire, in either protocol
// variant: letter commands, the parameter block after "HH", the speed block
// after "WW", move records until the end record, 33-byte frames with their
// additive checksum, replies framed 0x0B 0x0C ... 0xFD 0xFE, one-byte (plain)
// or four-byte (framed) stream replies, and the hand-key report. It records
// what it received and can be told to misbehave on a chosen reply.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace boardsim {

using Bytes = std::vector<std::uint8_t>;

enum class Variant { Plain, Framed };

enum class FaultKind {
  Drop,     // no reply
  Corrupt,  // reply bytes changed so the host's check fails
  Delay,    // reply sent late
  Resend,   // framed: the board asks for the command again and does not run it
  Stop,     // stream record: run it, then report the stop key
  Hold,     // reply kept until ReleaseHeld(): late by as much as the host needs
};

struct Fault {
  FaultKind kind = FaultKind::Drop;
  int reply = 1;    // which reply, counted from 1 when the fault is queued
  int delayMs = 0;  // for Delay
};

struct MoveRecord {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
  std::uint8_t flags = 0;
  bool operator==(const MoveRecord&) const = default;
};

struct BoardConfig {
  Variant variant = Variant::Plain;
  std::uint8_t originStatus = 0;  // byte 0 of the origin reply
  int partialTimeoutMs = 250;     // a command unfinished this long is dropped
  // How long the block announced by "HH" or "WW" is waited for before its
  // first byte: the host sends it only after taking the answer and a pause of
  // its own, which a busy computer stretches well past the gap above. Under the
  // host's 3 s for an answer, so a letter command sent again after a lost
  // answer is read as a command.
  int blockWaitMs = 2500;
};

class BoardSimulator {
 public:
  // Bytes to send and how long to hold them first.
  using Output = std::function<void(const Bytes& bytes, int delayMs)>;

  explicit BoardSimulator(BoardConfig config = {});
  void SetOutput(Output output);

  // Bytes from the host, received at nowMs (any monotonic milliseconds).
  void Feed(const std::uint8_t* data, std::size_t length, std::int64_t nowMs);
  void Feed(const Bytes& data, std::int64_t nowMs) { Feed(data.data(), data.size(), nowMs); }

  void QueueFault(Fault fault);
  // Sends the replies held back so far, in order; false when none was.
  bool ReleaseHeld();
  // The machine's start key: the framed "HKEY" report.
  void SendHandKey();
  void SetVariant(Variant variant);
  void SetOriginStatus(std::uint8_t status);

  // What the board received and did.
  std::vector<MoveRecord> Moves() const;
  std::vector<std::string> Commands() const;  // "HH", "PARA", "MM", "END", "PAUSE", "RESYNC", "ABORT"...
  Bytes LastParameterBlock() const;            // 28 bytes (framed: rebuilt from the frame)
  Bytes LastSpeedBlock() const;                // 4 bytes
  int ChecksumErrors() const;
  int RepliesSent() const;
  bool InStream() const;
  void ClearRecords();

 private:
  enum class Mode { Idle, Parameters, Speed, Stream };
  void FeedByte(std::uint8_t b);
  void IdleByte(std::uint8_t b);
  // Outside a stream only the records of five equal bytes (pause, end,
  // resynchronise) can be told from other bytes; true when b was taken.
  bool IdleRecordByte(std::uint8_t b);
  void Letter(char letter);
  void Frame(const Bytes& frame);
  void Record(const Bytes& record);
  // Counts the reply a command is about to get and returns the fault queued
  // for it, if any.
  const Fault* NextReplyFault();
  void Emit(Bytes bytes, const Fault* fault);
  static Bytes Framed(const Bytes& payload);

  mutable std::mutex mutex_;
  BoardConfig config_;
  Output output_;
  Mode mode_ = Mode::Idle;
  Bytes partial_;
  bool inFrame_ = false;
  bool inIdleRecord_ = false;
  std::int64_t lastByteMs_ = 0;
  std::deque<Fault> faults_;  // reply = absolute reply number here
  Fault current_;
  int replyIndex_ = 0;        // replies decided so far
  std::vector<MoveRecord> moves_;
  std::vector<std::string> commands_;
  Bytes parameters_;
  Bytes speed_;
  int checksumErrors_ = 0;
  int repliesSent_ = 0;
  std::vector<Bytes> held_;
};

const char* FaultName(FaultKind kind);
// "drop", "corrupt", "delay", "resend", "stop"; false when unknown.
bool ParseFaultKind(const std::string& text, FaultKind& kind);

}  // namespace boardsim
