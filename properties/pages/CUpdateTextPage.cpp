#include "properties/pages/CUpdateTextPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "properties/pages/PlacementSteps.h"
#include "text/objects/CObjText.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kPositionStep = 5;
}  // namespace

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
  anchorLabels_.Take(*this, kX, kY);
  CNotifyEdit* radiusEdit = controls.Edit("Align radius:", kRadius, &radiusSpin, kRadiusSpin);
  controls.Text("radius<0 rotate 180");
  CNotifyEdit* offsetEdit = controls.Edit("Offset angle:", kOffsetAngle, &offsetSpin, kOffsetSpin);
  CNotifyEdit* arcEdit = controls.Edit("Arc angle:", kArcAngle, &arcSpin, kArcSpin);
  controls.Text("angle=0 auto");
  fixCombo_ = controls.Combo("Fix position:", kFixPosition, FixPositionEntries());
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
  FixPositionOf(s.fixedCorner, fixIndex, fixText);
  fixedArcLength = s.arcArrangement;
  anchorLabels_.Show(radius, xLabel, yLabel);
}

void CUpdateTextPage::PrepareValue(int id) {
  // The list's selection is read when the sheet takes the change.
  if (id == kFixPosition) UpdateData(true);
}

void CUpdateTextPage::OnInitDialog() {
  anchorLabels_.Show(radius, xLabel, yLabel);
  UpdateData(false);
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
      if (post) anchorLabels_.Show(radius, xLabel, yLabel);
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
  if (!StepRadius(radius, delta)) return;
  anchorLabels_.Show(radius, xLabel, yLabel);
  UpdateData(false);
  PostChange(kRadius);
}

void CUpdateTextPage::OnOffsetSpin(int delta) {
  const bool changed = StepOffsetAngle(offsetAngle, delta);
  UpdateData(false);
  if (changed) PostChange(kOffsetAngle);
}

void CUpdateTextPage::OnArcSpin(int delta) {
  if (StepArcAngle(arcAngle, delta)) PostChange(kArcAngle);
  UpdateData(false);
}
