#pragma once
// Passes drawing on to another device context, dropping the line segments
// that cannot touch the viewport (both ends beyond one of its edges) and
// steps that add nothing (a repeated segment, a step within the pixel just
// drawn), and handing connected segments over as one polyline. A layout of a
// million points mostly lands on pixels already drawn at a low zoom and
// outside the window at a high one: only what shows reaches the painter.
// Objects wholly beyond the box (Visible) are not walked at all: the view
// hands the box to CObjElement::Draw, which then only records where their
// paths start and end.
#include <vector>

#include "platform/DeviceContext.h"

class ViewportDeviceContext : public platform::DeviceContext {
 public:
  // The viewport is [0, width) x [0, height) with a margin for wide pens.
  ViewportDeviceContext(platform::DeviceContext& target, int width, int height, int margin = 8);
  ~ViewportDeviceContext() override;

  platform::DcPoint MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void MoveOrLineTo(const platform::DcPoint* points, const std::uint8_t* joined, int count) override;
  platform::DcPoint GetCurrentPosition() const override { return path_.pos; }
  platform::DcPen SelectPen(const platform::DcPen& pen) override;
  platform::DcBrush SelectBrush(const platform::DcBrush& brush) override;
  platform::DcPen CurrentPen() const override { return target_.CurrentPen(); }
  platform::DcBrush CurrentBrush() const override { return target_.CurrentBrush(); }
  void SetPixel(int x, int y, COLORREF color) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) override;
  void FloodFill(int x, int y, COLORREF border) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillSolidRect(int left, int top, int width, int height, COLORREF color) override;
  void TextOut(int x, int y, const std::string& utf8) override;
  platform::DcFont SelectFont(const platform::DcFont& font) override { return target_.SelectFont(font); }
  COLORREF SetTextColor(COLORREF color) override { return target_.SetTextColor(color); }
  UINT SetTextAlign(UINT align) override { return target_.SetTextAlign(align); }
  platform::DcSize GetTextExtent(const std::string& utf8) const override { return target_.GetTextExtent(utf8); }
  bool DrawBitmap(int left, int top, int width, int height, const platform::PictureBitmap& bitmap) override;

  // Hands the pending run of segments to the target.
  void Flush();
  // The box beyond which everything drawn is dropped (the viewport and its margin).
  platform::DcRect Visible() const { return {minX_, minY_, maxX_, maxY_}; }
  long Dropped() const { return dropped_; }

 private:
  bool BoxOutside(int left, int top, int right, int bottom) const;
  bool PointOutside(int x, int y) const;
  // The current position and the last segment accepted (a repeat of it
  // in the same pen adds nothing).
  struct PathState {
    platform::DcPoint pos;
    bool lastValid = false;
    platform::DcPoint lastFrom, lastTo;
  };
  // A LineTo on the given state, counting what it drops.
  void Step(PathState& path, platform::DcPoint to, long& dropped);

  platform::DeviceContext& target_;
  int minX_, minY_, maxX_, maxY_;
  PathState path_;
  // Connected segments not yet drawn (first point, then each end).
  std::vector<platform::DcPoint> run_;
  long dropped_ = 0;
};
