#pragma once
// A vehicle identification number: the 17-character code whole and split
// into its positions, the six-character make order with a spinner per digit,
// and the placement of the text (anchor, arc, angles, two-line layout).
// Positions (0-based) in the code: WMI 0..2, No.4..No.8 3..7, check
// character 8, year 9, assembly line 10, make order 11..16.
#include <array>

#include "properties/framework/CPropertyPage.h"
#include "properties/pages/AnchorLabels.h"

class QComboBox;

class CUpdateObjVinPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 169;
  static constexpr int kPageCode = 17;
  static constexpr int kWmi = 1014;
  static constexpr int kChar4 = 1015;
  static constexpr int kChar5 = 1016;
  static constexpr int kChar6 = 1017;
  static constexpr int kChar7 = 1018;
  static constexpr int kChar8 = 1019;
  static constexpr int kYear = 1020;
  static constexpr int kPlant = 1021;
  static constexpr int kMakeOrder = 1022;
  static constexpr int kCheckChar = 1101;
  static constexpr int kZoom = 1102;
  static constexpr int kCode = 1103;
  static constexpr int kX = 1104;
  static constexpr int kY = 1105;
  static constexpr int kRadius = 1109;
  static constexpr int kFixPosition = 1110;
  static constexpr int kRotate = 1111;
  static constexpr int kArcAngle = 1112;
  static constexpr int kTwoLine = 1183;
  static constexpr int kOffsetX = 1184;
  static constexpr int kOffsetY = 1185;
  static constexpr int kStar = 1069;
  static constexpr int kPentagonalStar = 1100;
  static constexpr int kMakeOrderSpin = 1087;
  static constexpr int kXSpin = 1106;
  static constexpr int kYSpin = 1107;
  static constexpr int kRadiusSpin = 1108;
  static constexpr int kArcSpin = 1113;
  static constexpr int kRotateSpin = 1114;
  // Digit fields and spins of positions 1..6 (position 1 is the make order's last character).
  static constexpr std::array<int, 6> kDigitEdits{1098, 1096, 1094, 1092, 1090, 1088};
  static constexpr std::array<int, 6> kDigitSpins{1099, 1097, 1095, 1093, 1091, 1089};

  static constexpr const char* kRefusedLetterText = "VIN code can't not contain:'O','o','I','i','Q','q' ";
  static constexpr const char* kSixCharsText = "Out code is must six chars";

  CUpdateObjVinPage();
  // From the text part of the VIN object: its code, placement and layout switches.
  void LoadFromObject(CObjElement& element) override;
  bool LoadAdvancedValues(CObjElement& element) override;
  void PrepareValue(int id) override;

  std::string wmi, char4, char5, char6, char7, char8, checkChar, year, plant, makeOrder;
  std::string code;
  double x = 0;
  double y = 0;
  double radius = 0;
  std::string fixText;
  int fixIndex = 0;
  std::array<std::string, 6> digits;  // positions 1..6
  int zoom = 0;
  int pentagonalStar = 0;
  double rotate = 0;
  std::string xLabel, yLabel;
  int twoLine = 0;
  float offsetX = 0;
  float offsetY = 0;
  std::string starText;
  int starIndex = 0;
  float arcAngle = 0;

 protected:
  void OnInitDialog() override;

 private:
  struct Part {
    int id;
    std::string* value;
    std::size_t at;
  };
  void SplitCode();
  void SpreadMakeOrder();
  void OnPartKey(const Part& part);
  void OnCheckCharKey();
  void OnMakeOrderKey();
  void OnCodeKey();
  void OnPlacementKey(int id);
  void OnMakeOrderSpin(int delta);
  void OnDigitSpin(int position, int delta);
  void OnPositionSpin(double& value, int delta, int id);
  void OnRadiusSpin(int delta);
  void OnRotateSpin(int delta);
  // The refused-letter message. Its box takes the focus from the edit that
  // was reported; that focus loss is the same report and is not taken again.
  void ShowRefusedLetters();

  bool showingMessage_ = false;
  AnchorLabels anchorLabels_;
  QComboBox* starCombo_ = nullptr;
};
