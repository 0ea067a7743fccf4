// Link-time stand-in for the host functions; the tests' resolver supplies the real ones, and the
// stub is kept where the system will not find it.
#include <windows.h>
extern "C" __declspec(dllexport) void WINAPI HostRecord(DWORD, void*) {}
extern "C" __declspec(dllexport) int WINAPI HostAttachResult() { return 1; }
