#pragma once
// A picture's position, size and dot size, and the button that turns it
// into a dot image.
#include "properties/framework/CPropertyPage.h"

class CUpdateObjImageSize : public CPropertyPage {
 public:
  static constexpr int kDialogId = 195;
  static constexpr int kPageCode = 21;
  static constexpr int kTranslatePoints = 1007;
  static constexpr int kLeft = 1165;
  static constexpr int kTop = 1166;
  static constexpr int kWidth = 1167;
  static constexpr int kHeight = 1168;
  static constexpr int kDotWidth = 1169;
  static constexpr int kDotHeight = 1170;

  CUpdateObjImageSize();
  void LoadFromObject(CObjElement& element) override;

  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  float dotWidth = 0;
  float dotHeight = 0;

 private:
  float& ValueOfId(int id);
  void OnEditKey(int id);
};
