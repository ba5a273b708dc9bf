#include "properties/pages/CUpdateObjRectPage.h"

#include <QLabel>
#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "platform/NumberText.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kSpinStep = 5;
constexpr double kSideThreshold = 0.001;
// Corners that agree to the shown third decimal (rounding may part them by one).
constexpr double kSameSide = 0.0015;

// Whether the corners lie as the page's four sides assume: 0 and 3 on the
// left, 1 and 2 on the right, 0 and 1 on top, 2 and 3 at the bottom. A
// rotated rectangle does not, and its sides are no object values to write.
bool HasPageSides(const CPointList& v) {
  return std::fabs(v[0].x - v[3].x) <= kSameSide && std::fabs(v[1].x - v[2].x) <= kSameSide &&
         std::fabs(v[0].y - v[1].y) <= kSameSide && std::fabs(v[2].y - v[3].y) <= kSameSide;
}
}  // namespace

CUpdateObjRectPage::CUpdateObjRectPage() : CPropertyPage(kDialogId, "Rectangle", kPageCode, WM_UPDATE_OBJRECT) {
  PageControls controls(this);
  const char* labels[] = {"Left border:", "Right border:", "Top border:", "Bottom border:"};
  for (int i = 0; i < 4; ++i) {
    const int id = kLeft + i;
    CSpinButton* spin = nullptr;
    CNotifyEdit* edit = controls.Edit(labels[i], id, &spin, kLeftSpin + i);
    bindings_.Edit(id, edit, &ValueOfId(id));
    edit->SetKeyHandler([this, id](int) { OnEditKey(id); });
    spin->SetDeltaHandler([this, id](int d) { OnSpin(id, d); });
  }
  controls.Text("Length");
  perimeterLabel_ = controls.Text("");
  perimeterLabel_->setObjectName(QString("label%1").arg(kPerimeter));
  controls.Text("Rectangle area");
  areaLabel_ = controls.Text("");
  areaLabel_->setObjectName(QString("label%1").arg(kArea));
  controls.Stretch();
  FinishControls();
}

double& CUpdateObjRectPage::ValueOfId(int id) {
  switch (id) {
    case kLeft: return left;
    case kRight: return right;
    case kTop: return top;
    default: return bottom;
  }
}

std::string CUpdateObjRectPage::PerimeterText(double l, double r, double t, double b) {
  return platform::FormatC("%.3f", std::fabs(r - l) * 2 + std::fabs(b - t) * 2);
}

std::string CUpdateObjRectPage::AreaText(double l, double r, double t, double b) {
  return platform::FormatC("%.3f", std::fabs(r - l) * std::fabs(b - t));
}

void CUpdateObjRectPage::RefreshReadouts() {
  perimeter = PerimeterText(left, right, top, bottom);
  area = AreaText(left, right, top, bottom);
  perimeterLabel_->setText(QString::fromStdString(perimeter));
  areaLabel_->setText(QString::fromStdString(area));
}

void CUpdateObjRectPage::LoadFromObject(CObjElement& element) {
  auto* rect = element.GetObjectAs<CObjPolyLine>();
  if (rect == nullptr || rect->GetPathData().points.GetSize() < 5) return;
  CPointList& points = rect->GetPathData().points;
  CPointList v(points);
  for (int i = 0; i < 5; ++i) {
    RoundDouble3(v[i].x);
    RoundDouble3(v[i].y);
  }
  left = (v[0].x + v[3].x) / 2;
  right = (v[1].x + v[2].x) / 2;
  top = (v[0].y + v[1].y) / 2;
  bottom = (v[2].y + v[3].y) / 2;
  RefreshReadouts();
  // Showing a rectangle never changes its shape: only one whose corners
  // already agree is squared to the sides it shows.
  if (!HasPageSides(v)) return;
  v[0].x = v[3].x = left;
  v[1].x = v[2].x = right;
  v[0].y = v[1].y = top;
  v[2].y = v[3].y = bottom;
  v[4].x = v[0].x;
  v[4].y = v[0].y;
  for (int i = 0; i < 5; ++i) points[i] = v[i];
}

void CUpdateObjRectPage::OnEditKey(int id) {
  double& value = ValueOfId(id);
  const double before = value;
  UpdateData(true);
  const bool changed =
      (id == kLeft || id == kRight) ? std::fabs(value - before) >= kSideThreshold : value != before;
  if (changed) PostChange(id);
  RefreshReadouts();
  UpdateData(false);
}

void CUpdateObjRectPage::OnSpin(int id, int delta) {
  ValueOfId(id) += delta < 0 ? kSpinStep : -kSpinStep;
  RefreshReadouts();
  UpdateData(false);
  PostChange(id);
}
