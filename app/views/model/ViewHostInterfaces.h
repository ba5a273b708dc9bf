#pragma once
// What the layout view's model needs of the windows around it: its own window
// (repaints, client size, scroll bars), the child frame (maximising, rulers)
// and the main frame (status panes, record number). The widgets implement
// these; tests hand in recording doubles.
#include "document/geometry/CDoubleRect.h"
#include "marking/controller/MarkInterfaces.h"
#include "platform/DeviceContext.h"

class IViewWindow {
 public:
  virtual ~IViewWindow() = default;
  virtual void Invalidate() = 0;
  // Client pixels.
  virtual void InvalidateRect(const CDeviceRect& rect) = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Scroll position in pixels of the scroll area.
  virtual platform::DcPoint GetScrollPosition() const = 0;
  // The scroll area's extent; the page is the client size.
  virtual void SetScrollSizes(int width, int height) = 0;
  virtual void ScrollToPosition(int x, int y) = 0;
  // "Pointer position" dialog: edits x and y in place; false on Cancel.
  virtual bool EditPointerPosition(double& x, double& y) = 0;
};

class IViewChildFrame {
 public:
  virtual ~IViewChildFrame() = default;
  virtual void ActivateFrame() = 0;  // shown maximised
  virtual void SetRulerOrigin(int x, int y) = 0;
  virtual void InvalidateRulers(float scale) = 0;
  virtual void NotifyRuler(int which) = 0;
};

// The main frame as the marking controller and the layout view use it.
class IViewMainFrame : public IMarkFrame {
 public:
  virtual void SetRecordText(int n) = 0;
};
