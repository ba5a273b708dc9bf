#include "properties/pages/CUpdateObjNamePage.h"

#include "document/objects/CObjElement.h"
#include "properties/framework/PageControls.h"
#include "values/PropertyMessages.h"
#include "widgets/CNotifyEdit.h"

CUpdateObjNamePage::CUpdateObjNamePage() : CPropertyPage(kDialogId, "Name", kPageCode, WM_UPDATE_OBJNAME) {
  PageControls controls(this);
  edit_ = controls.Edit("Object name:", kNameEdit);
  controls.Stretch();
  bindings_.Edit(kNameEdit, edit_, &name_).maxChars = kMaxNameBytes;
  edit_->SetKeyHandler([this](int) { OnEditKey(); });
  FinishControls();
}

void CUpdateObjNamePage::LoadFromObject(CObjElement& element) { name_ = element.name; }

PropValue CUpdateObjNamePage::ValueOf(int) const { return name_; }

void CUpdateObjNamePage::SetObjectName(const std::string& name) {
  name_ = name;
  UpdateData(false);
}

void CUpdateObjNamePage::OnEditKey() {
  const std::string before = name_;
  if (!UpdateData(true)) return;
  if (name_ != before) PostChange(kNameEdit);
}
