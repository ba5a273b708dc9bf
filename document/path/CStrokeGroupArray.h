#pragma once
// Owning array of stroke groups.
#include <memory>
#include <vector>

#include "document/path/CStrokeGroup.h"

class CStrokeGroupArray {
 public:
  CStrokeGroupArray() = default;
  CStrokeGroupArray(const CStrokeGroupArray&) = delete;
  CStrokeGroupArray& operator=(const CStrokeGroupArray&) = delete;
  virtual ~CStrokeGroupArray();

  int Add(std::unique_ptr<CStrokeGroup> group);  // returns the new index
  int Add(CStrokeGroup* group);                  // takes ownership
  CStrokeGroup* GetAt(int i) const { return items_[static_cast<std::size_t>(i)].get(); }
  int GetSize() const { return static_cast<int>(items_.size()); }
  // Deletes group i; an index outside the array changes nothing.
  void DeleteAt(int i);
  void RemoveAll();  // deletes every group
  // Empties the array without deleting the groups: the caller has taken them over.
  void DetachAll();

 private:
  std::vector<std::unique_ptr<CStrokeGroup>> items_;
};
