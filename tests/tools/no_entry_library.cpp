// A shared object with no plug-in entry point, for the loader's error path.
extern "C" __attribute__((visibility("default"))) int notAPluginEntry() { return 42; }
