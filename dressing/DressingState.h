#pragma once
// What the last dressing call chose, kept for the prompt window, which dresses itself the same way.
#include <windows.h>

#include <cstdint>

#include "text/Param.h"

struct DressingStateRecord {
  int32_t skinNumber = 0;                // as last passed, before the range check
  int32_t promptSound = 0;               // written only by calls that install the redirection
  int32_t* promptResultCell = nullptr;   // from the last installation of the redirection
  int32_t shadowsOn = 0;                 // 1 once any call asked for a shadow; never reset
  Bytes skinBytes;                       // the skin last handed to the engine
  int32_t shadowSize = 0;
  uint32_t shadowColour = 0;             // 0x00BBGGRR
  int32_t shadowKind = 0;                // 0 none, 1 layered, 2 drawn
  ULONG_PTR dressingGdiplusToken = 0;    // the dressing's own GDI+ start; never shut down
};
extern DressingStateRecord DressingState;
