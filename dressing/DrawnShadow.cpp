#include "dressing/DrawnShadow.h"

#include "dressing/GdiResources.h"
#include "dressing/ShadowDrawing.h"
#include "dressing/ShadowPictures.h"
#include "dressing/ShadowWindow.h"

namespace {

constexpr char kDrawnShadowClass[] = "Nimbo.Shadow";

LRESULT CALLBACK PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeDrawnShadowWindow(HWND host) {
  if (!RegisterShadowClass(kDrawnShadowClass)) return nullptr;
  return CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, kDrawnShadowClass,
                         "", WS_POPUP | WS_VISIBLE | WS_DISABLED, 0, 0, 0, 0, host, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

const ShadowKind kDrawn{MakeDrawnShadowWindow, UpdateDrawnShadow, DrawnShadowProc,
                        SW_SHOWNA, true, DrawDrawnShadow};

// The built-in picture for a black shadow of width 5 or 10, decoded on first use; null otherwise.
ImageObject* PictureFor(uint32_t colour, int32_t size) {
  if (colour != 0 || (size != 5 && size != 10)) return nullptr;
  CreateShadowPictures();  // normally done at start-up already
  ImageObject* picture = size == 5 ? FirstShadowPicture : SecondShadowPicture;
  if (!picture->Handle()) picture->LoadFromBytes(ShadowPictureBytes(size));
  return picture;
}

}  // namespace

int32_t ApplyDrawnShadow(HWND host, uint32_t colour, int32_t size, bool sizeGiven) {
  return ApplyShadow(kDrawn, host, colour, size, sizeGiven);
}

bool RegisterShadowClass(const char* className) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, className, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = PassOn;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  return RegisterClassExA(&wc) != 0;
}

void UpdateDrawnShadow(HWND host, int32_t visible, bool visibleGiven) {
  UpdateShadow(kDrawn, host, visible, visibleGiven);
}

void PaintDrawnShadow(HWND host, int32_t width, int32_t height) {
  PaintShadow(DrawDrawnShadow, host, width, height);
}

void DrawDrawnShadow(HWND shadowWindow, HDC deviceContext, int32_t width, int32_t height) {
  GdipGraphics graphics;
  gp::GdipCreateFromHDC(deviceContext, graphics.out());
  if (!graphics.get()) return;

  if (ImageObject* picture = PictureFor(ShadowColourOf(shadowWindow), ShadowSizeOf(shadowWindow))) {
    DrawNineSlice(graphics.get(), picture->Handle(), width, height);
    return;
  }
  gp::GdipSetCompositingQuality(graphics.get(), Gdiplus::CompositingQualityAssumeLinear);
  DrawShadowBand(graphics.get(), shadowWindow, width, height,
                 [](Gdiplus::GpGraphics* g, Gdiplus::GpPen* pen, float x, float y, float w, float h) {
                   GdipPath path(RoundedRectPath(x, y, w, h, 4.0f));
                   if (path.get()) gp::GdipDrawPath(g, pen, path.get());
                 });
}

Gdiplus::GpPath* RoundedRectPath(float x, float y, float w, float h, float radius) {
  GdipPath path;
  gp::GdipCreatePath(Gdiplus::FillModeAlternate, path.out());
  if (!path.get()) return nullptr;
  if (radius <= 0.0f) {
    gp::GdipAddPathRectangle(path.get(), x, y, w, h);
    return path.release();
  }
  if (radius < 1.0f) radius = 1.0f;
  if (radius > 100.0f) radius = 100.0f;
  const float d = 2.0f * radius;
  gp::GdipAddPathArc(path.get(), x, y, d, d, 180.0f, 90.0f);
  gp::GdipAddPathArc(path.get(), x + w - d, y, d, d, 270.0f, 90.0f);
  gp::GdipAddPathArc(path.get(), x + w - d, y + h - d, d, d, 0.0f, 90.0f);
  gp::GdipAddPathArc(path.get(), x, y + h - d, d, d, 90.0f, 90.0f);
  gp::GdipClosePathFigure(path.get());
  return path.release();
}

void DrawNineSlice(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, int32_t width,
                   int32_t height) {
  if (!graphics || !image) return;
  float iw = 0.0f, ih = 0.0f;
  if (gp::GdipGetImageDimension(image, &iw, &ih) != Gdiplus::Ok) return;

  int32_t m = 5;
  if (iw - 80.0f > 1e-7f && ih - 80.0f > 1e-7f) {
    m = 20;
  } else if (iw - 50.0f > 1e-7f && ih - 50.0f > 1e-7f) {
    m = 10;
  }
  const float mf = static_cast<float>(m);
  const float R = static_cast<float>(static_cast<int32_t>(iw - mf));
  const float B = static_cast<float>(static_cast<int32_t>(ih - mf));
  const float W = static_cast<float>(width);
  const float H = static_cast<float>(height);
  const float right = iw - R;   // width of the right column
  const float bottom = ih - B;  // height of the bottom row

  struct Slice {
    float dx, dy, dw, dh, sx, sy, sw, sh;
  };
  const Slice slices[] = {
      {0, 0, mf, mf, 0, 0, mf, mf},
      {mf, 0, W - mf - right, mf, mf, 0, R - mf, mf},
      {W - right, 0, right, mf, R, 0, right, mf},
      {0, mf, mf, H - mf - bottom, 0, mf, mf, B - mf},
      {mf, mf, W - mf - right, H - mf - bottom, mf, mf, R - mf, B - mf},
      {W - right, mf, right, H - mf - bottom, R, mf, right, B - mf},
      {0, H - bottom, mf, bottom, 0, B, mf, bottom},
      {mf, H - bottom, W - mf - right, bottom, mf, B, R - mf, bottom},
      {W - right, H - bottom, right, bottom, R, B, right, bottom},
  };
  for (const Slice& s : slices) {
    gp::GdipDrawImageRectRect(graphics, image, s.dx, s.dy, s.dw, s.dh, s.sx, s.sy, s.sw, s.sh,
                              Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  }
}

LRESULT CALLBACK DrawnShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ShadowProc(UpdateDrawnShadow, window, message, wParam, lParam);
}
