#pragma once
// A plain text's own page: the text, the corner or centre it is placed at,
// which of its nine fixed positions holds it, and the arc it may be set on.
// The font is the font page's.
#include "properties/framework/CPropertyPage.h"
#include "properties/pages/AnchorLabels.h"

class CObjElement;
class QComboBox;

class CUpdateTextPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 166;
  static constexpr int kPageCode = 2;
  static constexpr int kText = 1014;
  static constexpr int kX = 1015;
  static constexpr int kY = 1016;
  static constexpr int kRadius = 1017;
  static constexpr int kOffsetAngle = 1018;
  static constexpr int kArcAngle = 1019;
  static constexpr int kFixPosition = 1076;
  static constexpr int kFixedArcLength = 1176;
  static constexpr int kXSpin = 1073;
  static constexpr int kYSpin = 1074;
  static constexpr int kRadiusSpin = 1060;
  static constexpr int kOffsetSpin = 1061;
  static constexpr int kArcSpin = 1062;
  static constexpr int kXLabel = AnchorLabels::kXLabel;
  static constexpr int kYLabel = AnchorLabels::kYLabel;

  CUpdateTextPage();
  void LoadFromObject(CObjElement& element) override;
  void PrepareValue(int id) override;

  std::string text;
  double x = 0;
  double y = 0;
  double radius = 0;
  double offsetAngle = 0;
  float arcAngle = 0;
  std::string fixText;
  int fixIndex = 0;
  int fixedArcLength = 0;
  std::string xLabel;
  std::string yLabel;

 protected:
  void OnInitDialog() override;

 private:
  void OnKey(int id);
  void OnPositionSpin(double& value, int delta, int id);
  void OnRadiusSpin(int delta);
  void OnOffsetSpin(int delta);
  void OnArcSpin(int delta);

  QComboBox* fixCombo_ = nullptr;
  AnchorLabels anchorLabels_;
};
