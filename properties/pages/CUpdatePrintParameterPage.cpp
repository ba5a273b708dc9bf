#include "properties/pages/CUpdatePrintParameterPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/ControllerState.h"
#include "platform/NumberText.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr const char* kStepsCode = "tervadin";
constexpr const char* kRotaryCodes[] = {"quenmart", "vessolin"};
constexpr int kStepIds[] = {CUpdatePrintParameterPage::kStepX, CUpdatePrintParameterPage::kStepY};
constexpr int kRotaryIds[] = {CUpdatePrintParameterPage::kCorrection, CUpdatePrintParameterPage::kTransConst,
                              CUpdatePrintParameterPage::kFractionize, CUpdatePrintParameterPage::kMotorDiameter,
                              CUpdatePrintParameterPage::kStepAngle};
constexpr double kSpeedThreshold = 0.00001;
constexpr double kSpeedStep = 2;
constexpr double kTypedPi1000 = 3141.59265;

// The number an edit holds while it is being typed; false while it is not
// one yet ("-", "", "1e"): nothing is reported until the edit is finished.
bool TypedNumber(const QLineEdit* edit, double& out) {
  bool ok = false;
  const std::string text = edit->text().trimmed().toStdString();
  if (text.empty()) return false;
  out = platform::ParseDoubleC(text, &ok);
  return ok && std::isfinite(out);
}

}  // namespace

CUpdatePrintParameterPage::CUpdatePrintParameterPage()
    : CPropertyPage(kDialogId, "Mark parameter", kPageCode, WM_UPDATE_PRINTPARAMETER) {
  PageControls controls(this);
  struct SpeedRow {
    const char* label;
    int id;
    int spinId;
    int gaugeId;
    int top;
    double* member;
  };
  const SpeedRow speeds[] = {{"reset speed:", kResetSpeed, kResetSpin, kResetGauge, 120, &resetSpeed},
                             {"Up low speed:", kPenUpSpeed, kPenUpSpin, kPenUpGauge, 60, &penUpSpeed},
                             {"Up-speed high", kPenUpHighSpeed, kPenUpHighSpin, kPenUpHighGauge, 120, &penUpHighSpeed},
                             {"Line speed:", kLineSpeed, kLineSpin, kLineGauge, 120, &lineSpeed}};
  int gauge = 0;
  for (const SpeedRow& row : speeds) {
    CSpinButton* spin = nullptr;
    CNotifyEdit* edit = controls.Edit(row.label, row.id, &spin, row.spinId);
    // The machine settings keep the second pen-up speed as a double, the others as floats.
    bindings_.Edit(row.id, edit, row.member).floatDigits = row.id != kPenUpHighSpeed;
    auto* bar = new QProgressBar(this);
    bar->setObjectName(QString("progress%1").arg(row.gaugeId));
    bar->setRange(0, row.top);
    controls.Place(bar);
    gauges_[gauge++] = bar;
    double* member = row.member;
    const int id = row.id;
    const double top = row.top;
    edit->SetKeyHandler([this, member, id](int) { OnSpeedKey(*member, id); });
    spin->SetDeltaHandler([this, member, top, id](int d) { OnSpeedSpin(*member, top, d, id); });
  }
  speedCombo_ = controls.Combo("Speed", kSpeedLevel, {"High speed level", "Middle speed level", "Low speed level"});
  bindings_.ComboIndex(kSpeedLevel, speedCombo_, &speedLevel);
  connect(speedCombo_, &QComboBox::activated, this, [this] { OnSpeedLevel(); });

  struct IntRow {
    const char* label;
    int id;
  };
  const IntRow ints[] = {{"Trapezoid puls:", kAcceleration}, {"Start delay:", kStartDelay},
                         {"Gas(on) delay:", kGasOnDelay},     {"Gas(off)delay", kGasOffDelay},
                         {"Pre gas time:", kPreGas},          {"delay pre:", kDelayPre},
                         {"dot delay:", kDotDelay},           {"delay last:", kDelayLast},
                         {"Off stable delay:", kOffStableDelay}};
  for (const IntRow& row : ints) {
    CNotifyEdit* edit = controls.Edit(row.label, row.id);
    switch (row.id) {
      case kAcceleration: bindings_.Edit(row.id, edit, &acceleration); break;
      case kStartDelay: bindings_.Edit(row.id, edit, &startDelay); break;
      case kGasOnDelay: bindings_.Edit(row.id, edit, &gasOnDelay); break;
      case kGasOffDelay: bindings_.Edit(row.id, edit, &gasOffDelay); break;
      case kPreGas: bindings_.Edit(row.id, edit, &preGas); break;
      case kDelayPre: bindings_.Edit(row.id, edit, &delayPre); break;
      case kDotDelay: bindings_.Edit(row.id, edit, &dotDelay); break;
      case kDelayLast: bindings_.Edit(row.id, edit, &delayLast); break;
      default: bindings_.Edit(row.id, edit, &offStableDelay); break;
    }
    const int id = row.id;
    edit->SetKeyHandler([this, id](int) { OnIntKey(id); });
  }
  // A plain edit: it reports only its text changes.
  CNotifyEdit* onStable = controls.Edit("On stable delay:", kOnStableDelay);
  bindings_.Edit(kOnStableDelay, onStable, &onStableDelay);
  connect(onStable, &QLineEdit::textEdited, this, [this] { OnStableDelayChange(); });

  QGroupBox* locked = controls.Group("Protected parameter");
  PageControls lockedControls(locked);
  CNotifyEdit* stepXEdit = lockedControls.Edit("Step len(x)", kStepX);
  CNotifyEdit* stepYEdit = lockedControls.Edit("Step len(y)", kStepY);
  bindings_.Edit(kStepX, stepXEdit, &stepX).floatDigits = true;
  bindings_.Edit(kStepY, stepYEdit, &stepY);
  stepXEdit->SetKeyHandler([this](int) { OnStepKey(stepX, kStepX); });
  stepYEdit->SetKeyHandler([this](int) { OnStepKey(stepY, kStepY); });
  CNotifyEdit* passwordEdit = lockedControls.Edit("Password:", kPassword);
  passwordEdit->setEchoMode(QLineEdit::Password);
  bindings_.Edit(kPassword, passwordEdit, &password).maxChars = 8;
  connect(passwordEdit, &QLineEdit::textChanged, this, [this] { OnPasswordUpdate(); });
  protect_ = lockedControls.Button("Protected parameter", kProtect);
  connect(protect_, &QPushButton::clicked, this, [this] { OnProtect(); });
  CNotifyEdit* zEdit = lockedControls.Edit("Const value(Z arix)", kZConst);
  zEdit->setEnabled(false);
  bindings_.Edit(kZConst, zEdit, &zConst);
  struct RotaryRow {
    const char* label;
    int id;
    double* member;
  };
  const RotaryRow rotary[] = {{"Addition Error", kCorrection, &correction},
                              {"Big motor ...", kTransConst, &transConst},
                              {"Step angle", kStepAngle, &stepAngle},
                              {"Z(arix) diameter", kMotorDiameter, &motorDiameter}};
  for (const RotaryRow& row : rotary) {
    CNotifyEdit* edit = lockedControls.Edit(row.label, row.id);
    // The correction is a double in the machine settings, the others floats.
    bindings_.Edit(row.id, edit, row.member).floatDigits = row.id != kCorrection;
    double* member = row.member;
    const int id = row.id;
    edit->SetKeyHandler([this, member, id](int) { OnRotaryKey(*member, id); });
    connect(edit, &QLineEdit::textEdited, this, [this, id] { OnRotaryChange(id); });
  }
  fractionize_ = lockedControls.Combo("Fractionize", kFractionize, {});
  bindings_.ComboIndex(kFractionize, fractionize_, &microstep);
  connect(fractionize_, &QComboBox::activated, this, [this] { OnFractionize(); });
  lockedControls.Button("!Note", kNote);
  controls.Stretch();

  ApplyAccess(kLocked);
  FinishControls();
}

QLineEdit* CUpdatePrintParameterPage::Edit(int id) const { return findChild<QLineEdit*>(QString("edit%1").arg(id)); }

int CUpdatePrintParameterPage::Divisor(int exponent) {
  if (exponent < 0 || exponent > 10) return 64;
  return 1 << exponent;
}

double CUpdatePrintParameterPage::ZConstant(int exponent, double trans, double diameter, double angle,
                                            double corr, double pi1000) {
  return Divisor(exponent) * trans * 360 / (diameter * angle * pi1000) + corr;
}

void CUpdatePrintParameterPage::LoadFromObject(CObjElement& element) {
  auto* prop = element.GetObjectAs<CDrawProperity>();
  if (prop == nullptr) return;
  resetSpeed = prop->GetResetSpeed();
  penUpSpeed = prop->GetPenUpSpeed();
  penUpHighSpeed = prop->GetPenUpSpeed2();
  lineSpeed = prop->GetPenDownSpeed();
  acceleration = prop->GetAcceleration();
  preGas = prop->GetLaserValue();
  startDelay = static_cast<unsigned>(prop->GetStartDelay());
  gasOnDelay = static_cast<unsigned>(prop->GetNormalDelay());
  gasOffDelay = static_cast<unsigned>(prop->GetStrokeEndDelay());
  dotDelay = static_cast<unsigned>(prop->GetDotTime());
  delayPre = prop->GetNeedleDelayBefore();
  delayLast = prop->GetNeedleDelayAfter();
  offStableDelay = prop->GetObjectEndDelay();
  stepX = prop->GetStepLengthX();
  stepY = prop->GetStepLengthY();
  RoundDouble3(stepX);
  RoundDouble3(stepY);
  correction = prop->GetTransmissionCorrection();
  transConst = prop->GetTransmissionConstant();
  motorDiameter = prop->GetMotorDiameter();
  stepAngle = prop->GetStepAngle();
  microstep = prop->GetMicrostepExponent();
  speedLevel = prop->GetMachineType();
  ComputeRotaryReadouts();
}

void CUpdatePrintParameterPage::OnInitDialog() {
  ApplyAccess(kLocked);
  if (fractionize_->count() == 0) {
    fractionize_->addItems({"1  subdivision", "2  subdivision", "4  subdivision", "8  subdivision", "16 subdivision",
                            "32 subdivision", "64 subdivision", "128subdivision", "256subdivision", "512subdivision",
                            "1024subdivision"});
  }
  int stored = 0;
  if (!ReadRegDword("StartMarkDelay", stored)) stored = 0;
  StartMarkDelay = stored;
  onStableDelay = static_cast<unsigned>(stored);
  speedCombo_->setCurrentIndex(speedLevel);
  speedText = speedCombo_->currentText().toStdString();
  ComputeRotaryReadouts();
  UpdateData(false);
}

void CUpdatePrintParameterPage::ComputeRotaryReadouts() {
  divisor = Divisor(microstep);
  zConst = ZConstant(microstep, transConst, motorDiameter, stepAngle, correction);
  SetGauges();
}

void CUpdatePrintParameterPage::SetGauges() {
  const double speeds[] = {resetSpeed, penUpSpeed, penUpHighSpeed, lineSpeed};
  for (int i = 0; i < 4; ++i) {
    const double clamped = std::clamp(speeds[i], 0.0, static_cast<double>(gauges_[i]->maximum()));
    gauges_[i]->setValue(static_cast<int>(clamped));
  }
}

void CUpdatePrintParameterPage::ApplyAccess(int newMode) {
  // Every protected field follows the mode as a whole: a group left open by
  // an earlier code is closed whatever was unlocked before.
  mode = newMode;
  for (int id : kStepIds) Edit(id)->setEnabled(mode == kStepsOpen);
  for (int id : kRotaryIds) {
    QWidget* field = id == kFractionize ? static_cast<QWidget*>(fractionize_) : Edit(id);
    field->setEnabled(mode == kRotaryOpen);
  }
  protect_->setEnabled(mode != kLocked);
}

void CUpdatePrintParameterPage::OnPasswordUpdate() {
  // Only the code itself is read: the other fields may be half typed.
  const std::string text = Edit(kPassword)->text().toStdString();
  password = text;
  const bool rotary = text == kRotaryCodes[0] || text == kRotaryCodes[1];
  if (rotary && mode != kRotaryOpen) {
    ApplyAccess(kRotaryOpen);
  } else if (!rotary && text == kStepsCode && mode != kStepsOpen) {
    ApplyAccess(kStepsOpen);
  }
}

void CUpdatePrintParameterPage::OnProtect() { ApplyAccess(kLocked); }

bool CUpdatePrintParameterPage::TakesLockedField(int group, int id) {
  if (mode == group) return true;
  // A report of a locked field stores nothing: the field shows the stored value again.
  bindings_.LoadOne(id);
  return false;
}

void CUpdatePrintParameterPage::OnIntKey(int id) {
  const PropValue before = ValueOf(id);
  UpdateData(true);
  if (ValueOf(id) != before) PostChange(id);
}

void CUpdatePrintParameterPage::OnSpeedKey(double& value, int id) {
  const double before = value;
  UpdateData(true);
  if (value < 1) {
    value = 1.0;
    bindings_.LoadOne(id);
  }
  if (std::fabs(value - before) > kSpeedThreshold) PostChange(id);
  SetGauges();
}

void CUpdatePrintParameterPage::OnStepKey(double& value, int id) {
  if (!TakesLockedField(kStepsOpen, id)) return;
  const double before = value;
  UpdateData(true);
  if (value < 0) {
    value = 4.0;
    bindings_.LoadOne(id);
  }
  if (value != before) PostChange(id);
}

void CUpdatePrintParameterPage::OnRotaryKey(double& value, int id) {
  if (!TakesLockedField(kRotaryOpen, id)) return;
  const double before = value;
  UpdateData(true);
  if (value != before) PostChange(id);
}

void CUpdatePrintParameterPage::OnRotaryChange(int id) {
  if (mode != kRotaryOpen) return;
  double typed = 0;
  if (!TypedNumber(Edit(id), typed)) return;
  double* member = id == kTransConst ? &transConst
                   : id == kCorrection ? &correction
                   : id == kMotorDiameter ? &motorDiameter
                                          : &stepAngle;
  const bool changed = typed != *member;
  const bool positiveOnly = id == kMotorDiameter || id == kStepAngle;
  if (changed && (!positiveOnly || typed > 0)) {
    *member = typed;
    zConst = ZConstant(microstep, transConst, motorDiameter, stepAngle, correction, kTypedPi1000);
    bindings_.LoadOne(kZConst);
  }
  bool post = false;
  switch (id) {
    case kTransConst: post = typed >= 5 && typed < 500; break;
    case kCorrection: post = typed >= 0 && typed < 10; break;
    case kMotorDiameter: post = typed > 5 && typed < 100; break;
    default:
      post = typed > 0.5 && typed < 18;
      // The post carries the standard angle; Enter later posts the typed one.
      if (post) stepAngle = 1.8;
      break;
  }
  if (post) PostChange(id);
}

void CUpdatePrintParameterPage::OnFractionize() {
  if (!TakesLockedField(kRotaryOpen, kFractionize)) return;
  microstep = fractionize_->currentIndex();
  divisor = Divisor(microstep);
  zConst = ZConstant(microstep, transConst, motorDiameter, stepAngle, correction, kTypedPi1000);
  bindings_.LoadOne(kZConst);
  PostChange(kFractionize);
}

void CUpdatePrintParameterPage::OnSpeedSpin(double& value, double top, int delta, int id) {
  if (delta < 0) {
    value = value >= top - kSpeedStep ? top : value + kSpeedStep;
  } else {
    value = value > 1 + kSpeedStep ? value - kSpeedStep : 1.0;
  }
  bindings_.LoadOne(id);
  PostChange(id);
  SetGauges();
}

void CUpdatePrintParameterPage::OnSpeedLevel() {
  speedLevel = speedCombo_->currentIndex();
  speedText = speedCombo_->currentText().toStdString();
  PostChange(kSpeedLevel);
}

void CUpdatePrintParameterPage::OnStableDelayChange() {
  double typed = 0;
  if (!TypedNumber(Edit(kOnStableDelay), typed) || typed < 0 || typed != std::floor(typed)) return;
  if (typed > kMaxStartMarkDelay) return;
  onStableDelay = static_cast<unsigned>(typed);
  StartMarkDelay = static_cast<int>(onStableDelay);
  WriteRegDword("StartMarkDelay", static_cast<int>(onStableDelay));
}
