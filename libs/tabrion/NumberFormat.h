#pragma once
// A cell's number format code ("0.00", "#,##0", "yyyy-mm-dd hh:mm", "@", ...)
// parsed once, then applied to numbers and texts the way a spreadsheet program
// displays them. Codes and results are UTF-8.
//
// Covered: up to four sections (positive; negative; zero; text) with
// conditions, General, digit placeholders 0 # ?, decimal point, thousands
// separators and trailing-comma scaling, percent, scientific notation,
// literals (quoted, escaped, _x spacing, currency tags), the text
// placeholder @, dates and times (y m d h s, names of months and days,
// AM/PM and the Chinese 上午/下午, elapsed [h] [m] [s], fractions of a
// second). Fractions ("# ?/?") are shown as General. Only General is fitted
// into the column's width; other formats show their whole text.
#include <string>
#include <string_view>
#include <vector>

#include "libs/tabrion/CellText.h"

namespace tabrion {

class NumberFormat {
 public:
  explicit NumberFormat(std::string_view code);

  // Displayed text of a number; date1904 selects the workbook's 1904 date
  // system; textPixels is the width a cell of its column holds, to which General
  // fits the number (kAnyWidth: not known).
  std::string Format(double value, bool date1904 = false, int textPixels = kAnyWidth) const;
  // Displayed text of a text cell: the text section's literals around it, if any.
  std::string FormatText(std::string_view text) const;

  struct Token {
    enum Kind {
      literal, digit, point, comma, percent, exponent, at, general,
      year, month, day, hour, minute, second, subSecond, amPm, elapsedHours,
      elapsedMinutes, elapsedSeconds, weekdayCn, unsupported
    };
    Kind kind;
    std::string text;  // literal text; digit: the placeholder; amPm: the code as written
    int count = 1;     // letters in a date part; exponent: 1 when a '+' shows the sign
  };

  struct Section {
    std::vector<Token> tokens;
    bool hasCondition = false;
    char conditionOp[3] = {};
    double conditionValue = 0;
    bool isDate = false;
    bool hasNumber = false;  // digit placeholders or General
    bool hasText = false;    // '@'
    bool fraction = false;   // "# ?/?": not drawn, shown as General
    bool thousands = false;
    int percent = 0;
    int scale = 0;  // trailing commas: thousands to divide by
  };

 private:
  std::string FormatNumber(const Section& section, double value) const;
  std::string FormatDate(const Section& section, double value, bool date1904, int textPixels) const;
  bool Matches(const Section& section, double value) const;

  std::vector<Section> sections_;
};

}  // namespace tabrion
