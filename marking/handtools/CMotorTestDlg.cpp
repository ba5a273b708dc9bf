#include "marking/handtools/CMotorTestDlg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/controller/ControllerState.h"
#include "marking/dialogs/DialogControls.h"
#include "marking/handtools/MotorTestCommands.h"
#include "marking/handtools/UiThreadCall.h"
#include "marking/link/LinkMessages.h"
#include "marking/link/PortSerialWriter.h"
#include "marking/widgets/CIoStatusStatic.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform_qt/QtMessageTarget.h"
#include "values/ShellValues.h"

using machine_dialogs::Named;

namespace {

// The reply window the link is given. A request keeps a plain pointer to it
// and a reply may come after the dialog has gone, so it lives as long as the
// process and hands replies to the dialog that is open, if any.
class ReplyRelay : public platform::MessageTarget {
 public:
  bool Post(platform::Message message) override {
    std::shared_ptr<platform::MessageTarget> to;
    {
      std::lock_guard lock(mutex_);
      to = to_;
    }
    return to && to->Post(std::move(message));
  }
  void Attach(std::shared_ptr<platform::MessageTarget> to) {
    std::lock_guard lock(mutex_);
    to_ = std::move(to);
  }
  void Detach(const platform::MessageTarget* to) {
    std::lock_guard lock(mutex_);
    if (to_.get() == to) to_.reset();
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<platform::MessageTarget> to_;
};

ReplyRelay& Relay() {
  static auto* relay = new ReplyRelay;  // never destroyed: the link may post at any time
  return *relay;
}

constexpr char kArrowBytes[] = {'1', '2', '3', '4'};  // left, right, up, down
constexpr int kArrowTypes[] = {TEST_X_LEFT, TEST_X_RIGHT, TEST_Y_UP, TEST_Y_DOWN};
constexpr int kZPulses = 1001;

}  // namespace

CMotorTestDlg::CMotorTestDlg(ILinkHost* propertyView, QWidget* parent)
    : CMotorTestDlg(propertyView, parent, Options{}) {}

CMotorTestDlg::CMotorTestDlg(ILinkHost* propertyView, QWidget* parent, Options options)
    : QDialog(parent), host_(propertyView), options_(std::move(options)), tester_(options_.clock) {
  setWindowTitle(QStringLiteral("Hardware Status test"));
  BuildControls();
  replies_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) { OnComReply(m); });
  replyHandle_ = replies_->Handle();
  Relay().Attach(replyHandle_);
}

CMotorTestDlg::~CMotorTestDlg() {
  Shutdown();
  Relay().Detach(replyHandle_.get());
  replies_.reset();
}

void CMotorTestDlg::BuildControls() {
  auto button = [this](const QString& text, const char* name, int id, auto handler) {
    auto* b = Named(new QPushButton(text, this), name, id);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  auto* arrows = new QGridLayout;
  auto arrow = [&](const QString& text, const char* name, int id, CPortAxisTester::Arrow which) {
    return button(text, name, id, [this, which] { OnArrow(which); });
  };
  arrows->addWidget(arrow(QStringLiteral("↑"), "upButton", IDC_UP, CPortAxisTester::ARROW_UP), 0, 1);
  arrows->addWidget(arrow(QStringLiteral("←"), "leftButton", IDC_LEFT, CPortAxisTester::ARROW_LEFT), 1, 0);
  arrows->addWidget(arrow(QStringLiteral("→"), "rightButton", IDC_RIGHT, CPortAxisTester::ARROW_RIGHT), 1, 2);
  arrows->addWidget(arrow(QStringLiteral("↓"), "downButton", IDC_DOWN, CPortAxisTester::ARROW_DOWN), 2, 1);
  arrows->addWidget(button(QStringLiteral("Z↑"), "zFirstButton", IDC_Z_FIRST, [this] { OnZ(true); }), 0, 3);
  arrows->addWidget(button(QStringLiteral("Z↓"), "zSecondButton", IDC_Z_SECOND, [this] { OnZ(false); }), 2, 3);
  needle_ = button(QStringLiteral("Needle off"), "needleButton", IDC_NEEDLE, [this] { OnNeedle(); });
  arrows->addWidget(needle_, 1, 1);

  auto* lines = new QHBoxLayout;
  lines->addWidget(button(QStringLiteral("XP"), "xStepLineButton", IDC_X_STEP_LINE, [this] { OnStepLine(AXIS_X); }));
  lines->addWidget(button(QStringLiteral("YP"), "yStepLineButton", IDC_Y_STEP_LINE, [this] { OnStepLine(AXIS_Y); }));
  lines->addWidget(button(QStringLiteral("ZP"), "zStepLineButton", IDC_Z_STEP_LINE, [this] { OnStepLine(AXIS_Z); }));

  frequencyEdit_ = Named(new QLineEdit(this), "frequencyEdit", IDC_FREQUENCY);
  scaleEdit_ = Named(new QLineEdit(this), "scaleEdit", IDC_SCALE);
  microStep_ = Named(new QCheckBox(QStringLiteral("MicroStep"), this), "microStepCheck", IDC_MICRO_STEP);
  connect(frequencyEdit_, &QLineEdit::editingFinished, this, [this] { OnFrequencyEdit(); });
  connect(scaleEdit_, &QLineEdit::editingFinished, this, [this] { OnScaleEdit(); });
  const char* spinNames[2][2] = {{"frequencySpinDown", "frequencySpinUp"}, {"scaleSpinDown", "scaleSpinUp"}};
  for (int which = 0; which < 2; ++which) {
    for (int up = 0; up < 2; ++up) {
      auto* b = new QPushButton(up ? QStringLiteral("+") : QStringLiteral("-"), this);
      b->setObjectName(spinNames[which][up]);
      b->setAutoDefault(false);
      b->setAutoRepeat(true);
      const int delta = up ? 1 : -1;
      if (which == 0) connect(b, &QPushButton::clicked, this, [this, delta] { OnFrequencySpin(delta); });
      else connect(b, &QPushButton::clicked, this, [this, delta] { OnScaleSpin(delta); });
      spin_[which][up] = b;
    }
  }
  auto* speed = new QGridLayout;
  speed->addWidget(new QLabel(QStringLiteral("Freq"), this), 0, 0);
  speed->addWidget(frequencyEdit_, 0, 1);
  speed->addWidget(spin_[0][0], 0, 2);
  speed->addWidget(spin_[0][1], 0, 3);
  speed->addWidget(new QLabel(QStringLiteral("Scale"), this), 1, 0);
  speed->addWidget(scaleEdit_, 1, 1);
  speed->addWidget(spin_[1][0], 1, 2);
  speed->addWidget(spin_[1][1], 1, 3);
  speed->addWidget(microStep_, 2, 1);

  lamps_ = Named(new CIoStatusStatic(this), "ioStatus", IDC_LAMPS);
  lamps_->setMinimumSize(200, 150);
  lamps_->SetSource(this);

  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName("closeButton");
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &CMotorTestDlg::accept);

  auto* left = new QVBoxLayout;
  left->addLayout(arrows);
  left->addLayout(lines);
  left->addLayout(speed);
  auto* row = new QHBoxLayout;
  row->addLayout(left);
  row->addWidget(lamps_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(close, 0, Qt::AlignRight);
}

int CMotorTestDlg::DoModal() {
  OnInitDialog();
  return exec();
}

int CMotorTestDlg::RunModal(ILinkHost* propertyView, QWidget* parent, Options options) {
  return handtools::RunOnUiThread(
      [&] {
        CMotorTestDlg dlg(propertyView, parent, std::move(options));
        return dlg.DoModal();
      },
      QDialog::Rejected);
}

void CMotorTestDlg::OnInitDialog() {
  frequency_ = MachineSettings.pulseFrequency;
  scale_ = MachineSettings.pulseDuty;
  ShowValues();
  tester_.SetHalfPeriodMicros(CPortAxisTester::HalfPeriodFor(MachineSettings.stepX, MachineSettings.stepY));
  lamps_->SetLightTest(0);
  if (IsUsb()) {
    const BYTE open = 0x40;
    SendTestCommand(TEST_OPEN, &open, 1);
    Pause(kPauseMs);
  } else {
    CPortSerialWriter writer(PortLevelByte, options_.clock);
    writer.ResetPortShadow();
    writer.SendPortStop();
  }
  ClearCtrlPortBit0();
}

void CMotorTestDlg::ShowValues() {
  frequencyEdit_->setText(QString::number(frequency_));
  scaleEdit_->setText(machine_dialogs::FloatText(scale_));
}

void CMotorTestDlg::Pause(int ms) {
  if (options_.pause) options_.pause(ms);
  else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int CMotorTestDlg::ReplyTimeoutMs(int type) const {
  return options_.replyTimeoutMs > 0 ? options_.replyTimeoutMs : TestReplyTimeoutMs(type);
}

platform::Clock& CMotorTestDlg::ClockRef() const {
  return options_.clock ? *options_.clock : platform::CurrentClock();
}

bool CMotorTestDlg::PendingExpired() const {
  return pendingType_ != 0 && ClockRef().NowMicros() >= pendingDeadline_;
}

void CMotorTestDlg::ExpirePending() {
  if (PendingExpired()) ClearPending();
}

bool CMotorTestDlg::SendTestCommand(int type, const BYTE* bytes, int length) {
  ExpirePending();
  if (pendingType_ != 0 || !host_) return false;  // one command at a time
  CComRequest* request = host_->GetComRequest();
  if (!request) return false;
  const bool framed = host_->GetProtocolVariant() == PROTOCOL_FRAMED;
  const std::vector<BYTE> wire = WireTestCommand(type, bytes, length, framed);
  std::memset(buffer_, 0, sizeof buffer_);
  std::memcpy(buffer_, wire.data(), std::min(wire.size(), sizeof buffer_));
  request->Prepare(type, buffer_, static_cast<int>(std::min(wire.size(), sizeof buffer_)), &Relay(), WM_COM_REQUEST,
                   0);
  platform::MessageTarget* target = host_->GetRequestTarget();
  if (!target || !target->Post(request->MakeSubmitMessage(WM_COM_REQUEST))) return false;
  pendingType_ = type;
  pendingSerial_ = request->GetSerial();
  // A reply that never comes must not lock the buttons for good.
  pendingDeadline_ = ClockRef().NowMicros() + std::int64_t{1000} * ReplyTimeoutMs(type);
  return true;
}

void CMotorTestDlg::ClearPending() {
  pendingType_ = 0;
  pendingSerial_ = 0;
}

void CMotorTestDlg::OnComReply(const platform::Message& message) {
  if (message.msg != WM_COM_REQUEST) return;
  const ComReply* reply = ReplyOf(message);
  // Late replies (after the time-out, or to a command of an earlier dialog)
  // answer nothing now.
  ExpirePending();
  if (!reply || pendingType_ == 0 || reply->serial != pendingSerial_) return;
  ApplyReply(reply->type, reply->bytes);
}

void CMotorTestDlg::ApplyReply(int type, const std::vector<BYTE>& bytes) {
  if (!bytes.empty()) boardStatus_ = bytes[0];
  if (ApplyTestReplyToCounters(type)) g_headStepsChanged = 1;
  ClearPending();
  lamps_->update();
}

void CMotorTestDlg::WaitPendingReply() {
  if (pendingType_ == 0 || !host_) return;
  CComRequest* request = host_->GetComRequest();
  const std::uint64_t serial = pendingSerial_;
  while (pendingType_ != 0 && pendingSerial_ == serial && !PendingExpired()) {
    if (!request || request->GetSerial() != serial) break;  // someone else uses the request now
    if (request->GetReplyLength() > 0) {
      ApplyReply(pendingType_, request->GetReply());
      return;
    }
    // The property view hands the command to the link on this thread: keep
    // its messages moving (the operator's input waits).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
    ClockRef().SleepMicros(1000);
  }
  if (pendingSerial_ == serial) ClearPending();
}

void CMotorTestDlg::SendSpeed(int frequency, double scale) {
  const std::vector<BYTE> block = BuildTestSpeedBlock(frequency, scale);
  SendTestCommand(TEST_SPEED, block.data(), static_cast<int>(block.size()));
}

void CMotorTestDlg::ApplySpeed() {
  if (IsUsb()) {
    SendSpeed(frequency_, scale_);
    return;
  }
  CPortSerialWriter writer(PortLevelByte, options_.clock);
  writer.SendPulseFrequency(0, frequency_, scale_);
}

void CMotorTestDlg::OnArrow(CPortAxisTester::Arrow arrow) {
  if (IsUsb()) {
    const BYTE command = static_cast<BYTE>(kArrowBytes[arrow]);
    SendTestCommand(kArrowTypes[arrow], &command, 1);
    return;
  }
  if (tester_.Running()) return;  // pressed again from inside a run's message pump
  const CPortAxisTester::RunResult result = tester_.RunArrow(arrow, MachineSettings.originCorner);
  g_headStepsChanged = 1;
  if (result.atOrigin) {
    const bool x = arrow == CPortAxisTester::ARROW_LEFT || arrow == CPortAxisTester::ARROW_RIGHT;
    platform::MessageBox(x ? "X in origin" : "Y in origin", "Vendrik");
  }
  lamps_->update();
}

void CMotorTestDlg::OnZ(bool first) {
  if (IsUsb()) {
    const BYTE command = first ? '5' : '6';
    SendTestCommand(first ? TEST_Z_FIRST : TEST_Z_SECOND, &command, 1);
    return;
  }
  if (tester_.Running()) return;
  tester_.RunPulses(AXIS_Z, first ? 0 : 1, kZPulses);
  g_headStepsChanged = 1;
}

void CMotorTestDlg::OnNeedle() {
  const int on = lamps_->LightTest() ? 0 : 1;
  if (IsUsb()) {
    // A dropped command leaves the lamp as it is, so it keeps telling the truth.
    const BYTE command = on ? '8' : '7';
    if (!SendTestCommand(TEST_NEEDLE, &command, 1)) return;
  } else {
    tester_.SetNeedle(on != 0);
  }
  lamps_->SetLightTest(on);
  needle_->setText(on ? QStringLiteral("Needle on") : QStringLiteral("Needle off"));
  lamps_->update();
}

void CMotorTestDlg::OnStepLine(int axis) {
  if (IsUsb()) {
    const BYTE command = static_cast<BYTE>('A' + axis);
    SendTestCommand(TEST_X_STEP_LINE + axis, &command, 1);
    return;
  }
  // Idle level first, then active, alternately.
  tester_.SetStepLine(axis, stepLine_[axis] != 0);
  stepLine_[axis] = !stepLine_[axis];
}

void CMotorTestDlg::OnFrequencyEdit() {
  if (shutDown_) return;  // the focus leaving a closed dialog changes nothing
  long long typed = 0;
  if (machine_dialogs::ParseWholeInt(frequencyEdit_->text(), typed) && FrequencyEditTaken(frequency_, typed)) {
    frequency_ = static_cast<int>(typed);
    ApplySpeed();
  }
  ShowValues();  // a refused entry shows the value in force again
}

void CMotorTestDlg::OnScaleEdit() {
  if (shutDown_) return;
  double typed = 0;
  if (machine_dialogs::ParseWholeDouble(scaleEdit_->text(), typed) && ScaleEditTaken(scale_, typed)) {
    scale_ = typed;
    ApplySpeed();
  }
  ShowValues();
}

void CMotorTestDlg::OnFrequencySpin(int delta) {
  CCritSecLock lock(&section_);
  const int next = SpinFrequency(frequency_, delta);
  if (next == frequency_) return;
  frequency_ = next;
  ShowValues();
  ApplySpeed();
}

void CMotorTestDlg::OnScaleSpin(int delta) {
  CCritSecLock lock(&section_);
  const double next = SpinScale(scale_, delta, microStep_->isChecked());
  if (!ScaleSpinTaken(scale_, next)) return;
  scale_ = next;
  ShowValues();
  ApplySpeed();
}

void CMotorTestDlg::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  if (IsUsb()) {
    // The closing command must not be dropped behind one still waiting.
    WaitPendingReply();
    const BYTE command = '9';
    SendTestCommand(TEST_CLOSE, &command, 1);
    Pause(kPauseMs);
  } else {
    tester_.SetNeedle(false);
  }
  MachineSettings.pulseFrequency = frequency_;
  MachineSettings.pulseDuty = scale_;
  ApplyCtrlPortBit0();
  if (options_.saveMachineSet) options_.saveMachineSet();
}

void CMotorTestDlg::done(int result) {
  if (tester_.Running()) {
    // Closed from inside a run's message pump: stop the run, close after it.
    tester_.Abort();
    QTimer::singleShot(0, this, [this, result] { done(result); });
    return;
  }
  Shutdown();
  QDialog::done(result);
}

QWidget* CMotorTestDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }

QPushButton* CMotorTestDlg::SpinButton(bool frequency, bool up) const { return spin_[frequency ? 0 : 1][up ? 1 : 0]; }

int CMotorTestDlg::BoardType() { return options_.boardType ? options_.boardType() : SoftType.load(); }

BYTE CMotorTestDlg::ReadInputPort() { return ::ReadInPort(); }

BYTE CMotorTestDlg::OriginLevels() { return static_cast<BYTE>(PortLevelByte.load() & 0x03); }

void CMotorTestDlg::StoreLastInput(BYTE value) { LastInputByte = value; }

void CMotorTestDlg::ZeroStepCounter(int axis) {
  if (axis < AXIS_X || axis > AXIS_Z) return;
  if (AxisStepCounters[axis].exchange(0) != 0) g_headStepsChanged = 1;
}
