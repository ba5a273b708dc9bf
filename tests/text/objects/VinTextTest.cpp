// The vehicle identification number: its check character, validity, the
// serial part's stepping (passing over I, O and Q) and what happens to a
// number that fails its check.
#include <gtest/gtest.h>

#include "tests/document/mrk/MrkTestSupport.h"
#include "tests/text/layout/TextTestSupport.h"
#include "text/objects/CObjTextVin.h"

namespace {

TEST(VinText, CheckCharacterOfAKnownNumber) {
  CObjTextVin vin;
  std::string text = "1M8GDM9A0KP042788";
  ASSERT_TRUE(vin.CheckDigit(text));
  EXPECT_EQ(text, "1M8GDM9AXKP042788");
  std::string valid = "1M8GDM9AXKP042788";
  ASSERT_TRUE(vin.CheckDigit(valid));
  EXPECT_EQ(valid, "1M8GDM9AXKP042788");
}

struct ValidCase {
  const char* text;
  bool valid;
  bool checkable;
};

class VinValidity : public ::testing::TestWithParam<ValidCase> {};

TEST_P(VinValidity, LettersIOQAndLengthsDecide) {
  CObjTextVin vin;
  EXPECT_EQ(CObjTextVin::IsValidVin(GetParam().text), GetParam().valid);
  std::string t = GetParam().text;
  EXPECT_EQ(vin.CheckDigit(t), GetParam().checkable);
}

INSTANTIATE_TEST_SUITE_P(Cases, VinValidity,
                         ::testing::Values(ValidCase{"1M8GDM9AXKP042788", true, true},
                                           ValidCase{"1M8GDM9AXKP04278o", false, false},
                                           ValidCase{"1M8GDM9AXKP0427Q8", false, false},
                                           ValidCase{"1M8GDM9AXKP04278", true, false},
                                           ValidCase{"1M8GDM9AXKP0427881", false, false},
                                           ValidCase{"", false, false}));

struct SerialCase {
  const char* from;
  const char* to;
};

class VinSerialStep : public ::testing::TestWithParam<SerialCase> {};

TEST_P(VinSerialStep, CountsUpAndPassesOverForbiddenLetters) {
  std::string s = GetParam().from;
  CObjTextVin::IncrementSerial(s, 1);
  EXPECT_EQ(s, GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Cases, VinSerialStep,
                         ::testing::Values(SerialCase{"000099", "000100"}, SerialCase{"99999Z", "00000A"},
                                           SerialCase{"00000H", "00000J"}, SerialCase{"00000N", "00000P"},
                                           SerialCase{"00000P", "00000R"}, SerialCase{"0000h9", "0000j0"},
                                           SerialCase{"00-999", "00-000"}));

TEST(VinText, AdvanceStepsTheLastSixAndRecomputesTheCheck) {
  CObjTextVin vin;
  vin.Settings().text = "1M8GDM9AXKP042788";
  EXPECT_EQ(vin.AdvanceAfterMark({}), 1);
  std::string expected = "1M8GDM9A0KP042789";
  ASSERT_TRUE(vin.CheckDigit(expected));
  EXPECT_EQ(vin.GetText(), expected);
  EXPECT_EQ(vin.GetSerialPart(), "042789");
  EXPECT_EQ(vin.GetWmi(), "1M8");
  EXPECT_EQ(vin.GetCheckChar(), expected.substr(8, 1));
  // A short text has no serial part to step.
  CObjTextVin shortVin;
  shortVin.Settings().text = "1M8";
  EXPECT_EQ(shortVin.AdvanceAfterMark({}), 0);
  EXPECT_EQ(shortVin.GetText(), "1M8");
  EXPECT_EQ(shortVin.GetSerialPart(), "");
}

TEST(VinText, ANumberThatFailsItsCheckIsReportedAndLosesItsOldGeometry) {
  TextRig rig;  // the installation folder with the stroke font "mm"
  auto prompts = RecordPrompts();
  CObjTextVin vin;
  vin.Settings().strokeFontPair = "mm+nobig";
  vin.Settings().charHeight = 28;
  vin.Settings().starMode = 0;
  vin.SetVinText(CDoublePoint(0, 0), "LLLLLLLLLLLLLLLLL");
  ASSERT_GT(vin.GetPathData().points.GetSize(), 0);
  EXPECT_TRUE(prompts->Texts().empty());

  // Other lengths are ignored without a word.
  vin.SetVinText(CDoublePoint(0, 0), "LLL");
  EXPECT_GT(vin.GetPathData().points.GetSize(), 0);
  EXPECT_TRUE(prompts->Texts().empty());

  // A number read with an I in it: stepping cannot make it valid.
  vin.Settings().text = "ILLLLLLLLLLLLLLLL";
  vin.AdvanceAfterMark(CDoublePoint(0, 0));
  EXPECT_EQ(prompts->Texts(), std::vector<std::string>{kVinStyleError});
  EXPECT_EQ(vin.GetPathData().points.GetSize(), 0);
  EXPECT_EQ(vin.GetPathData().GetGroupCount(), 0);
}

}  // namespace
