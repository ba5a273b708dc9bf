#include "properties/pages/CUpdatePolylinePage.h"

#include <QCheckBox>
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
constexpr double kCoordThreshold = 0.001;
// "折线顶点总数:%d"
constexpr const char* kCountFormat = "\xE6\x8A\x98\xE7\xBA\xBF\xE9\xA1\xB6\xE7\x82\xB9\xE6\x80\xBB\xE6\x95\xB0:%d";
}  // namespace

CUpdatePolylinePage::CUpdatePolylinePage() : CPropertyPage(kDialogId, "Polyline", kPageCode, WM_UPDATE_POLYLINE) {
  PageControls controls(this);
  CSpinButton* spin = nullptr;
  CNotifyEdit* order = controls.Edit("Vertex order", kVertexOrder, &spin, kVertexSpin);
  CNotifyEdit* xEdit = controls.Edit("Coord x:", kX);
  CNotifyEdit* yEdit = controls.Edit("Coord y:", kY);
  QCheckBox* closedBox = controls.Check("Closed polyline", kClosed);
  countLabel_ = controls.Text("");
  countLabel_->setObjectName(QString("label%1").arg(kCountText));
  controls.Stretch();

  bindings_.Edit(kVertexOrder, order, &vertexNumber);
  bindings_.Edit(kX, xEdit, &x);
  bindings_.Edit(kY, yEdit, &y);
  bindings_.Check(kClosed, closedBox, &closed);

  order->SetKeyHandler([this](int) { OnVertexKey(); });
  xEdit->SetKeyHandler([this](int) { OnCoordKey(x, kX); });
  yEdit->SetKeyHandler([this](int) { OnCoordKey(y, kY); });
  spin->SetDeltaHandler([this](int d) { OnVertexSpin(d); });
  connect(closedBox, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    PostChange(kClosed);
  });
  FinishControls();
}

void CUpdatePolylinePage::OnInitDialog() {
  countLabel_->setText(QString::fromStdString(platform::FormatC(kCountFormat, vertexCount)));
  CPropertyPage::OnInitDialog();
}

void CUpdatePolylinePage::LoadFromObject(CObjElement& element) {
  auto* poly = element.GetObjectAs<CObjPolyLine>();
  if (poly == nullptr) return;
  vertexCount = poly->GetVertexCount();
  vertexNumber = poly->GetCurrentVertex();
  closed = poly->IsClosed();
  if (vertexNumber >= 1 && vertexNumber <= vertexCount) {
    x = poly->GetPathData().points[vertexNumber - 1].x;
    y = poly->GetPathData().points[vertexNumber - 1].y;
    RoundDouble3(x);
    RoundDouble3(y);
  }
  countLabel_->setText(QString::fromStdString(platform::FormatC(kCountFormat, vertexCount)));
}

void CUpdatePolylinePage::OnCoordKey(double& value, int id) {
  const double before = value;
  UpdateData(true);
  if (std::fabs(value - before) >= kCoordThreshold) PostChange(id);
  UpdateData(false);
}

void CUpdatePolylinePage::OnVertexKey() {
  const int before = vertexNumber;
  UpdateData(true);
  // A number that names no vertex puts the old one back.
  if (vertexNumber > vertexCount || vertexNumber < 1) vertexNumber = before;
  if (vertexNumber != before) PostChange(kVertexOrder);
  UpdateData(false);
}

void CUpdatePolylinePage::OnVertexSpin(int delta) {
  const int before = vertexNumber;
  if (delta < 0) {
    vertexNumber = vertexNumber < vertexCount ? vertexNumber + 1 : vertexCount;
  } else {
    vertexNumber = vertexNumber > 1 ? vertexNumber - 1 : 1;
  }
  UpdateData(false);
  if (vertexNumber != before) PostChange(kVertexOrder);
}
