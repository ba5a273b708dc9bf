#pragma once
// The layout view as the settings commands' host: its start button and
// ports, the program's machine link, the parameter record and its pages.
#include "app/settings/SettingsCommandHost.h"

class CVendrikView;

class CViewSettingsHost : public ISettingsCommandHost {
 public:
  explicit CViewSettingsHost(CVendrikView& view) : view_(view) {}

  void StopButtonWatch() override;
  void CloseUsbLink() override;
  void OpenUsbLink() override;
  void InitHardware(int mode) override;
  void WaitMilliseconds(int ms) override;
  void ReloadParameterRecord() override;
  void InvalidateView() override;
  const ComSettings* CurrentComSettings() override;
  std::string ComSettingsPath() override;
  bool ReopenRs232Port() override;
  int RunModal(QDialog& dialog) override;

 private:
  CVendrikView& view_;
};
