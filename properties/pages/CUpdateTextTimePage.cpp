#include "properties/pages/CUpdateTextTimePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "properties/pages/PlacementSteps.h"
#include "text/objects/CObjText.h"
#include "text/objects/CObjTextDate.h"
#include "values/DateFormatNames.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kPositionStep = 1;
constexpr double kRadiusStep = 2;
constexpr double kAngleStep = 5;
constexpr double kFullTurn = 360;
}  // namespace

CUpdateTextTimePage::CUpdateTextTimePage() : CPropertyPage(kDialogId, "System date", kPageCode, WM_UPDATE_TEXTTIME) {
  PageControls c(this);
  c.Text("Date value:");
  valueLabel_ = c.Text("");
  valueLabel_->setObjectName(QString("label%1").arg(kDateValue));
  styleCombo_ = c.Combo("Date style:", kDateStyle, {});
  CSpinButton *xSpin = nullptr, *ySpin = nullptr, *radiusSpin = nullptr, *offsetSpin = nullptr, *arcSpin = nullptr;
  CNotifyEdit* xEdit = c.Edit("Left-top x:", kX, &xSpin, kXSpin);
  CNotifyEdit* yEdit = c.Edit("Left-top y:", kY, &ySpin, kYSpin);
  anchorLabels_.Take(*this, kX, kY);
  CNotifyEdit* radiusEdit = c.Edit("Align radius:", kRadius, &radiusSpin, kRadiusSpin);
  CNotifyEdit* offsetEdit = c.Edit("Offset angle:", kOffsetAngle, &offsetSpin, kOffsetSpin);
  CNotifyEdit* arcEdit = c.Edit("Arc angle:", kArcAngle, &arcSpin, kArcSpin);
  QComboBox* fixCombo = c.Combo("Fix position:", kFixPosition, FixPositionEntries());
  QCheckBox* arcBox = c.Check("Fixed arc length", kFixedArcLength);
  arcBox->hide();
  c.Stretch();

  bindings_.ComboIndex(kDateStyle, styleCombo_, &style);
  bindings_.ComboText(kDateStyle, styleCombo_, &styleText);
  bindings_.Edit(kX, xEdit, &x);
  bindings_.Edit(kY, yEdit, &y);
  bindings_.Edit(kRadius, radiusEdit, &radius);
  bindings_.Edit(kOffsetAngle, offsetEdit, &offsetAngle);
  bindings_.Edit(kArcAngle, arcEdit, &arcAngle);
  bindings_.ComboIndex(kFixPosition, fixCombo, &fixIndex);
  bindings_.ComboText(kFixPosition, fixCombo, &fixText);
  bindings_.Check(kFixedArcLength, arcBox, &fixedArcLength);

  for (auto [edit, id] : {std::pair{xEdit, kX}, {yEdit, kY}, {radiusEdit, kRadius}, {offsetEdit, kOffsetAngle},
                          {arcEdit, kArcAngle}})
    edit->SetKeyHandler([this, id = id](int) { OnKey(id); });
  for (auto [spin, id] : {std::pair{xSpin, kX}, {ySpin, kY}, {radiusSpin, kRadius}, {offsetSpin, kOffsetAngle},
                          {arcSpin, kArcAngle}})
    spin->SetDeltaHandler([this, id = id](int d) { OnSpin(id, d); });
  connect(fixCombo, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kFixPosition); });
  connect(styleCombo_, qOverload<int>(&QComboBox::activated), this, [this](int) { PostChange(kDateStyle); });
  connect(arcBox, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    PostChange(kFixedArcLength);
  });
  FinishControls();
}

void CUpdateTextTimePage::LoadFromObject(CObjElement& element) {
  auto* text = element.GetObjectAs<CObjText>();
  if (text == nullptr) return;
  const TextSettings& s = text->Settings();
  x = s.position.x;
  y = s.position.y;
  radius = s.arcRadius;
  offsetAngle = s.deflection;
  arcAngle = s.arcSize;
  fixedArcLength = s.arcArrangement;
  FixPositionOf(s.fixedCorner, fixIndex, fixText);
  auto* date = element.GetObjectAs<CObjTextDate>();
  if (date == nullptr) return;
  const auto& names = DateFormatNames();
  style = date->GetFormat() >= 0 && date->GetFormat() < static_cast<int>(names.size()) ? date->GetFormat() : 0;
  styleText = names[static_cast<std::size_t>(style)];
  // What the layout draws and marks, even where the style's sample in the
  // program's table is written otherwise (its format 10 shows a two-digit
  // year there); refilled after every change of the object.
  dateValue = text->GetText();
  ShowDateValue();
}

void CUpdateTextTimePage::ShowDateValue() { valueLabel_->setText(QString::fromStdString(dateValue)); }

void CUpdateTextTimePage::PrepareValue(int id) {
  // The lists' selections are read when the sheet takes the change.
  if (id == kFixPosition || id == kDateStyle) UpdateData(true);
}

void CUpdateTextTimePage::OnInitDialog() {
  styleCombo_->clear();
  for (const std::string& name : DateFormatNames()) styleCombo_->addItem(QString::fromStdString(name));
  const auto& names = DateFormatNames();
  if (style >= 0 && style < static_cast<int>(names.size())) styleText = names[static_cast<std::size_t>(style)];
  ShowDateValue();
  anchorLabels_.Show(radius, xLabel, yLabel);
  UpdateData(false);
}

void CUpdateTextTimePage::OnKey(int id) {
  const double oldX = x, oldY = y, oldRadius = radius, oldOffset = offsetAngle;
  const float oldArc = arcAngle;
  if (!UpdateData(true)) return;
  bool post = false;
  switch (id) {
    case kX: post = std::fabs(x - oldX) >= 0.0001; break;
    case kY: post = std::fabs(y - oldY) >= 0.0001; break;
    case kRadius:
      post = std::fabs(radius - oldRadius) >= 0.0001;
      anchorLabels_.Show(radius, xLabel, yLabel);
      break;
    case kOffsetAngle: post = std::fabs(offsetAngle - oldOffset) >= 0.0001; break;
    case kArcAngle: post = std::fabs(arcAngle - oldArc) >= 0.0001f; break;
    default: break;
  }
  UpdateData(false);
  if (post) PostChange(id);
}

void CUpdateTextTimePage::OnSpin(int id, int delta) {
  const bool up = delta < 0;
  bool post = false;
  switch (id) {
    case kX:
    case kY: {
      double& v = id == kX ? x : y;
      const double before = v;
      v += up ? kPositionStep : -kPositionStep;
      post = v != before;
      break;
    }
    case kRadius: {
      const double before = radius;
      radius += up ? kRadiusStep : -kRadiusStep;
      if (radius < kRadiusStep) radius = 0;
      post = radius != before;
      if (post) anchorLabels_.Show(radius, xLabel, yLabel);
      break;
    }
    case kOffsetAngle: {
      const double before = offsetAngle;
      offsetAngle = std::clamp(offsetAngle + (up ? kAngleStep : -kAngleStep), 0.0, kFullTurn);
      post = offsetAngle != before;
      break;
    }
    case kArcAngle: post = StepArcAngle(arcAngle, delta); break;
    default: return;
  }
  UpdateData(false);
  if (post) PostChange(id);
}
