#include "marking/controller/MarkOrder.h"

#include "document/objects/CObjElement.h"
#include "document/path/NearestEndGrid.h"

namespace {

constexpr double kFarAway = 4e298;

}  // namespace

MarkOrder::MarkOrder(std::vector<CObjElement*> objects)
    : objects_(std::move(objects)), taken_(objects_.size(), 0), remaining_(objects_.size()) {
  ends_.reserve(objects_.size());
  for (const CObjElement* e : objects_) ends_.push_back(HatchSegment{e->startPoint, e->endPoint});
}

MarkOrder::~MarkOrder() = default;

CObjElement* MarkOrder::Take(std::size_t i) {
  taken_[i] = 1;
  --remaining_;
  if (index_) index_->Remove(static_cast<long>(i));
  while (first_ < taken_.size() && taken_[first_]) ++first_;
  return objects_[i];
}

CObjElement* MarkOrder::TakeFirst() {
  if (remaining_ == 0) return nullptr;
  return Take(first_);
}

std::size_t MarkOrder::ScanNearest(const CDoublePoint& position, int& direction) const {
  direction = 0;
  double best = kFarAway;
  std::size_t winner = objects_.size();
  for (std::size_t i = first_; i < objects_.size(); ++i) {
    if (taken_[i]) continue;
    const double toStart = PointDistance(position, ends_[i].first);
    if (toStart < best) {
      best = toStart;
      winner = i;
      direction = 1;
    }
    const double toEnd = PointDistance(position, ends_[i].second);
    if (toEnd < best) {
      best = toEnd;
      winner = i;
      direction = -1;
    }
  }
  if (winner == objects_.size()) {
    direction = 0;
    winner = first_;
  }
  return winner;
}

void MarkOrder::LayIndex() {
  indexLaid_ = true;
  for (const HatchSegment& s : ends_)
    if (!NearestEndGrid::Indexable(s.first) || !NearestEndGrid::Indexable(s.second)) return;
  index_ = std::make_unique<NearestEndGrid>(ends_);
  for (std::size_t i = 0; i < taken_.size(); ++i)
    if (taken_[i]) index_->Remove(static_cast<long>(i));
}

CObjElement* MarkOrder::TakeNearest(const CDoublePoint& position, int& direction) {
  direction = 0;
  if (remaining_ == 0) return nullptr;
  if (!indexLaid_) LayIndex();
  // The index tells the objects apart as the scan does whenever the
  // distances are numbers below the scan's starting value, which they are
  // for indexable points; a position that is not gets the scan itself.
  if (!index_ || !NearestEndGrid::Indexable(position)) return Take(ScanNearest(position, direction));
  const std::size_t i = static_cast<std::size_t>(index_->Nearest(position));
  const double toStart = PointDistance(position, ends_[i].first);
  const double toEnd = PointDistance(position, ends_[i].second);
  direction = toEnd < toStart ? -1 : 1;
  return Take(i);
}
