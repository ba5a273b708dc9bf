#pragma once
// A serial number: the fixed texts before and after the number, the number
// with its step, limits and repeat count, an optional random code and date,
// and the placement of the text (anchor, position, arc layout).
#include "properties/framework/CPropertyPage.h"
#include "properties/pages/AnchorLabels.h"

class QLineEdit;

class CUpdateAutoTextPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 167;
  static constexpr int kPageCode = 16;
  static constexpr int kPrefix = 1014;
  static constexpr int kSerial = 1015;
  static constexpr int kSuffix = 1016;
  static constexpr int kJump = 1017;
  static constexpr int kX = 1018;
  static constexpr int kY = 1019;
  static constexpr int kRadius = 1020;
  static constexpr int kOffsetAngle = 1021;
  static constexpr int kSameNo = 1022;
  static constexpr int kCurrent = 1023;
  static constexpr int kArcAngle = 1024;
  static constexpr int kRandOn = 1064;
  static constexpr int kRandLength = 1065;
  static constexpr int kRandCode = 1066;
  static constexpr int kDownLimit = 1074;
  static constexpr int kUpLimit = 1075;
  static constexpr int kJumpSpin = 1078;
  static constexpr int kXSpin = 1079;
  static constexpr int kYSpin = 1080;
  static constexpr int kRadiusSpin = 1081;
  static constexpr int kFixPosition = 1082;
  static constexpr int kOffsetSpin = 1083;
  static constexpr int kDate = 1084;
  static constexpr int kArcSpin = 1085;
  static constexpr int kFixedArcLength = 1176;
  static constexpr int kSerialMaxChars = 8;
  static constexpr unsigned kRandLengthMax = 8;

  CUpdateAutoTextPage();
  // The placement from the text part of the serial object.
  void LoadFromObject(CObjElement& element) override;
  bool LoadAdvancedValues(CObjElement& element) override;
  void PrepareValue(int id) override;

  std::string dateText;
  int dateMode = 0;
  std::string prefix, serial, downLimit, upLimit, suffix, randCode;
  unsigned sameNo = 0, current = 0, jump = 0, randLength = 0;
  int randOn = 0;
  std::string xLabel, yLabel;
  double x = 0, y = 0;
  int fixedArcLength = 0;
  double offsetAngle = 0;
  double radius = 0;
  float arcAngle = 0;
  std::string fixText;
  int fixIndex = 0;

 protected:
  void OnInitDialog() override;

 private:
  void OnKey(int id);
  void OnSpin(int id, int delta);

  AnchorLabels anchorLabels_;
  QLineEdit* randLengthEdit_ = nullptr;
};
