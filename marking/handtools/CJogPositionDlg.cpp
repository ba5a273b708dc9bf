#include "marking/handtools/CJogPositionDlg.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/geometry/SharedHelpers.h"
#include "marking/dialogs/DialogControls.h"
#include "marking/handtools/JogRequest.h"
#include "platform/Clock.h"
#include "values/ShellValues.h"

using machine_dialogs::Named;

namespace {

int PositionControlId(int index) {
  if (index == 0) return CJogPositionDlg::IDC_POSITION_FIRST;
  if (index == CJogPositionDlg::kPositionCount - 1) return CJogPositionDlg::IDC_NO_EFFECT;
  return CJogPositionDlg::IDC_POSITION_FIRST + 1 + index;  // 1093..1100
}

}  // namespace

CJogPositionDlg::CJogPositionDlg(platform::MessageTarget* view, QWidget* parent)
    : CJogPositionDlg(view, parent, Options{}) {}

CJogPositionDlg::CJogPositionDlg(platform::MessageTarget* view, QWidget* parent, Options options)
    : QDialog(parent), view_(view), options_(std::move(options)) {
  setWindowTitle(QStringLiteral("rand position"));
  setModal(false);
  int left = 0;
  int top = 0;
  const bool haveLeft = ReadRegDword("PointRcLeft", left) != 0;
  const bool haveTop = ReadRegDword("PointRcTop", top) != 0;
  positionKnown_ = haveLeft && haveTop;
  position_ = QPoint(left, top);
  BuildControls();
}

CJogPositionDlg::~CJogPositionDlg() {
  stop_.Set();
  JoinWaiter();
}

void CJogPositionDlg::JoinWaiter() {
  if (waiter_.joinable()) waiter_.join();
}

void CJogPositionDlg::BuildControls() {
  auto* grid = new QGridLayout;
  positions_ = new QButtonGroup(this);
  for (int i = 0; i < kPositionCount - 1; ++i) {
    auto* radio = Named(new QRadioButton(this), "positionRadio", PositionControlId(i));
    positions_->addButton(radio, i);
    grid->addWidget(radio, i / 3, i % 3);
  }
  auto* noEffect = Named(new QRadioButton(QStringLiteral("No effect"), this), "noEffectRadio", IDC_NO_EFFECT);
  positions_->addButton(noEffect, kPositionCount - 1);
  grid->addWidget(noEffect, 3, 0, 1, 3);

  auto* stepBox = new QGroupBox(QStringLiteral("Step"), this);
  auto* stepLayout = new QVBoxLayout(stepBox);
  steps_ = new QButtonGroup(this);
  const char* stepTexts[kStepCount] = {"10mm", "5mm", "1mm", "0.5mm", "0.1mm"};
  for (int i = 0; i < kStepCount; ++i) {
    auto* radio = Named(new QRadioButton(QString::fromLatin1(stepTexts[i]), stepBox), "stepRadio", IDC_STEP_FIRST + i);
    steps_->addButton(radio, i);
    stepLayout->addWidget(radio);
  }

  auto button = [this](const char* text, const char* name, int id, int code) {
    auto* b = Named(new QPushButton(QString::fromLatin1(text), this), name, id);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, code] { PostJog(code); });
    return b;
  };
  auto* arrows = new QGridLayout;
  arrows->addWidget(button("Y+", "yPlusButton", IDC_Y_PLUS, JOG_Y_PLUS), 0, 1);
  arrows->addWidget(button("X-", "xMinusButton", IDC_X_MINUS, JOG_X_MINUS), 1, 0);
  arrows->addWidget(button("1/0", "toggleButton", IDC_TOGGLE, JOG_TOGGLE), 1, 1);
  arrows->addWidget(button("X+", "xPlusButton", IDC_X_PLUS, JOG_X_PLUS), 1, 2);
  arrows->addWidget(button("Y-", "yMinusButton", IDC_Y_MINUS, JOG_Y_MINUS), 2, 1);

  auto* close = Named(new QPushButton(QStringLiteral("Close"), this), "closeButton", IDC_CLOSE);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, [this] { EndJog(0); });

  auto* row = new QHBoxLayout;
  row->addLayout(grid);
  row->addWidget(stepBox);
  row->addLayout(arrows);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(close, 0, Qt::AlignRight);
}

bool CJogPositionDlg::Create() {
  closed_ = 0;
  OnInitDialog();
  if (positionKnown_) move(position_);
  show();
  return true;
}

void CJogPositionDlg::OnInitDialog() {
  // The stored choices of the last opening (out-of-range bytes read as the first).
  m_positionIndex = MachineSettings.jogPositionIndex < kPositionCount ? MachineSettings.jogPositionIndex : 0;
  m_stepIndex = MachineSettings.jogStepIndex < kStepCount ? MachineSettings.jogStepIndex : 0;
  UpdateData(false);
}

void CJogPositionDlg::UpdateData(bool save) {
  if (save) {
    if (positions_->checkedId() >= 0) m_positionIndex = positions_->checkedId();
    if (steps_->checkedId() >= 0) m_stepIndex = steps_->checkedId();
    return;
  }
  machine_dialogs::CheckButton(positions_, m_positionIndex);
  machine_dialogs::CheckButton(steps_, m_stepIndex);
}

void CJogPositionDlg::SaveSelection() {
  UpdateData(true);
  MachineSettings.jogPositionIndex = static_cast<std::uint8_t>(std::clamp(m_positionIndex, 0, kPositionCount - 1));
  MachineSettings.jogStepIndex = static_cast<std::uint8_t>(std::clamp(m_stepIndex, 0, kStepCount - 1));
}

void CJogPositionDlg::PostJog(int code) {
  if (ready_.load() == 0) return;  // the view has not finished the last request
  SaveSelection();
  if (!event_) event_ = std::make_shared<platform::Event>(false, false);
  // The last waiter set the ready flag as its final step: it is ending.
  JoinWaiter();
  requestCode_ = code;
  ready_ = 0;
  event_->Reset();
  platform::Clock& clock = options_.clock ? *options_.clock : platform::CurrentClock();
  const std::int64_t deadline = clock.NowMicros() + std::chrono::microseconds(options_.waitBound).count();
  waiter_ = std::thread([this, event = event_, &clock, deadline] {
    platform::WaitForEitherUntil(*event, stop_, clock, deadline);
    ready_ = 1;
  });
  if (view_) view_->PostMessage(WM_JOG_REQUEST, static_cast<WPARAM>(code), 0,
                                std::make_shared<JogRequest>(JogRequest{code, event_}));
}

void CJogPositionDlg::EndJog(int keep) {
  if (keep == 0) PostJog(JOG_CLOSING);
  UpdateData(true);
  closed_ = 1;
  position_ = pos();
  positionKnown_ = true;
  hide();
  WriteRegDword("PointRcLeft", position_.x());
  WriteRegDword("PointRcTop", position_.y());
  SaveSelection();
  if (options_.saveMachineSet) options_.saveMachineSet();
}

void CJogPositionDlg::closeEvent(QCloseEvent* event) {
  if (!closed_ && isVisible()) EndJog(1);
  event->accept();
}

void CJogPositionDlg::reject() {
  if (!closed_ && isVisible()) EndJog(1);
}

QWidget* CJogPositionDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
