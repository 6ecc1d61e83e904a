// A DLL that only carries resources for the tests to read.
extern "C" int ResourceOnlyMarker() { return 0; }
