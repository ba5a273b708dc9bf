#pragma once
// The marking attributes every object carries: mark on or off, the two
// delays, the repeat count, the layer, the marking-record key, the speeds,
// the data source and spreadsheet column of texts, the mark class and the
// colour (chosen through the platform's colour chooser).
#include <string>

#include "properties/framework/CPropertyPage.h"

class CColorButton;
class CNotifyEdit;
class CSpinButton;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

class CUpdatePrintProperityPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 158;
  static constexpr int kPageCode = 51;
  static constexpr int kMarkCheck = 1048;
  static constexpr int kStartDelay = 1014;
  static constexpr int kChangeDelay = 1015;
  static constexpr int kTimes = 1016;
  static constexpr int kEmptySpeed = 1017;
  static constexpr int kLineSpeed = 1018;
  static constexpr int kStartDelaySpin = 1049;
  static constexpr int kChangeDelaySpin = 1050;
  static constexpr int kTimesSpin = 1051;
  static constexpr int kLayerCombo = 1162;
  static constexpr int kKeyNone = 1165;  // 1166 main key, 1167 sub key
  static constexpr int kDataSourceCombo = 1052;
  static constexpr int kExcelColumnCombo = 1053;
  static constexpr int kClassShare = 1116;  // 1117 type 1, 1118 type 2
  static constexpr int kColorButton = 1172;
  static constexpr int kDefaultColorButton = 1173;
  static constexpr unsigned kMaxDelay = 10000;
  static constexpr unsigned kDelayStep = 50;
  static constexpr unsigned kMaxTimes = 1000;

  CUpdatePrintProperityPage();

  // What the sheet copies from every object before the rest.
  void SetTextValues(int dataSourceAllowed, int dataSource, int excelColumn, int markClass);
  void LoadFromObject(CObjElement& element) override;
  // Puts the stored data-source and column choices back into their lists.
  void RestoreComboSelections();

  // Members, for the sheet and the tests.
  int markOn = 0;
  unsigned startDelay = 0;
  unsigned changeDelay = 0;
  unsigned times = 0;
  std::string layerText;
  int databaseKey = -1;
  float emptySpeed = 0;
  float lineSpeed = 0;
  std::string dataSourceText;
  std::string excelColumnText;
  int markClass = -1;
  int layerIndex = 0;
  int dataSourceIndex = 0;
  int excelColumnIndex = 0;
  int dataSourceAllowed = 0;
  COLORREF colour = 0;

 protected:
  void OnInitDialog() override;

 private:
  void EnableMarkControls();
  void EnableDataSource();
  void OnDelaySpin(unsigned& value, int delta, int id);
  void OnTimesSpin(int delta);
  void OnUnsignedKey(const unsigned& value, int id);
  void OnFloatKey(const float& value, int id);
  void OnColorClicked();
  void SelectStored(QComboBox* combo, int index, std::string& text);

  QCheckBox* markCheck_;
  CNotifyEdit* startEdit_;
  CNotifyEdit* changeEdit_;
  CNotifyEdit* timesEdit_;
  CSpinButton* startSpin_ = nullptr;
  CSpinButton* changeSpin_ = nullptr;
  CSpinButton* timesSpin_ = nullptr;
  QComboBox* layerCombo_;
  QComboBox* sourceCombo_;
  QComboBox* columnCombo_;
  CColorButton* colorButton_;
  QPushButton* defaultColorButton_;
};
