#include "document/doc/CObjPtrArray.h"

#include <utility>

CObjPtrArray::CObjPtrArray(CObjPtrArray&& other) noexcept : items_(std::move(other.items_)) { other.items_.clear(); }

CObjPtrArray& CObjPtrArray::operator=(CObjPtrArray&& other) noexcept {
  if (this != &other) {
    DeleteAll();
    items_ = std::move(other.items_);
    other.items_.clear();
  }
  return *this;
}

CObjPtrArray::~CObjPtrArray() { DeleteAll(); }

CObjElement* CObjPtrArray::GetAt(int i) const { return InRange(i) ? items_[static_cast<std::size_t>(i)] : nullptr; }

int CObjPtrArray::Add(std::unique_ptr<CObjElement> element) {
  items_.push_back(element.get());
  element.release();
  return GetSize() - 1;
}

int CObjPtrArray::Add(CObjElement* element) { return Add(std::unique_ptr<CObjElement>(element)); }

void CObjPtrArray::InsertAt(int i, std::unique_ptr<CObjElement> element) {
  if (i < 0) i = 0;
  const auto pos = InRange(i) ? items_.begin() + i : items_.end();
  items_.insert(pos, element.get());
  element.release();
}

void CObjPtrArray::SetAt(int i, std::unique_ptr<CObjElement> element) {
  if (!InRange(i)) return;
  delete items_[static_cast<std::size_t>(i)];
  items_[static_cast<std::size_t>(i)] = element.release();
}

std::unique_ptr<CObjElement> CObjPtrArray::RemoveAt(int i) {
  if (!InRange(i)) return nullptr;
  std::unique_ptr<CObjElement> out(items_[static_cast<std::size_t>(i)]);
  items_.erase(items_.begin() + i);
  return out;
}

void CObjPtrArray::DeleteAll() {
  // Taken out first, so an element's destructor never sees a half-emptied array.
  std::vector<CObjElement*> items;
  items.swap(items_);
  for (CObjElement* element : items) delete element;
}
