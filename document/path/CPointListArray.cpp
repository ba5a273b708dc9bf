#include "document/path/CPointListArray.h"

#include <utility>

CPointListArray::~CPointListArray() = default;

int CPointListArray::Add(std::unique_ptr<CStrokePath> path) {
  items_.push_back(std::move(path));
  return static_cast<int>(items_.size()) - 1;
}

int CPointListArray::Add(CStrokePath* path) { return Add(std::unique_ptr<CStrokePath>(path)); }

void CPointListArray::RemoveAt(int i) {
  if (i < 0 || i >= GetSize()) return;
  items_.erase(items_.begin() + i);
}

void CPointListArray::RemoveAll() { items_.clear(); }
