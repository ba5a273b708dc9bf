// Homing of one to four axes in one polling loop: seek the home sensor (or
// the limit switch), back off, approach again slowly, optionally find the
// index mark within one revolution, and zero both counters there.
#include <algorithm>

#include "libs/qm318/MotionLayer.h"

namespace qm318 {
namespace {

constexpr int kCard = 0;

void Call(QM318_CALLBACK callback) {
  if (callback) callback();
}

// A pulse count in a direction; a count from the parameter file may be INT_MIN.
int Toward(int dir, int pulses) { return TruncToInt(static_cast<double>(dir) * pulses); }

struct HomingFactors {
  float backOff;       // user units
  float backOffSpeed;  // times the homing drive speed
  float approachSpeed;
};

HomingFactors FactorsFor(std::size_t axes) {
  if (axes == 3) return {4.0f, 0.33333334f, 0.2f};
  if (axes == 4) return {6.0f, 0.5f, 0.33333334f};
  return {4.0f, 0.5f, 0.33333334f};
}

}  // namespace

int MotionLayer::Home(const std::vector<int>& axes, QM318_CALLBACK callback) {
  for (int axis : axes)
    if (!Enabled(axis)) return -1;
  const HomingFactors factors = FactorsFor(axes.size());
  const bool single = axes.size() == 1;
  const bool callbackFirst = axes.size() == 4;
  auto sensor = [this](int axis) { return para_.use_home_sensor[Index(axis)] != 0; };
  // Seek direction D: -1 (negative) when home_dir is set.
  auto dirOf = [this](int axis) { return para_.home_dir[Index(axis)] != 0 ? -1 : 1; };

  for (int axis : axes) clear_stop_flag(axis);
  for (int axis : axes) {
    const std::size_t i = Index(axis);
    set_speed_profile(axis, para_.home_start_speed[i], para_.home_drive_speed[i], para_.home_acc_time[i]);
  }
  for (int axis : axes)
    if (sensor(axis)) chip_.set_stop0_mode(kCard, axis, 1, 0);

  std::vector<int> mark(axes.size(), 0);
  std::vector<int> indexAxes;
  auto stop0Off = [&] {
    for (int axis : axes)
      if (sensor(axis)) chip_.set_stop0_mode(kCard, axis, 0, 0);
  };
  auto marks = [&] {
    for (std::size_t n = 0; n < axes.size(); ++n) {
      if (mark[n] != 0) continue;
      const int axis = axes[n];
      const bool negative = dirOf(axis) < 0;
      if (sensor(axis)) {
        if (read_home_input(axis, 0)) mark[n] = 1;
        if (read_limit_input(axis, negative)) mark[n] = 2;
      } else if (read_limit_input(axis, negative)) {
        mark[n] = 1;
      }
    }
  };
  // The switch that stopped an axis between the input read and the status
  // read is looked at once more when all stand; it would read as not found.
  auto seekTest = [&] {
    marks();
    if (!AllStanding(axes)) return false;
    marks();
    return true;
  };
  auto markOf = [&](int axis) {
    return static_cast<std::size_t>(std::find(axes.begin(), axes.end(), axis) - axes.begin());
  };
  // The index input reads active off the mark, while stop mode 1 stops the
  // axis on it: an axis that reaches the mark before the first read of the
  // search would never be seen active. So the inputs are read once before
  // the axes start, on every pass, and once more when all stand.
  auto indexMarks = [&] {
    for (int axis : indexAxes)
      if (mark[markOf(axis)] == 0 && read_home_input(axis, 1)) mark[markOf(axis)] = 1;
  };
  auto indexTest = [&] {
    indexMarks();
    if (!AllStanding(indexAxes)) return false;
    indexMarks();
    return true;
  };
  auto zero = [&](const std::vector<int>& which) {
    for (int axis : which) {
      chip_.set_command_pos(kCard, axis, 0);
      chip_.set_actual_pos(kCard, axis, 0);
    }
  };

  int step = 0;
  for (;;) {
    switch (step) {
      case 0:
        for (int axis : axes) chip_.pmove(kCard, axis, dirOf(axis) * kSeekPulses);
        step = 1;
        break;
      case 1: {
        if (!seekTest()) break;
        if (std::count(mark.begin(), mark.end(), 0) > 0) {
          stop0Off();
          return -2;
        }
        bool reversed = false;
        for (std::size_t n = 0; n < axes.size(); ++n) {
          if (sensor(axes[n]) && mark[n] == 2) {
            chip_.pmove(kCard, axes[n], -dirOf(axes[n]) * kSeekPulses);
            mark[n] = 0;
            reversed = true;
          }
        }
        if (!reversed) {
          stop0Off();
          step = 2;
        }
        break;
      }
      case 2:
        for (int axis : axes) set_const_speed(axis, para_.home_drive_speed[Index(axis)] * factors.backOffSpeed);
        for (int axis : axes) chip_.pmove(kCard, axis, Toward(-dirOf(axis), units_to_pulses(axis, factors.backOff)));
        step = 3;
        break;
      case 3:
        if (!AllStanding(axes)) break;
        for (int axis : axes)
          if (sensor(axis)) chip_.set_stop0_mode(kCard, axis, 1, 0);
        step = 4;
        break;
      case 4:
        std::fill(mark.begin(), mark.end(), 0);
        for (int axis : axes) set_const_speed(axis, para_.home_drive_speed[Index(axis)] * factors.approachSpeed);
        for (int axis : axes) chip_.pmove(kCard, axis, dirOf(axis) * kSeekPulses);
        step = 5;
        break;
      case 5: {
        if (!seekTest()) break;
        const bool missing = std::count(mark.begin(), mark.end(), 0) > 0;
        const bool limitFirst = std::count(mark.begin(), mark.end(), 2) > 0;
        if (missing || (single && limitFirst)) {
          stop0Off();
          return -2;
        }
        indexAxes.clear();
        for (int axis : axes)
          if (para_.use_index[Index(axis)] != 0 && sensor(axis)) indexAxes.push_back(axis);
        if (indexAxes.empty()) {
          for (int axis : axes) chip_.set_stop0_mode(kCard, axis, 0, 0);
          zero(axes);
          return 1;
        }
        for (int axis : axes) chip_.set_stop0_mode(kCard, axis, 0, 0);
        std::fill(mark.begin(), mark.end(), 0);
        step = 6;
        break;
      }
      case 6:
        for (int axis : indexAxes) chip_.set_stop1_mode(kCard, axis, 1, 1);
        indexMarks();
        for (int axis : indexAxes) chip_.pmove(kCard, axis, Toward(dirOf(axis), para_.pulses_per_rev[Index(axis)]));
        step = 7;
        break;
      case 7: {
        if (!indexTest()) break;
        for (int axis : axes) chip_.set_stop1_mode(kCard, axis, 0, 0);
        for (int axis : indexAxes)
          if (mark[markOf(axis)] == 0) return -2;
        zero(axes);
        return 1;
      }
      default: return -2;
    }
    if (callbackFirst) Call(callback);
    // No stop command here: the stopped axis was stopped by the request, the
    // others keep their drive until the host stops them.
    if (std::any_of(axes.begin(), axes.end(), [this](int axis) { return stop_[Index(axis)] != 0; })) {
      for (int axis : axes) {
        chip_.set_stop0_mode(kCard, axis, 0, 0);
        chip_.set_stop1_mode(kCard, axis, 0, 0);
      }
      return 0;
    }
    if (!callbackFirst) Call(callback);
  }
}

}  // namespace qm318
