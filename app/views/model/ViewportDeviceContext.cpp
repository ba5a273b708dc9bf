#include "app/views/model/ViewportDeviceContext.h"

#include <algorithm>

ViewportDeviceContext::ViewportDeviceContext(platform::DeviceContext& target, int width, int height, int margin)
    : target_(target), minX_(-margin), minY_(-margin), maxX_(width + margin), maxY_(height + margin) {
  path_.pos = target_.GetCurrentPosition();
  run_.reserve(1024);
}

ViewportDeviceContext::~ViewportDeviceContext() { Flush(); }

void ViewportDeviceContext::Flush() {
  if (run_.size() >= 2) target_.Polyline(run_.data(), static_cast<int>(run_.size()));
  run_.clear();
}

bool ViewportDeviceContext::BoxOutside(int left, int top, int right, int bottom) const {
  return std::max(left, right) < minX_ || std::min(left, right) > maxX_ || std::max(top, bottom) < minY_ ||
         std::min(top, bottom) > maxY_;
}

bool ViewportDeviceContext::PointOutside(int x, int y) const { return x < minX_ || x > maxX_ || y < minY_ || y > maxY_; }

platform::DcPoint ViewportDeviceContext::MoveTo(int x, int y) {
  const platform::DcPoint previous = path_.pos;
  path_.pos = {x, y};
  return previous;
}

inline void ViewportDeviceContext::Step(PathState& path, platform::DcPoint to, long& dropped) {
  const platform::DcPoint from = path.pos;
  path.pos = to;
  if (path.lastValid) {
    // A step within the pixel a drawn segment ended on, or the same segment
    // again (either way round), adds nothing.
    if ((to == from && path.lastTo == from) || (path.lastFrom == from && path.lastTo == to) ||
        (path.lastFrom == to && path.lastTo == from)) {
      ++dropped;
      return;
    }
  }
  if (BoxOutside(from.x, from.y, to.x, to.y)) {
    ++dropped;
    return;
  }
  if (run_.empty() || !(run_.back() == from)) {
    Flush();
    run_.push_back(from);
  }
  run_.push_back(to);
  path.lastValid = true;
  path.lastFrom = from;
  path.lastTo = to;
}

void ViewportDeviceContext::LineTo(int x, int y) { Step(path_, {x, y}, dropped_); }

void ViewportDeviceContext::MoveOrLineTo(const platform::DcPoint* points, const std::uint8_t* joined, int count) {
  // The path's state kept in locals while the points go by.
  PathState path = path_;
  long dropped = dropped_;
  for (int i = 0; i < count; ++i) {
    if (joined[i])
      Step(path, points[i], dropped);
    else
      path.pos = points[i];
  }
  path_ = path;
  dropped_ = dropped;
}


platform::DcPen ViewportDeviceContext::SelectPen(const platform::DcPen& pen) {
  Flush();
  // What the old pen drew is no reason to drop what the new one draws.
  path_.lastValid = false;
  return target_.SelectPen(pen);
}

platform::DcBrush ViewportDeviceContext::SelectBrush(const platform::DcBrush& brush) {
  Flush();
  return target_.SelectBrush(brush);
}

void ViewportDeviceContext::SetPixel(int x, int y, COLORREF color) {
  Flush();
  if (PointOutside(x, y)) {
    ++dropped_;
    return;
  }
  target_.SetPixel(x, y, color);
}

void ViewportDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  Flush();
  if (BoxOutside(left, top, right, bottom)) {
    ++dropped_;
    return;
  }
  target_.Ellipse(left, top, right, bottom);
}

void ViewportDeviceContext::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  Flush();
  if (BoxOutside(left, top, right, bottom)) {
    ++dropped_;
    return;
  }
  target_.Arc(left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

void ViewportDeviceContext::FloodFill(int x, int y, COLORREF border) {
  Flush();
  if (PointOutside(x, y)) {
    ++dropped_;
    return;
  }
  target_.FloodFill(x, y, border);
}

void ViewportDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  Flush();
  if (BoxOutside(left, top, right, bottom)) {
    ++dropped_;
    return;
  }
  target_.Rectangle(left, top, right, bottom);
}

void ViewportDeviceContext::FillSolidRect(int left, int top, int width, int height, COLORREF color) {
  Flush();
  if (BoxOutside(left, top, left + width, top + height)) {
    ++dropped_;
    return;
  }
  target_.FillSolidRect(left, top, width, height, color);
}

void ViewportDeviceContext::TextOut(int x, int y, const std::string& utf8) {
  Flush();
  target_.TextOut(x, y, utf8);
}

bool ViewportDeviceContext::DrawBitmap(int left, int top, int width, int height, const platform::PictureBitmap& bitmap) {
  Flush();
  return target_.DrawBitmap(left, top, width, height, bitmap);
}
