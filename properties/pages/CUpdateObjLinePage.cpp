#include "properties/pages/CUpdateObjLinePage.h"

#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjLine.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kSpinStep = 5;
constexpr double kKeyThreshold = 0.001;
}  // namespace

CUpdateObjLinePage::CUpdateObjLinePage() : CPropertyPage(kDialogId, "Line", kPageCode, WM_UPDATE_OBJLINE) {
  PageControls controls(this);
  const char* labels[] = {"Start coord x:", "Start coord y:", "End coord x:", "End coord y:"};
  for (int i = 0; i < 4; ++i) {
    const int id = kStartX + i;
    CSpinButton* spin = nullptr;
    CNotifyEdit* edit = controls.Edit(labels[i], id, &spin, kStartXSpin + i);
    bindings_.Edit(id, edit, &ValueOfId(id));
    edit->SetKeyHandler([this, id](int) { OnEditKey(id); });
    edit->SetFocusLostHandler([this, id] { OnFocusLost(id); });
    spin->SetDeltaHandler([this, id](int d) { OnSpin(id, d); });
  }
  CNotifyEdit* lengthEdit = controls.Edit("Length:", kLength);
  lengthEdit->setEnabled(false);
  bindings_.Edit(kLength, lengthEdit, &length);
  controls.Stretch();
  FinishControls();
}

double& CUpdateObjLinePage::ValueOfId(int id) {
  switch (id) {
    case kStartX: return startX;
    case kStartY: return startY;
    case kEndX: return endX;
    default: return endY;
  }
}

double CUpdateObjLinePage::Length(double x1, double y1, double x2, double y2) {
  return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

void CUpdateObjLinePage::LoadFromObject(CObjElement& element) {
  auto* line = element.GetObjectAs<CObjLine>();
  if (line == nullptr) return;
  const CPointList& points = line->GetPathData().points;
  if (points.GetSize() > 1) {
    startX = points[0].x;
    startY = points[0].y;
    endX = points[1].x;
    endY = points[1].y;
    for (double* v : {&startX, &startY, &endX, &endY}) RoundDouble3(*v);
  }
  length = line->GetLength();
}

void CUpdateObjLinePage::OnEditKey(int id) {
  double& value = ValueOfId(id);
  const double before = value;
  UpdateData(true);
  if (std::fabs(value - before) > kKeyThreshold) PostChange(id);
  length = Length(startX, startY, endX, endY);
  UpdateData(false);
}

void CUpdateObjLinePage::OnFocusLost(int id) {
  double& value = ValueOfId(id);
  const double before = value;
  UpdateData(true);
  const double threshold = id == kStartX ? 0.00001 : 0.0001;
  if (std::fabs(value - before) > threshold) PostChange(id);
}

void CUpdateObjLinePage::OnSpin(int id, int delta) {
  ValueOfId(id) += delta < 0 ? kSpinStep : -kSpinStep;
  length = Length(startX, startY, endX, endY);
  UpdateData(false);
  PostChange(id);
}
