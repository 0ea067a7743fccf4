#pragma once
// Soft drop shadow: a layered, click-through popup owned by the host, as large as the host plus
// the shadow width on every side, painted as rings that fade outwards around a transparent middle.
// A subclass procedure on the host keeps its place, size and visibility in step.
#include <windows.h>

#include <cstdint>

// Property keys shared by both shadow kinds, so a host carries at most one shadow of either kind.
inline constexpr char kShadowWindowKey[] = "Nimbo.WndShadow";       // on the host: shadow window
inline constexpr char kShadowProcKey[] = "Nimbo.WndShadow.Proc";    // on the host: previous procedure
inline constexpr char kShadowColourKey[] = "Nimbo.WndShadow.Color"; // on the shadow: 0x00BBGGRR
inline constexpr char kShadowSizeKey[] = "Nimbo.WndShadow.Size";    // on the shadow: width in pixels

// 1 when the host got its shadow, 0 otherwise. Size not given counts as 5; a given size below 1
// removes the shadow and restores the host's window procedure.
int32_t ApplyLayeredShadow(HWND host, uint32_t colour, int32_t size, bool sizeGiven);
// Places, shows or hides and repaints; without a given visibility the host's own is used.
void UpdateLayeredShadow(HWND host, int32_t visible, bool visibleGiven);
void PaintLayeredShadow(HWND host, int32_t width, int32_t height);
void DrawShadowRings(HWND shadowWindow, HDC deviceContext, int32_t width, int32_t height);
// 0x00BBGGRR plus an alpha to the 0xAARRGGBB that GDI+ draws with.
uint32_t ColourToArgb(uint32_t colour, uint32_t alpha);
LRESULT CALLBACK LayeredShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
