#include "properties/pages/CUpdateObjImageSize.h"

#include <QPushButton>
#include <cmath>

#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"

namespace {
constexpr float kThreshold = 0.001f;
}  // namespace

CUpdateObjImageSize::CUpdateObjImageSize() : CPropertyPage(kDialogId, "Image", kPageCode, WM_UPDATE_OBJIMAGESIZE) {
  PageControls controls(this);
  const char* labels[] = {"Left top(X):", "Left top(Y):", "Image Width:", "Image Height:", "Dot Width", "Dot Height"};
  for (int i = 0; i < 6; ++i) {
    const int id = kLeft + i;
    CNotifyEdit* edit = controls.Edit(labels[i], id);
    bindings_.Edit(id, edit, &ValueOfId(id));
    edit->SetKeyHandler([this, id](int) { OnEditKey(id); });
  }
  QPushButton* translate = controls.Button("Translate points...", kTranslatePoints);
  connect(translate, &QPushButton::clicked, this, [this] { PostChange(kTranslatePoints); });
  controls.Stretch();
  FinishControls();
}

float& CUpdateObjImageSize::ValueOfId(int id) {
  switch (id) {
    case kLeft: return left;
    case kTop: return top;
    case kWidth: return width;
    case kHeight: return height;
    case kDotWidth: return dotWidth;
    default: return dotHeight;
  }
}

void CUpdateObjImageSize::LoadFromObject(CObjElement& element) {
  auto* image = element.GetObjectAs<CObjImage>();
  if (image == nullptr) return;
  const ImagePageValues v = image->GetPageValues();
  left = static_cast<float>(v.x);
  top = static_cast<float>(v.y);
  width = static_cast<float>(v.widthMM);
  height = static_cast<float>(v.heightMM);
  dotWidth = v.dotWidth;
  dotHeight = v.dotHeight;
}

void CUpdateObjImageSize::OnEditKey(int id) {
  float& value = ValueOfId(id);
  const float before = value;
  UpdateData(true);
  if (std::fabs(value - before) > kThreshold) PostChange(id);
  UpdateData(false);
}
