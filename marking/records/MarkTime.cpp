#include "marking/records/MarkTime.h"

#include <ctime>

#include "platform/NumberText.h"

namespace marking {

namespace {

// Month, day, hour and minute are two digits: "%d" above 9, else "0%d".
std::string TwoDigits(int value) {
  return value > 9 ? platform::FormatC("%d", value) : platform::FormatC("0%d", value);
}

}  // namespace

MarkTime MarkTime::Now() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return MarkTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string MarkTime::TimeText() const {
  return platform::FormatC("%d", year) + "年" + TwoDigits(month) + "月" + TwoDigits(day) + "日" + TwoDigits(hour) + "时" +
         TwoDigits(minute) + "分";
}

std::string MarkTime::DateText() const { return MarkDateText(year, month, day); }

std::string MarkTime::StampText() const {
  return platform::FormatC("%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute, second);
}

std::string MarkDateText(int year, int month, int day) {
  return platform::FormatC("%d", year) + TwoDigits(month) + TwoDigits(day);
}

}  // namespace marking
