#include <gtest/gtest.h>

#include <ostream>

#include <QFocusEvent>
#include <QTest>
#include <QToolButton>
#include <string>
#include <vector>

#include "widgets/CAlnumEdit.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"
#include "widgets/StopKeyFilter.h"

namespace {

// A stand-in for the marking state: while `marking`, Enter, Escape and Space
// are taken and counted.
bool marking = false;
int stops = 0;
int FakeStopFilter(UINT message, WPARAM key) {
  if (!marking || message != WM_KEYDOWN || (key != 13 && key != 27 && key != 32)) return 0;
  ++stops;
  return 1;
}

class NotifyEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widgets::InstallStopKeyFilter(&FakeStopFilter);
    marking = false;
    stops = 0;
    edit.SetKeyHandler([this](int key) { log.push_back("key" + std::to_string(key)); });
    edit.SetFocusLostHandler([this] { log.push_back("focus"); });
  }
  void TearDown() override { widgets::InstallStopKeyFilter(nullptr); }
  void LoseFocus(QLineEdit& e) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&e, &out);
  }
  CNotifyEdit edit;
  std::vector<std::string> log;
};

struct KeyCase {
  Qt::Key key;
  std::vector<std::string> reports;
  QString text;  // the field's text after the key, starting from "5"
  friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << "key " << std::hex << c.key; }
};

class NotifyEditKeyTest : public NotifyEditTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(NotifyEditKeyTest, ReportsEnterAndTheArrowsAndPassesOtherKeys) {
  edit.setText("5");
  QTest::keyClick(&edit, GetParam().key);
  EXPECT_EQ(log, GetParam().reports);
  EXPECT_EQ(edit.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Keys, NotifyEditKeyTest,
                         ::testing::Values(KeyCase{Qt::Key_Return, {"key13"}, "5"},
                                           KeyCase{Qt::Key_Enter, {"key13"}, "5"},
                                           KeyCase{Qt::Key_Up, {"key38"}, "5"},
                                           KeyCase{Qt::Key_Down, {"key40"}, "5"},
                                           KeyCase{Qt::Key_A, {}, "5a"},
                                           KeyCase{Qt::Key_Space, {}, "5 "}));

TEST_F(NotifyEditTest, FocusLossGivesTheNoticeThenOneKeyReport) {
  LoseFocus(edit);
  EXPECT_EQ(log, (std::vector<std::string>{"focus", "key13"}));
}

TEST_F(NotifyEditTest, WhileMarkingEnterEscapeAndSpaceStopInsteadOfReaching) {
  marking = true;
  edit.setText("5");
  QTest::keyClick(&edit, Qt::Key_Return);
  QTest::keyClick(&edit, Qt::Key_Space);
  QTest::keyClick(&edit, Qt::Key_Escape);
  QTest::keyClick(&edit, Qt::Key_Up);
  EXPECT_EQ(stops, 3);
  EXPECT_EQ(log, (std::vector<std::string>{"key38"}));
  EXPECT_EQ(edit.text(), QString("5"));
}

TEST_F(NotifyEditTest, AlnumEditKeepsOnlyLettersAndDigits) {
  CAlnumEdit alnum;
  std::vector<int> keys;
  alnum.SetKeyHandler([&](int key) { keys.push_back(key); });
  QTest::keyClicks(&alnum, "a1,B-2. z_9");
  EXPECT_EQ(alnum.text(), QString("a1B2z9"));
  QTest::keyClick(&alnum, Qt::Key_Backspace);
  EXPECT_EQ(alnum.text(), QString("a1B2z"));
  QTest::keyClick(&alnum, Qt::Key_Return);
  EXPECT_EQ(keys, (std::vector<int>{13}));
}

TEST(SpinButtonTest, UpReportsMinusOneAndDownPlusOne) {
  CSpinButton spin;
  std::vector<int> deltas;
  spin.SetDeltaHandler([&](int d) { deltas.push_back(d); });
  QTest::mouseClick(spin.UpButton(), Qt::LeftButton);
  QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
  QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
  EXPECT_EQ(deltas, (std::vector<int>{-1, 1, 1}));
}

}  // namespace
