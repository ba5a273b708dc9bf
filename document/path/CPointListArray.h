#pragma once
// Owning array of stroke paths: removing an entry or destroying the array
// deletes the stroke paths it holds.
#include <memory>
#include <vector>

#include "document/path/CStrokePath.h"

class CPointListArray {
 public:
  CPointListArray() = default;
  CPointListArray(const CPointListArray&) = delete;
  CPointListArray& operator=(const CPointListArray&) = delete;
  virtual ~CPointListArray();

  int Add(std::unique_ptr<CStrokePath> path);  // returns the new index
  int Add(CStrokePath* path);                  // takes ownership
  CStrokePath* GetAt(int i) const { return items_[static_cast<std::size_t>(i)].get(); }
  int GetSize() const { return static_cast<int>(items_.size()); }
  // Deletes entry i; an index outside the array changes nothing.
  void RemoveAt(int i);
  // Deletes every entry the test picks; the others keep their order. One
  // pass, so removing many entries costs no shifting of the tail per entry.
  template <class Pick>
  void RemoveIf(Pick&& pick) {
    std::erase_if(items_, [&](const std::unique_ptr<CStrokePath>& item) { return pick(*item); });
  }
  void RemoveAll();  // deletes every entry

 private:
  std::vector<std::unique_ptr<CStrokePath>> items_;
};
