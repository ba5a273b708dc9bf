#include "properties/pages/CUpdateDefaultPage.h"

#include "properties/framework/PageControls.h"

CUpdateDefaultPage::CUpdateDefaultPage() : CPropertyPage(kDialogId, "Default page", kNoPageCode, 0) {
  PageControls controls(this);
  controls.Text("Default pages");
  controls.Stretch();
  FinishControls();
}
