#pragma once
// The placeholder the sheet holds before any object is shown, so that the
// sheet window can exist: one line of text, no values, no activation report.
#include "properties/framework/CPropertyPage.h"

class CUpdateDefaultPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 155;
  CUpdateDefaultPage();
};
