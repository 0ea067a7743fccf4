// A library for the loader tests, mapped from memory. It has no C runtime, so its entry point is
// exactly what the loader calls, and every call is reported to the host.
#include <windows.h>

extern "C" {
__declspec(dllimport) void WINAPI HostRecord(DWORD reason, void* module);
__declspec(dllimport) int WINAPI HostAttachResult();
__declspec(dllimport) int BTwice(int x);
__declspec(dllimport) int BSeven();  // imported by ordinal

static int value = 42;
// An absolute address in data: correct only once relocations have been applied.
int* volatile valuePointer = &value;

BOOL WINAPI ImageEntry(HINSTANCE module, DWORD reason, LPVOID) {
  HostRecord(reason, module);
  return reason == DLL_PROCESS_ATTACH ? HostAttachResult() : TRUE;
}

int ReadThroughPointer() { return *valuePointer; }
int* ValueAddress() { return &value; }
int MixedCase() { return 1; }
int ReturnSix() { return 6; }
int ReturnZeroSix() { return 106; }
DWORD ProcessId() { return GetCurrentProcessId(); }
int CallB(int x) { return BTwice(x) + BSeven(); }
}
