#pragma once
// The GDI+ pieces of the shadows, open to the tests.
#include <windows.h>

#include <cstdint>

#include "dressing/GdiResources.h"

// A new path with the rounded rectangle; radius 0 or less gives a plain, unclosed rectangle.
Gdiplus::GpPath* RoundedRectPath(float x, float y, float w, float h, float radius);
// Stretches a picture over a whole W x H bitmap in nine slices: corners unscaled, edges along
// their length, the middle over the rest.
void DrawNineSlice(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, int32_t width,
                   int32_t height);

// Draws one ring of a shadow: a rectangle or a rounded one at x, y of w x h.
using ShadowRing = void (*)(Gdiplus::GpGraphics* graphics, Gdiplus::GpPen* pen, float x, float y,
                            float w, float h);
// The rings of a shadow window's band outside its inner rectangle: ring i from the outside in, in
// the shadow's colour with i times its alpha step, anti-aliased.
void DrawShadowBand(Gdiplus::GpGraphics* graphics, HWND shadowWindow, int32_t width, int32_t height,
                    ShadowRing ring);
