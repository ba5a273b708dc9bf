#pragma once
// A critical section (re-entrant, like the system's) and the scoped lock that
// holds one for a block.
#include <mutex>

class CCriticalSection {
 public:
  void Lock() { mutex_.lock(); }
  void Unlock() { mutex_.unlock(); }

 private:
  std::recursive_mutex mutex_;
};

class CCritSecLock {
 public:
  explicit CCritSecLock(CCriticalSection* section) : section_(section) {
    if (section_) section_->Lock();
  }
  virtual ~CCritSecLock() {
    if (section_) section_->Unlock();
  }
  CCritSecLock(const CCritSecLock&) = delete;
  CCritSecLock& operator=(const CCritSecLock&) = delete;

 private:
  CCriticalSection* section_;
};
