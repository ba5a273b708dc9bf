#include "marking/link/WireProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstring>

int BuildLetterCommand(BYTE* out, char letter) {
  std::memset(out, 0, kLetterCommandSize);
  out[6] = out[7] = static_cast<BYTE>(letter);
  return kLetterCommandSize;
}

BYTE FrameChecksum(const BYTE* frame) {
  unsigned sum = 0;
  for (int i = 1; i <= 31; ++i) sum += frame[i];
  return static_cast<BYTE>(sum & 0xFF);
}

int BuildFrame(BYTE* out, BYTE command, const BYTE* data, int dataLength) {
  std::memset(out, 0, kFrameSize);
  out[0] = 0xFF;
  out[1] = command;
  if (data && dataLength > 0) std::memcpy(out + 2, data, static_cast<std::size_t>(std::min(dataLength, 30)));
  out[32] = FrameChecksum(out);
  return kFrameSize;
}

int BuildRecord(BYTE* out, const BYTE record[5], bool framed) {
  std::memcpy(out, record, kRecordSize);
  if (!framed) return kRecordSize;
  unsigned sum = 0;
  for (int i = 0; i < kRecordSize; ++i) sum += record[i];
  out[5] = static_cast<BYTE>(sum & 0xFF);
  return kFramedRecordSize;
}

int BuildFilledRecord(BYTE* out, BYTE fill, bool framed) {
  BYTE record[5];
  std::memset(record, fill, sizeof record);
  return BuildRecord(out, record, framed);
}

void MakeMoveRecord(BYTE out[5], std::uint16_t xSteps, std::uint16_t ySteps, BYTE flags) {
  out[0] = static_cast<BYTE>(xSteps >> 8);
  out[1] = static_cast<BYTE>(xSteps & 0xFF);
  out[2] = static_cast<BYTE>(ySteps >> 8);
  out[3] = static_cast<BYTE>(ySteps & 0xFF);
  out[4] = flags;
}

bool FrameForVariant(int type, const BYTE* in, int length, bool framed, std::vector<BYTE>& out,
                     bool& immediateSuccess) {
  immediateSuccess = false;
  out.clear();
  length = std::max(length, 0);
  if (!framed) {
    out.assign(in, in + length);
    return true;
  }
  BYTE frame[kFrameSize];
  switch (type) {
    case COM_ABORT:
      out.assign(in, in + length);
      return true;
    case COM_HELLO:
    case COM_SPEED_BEGIN:
      immediateSuccess = true;
      return false;
    case COM_MARK_BEGIN:
    case COM_ORIGIN: {
      // Bytes 1..30 of the letter command, so the letters land on frame bytes 7 and 8.
      BYTE data[30] = {};
      std::memcpy(data, in + 1, static_cast<std::size_t>(std::clamp(length - 1, 0, 30)));
      BuildFrame(frame, type == COM_MARK_BEGIN ? FRAME_MARK_BEGIN : FRAME_ORIGIN, data, 30);
      out.assign(frame, frame + kFrameSize);
      return true;
    }
    case COM_PARAMETERS:
    case COM_SPEED: {
      // The whole block, placed from frame byte 2 on.
      BuildFrame(frame, type == COM_PARAMETERS ? FRAME_PARAMETERS : FRAME_SPEED, in, std::clamp(length, 0, 30));
      out.assign(frame, frame + kFrameSize);
      return true;
    }
    case COM_STREAM: {
      BYTE record[kFramedRecordSize];
      BYTE five[kRecordSize] = {};
      std::memcpy(five, in, static_cast<std::size_t>(std::min(length, kRecordSize)));
      int n = BuildRecord(record, five, true);
      out.assign(record, record + n);
      return true;
    }
    default:
      return false;
  }
}

int CommandTimeoutMs(int type) {
  switch (type) {
    case COM_HELLO:
    case COM_MARK_BEGIN:
    case COM_PARAMETERS:
    case COM_SPEED_BEGIN:
      return 3000;
    case COM_ORIGIN:
      return 120000;
    case COM_STREAM:
      return 600000;
    case COM_SPEED:
      return 5000;
    default:
      return 0;
  }
}

double SpeedConstant(int machineType) {
  switch (machineType) {
    case 1: return 188.1;
    case 2: return 250.1;
    default: return 122.1;
  }
}

namespace {

// Truncation towards zero that stays defined for any double.
long long ToInt(double v) {
  if (!std::isfinite(v)) return 0;
  v = std::clamp(v, -1e15, 1e15);
  return static_cast<long long>(v);
}

// A 16-bit field sent plus-one: ((v + 1) >> 8) + 1, (v + 1) & 0xFF.
void PutPlusOne(BYTE* at, long long v) {
  const long long w = v + 1;
  at[0] = static_cast<BYTE>(((w >> 8) + 1) & 0xFF);
  at[1] = static_cast<BYTE>(w & 0xFF);
}

// Range in steps plus 500, capped.
long long RangeSteps(double rangeMm, double stepUm, long long limit) {
  long long steps = stepUm != 0 ? ToInt(rangeMm * 1000.0 / stepUm) : 0;
  steps += 500;
  return steps > limit ? 65530 : steps;
}

}  // namespace

std::array<BYTE, kParameterBlockSize> BuildParameterBlock(const ParameterBlockInput& in) {
  std::array<BYTE, kParameterBlockSize> b{};
  BYTE mode = 0;
  // Each bit follows its own option; the board looks at the drive bits only
  // in rotary mode.
  if (in.rotaryMode) mode |= 0x01;
  mode |= in.rotaryOnY ? 0x04 : 0x02;
  if (in.threeAxisRotary) mode |= 0x08;
  if (in.noSeekOriginXY) mode |= 0x10;
  if (in.airOn) mode |= 0x20;
  b[0] = mode;
  const long long x = RangeSteps(in.xRange, in.stepX, 65500);
  const long long y = RangeSteps(in.yRange, in.stepY, 65530);
  b[1] = static_cast<BYTE>((x >> 8) & 0xFF);
  b[2] = static_cast<BYTE>(x & 0xFF);
  b[3] = static_cast<BYTE>((y >> 8) & 0xFF);
  b[4] = static_cast<BYTE>(y & 0xFF);
  const double a = SpeedConstant(in.machineType);
  auto speedField = [&](BYTE* at, long long v) {
    at[0] = 0x01;
    at[1] = static_cast<BYTE>((v + 1) & 0xFF);
  };
  speedField(&b[5], ToInt(a - in.resetSpeed));
  speedField(&b[7], ToInt(a - in.secondPenUpSpeed));
  speedField(&b[9], ToInt(a - in.penDownSpeed));
  speedField(&b[11], in.auxiliarySpeedOn ? ToInt(a - in.auxiliarySpeed) : 0);
  PutPlusOne(&b[13], in.startDelay);
  PutPlusOne(&b[15], in.normalDelay);
  PutPlusOne(&b[17], in.strokeEndDelay);
  PutPlusOne(&b[19], in.dotTime);
  PutPlusOne(&b[21], in.laser);
  PutPlusOne(&b[23], in.needleDelayBefore);
  PutPlusOne(&b[25], in.needleDelayAfter);
  b[27] = 0;
  return b;
}

std::uint16_t PulseDivider(int frequency) {
  frequency = std::clamp(frequency, 1, 500);
  return static_cast<std::uint16_t>(14745600 / (frequency * 512));
}

std::array<BYTE, kSpeedBlockSize> BuildSpeedBlock(int& frequency, double& duty) {
  frequency = std::clamp(frequency, 1, 500);
  if (!(duty >= 0)) duty = 0;  // also a NaN
  if (duty > 100) duty = 100;
  const std::uint16_t divider = PulseDivider(frequency);
  const auto on = static_cast<std::uint16_t>(ToInt(divider * duty * 0.01));
  return {static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider & 0xFF), static_cast<BYTE>(on >> 8),
          static_cast<BYTE>(on & 0xFF)};
}

ReplyVerdict JudgeReply(int type, const BYTE* reply, int length, bool framed, bool stopAlreadyRequested) {
  ReplyVerdict v;
  auto at = [&](int i) -> int { return i >= 0 && i < length ? reply[i] : 0; };
  auto starts = [&](const char* text) {
    const int n = static_cast<int>(std::strlen(text));
    return length >= n && std::memcmp(reply, text, static_cast<std::size_t>(n)) == 0;
  };
  if (framed) {
    int stop = 0, resend = 0, good = 0;
    for (int i = std::max(0, length - 4); i < length; ++i) {
      const BYTE c = reply[i];
      if (c == 'E' || c == 'H' || c == 'K' || c == 'Y') ++stop;
      if (c == 'R') ++resend;
      if (c == 0xDD) ++good;
    }
    v.signal = true;
    v.resend = resend > 2;
    if (type == COM_ORIGIN) v.originStatus = at(0);
    if (type == COM_STREAM) {
      v.stop = stop > 2;
      v.good = good > 2 || resend > 2 || v.stop || stopAlreadyRequested;
    } else {
      v.good = good > 2 || resend > 2;
    }
    return v;
  }
  switch (type) {
    case COM_HELLO: v.signal = true; v.good = starts("HH"); break;
    case COM_MARK_BEGIN: v.signal = true; v.good = starts("MM"); break;
    case COM_ORIGIN:
      v.signal = true;
      v.originStatus = at(0);
      v.good = length >= 5 && std::memcmp(reply + 1, "RSOK", 4) == 0;
      break;
    case COM_PARAMETERS: v.signal = true; v.good = starts("PARA"); break;
    case COM_STREAM:
      v.signal = true;
      v.stop = at(0) == 0xBB || at(1) == 0xBB;
      v.good = at(0) == 0xAA || v.stop || stopAlreadyRequested;
      break;
    case COM_SPEED_BEGIN: v.signal = true; v.good = starts("WW"); break;
    case COM_SPEED: v.signal = true; v.good = starts("RPWM"); break;
    default: break;
  }
  return v;
}
