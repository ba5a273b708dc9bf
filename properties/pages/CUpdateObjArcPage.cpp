#include "properties/pages/CUpdateObjArcPage.h"

#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "document/geometry/SharedHelpers.h"
#include "document/objects/CObjArc.h"
#include "document/objects/CObjElement.h"
#include "platform/NumberText.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"
#include "widgets/CSpinButton.h"

namespace {
constexpr double kCentreStep = 5;
constexpr double kAngleStep = 15;
}  // namespace

CUpdateObjArcPage::CUpdateObjArcPage() : CPropertyPage(kDialogId, "Arc/circle", kPageCode, WM_UPDATE_OBJARC) {
  PageControls controls(this);
  struct Row {
    const char* label;
    int id;
    int spinId;
  };
  const Row rows[] = {{"coord x", kCentreX, kCentreXSpin},   {"coord y", kCentreY, kCentreYSpin},
                      {"radius a", kRadiusA, kRadiusASpin},  {"radius b", kRadiusB, kRadiusBSpin},
                      {"start angle", kStartAngle, kStartSpin}, {"end angle", kEndAngle, kEndSpin}};
  for (const Row& row : rows) {
    CSpinButton* spin = nullptr;
    CNotifyEdit* edit = controls.Edit(row.label, row.id, &spin, row.spinId);
    const int id = row.id;
    edit->SetKeyHandler([this, id](int) { OnEditKey(id); });
    spin->SetDeltaHandler([this, id](int d) { OnSpin(id, d); });
    switch (id) {
      case kCentreX: bindings_.Edit(id, edit, &centreX); break;
      case kCentreY: bindings_.Edit(id, edit, &centreY); break;
      case kRadiusA: bindings_.Edit(id, edit, &radiusA); break;
      case kRadiusB: bindings_.Edit(id, edit, &radiusB); break;
      case kStartAngle: bindings_.Edit(id, edit, &startAngle); break;
      default: bindings_.Edit(id, edit, &endAngle); break;
    }
  }
  QPushButton* aEqualsB = controls.Button("R(a) equal R(b)", kAEqualsB);
  QPushButton* bEqualsA = controls.Button("R(b) equal R(a)", kBEqualsA);
  connect(aEqualsB, &QPushButton::clicked, this, [this] { OnEqualRadius(kAEqualsB); });
  connect(bEqualsA, &QPushButton::clicked, this, [this] { OnEqualRadius(kBEqualsA); });
  controls.Text("Area:");
  areaLabel_ = controls.Text("");
  areaLabel_->setObjectName(QString("label%1").arg(kArea));
  controls.Text("Arc lenght:");
  lengthLabel_ = controls.Text("");
  lengthLabel_->setObjectName(QString("label%1").arg(kArcLength));
  controls.Stretch();
  FinishControls();
}

double CUpdateObjArcPage::Sweep(float start, float end) {
  double sweep = static_cast<double>(end) - static_cast<double>(start);
  if (start >= end) sweep += 360;
  return sweep;
}

std::string CUpdateObjArcPage::ArcLengthText(double a, double b, float start, float end) {
  return platform::FormatC("%.4f", Sweep(start, end) * (a + b) * 0.0087266);
}

std::string CUpdateObjArcPage::SectorAreaText(double a, double b, float start, float end) {
  return platform::FormatC("%.4f", (a + b) * (a + b) * 0.78539815 * Sweep(start, end) / 360);
}

void CUpdateObjArcPage::LoadFromObject(CObjElement& element) {
  auto* arc = element.GetObjectAs<CObjArc>();
  if (arc == nullptr) return;
  centreX = arc->GetCentre().x;
  centreY = arc->GetCentre().y;
  radiusA = arc->GetXRadius();
  radiusB = arc->GetYRadius();
  for (double* v : {&centreX, &centreY, &radiusA, &radiusB}) RoundDouble3(*v);
  double start = arc->GetStartAngle();
  double end = arc->GetEndAngle();
  RoundDouble3(start);
  RoundDouble3(end);
  startAngle = static_cast<float>(start);
  endAngle = static_cast<float>(end);
  arcLength = ArcLengthText(radiusA, radiusB, startAngle, endAngle);
  area = SectorAreaText(radiusA, radiusB, startAngle, endAngle);
  lengthLabel_->setText(QString::fromStdString(arcLength));
  areaLabel_->setText(QString::fromStdString(area));
}

void CUpdateObjArcPage::OnEditKey(int id) {
  const PropValue before = ValueOf(id);
  UpdateData(true);
  const PropValue after = ValueOf(id);
  const bool changed = id == kCentreX ? std::fabs(PropToDouble(after) - PropToDouble(before)) > 0.001
                                      : after != before;
  if (changed) PostChange(id);
  UpdateData(false);
}

void CUpdateObjArcPage::OnSpin(int id, int delta) {
  const bool up = delta < 0;
  switch (id) {
    case kCentreX: centreX += up ? kCentreStep : -kCentreStep; break;
    case kCentreY: centreY += up ? kCentreStep : -kCentreStep; break;
    case kRadiusA: radiusA = up ? radiusA + 1 : (radiusA > 1 ? radiusA - 1 : 1.0); break;
    case kRadiusB: radiusB = up ? radiusB + 1 : (radiusB > 1.5 ? radiusB - 1 : 1.0); break;
    case kStartAngle: {
      double a = startAngle + (up ? kAngleStep : -kAngleStep);
      if (up && a >= 360) a -= 360;
      if (!up && a < 0) a += 360;
      startAngle = static_cast<float>(a);
      break;
    }
    default: {
      double a = endAngle + (up ? kAngleStep : -kAngleStep);
      if (up && a > 360) a -= 360;
      if (!up && a < 0) a += 360;
      endAngle = static_cast<float>(a);
      break;
    }
  }
  UpdateData(false);
  PostChange(id);
}

void CUpdateObjArcPage::OnEqualRadius(int button) {
  if (radiusA == radiusB) return;
  if (button == kAEqualsB) {
    radiusA = radiusB;
    UpdateData(false);
    PostChange(kRadiusA);
  } else {
    radiusB = radiusA;
    UpdateData(false);
    PostChange(kRadiusB);
  }
}
