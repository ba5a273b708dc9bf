#pragma once
// The size of a dot image (read-only) and its dot spacing; "Default Grid"
// reports the spacings as they stand in the fields.
#include "properties/framework/CPropertyPage.h"

class CUpdateDotMatrixPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 178;
  static constexpr int kPageCode = 5;
  static constexpr int kPoints = 1020;
  static constexpr int kWidth = 1010;
  static constexpr int kHeight = 1011;
  static constexpr int kHorizontal = 1012;
  static constexpr int kVertical = 1013;
  static constexpr int kDefaultGrid = 1041;

  CUpdateDotMatrixPage();
  void LoadFromObject(CObjElement& element) override;

  unsigned points = 0;
  float width = 0;
  float height = 0;
  float horizontal = 0;
  float vertical = 0;
  FloatPair grid;

 private:
  void OnSpacingKey(float& value, int id);
};
