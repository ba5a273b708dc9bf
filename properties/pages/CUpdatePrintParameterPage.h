#pragma once
// The work area's marking parameters: speeds (with their gauges), delays,
// step lengths and the rotary-axis constants. The step lengths and the
// rotary constants are locked behind access codes. "On stable delay" is the
// machine-wide start-mark delay, kept in the registry, not in the record.
#include <string>

#include "properties/framework/CPropertyPage.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

class CUpdatePrintParameterPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 154;
  static constexpr int kPageCode = 50;
  static constexpr int kAcceleration = 1003;
  static constexpr int kPreGas = 1004;
  static constexpr int kResetSpeed = 1014;
  static constexpr int kPenUpSpeed = 1015;
  static constexpr int kLineSpeed = 1016;
  static constexpr int kStartDelay = 1017;
  static constexpr int kGasOnDelay = 1018;
  static constexpr int kStepX = 1019;
  static constexpr int kPassword = 1020;
  static constexpr int kZConst = 1021;
  static constexpr int kCorrection = 1022;
  static constexpr int kTransConst = 1023;
  static constexpr int kMotorDiameter = 1024;
  static constexpr int kFractionize = 1025;
  static constexpr int kNote = 1026;
  static constexpr int kStepAngle = 1027;
  static constexpr int kGasOffDelay = 1028;
  static constexpr int kProtect = 1029;
  static constexpr int kResetGauge = 1030;
  static constexpr int kPenUpGauge = 1031;
  static constexpr int kLineGauge = 1032;
  static constexpr int kStepY = 1033;
  static constexpr int kResetSpin = 1034;
  static constexpr int kDotDelay = 1035;
  static constexpr int kPenUpSpin = 1036;
  static constexpr int kLineSpin = 1037;
  static constexpr int kPenUpHighSpeed = 1038;
  static constexpr int kPenUpHighGauge = 1039;
  static constexpr int kPenUpHighSpin = 1040;
  static constexpr int kDelayPre = 1041;
  static constexpr int kDelayLast = 1042;
  static constexpr int kOffStableDelay = 1043;
  static constexpr int kOnStableDelay = 1044;
  static constexpr int kSpeedLevel = 1114;
  static constexpr unsigned kMaxStartMarkDelay = 599999;

  // Access modes of the locked groups.
  enum Mode { kLocked = 0, kStepsOpen = 1, kRotaryOpen = 2 };

  CUpdatePrintParameterPage();
  void LoadFromObject(CObjElement& element) override;

  // Z constant of the rotary axis from its constants (pi as the page writes it).
  static double ZConstant(int exponent, double transConst, double motorDiameter, double stepAngle,
                          double correction, double pi1000 = 3141.5926);
  // 2 to the power of the exponent; 64 for exponents outside 0..10.
  static int Divisor(int exponent);

  double resetSpeed = 0;
  double penUpSpeed = 0;
  double penUpHighSpeed = 0;
  double lineSpeed = 0;
  int acceleration = 0;
  int speedLevel = 0;
  std::string speedText;
  unsigned startDelay = 0;
  unsigned gasOnDelay = 0;
  unsigned gasOffDelay = 0;
  int preGas = 0;
  unsigned onStableDelay = 0;
  int delayPre = 0;
  unsigned dotDelay = 0;
  int delayLast = 0;
  int offStableDelay = 0;
  double stepX = 0;
  double stepY = 0;
  std::string password;
  double zConst = 0;
  double correction = 0;
  double transConst = 0;
  int microstep = 0;
  double stepAngle = 0;
  double motorDiameter = 0;
  int mode = kLocked;
  int divisor = 0;

 protected:
  void OnInitDialog() override;

 private:
  void ComputeRotaryReadouts();
  void SetGauges();
  // Opens the fields of the mode's group and locks every other protected field.
  void ApplyAccess(int newMode);
  // Whether the group of a reporting field is open; if not, the field is reset.
  bool TakesLockedField(int group, int id);
  void OnPasswordUpdate();
  void OnProtect();
  void OnIntKey(int id);
  void OnSpeedKey(double& value, int id);
  void OnStepKey(double& value, int id);
  void OnRotaryKey(double& value, int id);
  void OnRotaryChange(int id);
  void OnFractionize();
  void OnSpeedSpin(double& value, double top, int delta, int id);
  void OnSpeedLevel();
  void OnStableDelayChange();
  QLineEdit* Edit(int id) const;

  QProgressBar* gauges_[4] = {};
  QPushButton* protect_ = nullptr;
  QComboBox* speedCombo_ = nullptr;
  QComboBox* fractionize_ = nullptr;
};
