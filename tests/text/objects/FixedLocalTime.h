#pragma once
// Fixes the local time the texts read, for one test.
#include <ctime>
#include <memory>

#include "platform/Clock.h"

class FixedLocalTime {
 public:
  FixedLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
      : clock_(std::make_shared<platform::SimulatedClock>()) {
    Set(year, month, day, hour, minute, second);
    platform::SetClock(clock_);
  }
  ~FixedLocalTime() { platform::SetClock(std::make_shared<platform::SteadyClock>()); }
  void Set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    clock_->SetLocalTime(t);
  }

 private:
  std::shared_ptr<platform::SimulatedClock> clock_;
};
