#include "properties/pages/CUpdateFillObjPage.h"

#include <QCheckBox>
#include <algorithm>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr float kAngleMax = 90;
constexpr float kAngleStep = 15;
constexpr float kSpacingMin = 0.03f;
constexpr float kSpacingMax = 20;
constexpr float kSpacingStep = 0.05f;
constexpr float kMinChange = 0.00001f;
}  // namespace

CUpdateFillObjPage::CUpdateFillObjPage() : CPropertyPage(kDialogId, "Fill object", kPageCode, WM_UPDATE_FILLOBJ) {
  PageControls controls(this);
  QCheckBox* fill = controls.Check("Check fill object", kFillOn);
  QCheckBox* discard = controls.Check("Discard polyline(border)", kDiscardBorder);
  CSpinButton* angleSpin = nullptr;
  CSpinButton* spacingSpin = nullptr;
  CNotifyEdit* angleEdit = controls.Edit("Fill angle:", kAngle, &angleSpin, kAngleSpin);
  CNotifyEdit* spacingEdit = controls.Edit("Fill distance:", kSpacing, &spacingSpin, kSpacingSpin);
  controls.Stretch();

  bindings_.Check(kFillOn, fill, &fillOn);
  bindings_.Check(kDiscardBorder, discard, &discardBorder);
  bindings_.Edit(kAngle, angleEdit, &angle);
  bindings_.Edit(kSpacing, spacingEdit, &spacing);

  for (auto [box, id] : {std::pair{fill, kFillOn}, std::pair{discard, kDiscardBorder}}) {
    connect(box, &QCheckBox::clicked, this, [this, id = id] {
      UpdateData(true);
      PostChange(id);
    });
  }
  angleEdit->SetKeyHandler([this](int) { OnEditKey(angle, 0, kAngleMax, kAngle); });
  spacingEdit->SetKeyHandler([this](int) { OnEditKey(spacing, kSpacingMin, kSpacingMax, kSpacing); });
  angleSpin->SetDeltaHandler([this](int d) { OnAngleSpin(d); });
  spacingSpin->SetDeltaHandler([this](int d) { OnSpacingSpin(d); });
  FinishControls();
}

void CUpdateFillObjPage::LoadFromObject(CObjElement& element) {
  fillOn = element.IsFillOn();
  discardBorder = element.IsDiscardBorder();
  angle = element.fillAngle;
  spacing = element.fillSpacing;
}

void CUpdateFillObjPage::OnEditKey(float& value, float lo, float hi, int id) {
  const float before = value;
  UpdateData(true);
  if (std::fabs(value - before) >= kMinChange) {
    value = std::clamp(value, lo, hi);
    PostChange(id);
  }
  UpdateData(false);
}

void CUpdateFillObjPage::OnAngleSpin(int delta) {
  const float before = angle;
  if (delta < 0) {
    angle = angle > kAngleMax - kAngleStep ? kAngleMax : angle + kAngleStep;
  } else {
    angle = angle < kAngleStep ? 0 : angle - kAngleStep;
  }
  UpdateData(false);
  if (angle != before) PostChange(kAngle);
}

void CUpdateFillObjPage::OnSpacingSpin(int delta) {
  const float before = spacing;
  if (delta < 0) {
    spacing = spacing > 9.95f ? kSpacingMax : spacing + kSpacingStep;
  } else {
    spacing = spacing < 0.08f ? kSpacingMin : spacing - kSpacingStep;
  }
  if (spacing != before) {
    UpdateData(false);
    PostChange(kSpacing);
  }
}
