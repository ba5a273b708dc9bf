#include "app/views/model/ViewportDeviceContext.h"

#include <algorithm>

ViewportDeviceContext::ViewportDeviceContext(platform::DeviceContext& target, int width, int height, int margin)
    : target_(target), minX_(-margin), minY_(-margin), maxX_(width + margin), maxY_(height + margin) {
  pos_ = target_.GetCurrentPosition();
  targetPos_ = pos_;
}

bool ViewportDeviceContext::BoxOutside(int left, int top, int right, int bottom) const {
  return std::max(left, right) < minX_ || std::min(left, right) > maxX_ || std::max(top, bottom) < minY_ ||
         std::min(top, bottom) > maxY_;
}

void ViewportDeviceContext::SyncTarget() {
  if (!(targetPos_ == pos_)) {
    target_.MoveTo(pos_.x, pos_.y);
    targetPos_ = pos_;
  }
}

platform::DcPoint ViewportDeviceContext::MoveTo(int x, int y) {
  const platform::DcPoint previous = pos_;
  pos_ = {x, y};
  return previous;
}

void ViewportDeviceContext::LineTo(int x, int y) {
  const platform::DcPoint to{x, y};
  if (BoxOutside(pos_.x, pos_.y, x, y) ||
      (lastSegmentValid_ && ((lastFrom_ == pos_ && lastTo_ == to) || (lastFrom_ == to && lastTo_ == pos_)))) {
    ++dropped_;
    pos_ = to;
    return;
  }
  SyncTarget();
  target_.LineTo(x, y);
  lastSegmentValid_ = true;
  lastFrom_ = pos_;
  lastTo_ = to;
  pos_ = to;
  targetPos_ = to;
}

void ViewportDeviceContext::SetPixel(int x, int y, COLORREF color) {
  if (x < minX_ || x > maxX_ || y < minY_ || y > maxY_) {
    ++dropped_;
    return;
  }
  target_.SetPixel(x, y, color);
}

void ViewportDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  if (BoxOutside(left, top, right, bottom)) {
    ++dropped_;
    return;
  }
  target_.Ellipse(left, top, right, bottom);
}

void ViewportDeviceContext::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  if (BoxOutside(left, top, right, bottom)) {
    ++dropped_;
    return;
  }
  target_.Arc(left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

void ViewportDeviceContext::FloodFill(int x, int y, COLORREF border) {
  if (x < minX_ || x > maxX_ || y < minY_ || y > maxY_) {
    ++dropped_;
    return;
  }
  target_.FloodFill(x, y, border);
}

void ViewportDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  if (BoxOutside(left, top, right, bottom)) {
    ++dropped_;
    return;
  }
  target_.Rectangle(left, top, right, bottom);
}

void ViewportDeviceContext::FillSolidRect(int left, int top, int width, int height, COLORREF color) {
  if (BoxOutside(left, top, left + width, top + height)) {
    ++dropped_;
    return;
  }
  target_.FillSolidRect(left, top, width, height, color);
}
