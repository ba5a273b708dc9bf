// Built into every test program: each one runs with the offscreen Qt platform,
// the C.UTF-8 locale and settings and data folders of its own, whatever the
// calling shell has set, and tells the sanitizers about library behaviour that
// is not ours.
#include <cstdlib>
#include <string>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    const std::string home = VENDRIK_TEST_HOME;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("VENDRIK_CONFIG_DIR", (home + "/config").c_str(), 1);
    ::setenv("VENDRIK_DATA_DIR", (home + "/data").c_str(), 1);
  }
};

const TestEnvironment environment;

}  // namespace

// The font configuration and D-Bus libraries keep caches for the life of the
// process; the .xls reader library loses a few bytes when it refuses a damaged file.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libdbus\nleak:libfreexl\n"; }

// The Qt libraries are not built for the race checker: their mutexes and wait
// conditions wait on futexes it cannot see, so every hand-over through them
// looks like a race. A report is waived when one of its stacks passes through
// one of these libraries: races between our own threads outside Qt still fail.
extern "C" const char* __tsan_default_suppressions() {
  return
      // QThread, QThreadPool and the posted-event queue: threads started and
      // joined, and events handed between threads, under Qt's own locks.
      "race:libQt6Core.so\n"
      // Font and image caches filled by Qt's pooled threads.
      "race:libQt6Gui.so\n"
      // QApplication delivering an event another thread posted.
      "race:libQt6Widgets.so\n";
}
