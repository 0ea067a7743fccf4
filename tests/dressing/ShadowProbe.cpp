#include "tests/dressing/ShadowProbe.h"

#include "dressing/LayeredShadow.h"
#include "forms/Runtime.h"

TestHost::TestHost(int x, int y, int w, int h, DWORD style)
    : window_(CreateWindowExW(0, L"STATIC", L"host", style, x, y, w, h, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
  ProcessPendingEvents();
}

TestHost::~TestHost() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

PixelCanvas::PixelCanvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
}

PixelCanvas::~PixelCanvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

HWND MakePropertyWindow(uint32_t colour, int32_t size) {
  HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  SetPropA(w, kShadowColourKey, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(colour)));
  SetPropA(w, kShadowSizeKey, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(size)));
  return w;
}
