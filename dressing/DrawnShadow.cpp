#include "dressing/DrawnShadow.h"

int32_t ApplyDrawnShadow(HWND, uint32_t, int32_t, bool) { return 0; }
bool RegisterShadowClass(const char*) { return false; }
void UpdateDrawnShadow(HWND, int32_t, bool) {}
void PaintDrawnShadow(HWND, int32_t, int32_t) {}
void DrawDrawnShadow(HWND, HDC, int32_t, int32_t) {}
LRESULT CALLBACK DrawnShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}
