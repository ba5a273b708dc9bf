#pragma once
// The most-recently-used files of the File menu: newest first, no doubles,
// at most `size` entries.
#include <string>
#include <vector>

class CRecentFileList {
 public:
  explicit CRecentFileList(int size = 4) : size_(size) {}
  void Add(const std::string& path);
  void Remove(int index);
  const std::vector<std::string>& Entries() const { return entries_; }
  void SetEntries(const std::vector<std::string>& entries);
  int Size() const { return size_; }

 private:
  int size_;
  std::vector<std::string> entries_;
};
