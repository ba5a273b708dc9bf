#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <future>
#include <memory>

#include "marking/handtools/CDitheringDlg.h"
#include "platform/Prompt.h"

namespace {

class DitheringDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
  }
  void TearDown() override { platform::SetPrompt(nullptr); }

  static QLineEdit* Edit(CDitheringDlg& dlg, int id) { return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id)); }
  static void Type(QLineEdit* edit, const char* text) {
    edit->clear();
    QTest::keyClicks(edit, QString::fromLatin1(text));
  }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
};

TEST_F(DitheringDialog, ValuesInAreShownAndComeBackOnOk) {
  CDitheringDlg dlg;
  EXPECT_EQ(dlg.windowTitle(), "Dithering control");
  dlg.m_stableTime = 250;
  dlg.m_applyDithering = 1;
  dlg.m_rotateFactor = 1.5f;
  dlg.OnInitDialog();
  EXPECT_EQ(Edit(dlg, CDitheringDlg::IDC_STABLE_TIME)->text(), "250");
  EXPECT_EQ(Edit(dlg, CDitheringDlg::IDC_ROTATE_FACTOR)->text(), "1.5");
  auto* apply = qobject_cast<QCheckBox*>(dlg.GetDlgItem(CDitheringDlg::IDC_APPLY_DITHERING));
  EXPECT_TRUE(apply->isChecked());

  Type(Edit(dlg, CDitheringDlg::IDC_STABLE_TIME), "65535");
  Type(Edit(dlg, CDitheringDlg::IDC_ROTATE_FACTOR), "0.001");
  QTest::mouseClick(apply, Qt::LeftButton);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_stableTime, 65535);
  EXPECT_FLOAT_EQ(dlg.m_rotateFactor, 0.001f);
  EXPECT_EQ(dlg.m_applyDithering, 0);
  EXPECT_TRUE(prompt_->Texts().empty());
}

struct RangeCase {
  const char* stable;
  const char* factor;
  const char* message;  // nullptr: taken
};

class DitheringRanges : public DitheringDialog, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(DitheringRanges, OkRefusesValuesOutsideTheirRange) {
  const RangeCase& c = GetParam();
  CDitheringDlg dlg;
  dlg.m_stableTime = 7;
  dlg.m_rotateFactor = 2.0f;
  dlg.OnInitDialog();
  Type(Edit(dlg, CDitheringDlg::IDC_STABLE_TIME), c.stable);
  Type(Edit(dlg, CDitheringDlg::IDC_ROTATE_FACTOR), c.factor);
  dlg.accept();
  if (!c.message) {
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(prompt_->Texts().empty());
    return;
  }
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{c.message});
  EXPECT_EQ(dlg.m_stableTime, 7) << "nothing is stored from a refused OK";
  EXPECT_FLOAT_EQ(dlg.m_rotateFactor, 2.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DitheringRanges,
    ::testing::Values(RangeCase{"0", "100", nullptr}, RangeCase{"65535", "0.001", nullptr},
                      RangeCase{"65536", "1", "Please enter an integer between 0 and 65535."},
                      RangeCase{"-1", "1", "Please enter an integer between 0 and 65535."},
                      RangeCase{"12ms", "1", "Please enter an integer."},
                      RangeCase{"10", "0.0009", "Please enter a number between 0.001 and 100."},
                      RangeCase{"10", "100.5", "Please enter a number between 0.001 and 100."},
                      RangeCase{"10", "0", "Please enter a number between 0.001 and 100."},
                      RangeCase{"10", "", "Please enter a number."}));

TEST_F(DitheringDialog, RunModalFromAWorkerRunsOnTheUiThread) {
  CDitheringDlg::Values values{100, 1, 2.5f};
  auto result = std::async(std::launch::async, [&values] { return CDitheringDlg::RunModal(values); });
  // The dialog runs its own loop: close it from a timer of the UI thread.
  bool onUiThread = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* d = dynamic_cast<CDitheringDlg*>(w);
      if (!d || !d->isVisible()) continue;
      onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread() &&
                   d->thread() == QCoreApplication::instance()->thread();
      Type(Edit(*d, CDitheringDlg::IDC_STABLE_TIME), "300");
      d->accept();
    }
  });
  poll.start(10);
  while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(result.get(), QDialog::Accepted);
  EXPECT_TRUE(onUiThread);
  EXPECT_EQ(values.stableTime, 300);
  EXPECT_EQ(values.applyDithering, 1);
  EXPECT_FLOAT_EQ(values.rotateFactor, 2.5f);
}

}  // namespace
