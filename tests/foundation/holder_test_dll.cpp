// A DLL for file_holder to load, so that a test can replace a module that is in
// use by another process.
extern "C" __declspec(dllexport) int zrHolderTestValue() { return 42; }
