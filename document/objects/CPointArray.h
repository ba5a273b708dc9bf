#pragma once
// Blobs of pixels for the picture conversion: a growable array of integer
// pixel positions, and an owning list of such blobs.
#include <vector>

struct CIntPoint {
  int x = 0;
  int y = 0;
};

// Pixel bounds of a blob: left and right the smallest and largest x, top and
// bottom the largest and smallest y.
struct CPixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class CPointArray {
 public:
  void Add(int x, int y) { points_.push_back(CIntPoint{x, y}); }
  int GetSize() const { return static_cast<int>(points_.size()); }
  const CIntPoint& operator[](int i) const { return points_[static_cast<std::size_t>(i)]; }
  // True when a stored point, searched from the last to the first, lies
  // within one column (|dx| <= 1) and one row (|dy| < 2) of (x, y).
  bool HasNearPoint(int x, int y) const;
  // All 0 for an empty blob.
  CPixelRect GetBoundRect() const;

 private:
  std::vector<CIntPoint> points_;
};

class CPointArrayList {
 public:
  // A new blob holding the one point; returns its index.
  int AddBlob(int x, int y);
  CPointArray& operator[](int i) { return blobs_[static_cast<std::size_t>(i)]; }
  const CPointArray& operator[](int i) const { return blobs_[static_cast<std::size_t>(i)]; }
  int GetSize() const { return static_cast<int>(blobs_.size()); }
  void RemoveAll() { blobs_.clear(); }

 private:
  std::vector<CPointArray> blobs_;
};
