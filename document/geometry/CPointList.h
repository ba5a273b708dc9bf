#pragma once
// A growable array of points held by value. The growth rule (grow-by, else a
// step of count/8 clamped to 4..1024) is the one every growable array of the
// document uses; Add grows geometrically on top so long appends stay linear.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/geometry/CDoublePoint.h"

class CArchive;
class CLine2D;

class CPointList {
 public:
  CPointList() = default;
  CPointList(const CPointList& other);             // copies the points one by one
  CPointList& operator=(const CPointList&) = delete;  // not offered
  virtual ~CPointList();

  int Add(const CDoublePoint& point);  // returns the new index
  CDoublePoint& ElementAt(int i) { return data_[i]; }
  const CDoublePoint& ElementAt(int i) const { return data_[i]; }
  CDoublePoint& operator[](int i) { return data_[i]; }
  const CDoublePoint& operator[](int i) const { return data_[i]; }
  int GetSize() const { return count_; }
  int GetCapacity() const { return capacity_; }
  void SetSize(int n, int growBy = -1);
  void RemoveAll() { SetSize(0, -1); }
  void SetAtGrow(int i, const CDoublePoint& point);
  // Removes point i by moving the tail down.
  void RemoveAt(int i, int count = 1);
  void InsertAt(int i, const CDoublePoint& point);
  // Copies all points of other (replacing this list's).
  void Copy(const CPointList& other);
  void Append(const CPointList& other);
  CDoublePoint* GetData() { return data_; }
  const CDoublePoint* GetData() const { return data_; }

  // Points with the selected bit 0x80: any of them / not all of them
  // (both false for an empty list).
  bool AnyHighFlag() const;
  bool NotAllHighFlag() const;
  // SnapPointToGrid on every point.
  void SnapToGrid(double xStep, double yStep);

  // Appends (flag 0) the crossings of this closed contour with the line: each
  // edge, the closing one included, counts only strictly inside its own box.
  void IntersectLine(const CLine2D& line, CPointList& hits, bool verticalMode, double x) const;

  // Count in the compact encoding, then 24 raw bytes per point.
  void Serialize(CArchive& ar);

 private:
  void Reallocate(int newCapacity);
  CDoublePoint* data_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  int growBy_ = 0;
};
