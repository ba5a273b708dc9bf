#pragma once
// The fonts the text layouts could not find, for the application to tell the
// operator about. A layout notes what its report names; each name is handed
// out once per run, however often texts are laid out (and redrawn) with it.
// The application installs a listener to schedule its message; the listener
// may be called on any thread that lays a text out, and never with the lock held.
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class MissingFontNotices {
 public:
  void Note(const std::vector<std::string>& names);
  // The names noted and not handed out before, in the order noted.
  std::vector<std::string> TakeNew();
  void SetListener(std::function<void()> listener);

 private:
  std::mutex mutex_;
  std::set<std::string> known_;  // noted at some time, pending or handed out
  std::vector<std::string> pending_;
  std::function<void()> listener_;
};

// The process-wide notices; a test may put fresh ones in place.
MissingFontNotices& FontNotices();
void SetFontNotices(std::shared_ptr<MissingFontNotices> notices);
