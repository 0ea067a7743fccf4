#pragma once
// Test helpers: plain host windows and a top-down 32-bit bitmap to render shadows into.
#include <windows.h>

#include <cstdint>
#include <vector>

// A visible, ordinary top-level window; destroyed with the object.
class TestHost {
 public:
  explicit TestHost(int x = 100, int y = 100, int w = 300, int h = 200,
                    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// A memory context with a zeroed top-down 32-bit DIB selected.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height);
  ~PixelCanvas();
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;
  HDC dc() const { return dc_; }
  uint32_t At(int x, int y) const { return bits_[y * width_ + x]; }
  int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  uint32_t* bits_ = nullptr;
};

// A stand-in shadow window carrying the colour and size properties the drawing reads.
HWND MakePropertyWindow(uint32_t colour, int32_t size);
