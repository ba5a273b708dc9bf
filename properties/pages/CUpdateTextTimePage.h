#pragma once
// A system-date text: its date format (from the program's table of date
// formats), the date text the object shows, and the placement of the text,
// as on the text page.
#include "properties/framework/CPropertyPage.h"
#include "properties/pages/AnchorLabels.h"

class QComboBox;
class QLabel;

class CUpdateTextTimePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 168;
  static constexpr int kPageCode = 15;
  static constexpr int kX = 1014;
  static constexpr int kY = 1015;
  static constexpr int kRadius = 1016;
  static constexpr int kOffsetAngle = 1017;
  static constexpr int kArcAngle = 1018;
  static constexpr int kXSpin = 1073;
  static constexpr int kYSpin = 1074;
  static constexpr int kRadiusSpin = 1075;
  static constexpr int kOffsetSpin = 1076;
  static constexpr int kArcSpin = 1077;
  static constexpr int kDateStyle = 1083;
  static constexpr int kFixPosition = 1085;
  static constexpr int kDateValue = 1086;
  static constexpr int kFixedArcLength = 1176;

  CUpdateTextTimePage();
  // The placement from the text part of the date object.
  void LoadFromObject(CObjElement& element) override;
  void PrepareValue(int id) override;

  std::string dateValue;
  std::string styleText;
  int style = 0;
  double x = 0, y = 0, radius = 0, offsetAngle = 0;
  float arcAngle = 0;
  std::string fixText;
  int fixIndex = 0;
  int fixedArcLength = 0;
  std::string xLabel, yLabel;

 protected:
  void OnInitDialog() override;

 private:
  void OnKey(int id);
  void OnSpin(int id, int delta);
  void ShowDateValue();

  QComboBox* styleCombo_ = nullptr;
  QLabel* valueLabel_ = nullptr;
  AnchorLabels anchorLabels_;
};
