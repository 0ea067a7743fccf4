#include "forms/PictureDrawing.h"

#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#include <shlwapi.h>

namespace {

// The runtime starts GDI+ for itself once; like the program's own starts it is left to the end of
// the process.
void EnsureGdiplus() {
  static ULONG_PTR token = [] {
    ULONG_PTR t = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&t, &input, nullptr);
    return t;
  }();
  (void)token;
}

}  // namespace

bool DrawPictureBytes(HDC dc, const RECT& target, const Bytes& picture) {
  if (picture.empty()) return false;
  EnsureGdiplus();
  IStream* stream = SHCreateMemStream(picture.data(), static_cast<UINT>(picture.size()));
  if (!stream) return false;
  bool drawn = false;
  {
    Gdiplus::Bitmap bitmap(stream);
    if (bitmap.GetLastStatus() == Gdiplus::Ok) {
      Gdiplus::Graphics graphics(dc);
      graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
      drawn = graphics.DrawImage(&bitmap, static_cast<INT>(target.left),
                                 static_cast<INT>(target.top),
                                 static_cast<INT>(target.right - target.left),
                                 static_cast<INT>(target.bottom - target.top)) == Gdiplus::Ok;
    }
  }
  stream->Release();
  return drawn;
}
