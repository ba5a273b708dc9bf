#pragma once
// The font and character geometry of every text-like object: a stroke font
// pair from the fonts folder (western and Chinese big font), one of the dot
// fonts, or a system TrueType font from the font chooser; height, slant,
// rotation, spacing and fixed width.
#include "properties/framework/CPropertyPage.h"
#include "text/layout/TextSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class CUpdateFontPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 165;
  static constexpr int kPageCode = 54;
  static constexpr int kHeight = 1014;
  static constexpr int kItalic = 1015;
  static constexpr int kRotate = 1016;
  static constexpr int kWidthFactor = 1017;
  static constexpr int kChineseFactor = 1018;
  static constexpr int kSpacing = 1019;
  static constexpr int kFixedWidth = 1020;
  static constexpr int kHeightSpin = 1066;
  static constexpr int kItalicSpin = 1067;
  static constexpr int kRotateSpin = 1068;
  static constexpr int kWidthFactorSpin = 1069;
  static constexpr int kChineseFactorSpin = 1070;
  static constexpr int kSpacingSpin = 1071;
  static constexpr int kWest = 1072;
  static constexpr int kChinese = 1073;
  static constexpr int kDotFont = 1074;
  static constexpr int kTrueType = 1111;
  static constexpr int kFontName = 1112;
  static constexpr int kFonts = 1113;
  static constexpr int kDotMode = 1180;

  CUpdateFontPage();
  void LoadFromObject(CObjElement& element) override;
  void PrepareValue(int id) override;
  PropValue ValueOf(int id) const override;

  float height = 0;
  float italic = 0;
  float rotate = 0;
  float widthFactor = 0;
  float chineseFactor = 0;
  float spacing = 0;
  float fixedWidth = 0;
  int dotMode = 0;
  int dotIndex = 0;
  std::string dotText;
  std::string west;
  std::string chinese;
  int trueType = 0;
  std::string fontName;
  TextLogFont logFont;

 protected:
  void OnInitDialog() override;

 private:
  void FillFontLists();
  void EnableControls();
  void OnKey(int id);
  void OnSpin(float& value, int delta, int id);
  void OnFontsButton();

  QComboBox* westCombo_ = nullptr;
  QComboBox* chineseCombo_ = nullptr;
  QComboBox* dotCombo_ = nullptr;
  QCheckBox* trueTypeBox_ = nullptr;
  QCheckBox* dotBox_ = nullptr;
  QPushButton* fontsButton_ = nullptr;
  QLabel* fontNameLabel_ = nullptr;
};

// The dot fonts in the list's sorted order (the stored index counts in it).
extern const char* const kDotFontNames[6];
