// The work area's parameter pages: access codes, the rotary read-out, the
// speed gauges, the limits of the paths and counts, and the rotary switches.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "document/geometry/SharedHelpers.h"
#include "marking/controller/ControllerState.h"
#include "platform/SettingsStore.h"
#include "properties/pages/CUpdatePrintParameterPage.h"
#include "properties/pages/CUpdatePrintSetupPage.h"
#include "properties/pages/CUpdateRoateSetPage.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "tests/properties/PaneFixture.h"
#include "values/PropertyMessages.h"
#include "widgets/CSpinButton.h"

namespace {

class MachinePagesTest : public PaneTest {
 protected:
  CPropertyPage* ShowWorkArea(const char* page) {
    view_->AddObject(workArea_, 0);
    Pump();
    return Open(page);
  }
  bool Enabled(const char* name) { return Control<QWidget>(name)->isEnabled(); }
  void Type(const char* edit, const QString& text) {
    auto* e = Control<QLineEdit>(edit);
    e->selectAll();
    QTest::keyClicks(e, text);
    Pump();
  }
  void Spin(const char* spin, bool up, int times = 1) {
    auto* s = Control<CSpinButton>(spin);
    for (int i = 0; i < times; ++i) QTest::mouseClick(up ? s->UpButton() : s->DownButton(), Qt::LeftButton);
    Pump();
  }
  std::vector<double> Posted(int id) const {
    std::vector<double> values;
    for (const Received& r : layout_.Changes())
      if (r.id == id) values.push_back(PropToDouble(r.value));
    return values;
  }
};

TEST_F(MachinePagesTest, AccessCodesSwitchTheUnlockedGroup) {
  ShowWorkArea("Mark parameter");
  for (const char* locked : {"edit1019", "edit1033", "edit1022", "edit1023", "combo1025", "edit1024", "edit1027",
                             "button1029"})
    EXPECT_FALSE(Enabled(locked)) << locked;
  Type("edit1020", "quenmart");
  for (const char* open : {"edit1022", "edit1023", "combo1025", "edit1024", "edit1027", "button1029"})
    EXPECT_TRUE(Enabled(open)) << open;
  Type("edit1020", "tervadin");
  EXPECT_TRUE(Enabled("edit1019"));
  EXPECT_TRUE(Enabled("edit1033"));
  for (const char* closed : {"edit1022", "edit1023", "combo1025", "edit1024", "edit1027"})
    EXPECT_FALSE(Enabled(closed)) << closed;
  QTest::mouseClick(Control<QPushButton>("button1029"), Qt::LeftButton);
  EXPECT_FALSE(Enabled("edit1019"));
  EXPECT_FALSE(Enabled("edit1033"));
  EXPECT_FALSE(Enabled("button1029"));
  Type("edit1020", "vessolin");
  EXPECT_TRUE(Enabled("edit1022"));
  EXPECT_FALSE(Enabled("edit1019"));
  Type("edit1020", "Vessolin");  // codes are compared exactly: nothing changes
  EXPECT_TRUE(Enabled("edit1022"));
  EXPECT_TRUE(layout_.Changes().empty());
}

TEST_F(MachinePagesTest, FractionizeSetsTheDivisorOfTheReadout) {
  auto* page = static_cast<CUpdatePrintParameterPage*>(ShowWorkArea("Mark parameter"));
  EXPECT_NEAR(page->zConst, 12.2231, 1e-4) << "the defaults";
  Type("edit1020", "quenmart");
  auto* combo = Control<QComboBox>("combo1025");
  ASSERT_EQ(combo->count(), 11);
  EXPECT_EQ(combo->itemText(8), QString("256subdivision"));
  combo->setCurrentIndex(8);
  emit combo->activated(8);
  Pump();
  EXPECT_EQ(page->divisor, 256);
  EXPECT_DOUBLE_EQ(page->zConst,
                   CUpdatePrintParameterPage::ZConstant(8, 48, 16, static_cast<double>(1.8f), 0, 3141.59265));
  EXPECT_EQ(Posted(1025), std::vector<double>{8});
  EXPECT_EQ(CUpdatePrintParameterPage::Divisor(11), 64);
  EXPECT_EQ(CUpdatePrintParameterPage::Divisor(-1), 64);
}

TEST_F(MachinePagesTest, StepAngleWhileTypingPostsTheStandardAngleThenTheTypedOne) {
  ShowWorkArea("Mark parameter");
  Type("edit1020", "quenmart");
  Type("edit1027", "0.9");
  EXPECT_EQ(Posted(1027), std::vector<double>{1.8});
  QTest::keyClick(Control<QLineEdit>("edit1027"), Qt::Key_Return);
  Pump();
  EXPECT_EQ(Posted(1027), (std::vector<double>{1.8, 0.9}));
  Type("edit1027", "3");
  layout_.received.clear();
  QTest::keyClicks(Control<QLineEdit>("edit1027"), "0");  // 30
  Pump();
  EXPECT_TRUE(Posted(1027).empty());
}

TEST_F(MachinePagesTest, HalfTypedNumbersRaiseNoMessageWhileTyping) {
  ShowWorkArea("Mark parameter");
  Type("edit1020", "quenmart");
  for (const char* edit : {"edit1023", "edit1022", "edit1024", "edit1027", "edit1044"}) {
    Type(edit, "-");
    QTest::keyClick(Control<QLineEdit>(edit), Qt::Key_Backspace);
    Pump();
  }
  EXPECT_TRUE(prompt_->Texts().empty());
  // Finishing the edit still validates.
  QTest::keyClick(Control<QLineEdit>("edit1023"), Qt::Key_Return);
  Pump();
  EXPECT_FALSE(prompt_->Texts().empty());
}

TEST_F(MachinePagesTest, SpeedsAreAtLeastOneAndTheirGaugesFollow) {
  ShowWorkArea("Mark parameter");
  TypeAndEnter(Control<QLineEdit>("edit1016"), "0.2");
  EXPECT_EQ(Posted(1016), std::vector<double>{1.0});
  EXPECT_EQ(Control<QLineEdit>("edit1016")->text(), QString("1"));
  EXPECT_EQ(Control<QProgressBar>("progress1032")->value(), 1);
  TypeAndEnter(Control<QLineEdit>("edit1014"), "118");
  Spin("spin1034", true);
  EXPECT_EQ(Posted(1014), (std::vector<double>{118, 120}));
  EXPECT_EQ(Control<QProgressBar>("progress1030")->value(), 120);
  TypeAndEnter(Control<QLineEdit>("edit1015"), "58.5");
  Spin("spin1036", true);
  EXPECT_EQ(Posted(1015).back(), 60);
  Spin("spin1036", false, 40);
  EXPECT_EQ(Posted(1015).back(), 1);
}

TEST_F(MachinePagesTest, OnStableDelayGoesToTheRegistryAndTheController) {
  auto settings = platform::MakeMemorySettingsStore();
  settings->CreateKey(platform::kRegistryKey);
  platform::SetSettingsStore(settings);
  ShowWorkArea("Mark parameter");
  Type("edit1044", "250");
  EXPECT_EQ(StartMarkDelay.load(), 250);
  int stored = 0;
  EXPECT_TRUE(ReadRegDword("StartMarkDelay", stored));
  EXPECT_EQ(stored, 250);
  Type("edit1044", "600000");
  // Each keystroke is taken while the value stays within 599999.
  EXPECT_EQ(StartMarkDelay.load(), 60000) << "above 599999 is not taken";
  EXPECT_TRUE(layout_.Changes().empty());
  StartMarkDelay = 0;
}

TEST_F(MachinePagesTest, PathValuesStayInsideTheMarkingRange) {
  ShowWorkArea("Work style...");
  TypeAndEnter(Control<QLineEdit>("edit1017"), "80");  // 120 mm wide
  EXPECT_EQ(Posted(1017), std::vector<double>{60});
  EXPECT_EQ(Control<QLineEdit>("edit1017")->text(), QString("60"));
  TypeAndEnter(Control<QLineEdit>("edit1024"), "-70");  // 100 mm high
  EXPECT_EQ(Posted(1024), std::vector<double>{-50});
  TypeAndEnter(Control<QLineEdit>("edit1019"), "57");
  Spin("spin1043", true, 3);
  EXPECT_EQ(Posted(1019), (std::vector<double>{57, 59, 60, 60}));
}

TEST_F(MachinePagesTest, CountSpinsWrapAndTheResetCountNeverPassesTheContinuousCount) {
  auto* page = static_cast<CUpdatePrintSetupPage*>(ShowWorkArea("Work style..."));
  TypeAndEnter(Control<QLineEdit>("edit1014"), "32765");
  Spin("spin1035", true);
  EXPECT_EQ(page->continueTimes, 1u);
  TypeAndEnter(Control<QLineEdit>("edit1014"), "3");
  Spin("spin1037", true, 5);
  EXPECT_EQ(page->resetTimes, 3u);
  TypeAndEnter(Control<QLineEdit>("edit1016"), "9");
  EXPECT_EQ(page->resetTimes, 3u);
  TypeAndEnter(Control<QLineEdit>("edit1014"), "0");
  EXPECT_EQ(page->continueTimes, 1u);
}

TEST_F(MachinePagesTest, RotationPageRestoresOutOfRangeValuesAndEnablesByRotateMark) {
  auto* page = static_cast<CUpdateRoateSetPage*>(ShowWorkArea("Rotate setting"));
  EXPECT_FALSE(Enabled("edit1014"));
  QTest::mouseClick(Control<QCheckBox>("check1042"), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
  Pump();
  EXPECT_TRUE(Enabled("edit1014"));
  EXPECT_EQ(Posted(1042), std::vector<double>{1});
  TypeAndEnter(Control<QLineEdit>("edit1014"), "2500");
  EXPECT_EQ(page->diameter, 20.0);
  EXPECT_TRUE(Posted(1014).empty());
  TypeAndEnter(Control<QLineEdit>("edit1014"), "1998");
  Spin("spin1047", true);
  Spin("spin1047", true);
  EXPECT_EQ(Posted(1014), (std::vector<double>{1998, 2003, 2000}));
  TypeAndEnter(Control<QLineEdit>("edit1016"), "20.0005");
  EXPECT_TRUE(Posted(1016).empty());
}

}  // namespace
