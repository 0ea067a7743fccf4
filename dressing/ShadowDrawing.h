#pragma once
// The GDI+ pieces of the drawn shadow, open to the tests.
#include <cstdint>

#include "dressing/GdiResources.h"

// A new path with the rounded rectangle; radius 0 or less gives a plain, unclosed rectangle.
Gdiplus::GpPath* RoundedRectPath(float x, float y, float w, float h, float radius);
// Stretches a picture over a whole W x H bitmap in nine slices: corners unscaled, edges along
// their length, the middle over the rest.
void DrawNineSlice(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, int32_t width,
                   int32_t height);
