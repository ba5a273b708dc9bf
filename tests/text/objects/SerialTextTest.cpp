// The serial number: the stepping rule with its carries, advancing after
// marks with bounds, the composed text with the date, and copying.
#include <gtest/gtest.h>

#include "tests/text/objects/FixedLocalTime.h"
#include "text/objects/CObjTextAutoUpdate.h"

namespace {

struct StepCase {
  const char* from;
  int step;
  const char* to;
};

class AlnumStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(AlnumStep, StepsWithOneCarryWhateverTheOverflow) {
  std::string s = GetParam().from;
  CObjTextAutoUpdate::IncrementAlnumString(s, GetParam().step);
  EXPECT_EQ(s, GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Cases, AlnumStep,
                         ::testing::Values(StepCase{"0001", 1, "0002"}, StepCase{"0009", 1, "0010"},
                                           StepCase{"999", 1, "000"},    // carry out of the first is dropped
                                           StepCase{"AZ", 1, "BA"}, StepCase{"az", 1, "ba"},
                                           StepCase{"09", 25, "14"},     // the carry is 1, not 3
                                           StepCase{"A-99", 1, "A-00"},  // '-' stops the carry
                                           StepCase{"10", -1, "09"}, StepCase{"00", -1, "99"},
                                           StepCase{"B0", -1, "A9"}, StepCase{"A", -1, "Z"},
                                           // far below zero: still digits and letters
                                           StepCase{"50", -25, "45"}, StepCase{"05", -1000, "95"},
                                           StepCase{"AA", -53, "ZZ"}, StepCase{"5", 0, "5"},
                                           StepCase{"", 1, ""}));

TEST(SerialText, AdvancesOnEveryMarksPerNumberthCall) {
  CObjTextAutoUpdate s(CDoublePoint(0, 0), "P", "01", "S");
  s.Serial().marksPerNumber = 3;
  EXPECT_EQ(s.AdvanceAfterMark({}), 0);
  EXPECT_EQ(s.AdvanceAfterMark({}), 0);
  EXPECT_EQ(s.AdvanceAfterMark({}), 1);
  EXPECT_EQ(s.GetSerial(), "02");
  EXPECT_EQ(s.GetText(), "P02S");
  EXPECT_EQ(s.Serial().marksCounted, 0);
  s.SetMarksPerNumber(2);
  EXPECT_EQ(s.Serial().marksCounted, 0);
}

struct BoundCase {
  const char* serial;
  const char* lower;
  const char* upper;
  const char* next;
};

class SerialBounds : public ::testing::TestWithParam<BoundCase> {};

TEST_P(SerialBounds, WrapOnlyWithBothBounds) {
  CObjTextAutoUpdate s(CDoublePoint(0, 0), "", GetParam().serial, "");
  s.Serial().lower = GetParam().lower;
  s.Serial().upper = GetParam().upper;
  s.AdvanceAfterMark({});
  EXPECT_EQ(s.GetSerial(), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Cases, SerialBounds,
                         ::testing::Values(BoundCase{"0100", "0001", "0100", "0001"},
                                           BoundCase{"0050", "0001", "0100", "0051"},
                                           BoundCase{"9999", "", "0100", "0000"},
                                           BoundCase{"9999", "0001", "", "0000"}));

TEST(SerialText, AnEmptySerialNeverAdvances) {
  CObjTextAutoUpdate s(CDoublePoint(0, 0), "P", "", "S");
  EXPECT_EQ(s.AdvanceAfterMark({}), 0);
  EXPECT_EQ(s.GetText(), "PS");
}

TEST(SerialText, ComposesPrefixDateSerialSuffixAndTail) {
  FixedLocalTime clock(2026, 3, 5);
  CObjTextAutoUpdate s(CDoublePoint(0, 0), "P", "01", "");
  s.Serial().dateMode = 1;
  EXPECT_EQ(s.ComposeText(), "P 260305 01");
  s.Serial().dateMode = 2;
  s.Serial().suffix = "X";
  EXPECT_EQ(s.ComposeText(), "P 20260305 01X");
  clock.Set(2026, 11, 25);
  EXPECT_EQ(s.ComposeText(), "P 20261125 01X");
  s.Serial().dateMode = 3;
  EXPECT_EQ(s.ComposeText(), "P  01X");
  s.Serial().dateMode = 0;
  s.Serial().tail = "T";
  s.Serial().tailLength = 1;
  EXPECT_EQ(s.ComposeText(), "P01X");
  s.Serial().tailSwitch = 1;
  EXPECT_EQ(s.ComposeText(), "P01XT");
}

TEST(SerialText, CopyTakesPartsAndCountersButNotTheBounds) {
  CObjTextAutoUpdate a(CDoublePoint(0, 0), "P", "07", "S");
  a.Serial().lower = "01";
  a.Serial().upper = "09";
  a.Serial().step = 5;
  a.Serial().marksPerNumber = 2;
  a.Serial().marksCounted = 1;
  a.Serial().tail = "T";
  CObjTextAutoUpdate b;
  b.CopyFrom(a);
  EXPECT_EQ(b.ComposeText(), "P07S");
  EXPECT_EQ(b.Serial().step, 5);
  EXPECT_EQ(b.Serial().marksPerNumber, 2);
  EXPECT_EQ(b.Serial().marksCounted, 1);
  EXPECT_EQ(b.Serial().tail, "T");
  EXPECT_TRUE(b.Serial().lower.empty());
  EXPECT_TRUE(b.Serial().upper.empty());
}

struct TailCase {
  int tailLength;
  std::size_t drawn;
};

class SerialTail : public ::testing::TestWithParam<TailCase> {};

// "Add rand code": a code of digits and capitals of the asked length (1 to
// 8), the same for every mark of one number and drawn anew when it advances.
TEST_P(SerialTail, IsARandomCodeRenewedWithTheNumber) {
  CObjTextAutoUpdate s(CDoublePoint(0, 0), "P", "01", "S");
  s.Serial().marksPerNumber = 2;
  s.Serial().tailLength = GetParam().tailLength;
  EXPECT_EQ(s.ComposeText(), "P01S");
  s.Serial().tailSwitch = 1;
  const std::string text = s.ComposeText();
  ASSERT_EQ(text.size(), 4 + GetParam().drawn);
  const std::string tail = text.substr(4);
  EXPECT_EQ(tail.find_first_not_of(CObjTextAutoUpdate::kTailAlphabet), std::string::npos) << tail;
  EXPECT_EQ(s.Serial().tail, tail);  // what the page shows
  EXPECT_EQ(s.ComposeText(), text);
  s.SetSerial(CDoublePoint(0, 0), "01");
  EXPECT_EQ(s.GetText(), text);
  EXPECT_EQ(s.AdvanceAfterMark({}), 0);  // the number's second mark
  EXPECT_EQ(s.GetText(), text);
  EXPECT_EQ(s.AdvanceAfterMark({}), 1);
  ASSERT_EQ(s.GetText().size(), text.size());
  EXPECT_EQ(s.GetText().substr(0, 4), "P02S");
  if (GetParam().drawn == 8) { EXPECT_NE(s.GetText().substr(4), tail); }  // 36^8 codes to draw from
}

INSTANTIATE_TEST_SUITE_P(Lengths, SerialTail,
                         ::testing::Values(TailCase{4, 4}, TailCase{1, 1}, TailCase{8, 8}, TailCase{0, 1},
                                           TailCase{12, 8}));

}  // namespace
