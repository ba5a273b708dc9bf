#include "platform/DeviceContext.h"

#include "platform/PictureLoader.h"

namespace platform {

void DeviceContext::Polyline(const DcPoint* points, int count) {
  if (count <= 0) return;
  MoveTo(points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) LineTo(points[i].x, points[i].y);
}

void DeviceContext::MoveOrLineTo(const DcPoint* points, const std::uint8_t* joined, int count) {
  for (int i = 0; i < count; ++i) {
    if (joined[i])
      LineTo(points[i].x, points[i].y);
    else
      MoveTo(points[i].x, points[i].y);
  }
}

DcFont DeviceContext::SelectFont(const DcFont& font) {
  const DcFont previous = font_;
  font_ = font;
  return previous;
}

COLORREF DeviceContext::SetTextColor(COLORREF color) {
  const COLORREF previous = textColor_;
  textColor_ = color;
  return previous;
}

UINT DeviceContext::SetTextAlign(UINT align) {
  const UINT previous = textAlign_;
  textAlign_ = align;
  return previous;
}

DcSize DeviceContext::GetTextExtent(const std::string& utf8) const {
  constexpr int kCharWidth = 8;
  constexpr int kCharHeight = 16;
  int chars = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;  // continuation bytes belong to the one before
  }
  return {chars * kCharWidth, kCharHeight};
}

void RecordingDeviceContext::Record(DcOp::Kind kind, std::vector<int> args, COLORREF color, std::string text) {
  DcOp op;
  op.kind = kind;
  op.args = std::move(args);
  op.pen = pen_;
  op.brush = brush_;
  op.color = color;
  op.text = std::move(text);
  ops_.push_back(std::move(op));
}

DcPoint RecordingDeviceContext::MoveTo(int x, int y) {
  const DcPoint previous = pos_;
  Record(DcOp::MoveTo, {x, y});
  pos_ = {x, y};
  return previous;
}

void RecordingDeviceContext::LineTo(int x, int y) {
  Record(DcOp::LineTo, {x, y});
  pos_ = {x, y};
}

DcPoint RecordingDeviceContext::GetCurrentPosition() const { return pos_; }

DcPen RecordingDeviceContext::SelectPen(const DcPen& pen) {
  const DcPen previous = pen_;
  pen_ = pen;
  Record(DcOp::SelectPen, {});
  return previous;
}

DcBrush RecordingDeviceContext::SelectBrush(const DcBrush& brush) {
  const DcBrush previous = brush_;
  brush_ = brush;
  Record(DcOp::SelectBrush, {});
  return previous;
}

DcPen RecordingDeviceContext::CurrentPen() const { return pen_; }
DcBrush RecordingDeviceContext::CurrentBrush() const { return brush_; }

void RecordingDeviceContext::SetPixel(int x, int y, COLORREF color) { Record(DcOp::SetPixel, {x, y}, color); }

void RecordingDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  Record(DcOp::Ellipse, {left, top, right, bottom});
}

void RecordingDeviceContext::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  Record(DcOp::Arc, {left, top, right, bottom, xStart, yStart, xEnd, yEnd});
}

void RecordingDeviceContext::FloodFill(int x, int y, COLORREF border) { Record(DcOp::FloodFill, {x, y}, border); }

void RecordingDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  Record(DcOp::Rectangle, {left, top, right, bottom});
}

void RecordingDeviceContext::FillSolidRect(int left, int top, int width, int height, COLORREF color) {
  Record(DcOp::FillSolidRect, {left, top, width, height}, color);
}

void RecordingDeviceContext::TextOut(int x, int y, const std::string& utf8) {
  Record(DcOp::TextOut, {x, y}, textColor_, utf8);
  ops_.back().font = font_;
  ops_.back().align = textAlign_;
}

bool RecordingDeviceContext::DrawBitmap(int left, int top, int width, int height, const PictureBitmap& bitmap) {
  Record(DcOp::DrawBitmap, {left, top, width, height, bitmap.width, bitmap.height});
  return true;
}

}  // namespace platform
