#pragma once
// The two end points of a line and its length read-out.
#include "properties/framework/CPropertyPage.h"

class CUpdateObjLinePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 202;
  static constexpr int kPageCode = 1;
  static constexpr int kStartX = 1001;
  static constexpr int kStartY = 1002;
  static constexpr int kEndX = 1003;
  static constexpr int kEndY = 1004;
  static constexpr int kStartXSpin = 1005;  // 1006..1008 for the others
  static constexpr int kLength = 1009;

  CUpdateObjLinePage();
  // The points rounded to three decimals (only when the line has two).
  void LoadFromObject(CObjElement& element) override;
  static double Length(double x1, double y1, double x2, double y2);

  double startX = 0;
  double startY = 0;
  double endX = 0;
  double endY = 0;
  double length = 0;

 private:
  double& ValueOfId(int id);
  void OnEditKey(int id);
  void OnFocusLost(int id);
  void OnSpin(int id, int delta);
};
