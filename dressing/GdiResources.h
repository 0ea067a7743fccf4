#pragma once
// Owners for the device contexts, GDI objects and GDI+ objects that one shadow paint takes and
// gives back before it returns.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace gp = Gdiplus::DllExports;

class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// Keeps an object selected into a context for one scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

template <class T, Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)>
class GdipObject {
 public:
  GdipObject() = default;
  explicit GdipObject(T* object) : object_(object) {}
  ~GdipObject() {
    if (object_) Delete(object_);
  }
  GdipObject(const GdipObject&) = delete;
  GdipObject& operator=(const GdipObject&) = delete;
  T* get() const { return object_; }
  T** out() { return &object_; }
  T* release() {
    T* object = object_;
    object_ = nullptr;
    return object;
  }

 private:
  T* object_ = nullptr;
};

using GdipGraphics = GdipObject<Gdiplus::GpGraphics, gp::GdipDeleteGraphics>;
using GdipPen = GdipObject<Gdiplus::GpPen, gp::GdipDeletePen>;
using GdipPath = GdipObject<Gdiplus::GpPath, gp::GdipDeletePath>;
