#include "document/geometry/CPointList.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "document/geometry/CArchive.h"
#include "document/geometry/CLine2D.h"
#include "document/geometry/SharedHelpers.h"

namespace {

// Once a list holds this many points the rule's step has reached its cap of
// 1024; from there Add grows by at least half the capacity so that long
// appends copy each point a bounded number of times. Smaller lists and every
// explicit SetSize / SetAtGrow keep the exact rule.
constexpr int kGeometricFrom = 8192;

int RuleStep(int count, int growBy) {
  if (growBy != 0) return growBy;
  return std::clamp(count / 8, 4, 1024);
}

// Slots from `used` on are zeroed; points always carry zero padding bytes.
CDoublePoint* AllocatePoints(int n, int used = 0) {
  auto* p = static_cast<CDoublePoint*>(::operator new(static_cast<std::size_t>(n) * sizeof(CDoublePoint)));
  std::memset(static_cast<void*>(p + used), 0, static_cast<std::size_t>(n - used) * sizeof(CDoublePoint));
  return p;
}

void FreePoints(CDoublePoint* p) { ::operator delete(static_cast<void*>(p)); }

// Default points (padding bytes zero, so raw writes are deterministic).
void ResetPoints(CDoublePoint* p, int n) {
  if (n > 0) std::memset(static_cast<void*>(p), 0, static_cast<std::size_t>(n) * sizeof(CDoublePoint));
}

}  // namespace

CPointList::CPointList(const CPointList& other) { Copy(other); }

CPointList::~CPointList() { FreePoints(data_); }

void CPointList::Reallocate(int newCapacity) {
  CDoublePoint* fresh = AllocatePoints(newCapacity, count_);
  if (count_ > 0) std::memcpy(static_cast<void*>(fresh), data_, static_cast<std::size_t>(count_) * sizeof(CDoublePoint));
  FreePoints(data_);
  data_ = fresh;
  capacity_ = newCapacity;
}

void CPointList::SetSize(int n, int growBy) {
  if (growBy != -1) growBy_ = growBy;
  if (n <= 0) {
    FreePoints(data_);
    data_ = nullptr;
    count_ = capacity_ = 0;
    return;
  }
  if (data_ == nullptr) {
    data_ = AllocatePoints(n);
    count_ = capacity_ = n;
    return;
  }
  if (n <= capacity_) {
    if (n > count_) ResetPoints(data_ + count_, n - count_);
    count_ = n;
    return;
  }
  int step = RuleStep(count_, growBy_);
  Reallocate(std::max(capacity_ + step, n));
  count_ = n;
}

// The point is copied first: it may live in this list's own buffer, which
// growing frees.
void CPointList::SetAtGrow(int i, const CDoublePoint& pointRef) {
  if (i < 0) return;
  CDoublePoint point = pointRef;
  if (i >= count_) SetSize(i + 1, -1);
  data_[i] = point;
}

int CPointList::Add(const CDoublePoint& pointRef) {
  CDoublePoint point = pointRef;
  if (count_ < capacity_) {  // room left: slots past the count are default points
    data_[count_] = point;
    return count_++;
  }
  if (data_ != nullptr && count_ >= kGeometricFrom) {
    int step = std::max(RuleStep(count_, growBy_), capacity_ / 2);
    Reallocate(capacity_ + step);
  }
  int index = count_;
  SetAtGrow(index, point);
  return index;
}

void CPointList::RemoveAt(int i, int count) {
  if (i < 0 || count <= 0 || i >= count_) return;
  count = std::min(count, count_ - i);
  int tail = count_ - i - count;
  if (tail > 0)
    std::memmove(static_cast<void*>(data_ + i), data_ + i + count, static_cast<std::size_t>(tail) * sizeof(CDoublePoint));
  count_ -= count;
}

void CPointList::InsertAt(int i, const CDoublePoint& pointRef) {
  if (i < 0) return;
  CDoublePoint point = pointRef;
  if (i >= count_) {
    SetAtGrow(i, point);
    return;
  }
  int old = count_;
  Add(CDoublePoint());
  std::memmove(static_cast<void*>(data_ + i + 1), data_ + i, static_cast<std::size_t>(old - i) * sizeof(CDoublePoint));
  ResetPoints(data_ + i, 1);
  data_[i] = point;
}

void CPointList::Copy(const CPointList& other) {
  if (&other == this) return;
  SetSize(other.count_, -1);
  for (int i = 0; i < other.count_; ++i) data_[i] = other.data_[i];
}

void CPointList::Append(const CPointList& other) {
  int n = other.count_;  // other may be this list
  for (int i = 0; i < n; ++i) Add(other.data_[i]);
}

bool CPointList::AnyHighFlag() const {
  for (int i = 0; i < count_; ++i)
    if (data_[i].flag & PT_SELECTED) return true;
  return false;
}

bool CPointList::NotAllHighFlag() const {
  for (int i = 0; i < count_; ++i)
    if (!(data_[i].flag & PT_SELECTED)) return true;
  return false;
}

void CPointList::SnapToGrid(double xStep, double yStep) {
  for (int i = 0; i < count_; ++i) SnapPointToGrid(data_[i], xStep, yStep);
}

void CPointList::IntersectLine(const CLine2D& line, CPointList& hits, bool verticalMode, double x) const {
  for (int i = 0; i < count_; ++i) {
    const CDoublePoint& a = data_[i];
    const CDoublePoint& b = data_[i + 1 < count_ ? i + 1 : 0];
    CLine2D edge(a, b);
    CDoublePoint hit;
    if (edge.Intersect(line, hit, verticalMode, x)) hits.Add(CDoublePoint(hit.x, hit.y, 0));
  }
}

void CPointList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<std::size_t>(count_));
    if (count_ > 0) ar.Write(data_, static_cast<std::size_t>(count_) * sizeof(CDoublePoint));
    return;
  }
  std::size_t n = ar.ReadCount();
  // A damaged count must not size the list beyond the bytes that follow.
  if (n > ar.Remaining() / sizeof(CDoublePoint)) throw CArchiveException("point list: count exceeds the data");
  SetSize(static_cast<int>(n), -1);
  if (n > 0) ar.Read(data_, n * sizeof(CDoublePoint));
}
