#pragma once
// Centre, two radii and the angles of an arc or ellipse arc, with its arc
// length and sector area read-outs (filled whenever the sheet fills the page).
#include <string>

#include "properties/framework/CPropertyPage.h"

class QLabel;

class CUpdateObjArcPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 163;
  static constexpr int kPageCode = 6;
  static constexpr int kCentreX = 1014;
  static constexpr int kCentreY = 1015;
  static constexpr int kRadiusA = 1016;
  static constexpr int kStartAngle = 1017;
  static constexpr int kEndAngle = 1018;
  static constexpr int kRadiusB = 1019;
  static constexpr int kCentreXSpin = 1005;
  static constexpr int kCentreYSpin = 1006;
  static constexpr int kRadiusASpin = 1060;
  static constexpr int kStartSpin = 1061;
  static constexpr int kEndSpin = 1062;
  static constexpr int kRadiusBSpin = 1063;
  static constexpr int kArea = 1057;
  static constexpr int kArcLength = 1064;
  static constexpr int kAEqualsB = 1141;
  static constexpr int kBEqualsA = 1142;

  CUpdateObjArcPage();
  void LoadFromObject(CObjElement& element) override;
  // Degrees swept from start to end; a start not below the end adds a turn.
  static double Sweep(float start, float end);
  static std::string ArcLengthText(double a, double b, float start, float end);  // "%.4f"
  static std::string SectorAreaText(double a, double b, float start, float end);  // "%.4f"

  double centreX = 0;
  double centreY = 0;
  double radiusA = 0;
  double radiusB = 0;
  float startAngle = 0;
  float endAngle = 0;
  std::string area;
  std::string arcLength;

 private:
  void OnEditKey(int id);
  void OnSpin(int id, int delta);
  void OnEqualRadius(int id);
  QLabel* areaLabel_ = nullptr;
  QLabel* lengthLabel_ = nullptr;
};
