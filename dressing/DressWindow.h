#pragma once
// The one routine that gives a window its look: skin, optional drop shadow, and optionally the
// redirection of the process's message boxes to the prompt window.
#include <windows.h>

#include <cstdint>

#include "dressing/DressingState.h"
#include "text/Param.h"

// Returns what the skin engine's attach call returned, or 0 when no engine (or no attach export)
// is loaded; the shadow and redirection steps run either way.
int32_t DressWindow(HWND window, Param<Bytes> skinData = {}, Param<int32_t> skinNumber = {},
                    Param<int32_t> skinVariant = {}, Param<int32_t> skinAdjust1 = {},
                    Param<int32_t> skinAdjust2 = {}, Param<int32_t> skinAdjust3 = {},
                    Param<int32_t> redirectMessageBoxes = {}, Param<int32_t> promptSound = {},
                    Param<int32_t> shadowAtStart = {}, Param<int32_t> shadowKind = {},
                    Param<uint32_t> shadowColour = {}, Param<int32_t> shadowSize = {});

// Starts GDI+ once for the dressing under DressingState.dressingGdiplusToken.
void StartDressingGdiplus();
