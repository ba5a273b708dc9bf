// The serial number page through its controls: number length, random code
// length bounds, the repeat count that restarts the count of marks, and the
// angle spins' bounds.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

class SerialPageTest : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    view_->AddObject(Add(OBJ_SERIAL, "serial-1"), 0);
    Pump();
    Open("Auto text");
    layout_.received.clear();
  }
  QLineEdit* Edit(int id) { return Control<QLineEdit>(QString("edit%1").arg(id).toLatin1().constData()); }
  void Spin(int id, bool up) {
    auto buttons = Control<CSpinButton>(QString("spin%1").arg(id).toLatin1().constData())->findChildren<QToolButton*>();
    QTest::mouseClick(up ? buttons[0] : buttons[1], Qt::LeftButton);
    Pump();
  }
};

struct LengthCase {
  const char* typed;
  const char* shown;
};
class RandLengthTest : public SerialPageTest, public ::testing::WithParamInterface<LengthCase> {};

}  // namespace

TEST_P(RandLengthTest, RandomCodeLengthStaysWithinOneToEight) {
  auto* randOn = Control<QCheckBox>("check1064");
  QTest::mouseClick(randOn, Qt::LeftButton, Qt::NoModifier, QPoint(6, randOn->height() / 2));
  Pump();
  ASSERT_TRUE(Edit(1065)->isEnabled());
  layout_.received.clear();
  TypeAndEnter(Edit(1065), GetParam().typed);
  EXPECT_EQ(Edit(1065)->text(), GetParam().shown);
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(PropToInt(changes[0].value), QString(GetParam().shown).toInt());
}

INSTANTIATE_TEST_SUITE_P(Lengths, RandLengthTest,
                         ::testing::Values(LengthCase{"0", "1"}, LengthCase{"12", "8"}, LengthCase{"5", "5"}));

TEST_F(SerialPageTest, NumberTakesAtMostEightCharacters) {
  TypeAndEnter(Edit(1015), "123456789");
  EXPECT_EQ(Edit(1015)->text(), "12345678");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(PropToText(changes[0].value), "12345678");
}

TEST_F(SerialPageTest, NewRepeatCountRestartsTheMarksOfTheCurrentNumber) {
  Edit(1023)->setText("3");
  TypeAndEnter(Edit(1022), "4");
  EXPECT_EQ(Edit(1023)->text(), "0");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_AUTOTEXT);
  EXPECT_EQ(changes[0].id, 1022);
}

TEST_F(SerialPageTest, OffsetAngleSpinStopsAtZeroAndAtAFullTurn) {
  TypeAndEnter(Edit(1021), "3");
  Spin(1083, false);
  EXPECT_EQ(Edit(1021)->text(), "0");
  TypeAndEnter(Edit(1021), "358");
  Spin(1083, true);
  EXPECT_EQ(Edit(1021)->text(), "360");
}
