#pragma once
// The marking display of the layout window, as the marking controller shows
// and hides it around a job. The controller may ask from its worker: the
// window work is carried to the user-interface thread.
#include "marking/controller/MarkInterfaces.h"

class CVendrikView;

class CViewMarkDisplay : public IMarkDisplay {
 public:
  explicit CViewMarkDisplay(CVendrikView& view) : view_(view) {}

  void ShowSyncDisplay(bool show) override;
  // The progress is drawn in the display only where it has a drawing surface
  // of its own; none here.
  platform::DeviceContext* GetPreviewDC() override { return nullptr; }
  void GetClientSize(int& width, int& height) override;

 private:
  CVendrikView& view_;
};
