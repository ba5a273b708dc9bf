#include "libs/ravelpen/Playback.h"

#include <system_error>

#include "libs/ravelpen/PlotterHead.h"
#include "libs/ravelpen/PlotterSettings.h"

namespace ravelpen {

Playback& Player() {
  // The head, the settings and the list outlive the player, whose destructor
  // waits for a running job.
  Head();
  Settings();
  Moves();
  static Playback playback;
  return playback;
}

Playback::~Playback() {
  stop_ = true;
  Join();
}

void Playback::Join() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (thread_.joinable()) thread_.join();
}

int Playback::Start() {
  if (running_.load()) return 0;
  Join();  // the previous job's thread has finished its work; collect it
  if (!Head().Home()) {
    Moves().Clear();
    return 0;
  }
  std::vector<MoveNode> nodes = Moves().Take();
  stop_ = false;
  // Running before the thread exists, so a host polling right after the
  // start never sees an idle head.
  running_ = true;
  std::lock_guard<std::mutex> lock(mutex_);
  try {
    thread_ = std::thread([this, nodes = std::move(nodes)] {
      Run(nodes);
      Head().Home();  // a failed final homing is not reported
      running_ = false;
    });
  } catch (const std::system_error&) {
    running_ = false;
    return 0;
  }
  return 1;
}

void Playback::Run(const std::vector<MoveNode>& nodes) {
  PlotterHead& head = Head();
  const PlotterSettings& s = Settings();
  int counterX = 0;
  int counterY = 0;
  bool firstLine = true;
  bool afterPenUp = false;
  long long penUpSteps = 0;
  if (stop_) return;
  for (const MoveNode& node : nodes) {
    long long steps = static_cast<long long>(node.dx) + node.dy;
    double error = 0.0;
    int period = 0;
    if (!(node.flags & kMovePenDown)) {
      head.SetBits(kPenDown, false);
      head.WriteShadow();
      period = StepPeriodTicks(s.emptySpeed);
      afterPenUp = true;
      penUpSteps += steps;
    } else {
      period = StepPeriodTicks(s.lineSpeed);
      head.SetBits(kPenDown, true);
      head.WriteShadow();
      if (firstLine) {
        head.WaitTicks(7500);
        firstLine = false;
      } else if (afterPenUp && penUpSteps >= 5000) {
        head.WaitTicks(5000);
        afterPenUp = false;
      } else if (afterPenUp && penUpSteps >= 2500) {
        head.WaitTicks(2500);
        afterPenUp = false;
      } else {
        head.WaitTicks(2);
      }
      penUpSteps = 0;
    }
    const bool xPositive = !(node.flags & kMoveXNegative);
    const bool yPositive = (node.flags & kMoveYPositive) != 0;
    while (steps > 0) {
      head.WaitTicks(1);
      ++counterX;
      ++counterY;
      const bool stepX = node.dx > 0 && error >= 0;
      int& counter = stepX ? counterX : counterY;
      if (counter < period) continue;
      counter = 0;
      if (stepX) {
        head.StepPulse(Axis::X, xPositive);
        error -= node.dy;
      } else {
        head.StepPulse(Axis::Y, yPositive);
        error += node.dx;
      }
      --steps;
    }
    head.SetBits(kPenDown, false);
    head.WriteShadow();
    if (stop_) break;
  }
}

}  // namespace ravelpen
