#pragma once
// What the settings commands need of the layout view: the start-button
// watcher, the machine link, the hardware outputs, the parameter record's
// pages, a repaint, and the modal loop (so tests can work a dialog instead of
// waiting for an operator).
#include <string>

#include "properties/link/CProperityView.h"

class QDialog;

class ISettingsCommandHost {
 public:
  virtual ~ISettingsCommandHost() = default;

  virtual void StopButtonWatch() = 0;
  virtual void CloseUsbLink() = 0;
  virtual void OpenUsbLink() = 0;
  // Re-initialises the port outputs (and restarts the button watcher).
  virtual void InitHardware(int mode) = 0;
  virtual void WaitMilliseconds(int ms) = 0;
  // Element 0 of the layout takes the machine settings over again and its
  // pages are reloaded; nothing when the layout has no elements.
  virtual void ReloadParameterRecord() = 0;
  virtual void InvalidateView() = 0;
  // The property view's text-port settings and their file; null when there
  // is no property view.
  virtual const ComSettings* CurrentComSettings() = 0;
  virtual std::string ComSettingsPath() = 0;
  // Reads the settings file again and reopens the text port; false on failure.
  virtual bool ReopenRs232Port() = 0;
  // Runs the dialog modally; QDialog::Accepted or Rejected.
  virtual int RunModal(QDialog& dialog) = 0;
};
