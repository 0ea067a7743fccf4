// A program image: the loader maps it but must never run its entry point.
#include <windows.h>
extern "C" __declspec(dllimport) void WINAPI HostRecord(DWORD reason, void* module);
extern "C" int ProgramEntry() {
  HostRecord(0xC0DE, nullptr);
  return 0;
}
