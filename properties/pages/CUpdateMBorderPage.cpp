#include "properties/pages/CUpdateMBorderPage.h"

#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjMultiBorder.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kThreshold = 0.0001;
constexpr double kCentreStep = 5;
constexpr double kAngleStep = 15;
constexpr double kRadiusStep = 2;
}  // namespace

CUpdateMBorderPage::CUpdateMBorderPage()
    : CPropertyPage(kDialogId, "Multi-borders object", kPageCode, WM_UPDATE_MBORDER) {
  PageControls controls(this);
  const char* labels[] = {"Center x:", "Center y:", "Start angle:", "Outline circle radius:", "Border nums:"};
  for (int i = 0; i < 5; ++i) {
    const int id = kCentreX + i;
    CSpinButton* spin = nullptr;
    CNotifyEdit* edit = controls.Edit(labels[i], id, &spin, kCentreXSpin + i);
    switch (id) {
      case kCentreX: bindings_.Edit(id, edit, &centreX); break;
      case kCentreY: bindings_.Edit(id, edit, &centreY); break;
      case kStartAngle: bindings_.Edit(id, edit, &startAngle); break;
      case kRadius: bindings_.Edit(id, edit, &radius); break;
      default: bindings_.Edit(id, edit, &sides); break;
    }
    edit->SetKeyHandler([this, id](int) { OnEditKey(id); });
    spin->SetDeltaHandler([this, id](int d) { OnSpin(id, d); });
  }
  controls.Stretch();
  FinishControls();
}

void CUpdateMBorderPage::LoadFromObject(CObjElement& element) {
  auto* border = element.GetObjectAs<CObjMultiBorder>();
  if (border == nullptr) return;
  centreX = border->GetCentre().x;
  centreY = border->GetCentre().y;
  startAngle = border->GetStartAngle();
  radius = border->GetRadius();
  for (double* v : {&centreX, &centreY, &startAngle, &radius}) RoundDouble3(*v);
  sides = border->GetSides();
}

void CUpdateMBorderPage::OnEditKey(int id) {
  const PropValue before = ValueOf(id);
  UpdateData(true);
  const PropValue after = ValueOf(id);
  const bool changed =
      id == kSides ? after != before : std::fabs(PropToDouble(after) - PropToDouble(before)) >= kThreshold;
  if (changed) PostChange(id);
}

void CUpdateMBorderPage::OnSpin(int id, int delta) {
  const bool up = delta < 0;
  const PropValue before = ValueOf(id);
  switch (id) {
    case kCentreX: centreX += up ? kCentreStep : -kCentreStep; break;
    case kCentreY: centreY += up ? kCentreStep : -kCentreStep; break;
    case kStartAngle:
      startAngle += up ? kAngleStep : -kAngleStep;
      if (up && startAngle >= 360) startAngle -= 360;
      if (!up && startAngle < 0) startAngle += 360;
      break;
    case kRadius: radius = up ? radius + kRadiusStep : (radius >= 3 ? radius - kRadiusStep : 1.0); break;
    default: sides = up ? sides + 1 : (sides > kMinSides ? sides - 1 : kMinSides); break;
  }
  UpdateData(false);
  // The centre and the angle always report; radius and count only a change.
  if (id == kCentreX || id == kCentreY || id == kStartAngle || ValueOf(id) != before) PostChange(id);
}
