// Fontconfig keeps its configuration for the life of the process, and cairo's text
// drawing loads it: not a leak of ours. Read by the leak checker of sanitizer builds.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
