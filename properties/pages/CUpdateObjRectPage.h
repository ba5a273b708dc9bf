#pragma once
// The four sides of an axis-parallel rectangle with its perimeter and area.
#include <string>

#include "properties/framework/CPropertyPage.h"

class QLabel;

class CUpdateObjRectPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 162;
  static constexpr int kPageCode = 3;
  static constexpr int kLeft = 1014;
  static constexpr int kRight = 1015;
  static constexpr int kTop = 1016;
  static constexpr int kBottom = 1017;
  static constexpr int kLeftSpin = 1052;  // 1053..1055 for the others
  static constexpr int kPerimeter = 1056;
  static constexpr int kArea = 1057;

  CUpdateObjRectPage();
  // Shows the sides (each the mean of the two corners that should agree,
  // rounded to three decimals) and the read-outs. A rectangle whose corners
  // agree is squared to them, the closing vertex made the first; a rotated
  // one is left as it is.
  void LoadFromObject(CObjElement& element) override;
  // "%.3f" read-outs.
  static std::string PerimeterText(double left, double right, double top, double bottom);
  static std::string AreaText(double left, double right, double top, double bottom);

  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;
  std::string perimeter;
  std::string area;

 private:
  double& ValueOfId(int id);
  void RefreshReadouts();
  void OnEditKey(int id);
  void OnSpin(int id, int delta);
  QLabel* perimeterLabel_ = nullptr;
  QLabel* areaLabel_ = nullptr;
};
