#include "properties/pages/CUpdateRoateSetPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "platform/NumberText.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "values/ShellValues.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kMinDiameter = 0.1;
constexpr double kMaxDiameter = 2000;
constexpr double kMotherLineLimit = 800;
constexpr float kSpeedThreshold = 0.001f;
constexpr float kEliminateLimit = 20;

std::function<void()>& Saver() {
  static std::function<void()> saver;
  return saver;
}
}  // namespace

void CUpdateRoateSetPage::SetMachineSetSaver(std::function<void()> saver) { Saver() = std::move(saver); }

CUpdateRoateSetPage::CUpdateRoateSetPage()
    : CPropertyPage(kDialogId, "Rotate setting", kPageCode, WM_UPDATE_ROATESET) {
  PageControls controls(this);
  QCheckBox* mark = controls.Check("Rotate mark", kRotateMark);
  QGroupBox* style = controls.Group("rotate style");
  PageControls styleControls(style);
  QRadioButton* three = styleControls.Radio("Three arix rotate mode", kThreeAxis);
  QRadioButton* two = styleControls.Radio("Two arix rotate mode", kTwoAxis);
  CSpinButton* spin = nullptr;
  CNotifyEdit* diameterEdit = controls.Edit("Object diameter", kDiameter, &spin, kDiameterSpin);
  QGroupBox* axis = controls.Group("Rotate arix");
  PageControls axisControls(axis);
  QRadioButton* yForZ = axisControls.Radio("Y is subtitue to Z", kYForZ);
  QRadioButton* xForZ = axisControls.Radio("X is subtitue to Z", kXForZ);
  QCheckBox* backZBox = controls.Check("Back z to origin", kBackZ);
  QCheckBox* noSeek = controls.Check("Y/X No seek origin", kNoSeekOrigin);
  noSeek->setEnabled(false);
  QCheckBox* forLine = controls.Check("Rotate for line", kRotateForLine);
  CNotifyEdit* motherEdit = controls.Edit("Mother line pos", kMotherLine);
  QPushButton* test = controls.Button("Test mother line...", kTestMotherLine);
  controls.Text("Note: Press the test mother line button,and fill the value in the mother line edit control");
  CNotifyEdit* speedEdit = controls.Edit("Rotate speed", kRotateSpeed);
  controls.Text("(1-120 rpm/min)");
  QCheckBox* apply = controls.Check("Apply rotate speed", kApplySpeed);
  QCheckBox* eliminateBox = controls.Check("eliminate un-dir space", kEliminate);
  CNotifyEdit* eliminateEdit = controls.Edit("", kEliminateValue);
  controls.Stretch();

  bindings_.Check(kRotateMark, mark, &rotateMark);
  bindings_.Radio(kThreeAxis, {three, two}, &rotateStyle);
  bindings_.Edit(kDiameter, diameterEdit, &diameter).floatDigits = true;
  bindings_.Radio(kYForZ, {yForZ, xForZ}, &rotateAxis);
  bindings_.Check(kBackZ, backZBox, &backZ);
  bindings_.Check(kNoSeekOrigin, noSeek, &noSeekOrigin);
  bindings_.Check(kRotateForLine, forLine, &rotateForLine);
  bindings_.Edit(kMotherLine, motherEdit, &motherLine).floatDigits = true;
  bindings_.Edit(kRotateSpeed, speedEdit, &rotateSpeed);
  bindings_.Check(kApplySpeed, apply, &applySpeed);
  bindings_.Check(kEliminate, eliminateBox, &eliminate);
  bindings_.Edit(kEliminateValue, eliminateEdit, &eliminateValue);

  connect(mark, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    EnableByRotateMark();
    PostChange(kRotateMark);
  });
  for (auto [button, id] : {std::pair<QAbstractButton*, int>{three, kThreeAxis}, {two, kTwoAxis}, {yForZ, kYForZ},
                            {xForZ, kXForZ}, {backZBox, kBackZ}, {noSeek, kNoSeekOrigin}, {test, kTestMotherLine},
                            {apply, kApplySpeed}})
    connect(button, &QAbstractButton::clicked, this, [this, id = id] { OnClick(id); });
  connect(forLine, &QCheckBox::clicked, this, [this] {
    OnClick(kRotateForLine);
    EnableMotherLine();
  });
  diameterEdit->SetKeyHandler([this](int) { OnBoundedKey(diameter, kMinDiameter, kMaxDiameter, kDiameter); });
  motherEdit->SetKeyHandler(
      [this](int) { OnBoundedKey(motherLine, -kMotherLineLimit, kMotherLineLimit, kMotherLine); });
  speedEdit->SetKeyHandler([this](int) { OnSpeedKey(); });
  spin->SetDeltaHandler([this](int d) { OnDiameterSpin(d); });
  connect(eliminateBox, &QCheckBox::clicked, this, [this] { OnEliminateClick(); });
  connect(eliminateEdit, &QLineEdit::textEdited, this, [this] { OnEliminateValueChange(); });
  FinishControls();
}

void CUpdateRoateSetPage::Enable(int id, bool on) {
  for (const char* kind : {"edit", "check", "radio", "button"})
    if (auto* w = findChild<QWidget*>(QString("%1%2").arg(kind).arg(id))) w->setEnabled(on);
  if (id == kDiameter)
    if (auto* s = findChild<QWidget*>(QString("spin%1").arg(kDiameterSpin))) s->setEnabled(on);
}

void CUpdateRoateSetPage::LoadFromObject(CObjElement& element) {
  auto* prop = element.GetObjectAs<CDrawProperity>();
  if (prop == nullptr) return;
  rotateMark = prop->IsRotateMark();
  rotateStyle = prop->IsThreeAxisRotate() ? 0 : 1;
  rotateAxis = prop->IsYReplacesZ() ? 0 : 1;
  backZ = prop->IsBackZToOrigin();
  noSeekOrigin = prop->IsNoSeekOriginXY();
  rotateForLine = prop->IsRotateForLine();
  diameter = prop->GetWorkDiameter();
  motherLine = prop->GetMachineDouble1();
  rotateSpeed = prop->GetAuxSpeed();
  applySpeed = prop->GetAuxSpeedSwitch();
  eliminate = g_machineSet.eliminateSpaceSwitch;
  if (!(std::fabs(g_machineSet.eliminateSpaceValue) <= kEliminateLimit))
    g_machineSet.eliminateSpaceValue = g_machineSet.eliminateSpaceValue > 0 ? kEliminateLimit : -kEliminateLimit;
  eliminateValue = g_machineSet.eliminateSpaceValue;
}

void CUpdateRoateSetPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  const bool on = rotateMark != 0;
  for (int id : {kThreeAxis, kTwoAxis, kYForZ, kXForZ, kDiameter, kBackZ, kRotateForLine}) Enable(id, on);
  EnableMotherLine();
}

void CUpdateRoateSetPage::EnableByRotateMark() {
  const bool on = rotateMark != 0;
  for (int id : {kThreeAxis, kTwoAxis, kYForZ, kXForZ, kDiameter, kMotherLine, kRotateForLine, kApplySpeed,
                 kRotateSpeed, kBackZ, kNoSeekOrigin})
    Enable(id, on);
}

void CUpdateRoateSetPage::EnableMotherLine() { Enable(kMotherLine, rotateForLine != 0 && rotateMark != 0); }

void CUpdateRoateSetPage::OnClick(int id) {
  UpdateData(true);
  PostChange(id);
}

void CUpdateRoateSetPage::OnBoundedKey(double& value, double lo, double hi, int id) {
  const double before = value;
  UpdateData(true);
  if (value < lo || value > hi) {
    value = before;
    bindings_.LoadOne(id);
  }
  if (value != before) PostChange(id);
}

void CUpdateRoateSetPage::OnSpeedKey() {
  const float before = rotateSpeed;
  UpdateData(true);
  if (std::fabs(rotateSpeed - before) >= kSpeedThreshold) PostChange(kRotateSpeed);
}

void CUpdateRoateSetPage::OnDiameterSpin(int delta) {
  if (delta < 0) {
    diameter = diameter >= kMaxDiameter ? kMaxDiameter : diameter + 5;
  } else {
    diameter = diameter > 6 ? diameter - 5 : 1.0;
  }
  UpdateData(false);
  PostChange(kDiameter);
}

void CUpdateRoateSetPage::OnEliminateClick() {
  UpdateData(true);
  g_machineSet.eliminateSpaceSwitch = eliminate;
  if (Saver()) Saver()();
}

void CUpdateRoateSetPage::OnEliminateValueChange() {
  // Read while typing: a half-typed number ("-", "") is left for later.
  bool ok = false;
  auto* edit = findChild<QLineEdit*>(QString("edit%1").arg(kEliminateValue));
  const std::string text = edit->text().trimmed().toStdString();
  const double typed = text.empty() ? 0 : platform::ParseDoubleC(text, &ok);
  if (!ok || !std::isfinite(typed)) return;
  if (std::fabs(typed) > kEliminateLimit) {
    eliminateValue = 0;
    g_machineSet.eliminateSpaceValue = 0;
    bindings_.LoadOne(kEliminateValue);
    return;
  }
  eliminateValue = static_cast<float>(typed);
  g_machineSet.eliminateSpaceValue = eliminateValue;
  if (Saver()) Saver()();
}
