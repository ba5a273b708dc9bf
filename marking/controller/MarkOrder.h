#pragma once
// The order in which a marking pass takes the objects of one class: the
// first one left, or the one whose start or end point lies nearest the head
// (the same choice as CMarkControlWnd::PickNearestObject, which scans the
// list for every object), either way per object taken. The start and end
// points are read once, when the class is laid out; an index over them,
// laid at the first nearest pick, keeps a pass of many objects near-linear
// instead of quadratic.
#include <cstddef>
#include <memory>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/path/HatchFill.h"

class CObjElement;
class NearestEndGrid;

class MarkOrder {
 public:
  explicit MarkOrder(std::vector<CObjElement*> objects);
  ~MarkOrder();
  MarkOrder(const MarkOrder&) = delete;
  MarkOrder& operator=(const MarkOrder&) = delete;

  bool Empty() const { return remaining_ == 0; }
  // The first object left; null when none is.
  CObjElement* TakeFirst();
  // The object PickNearestObject would take from the objects left, with its
  // direction (1 start nearer, -1 end nearer, 0 taken in list order); null
  // when none is left.
  CObjElement* TakeNearest(const CDoublePoint& position, int& direction);

 private:
  CObjElement* Take(std::size_t i);
  // Indexes the points when they all can be.
  void LayIndex();
  // The list scan of PickNearestObject over the objects left.
  std::size_t ScanNearest(const CDoublePoint& position, int& direction) const;

  std::vector<CObjElement*> objects_;
  std::vector<HatchSegment> ends_;  // start and end point of each object
  std::vector<char> taken_;
  std::size_t first_ = 0;  // no object before it is left
  std::size_t remaining_ = 0;
  bool indexLaid_ = false;
  std::unique_ptr<NearestEndGrid> index_;  // null until laid, or when the points cannot be indexed
};
