#include "dressing/LayeredShadow.h"

int32_t ApplyLayeredShadow(HWND, uint32_t, int32_t, bool) { return 0; }
void UpdateLayeredShadow(HWND, int32_t, bool) {}
void PaintLayeredShadow(HWND, int32_t, int32_t) {}
void DrawShadowRings(HWND, HDC, int32_t, int32_t) {}
uint32_t ColourToArgb(uint32_t colour, uint32_t alpha) {
  return (alpha << 24) | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
LRESULT CALLBACK LayeredShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}
