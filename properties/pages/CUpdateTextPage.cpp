#include "properties/pages/CUpdateTextPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "text/objects/CObjText.h"
#include "values/AnchorNames.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kArcRadiusMin = 0.1;
constexpr double kPositionStep = 5;
constexpr double kRadiusStep = 2;
constexpr double kAngleStep = 5;
constexpr double kFullTurn = 360;
}  // namespace

void AnchorLabelsFor(double radius, std::string& xLabel, std::string& yLabel) {
  const bool centre = std::fabs(radius) >= kArcRadiusMin;
  xLabel = centre ? "Center(x):" : "Left top(x):";
  yLabel = centre ? "Center(y):" : "Left top(y):";
}

bool StepArcAngle(float& angle, int delta) {
  const float before = angle;
  if (delta < 0) {
    if (angle < kFullTurn) angle += static_cast<float>(kAngleStep);
    if (angle > kFullTurn) angle = static_cast<float>(kFullTurn);
  } else if (angle >= kAngleStep) {
    angle -= static_cast<float>(kAngleStep);
  }
  if (angle < 0) angle = 0;
  return angle != before;
}

CUpdateTextPage::CUpdateTextPage() : CPropertyPage(kDialogId, "Text", kPageCode, WM_UPDATE_TEXT) {
  PageControls controls(this);
  CNotifyEdit* textEdit = controls.Edit("Text string:", kText);
  CSpinButton* xSpin = nullptr;
  CSpinButton* ySpin = nullptr;
  CSpinButton* radiusSpin = nullptr;
  CSpinButton* offsetSpin = nullptr;
  CSpinButton* arcSpin = nullptr;
  CNotifyEdit* xEdit = controls.Edit("Left top(x):", kX, &xSpin, kXSpin);
  CNotifyEdit* yEdit = controls.Edit("Left top(y):", kY, &ySpin, kYSpin);
  xLabel_ = findChild<QLabel*>(QString("label%1").arg(kX));
  yLabel_ = findChild<QLabel*>(QString("label%1").arg(kY));
  xLabel_->setObjectName(QString("label%1").arg(kXLabel));
  yLabel_->setObjectName(QString("label%1").arg(kYLabel));
  CNotifyEdit* radiusEdit = controls.Edit("Align radius:", kRadius, &radiusSpin, kRadiusSpin);
  controls.Text("radius<0 rotate 180");
  CNotifyEdit* offsetEdit = controls.Edit("Offset angle:", kOffsetAngle, &offsetSpin, kOffsetSpin);
  CNotifyEdit* arcEdit = controls.Edit("Arc angle:", kArcAngle, &arcSpin, kArcSpin);
  controls.Text("angle=0 auto");
  QStringList anchors;
  for (const char* name : kAnchorNames) anchors << name;
  fixCombo_ = controls.Combo("Fix position:", kFixPosition, anchors);
  QCheckBox* arcBox = controls.Check("Fixed arc length", kFixedArcLength);
  arcBox->hide();
  controls.Text("[Uint:mm]");
  controls.Stretch();

  bindings_.Edit(kText, textEdit, &text);
  bindings_.Edit(kX, xEdit, &x);
  bindings_.Edit(kY, yEdit, &y);
  bindings_.Edit(kRadius, radiusEdit, &radius);
  bindings_.Edit(kOffsetAngle, offsetEdit, &offsetAngle);
  bindings_.Edit(kArcAngle, arcEdit, &arcAngle);
  bindings_.ComboIndex(kFixPosition, fixCombo_, &fixIndex);
  bindings_.ComboText(kFixPosition, fixCombo_, &fixText);
  bindings_.Check(kFixedArcLength, arcBox, &fixedArcLength);

  for (auto [edit, id] : {std::pair{textEdit, kText}, {xEdit, kX}, {yEdit, kY}, {radiusEdit, kRadius},
                          {offsetEdit, kOffsetAngle}, {arcEdit, kArcAngle}})
    edit->SetKeyHandler([this, id = id](int) { OnKey(id); });
  xSpin->SetDeltaHandler([this](int d) { OnPositionSpin(x, d, kX); });
  ySpin->SetDeltaHandler([this](int d) { OnPositionSpin(y, d, kY); });
  radiusSpin->SetDeltaHandler([this](int d) { OnRadiusSpin(d); });
  offsetSpin->SetDeltaHandler([this](int d) { OnOffsetSpin(d); });
  arcSpin->SetDeltaHandler([this](int d) { OnArcSpin(d); });
  connect(fixCombo_, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kFixPosition); });
  connect(arcBox, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    PostChange(kFixedArcLength);
  });
  FinishControls();
}

void CUpdateTextPage::LoadFromObject(CObjElement& element) {
  auto* object = element.GetObjectAs<CObjText>();
  if (object == nullptr) return;
  const TextSettings& s = object->Settings();
  text = object->GetText();
  x = s.position.x;
  y = s.position.y;
  radius = s.arcRadius;
  offsetAngle = s.deflection;
  arcAngle = s.arcSize;
  fixIndex = s.fixedCorner >= 0 && s.fixedCorner < static_cast<int>(kAnchorNames.size()) ? s.fixedCorner : 0;
  fixText = kAnchorNames[static_cast<std::size_t>(fixIndex)];
  fixedArcLength = s.arcArrangement;
  SetAnchorLabels();
}

void CUpdateTextPage::PrepareValue(int id) {
  // The list's selection is read when the sheet takes the change.
  if (id == kFixPosition) UpdateData(true);
}

void CUpdateTextPage::OnInitDialog() {
  SetAnchorLabels();
  UpdateData(false);
}

void CUpdateTextPage::SetAnchorLabels() {
  AnchorLabelsFor(radius, xLabel, yLabel);
  xLabel_->setText(QString::fromStdString(xLabel));
  yLabel_->setText(QString::fromStdString(yLabel));
}

void CUpdateTextPage::OnKey(int id) {
  const std::string oldText = text;
  const double oldX = x, oldY = y, oldRadius = radius, oldOffset = offsetAngle;
  const float oldArc = arcAngle;
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kText: post = text != oldText; break;
    case kX: post = std::fabs(x - oldX) >= 0.00001; break;
    case kY: post = std::fabs(y - oldY) >= 0.00001; break;
    case kRadius:
      post = std::fabs(radius - oldRadius) >= 0.00001;
      if (post) SetAnchorLabels();
      break;
    case kOffsetAngle: post = std::fabs(offsetAngle - oldOffset) >= 0.0001; break;
    case kArcAngle: post = std::fabs(arcAngle - oldArc) >= 0.0001f; break;
    default: break;
  }
  UpdateData(false);
  if (post) PostChange(id);
}

void CUpdateTextPage::OnPositionSpin(double& value, int delta, int id) {
  value += delta < 0 ? kPositionStep : -kPositionStep;
  UpdateData(false);
  PostChange(id);
}

void CUpdateTextPage::OnRadiusSpin(int delta) {
  const double before = radius;
  if (delta < 0) {
    radius += kRadiusStep;
  } else {
    radius = radius >= kRadiusStep ? radius - kRadiusStep : 0;
  }
  if (radius == before) return;
  SetAnchorLabels();
  UpdateData(false);
  PostChange(kRadius);
}

void CUpdateTextPage::OnOffsetSpin(int delta) {
  const double before = offsetAngle;
  if (delta < 0) {
    offsetAngle = std::min(offsetAngle + kAngleStep, kFullTurn);
  } else {
    offsetAngle = offsetAngle >= kAngleStep ? offsetAngle - kAngleStep : 0;
  }
  UpdateData(false);
  if (offsetAngle != before) PostChange(kOffsetAngle);
}

void CUpdateTextPage::OnArcSpin(int delta) {
  if (StepArcAngle(arcAngle, delta)) PostChange(kArcAngle);
  UpdateData(false);
}
