#include "dressing/LayeredShadow.h"

#include "dressing/GdiResources.h"
#include "dressing/ShadowDrawing.h"
#include "dressing/ShadowWindow.h"

namespace {

HWND MakeLayeredShadowWindow(HWND host) {
  // "SysShadow" is a class the system may offer; where it does not, a plain static does the job,
  // since the layered update supplies every pixel.
  const DWORD style = WS_POPUP | WS_VISIBLE;
  const DWORD exStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND shadow = CreateWindowExA(exStyle, "SysShadow", "", style, 0, 0, 0, 0, host, nullptr,
                                instance, nullptr);
  if (!shadow) {
    shadow = CreateWindowExA(exStyle, "Static", "", style, 0, 0, 0, 0, host, nullptr, instance,
                             nullptr);
  }
  return shadow;
}

const ShadowKind kLayered{MakeLayeredShadowWindow, UpdateLayeredShadow, LayeredShadowProc,
                          SW_SHOW, false, DrawShadowRings};

}  // namespace

int32_t ApplyLayeredShadow(HWND host, uint32_t colour, int32_t size, bool sizeGiven) {
  return ApplyShadow(kLayered, host, colour, size, sizeGiven);
}

void UpdateLayeredShadow(HWND host, int32_t visible, bool visibleGiven) {
  UpdateShadow(kLayered, host, visible, visibleGiven);
}

void PaintLayeredShadow(HWND host, int32_t width, int32_t height) {
  PaintShadow(DrawShadowRings, host, width, height);
}

void DrawShadowRings(HWND shadowWindow, HDC deviceContext, int32_t width, int32_t height) {
  GdipGraphics graphics;
  gp::GdipCreateFromHDC(deviceContext, graphics.out());
  if (!graphics.get()) return;
  DrawShadowBand(graphics.get(), shadowWindow, width, height,
                 [](Gdiplus::GpGraphics* g, Gdiplus::GpPen* pen, float x, float y, float w, float h) {
                   gp::GdipDrawRectangle(g, pen, x, y, w, h);
                 });
}

uint32_t ColourToArgb(uint32_t colour, uint32_t alpha) {
  const uint32_t red = colour & 0xFF;
  const uint32_t green = (colour >> 8) & 0xFF;
  const uint32_t blue = (colour >> 16) & 0xFF;
  return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

LRESULT CALLBACK LayeredShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ShadowProc(UpdateLayeredShadow, window, message, wParam, lParam);
}
