#include "loader/ImageObject.h"

#include <cstring>

namespace gp = Gdiplus::DllExports;

ImageObject::~ImageObject() { Dispose(); }

void ImageObject::Dispose() {
  if (image_) {
    gp::GdipDisposeImage(image_);
    image_ = nullptr;
  }
  if (stream_) {
    stream_->Release();
    stream_ = nullptr;
  }
  if (memory_) {
    GlobalFree(memory_);
    memory_ = nullptr;
  }
  width_ = 0;
  height_ = 0;
}

bool ImageObject::LoadFromBytes(const Bytes& bytes) {
  Dispose();
  const size_t n = bytes.size();
  if (n <= 4) return false;
  memory_ = GlobalAlloc(GMEM_MOVEABLE, n);
  if (!memory_) return false;
  // The stream must not free the memory: Dispose does, after the image is gone.
  if (FAILED(CreateStreamOnHGlobal(memory_, FALSE, &stream_)) || !stream_) {
    stream_ = nullptr;
    return false;
  }
  void* target = GlobalLock(memory_);
  if (!target) return false;
  std::memcpy(target, bytes.data(), n);
  GlobalUnlock(memory_);

  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromStream(stream_, &bitmap) != Gdiplus::Ok) bitmap = nullptr;
  image_ = bitmap;
  return image_ != nullptr;
}

void ImageObject::GetSize(int32_t& widthOut, int32_t& heightOut) {
  if (image_ && width_ == 0) {
    UINT w = 0, h = 0;
    gp::GdipGetImageWidth(image_, &w);
    gp::GdipGetImageHeight(image_, &h);
    width_ = static_cast<int32_t>(w);
    height_ = static_cast<int32_t>(h);
    if (w == 0 || h == 0) Dispose();
  }
  widthOut = width_;
  heightOut = height_;
}

int32_t ImageObject::Width() {
  if (image_ && width_ == 0) {
    int32_t w, h;
    GetSize(w, h);
  }
  return width_;
}

int32_t ImageObject::Height() {
  if (image_ && height_ == 0) {
    int32_t w, h;
    GetSize(w, h);
  }
  return height_;
}
