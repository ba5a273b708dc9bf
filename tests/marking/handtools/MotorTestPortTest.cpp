#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "document/geometry/SharedState.h"
#include "marking/controller/ControllerState.h"
#include "marking/handtools/CMotorTestDlg.h"
#include "marking/widgets/CIoStatusStatic.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

namespace {

constexpr WORD kBase = 0x378;
constexpr WORD kOut = kBase;
constexpr WORD kIn = kBase + 1;
constexpr WORD kCtrl = kBase + 2;

class MotorTestPort : public ::testing::Test {
 protected:
  void SetUp() override {
    ports_ = std::make_shared<platform::SimulatedPortSpace>();
    platform::SetPortSpace(ports_);
    clock_ = std::make_shared<platform::SimulatedClock>();
    platform::SetClock(clock_);
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
    SetPortAddresses(kBase);
    MachineSettings = DefaultMachineSetRecord();
    MachineSettings.stepX = 4;
    MachineSettings.stepY = 4;
    MachineSettings.pulseFrequency = 100;
    MachineSettings.pulseDuty = 50;
    MachineSettings.originCorner = 0;
    PortLevelByte = 0x04;  // origins at level 0, needle down high, up low
    PulseLevels = PULSE_LEVEL_ACTIVE;
    OutputShadow = 0;
    ControlShadow = 0;
    MarkStatusWord = 0;
    for (auto& c : AxisStepCounters) c = 0;
    ports_->SetIdleInput(kIn, 0xFF);  // no origin switch closed
  }
  void TearDown() override {
    platform::SetPrompt(nullptr);
    platform::SetPortSpace(nullptr);
    platform::SetClock(nullptr);
  }

  std::unique_ptr<CMotorTestDlg> Open() {
    CMotorTestDlg::Options options;
    options.clock = clock_.get();
    options.boardType = [] { return 2; };
    options.pause = [](int) {};
    options.saveMachineSet = [this] { ++saves_; };
    auto dlg = std::make_unique<CMotorTestDlg>(nullptr, nullptr, options);
    dlg->OnInitDialog();
    dlg->show();
    ports_->ClearAccesses();
    clock_->ClearWaits();
    return dlg;
  }
  void Click(CMotorTestDlg& dlg, int id) {
    auto* button = qobject_cast<QPushButton*>(dlg.GetDlgItem(id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Pulses seen on the output port: rises of the pulse bit.
  int Pulses(int bit) const {
    int count = 0;
    bool high = false;
    for (const auto& w : ports_->Writes(kOut)) {
      const bool now = (w.value & bit) != 0;
      if (now && !high) ++count;
      high = now;
    }
    return count;
  }

  std::shared_ptr<platform::SimulatedPortSpace> ports_;
  std::shared_ptr<platform::SimulatedClock> clock_;
  std::shared_ptr<platform::ScriptedPrompt> prompt_;
  int saves_ = 0;
};

TEST_F(MotorTestPort, FixedRunsPulseTheirCountAtTheHalfPeriod) {
  struct Case {
    int id;
    int corner;
    int pulseBit;
    int dirBit;
    bool dirHigh;
    int axis;
    int counter;
  };
  const Case cases[] = {
      {CMotorTestDlg::IDC_RIGHT, 0, OUT_X_PULSE, OUT_X_DIR, false, AXIS_X, 1001},
      {CMotorTestDlg::IDC_LEFT, 2, OUT_X_PULSE, OUT_X_DIR, true, AXIS_X, -1001},
      {CMotorTestDlg::IDC_DOWN, 0, OUT_Y_PULSE, OUT_Y_DIR, false, AXIS_Y, 1000},
      {CMotorTestDlg::IDC_UP, 3, OUT_Y_PULSE, OUT_Y_DIR, true, AXIS_Y, -1000},
      {CMotorTestDlg::IDC_Z_FIRST, 0, OUT_Z_PULSE, OUT_Z_DIR, false, AXIS_Z, 1001},
      {CMotorTestDlg::IDC_Z_SECOND, 0, OUT_Z_PULSE, OUT_Z_DIR, true, AXIS_Z, -1001},
  };
  for (const Case& c : cases) {
    MachineSettings.originCorner = c.corner;
    AxisStepCounters[c.axis] = 0;
    auto dlg = Open();
    Click(*dlg, c.id);
    const auto writes = ports_->Writes(kOut);
    const int pulses = std::abs(c.counter);
    ASSERT_EQ(writes.size(), static_cast<std::size_t>(1 + 2 * pulses)) << c.id;
    EXPECT_EQ(writes[0].value & c.pulseBit, 0u) << "the direction goes out alone first";
    for (const auto& w : writes) EXPECT_EQ((w.value & c.dirBit) != 0, c.dirHigh) << c.id;
    EXPECT_EQ(Pulses(c.pulseBit), pulses);
    EXPECT_EQ(AxisStepCounters[c.axis].load(), c.counter) << c.id;
    const auto waits = clock_->Waits();
    EXPECT_EQ(waits.size(), static_cast<std::size_t>(2 * pulses));
    EXPECT_TRUE(std::all_of(waits.begin(), waits.end(), [](double w) { return w == 125; }));
    EXPECT_TRUE(prompt_->Texts().empty());
  }
}

TEST_F(MotorTestPort, CoarseStepsSlowTheHalfPeriod) {
  MachineSettings.stepY = 4.5;
  auto dlg = Open();
  EXPECT_EQ(dlg->HalfPeriodMicros(), 290);
  Click(*dlg, CMotorTestDlg::IDC_RIGHT);
  EXPECT_EQ(clock_->Waits().front(), 290);
}

TEST_F(MotorTestPort, HomingRunStopsAtTheOrigin) {
  struct Case {
    int id;
    int corner;
    BYTE active;  // input reading with the switch closed
    const char* message;
    int axis;
    int pulseBit;
  };
  const Case cases[] = {
      {CMotorTestDlg::IDC_LEFT, 0, 0x80, "X in origin", AXIS_X, OUT_X_PULSE},
      {CMotorTestDlg::IDC_RIGHT, 3, 0x80, "X in origin", AXIS_X, OUT_X_PULSE},
      {CMotorTestDlg::IDC_UP, 2, 0x20, "Y in origin", AXIS_Y, OUT_Y_PULSE},
      {CMotorTestDlg::IDC_DOWN, 1, 0x20, "Y in origin", AXIS_Y, OUT_Y_PULSE},
  };
  // Origin switches read 1 when closed, so one bouncing reading of a pair
  // does not count.
  PortLevelByte = 0x07;
  ports_->SetIdleInput(kIn, 0x00);
  for (const Case& c : cases) {
    MachineSettings.originCorner = c.corner;
    AxisStepCounters[c.axis] = 5000;
    auto dlg = Open();
    prompt_->Clear();
    // Open for 5 checks, one check with one closed reading, then closed.
    for (int i = 0; i < 10; ++i) ports_->QueueInput(kIn, 0x00);
    ports_->QueueInput(kIn, c.active);
    ports_->QueueInput(kIn, 0x00);
    ports_->QueueInput(kIn, c.active);
    ports_->QueueInput(kIn, c.active);
    Click(*dlg, c.id);
    EXPECT_EQ(Pulses(c.pulseBit), 6) << c.id;
    EXPECT_EQ(AxisStepCounters[c.axis].load(), 0) << c.id;
    EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(LastInputByte.load(), c.active);
  }
}

TEST_F(MotorTestPort, HomingRunAtTheOriginMakesNoPulse) {
  ports_->SetIdleInput(kIn, 0x00);  // level 0: both switches closed
  AxisStepCounters[AXIS_Y] = 77;
  auto dlg = Open();
  Click(*dlg, CMotorTestDlg::IDC_UP);
  EXPECT_EQ(Pulses(OUT_Y_PULSE), 0);
  EXPECT_EQ(AxisStepCounters[AXIS_Y].load(), 0);
  EXPECT_EQ(prompt_->Texts(), std::vector<std::string>{"Y in origin"});
}

TEST_F(MotorTestPort, HomingRunGivesUpAfterAThousandPulses) {
  auto dlg = Open();
  Click(*dlg, CMotorTestDlg::IDC_LEFT);  // corner 0: towards the X origin, which never closes
  EXPECT_EQ(Pulses(OUT_X_PULSE), 1000);
  EXPECT_TRUE(prompt_->Texts().empty());
  EXPECT_EQ(AxisStepCounters[AXIS_X].load(), -1000);
}

TEST_F(MotorTestPort, NeedleAlternatesAndIsLeftOffOnClose) {
  auto dlg = Open();
  Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
  EXPECT_EQ(ports_->LastWritten(kOut) & OUT_NEEDLE, static_cast<DWORD>(OUT_NEEDLE));
  EXPECT_EQ(dlg->Lamps()->LightTest(), 1);
  Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
  EXPECT_EQ(ports_->LastWritten(kOut) & OUT_NEEDLE, 0u);
  Click(*dlg, CMotorTestDlg::IDC_NEEDLE);
  EXPECT_EQ(ports_->LastWritten(kOut) & OUT_NEEDLE, static_cast<DWORD>(OUT_NEEDLE));
  dlg->accept();
  EXPECT_EQ(ports_->LastWritten(kOut) & OUT_NEEDLE, 0u);
  EXPECT_EQ(saves_, 1);

  // With the needle levels the other way round, off is high.
  PortLevelByte = 0x08;
  auto second = Open();
  second.reset();
  EXPECT_EQ(ports_->LastWritten(kOut) & OUT_NEEDLE, static_cast<DWORD>(OUT_NEEDLE));
}

TEST_F(MotorTestPort, StepLinesGoToRestThenActiveLevel) {
  auto dlg = Open();
  const std::pair<int, int> lines[] = {{CMotorTestDlg::IDC_X_STEP_LINE, OUT_X_PULSE},
                                       {CMotorTestDlg::IDC_Y_STEP_LINE, OUT_Y_PULSE},
                                       {CMotorTestDlg::IDC_Z_STEP_LINE, OUT_Z_PULSE}};
  for (const auto& [id, bit] : lines) {
    for (bool active : {false, true, false}) {
      Click(*dlg, id);
      EXPECT_EQ((ports_->LastWritten(kOut) & bit) != 0, active) << id;
    }
  }
  for (const auto& c : AxisStepCounters) EXPECT_EQ(c.load(), 0) << "a hand-set line is no step";
}

TEST_F(MotorTestPort, OpeningAndClosingSetTheControlPort) {
  ControlBit0Switch = 1;
  ControlShadow = 0x01;
  CMotorTestDlg::Options options;
  options.clock = clock_.get();
  options.boardType = [] { return 0; };
  auto dlg = std::make_unique<CMotorTestDlg>(nullptr, nullptr, options);
  dlg->OnInitDialog();
  ASSERT_FALSE(ports_->Writes(kCtrl).empty());
  EXPECT_EQ(ports_->LastWritten(kCtrl) & 0x01, 0u) << "bit 0 cleared while testing";
  EXPECT_EQ(PortLevelByte.load() & 0xF0, 0x90) << "the port word lines reset";
  dlg.reset();
  EXPECT_EQ(ports_->LastWritten(kCtrl) & 0x01, 1u) << "the free-mode bit back on close";
  ControlBit0Switch = 0;
}

TEST_F(MotorTestPort, TakenSpeedChangesRestartThePulseGenerator) {
  auto dlg = Open();
  auto* frequency = qobject_cast<QLineEdit*>(dlg->GetDlgItem(CMotorTestDlg::IDC_FREQUENCY));
  frequency->selectAll();
  QTest::keyClicks(frequency, "301");
  QTest::keyClick(frequency, Qt::Key_Return);
  EXPECT_TRUE(ports_->Writes(kCtrl).empty()) << "301 is not taken";
  frequency->selectAll();
  QTest::keyClicks(frequency, "200");
  QTest::keyClick(frequency, Qt::Key_Return);
  EXPECT_EQ(dlg->Frequency(), 200);
  // Two 32-bit words, each with start and stop: many control-port writes.
  EXPECT_GT(ports_->Writes(kCtrl).size(), 64u);
}

}  // namespace
