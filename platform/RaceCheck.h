#pragma once
// Tells the race checker about a hand-over between threads that it cannot see:
// one made through a library built without it (Qt's event queue waits on
// futexes). What one thread wrote before HandOver(tag) is visible to the thread
// that calls TakeOver(tag) after receiving it. Nothing in other builds.
#if defined(__SANITIZE_THREAD__)
#define VENDRIK_RACE_CHECK 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VENDRIK_RACE_CHECK 1
#endif
#endif

#ifdef VENDRIK_RACE_CHECK
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace platform {

inline void HandOver([[maybe_unused]] const void* tag) {
#ifdef VENDRIK_RACE_CHECK
  __tsan_release(const_cast<void*>(tag));
#endif
}

inline void TakeOver([[maybe_unused]] const void* tag) {
#ifdef VENDRIK_RACE_CHECK
  __tsan_acquire(const_cast<void*>(tag));
#endif
}

}  // namespace platform
