#pragma once
// The work style: repeat marking, pause position, the start and return paths
// (kept inside the marking range) and the layer delay.
#include "properties/framework/CPropertyPage.h"

class CUpdatePrintSetupPage : public CPropertyPage {
 public:
  static constexpr int kDialogId = 156;
  static constexpr int kPageCode = 52;
  static constexpr int kContinueTimes = 1014;
  static constexpr int kContinueInterval = 1015;
  static constexpr int kResetTimes = 1016;
  static constexpr int kStartX1 = 1017;  // 1017..1020 start path, 1021..1024 back path
  static constexpr int kBackY2 = 1024;
  static constexpr int kBackOrigin = 1025;
  static constexpr int kTimesSpin = 1035;
  static constexpr int kIntervalSpin = 1036;
  static constexpr int kResetSpin = 1037;
  static constexpr int kPauseOrigin = 1038;
  static constexpr int kPauseStart = 1039;
  static constexpr int kStartBackRoad = 1040;
  static constexpr int kPathSpin = 1041;  // 1041..1048, one per path value
  static constexpr int kBackOriginSpin = 1049;
  static constexpr int kLayerDelay = 1163;
  static constexpr int kClearCounter = 1169;
  static constexpr unsigned kMaxCount = 32765;

  CUpdatePrintSetupPage();
  void LoadFromObject(CObjElement& element) override;
  // The marking range of the work-area page, which bounds the paths.
  void ReceiveLinkedValue(int id, const PropValue& value) override;

  unsigned continueTimes = 0;
  unsigned continueInterval = 0;
  unsigned resetTimes = 0;
  int backOrigin = 0;
  int layerDelay = 0;
  int pausePosition = -1;
  int startBackRoad = 0;
  double path[8] = {};  // start x1, y1, x2, y2, back x1, y1, x2, y2
  double rangeX = 0;
  double rangeY = 0;

 private:
  double HalfRangeOf(int id) const;
  void OnEditKey(int id);
  void OnSpin(int spinId, int delta);
  void OnClick(int id);
};
