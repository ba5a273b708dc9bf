#pragma once
// The marking display of the layout window, as the marking controller shows
// and hides it around a job and draws its progress into it. The controller
// may ask from its worker: the window work is carried to the user-interface
// thread. The progress picture lives here, as long as the view, so a display
// closed by hand in mid-job leaves the worker a picture to draw into.
#include <memory>

#include "marking/controller/MarkInterfaces.h"

class CDisMarkFormView;
class CVendrikView;

namespace platform_qt {
class PictureDeviceContext;
}

class CViewMarkDisplay : public IMarkDisplay {
 public:
  explicit CViewMarkDisplay(CVendrikView& view);
  ~CViewMarkDisplay() override;

  void ShowSyncDisplay(bool show) override;
  // On the user-interface thread, after the display was shown: a blank
  // picture of the display's client size, shown by the display; null when
  // there is no display.
  platform::DeviceContext* GetPreviewDC() override;
  void GetClientSize(int& width, int& height) override;

 private:
  CDisMarkFormView* FormView() const;

  CVendrikView& view_;
  std::shared_ptr<platform_qt::PictureDeviceContext> picture_;
};
