#pragma once
// The fill switches and the hatching (angle 0..90 degrees, spacing
// 0.03..20 mm) of a fillable object.
#include "properties/framework/CPropertyPage.h"

class CUpdateFillObjPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 170;
  static constexpr int kPageCode = 55;
  static constexpr int kFillOn = 1114;
  static constexpr int kDiscardBorder = 1115;
  static constexpr int kAngle = 1014;
  static constexpr int kSpacing = 1015;
  static constexpr int kAngleSpin = 1116;
  static constexpr int kSpacingSpin = 1117;

  CUpdateFillObjPage();
  void LoadFromObject(CObjElement& element) override;

  int fillOn = 0;
  int discardBorder = 0;
  float angle = 0;
  float spacing = 0;

 private:
  void OnEditKey(float& value, float lo, float hi, int id);
  void OnAngleSpin(int delta);
  void OnSpacingSpin(int delta);
};
