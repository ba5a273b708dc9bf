#include "properties/pages/CUpdateObjBSplinePage.h"

#include "properties/framework/PageControls.h"

CUpdateObjBSplinePage::CUpdateObjBSplinePage() : CPropertyPage(kDialogId, "Spline", kNoPageCode, 0) {
  PageControls controls(this);
  controls.Stretch();
  FinishControls();
}
