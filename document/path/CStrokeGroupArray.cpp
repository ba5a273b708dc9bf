#include "document/path/CStrokeGroupArray.h"

#include <utility>

CStrokeGroupArray::~CStrokeGroupArray() = default;

int CStrokeGroupArray::Add(std::unique_ptr<CStrokeGroup> group) {
  items_.push_back(std::move(group));
  return static_cast<int>(items_.size()) - 1;
}

int CStrokeGroupArray::Add(CStrokeGroup* group) { return Add(std::unique_ptr<CStrokeGroup>(group)); }

void CStrokeGroupArray::DeleteAt(int i) {
  if (i < 0 || i >= GetSize()) return;
  items_.erase(items_.begin() + i);
}

void CStrokeGroupArray::RemoveAll() { items_.clear(); }

void CStrokeGroupArray::DetachAll() {
  // The caller owns the groups now; give up ownership without deleting.
  for (auto& group : items_) static_cast<void>(group.release());
  items_.clear();
}
