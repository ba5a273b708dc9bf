#pragma once
// A page without controls: a B-spline shows a page of its own in the sheet.
// It does not report its activation.
#include "properties/framework/CPropertyPage.h"

class CUpdateObjBSplinePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 209;

  CUpdateObjBSplinePage();
};
