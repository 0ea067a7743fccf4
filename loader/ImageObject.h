#pragma once
// A picture held as bytes (PNG or anything else GDI+ decodes) turned into a GDI+ image. The image
// reads from a stream over a global memory copy of the bytes, so the three live and die together.
// GDI+ must be running.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>

#include "text/Param.h"

class ImageObject {
 public:
  ImageObject() = default;
  ~ImageObject();
  ImageObject(const ImageObject&) = delete;
  ImageObject& operator=(const ImageObject&) = delete;

  void Dispose();
  // True when an image is held afterwards. A failure after the copy keeps what was made so far
  // until the next Dispose or load.
  bool LoadFromBytes(const Bytes& bytes);
  int32_t Width();
  int32_t Height();
  void GetSize(int32_t& widthOut, int32_t& heightOut);
  Gdiplus::GpImage* Handle() const { return image_; }

  // Inspection for tests.
  bool HoldsMemory() const { return memory_ != nullptr; }
  bool HoldsStream() const { return stream_ != nullptr; }

 private:
  HGLOBAL memory_ = nullptr;
  IStream* stream_ = nullptr;
  Gdiplus::GpImage* image_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};
