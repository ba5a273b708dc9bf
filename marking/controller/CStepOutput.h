#pragma once
// How one step node leaves the program. On the USB board it becomes one or
// more 5-byte move records over the link; on the port boards the motors are
// stepped here: step and direction bits on the output port, the needle on bit
// 7, half-step periods from the speed table with a ramp on long jumps, dwell
// times before strokes and dot strikes. Also the origin seek of port boards.
//
// All waits go through the clock (the port-board waits pump messages), so
// tests run on a simulated clock and see every wait.
#include <cstdint>
#include <functional>
#include <string>

#include "document/path/StepNodes.h"
#include "marking/controller/MachineOptions.h"
#include "platform/WinTypes.h"

class CControllerLink;
class CDrawProperity;
class CPreciseDelay;

namespace platform {
class Clock;
}

// Half-step periods in nanoseconds, from the speeds of the moment.
struct StepPeriods {
  std::int64_t jump = 3000;
  std::int64_t mark = 3000;
  std::int64_t fastJump = 3000;
  std::int64_t auxiliary = 3000;
};

// Delays of the object being marked (ms), set by the controller per object.
struct ObjectDelays {
  int penDown = 0;
  int penChange = 0;
  int dotTime = 0;
  int strokeEnd = 0;
};

class CStepOutput {
 public:
  static constexpr std::int64_t kMinPeriodNs = 3000;
  // Records are 16 bits a field; the board also wants pieces under 250 mm.
  static constexpr double kMaxPieceMm = 250.0;
  static constexpr int kMaxPieceSteps = 65535;

  // clock: null for the process clock. delay: the controller's precise delay
  // for the half-step periods (its own when null).
  explicit CStepOutput(platform::Clock* clock = nullptr, CPreciseDelay* delay = nullptr);
  ~CStepOutput();
  CStepOutput(const CStepOutput&) = delete;
  CStepOutput& operator=(const CStepOutput&) = delete;

  void SetLink(CControllerLink* link) { link_ = link; }
  void SetMachineOptions(const MachineOptions& options) { machine_ = options; }
  const MachineOptions& GetMachineOptions() const { return machine_; }
  // Board type source (default: the shell's SoftType).
  void SetBoardTypeSource(std::function<int()> source) { boardType_ = std::move(source); }
  int BoardType() const;
  bool IsUsbBoard() const { return BoardType() == 1; }

  // 1 good / 0 stop or failure.
  int OutputNode(const StepNode& node, int airOn, CDrawProperity& record);
  int SendMoveNode(const StepNode& node, const CDrawProperity& record);
  int StepMoveNode(const StepNode& node, int airOn, const CDrawProperity& record);
  void ComputeSpeedTable(double jumpSpeed, double fastJumpSpeed, double markSpeed, CDrawProperity& record);

  // Two-axis rotary marking with "Y/X No seek origin": the axis that carries
  // the rotary drive stays where it is and counts as home (the home command),
  // or only starts counting from 0 and is sought like the other (jobs).
  enum class NoSeekAxis { Stays, Sought };

  // Port boards: drives both axes to their origin switches. readGapMicros is
  // the wait between the three reads of the input port. 1 home, 0 failed or
  // stopped; a failure text ends up in `error`.
  int SeekOriginOnce(const CDrawProperity& record, double readGapMicros, std::string& error, int* xStepped = nullptr,
                     int* yStepped = nullptr, NoSeekAxis noSeekAxis = NoSeekAxis::Stays);

  // Needle up or down at the port's levels, written at once.
  void NeedleUp();
  void NeedleDown();

  // A wait in milliseconds (pumping on the port boards).
  void SleepMs(int ms);

  // Job and object state.
  void BeginJob();  // the start-mark delay is owed again, no node stepped yet
  void BeginObject(const ObjectDelays& delays);
  void ForgetLastNode() { lastNodeStepped_ = false; }
  int& LastJump() { return lastJump_; }
  bool PreMarkPending() const { return preMarkPending_; }
  bool ObjectStartPending() const { return objectStartPending_; }
  const StepPeriods& Periods() const { return periods_; }
  const ObjectDelays& Delays() const { return delays_; }
  // Ramp bookkeeping of the last stepped node, for tests and benchmarks.
  std::int64_t LastRampTarget() const { return rampTarget_; }
  int LastRampLength() const { return rampLength_; }
  std::int64_t MinPeriodOfLastNode() const { return minPeriod_; }

  // True when the rotary drive makes the node's move (in rotary mode).
  static bool IsRotaryNode(std::uint8_t flags);

 private:
  void WaitPeriod(std::int64_t ns);
  void OweStartMarkDelay();
  int AskTerminate();
  void WriteNeedle(bool down);
  int SendPiece(int x, int y, std::uint8_t flags);

  platform::Clock* clock_;
  CPreciseDelay* delay_;
  bool ownsDelay_ = false;
  CControllerLink* link_ = nullptr;
  std::function<int()> boardType_;
  MachineOptions machine_;
  StepPeriods periods_;
  ObjectDelays delays_;
  bool preMarkPending_ = false;
  bool objectStartPending_ = false;
  bool lastNodeStepped_ = false;
  int lastJump_ = 0;
  // Ramp state of the node being stepped.
  std::int64_t rampTarget_ = 0;
  int rampLength_ = 0;
  std::int64_t minPeriod_ = 0;
};
