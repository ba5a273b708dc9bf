// General numbers fitted into columns of given widths, against texts worked
// out by hand in pixels of the default font (digits 7, '.' and '-' 4; a
// standard column holds 59) and checked against a spreadsheet program's output.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "libs/tabrion/CellText.h"
#include "libs/tabrion/ColumnWidths.h"
#include "libs/tabrion/NumberFormat.h"

namespace {

using tabrion::ColumnWidths;
using tabrion::GeneralNumberText;

constexpr double kStandard = 0;  // a column without a width of its own
constexpr double kPadding = 0.7109375;  // what a file adds to the width shown, in characters

struct FitCase {
  double characters;  // the column width a spreadsheet shows (8.43 for a standard column)
  double value;
  const char* shown;
};

class GeneralInColumn : public ::testing::TestWithParam<FitCase> {};

TEST_P(GeneralInColumn, FitsTheNumberIntoItsColumn) {
  const FitCase& c = GetParam();
  ColumnWidths widths;
  if (c.characters != kStandard) widths.SetWidth(1, 1, c.characters + kPadding);
  EXPECT_EQ(GeneralNumberText(c.value, widths.TextPixels(1)), c.shown) << c.value << " in width " << c.characters;
  // The General format gives the same.
  EXPECT_EQ(tabrion::NumberFormat("General").Format(c.value, false, widths.TextPixels(1)), c.shown);
}

const FitCase kStandardColumn[] = {
    {kStandard, 123456789012, "1.23E+11"},
    {kStandard, 3.14159265358979, "3.141593"},  // "3.1415927" is one pixel too wide
    {kStandard, 1.0 / 3, "0.333333"},
    {kStandard, -1.0 / 3, "-0.333333"},  // the sign takes its own width
    {kStandard, 0.00000025, "2.5E-07"},  // "0.00000025" does not fit
    {kStandard, -0.000012, "-0.000012"},
    {kStandard, 1234.5, "1234.5"},
    {kStandard, 0.1 + 0.2, "0.3"},
    {kStandard, 0, "0"},
    {kStandard, 12345678, "12345678"},
    {kStandard, 123456789, "1.23E+08"},
    {kStandard, 99999999.5, "1E+08"},  // rounds up to nine digits, which do not fit
    {kStandard, 1e-10, "1E-10"},
    {kStandard, 1e100, "1E+100"},
    {kStandard, 12345.6789012, "12345.68"},
    {kStandard, 0.000123456789, "0.000123"},
};
INSTANTIATE_TEST_SUITE_P(Standard, GeneralInColumn, ::testing::ValuesIn(kStandardColumn));

// Wide columns: never more than 11 characters besides the sign.
const FitCase kWideColumns[] = {
    {12, 123456789012, "1.23457E+11"},
    {12, 3.14159265358979, "3.141592654"},
    {12, 1.0 / 3, "0.333333333"},
    {12, -1.0 / 3, "-0.333333333"},
    {12, 0.00000025, "0.00000025"},  // small numbers stay decimal where they fit
    {12, 99999999999, "99999999999"},
    {12, 1234567890.5, "1234567891"},
    {12, 12345.6789012, "12345.6789"},
    {12, 0.000123456789, "0.000123457"},
    {12, 0.0000123456789, "1.23457E-05"},  // below 0.0001 not all digits fit: scientific
    {12, 1e15, "1E+15"},
    {12, 2.5e-12, "2.5E-12"},
    {12, -1e-300, "-1E-300"},
    {20, 4.9e-324, "4.9407E-324"},
    {255, 1.0 / 7, "0.142857143"},
    {10, 123456789012, "1.2346E+11"},
    {10, 0.00000025, "0.00000025"},
    {10, 1234567890.5, "1234567891"},
};
INSTANTIATE_TEST_SUITE_P(Wide, GeneralInColumn, ::testing::ValuesIn(kWideColumns));

// Narrow columns: fewer decimals, shorter mantissas, then '#' across the column.
const FitCase kNarrowColumns[] = {
    {7, 0.00000025, "2.5E-07"},
    {6, 0.00000025, "3E-07"},
    {5, 0.00000025, "3E-07"},
    {4, 0.00000025, "####"},
    {6, 3.14159265358979, "3.1416"},
    {4, 3.14159265358979, "3.14"},
    {4, -1.0 / 3, "-0.3"},
    {4, 0.000123, "0"},
    {4, 1234, "1234"},
    {4, 12345, "####"},
    {5, 12345, "12345"},
    {5, 123456789012, "1E+11"},
    {5, -123456789012, "#####"},
    {2, -0.4, "0"},  // never "-0"
    {2, 7, "7"},
    {2, 123, "##"},
    {1, 5, "5"},
    {1, 12, "#"},
    {0.1, 0, "#"},
};
INSTANTIATE_TEST_SUITE_P(Narrow, GeneralInColumn, ::testing::ValuesIn(kNarrowColumns));

TEST(GeneralWithoutColumn, ShowsElevenCharactersAtMost) {
  EXPECT_EQ(GeneralNumberText(123456789012), "1.23457E+11");
  EXPECT_EQ(GeneralNumberText(1.0 / 3), "0.333333333");
  EXPECT_EQ(GeneralNumberText(0.00000025), "0.00000025");
  EXPECT_EQ(GeneralNumberText(-0.0), "0");
  EXPECT_EQ(GeneralNumberText(std::nan("")), "#NUM!");
  EXPECT_EQ(tabrion::NumberFormat("General\" kg\"").Format(123456789012, false, 14), "1.23457E+11 kg");
}

TEST(GeneralWithoutColumn, OtherFormatsShowTheirWholeText) {
  EXPECT_EQ(tabrion::NumberFormat("0.00").Format(123456789012, false, 14), "123456789012.00");
  EXPECT_EQ(tabrion::NumberFormat("0;General").Format(-123456789012, false, 59), "1.23E+11");
  // A date outside the calendar fills its column with '#'.
  EXPECT_EQ(tabrion::NumberFormat("yyyy-mm-dd").Format(-1, false, 14), "##");
  EXPECT_EQ(tabrion::NumberFormat("yyyy-mm-dd").Format(-1), "########");
}

struct WidthCase {
  const char* what;
  std::function<void(ColumnWidths&)> set;
  int column;
  int textPixels;
};

class ColumnWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ColumnWidth, GivesThePixelsACellHolds) {
  const WidthCase& c = GetParam();
  ColumnWidths widths;
  c.set(widths);
  EXPECT_EQ(widths.TextPixels(c.column), c.textPixels) << c.what;
}

// A column's pixels: 1/256 characters times 7, plus 18/256 for rounding, less 5 of padding.
const WidthCase kWidths[] = {
    {"standard", [](ColumnWidths&) {}, 1, 59},
    {"base 10 rounds up to 80 pixels", [](ColumnWidths& w) { w.SetBaseWidth(10); }, 1, 75},
    {"base 0", [](ColumnWidths& w) { w.SetBaseWidth(0); }, 1, 3},
    {"base beyond 255", [](ColumnWidths& w) { w.SetBaseWidth(1e9); }, 1, 1787},
    {"base not a number", [](ColumnWidths& w) { w.SetBaseWidth(std::nan("")); }, 1, 59},
    {"stored default", [](ColumnWidths& w) { w.SetDefaultWidth(9.140625); }, 5, 59},
    {"stored default wins", [](ColumnWidths& w) { w.SetDefaultWidth(12.7109375); w.SetBaseWidth(4); }, 5, 84},
    {"own width", [](ColumnWidths& w) { w.SetWidth(2, 3, 4.7109375); }, 3, 28},
    {"next to own width", [](ColumnWidths& w) { w.SetWidth(2, 3, 4.7109375); }, 4, 59},
    {"own width wins", [](ColumnWidths& w) { w.SetDefaultWidth(20); w.SetWidth(1, 26, 4.7109375); }, 26, 28},
    {"no width keeps the default", [](ColumnWidths& w) { w.SetWidth(1, 1, 0); }, 1, 59},
    {"widest", [](ColumnWidths& w) { w.SetWidth(1, 1, 1e300); }, 1, 1780},
    {"beyond the readable columns", [](ColumnWidths& w) { w.SetWidth(27, 16384, 2); }, 27, 59},
    {"reversed range", [](ColumnWidths& w) { w.SetWidth(5, 1, 2); }, 3, 59},
};
INSTANTIATE_TEST_SUITE_P(Widths, ColumnWidth, ::testing::ValuesIn(kWidths));

}  // namespace
