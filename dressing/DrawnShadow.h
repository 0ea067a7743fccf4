#pragma once
// The second shadow kind: the layered shadow's window and subclassing, with its own window class,
// rounded rings, and for a black shadow of width 5 or 10 a built-in picture cut in nine slices.
#include <windows.h>

#include <cstdint>

#include "dressing/LayeredShadow.h"

// As ApplyLayeredShadow; 0 with the host untouched when the class or the window cannot be made.
int32_t ApplyDrawnShadow(HWND host, uint32_t colour, int32_t size, bool sizeGiven);
// True when the class exists in this module afterwards.
bool RegisterShadowClass(const char* className);
void UpdateDrawnShadow(HWND host, int32_t visible, bool visibleGiven);
void PaintDrawnShadow(HWND host, int32_t width, int32_t height);
void DrawDrawnShadow(HWND shadowWindow, HDC deviceContext, int32_t width, int32_t height);
LRESULT CALLBACK DrawnShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
