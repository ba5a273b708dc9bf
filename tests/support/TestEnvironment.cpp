// Built into every test program: each one runs with the offscreen Qt platform,
// the C.UTF-8 locale and settings and data folders of its own, whatever the
// calling shell has set, and tells the sanitizers about library behaviour that
// is not ours.
#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    // One object serves every test program: the folder follows the program's name.
    const std::string home = std::string(VENDRIK_BINARY_DIR) + "/test-home/" + program_invocation_short_name;
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
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libdbus\n"; }

// The Qt libraries are not built for the race checker: what they do to memory
// through the allocator and memmove is not looked at (their own accesses never
// are), so the checker sees only our code. Where Qt carries our data between
// threads (its event queue waits on futexes the checker cannot see), our side
// marks the hand-over (platform/RaceCheck.h).
extern "C" const char* __tsan_default_options() { return "ignore_noninstrumented_modules=1"; }
