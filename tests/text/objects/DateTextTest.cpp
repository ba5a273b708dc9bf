// The date text: the thirteen formats on a fixed clock, the year letter, and
// choosing a format by its name.
#include <gtest/gtest.h>

#include "tests/text/objects/FixedLocalTime.h"
#include "text/objects/CObjTextDate.h"

namespace {

struct FormatCase {
  int format;
  const char* text;
};

class DateFormats : public ::testing::TestWithParam<FormatCase> {};

// 5 March 2026, 09:07:04.
TEST_P(DateFormats, ShowTheClockInTheirFormat) {
  FixedLocalTime clock(2026, 3, 5, 9, 7, 4);
  CObjTextDate date;
  date.SetFormat(GetParam().format);
  EXPECT_EQ(date.FormatDate(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(All, DateFormats,
                         ::testing::Values(FormatCase{0, "26Y03M"}, FormatCase{1, "26.03"},
                                           FormatCase{2, "2026Y03M05D"}, FormatCase{3, "2026.03.05"},
                                           FormatCase{4, "2026Y03M05D09H"}, FormatCase{5, "20260305"},
                                           FormatCase{6, "26 03"}, FormatCase{7, "2026 03"},
                                           FormatCase{8, "2026 03 05"}, FormatCase{9, "2603"},
                                           FormatCase{10, "20260305"}, FormatCase{11, "Q0305"},
                                           FormatCase{12, "090704"}, FormatCase{13, ""}, FormatCase{-1, ""}));

TEST(DateText, YearCodeIsALetterFrom2010AndADigitBefore) {
  std::tm t{};
  t.tm_mon = 11;
  t.tm_mday = 25;
  t.tm_year = 2009 - 1900;
  EXPECT_EQ(CObjTextDate::FormatDate(t, 11), "91225");
  t.tm_year = 2010 - 1900;
  EXPECT_EQ(CObjTextDate::FormatDate(t, 11), "A1225");
  t.tm_year = 2011 - 1900;
  EXPECT_EQ(CObjTextDate::FormatDate(t, 11), "B1225");
  // Two-digit values keep their digits.
  t.tm_hour = 23;
  t.tm_min = 45;
  t.tm_sec = 59;
  EXPECT_EQ(CObjTextDate::FormatDate(t, 12), "234559");
}

TEST(DateText, NewDatesShowYearMonthDay) {
  FixedLocalTime clock(2026, 3, 5);
  EXPECT_EQ(CObjTextDate().FormatDate(), "20260305");
}

TEST(DateText, UpdateTextTakesTheFirstMatchingNameAndClampsTheCode) {
  FixedLocalTime clock(2026, 3, 5, 9, 7, 4);
  const std::array<std::string, kDateFormatCount> names{"xxYxxM",   "xx.xx", "xxxxYxxMxxD", "xxxx.xx.xx",
                                                        "xxxxYxxMxxDxxH", "xxxxxxxx", "xx xx", "xxxx xx",
                                                        "xxxx xx xx", "xxxx", "xxxxxxxx", "xxxxxx", "xxxxxx"};
  CObjTextDate date;
  EXPECT_EQ(date.UpdateText("xxxxxx", names), "Q0305");
  EXPECT_EQ(date.GetFormat(), 11);
  EXPECT_EQ(date.UpdateText("xxxxxxxx", names), "20260305");
  EXPECT_EQ(date.GetFormat(), 5);
  EXPECT_EQ(date.UpdateText("no such name", names), "20260305");
  EXPECT_EQ(date.GetFormat(), 5);
  date.SetFormat(13);
  EXPECT_EQ(date.FormatDate(), "");
  EXPECT_EQ(date.UpdateText("no such name", names), "26Y03M");
  EXPECT_EQ(date.GetFormat(), 0);
}

}  // namespace
