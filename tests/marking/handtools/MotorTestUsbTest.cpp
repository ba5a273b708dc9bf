#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <future>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <memory>
#include <thread>

#include "MotorTestSupport.h"
#include "document/geometry/SharedState.h"
#include "marking/controller/ControllerState.h"
#include "marking/handtools/CMotorTestDlg.h"
#include "marking/handtools/MotorTestCommands.h"
#include "marking/widgets/CIoStatusStatic.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

namespace {

using namespace std::chrono_literals;

class MotorTestUsb : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    MachineSettings = DefaultMachineSetRecord();
    MachineSettings.pulseFrequency = 100;
    MachineSettings.pulseDuty = 50;
    for (auto& c : AxisStepCounters) c = 0;
    g_headStepsChanged = 0;
    host_.variant = GetParam();
  }

  std::unique_ptr<CMotorTestDlg> Open(int replyTimeoutMs = 0) {
    CMotorTestDlg::Options options;
    options.boardType = [] { return 1; };
    options.pause = [this](int ms) { pauses_.push_back(ms); };
    options.saveMachineSet = [this] { ++saves_; };
    options.replyTimeoutMs = replyTimeoutMs;
    options.clock = &clock_;
    auto dlg = std::make_unique<CMotorTestDlg>(&host_, nullptr, options);
    dlg->OnInitDialog();
    dlg->show();
    return dlg;
  }
  // Opens and answers the opening command.
  std::unique_ptr<CMotorTestDlg> OpenAnswered(int replyTimeoutMs = 0) {
    auto dlg = Open(replyTimeoutMs);
    auto opening = host_.Commands();
    EXPECT_EQ(opening.size(), 1u);
    if (!opening.empty()) host_.Reply(*opening[0], Good());
    return dlg;
  }
  void Click(CMotorTestDlg& dlg, int id) {
    auto* button = qobject_cast<QPushButton*>(dlg.GetDlgItem(id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  bool Framed() const { return GetParam() == PROTOCOL_FRAMED; }
  // The command's own bytes, whatever the variant.
  std::vector<BYTE> Payload(const ComCommand& c) const {
    if (!Framed()) return c.bytes;
    EXPECT_EQ(c.bytes.size(), 33u);
    std::vector<BYTE> p(c.bytes.begin() + 1, c.bytes.begin() + 32);
    while (p.size() > 1 && p.back() == 0) p.pop_back();
    return p;
  }
  std::vector<BYTE> Good(BYTE status = 0x0C) const {
    return Framed() ? std::vector<BYTE>{status, 0xDD, 0xDD, 0xDD} : std::vector<BYTE>{status};
  }

  RecordingLinkHost host_;
  platform::SimulatedClock clock_;  // the reply time-outs run on it
  std::vector<int> pauses_;
  int saves_ = 0;
};

TEST_P(MotorTestUsb, OpeningSendsTheOpenCommandAndPauses) {
  auto dlg = Open(50);
  auto commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->type, TEST_OPEN);
  EXPECT_EQ(Payload(*commands[0]), std::vector<BYTE>{0x40});
  EXPECT_EQ(pauses_, std::vector<int>{200});
  EXPECT_EQ(dlg->PendingType(), TEST_OPEN);
  EXPECT_EQ(qobject_cast<QLineEdit*>(dlg->GetDlgItem(CMotorTestDlg::IDC_FREQUENCY))->text(), "100");
  EXPECT_EQ(qobject_cast<QLineEdit*>(dlg->GetDlgItem(CMotorTestDlg::IDC_SCALE))->text(), "50");
}

TEST_P(MotorTestUsb, EachButtonSendsItsCommandAndRepliesMoveTheCounters) {
  struct Case {
    int id;
    BYTE byte;
    int type;
    std::int32_t x, y, z;  // counters after the reply
  };
  // Counters start at 0: X and Y decreases stop there.
  const Case cases[] = {
      {CMotorTestDlg::IDC_RIGHT, '2', TEST_X_RIGHT, 1000, 0, 0},
      {CMotorTestDlg::IDC_RIGHT, '2', TEST_X_RIGHT, 2000, 0, 0},
      {CMotorTestDlg::IDC_LEFT, '1', TEST_X_LEFT, 1000, 0, 0},
      {CMotorTestDlg::IDC_DOWN, '4', TEST_Y_DOWN, 1000, 1000, 0},
      {CMotorTestDlg::IDC_UP, '3', TEST_Y_UP, 1000, 0, 0},
      {CMotorTestDlg::IDC_UP, '3', TEST_Y_UP, 1000, 0, 0},
      {CMotorTestDlg::IDC_Z_FIRST, '5', TEST_Z_FIRST, 1000, 0, 1000},
      {CMotorTestDlg::IDC_Z_SECOND, '6', TEST_Z_SECOND, 1000, 0, 0},
      {CMotorTestDlg::IDC_X_STEP_LINE, 'A', TEST_X_STEP_LINE, 1000, 0, 0},
      {CMotorTestDlg::IDC_Y_STEP_LINE, 'B', TEST_Y_STEP_LINE, 1000, 0, 0},
      {CMotorTestDlg::IDC_Z_STEP_LINE, 'C', TEST_Z_STEP_LINE, 1000, 0, 0},
  };
  auto dlg = OpenAnswered();
  for (const Case& c : cases) {
    Click(*dlg, c.id);
    auto commands = host_.Commands();
    ASSERT_EQ(commands.size(), 1u) << c.id;
    EXPECT_EQ(commands[0]->type, c.type);
    EXPECT_EQ(Payload(*commands[0]), std::vector<BYTE>{c.byte});
    EXPECT_EQ(commands[0]->replyMsg, WM_COM_REQUEST);
    EXPECT_EQ(dlg->PendingType(), c.type);
    host_.Reply(*commands[0], Good(0x08));
    EXPECT_EQ(dlg->PendingType(), 0);
    EXPECT_EQ(dlg->LastBoardStatus(), 0x08);
    EXPECT_EQ(AxisStepCounters[AXIS_X].load(), c.x) << c.id;
    EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), c.y) << c.id;
    EXPECT_EQ(AxisStepCounters[AXIS_Z].load(), c.z) << c.id;
  }
  EXPECT_EQ(g_headStepsChanged.load(), 1);
}

TEST_P(MotorTestUsb, NeedleButtonAlternatesLightTestOnAndOff) {
  auto dlg = OpenAnswered();
  for (BYTE expected : {'8', '7', '8'}) {
    Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
    auto commands = host_.Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0]->type, TEST_NEEDLE);
    EXPECT_EQ(Payload(*commands[0]), std::vector<BYTE>{expected});
    EXPECT_EQ(dlg->Lamps()->LightTest(), expected == '8' ? 1 : 0);
    host_.Reply(*commands[0], Good());
  }
}

TEST_P(MotorTestUsb, ACommandPressedWhileOneWaitsIsDropped) {
  auto dlg = OpenAnswered(2000);
  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  Click(*dlg, CMotorTestDlg::IDC_LEFT);
  Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
  auto commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->type, TEST_X_RIGHT);
  EXPECT_EQ(dlg->Lamps()->LightTest(), 0) << "a dropped needle command leaves the lamp";
  host_.Reply(*commands[0], Good());
  Click(*dlg, CMotorTestDlg::IDC_LEFT);
  auto left = host_.Commands();
  ASSERT_EQ(left.size(), 1u);
  host_.Reply(*left[0], Good());
}

TEST_P(MotorTestUsb, AReplyThatNeverComesStopsBlockingAfterTheTimeOut) {
  auto dlg = Open(80);
  host_.Commands();  // the opening command is never answered
  clock_.Advance(79999);
  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  EXPECT_TRUE(host_.Commands().empty()) << "still within its time";
  EXPECT_EQ(dlg->PendingType(), TEST_OPEN);
  clock_.Advance(1);
  EXPECT_EQ(dlg->PendingType(), 0);
  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  auto commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->type, TEST_X_RIGHT);
}

// The test commands have no time-out of their own: each waits three seconds.
TEST_P(MotorTestUsb, ACommandWithoutATimeOutOfItsOwnWaitsThreeSeconds) {
  auto dlg = OpenAnswered();
  for (int id : {CMotorTestDlg::IDC_RIGHT, CMotorTestDlg::IDC_NEEDLE, CMotorTestDlg::IDC_X_STEP_LINE}) {
    Click(*dlg, id);
    ASSERT_EQ(host_.Commands().size(), 1u) << id;
    clock_.Advance(2999999);
    Click(*dlg, CMotorTestDlg::IDC_LEFT);
    EXPECT_TRUE(host_.Commands().empty()) << id << ": dropped a microsecond before its time is up";
    clock_.Advance(1);
    EXPECT_EQ(dlg->PendingType(), 0) << id;
  }
  Click(*dlg, CMotorTestDlg::IDC_LEFT);
  EXPECT_EQ(host_.Commands().size(), 1u);
}

TEST_P(MotorTestUsb, ALateReplyAnswersNothing) {
  auto dlg = Open(50);
  auto opening = host_.Commands();
  clock_.Advance(50000);
  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  auto right = host_.Commands();
  ASSERT_EQ(right.size(), 1u);
  host_.Reply(*opening[0], Good(0x04));  // the opening's reply, too late
  EXPECT_EQ(dlg->PendingType(), TEST_X_RIGHT);
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0);
  host_.Reply(*right[0], Good());
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 1000);
}

TEST_P(MotorTestUsb, FrequencyAndScaleChangesSendTheSpeedBlock) {
  auto dlg = OpenAnswered();
  auto* frequency = qobject_cast<QLineEdit*>(dlg->GetDlgItem(CMotorTestDlg::IDC_FREQUENCY));
  frequency->selectAll();
  QTest::keyClicks(frequency, "301");
  QTest::keyClick(frequency, Qt::Key_Return);
  EXPECT_TRUE(host_.Commands().empty()) << "301 is not taken";
  EXPECT_EQ(dlg->Frequency(), 100);
  EXPECT_EQ(frequency->text(), "100");

  frequency->selectAll();
  QTest::keyClicks(frequency, "1");
  QTest::keyClick(frequency, Qt::Key_Return);
  auto commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->type, TEST_SPEED);
  const std::vector<BYTE> block = BuildTestSpeedBlock(1, 50);
  if (Framed()) {
    EXPECT_EQ(Payload(*commands[0]), (std::vector<BYTE>{0xA2, block[1], block[2], block[3], block[4]}));
  } else {
    EXPECT_EQ(commands[0]->bytes, block);
  }
  host_.Reply(*commands[0], Good());

  QTest::mouseClick(dlg->SpinButton(false, false), Qt::LeftButton);  // scale 50 -> 49.5
  commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_DOUBLE_EQ(dlg->Scale(), 49.5);
  host_.Reply(*commands[0], Good());
}

TEST_P(MotorTestUsb, FrequencySpinNeverGoesAbove250) {
  MachineSettings.pulseFrequency = 248;
  auto dlg = OpenAnswered();
  for (int i = 0; i < 4; ++i) {
    QTest::mouseClick(dlg->SpinButton(true, true), Qt::LeftButton);
    for (auto& c : host_.Commands()) host_.Reply(*c, Good());
  }
  EXPECT_EQ(dlg->Frequency(), 250);
}

TEST_P(MotorTestUsb, ClosingWaitsForThePendingReplyThenSendsNine) {
  auto dlg = OpenAnswered();
  Click(*dlg, CMotorTestDlg::IDC_DOWN);
  auto down = host_.Commands();
  ASSERT_EQ(down.size(), 1u);
  // The board answers while the dialog is closing: at its first wait.
  bool answered = false;
  clock_.SetWaitHook([&] {
    if (answered) return;
    answered = true;
    host_.Reply(*down[0], Good(), false);
  });
  dlg->accept();
  clock_.SetWaitHook({});
  EXPECT_TRUE(answered);
  EXPECT_LT(clock_.NowMicros(), 3000000) << "taken before its time was up";
  auto commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->type, TEST_CLOSE);
  EXPECT_EQ(Payload(*commands[0]), std::vector<BYTE>{'9'});
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 1000) << "the reply was taken before closing";
  EXPECT_EQ(pauses_, (std::vector<int>{200, 200}));
  EXPECT_EQ(saves_, 1);
  dlg.reset();
  EXPECT_TRUE(host_.Commands().empty()) << "closed once";
}

TEST_P(MotorTestUsb, ClosingSendsNineEvenWhenTheReplyNeverComes) {
  auto dlg = Open(60);
  host_.Commands();
  dlg.reset();
  // It waited out the opening command's time on its clock, no longer.
  EXPECT_GE(clock_.NowMicros(), 60000);
  EXPECT_LE(clock_.NowMicros(), 61000);
  auto commands = host_.Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->type, TEST_CLOSE);
}

TEST_P(MotorTestUsb, ClosingStoresFrequencyAndScale) {
  auto dlg = OpenAnswered();
  QTest::mouseClick(dlg->SpinButton(true, false), Qt::LeftButton);
  for (auto& c : host_.Commands()) host_.Reply(*c, Good());
  dlg->accept();
  EXPECT_EQ(MachineSettings.pulseFrequency, 99);
  EXPECT_DOUBLE_EQ(MachineSettings.pulseDuty, 50);
}

TEST_P(MotorTestUsb, LampsShowTheReplyStatus) {
  PortLevelByte = 0;
  auto dlg = OpenAnswered();
  AxisStepCounters[AXIS_X] = 3000;
  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  host_.Reply(*host_.Commands()[0], Good(0x08));  // X bit 0: at origin with level 0
  const auto lines = dlg->Lamps()->ReadLines();
  EXPECT_EQ(lines[0].text, QStringLiteral("X到位"));
  EXPECT_EQ(lines[2].text, QStringLiteral("Y没到位"));
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), 0) << "the lamp panel zeroes an axis at its origin";
}

INSTANTIATE_TEST_SUITE_P(Variants, MotorTestUsb, ::testing::Values(PROTOCOL_PLAIN, PROTOCOL_FRAMED),
                         [](const auto& info) { return info.param == PROTOCOL_FRAMED ? "Framed" : "Plain"; });

}  // namespace

namespace {

TEST(MotorTestModal, RunFromAWorkerOpensOnTheUiThread) {
  RecordingLinkHost host;
  CMotorTestDlg::Options options;
  options.boardType = [] { return 1; };
  options.pause = [](int) {};
  options.replyTimeoutMs = 50;
  auto result = std::async(std::launch::async, [&] { return CMotorTestDlg::RunModal(&host, nullptr, options); });
  bool onUiThread = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* d = dynamic_cast<CMotorTestDlg*>(w);
      if (!d || !d->isVisible()) continue;
      onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
      d->reject();
    }
  });
  poll.start(10);
  while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(result.get(), QDialog::Rejected);
  EXPECT_TRUE(onUiThread);
  std::vector<int> types;
  for (const auto& c : host.Commands()) types.push_back(c->type);
  EXPECT_EQ(types, (std::vector<int>{TEST_OPEN, TEST_CLOSE}));
}

}  // namespace
