// A shared library that loads fine but is no plug-in of either format: the host must say so.

extern "C" __attribute__((visibility("default"))) int BraskNotAPlugin() { return 0; }
