#include "libs/tabrion/SerialDate.h"

namespace tabrion {
namespace {

// Proleptic Gregorian date of a day count from 1970-01-01.
void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

constexpr long long kDays1899_12_30 = -25569;  // from 1970-01-01
constexpr long long kDays1904_01_01 = -24107;

}  // namespace

SerialDate SerialDate::FromDays(long long days, bool date1904) {
  SerialDate date;
  if (date1904) {
    CivilFromDays(kDays1904_01_01 + days, date.year, date.month, date.day);
    date.weekday = static_cast<int>((days + 5) % 7);  // 1904-01-01 was a Friday
    return date;
  }
  // Serial 1 counts as a Sunday; from 1900-03-01 on the weekdays are the true ones.
  date.weekday = static_cast<int>((days + 6) % 7);
  if (days == 0) return date;  // 1900-01-00
  if (days == 60) {
    date.month = 2;
    date.day = 29;
    return date;
  }
  CivilFromDays(kDays1899_12_30 + days + (days < 60 ? 1 : 0), date.year, date.month, date.day);
  return date;
}

}  // namespace tabrion
