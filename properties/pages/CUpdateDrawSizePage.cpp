#include "properties/pages/CUpdateDrawSizePage.h"

#include <QGroupBox>
#include <algorithm>
#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "values/ShellValues.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kRangeMin = 10;
constexpr double kRangeMax = 3000;
// The focus-lost notice keeps the range within these.
constexpr double kNoticeMin = 20;
constexpr double kNoticeMax = 1000;
constexpr double kSpinStep = 5;
constexpr float kGridMin = 0.1f;
constexpr float kGridMax = 100.0f;
}  // namespace

CUpdateDrawSizePage::CUpdateDrawSizePage() : CPropertyPage(kDialogId, "Range", kPageCode, WM_UPDATE_DRAWSIZE) {
  PageControls controls(this);
  CSpinButton* spinX = nullptr;
  CSpinButton* spinY = nullptr;
  CNotifyEdit* editX = controls.Edit("Range x:", kRangeX, &spinX, kRangeXSpin);
  CNotifyEdit* editY = controls.Edit("Range y:", kRangeY, &spinY, kRangeYSpin);
  QGroupBox* grid = controls.Group("Gridding");
  PageControls gridControls(grid);
  CNotifyEdit* editGridX = gridControls.Edit("Hor dis(X)", kGridX);
  CNotifyEdit* editGridY = gridControls.Edit("Ver dis(Y)", kGridY);
  controls.Stretch();

  auto& bx = bindings_.Edit(kRangeX, editX, &rangeX);
  bx.min = kRangeMin;
  bx.max = kRangeMax;
  auto& by = bindings_.Edit(kRangeY, editY, &rangeY);
  by.min = kRangeMin;
  by.max = kRangeMax;
  bindings_.Edit(kGridX, editGridX, &gridX);
  bindings_.Edit(kGridY, editGridY, &gridY);

  editX->SetFocusLostHandler([this] { OnRangeFocusLost(rangeX, kRangeX); });
  editY->SetFocusLostHandler([this] { OnRangeFocusLost(rangeY, kRangeY); });
  editX->SetKeyHandler([this](int) { OnRangeKey(rangeX, kRangeX); });
  editY->SetKeyHandler([this](int) { OnRangeKey(rangeY, kRangeY); });
  spinX->SetDeltaHandler([this](int d) { OnRangeSpin(rangeX, d, kRangeX); });
  spinY->SetDeltaHandler([this](int d) { OnRangeSpin(rangeY, d, kRangeY); });
  editGridX->SetKeyHandler([this](int) { OnGridKey(gridX, kGridX); });
  editGridY->SetKeyHandler([this](int) { OnGridKey(gridY, kGridY); });
  FinishControls();
}

void CUpdateDrawSizePage::LoadFromObject(CObjElement& element) {
  if (auto* prop = element.GetObjectAs<CDrawProperity>()) {
    rangeX = prop->GetRangeX();
    rangeY = prop->GetRangeY();
    RoundDouble3(rangeX);
    RoundDouble3(rangeY);
  }
  gridX = DistanceHor;
  gridY = DistanceVer;
}

void CUpdateDrawSizePage::ReadFields() {
  if (UpdateData(true)) return;
  // Told once: the fields show what stands (a range limited to what it
  // takes, a text that is no number the value from before), so the reports
  // of leaving the field read it without refusing it again.
  rangeX = std::clamp(rangeX, kRangeMin, kRangeMax);
  rangeY = std::clamp(rangeY, kRangeMin, kRangeMax);
  UpdateData(false);
}

void CUpdateDrawSizePage::OnRangeFocusLost(double& value, int id) {
  const double before = value;
  ReadFields();
  value = std::clamp(value, kNoticeMin, kNoticeMax);
  if (std::fabs(value - before) >= 0.0001) PostChange(id);
}

void CUpdateDrawSizePage::OnRangeKey(double& value, int id) {
  const double before = value;
  ReadFields();
  value = std::clamp(value, kRangeMin, kRangeMax);
  const bool changed = id == kRangeX ? std::fabs(value - before) > 0.001 : value != before;
  if (changed) PostChange(id);
}

void CUpdateDrawSizePage::OnRangeSpin(double& value, int delta, int id) {
  if (delta < 0) {
    value = value >= kNoticeMax - kSpinStep ? kNoticeMax : value + kSpinStep;
  } else {
    value = value > kNoticeMin + kSpinStep ? value - kSpinStep : kNoticeMin;
  }
  UpdateData(false);
  PostChange(id);
}

void CUpdateDrawSizePage::OnGridKey(float& value, int id) {
  const float before = value;
  ReadFields();
  if (value < kGridMin || value > kGridMax) {
    value = std::clamp(value, kGridMin, kGridMax);
    bindings_.LoadOne(id);
  }
  if (std::fabs(value - before) > 0.005f) PostChange(id);
}
