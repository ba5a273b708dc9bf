// Format codes applied to numbers and texts, against texts worked out by hand
// from how a spreadsheet program displays them.
#include "libs/tabrion/NumberFormat.h"

#include <gtest/gtest.h>

namespace {

using tabrion::NumberFormat;

struct Case {
  const char* code;
  double value;
  const char* shown;
};

class NumberFormatNumbers : public ::testing::TestWithParam<Case> {};

TEST_P(NumberFormatNumbers, ShowsWhatTheSheetShows) {
  const Case& c = GetParam();
  EXPECT_EQ(NumberFormat(c.code).Format(c.value), c.shown) << c.code << " with " << c.value;
}

const Case kNumbers[] = {
    {"General", 1234.5, "1234.5"},
    {"", 0.1 + 0.2, "0.3"},
    {"General", -0.000012, "-0.000012"},  // small numbers stay decimal while they fit
    {"0", 2.5, "3"},  // halves away from zero
    {"0", -2.5, "-3"},
    {"0", -0.4, "-0"},
    {"0.00", 1.5, "1.50"},
    {"0.00", 2.675, "2.68"},  // 15 significant digits first, then the places
    {"0.00", 0.125, "0.13"},
    {"0.00", -1.005, "-1.01"},
    {"000000", 123, "000123"},
    {"00000", 1234567, "1234567"},
    {"#,##0", 1234567, "1,234,567"},
    {"#,##0", 0, "0"},
    {"#,##0", -1234.5, "-1,235"},
    {"#,##0.00", 1234.5, "1,234.50"},
    {"0,000", 5, "0,005"},
    {"#,##0,", 1234567, "1,235"},
    {"0.0,,", 1234567, "1.2"},
    {"#.##", 0.5, ".5"},
    {"0.##", 1, "1."},
    {".00", 1.5, "1.50"},
    {"0%", 0.125, "13%"},
    {"0.00%", 0.12345, "12.35%"},
    {"0.00E+00", 12345, "1.23E+04"},
    {"0.00E+00", 0.00012, "1.20E-04"},
    {"0.0E+00", 9.99e5, "1.0E+06"},
    {"##0.0E+0", 12345, "12.3E+3"},
    {"@", 42, "42"},
    {"0\" pcs\"", 12, "12 pcs"},
    {"\"$\"#,##0.00;[Red](\"$\"#,##0.00)", -1234.5, "($1,234.50)"},
    {"[$\xE2\x82\xAC-407]0.00", 3, "\xE2\x82\xAC" "3.00"},
    {"0.00;-0.00;\"zero\"", 0, "zero"},
    {"000-0000", 5551234, "555-1234"},
    {"[<=9999999]###-####;(###) ###-####", 5551234, "555-1234"},
    {"[<=9999999]###-####;(###) ###-####", 2125551234, "(212) 555-1234"},
    {"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)", 1234, " 1,234 "},
    {"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)", -1234, " (1,234)"},
    {"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)", 0, " - "},
    {"# ?/?", 1.5, "1.5"},  // fractions are not drawn
};
INSTANTIATE_TEST_SUITE_P(Numbers, NumberFormatNumbers, ::testing::ValuesIn(kNumbers));

// 45356 is 2024-03-05, a Tuesday.
const Case kDates[] = {
    {"yyyy-mm-dd", 45356, "2024-03-05"},
    {"yyyy/m/d", 45356, "2024/3/5"},
    {"m/d/yy", 45356, "3/5/24"},
    {"d-mmm-yy", 45356, "5-Mar-24"},
    {"dddd, mmmm d", 45356, "Tuesday, March 5"},
    {"ddd mmmmm", 45356, "Tue M"},
    {"yyyy\"\xE5\xB9\xB4\"m\"\xE6\x9C\x88\"d\"\xE6\x97\xA5\"", 45356, "2024\xE5\xB9\xB4" "3\xE6\x9C\x88" "5\xE6\x97\xA5"},
    {"aaaa", 45356, "\xE6\x98\x9F\xE6\x9C\x9F\xE4\xBA\x8C"},  // 星期二
    {"yyyy-mm-dd hh:mm:ss", 45356.75, "2024-03-05 18:00:00"},
    {"h:mm AM/PM", 45356.75, "6:00 PM"},
    {"h:mm a/p", 0.25, "6:00 a"},
    {"hh:mm AM/PM", 0.0, "12:00 AM"},
    {"\xE4\xB8\x8A\xE5\x8D\x88/\xE4\xB8\x8B\xE5\x8D\x88h\"\xE6\x97\xB6\"mm\"\xE5\x88\x86\"", 45356.75,
     "\xE4\xB8\x8B\xE5\x8D\x88" "6\xE6\x97\xB6" "00\xE5\x88\x86"},  // 下午6时00分
    {"hh:mm:ss", 0.5 + 0.6 / 86400, "12:00:01"},
    {"hh:mm:ss.00", 0.5 + 0.6 / 86400, "12:00:00.60"},
    {"mm:ss", 0.0125, "18:00"},
    {"[h]:mm:ss", 1.5, "36:00:00"},
    {"[mm]:ss", 0.5, "720:00"},
    {"yyyy-mm-dd hh:mm", 0.99999999, "1900-01-01 00:00"},
    {"[$-F800]dddd, mmmm dd, yyyy", 45356, "2024\xE5\xB9\xB4" "3\xE6\x9C\x88" "5\xE6\x97\xA5"},  // system long date
    {"[$-F400]h:mm:ss\\ AM/PM", 0.75, "18:00:00"},  // system time
    {"[$-x-sysdate]dddd, mmmm dd, yyyy", 45356, "2024\xE5\xB9\xB4" "3\xE6\x9C\x88" "5\xE6\x97\xA5"},
    {"yyyy-mm-dd", 60, "1900-02-29"},
    {"yyyy-mm-dd", 61, "1900-03-01"},
    {"yyyy-mm-dd", 1, "1900-01-01"},
    {"yyyy-mm-dd", 0, "1900-01-00"},
    {"yyyy-mm-dd", -1, "########"},
    {"yyyy-mm-dd", 2958466, "########"},
    {"yyyy-mm-dd", 2958465, "9999-12-31"},
};
INSTANTIATE_TEST_SUITE_P(Dates, NumberFormatNumbers, ::testing::ValuesIn(kDates));

TEST(NumberFormatDates, The1904SystemCountsFrom1904) {
  EXPECT_EQ(NumberFormat("yyyy-mm-dd dddd").Format(0, true), "1904-01-01 Friday");
  EXPECT_EQ(NumberFormat("yyyy-mm-dd").Format(43894, true), "2024-03-05");
}

struct TextCase {
  const char* code;
  const char* text;
  const char* shown;
};

class NumberFormatTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumberFormatTexts, ShowsTheTextSection) {
  const TextCase& c = GetParam();
  EXPECT_EQ(NumberFormat(c.code).FormatText(c.text), c.shown) << c.code;
}

const TextCase kTexts[] = {
    {"@", "abc", "abc"},
    {"General", "abc", "abc"},
    {"0.00", "abc", "abc"},
    {"0;-0;0;\"<\"@\">\"", "abc", "<abc>"},
    {"@\" kg\"", "5", "5 kg"},
};
INSTANTIATE_TEST_SUITE_P(Texts, NumberFormatTexts, ::testing::ValuesIn(kTexts));

TEST(NumberFormatDamage, HostileCodesGiveSomeTextWithoutFailing) {
  for (const char* code : {"\"unterminated", "[", "\\", "_", "*", "0;0;0;0;0;0", "[>=]0", "E+", "0.0000000000000000000000000000000000000000",
                           "0E+00000000000000000000000000000000000000000000", "[hhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhhh]", "\xE4\xB8"}) {
    NumberFormat format(code);
    format.Format(1e300);
    format.Format(-1e-300);
    format.Format(4.9e-324);
    format.Format(12345.678);
    format.FormatText("x");
  }
  EXPECT_EQ(NumberFormat("0").Format(1e300).size(), 301u);
  EXPECT_EQ(NumberFormat("0.0E+000").Format(4.9e-324), "4.9E-324");
  EXPECT_EQ(NumberFormat("0%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%").Format(1), "#NUM!");
}

}  // namespace
