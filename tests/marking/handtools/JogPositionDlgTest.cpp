#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QRadioButton>
#include <QTest>
#include <chrono>
#include <memory>
#include <thread>

#include "document/geometry/SharedHelpers.h"
#include "marking/handtools/CJogPositionDlg.h"
#include "marking/handtools/JogRequest.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "tests/support/WaitFor.h"
#include "values/ShellValues.h"

namespace {

using namespace std::chrono_literals;

class JogDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = platform::MakeMemorySettingsStore();
    store_->CreateKey(platform::kRegistryKey);
    platform::SetSettingsStore(store_);
    MachineSettings = DefaultMachineSetRecord();
  }
  void TearDown() override { platform::SetSettingsStore(nullptr); }

  std::unique_ptr<CJogPositionDlg> Make(std::chrono::milliseconds bound = 10s) {
    CJogPositionDlg::Options options;
    options.waitBound = bound;
    options.clock = &clock_;
    options.saveMachineSet = [this] { ++saves_; };
    auto dlg = std::make_unique<CJogPositionDlg>(&view_, nullptr, options);
    dlg->Create();
    return dlg;
  }
  void Click(CJogPositionDlg& dlg, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  static bool WaitReady(const CJogPositionDlg& dlg) {
    return WaitUntil([&] { return dlg.IsReady(); });
  }

  platform::SimulatedClock clock_;  // the wait bound runs on it
  std::shared_ptr<platform::SettingsStore> store_;
  platform::QueueMessageTarget view_;
  int saves_ = 0;
};

TEST_F(JogDialog, SecondPressWaitsUntilTheViewSetsTheEvent) {
  auto dlg = Make();
  Click(*dlg, CJogPositionDlg::IDC_X_PLUS);
  Click(*dlg, CJogPositionDlg::IDC_X_PLUS);
  auto sent = view_.Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msg, WM_JOG_REQUEST);
  EXPECT_EQ(sent[0].wParam, static_cast<WPARAM>(JOG_X_PLUS));
  const JogRequest* request = JogRequestOf(sent[0]);
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->code, JOG_X_PLUS);
  ASSERT_TRUE(request->done);
  EXPECT_FALSE(dlg->IsReady());

  const std::shared_ptr<platform::Event> done = request->done;
  done->Set();  // the view has moved the head
  ASSERT_TRUE(WaitReady(*dlg));
  Click(*dlg, CJogPositionDlg::IDC_X_PLUS);
  sent = view_.Drain();
  ASSERT_EQ(sent.size(), 1u);
  // One event for the dialog's life, shared with every request.
  EXPECT_EQ(JogRequestOf(sent[0])->done, done);
}

TEST_F(JogDialog, AnUnansweredRequestFreesTheButtonsAfterTheBound) {
  auto dlg = Make(60ms);
  Click(*dlg, CJogPositionDlg::IDC_Y_MINUS);
  clock_.Advance(59999);
  Click(*dlg, CJogPositionDlg::IDC_Y_MINUS);
  EXPECT_EQ(view_.Size(), 1u) << "still within the bound";
  clock_.Advance(1);
  ASSERT_TRUE(WaitReady(*dlg));
  Click(*dlg, CJogPositionDlg::IDC_Y_MINUS);
  EXPECT_EQ(view_.Size(), 2u);
}

TEST_F(JogDialog, EachButtonSendsItsCode) {
  const std::pair<int, int> cases[] = {{CJogPositionDlg::IDC_X_PLUS, JOG_X_PLUS},
                                       {CJogPositionDlg::IDC_X_MINUS, JOG_X_MINUS},
                                       {CJogPositionDlg::IDC_Y_PLUS, JOG_Y_PLUS},
                                       {CJogPositionDlg::IDC_Y_MINUS, JOG_Y_MINUS},
                                       {CJogPositionDlg::IDC_TOGGLE, JOG_TOGGLE}};
  auto dlg = Make();
  for (const auto& [id, code] : cases) {
    Click(*dlg, id);
    auto sent = view_.Drain();
    ASSERT_EQ(sent.size(), 1u) << id;
    EXPECT_EQ(JogRequestOf(sent[0])->code, code) << id;
    EXPECT_EQ(dlg->RequestCode(), code);
    JogRequestOf(sent[0])->done->Set();
    ASSERT_TRUE(WaitReady(*dlg)) << id;
  }
}

TEST_F(JogDialog, CloseCommandTellsTheViewWith899AndSaves) {
  auto dlg = Make();
  Click(*dlg, CJogPositionDlg::IDC_CLOSE);
  auto sent = view_.Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(JogRequestOf(sent[0])->code, JOG_CLOSING);
  EXPECT_TRUE(dlg->IsClosed());
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(saves_, 1);
  int left = -1;
  int top = -1;
  EXPECT_TRUE(ReadRegDword("PointRcLeft", left));
  EXPECT_TRUE(ReadRegDword("PointRcTop", top));
  EXPECT_EQ(left, dlg->pos().x());
  EXPECT_EQ(top, dlg->pos().y());
}

TEST_F(JogDialog, CloseBoxAndEscapeSaveWithout899) {
  for (bool escape : {false, true}) {
    saves_ = 0;
    auto dlg = Make();
    if (escape) QTest::keyClick(dlg.get(), Qt::Key_Escape);
    else dlg->close();
    EXPECT_TRUE(view_.Drain().empty()) << escape;
    EXPECT_TRUE(dlg->IsClosed());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(saves_, 1) << escape;
  }
}

TEST_F(JogDialog, CloseWhileARequestRunsSendsNo899) {
  // The 899 goes through the same gate as the arrows.
  auto dlg = Make();
  Click(*dlg, CJogPositionDlg::IDC_X_MINUS);
  Click(*dlg, CJogPositionDlg::IDC_CLOSE);
  auto sent = view_.Drain();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(JogRequestOf(sent[0])->code, JOG_X_MINUS);
  EXPECT_TRUE(dlg->IsClosed());
}

TEST_F(JogDialog, ChoicesComeFromAndGoBackToTheMachineSettings) {
  MachineSettings.jogPositionIndex = 9;
  MachineSettings.jogStepIndex = 3;
  auto dlg = Make();
  EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg->GetDlgItem(CJogPositionDlg::IDC_NO_EFFECT))->isChecked());
  EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg->GetDlgItem(CJogPositionDlg::IDC_STEP_FIRST + 3))->isChecked());

  Click(*dlg, CJogPositionDlg::IDC_POSITION_FIRST + 2);  // 1093: index 1
  Click(*dlg, CJogPositionDlg::IDC_STEP_FIRST + 4);      // 0.1 mm
  Click(*dlg, CJogPositionDlg::IDC_Y_PLUS);
  // The view reads the step when the request arrives.
  EXPECT_EQ(MachineSettings.jogPositionIndex, 1);
  EXPECT_EQ(MachineSettings.jogStepIndex, 4);

  MachineSettings.jogPositionIndex = 200;  // a damaged byte opens on the first choice
  dlg->Create();
  EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg->GetDlgItem(CJogPositionDlg::IDC_POSITION_FIRST))->isChecked());
}

TEST_F(JogDialog, OpensWhereItWasClosed) {
  WriteRegDword("PointRcLeft", 140);
  WriteRegDword("PointRcTop", 70);
  auto dlg = Make();
  EXPECT_EQ(dlg->pos(), QPoint(140, 70));
  dlg->move(200, 90);
  dlg->close();
  int left = 0;
  int top = 0;
  ReadRegDword("PointRcLeft", left);
  ReadRegDword("PointRcTop", top);
  EXPECT_EQ(QPoint(left, top), QPoint(200, 90));
}

TEST_F(JogDialog, DestroyingTheDialogStopsItsWaitAtOnce) {
  auto dlg = Make(10s);
  Click(*dlg, CJogPositionDlg::IDC_X_PLUS);
  dlg.reset();  // the clock never moves: a wait that went on would hold this for good
  // The view may still set the event it was given.
  auto sent = view_.Drain();
  ASSERT_EQ(sent.size(), 1u);
  JogRequestOf(sent[0])->done->Set();
}

}  // namespace
