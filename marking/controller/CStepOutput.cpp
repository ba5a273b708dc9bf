#include "marking/controller/CStepOutput.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "values/ShellValues.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/ControllerState.h"
#include "marking/link/CControllerLink.h"
#include "marking/link/CPreciseDelay.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

namespace {

constexpr std::uint8_t kStroke = SN_TOOL_DOWN;
constexpr std::uint8_t kDot = SN_NEEDLE_DOT;

std::int64_t PeriodFor(double speed, double e, int o, long long m) {
  // A speed that is not a positive number would divide by zero: take the slowest.
  if (!(speed >= 1.0)) speed = 1.0;
  const double ns = o * (e / speed) * 1000000.0 / static_cast<double>(m);
  const auto period = static_cast<std::int64_t>(std::min(ns, 9.0e15));
  return std::max<std::int64_t>(period, CStepOutput::kMinPeriodNs);
}

void StepAxis(int axis, int direction, int phase) {
  switch (axis) {
    case AXIS_X: SetAxisXDirection(direction, phase); break;
    case AXIS_Y: SetAxisYDirection(direction, phase); break;
    default: SetAxisZDirection(direction, phase); break;
  }
}

void WriteShadow() { WriteOutPort(static_cast<BYTE>(OutputShadow.load() & 0xFF)); }

}  // namespace

CStepOutput::CStepOutput(platform::Clock* clock, CPreciseDelay* delay) : clock_(clock), delay_(delay) {
  if (!delay_) {
    delay_ = new CPreciseDelay(clock_);
    ownsDelay_ = true;
  }
}

CStepOutput::~CStepOutput() {
  if (ownsDelay_) delete delay_;
}

int CStepOutput::BoardType() const { return boardType_ ? boardType_() : SoftType.load(); }

bool CStepOutput::IsRotaryNode(std::uint8_t flags) {
  return ((flags & SN_ROTARY_2AXIS) && !(flags & SN_POSITIONING)) ||
         (!(flags & SN_ROTARY_2AXIS) && (flags & SN_ROTARY_3AXIS));
}

void CStepOutput::BeginJob() {
  preMarkPending_ = true;
  objectStartPending_ = false;
  lastNodeStepped_ = false;
  lastJump_ = 0;
}

void CStepOutput::BeginObject(const ObjectDelays& delays) {
  delays_ = delays;
  objectStartPending_ = true;
}

void CStepOutput::SleepMs(int ms) {
  if (ms <= 0) return;
  platform::Clock& clock = clock_ ? *clock_ : platform::CurrentClock();
  // The USB job runs in a worker: a real clock lets it sleep instead of spin.
  if (IsUsbBoard() && dynamic_cast<platform::SteadyClock*>(&clock) != nullptr) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  clock.BusyWaitMicros(ms * 1000.0);
}

void CStepOutput::WaitPeriod(std::int64_t ns) { delay_->Wait(ns); }

void CStepOutput::OweStartMarkDelay() {
  if (!preMarkPending_) return;
  preMarkPending_ = false;
  const int ms = StartMarkDelay.load();
  if (ms >= 1 && ms <= 600000) SleepMs(ms);
}

int CStepOutput::AskTerminate() {
  return platform::MessageBox("Are you terminated marking", "Vendrik", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CStepOutput::WriteNeedle(bool down) {
  const int levels = PortLevelByte.load();
  const bool high = down ? (levels & 0x04) != 0 : (levels & 0x08) != 0;
  int old = OutputShadow.load();
  while (!OutputShadow.compare_exchange_weak(old, high ? (old | OUT_NEEDLE) : (old & ~OUT_NEEDLE))) {
  }
  WriteShadow();
}

void CStepOutput::NeedleUp() { WriteNeedle(false); }
void CStepOutput::NeedleDown() { WriteNeedle(true); }

void CStepOutput::ComputeSpeedTable(double jumpSpeed, double fastJumpSpeed, double markSpeed, CDrawProperity& record) {
  const int type = record.GetMachineType();
  const int k = type == 0 ? 1 : (type == 2 ? 3 : 2);
  const double e = k * 21000.0;
  const double stepX = record.GetStepLengthX();
  const double stepY = record.GetStepLengthY();
  const long long fy = static_cast<long long>(50265.4816 / stepY);
  const long long fx = static_cast<long long>(50265.4816 / stepX);
  const long long m = std::max<long long>(std::min(fx, fy), 1);
  const int o = (stepX > 7.5 || stepY > 7.5) ? 2 : 1;
  periods_.jump = PeriodFor(jumpSpeed, e, o, m);
  periods_.mark = PeriodFor(markSpeed, e, o, m);
  periods_.fastJump = PeriodFor(fastJumpSpeed, e, o, m);
  periods_.auxiliary = PeriodFor(record.GetAuxSpeed(), e, o, m);
  if (record.GetAcceleration() <= 10) record.SetAcceleration(10);
}

int CStepOutput::OutputNode(const StepNode& node, int airOn, CDrawProperity& record) {
  if (IsUsbBoard()) return SendMoveNode(node, record);
  if (lastNodeStepped_ && (node.flags & (kDot | kStroke)) == 0) {
    const int objectEnd = record.GetObjectEndDelay();
    if (objectEnd > 0 && objectEnd < 60000) SleepMs(objectEnd);
  }
  const int result = StepMoveNode(node, airOn, record);
  lastNodeStepped_ = true;
  return result;
}

int CStepOutput::SendPiece(int x, int y, std::uint8_t flags) {
  if (!link_) return 0;
  // A record whose first byte is 0x50 would read as the pause record.
  if (x / 256 == 0x50) {
    const double ratio = 512.0 / x;
    const int l = static_cast<int>(x * ratio);
    const int m = static_cast<int>(ratio * y);
    if (!link_->SendMove(static_cast<std::uint16_t>(x - l), static_cast<std::uint16_t>(y - m), flags)) return 0;
    return link_->SendMove(static_cast<std::uint16_t>(l), static_cast<std::uint16_t>(m), flags);
  }
  return link_->SendMove(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), flags);
}

int CStepOutput::SendMoveNode(const StepNode& node, const CDrawProperity& record) {
  const long long x = node.stepsX;
  const long long y = node.stepsY;
  // Long moves go out in pieces: two from 250 mm on (as the board has always
  // had them), and as many as needed so that no piece overflows its 16 bits.
  int pieces = 1;
  if (x * record.GetStepLengthX() * 0.001 >= kMaxPieceMm || y * record.GetStepLengthY() * 0.001 >= kMaxPieceMm)
    pieces = 2;
  const long long longest = std::max(x, y);
  pieces = static_cast<int>(std::max<long long>(pieces, (longest + kMaxPieceSteps - 1) / kMaxPieceSteps));

  const bool rotary = RotateMark.load() && IsRotaryNode(node.flags);
  const bool rotaryOnX = rotary && XReplacesZ();
  const bool rotaryOnY = rotary && !XReplacesZ();

  if ((node.flags & (kDot | kStroke)) != 0) OweStartMarkDelay();

  const bool nextIsStroke = node.next != nullptr && (node.next->flags & kStroke) != 0;
  long long restX = x;
  long long restY = y;
  int result = 1;
  for (int k = pieces; k >= 1 && result; --k) {
    // The first pieces take the larger share: X - X/2 before X/2.
    const long long px = restX - restX * (k - 1) / k;
    const long long py = restY - restY * (k - 1) / k;
    restX -= px;
    restY -= py;
    std::uint8_t flags = node.flags;
    if (k == 1 && nextIsStroke) flags |= 0x20;
    const int dx = static_cast<int>(px);
    const int dy = static_cast<int>(py);
    AxisStepCounters[rotaryOnX ? AXIS_Z : AXIS_X].fetch_add((node.flags & SN_X_NEGATIVE) ? -dx : dx);
    AxisStepCounters[rotaryOnY ? AXIS_Z : AXIS_Y].fetch_add((node.flags & SN_Y_POSITIVE) ? -dy : dy);
    result = SendPiece(dx, dy, flags);
  }
  return result;
}

int CStepOutput::StepMoveNode(const StepNode& node, int airOn, const CDrawProperity& record) {
  rampTarget_ = 0;
  rampLength_ = 0;
  const std::uint8_t f = node.flags;
  const int x = node.stepsX;
  const int y = node.stepsY;
  const bool xMajor = x >= y;
  const int major = xMajor ? x : y;
  const int minor = xMajor ? y : x;
  const double distance = major * (xMajor ? record.GetStepLengthX() : record.GetStepLengthY()) * 0.001;
  long long err = static_cast<long long>(minor) - major;
  const bool dot = (f & kDot) != 0;
  const bool stroke = (f & kStroke) != 0 && !dot;

  const bool rotary = RotateMark.load() && IsRotaryNode(f);
  const int xAxis = rotary && XReplacesZ() ? AXIS_Z : AXIS_X;
  const int yAxis = rotary && !XReplacesZ() ? AXIS_Z : AXIS_Y;
  const int xDir = (f & SN_X_NEGATIVE) ? 1 : 0;
  const int yDir = (f & SN_Y_POSITIVE) ? 1 : 0;

  std::int64_t period;
  bool needleDown = false;
  if (f >= kDot && airOn) {
    OweStartMarkDelay();
    needleDown = stroke;
    WriteNeedle(needleDown);
    int dwell = 0;
    if (objectStartPending_) {
      dwell = delays_.penDown;
      objectStartPending_ = false;
    } else if (lastJump_ >= 10000) {
      dwell = delays_.penDown;
    } else if (lastJump_ >= 4000) {
      dwell = (delays_.penDown + delays_.penChange) / 2;
    } else if (lastJump_ >= 2000) {
      dwell = delays_.penChange;
    } else if (lastJump_ >= 1000) {
      dwell = delays_.penChange / 2;
    } else if (lastJump_ >= 500) {
      dwell = delays_.penChange / 5;
    } else if (lastJump_ >= 50) {
      dwell = 10;
    }
    lastJump_ = 0;
    SleepMs(dwell);
    if (dot && major >= 2500) {
      period = periods_.jump;
      lastJump_ = major;
    } else {
      period = periods_.mark;
    }
  } else {
    WriteNeedle(false);
    lastJump_ = major;
    period = periods_.jump;
  }

  // Speed ramp of long jumps.
  bool ramping = false, accelerating = false, cruising = false;
  std::int64_t increment = 0;
  std::int64_t target = period;
  int rampLength = 0;
  int count = 0;
  if ((!(f & kStroke) || dot) && distance >= 4.0 && !rotary && periods_.jump > periods_.fastJump) {
    const double t = std::min(distance * 0.02, 1.0);
    const int accel = std::max(record.GetAcceleration(), 10);
    target = periods_.jump + static_cast<std::int64_t>((periods_.fastJump - periods_.jump) * t);
    increment = (target - periods_.jump) / accel;
    rampLength = major < 3 * accel ? major / 3 : accel;
    rampLength += static_cast<int>(rampLength * t * 1.5);
    ramping = accelerating = true;
    rampTarget_ = target;
    rampLength_ = rampLength;
  }

  // With the rotary ramp on the move runs at the period scaled by the ramp
  // factor. When the rotary drive makes the major axis it starts there and
  // winds up to its own period over at most 1000 steps, and winds down the
  // same way before the end.
  bool rotaryRamp = false;
  std::int64_t rotaryBase = 0;
  std::int64_t rotaryStart = 0;
  int rotaryRampSteps = 0;
  if (rotary) {
    if (record.GetAuxSpeedSwitch()) period = periods_.auxiliary;
    if (machine_.rotaryRampOn) {
      const double factor = machine_.rotaryRampFactor < 1.0 ? 1.0 : machine_.rotaryRampFactor;
      rotaryBase = period;
      rotaryStart = static_cast<std::int64_t>(period * factor);
      period = rotaryStart;
      const bool rotaryIsMajor = (xMajor && xAxis == AXIS_Z) || (!xMajor && yAxis == AXIS_Z);
      rotaryRamp = rotaryIsMajor && rotaryStart > rotaryBase;
      rotaryRampSteps = std::min(1000, major / 2);
    }
  }

  const int majorAxis = xMajor ? xAxis : yAxis;
  const int minorAxis = xMajor ? yAxis : xAxis;
  const int majorDir = xMajor ? xDir : yDir;
  const int minorDir = xMajor ? yDir : xDir;
  auto oneStep = [&](bool withMajor, bool withMinor) {
    for (int phase = 0; phase < 2; ++phase) {
      if (withMajor) StepAxis(majorAxis, majorDir, phase);
      if (withMinor) StepAxis(minorAxis, minorDir, phase);
      WriteShadow();
      WaitPeriod(period);
    }
  };

  minPeriod_ = period;
  int minorDone = 0;
  for (int i = 0; i < major; ++i) {
    if (MarkStatusWord.load() & MSW_STOP_CONFIRMED) {
      WriteNeedle(false);
      if (AskTerminate()) return 0;
      if (needleDown) WriteNeedle(true);
      MarkStatusWord.fetch_and(~(MSW_STOP_REQUEST | MSW_STOP_CONFIRMED));
    }
    bool withMinor = false;
    if (err >= 0) {
      withMinor = minorDone < minor;
      err += minor - major;
    } else {
      err += minor;
    }
    if (withMinor) ++minorDone;
    oneStep(true, withMinor);

    const int remaining = major - (i + 1);
    if (ramping) {
      if (accelerating) {
        period += increment;
        ++count;
        if (period <= target) {
          period = target;
          accelerating = false;
          cruising = true;
        } else if (count >= rampLength) {
          accelerating = false;
          cruising = true;
        }
      } else if (cruising) {
        if (remaining <= rampLength) cruising = false;
      } else {
        period -= increment;
        if (period >= periods_.jump) {
          period = periods_.jump;
          ramping = false;
        }
      }
    } else if (rotaryRamp && rotaryRampSteps > 0) {
      const int done = i + 1;
      const int edge = std::min(done, remaining);
      const std::int64_t span = rotaryStart - rotaryBase;
      period = edge >= rotaryRampSteps ? rotaryBase : rotaryStart - span * edge / rotaryRampSteps;
    }
    minPeriod_ = std::min(minPeriod_, period);
  }
  while (minorDone < minor) {
    oneStep(false, true);
    ++minorDone;
  }

  if (RotateMark.load() && (f & (SN_ROTARY_2AXIS | SN_ROTARY_3AXIS)) == SN_ROTARY_3AXIS && machine_.rotaryRampOn)
    SleepMs(machine_.rotarySettleMs);

  if (dot && airOn) {
    if (record.GetNeedleDelayBefore() > 0) SleepMs(record.GetNeedleDelayBefore());
    WriteNeedle(true);
    SleepMs(delays_.dotTime + 5);
    WriteNeedle(false);
    if (record.GetNeedleDelayAfter() > 0) SleepMs(record.GetNeedleDelayAfter());
  }

  if (node.next != nullptr && (node.next->flags & kStroke) != 0) return 1;
  SleepMs(delays_.strokeEnd);
  WriteNeedle(false);
  const int objectEnd = record.GetObjectEndDelay();
  if (objectEnd > 0 && objectEnd < 60000) SleepMs(objectEnd);
  return 1;
}

int CStepOutput::SeekOriginOnce(const CDrawProperity& constRecord, double readGapMicros, std::string& error,
                                int* xStepped, int* yStepped, NoSeekAxis noSeekAxis) {
  CDrawProperity& record = const_cast<CDrawProperity&>(constRecord);
  error.clear();
  ComputeSpeedTable(record.GetResetSpeed(), record.GetPenUpSpeed2(), record.GetPenDownSpeed(), record);
  const std::int64_t period = periods_.jump;
  WriteNeedle(false);

  int xDir = 1, yDir = 1;
  switch (machine_.originCorner) {
    case 1: xDir = 1; yDir = 0; break;
    case 2: xDir = 0; yDir = 1; break;
    case 3: xDir = 0; yDir = 0; break;
    default: break;
  }
  long long budgetX = static_cast<long long>(record.GetRangeX() * 1000.0 / record.GetStepLengthX()) + 500;
  long long budgetY = static_cast<long long>(record.GetRangeY() * 1000.0 / record.GetStepLengthY()) + 500;

  const bool noSeek = RotateMark.load() && !ThreeAxisRotate.load() && NoSeekOriginXY.load();
  const bool rotaryOnX = noSeek && XReplacesZ();
  const bool rotaryOnY = noSeek && !XReplacesZ();
  if (rotaryOnX) AxisStepCounters[AXIS_X] = 0;
  if (rotaryOnY) AxisStepCounters[AXIS_Y] = 0;
  const bool skipX = rotaryOnX && noSeekAxis == NoSeekAxis::Stays;
  const bool skipY = rotaryOnY && noSeekAxis == NoSeekAxis::Stays;

  platform::Clock& clock = clock_ ? *clock_ : platform::CurrentClock();
  int steppedX = 0, steppedY = 0;
  const int levels = PortLevelByte.load();
  auto stepOne = [&](int axis, int dir) {
    StepAxis(axis, dir, 0);
    WriteShadow();
    WaitPeriod(period);
    StepAxis(axis, dir, 1);
    WriteShadow();
    WaitPeriod(period);
  };
  for (;;) {
    if (MarkStatusWord.load() & MSW_STOP_CONFIRMED) return 0;
    BYTE in = ReadInPort();
    clock.BusyWaitMicros(readGapMicros);
    in &= ReadInPort();
    clock.BusyWaitMicros(readGapMicros);
    in &= ReadInPort();
    LastInputByte = in;
    const bool xHome = skipX || ((in >> 7) & 1) == (levels & 1);
    const bool yHome = skipY || ((in >> 5) & 1) == ((levels >> 1) & 1);
    if (!xHome) {
      stepOne(AXIS_X, xDir);
      ++steppedX;
      if (--budgetX <= 0) {
        error = "Axis(x) back to origin error!!!";
        break;
      }
    } else if (!skipX) {
      AxisStepCounters[AXIS_X] = 0;
    }
    if (!yHome) {
      stepOne(AXIS_Y, yDir);
      ++steppedY;
      if (--budgetY <= 0) {
        error = "Axis(y) back to origin error!!!";
        break;
      }
    } else if (!skipY) {
      AxisStepCounters[AXIS_Y] = 0;
    }
    if (xHome && yHome) break;
  }
  if (xStepped) *xStepped = steppedX;
  if (yStepped) *yStepped = steppedY;
  return error.empty() ? 1 : 0;
}
