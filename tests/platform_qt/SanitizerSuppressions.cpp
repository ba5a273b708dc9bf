// Library behaviour the sanitizers must not count against the tests.

// The font configuration library keeps its caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

// Qt hands posted events between threads under its own futex-based locks,
// which the race checker cannot see; every such handover is delivered through QtCore and QtWidgets.
extern "C" const char* __tsan_default_suppressions() { return "race:libQt6Core.so\nrace:libQt6Widgets.so\n"; }
