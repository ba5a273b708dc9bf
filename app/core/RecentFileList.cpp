#include "app/core/RecentFileList.h"

#include <algorithm>

void CRecentFileList::Add(const std::string& path) {
  if (path.empty()) return;
  const std::string item = path;  // path may be one of the entries
  entries_.erase(std::remove(entries_.begin(), entries_.end(), item), entries_.end());
  entries_.insert(entries_.begin(), item);
  if (static_cast<int>(entries_.size()) > size_) entries_.resize(static_cast<std::size_t>(size_));
}

void CRecentFileList::Remove(int index) {
  if (index >= 0 && index < static_cast<int>(entries_.size())) entries_.erase(entries_.begin() + index);
}

void CRecentFileList::SetEntries(const std::vector<std::string>& entries) {
  entries_.clear();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) Add(*it);
}
