#include "dressing/ShadowWindow.h"

#include "dressing/GdiResources.h"
#include "dressing/LayeredShadow.h"
#include "dressing/ShadowDrawing.h"

namespace {

// Properties hold plain numbers in their handle-sized value.
void SetNumberProp(HWND window, const char* key, uintptr_t value) {
  SetPropA(window, key, reinterpret_cast<HANDLE>(value));
}

void RemoveShadow(HWND host) {
  HWND shadow = ShadowWindowOf(host);
  if (shadow && IsWindow(shadow)) {
    RemovePropA(shadow, kShadowColourKey);
    RemovePropA(shadow, kShadowSizeKey);
    DestroyWindow(shadow);
  }
  RemovePropA(host, kShadowWindowKey);
  if (HANDLE previous = GetPropA(host, kShadowProcKey)) {
    SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(host, kShadowProcKey);
  }
}

}  // namespace

HWND ShadowWindowOf(HWND host) { return static_cast<HWND>(GetPropA(host, kShadowWindowKey)); }

uint32_t ShadowColourOf(HWND shadowWindow) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetPropA(shadowWindow, kShadowColourKey)));
}

int32_t ShadowSizeOf(HWND shadowWindow) {
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(GetPropA(shadowWindow, kShadowSizeKey)));
}

int32_t ShadowStep(int32_t size) {
  if (size <= 0) return 0;
  return size > 8 ? 150 / size : 100 / size;
}

int32_t ApplyShadow(const ShadowKind& kind, HWND host, uint32_t colour, int32_t size,
                    bool sizeGiven) {
  if (!IsWindow(host)) return 0;
  if (sizeGiven && size < 1) {
    RemoveShadow(host);
    return 0;
  }
  if (!sizeGiven) size = 5;

  HWND shadow = ShadowWindowOf(host);
  if (!shadow || !IsWindow(shadow)) {
    shadow = kind.makeWindow(host);
    if (!shadow) return 0;
    SetPropA(host, kShadowWindowKey, shadow);
  }
  SetNumberProp(shadow, kShadowColourKey, colour);
  SetNumberProp(shadow, kShadowSizeKey, static_cast<uint32_t>(size));

  kind.update(host, 0, false);

  // One subclass per host, whichever kind put it there first.
  if (!GetPropA(host, kShadowProcKey)) {
    LONG_PTR previous =
        SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kind.procedure));
    SetPropA(host, kShadowProcKey, reinterpret_cast<HANDLE>(previous));
  }
  return 1;
}

void UpdateShadow(const ShadowKind& kind, HWND host, int32_t visible, bool visibleGiven) {
  HWND shadow = ShadowWindowOf(host);
  if (!shadow) return;
  if (!visibleGiven) visible = IsWindowVisible(host) ? 1 : 0;
  if (visible == 0 || IsZoomed(host) || IsIconic(host)) {
    ShowWindow(shadow, SW_HIDE);
    return;
  }
  if (!IsWindowVisible(shadow)) ShowWindow(shadow, kind.showCommand);

  RECT r{};
  GetWindowRect(host, &r);
  const int32_t width = r.right - r.left;
  const int32_t height = r.bottom - r.top;
  if (width == 0 || height == 0) return;

  const int32_t s = ShadowSizeOf(shadow);
  if (kind.placeWithSetWindowPos) {
    SetWindowPos(shadow, nullptr, r.left - s, r.top - s, width + 2 * s, height + 2 * s,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    MoveWindow(shadow, r.left - s, r.top - s, width + 2 * s, height + 2 * s, TRUE);
  }
  PaintShadow(kind.draw, host, width + 2 * s, height + 2 * s);
}

void PaintShadow(ShadowDraw draw, HWND host, int32_t width, int32_t height) {
  HWND shadow = ShadowWindowOf(host);
  if (!shadow) return;
  if (width == 0 || height == 0) {
    RECT r{};
    GetWindowRect(shadow, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (width == 0 || height == 0) return;
  }

  WindowDc windowDc(shadow);
  MemoryDc memoryDc(windowDc.get());

  // Header plus one zero colour entry: 44 bytes. A positive height makes rows bottom-up.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 32 / 8;
  GdiObject bitmap(CreateDIBSection(memoryDc.get(), &info, DIB_RGB_COLORS, nullptr, nullptr, 0));
  {
    SelectedObject selected(memoryDc.get(), bitmap.get());
    draw(shadow, memoryDc.get(), width, height);

    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(shadow, windowDc.get(), nullptr, &size, memoryDc.get(), &source, 0,
                        &blend, ULW_ALPHA);
  }
}

LRESULT ShadowProc(ShadowUpdate update, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kShadowProcKey));
  const LRESULT result = previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                                  : DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_MOVE:
    case WM_SIZE:
      update(window, 0, false);
      break;
    case WM_SHOWWINDOW:
      update(window, static_cast<int32_t>(wParam), true);
      break;
    default:
      break;
  }
  return result;
}

void DrawShadowBand(Gdiplus::GpGraphics* graphics, HWND shadowWindow, int32_t width, int32_t height,
                    ShadowRing ring) {
  const uint32_t colour = ShadowColourOf(shadowWindow);
  const int32_t s = ShadowSizeOf(shadowWindow);
  const int32_t step = ShadowStep(s);
  GdiObject region(CreateRectRgn(s, s, width - s, height - s));
  // Exclusive-or with the inner rectangle leaves only the band outside it paintable.
  gp::GdipSetClipHrgn(graphics, static_cast<HRGN>(region.get()), Gdiplus::CombineModeXor);
  gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
  for (int32_t i = 1; i <= s; ++i) {
    GdipPen pen;
    gp::GdipCreatePen1(ColourToArgb(colour, static_cast<uint32_t>(step * i)), 1.0f,
                       Gdiplus::UnitPixel, pen.out());
    if (!pen.get()) continue;
    ring(graphics, pen.get(), static_cast<float>(i - 1), static_cast<float>(i - 1),
         static_cast<float>(width - 2 * i + 1), static_cast<float>(height - 2 * i + 1));
  }
  gp::GdipResetClip(graphics);
}
