// The hardware test dialog against the simulated board over a
// pseudo-terminal, through the property view's real link.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "../link/SimulatedBoardView.h"
#include "document/geometry/SharedState.h"
#include "marking/handtools/CMotorTestDlg.h"
#include "marking/handtools/MotorTestCommands.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform_qt/QtMessageTarget.h"
#include "tests/support/WaitFor.h"
#include "tools/boardsim/BoardSimRunner.h"
#include "values/ShellValues.h"

namespace {

using namespace std::chrono_literals;

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds within = kEventBound) {
  const auto end = std::chrono::steady_clock::now() + within;
  while (!done() && std::chrono::steady_clock::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return done();
}

class BoardBench {
 public:
  explicit BoardBench(boardsim::Variant variant) : board(boardsim::BoardConfig{variant}), runner(board) {
    prompt = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt);
    EXPECT_TRUE(runner.Start()) << runner.LastError();
    view = std::make_unique<CProperityView>(SimulatedBoardViewOptions(runner.DevicePath()));
    viewWindow = std::make_unique<platform_qt::QtMessageTarget>(
        [this](const platform::Message& m) { view->HandleMessage(m); });
    view->SetSelfTarget(viewWindow.get());
    view->OnInitialUpdate(&layout);
  }
  ~BoardBench() {
    view->OnDestroy();
    runner.Stop();
    platform::SetPrompt(nullptr);
  }
  int Count(const std::string& command) const {
    const auto c = board.Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), command));
  }

  boardsim::BoardSimulator board;
  boardsim::BoardSimRunner runner;
  std::shared_ptr<platform::ScriptedPrompt> prompt;
  platform::QueueMessageTarget layout;
  std::unique_ptr<CProperityView> view;
  std::unique_ptr<platform_qt::QtMessageTarget> viewWindow;
};

CMotorTestDlg::Options UsbOptions(int replyTimeoutMs) {
  CMotorTestDlg::Options options;
  options.boardType = [] { return 1; };
  options.replyTimeoutMs = replyTimeoutMs;
  return options;
}

void Click(CMotorTestDlg& dlg, int id) {
  auto* button = qobject_cast<QPushButton*>(dlg.GetDlgItem(id));
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

TEST(MotorTestOnTheBoard, FramedBoardAnswersEveryCommandAndTheCountersFollow) {
  BoardBench bench(boardsim::Variant::Framed);
  ASSERT_TRUE(PumpUntil([&] { return bench.view->GetProtocolVariant() == PROTOCOL_FRAMED; }));
  ASSERT_TRUE(PumpUntil([&] { return bench.board.Commands().size() >= 2; }));  // the set-up frame
  for (auto& c : AxisStepCounters) c = 0;
  MachineSettings.pulseFrequency = 100;
  MachineSettings.pulseDuty = 50;
  const int framesBefore = bench.Count("FRAME?");

  // Every command is answered: only a reply, never the time-out, frees the dialog.
  auto dlg = std::make_unique<CMotorTestDlg>(bench.view.get(), nullptr, UsbOptions(600000));
  dlg->OnInitDialog();
  ASSERT_TRUE(PumpUntil([&] { return dlg->PendingType() == 0; }));
  EXPECT_EQ(bench.Count("FRAME?"), framesBefore + 1) << "the opening command";

  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  EXPECT_EQ(dlg->PendingType(), TEST_X_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return dlg->PendingType() == 0; }));
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 1000);
  EXPECT_EQ(dlg->LastBoardStatus(), 0xDD);

  Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
  ASSERT_TRUE(PumpUntil([&] { return dlg->PendingType() == 0; }));
  EXPECT_EQ(bench.Count("NEEDLE8"), 1);
  Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
  ASSERT_TRUE(PumpUntil([&] { return dlg->PendingType() == 0; }));
  EXPECT_EQ(bench.Count("NEEDLE7"), 1);

  QTest::mouseClick(dlg->SpinButton(true, true), Qt::LeftButton);
  ASSERT_TRUE(PumpUntil([&] { return dlg->PendingType() == 0; }));
  int frequency = 101;
  double duty = 50;
  const auto block = BuildSpeedBlock(frequency, duty);
  EXPECT_EQ(bench.board.LastSpeedBlock(), boardsim::Bytes(block.begin(), block.end()));

  // Left, then close at once: the closing command goes out after the reply.
  Click(*dlg, CMotorTestDlg::IDC_LEFT);
  const int framesBeforeClose = bench.Count("FRAME?");
  dlg->accept();
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  ASSERT_TRUE(PumpUntil([&] { return bench.Count("FRAME?") == framesBeforeClose + 2; }))
      << "left and the closing command both reach the board";
  EXPECT_EQ(bench.board.ChecksumErrors(), 0);
  EXPECT_TRUE(bench.prompt->Texts().empty());
  dlg.reset();
  PumpUntil([] { return false; }, 100ms);  // the closing command's reply finds no dialog
}

TEST(MotorTestOnTheBoard, ASilentBoardDoesNotLockTheDialog) {
  // The plain board does not know the one-byte test commands and never answers them.
  BoardBench bench(boardsim::Variant::Plain);
  ASSERT_TRUE(PumpUntil([&] { return bench.view->GetProtocolVariant() == PROTOCOL_PLAIN; }));
  platform::SimulatedClock clock;  // the time-outs run on it
  CMotorTestDlg::Options options = UsbOptions(150);
  options.clock = &clock;
  options.pause = [](int) {};
  auto dlg = std::make_unique<CMotorTestDlg>(bench.view.get(), nullptr, options);
  dlg->OnInitDialog();
  EXPECT_EQ(dlg->PendingType(), TEST_OPEN);
  clock.Advance(150000);
  EXPECT_EQ(dlg->PendingType(), 0);
  Click(*dlg, CMotorTestDlg::IDC_DOWN);
  EXPECT_EQ(dlg->PendingType(), TEST_Y_DOWN);
  clock.Advance(150000);
  EXPECT_EQ(dlg->PendingType(), 0);
  dlg.reset();  // a dialog still waiting would hold this for good
}

}  // namespace
