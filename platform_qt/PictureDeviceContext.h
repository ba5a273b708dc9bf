#pragma once
// A device context over a picture of its own, which a window shows. Any
// thread may draw into it (the marking worker draws its progress) while the
// user-interface thread shows it: every call holds the picture's lock, and
// the window hears of changes through an event to the picture, on the thread
// the picture was made on, once per batch of drawing however many calls the
// batch held.
#include <QEvent>
#include <QImage>
#include <QObject>
#include <atomic>
#include <functional>
#include <mutex>

#include "platform/DeviceContext.h"

class QPainter;

namespace platform_qt {

class QPainterDeviceContext;

class PictureDeviceContext : public QObject, public platform::DeviceContext {
 public:
  PictureDeviceContext();
  ~PictureDeviceContext() override;

  // A fresh picture of the size (at least 1 x 1) filled with the colour; the
  // position, pen and brush stay.
  void Reset(int width, int height, COLORREF background);
  // A copy of the picture as it stands.
  QImage Image() const;
  // Draws the picture with its top-left corner at the point.
  void DrawOn(QPainter& painter, int x, int y) const;
  // Called on the picture's own thread after drawing; set it there too.
  void SetChangeHandler(std::function<void()> handler);

  platform::DcPoint MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  platform::DcPoint GetCurrentPosition() const override;
  platform::DcPen SelectPen(const platform::DcPen& pen) override;
  platform::DcBrush SelectBrush(const platform::DcBrush& brush) override;
  platform::DcPen CurrentPen() const override;
  platform::DcBrush CurrentBrush() const override;
  void SetPixel(int x, int y, COLORREF color) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) override;
  void FloodFill(int x, int y, COLORREF border) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillSolidRect(int left, int top, int width, int height, COLORREF color) override;
  void TextOut(int x, int y, const std::string& utf8) override;
  platform::DcSize GetTextExtent(const std::string& utf8) const override;
  void Polyline(const platform::DcPoint* points, int count) override;
  bool DrawBitmap(int left, int top, int width, int height, const platform::PictureBitmap& bitmap) override;

 protected:
  bool event(QEvent* e) override;

 private:
  static QEvent::Type ChangedEvent();
  // Runs the drawing on a painter over the picture, under the lock, with the
  // context's position, pen and brush; then reports the change.
  void Paint(const std::function<void(QPainterDeviceContext&)>& draw);
  void Changed();

  mutable std::mutex mutex_;
  QImage image_;
  platform::DcPoint pos_;
  platform::DcPen pen_;
  platform::DcBrush brush_{false, RGB(255, 255, 255)};
  std::atomic<bool> changePending_{false};
  std::function<void()> onChanged_;  // used on the picture's own thread only
};

}  // namespace platform_qt
