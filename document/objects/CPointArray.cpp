#include "document/objects/CPointArray.h"

#include <algorithm>
#include <cstdlib>

bool CPointArray::HasNearPoint(int x, int y) const {
  for (auto it = points_.rbegin(); it != points_.rend(); ++it) {
    if (std::abs(x - it->x) <= 1 && std::abs(y - it->y) < 2) return true;
  }
  return false;
}

CPixelRect CPointArray::GetBoundRect() const {
  if (points_.empty()) return {};
  CPixelRect r{points_[0].x, points_[0].y, points_[0].x, points_[0].y};
  for (const CIntPoint& p : points_) {
    r.left = std::min(r.left, p.x);
    r.right = std::max(r.right, p.x);
    r.top = std::max(r.top, p.y);
    r.bottom = std::min(r.bottom, p.y);
  }
  return r;
}

int CPointArrayList::AddBlob(int x, int y) {
  blobs_.emplace_back();
  blobs_.back().Add(x, y);
  return GetSize() - 1;
}
