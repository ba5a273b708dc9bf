#pragma once
// Passes drawing on to another device context, dropping the line segments
// that cannot touch the viewport (both ends beyond one of its edges) and
// repeated segments to the pixel already reached. A layout of a million
// points at a high zoom mostly lies outside the window; the objects still
// walk all their points (they record where their paths start and end), but
// only what shows reaches the painter.
#include "platform/DeviceContext.h"

class ViewportDeviceContext : public platform::DeviceContext {
 public:
  // The viewport is [0, width) x [0, height) with a margin for wide pens.
  ViewportDeviceContext(platform::DeviceContext& target, int width, int height, int margin = 8);

  platform::DcPoint MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  platform::DcPoint GetCurrentPosition() const override { return pos_; }
  platform::DcPen SelectPen(const platform::DcPen& pen) override { return target_.SelectPen(pen); }
  platform::DcBrush SelectBrush(const platform::DcBrush& brush) override { return target_.SelectBrush(brush); }
  platform::DcPen CurrentPen() const override { return target_.CurrentPen(); }
  platform::DcBrush CurrentBrush() const override { return target_.CurrentBrush(); }
  void SetPixel(int x, int y, COLORREF color) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) override;
  void FloodFill(int x, int y, COLORREF border) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillSolidRect(int left, int top, int width, int height, COLORREF color) override;
  void TextOut(int x, int y, const std::string& utf8) override { target_.TextOut(x, y, utf8); }
  bool DrawBitmap(int left, int top, int width, int height, const platform::PictureBitmap& bitmap) override {
    return target_.DrawBitmap(left, top, width, height, bitmap);
  }

  long Dropped() const { return dropped_; }

 private:
  bool BoxOutside(int left, int top, int right, int bottom) const;
  // Brings the target's position to ours before a drawing call.
  void SyncTarget();

  platform::DeviceContext& target_;
  int minX_, minY_, maxX_, maxY_;
  platform::DcPoint pos_;
  platform::DcPoint targetPos_;  // where the target's own position is
  // The target's last segment ended here (a repeat draws nothing new).
  bool lastSegmentValid_ = false;
  platform::DcPoint lastFrom_, lastTo_;
  long dropped_ = 0;
};
