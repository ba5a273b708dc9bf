#pragma once
// The work area's marking range (10..3000 mm) and the layout view's grid
// spacing. Leaving a range field reports twice: the plain focus-lost notice
// first, then the edit's key report. A refused value is told once, and the
// field then shows the value that stands.
#include "properties/framework/CPropertyPage.h"

class CNotifyEdit;

class CUpdateDrawSizePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 203;
  static constexpr int kPageCode = 0;
  static constexpr int kRangeX = 1010;
  static constexpr int kRangeY = 1011;
  static constexpr int kRangeXSpin = 1013;
  static constexpr int kRangeYSpin = 1014;
  static constexpr int kGridX = 1040;
  static constexpr int kGridY = 1016;

  CUpdateDrawSizePage();
  // From the work area: the ranges rounded to three decimals, the grid from
  // the view's spacing settings.
  void LoadFromObject(CObjElement& element) override;

  double rangeX = 0;
  double rangeY = 0;
  float gridX = 0;
  float gridY = 0;

 private:
  // Reads the controls; a refused value is told once.
  void ReadFields();
  void OnRangeFocusLost(double& value, int id);
  void OnRangeKey(double& value, int id);
  void OnRangeSpin(double& value, int delta, int id);
  void OnGridKey(float& value, int id);
};
