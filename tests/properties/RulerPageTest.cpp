// The ruler page through its controls: line factors kept within 0..100 %,
// and the arc-form controls enabled by the symmetry and the sector radius.
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

class RulerPageTest : public PaneTest {
 protected:
  void SetUp() override {
    PaneTest::SetUp();
    view_->AddObject(Add(OBJ_RULER, "ruler-1"), 0);
    Pump();
    Open("Ruler");
    layout_.received.clear();
  }
  QLineEdit* Edit(int id) { return Control<QLineEdit>(QString("edit%1").arg(id).toLatin1().constData()); }
  QComboBox* Combo(int id) { return Control<QComboBox>(QString("combo%1").arg(id).toLatin1().constData()); }
  void Choose(QComboBox* combo, int index) {
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(combo, Qt::Key_Down);
    Pump();
  }
};

}  // namespace

TEST_F(RulerPageTest, LineFactorAboveAHundredIsShownAndReportedAsAHundred) {
  TypeAndEnter(Edit(1018), "150");
  EXPECT_EQ(Edit(1018)->text(), "100");
  const auto changes = layout_.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].msg, WM_UPDATE_OBJRULERBAR);
  EXPECT_EQ(changes[0].id, 1018);
  EXPECT_FLOAT_EQ(PropToFloat(changes[0].value), 100.0f);
}

TEST_F(RulerPageTest, ArcControlsFollowTheSectorRadiusAndTheSymmetry) {
  TypeAndEnter(Edit(1024), "0");
  EXPECT_FALSE(Edit(1025)->isEnabled());
  EXPECT_FALSE(Combo(1038)->isEnabled());
  EXPECT_FALSE(Combo(1040)->isEnabled());
  TypeAndEnter(Edit(1024), "30");
  EXPECT_TRUE(Edit(1025)->isEnabled());
  ASSERT_TRUE(Combo(1038)->isEnabled());
  Choose(Combo(1038), 1);  // "Y+ symmetry"
  EXPECT_FALSE(Edit(1027)->isEnabled());
  EXPECT_FALSE(Control<CSpinButton>("spin1039")->isEnabled());
  Choose(Combo(1038), 0);
  EXPECT_TRUE(Edit(1027)->isEnabled());
}

// The date page shares the text page's rules but for its own steps.
TEST_F(PaneTest, DateRadiusSpinFromThreeGoesToZeroAndTheStylesAreTheProgramTable) {
  view_->AddObject(Add(OBJ_DATE, "date-1"), 0);
  Pump();
  Open("System date");
  auto* radius = Control<QLineEdit>("edit1016");
  TypeAndEnter(radius, "3");
  layout_.received.clear();
  auto buttons = Control<CSpinButton>("spin1075")->findChildren<QToolButton*>();
  QTest::mouseClick(buttons[1], Qt::LeftButton);  // down
  Pump();
  EXPECT_EQ(radius->text(), "0");
  ASSERT_EQ(layout_.Changes().size(), 1u);
  EXPECT_EQ(layout_.Changes()[0].msg, WM_UPDATE_TEXTTIME);
  EXPECT_EQ(Control<QLabel>("label1174")->text(), "Left top(x):");
  EXPECT_EQ(Control<QComboBox>("combo1083")->count(), 13);
}
