#pragma once
// Device-context drawing over a QPainter. Flood fill reads the pixels of the
// target image (given, or the painter's own device when it is an image); on
// other devices it fills the last ellipse drawn when the seed lies inside it,
// which is how the layout view fills its dots.
#include <QImage>
#include <QPainter>
#include <optional>
#include <vector>

#include "platform/DeviceContext.h"

namespace platform_qt {

class QPainterDeviceContext : public platform::DeviceContext {
 public:
  explicit QPainterDeviceContext(QPainter& painter, QImage* target = nullptr);

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

  static QColor ToQColor(COLORREF color);
  // The base font as the DcFont changes it.
  static QFont ToQFont(const platform::DcFont& font, QFont base);

 private:
  // The painter's font as the selected DcFont changes it.
  QFont SelectedFont() const;
  void ApplyPen();
  void ApplyBrush();
  void FloodFillImage(int x, int y, COLORREF border);
  // Thin solid lines may be written into the target image directly.
  bool CanWritePixels() const;

  QPainter& painter_;
  QImage* target_;
  platform::DcPoint pos_;
  platform::DcPen pen_;
  platform::DcBrush brush_{false, RGB(255, 255, 255)};
  std::optional<QRect> lastEllipse_;
  std::vector<unsigned char> floodSeen_;
  std::vector<QPoint> polyline_;
};

}  // namespace platform_qt
