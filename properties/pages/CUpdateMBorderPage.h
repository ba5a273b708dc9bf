#pragma once
// Centre, start angle, outer radius and corner count of a multi-border star.
#include "properties/framework/CPropertyPage.h"

class CUpdateMBorderPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 171;
  static constexpr int kPageCode = 8;
  static constexpr int kCentreX = 1014;
  static constexpr int kCentreY = 1015;
  static constexpr int kStartAngle = 1016;
  static constexpr int kRadius = 1017;
  static constexpr int kSides = 1018;
  static constexpr int kCentreXSpin = 1117;  // 1118..1121 for the others
  static constexpr int kMinSides = 3;

  CUpdateMBorderPage();
  void LoadFromObject(CObjElement& element) override;

  double centreX = 0;
  double centreY = 0;
  double startAngle = 0;
  double radius = 0;
  int sides = 0;

 private:
  void OnEditKey(int id);
  void OnSpin(int id, int delta);
};
