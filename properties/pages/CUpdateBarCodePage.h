#pragma once
// A 2-D code (DataMatrix ECC200 or QR Code): symbology and options, the
// encoded text (prefix, serial number and suffix, or a scanned text), the
// placement of the symbol and its human-readable text, and the path
// optimisation of the modules. In scan mode a scanner's burst of keys is
// gathered and reported once, when the keys have stopped for the scan gap;
// the scanned text then stays selected, so the next scan replaces it.
#include <cstdint>

#include "properties/framework/CPropertyPage.h"

class QComboBox;
class QLineEdit;

class CUpdateBarCodePage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 176;
  static constexpr int kPageCode = 19;
  static constexpr int kDataMatrix = 1005;
  static constexpr int kQr = 1006;
  static constexpr int kFormat = 1007;
  static constexpr int kCodeType = 1008;
  static constexpr int kPrefix = 1011;
  static constexpr int kCodeX = 1012;
  static constexpr int kCodeY = 1013;
  static constexpr int kTextAlign = 1014;
  static constexpr int kOutText = 1015;
  static constexpr int kSerial = 1016;
  static constexpr int kSuffix = 1017;
  static constexpr int kJump = 1018;
  static constexpr int kSameNo = 1019;
  static constexpr int kCurrent = 1020;
  static constexpr int kTextX = 1021;
  static constexpr int kTextY = 1022;
  static constexpr int kVersion = 1024;
  static constexpr int kTextXSpin = 1025;
  static constexpr int kTextYSpin = 1026;
  static constexpr int kErrorLevel = 1027;
  static constexpr int kMask = 1029;
  static constexpr int kOptimize = 1030;
  static constexpr int kDotSize = 1031;
  static constexpr int kString = 1032;
  static constexpr int kScan = 1033;
  static constexpr int kRotate = 1077;
  static constexpr int kDate = 1084;
  static constexpr int kCodeXSpin = 1139;
  static constexpr int kCodeYSpin = 1143;
  static constexpr int kTwoLine = 1183;
  static constexpr int kOffsetX = 1184;
  static constexpr int kOffsetY = 1185;
  // The gap after a scanner's last key that ends its burst, on the process
  // clock (platform/Clock.h): the page's window timer only wakes it to look.
  static constexpr int kScanGapMs = 500;

  CUpdateBarCodePage();
  // The code's settings, its serial parts and its placement.
  void LoadFromObject(CObjElement& element) override;
  bool LoadAdvancedValues(CObjElement& element) override;
  void PrepareValue(int id) override;

  int symbology = -1;  // 0 DataMatrix, 1 QR
  std::string formatText, codeTypeText, versionText, maskText, errorText, optimizeText, alignText, dateText;
  int format = 0, codeType = 0, version = 0, mask = 0, errorLevel = 0, optimize = 0, align = 0, dateMode = 0;
  float dotSize = 0;
  float rotate = 0;
  double codeX = 0, codeY = 0, textX = 0, textY = 0;
  int outText = 0;
  int twoLine = 0;
  float offsetX = 0, offsetY = 0;
  std::string prefix, serial, suffix;
  unsigned jump = 0, sameNo = 0, current = 0;
  int scan = 0;
  std::string scanned;

  bool IsScanTimerActive() const { return scanTimerId_ != 0; }
  // The id of the running scan timer (its timer events carry it), 0 when none runs.
  int ScanTimerId() const { return scanTimerId_; }

 protected:
  void OnInitDialog() override;
  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void EnableLists();
  void FocusScanText();
  void OnKey(int id);
  void OnSpin(double& value, int delta, int id);
  void OnScanTimer();
  void StartScanTimer(int ms);
  void KillScanTimer();

  QComboBox* dmLists_[2] = {};
  QComboBox* qrLists_[3] = {};
  QLineEdit* scanEdit_ = nullptr;
  int scanTimerId_ = 0;
  std::int64_t lastScanKeyMicros_ = 0;
};

// The three entries of the "Additional date" lists for a local date:
// "No system date", year - 2000 with two-digit month and day, the full year.
QStringList AdditionalDateEntries(int year, int month, int day);
// The same for today.
QStringList TodayDateEntries();
