#pragma once
// The owning array of elements kept by the document, the layout view and the
// marking controller. Whatever it holds when it is destroyed (or emptied with
// DeleteAll) is deleted; RemoveAt and Detach hand an element back without
// deleting it, for callers that move elements between arrays.
#include <cstddef>
#include <memory>
#include <vector>

#include "document/objects/CObjElement.h"

class CObjPtrArray {
 public:
  CObjPtrArray() = default;
  CObjPtrArray(const CObjPtrArray&) = delete;
  CObjPtrArray& operator=(const CObjPtrArray&) = delete;
  CObjPtrArray(CObjPtrArray&& other) noexcept;
  CObjPtrArray& operator=(CObjPtrArray&& other) noexcept;
  ~CObjPtrArray();

  int GetSize() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  // Null for an index outside the array.
  CObjElement* GetAt(int i) const;
  CObjElement* operator[](int i) const { return GetAt(i); }

  // Takes ownership; returns the new index.
  int Add(std::unique_ptr<CObjElement> element);
  int Add(CObjElement* element);
  // Takes ownership; an index past the end appends.
  void InsertAt(int i, std::unique_ptr<CObjElement> element);
  // Replaces the entry; the element that was there is deleted.
  void SetAt(int i, std::unique_ptr<CObjElement> element);
  // Removes the entry and gives the element back to the caller.
  std::unique_ptr<CObjElement> RemoveAt(int i);
  // Removes every entry that `take` chooses in one pass and gives their
  // elements back, in array order.
  template <typename Take>
  std::vector<std::unique_ptr<CObjElement>> RemoveIf(Take take) {
    // Chosen first, so that the array changes only once nothing can fail.
    std::vector<bool> chosen(items_.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) count += (chosen[i] = take(items_[i])) ? 1 : 0;
    std::vector<std::unique_ptr<CObjElement>> out;
    out.reserve(count);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (chosen[i]) out.emplace_back(items_[i]);
      else items_[kept++] = items_[i];
    }
    items_.resize(kept);
    return out;
  }
  // Deletes every element and empties the array.
  void DeleteAll();

  std::vector<CObjElement*>::const_iterator begin() const { return items_.begin(); }
  std::vector<CObjElement*>::const_iterator end() const { return items_.end(); }

 private:
  bool InRange(int i) const { return i >= 0 && i < GetSize(); }

  std::vector<CObjElement*> items_;
};
