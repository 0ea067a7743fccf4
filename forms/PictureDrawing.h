#pragma once
// Draws a picture held in memory (PNG, JPEG, BMP: whatever GDI+ decodes) into a DC rectangle.
#include <windows.h>

#include "text/Param.h"

// Scales the picture to the rectangle; returns false when the bytes are no picture.
bool DrawPictureBytes(HDC dc, const RECT& target, const Bytes& picture);
