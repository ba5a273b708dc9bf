#pragma once
// A ruler: its graduation (count, unit width and value, line lengths), its
// labels, and its arc form (sector radius, angular width, start angle,
// symmetry and end marks).
#include "properties/framework/CPropertyPage.h"

class QComboBox;
class QLineEdit;
class CSpinButton;

class CUpdateObjRulerBar : public CPropertyPage {
 public:
  static constexpr int kDialogId = 179;
  static constexpr int kPageCode = 22;
  static constexpr int kHeight = 1016;
  static constexpr int kBigLines = 1017;
  static constexpr int kSmallFactor = 1018;
  static constexpr int kMiddleFactor = 1019;
  static constexpr int kStartValue = 1020;
  static constexpr int kDecimals = 1021;
  static constexpr int kUnitValue = 1022;
  static constexpr int kReverse = 1023;
  static constexpr int kSectorRadius = 1024;
  static constexpr int kWidthDegree = 1025;
  static constexpr int kTextDistance = 1026;
  static constexpr int kStartAngle = 1027;
  static constexpr int kOutText = 1034;
  static constexpr int kGraduations = 1035;
  static constexpr int kUnitWidth = 1036;
  static constexpr int kBottom = 1037;
  static constexpr int kSymmetry = 1038;
  static constexpr int kStartAngleSpin = 1039;
  static constexpr int kStartEnd = 1040;
  static constexpr int kOneWay = 1041;

  CUpdateObjRulerBar();
  // The graduation, labels and arc form of the ruler object.
  void LoadFromObject(CObjElement& element) override;

  int graduations = 0;
  float unitWidth = 0, height = 0;
  int bigLines = 0;
  float smallFactor = 0, middleFactor = 0, startValue = 0;
  int decimals = 0;
  float unitValue = 0;
  int reverse = 0;
  float sectorRadius = 0, widthDegree = 0, textDistance = 0, startAngle = 0;
  std::string outTextText, symmetryText, startEndText;
  int outText = 0, symmetry = 0, startEnd = 0;
  int bottom = 0, oneWay = 0;

 protected:
  void OnInitDialog() override;

 private:
  void EnableArcControls();
  void OnKey(int id);

  QLineEdit* startAngleEdit_ = nullptr;
  CSpinButton* startAngleSpin_ = nullptr;
  QLineEdit* widthEdit_ = nullptr;
  QComboBox* symmetryCombo_ = nullptr;
  QComboBox* startEndCombo_ = nullptr;
};
