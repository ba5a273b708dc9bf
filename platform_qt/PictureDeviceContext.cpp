#include "platform_qt/PictureDeviceContext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "platform/RaceCheck.h"
#include "platform_qt/QPainterDeviceContext.h"

namespace platform_qt {

PictureDeviceContext::PictureDeviceContext() { Reset(1, 1, RGB(255, 255, 255)); }

PictureDeviceContext::~PictureDeviceContext() = default;

void PictureDeviceContext::Reset(int width, int height, COLORREF background) {
  {
    std::lock_guard lock(mutex_);
    image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image_.fill(QPainterDeviceContext::ToQColor(background));
  }
  Changed();
}

QImage PictureDeviceContext::Image() const {
  std::lock_guard lock(mutex_);
  return image_.copy();
}

void PictureDeviceContext::DrawOn(QPainter& painter, int x, int y) const {
  std::lock_guard lock(mutex_);
  painter.drawImage(x, y, image_);
}

void PictureDeviceContext::SetChangeHandler(std::function<void()> handler) { onChanged_ = std::move(handler); }

QEvent::Type PictureDeviceContext::ChangedEvent() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void PictureDeviceContext::Changed() {
  // One notice at a time: a worker drawing node after node must not flood
  // the user-interface thread's queue.
  if (changePending_.exchange(true)) return;
  auto* event = new QEvent(ChangedEvent());
  platform::HandOver(event);
  QCoreApplication::postEvent(this, event);
}

bool PictureDeviceContext::event(QEvent* e) {
  platform::TakeOver(e);  // made on the drawing thread
  if (e->type() != ChangedEvent()) return QObject::event(e);
  changePending_ = false;
  if (onChanged_) onChanged_();
  return true;
}

void PictureDeviceContext::Paint(const std::function<void(QPainterDeviceContext&)>& draw) {
  {
    std::lock_guard lock(mutex_);
    QPainter painter(&image_);
    QPainterDeviceContext dc(painter, &image_);
    dc.SelectPen(pen_);
    dc.SelectBrush(brush_);
    dc.MoveTo(pos_.x, pos_.y);
    dc.SelectFont(font_);
    dc.SetTextColor(textColor_);
    dc.SetTextAlign(textAlign_);
    draw(dc);
    pos_ = dc.GetCurrentPosition();
  }
  Changed();
}

platform::DcPoint PictureDeviceContext::MoveTo(int x, int y) {
  std::lock_guard lock(mutex_);
  const platform::DcPoint previous = pos_;
  pos_ = {x, y};
  return previous;
}

void PictureDeviceContext::LineTo(int x, int y) {
  Paint([x, y](QPainterDeviceContext& dc) { dc.LineTo(x, y); });
}

platform::DcPoint PictureDeviceContext::GetCurrentPosition() const {
  std::lock_guard lock(mutex_);
  return pos_;
}

platform::DcPen PictureDeviceContext::SelectPen(const platform::DcPen& pen) {
  std::lock_guard lock(mutex_);
  return std::exchange(pen_, pen);
}

platform::DcBrush PictureDeviceContext::SelectBrush(const platform::DcBrush& brush) {
  std::lock_guard lock(mutex_);
  return std::exchange(brush_, brush);
}

platform::DcPen PictureDeviceContext::CurrentPen() const {
  std::lock_guard lock(mutex_);
  return pen_;
}

platform::DcBrush PictureDeviceContext::CurrentBrush() const {
  std::lock_guard lock(mutex_);
  return brush_;
}

void PictureDeviceContext::SetPixel(int x, int y, COLORREF color) {
  {
    std::lock_guard lock(mutex_);
    if (!image_.valid(x, y)) return;
    image_.setPixelColor(x, y, QPainterDeviceContext::ToQColor(color));
  }
  Changed();
}

void PictureDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  Paint([=](QPainterDeviceContext& dc) { dc.Ellipse(left, top, right, bottom); });
}

void PictureDeviceContext::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  Paint([=](QPainterDeviceContext& dc) { dc.Arc(left, top, right, bottom, xStart, yStart, xEnd, yEnd); });
}

void PictureDeviceContext::FloodFill(int x, int y, COLORREF border) {
  Paint([=](QPainterDeviceContext& dc) { dc.FloodFill(x, y, border); });
}

void PictureDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  Paint([=](QPainterDeviceContext& dc) { dc.Rectangle(left, top, right, bottom); });
}

void PictureDeviceContext::FillSolidRect(int left, int top, int width, int height, COLORREF color) {
  Paint([=](QPainterDeviceContext& dc) { dc.FillSolidRect(left, top, width, height, color); });
}

void PictureDeviceContext::TextOut(int x, int y, const std::string& utf8) {
  Paint([&](QPainterDeviceContext& dc) { dc.TextOut(x, y, utf8); });
}

platform::DcSize PictureDeviceContext::GetTextExtent(const std::string& utf8) const {
  std::lock_guard lock(mutex_);
  // Measured for the picture, as a painter on it would.
  const QFontMetrics metrics(QPainterDeviceContext::ToQFont(font_, QFont()), &image_);
  return {metrics.horizontalAdvance(QString::fromStdString(utf8)), metrics.height()};
}

void PictureDeviceContext::Polyline(const platform::DcPoint* points, int count) {
  Paint([=](QPainterDeviceContext& dc) { dc.Polyline(points, count); });
}

bool PictureDeviceContext::DrawBitmap(int left, int top, int width, int height, const platform::PictureBitmap& bitmap) {
  bool drawn = false;
  Paint([&](QPainterDeviceContext& dc) { drawn = dc.DrawBitmap(left, top, width, height, bitmap); });
  return drawn;
}

}  // namespace platform_qt
