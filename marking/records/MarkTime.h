#pragma once
// The local time a record is stamped with, and the texts made of it.
#include <string>

namespace marking {

struct MarkTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;

  static MarkTime Now();

  // "2026年12月08日20时05分": the record's time column (UTF-8).
  std::string TimeText() const;
  // "20261208": the record's date column; dates compare as text.
  std::string DateText() const;
  // "20261208200501": names of backups and exports. Every field is padded, so
  // two different times never give the same name.
  std::string StampText() const;
};

// "%d%s%s" with month and day in two digits, as the date column holds them.
std::string MarkDateText(int year, int month, int day);

}  // namespace marking
