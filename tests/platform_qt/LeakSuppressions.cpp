// The font configuration library keeps its caches for the life of the process;
// the leak checker must not count them against the tests.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
