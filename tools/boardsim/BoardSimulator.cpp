#include "tools/boardsim/BoardSimulator.h"

#include <algorithm>
#include <numeric>

namespace boardsim {
namespace {

constexpr std::uint8_t kGood = 0xDD;

bool AllEqual(const Bytes& b, std::size_t n, std::uint8_t value) {
  return b.size() >= n && std::all_of(b.begin(), b.begin() + static_cast<long>(n), [&](auto x) { return x == value; });
}

std::uint8_t Sum(const Bytes& b, std::size_t from, std::size_t to) {
  unsigned s = 0;
  for (std::size_t i = from; i < to && i < b.size(); ++i) s += b[i];
  return static_cast<std::uint8_t>(s & 0xFF);
}

}  // namespace

const char* FaultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::Drop: return "drop";
    case FaultKind::Corrupt: return "corrupt";
    case FaultKind::Delay: return "delay";
    case FaultKind::Resend: return "resend";
    case FaultKind::Stop: return "stop";
    case FaultKind::Hold: return "hold";
  }
  return "?";
}

bool ParseFaultKind(const std::string& text, FaultKind& kind) {
  for (FaultKind k : {FaultKind::Drop, FaultKind::Corrupt, FaultKind::Delay, FaultKind::Resend, FaultKind::Stop}) {
    if (text == FaultName(k)) {
      kind = k;
      return true;
    }
  }
  return false;
}

BoardSimulator::BoardSimulator(BoardConfig config) : config_(config) {}

void BoardSimulator::SetOutput(Output output) {
  std::lock_guard lock(mutex_);
  output_ = std::move(output);
}

void BoardSimulator::QueueFault(Fault fault) {
  std::lock_guard lock(mutex_);
  fault.reply = replyIndex_ + std::max(fault.reply, 1);
  faults_.push_back(fault);
}

void BoardSimulator::SetVariant(Variant variant) {
  std::lock_guard lock(mutex_);
  config_.variant = variant;
}

void BoardSimulator::SetOriginStatus(std::uint8_t status) {
  std::lock_guard lock(mutex_);
  config_.originStatus = status;
}

void BoardSimulator::SendHandKey() {
  std::lock_guard lock(mutex_);
  if (output_) output_(Framed({'H', 'K', 'E', 'Y'}), 0);
}

Bytes BoardSimulator::Framed(const Bytes& payload) {
  Bytes out{0x0B, 0x0C};
  out.insert(out.end(), payload.begin(), payload.end());
  out.push_back(0xFD);
  out.push_back(0xFE);
  return out;
}

const Fault* BoardSimulator::NextReplyFault() {
  ++replyIndex_;
  auto it = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) { return f.reply == replyIndex_; });
  if (it == faults_.end()) return nullptr;
  current_ = *it;
  faults_.erase(it);
  return &current_;
}

void BoardSimulator::Emit(Bytes bytes, const Fault* fault) {
  int delay = 0;
  if (fault) {
    switch (fault->kind) {
      case FaultKind::Drop: return;
      case FaultKind::Corrupt:
        // Keep a frame's head and tail so it is cut out, change what it says.
        if (bytes.size() >= 5 && bytes[0] == 0x0B) {
          for (std::size_t i = 2; i + 2 < bytes.size(); ++i) bytes[i] ^= 0x5A;
        } else {
          for (auto& b : bytes) b ^= 0x5A;
        }
        break;
      case FaultKind::Delay: delay = fault->delayMs; break;
      case FaultKind::Hold: held_.push_back(std::move(bytes)); return;
      default: break;
    }
  }
  ++repliesSent_;
  if (output_) output_(bytes, delay);
}

bool BoardSimulator::ReleaseHeld() {
  std::lock_guard lock(mutex_);
  if (held_.empty()) return false;
  for (Bytes& bytes : held_) {
    ++repliesSent_;
    if (output_) output_(bytes, 0);
  }
  held_.clear();
  return true;
}

void BoardSimulator::Feed(const std::uint8_t* data, std::size_t length, std::int64_t nowMs) {
  std::lock_guard lock(mutex_);
  if (length == 0) return;
  // A command left unfinished for a while is given up: the host has timed out
  // and will send it again whole.
  const bool blockAwaited = (mode_ == Mode::Parameters || mode_ == Mode::Speed) && partial_.empty();
  if (nowMs - lastByteMs_ > (blockAwaited ? config_.blockWaitMs : config_.partialTimeoutMs)) {
    partial_.clear();
    inFrame_ = false;
    inIdleRecord_ = false;
    // A block not begun in time is no longer awaited; the stream waits.
    if (mode_ == Mode::Parameters || mode_ == Mode::Speed) mode_ = Mode::Idle;
  }
  lastByteMs_ = nowMs;
  for (std::size_t i = 0; i < length; ++i) FeedByte(data[i]);
}

void BoardSimulator::FeedByte(std::uint8_t b) {
  const bool framed = config_.variant == Variant::Framed;
  switch (mode_) {
    case Mode::Idle:
      IdleByte(b);
      return;
    case Mode::Parameters:
    case Mode::Speed: {
      partial_.push_back(b);
      const std::size_t need = mode_ == Mode::Parameters ? 28 : 4;
      if (partial_.size() < need) return;
      const bool parameters = mode_ == Mode::Parameters;
      Bytes block;
      block.swap(partial_);
      mode_ = Mode::Idle;
      const Fault* fault = NextReplyFault();
      if (parameters) {
        parameters_ = block;
        commands_.push_back("PARA");
        Emit(Framed({'P', 'A', 'R', 'A'}), fault);
      } else {
        speed_ = block;
        commands_.push_back("RPWM");
        Emit(Framed({'R', 'P', 'W', 'M'}), fault);
      }
      return;
    }
    case Mode::Stream: {
      // A framed board still takes letter commands and frames between records
      // only in idle mode; in the stream every byte belongs to a record.
      partial_.push_back(b);
      const std::size_t need = framed ? 6 : 5;
      if (partial_.size() < need) return;
      Bytes record;
      record.swap(partial_);
      Record(record);
      return;
    }
  }
}

bool BoardSimulator::IdleRecordByte(std::uint8_t b) {
  const bool framed = config_.variant == Variant::Framed;
  const bool fixedRecordByte = b == 0x50 || b == 0x45 || b == 0x55;
  if (!inIdleRecord_) {
    if (!partial_.empty() || inFrame_ || !fixedRecordByte) return false;
    inIdleRecord_ = true;
    partial_.assign(1, b);
    return true;
  }
  // The five bytes are equal; the framed sixth is their sum. Anything else
  // was no record: dropped, and the byte read afresh.
  if (partial_.size() < 5 && b != partial_[0]) {
    partial_.clear();
    inIdleRecord_ = false;
    return false;
  }
  partial_.push_back(b);
  if (partial_.size() < (framed ? 6u : 5u)) return true;
  Bytes record;
  record.swap(partial_);
  inIdleRecord_ = false;
  Record(record);
  return true;
}

void BoardSimulator::IdleByte(std::uint8_t b) {
  const bool framed = config_.variant == Variant::Framed;
  if (IdleRecordByte(b)) return;
  if (inFrame_) {
    partial_.push_back(b);
    if (partial_.size() == 33) {
      Bytes frame;
      frame.swap(partial_);
      inFrame_ = false;
      Frame(frame);
    }
    return;
  }
  if (framed && b == 0xFF) {
    partial_.assign(1, b);
    inFrame_ = true;
    return;
  }
  // Letter commands: six zero bytes, then the letter twice. Stray bytes before
  // the zeros are dropped, so the board finds the next command by itself.
  const std::size_t n = partial_.size();
  if (n < 6) {
    if (b == 0) partial_.push_back(b);
    else partial_.clear();
    return;
  }
  if (n == 6) {
    if (b == 0) return;  // a longer run of zeros: still waiting for the letter
    partial_.push_back(b);
    return;
  }
  // n == 7: the second letter.
  const std::uint8_t first = partial_[6];
  partial_.clear();
  if (b == first) Letter(static_cast<char>(b));
}

void BoardSimulator::Letter(char letter) {
  const bool framed = config_.variant == Variant::Framed;
  const Fault* fault;
  switch (letter) {
    case 'H':
      commands_.push_back("HH");
      fault = NextReplyFault();
      Emit(Framed({'H', 'H'}), fault);
      mode_ = Mode::Parameters;
      return;
    case 'W':
      commands_.push_back("WW");
      fault = NextReplyFault();
      Emit(Framed({'W', 'W'}), fault);
      mode_ = Mode::Speed;
      return;
    case 'M':
      commands_.push_back("MM");
      fault = NextReplyFault();
      Emit(Framed({'M', 'M'}), fault);
      mode_ = Mode::Stream;
      return;
    case 'R':
      commands_.push_back("RR");
      fault = NextReplyFault();
      Emit(Framed({config_.originStatus, 'R', 'S', 'O', 'K'}), fault);
      return;
    case 'T':
      commands_.push_back("TT");
      fault = NextReplyFault();
      Emit(framed ? Framed({'V', '1'}) : Framed({'T', 'T'}), fault);
      return;
    case 'C':
      // The host closes the link; it takes the answer and does nothing more.
      commands_.push_back("CC");
      fault = NextReplyFault();
      Emit(framed ? Framed({kGood, kGood, kGood, kGood}) : Framed({'C', 'C'}), fault);
      mode_ = Mode::Idle;
      return;
    default:
      commands_.push_back(std::string(2, letter));
      return;
  }
}

void BoardSimulator::Frame(const Bytes& frame) {
  const Fault* fault = NextReplyFault();
  if (Sum(frame, 1, 32) != frame[32]) {
    ++checksumErrors_;
    commands_.push_back("BADSUM");
    Emit(Framed({'R', 'R', 'R', 'R'}), fault);
    return;
  }
  if (fault && fault->kind == FaultKind::Resend) {
    commands_.push_back("RESEND");
    Emit(Framed({'R', 'R', 'R', 'R'}), nullptr);
    return;
  }
  const Bytes good{kGood, kGood, kGood, kGood};
  switch (frame[1]) {
    case 0xA3:  // the parameter block from frame byte 2 on
      parameters_.assign(frame.begin() + 2, frame.begin() + 30);
      commands_.push_back("PARA");
      break;
    case 0xA2:
      speed_.assign(frame.begin() + 2, frame.begin() + 6);
      commands_.push_back("RPWM");
      break;
    case 0xA6:
      commands_.push_back("MM");
      mode_ = Mode::Stream;
      break;
    case 0xA4: {
      commands_.push_back("RR");
      Bytes payload{config_.originStatus};
      payload.insert(payload.end(), good.begin(), good.end());
      Emit(Framed(payload), fault);
      return;
    }
    case '7': commands_.push_back("NEEDLE7"); break;
    case '8': commands_.push_back("NEEDLE8"); break;
    case ':': commands_.push_back("SETUP:"); break;
    case ';': commands_.push_back("SETUP;"); break;
    default: commands_.push_back("FRAME?"); break;
  }
  Emit(Framed(good), fault);
}

void BoardSimulator::Record(const Bytes& record) {
  const bool framed = config_.variant == Variant::Framed;
  const Fault* fault = NextReplyFault();
  const Bytes good = framed ? Bytes{kGood, kGood, kGood, kGood} : Bytes{0xAA};
  const Bytes resend = framed ? Bytes{'R', 'R', 'R', 'R'} : Bytes{'R'};
  if (framed && Sum(record, 0, 5) != record[5]) {
    ++checksumErrors_;
    commands_.push_back("BADSUM");
    Emit(resend, fault && fault->kind != FaultKind::Resend ? fault : nullptr);
    return;
  }
  if (fault && fault->kind == FaultKind::Resend) {
    commands_.push_back("RESEND");
    Emit(resend, nullptr);
    return;
  }
  if (AllEqual(record, 5, 0x00)) {
    // The host's abort: leave the stream; the rest of its zeros are taken by
    // the idle letter reader.
    commands_.push_back("ABORT");
    mode_ = Mode::Idle;
    partial_.assign(5, 0);
    if (framed) partial_.push_back(0);
    return;
  }
  if (AllEqual(record, 5, 0x45)) {
    commands_.push_back("END");
    mode_ = Mode::Idle;
  } else if (AllEqual(record, 5, 0x50)) {
    commands_.push_back("PAUSE");
  } else if (AllEqual(record, 5, 0x55)) {
    commands_.push_back("RESYNC");
  } else {
    moves_.push_back({static_cast<std::uint16_t>(record[0] << 8 | record[1]),
                      static_cast<std::uint16_t>(record[2] << 8 | record[3]), record[4]});
  }
  if (fault && fault->kind == FaultKind::Stop) {
    commands_.push_back("STOP");
    Emit(framed ? Bytes{'E', 'E', 'E', 'E'} : Bytes{0xBB}, nullptr);
    return;
  }
  Emit(good, fault);
}

std::vector<MoveRecord> BoardSimulator::Moves() const {
  std::lock_guard lock(mutex_);
  return moves_;
}

std::vector<std::string> BoardSimulator::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

Bytes BoardSimulator::LastParameterBlock() const {
  std::lock_guard lock(mutex_);
  return parameters_;
}

Bytes BoardSimulator::LastSpeedBlock() const {
  std::lock_guard lock(mutex_);
  return speed_;
}

int BoardSimulator::ChecksumErrors() const {
  std::lock_guard lock(mutex_);
  return checksumErrors_;
}

int BoardSimulator::RepliesSent() const {
  std::lock_guard lock(mutex_);
  return repliesSent_;
}

bool BoardSimulator::InStream() const {
  std::lock_guard lock(mutex_);
  return mode_ == Mode::Stream;
}

void BoardSimulator::ClearRecords() {
  std::lock_guard lock(mutex_);
  moves_.clear();
  commands_.clear();
  parameters_.clear();
  speed_.clear();
  checksumErrors_ = 0;
}

}  // namespace boardsim
