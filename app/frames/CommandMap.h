#pragma once
// Command handlers of one window, by command id.
#include <functional>
#include <map>

class CommandMap {
 public:
  void On(int id, std::function<void()> handler) { handlers_[id] = std::move(handler); }
  bool Has(int id) const { return handlers_.count(id) != 0; }
  // Runs the handler; false when there is none.
  bool Run(int id) const {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return false;
    it->second();
    return true;
  }

 private:
  std::map<int, std::function<void()>> handlers_;
};
