#pragma once
// The rotary-axis switches, the work-piece diameter, the mother line and the
// rotary speed. "eliminate un-dir space" and its value are machine-wide: the
// page stores them in the machine settings record and saves it itself.
#include <functional>

#include "properties/framework/CPropertyPage.h"

class CUpdateRoateSetPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 157;
  static constexpr int kPageCode = 53;
  static constexpr int kDiameter = 1014;
  static constexpr int kMotherLine = 1015;
  static constexpr int kRotateSpeed = 1016;
  static constexpr int kEliminateValue = 1017;
  static constexpr int kRotateMark = 1042;
  static constexpr int kThreeAxis = 1043;
  static constexpr int kTwoAxis = 1044;
  static constexpr int kYForZ = 1045;
  static constexpr int kXForZ = 1046;
  static constexpr int kDiameterSpin = 1047;
  static constexpr int kEliminate = 1108;
  static constexpr int kBackZ = 1160;
  static constexpr int kNoSeekOrigin = 1161;
  static constexpr int kApplySpeed = 1179;
  static constexpr int kRotateForLine = 1181;
  static constexpr int kTestMotherLine = 1182;

  CUpdateRoateSetPage();
  void LoadFromObject(CObjElement& element) override;
  // How the page writes the machine settings file (the shell's save); the
  // record is only changed in memory until one is set.
  static void SetMachineSetSaver(std::function<void()> saver);

  int rotateMark = 0;
  int rotateStyle = -1;  // 0 three-axis, 1 two-axis
  int rotateAxis = -1;   // 0 Y for Z, 1 X for Z
  double diameter = 0;
  int backZ = 0;
  int noSeekOrigin = 0;
  int rotateForLine = 0;
  double motherLine = 0;
  float rotateSpeed = 0;
  int applySpeed = 0;
  int eliminate = 0;
  float eliminateValue = 0;

 protected:
  void OnInitDialog() override;

 private:
  void EnableByRotateMark();
  void EnableMotherLine();
  void OnClick(int id);
  void OnBoundedKey(double& value, double lo, double hi, int id);
  void OnSpeedKey();
  void OnDiameterSpin(int delta);
  void OnEliminateClick();
  void OnEliminateValueChange();
  void Enable(int id, bool on);
};
