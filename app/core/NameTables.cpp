#include "app/core/NameTables.h"

#include "platform/NumberText.h"
#include "values/AnchorNames.h"

namespace {

// "%d" with a leading "0" below 10.
std::string TwoDigits(int v) { return v < 10 ? platform::FormatC("0%d", v) : platform::FormatC("%d", v); }

}  // namespace

const std::array<std::string, 10>& AnchorNames() {
  static const std::array<std::string, 10> names = [] {
    std::array<std::string, 10> n{};
    for (std::size_t i = 0; i < kAnchorNames.size(); ++i) n[i] = kAnchorNames[i];
    return n;
  }();
  return names;
}

std::array<std::string, 13> FormatDateSamples(const std::tm& t) {
  const int year = t.tm_year + 1900;
  const std::string yyyy = platform::FormatC("%d", year);
  const std::string yy = yyyy.size() >= 4 ? yyyy.substr(2, 2) : yyyy;
  const std::string mm = TwoDigits(t.tm_mon + 1);
  const std::string dd = TwoDigits(t.tm_mday);
  const std::string hh = TwoDigits(t.tm_hour);
  const std::string mi = TwoDigits(t.tm_min);
  const std::string ss = TwoDigits(t.tm_sec);
  // Year code: the year's last digit before 2010, from 2010 on a letter (2010 "A").
  const std::string yearCode = year < 2010 ? platform::FormatC("%d", year - 2000)
                                           : std::string(1, static_cast<char>(year - 1945));
  return {yy + "Y" + mm + "M",
          yy + "." + mm,
          yyyy + "Y" + mm + "M" + dd + "D",
          yyyy + "." + mm + "." + dd,
          yyyy + "Y" + mm + "M" + dd + "D" + hh + "H",
          yyyy + mm + dd,
          yy + " " + mm,
          yyyy + " " + mm,
          yyyy + " " + mm + " " + dd,
          yy + mm,
          yy + mm + dd,
          yearCode + mm + dd,
          hh + mi + ss + "(HMS)"};
}
