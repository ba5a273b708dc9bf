// The VIN page: its character rules, the make-order counter, and the page
// worked through its controls (letters refused, parts written into the code
// by position, the make order spread over its digit fields).
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "properties/pages/VinText.h"
#include "tests/properties/PaneFixture.h"
#include "tests/text/layout/TextTestSupport.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

struct OrderCase {
  const char* before;
  bool up;
  const char* after;
};
class MakeOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(MakeOrderTest, StepsCarryWithinDigitsAndLetters) {
  std::string order = GetParam().before;
  EXPECT_EQ(StepMakeOrder(order, GetParam().up), std::string(GetParam().before) != GetParam().after);
  EXPECT_EQ(order, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Orders, MakeOrderTest,
                         ::testing::Values(OrderCase{"00A0Z9", true, "00A1A0"}, OrderCase{"000010", false, "000009"},
                                           OrderCase{"999999", true, "999999"}, OrderCase{"000000", false, "000000"},
                                           OrderCase{"12-999", true, "12-000"}, OrderCase{"az0000", false, "ay9999"},
                                           OrderCase{"ZZZZZZ", true, "AAAAAA"}));

TEST(VinText, PartsNeverWritePastTheCode) {
  std::string code = "ABC";
  PutVinPart(code, 1, "XYZ");
  EXPECT_EQ(code, "AXY");
  PutVinPart(code, 11, "123456");
  EXPECT_EQ(code, "AXY");
  for (const char* refused : {"I", "o", "aQ"}) EXPECT_TRUE(HasRefusedVinLetter(refused)) << refused;
  EXPECT_FALSE(HasRefusedVinLetter("ABC123"));
}

class VinPageTest : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    rig_ = std::make_unique<TextRig>();
    rig_->Layout("LSVAA4182E2184841");
    rig_->Element().type = OBJ_VIN;
    view_->AddObject(&rig_->Element(), 0);
    Pump();
    Open("VIN code(seventeen chars)");
    layout_.received.clear();
  }
  void TearDown() override {
    PaneTest::TearDown();
    rig_.reset();
  }
  QLineEdit* Edit(int id) { return Control<QLineEdit>(QString("edit%1").arg(id).toLatin1().constData()); }
  void Spin(int id, bool up) {
    auto buttons = Control<CSpinButton>(QString("spin%1").arg(id).toLatin1().constData())->findChildren<QToolButton*>();
    QTest::mouseClick(up ? buttons[0] : buttons[1], Qt::LeftButton);
    Pump();
  }
  std::unique_ptr<TextRig> rig_;
};

}  // namespace

TEST_F(VinPageTest, WmiIsUpperCasedIntoTheFirstThreeCharacters) {
  TypeAndEnter(Edit(1014), "abc");
  EXPECT_EQ(Edit(1014)->text(), "ABC");
  EXPECT_EQ(Edit(1103)->text(), "ABCAA4182E2184841");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_OBJVIN);
  EXPECT_EQ(PropToText(changes[0].value), "ABC");
}

TEST_F(VinPageTest, RefusedLetterRestoresThePartWithTheMessage) {
  TypeAndEnter(Edit(1014), "io");
  EXPECT_EQ(Edit(1014)->text(), "LSV");
  EXPECT_EQ(Edit(1103)->text(), "LSVAA4182E2184841");
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], "VIN code can't not contain:'O','o','I','i','Q','q' ");
  EXPECT_TRUE(layout_.Changes().empty());
}

TEST_F(VinPageTest, MakeOrderSpinSpreadsOverTheDigitFields) {
  Spin(1087, true);
  EXPECT_EQ(Edit(1022)->text(), "184842");
  EXPECT_EQ(Edit(1098)->text(), "2");  // position 1: the last character
  EXPECT_EQ(Edit(1088)->text(), "1");  // position 6: the first
  Spin(1099, true);                    // position 1 up, no carry
  EXPECT_EQ(Edit(1022)->text(), "184843");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[1].id, 1022);
  EXPECT_EQ(PropToText(changes[1].value), "184843");
}

TEST_F(VinPageTest, FullCodeOfAnotherLengthIsNotReported) {
  TypeAndEnter(Edit(1103), "LSVAA4182E218484");
  EXPECT_TRUE(layout_.Changes().empty());
  TypeAndEnter(Edit(1103), "LSVAA4182E2184842");
  ASSERT_EQ(layout_.Changes().size(), 1u);
}

TEST_F(VinPageTest, PlacementValuesTravelWithTheirOwnWidths) {
  TypeAndEnter(Edit(1111), "12.5");
  TypeAndEnter(Edit(1184), "1.5");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_TRUE(std::holds_alternative<double>(changes[0].value));
  EXPECT_TRUE(std::holds_alternative<float>(changes[1].value));
  EXPECT_DOUBLE_EQ(PropToDouble(changes[0].value), 12.5);
}
