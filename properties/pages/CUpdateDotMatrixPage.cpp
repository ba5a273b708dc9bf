#include "properties/pages/CUpdateDotMatrixPage.h"

#include <QPushButton>
#include <cmath>

#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"

CUpdateDotMatrixPage::CUpdateDotMatrixPage()
    : CPropertyPage(kDialogId, "Dot image info", kPageCode, WM_UPDATE_DOTMATRIX) {
  PageControls controls(this);
  CNotifyEdit* pointsEdit = controls.Edit("Points", kPoints);
  CNotifyEdit* widthEdit = controls.Edit("Width", kWidth);
  CNotifyEdit* heightEdit = controls.Edit("Height", kHeight);
  CNotifyEdit* hEdit = controls.Edit("Horizontal dis", kHorizontal);
  CNotifyEdit* vEdit = controls.Edit("Vertical dis", kVertical);
  QPushButton* gridButton = controls.Button("Default Grid", kDefaultGrid);
  controls.Stretch();
  for (CNotifyEdit* e : {pointsEdit, widthEdit, heightEdit}) e->setEnabled(false);

  bindings_.Edit(kPoints, pointsEdit, &points);
  bindings_.Edit(kWidth, widthEdit, &width);
  bindings_.Edit(kHeight, heightEdit, &height);
  bindings_.Edit(kHorizontal, hEdit, &horizontal);
  bindings_.Edit(kVertical, vEdit, &vertical);
  bindings_.Value(kDefaultGrid, &grid);

  hEdit->SetKeyHandler([this](int) { OnSpacingKey(horizontal, kHorizontal); });
  vEdit->SetKeyHandler([this](int) { OnSpacingKey(vertical, kVertical); });
  connect(gridButton, &QPushButton::clicked, this, [this] {
    UpdateData(true);
    grid = FloatPair{horizontal, vertical};
    PostChange(kDefaultGrid);
  });
  FinishControls();
}

void CUpdateDotMatrixPage::LoadFromObject(CObjElement& element) {
  auto* dots = element.GetObjectAs<CObjDotCollect>();
  if (dots == nullptr) return;
  dots->GetBoundRect();  // brings the stored width and height up to date
  points = static_cast<unsigned>(dots->GetDotCount());
  width = dots->GetWidth();
  height = dots->GetHeight();
  horizontal = static_cast<float>(dots->GetCellWidth());
  vertical = static_cast<float>(dots->GetCellHeight());
}

void CUpdateDotMatrixPage::OnSpacingKey(float& value, int id) {
  const float before = value;
  UpdateData(true);
  if (std::fabs(value - before) >= 0.005f) PostChange(id);
}
