// Fixed, caller-profile, continuous and interpolated moves and jogging.
#include <algorithm>
#include <climits>
#include <functional>
#include <thread>

#include "libs/qm318/MotionLayer.h"

namespace qm318 {
namespace {

constexpr int kCard = 0;
constexpr int kJogFallbackPulses = 200;

void Call(QM318_CALLBACK callback) {
  if (callback) callback();
}

std::vector<int> AxesOf(const std::vector<MotionLayer::AxisTarget>& targets) {
  std::vector<int> axes;
  for (const auto& t : targets) axes.push_back(t.axis);
  return axes;
}

std::vector<float> DistancesOf(const std::vector<MotionLayer::AxisTarget>& targets) {
  std::vector<float> d;
  for (const auto& t : targets) d.push_back(t.distance);
  return d;
}

}  // namespace

bool MotionLayer::Targets(const std::vector<int>& axes, const std::vector<float>& distances, bool absolute,
                          std::vector<int>& pulses) {
  // Every conversion and position read comes before the first test.
  std::vector<long long> targets;
  std::vector<int> current;
  for (std::size_t n = 0; n < axes.size(); ++n) {
    const int p = units_to_pulses(axes[n], distances[n]);
    const int c = Position(axes[n]);
    current.push_back(c);
    targets.push_back(absolute ? p : static_cast<long long>(c) + p);
  }
  for (std::size_t n = 0; n < axes.size(); ++n) {
    const std::size_t i = Index(axes[n]);
    if (para_.soft_limits[i] != 0 && (targets[n] > units_to_pulses(axes[n], para_.soft_max[i]) ||
                                      targets[n] < units_to_pulses(axes[n], para_.soft_min[i])))
      return false;
  }
  pulses.clear();
  for (std::size_t n = 0; n < axes.size(); ++n) pulses.push_back(TruncToInt(static_cast<double>(targets[n] - current[n])));
  return true;
}

int MotionLayer::SpeedSet(int axis, int speedSelect) {
  const std::size_t i = Index(axis);
  if (speedSelect == 0) return set_speed_profile(axis, para_.start_speed0[i], para_.drive_speed0[i], para_.acc_time0[i]);
  return set_speed_profile(axis, para_.start_speed1[i], para_.drive_speed1[i], para_.acc_time1[i]);
}

bool MotionLayer::AllStopped(const std::vector<int>& axes) const {
  return std::all_of(axes.begin(), axes.end(), [this](int axis) { return stop_[Index(axis)] != 0; });
}

bool MotionLayer::StoppedWhenStanding(const std::vector<int>& axes) const {
  for (int axis : axes)
    while (stopsInFlight_[Index(axis)] != 0) std::this_thread::yield();
  return AllStopped(axes);
}

bool MotionLayer::AllStanding(const std::vector<int>& axes) {
  // Every axis's status is read, even after one that still runs.
  bool standing = true;
  for (int axis : axes) standing = Standing(axis) && standing;
  return standing;
}

// Polls a move until every axis of it stands, as standing() tells. A stop
// request on all of them ends the polling with 0 at once; one that stopped
// them before the status showed it is still reported as a stop, not as done.
int MotionLayer::PollMove(const std::vector<int>& axes, const std::vector<int>& pulses,
                          const std::function<bool()>& standing, bool callbackBeforeFlags, QM318_CALLBACK callback) {
  bool marked = false;
  auto readLimits = [&] {
    for (std::size_t n = 0; n < axes.size(); ++n)
      if (read_limit_input(axes[n], pulses[n] <= 0)) marked = true;
  };
  for (;;) {
    readLimits();
    if (standing()) {
      if (StoppedWhenStanding(axes)) return 0;
      // A limit that stopped the drive after the read above still shows.
      readLimits();
      return marked ? -3 : 1;
    }
    if (callbackBeforeFlags) Call(callback);
    if (AllStopped(axes)) return 0;
    if (!callbackBeforeFlags) Call(callback);
  }
}

// Single-axis drives stand when each axis's status says so.
int MotionLayer::PollFixed(const std::vector<int>& axes, const std::vector<int>& pulses, bool callbackBeforeFlags,
                           QM318_CALLBACK callback) {
  return PollMove(axes, pulses, [&] { return AllStanding(axes); }, callbackBeforeFlags, callback);
}

int MotionLayer::WorkMove(const std::vector<AxisTarget>& targets, int absolute, int speedSelect,
                          QM318_CALLBACK callback) {
  const std::vector<int> axes = AxesOf(targets);
  for (int axis : axes)
    if (!Enabled(axis)) return -1;
  std::vector<int> pulses;
  if (!Targets(axes, DistancesOf(targets), absolute != 0, pulses)) return -2;
  for (int axis : axes) clear_stop_flag(axis);
  for (int axis : axes) SpeedSet(axis, speedSelect);
  for (std::size_t n = 0; n < axes.size(); ++n) chip_.pmove(kCard, axes[n], pulses[n]);
  // One and two axes test their stop flags before the callback, three and four after it.
  return PollFixed(axes, pulses, axes.size() >= 3, callback);
}

int MotionLayer::FreeMove(const std::vector<AxisTarget>& targets, int absolute, QM318_CALLBACK callback) {
  const std::vector<int> axes = AxesOf(targets);
  for (int axis : axes)
    if (!Enabled(axis)) return -1;
  for (int axis : axes) clear_stop_flag(axis);
  auto setProfiles = [&] {
    for (const auto& t : targets) set_speed_profile(t.axis, t.start_speed, t.drive_speed, t.acc_time);
  };
  if (targets.size() == 1) setProfiles();
  std::vector<int> pulses;
  if (!Targets(axes, DistancesOf(targets), absolute != 0, pulses)) return -2;
  if (targets.size() > 1) setProfiles();
  for (std::size_t n = 0; n < axes.size(); ++n) chip_.pmove(kCard, axes[n], pulses[n]);
  return PollFixed(axes, pulses, true, callback);
}

// Continuous drives end on a stop request (all four axes stopped, 0), when
// every axis has met its limit (-3), or when the chip has stopped them all by
// itself (-3 after a limit, else 1) instead of polling a standing card forever.
int MotionLayer::ContinueMove(const std::vector<std::array<int, 2>>& axisDirs, int speedSelect,
                              QM318_CALLBACK callback) {
  std::vector<int> axes;
  for (const auto& ad : axisDirs) axes.push_back(ad[0]);
  for (int axis : axes)
    if (!Enabled(axis)) return -1;
  const bool single = axes.size() == 1;
  for (int axis : axes) clear_stop_flag(axis);
  for (int axis : axes) SpeedSet(axis, speedSelect);
  for (const auto& [axis, dir] : axisDirs) {
    if (single) chip_.pmove(kCard, axis, dir != 0 ? -kContinuousPulses : kContinuousPulses);
    else chip_.continue_move(kCard, axis, dir);
  }
  std::vector<bool> seen(axes.size(), false);
  for (;;) {
    for (std::size_t n = 0; n < axisDirs.size(); ++n)
      if (read_limit_input(axisDirs[n][0], axisDirs[n][1])) seen[n] = true;
    if (single && seen[0]) return -3;
    if (std::all_of(seen.begin(), seen.end(), [](bool s) { return s; })) return -3;
    Call(callback);
    if (AllStopped(axes)) {
      all_stop(0);
      return 0;
    }
    if (AllStanding(axes)) {
      if (StoppedWhenStanding(axes)) {
        all_stop(0);
        return 0;
      }
      return std::any_of(seen.begin(), seen.end(), [](bool s) { return s; }) ? -3 : 1;
    }
  }
}

// An interpolated move stands when its pair's chip has ended the interpolation.
int MotionLayer::PollInterpolated(const std::vector<int>& axes, const std::vector<int>& pulses, int pair,
                                  QM318_CALLBACK callback) {
  const auto standing = [&] {
    int running = 0;
    chip_.get_inp_status(kCard, pair, &running);
    return running == 0;
  };
  return PollMove(axes, pulses, standing, true, callback);
}

int MotionLayer::work_inp2(int axisA, float distanceA, int axisB, float distanceB, int absolute, int speedSelect,
                           QM318_CALLBACK callback) {
  const int low = std::min(axisA, axisB), high = std::max(axisA, axisB);
  if (!((low == 1 && high == 2) || (low == 3 && high == 4))) return -4;
  if (!Enabled(axisA) || !Enabled(axisB)) return -1;
  std::vector<int> pulses;
  if (!Targets({axisA, axisB}, {distanceA, distanceB}, absolute != 0, pulses)) return -2;
  SpeedSet(low, speedSelect);
  clear_stop_flag(axisA);
  clear_stop_flag(axisB);
  const bool aFirst = axisA == low;
  // A distance beyond the chip's interpolation range is refused by the chip:
  // out of reach like a target beyond the soft limits, not a finished move.
  if (chip_.inp_move2(kCard, low == 1 ? 1 : 2, aFirst ? pulses[0] : pulses[1], aFirst ? pulses[1] : pulses[0]) != 0)
    return -2;
  return PollInterpolated({axisA, axisB}, pulses, low == 1 ? 1 : 2, callback);
}

// Three and four axes: axis 3 runs on chip 2 with axis 1's range and speed;
// its multiplier in the record follows axis 1 so conversions match that range.
int MotionLayer::WorkInp(const std::vector<float>& distances, int absolute, int speedSelect,
                         QM318_CALLBACK callback) {
  std::vector<int> axes;
  for (std::size_t n = 0; n < distances.size(); ++n) axes.push_back(static_cast<int>(n) + 1);
  for (int axis : axes)
    if (!Enabled(axis)) return -1;
  std::vector<int> pulses;
  if (!Targets(axes, distances, absolute != 0, pulses)) return -2;
  chip_.set_range(kCard, 3, 8000000 / Multiplier(1));
  const int kept = para_.multiplier[2];
  para_.multiplier[2] = para_.multiplier[0];
  SpeedSet(1, speedSelect);
  const float drive = speedSelect == 0 ? para_.drive_speed0[0] : para_.drive_speed1[0];
  chip_.set_startv(kCard, 3, TruncToInt(drive / Multiplier(1)));
  chip_.set_speed(kCard, 3, TruncToInt(drive / Multiplier(1)));
  for (int axis : axes) clear_stop_flag(axis);
  const int refused = axes.size() == 3 ? chip_.inp_move3(kCard, pulses[0], pulses[1], pulses[2])
                                       : chip_.inp_move4(kCard, pulses[0], pulses[1], pulses[2], pulses[3]);
  if (refused != 0) return -2;
  const int result = PollInterpolated(axes, pulses, 1, callback);
  if (result == 0) para_.multiplier[2] = kept;
  return result;
}

int MotionLayer::hand_move(int axis, int dir, QM318_CALLBACK callback) {
  if (!Enabled(axis)) return -1;
  const std::size_t i = Index(axis);
  clear_stop_flag(axis);
  set_speed_profile(axis, para_.jog_start_speed[i], para_.jog_drive_speed[i], para_.jog_acc_time[i]);
  int step = units_to_pulses(axis, para_.jog_step[i]);
  if (step == 0) step = kJogFallbackPulses;
  if (dir != 0) step = step == INT_MIN ? INT_MAX : -step;
  for (;;) {
    chip_.pmove(kCard, axis, step);
    bool marked = false;
    for (;;) {
      if (read_limit_input(axis, step <= 0)) marked = true;
      if (Standing(axis)) {
        if (read_limit_input(axis, step <= 0)) marked = true;
        break;
      }
      if (stop_[i] != 0) return 0;
      Call(callback);
    }
    if (marked) return -3;
    // A step shorter than one pass would never reach the callback, and a
    // sudden stop leaves the axis standing before the flag is seen: give the
    // host its pass and look at the flag between steps too.
    Call(callback);
    if (StoppedWhenStanding({axis})) return 0;
  }
}

}  // namespace qm318
