#pragma once
// Late-bound calls by member name, and the small owners of COM references, variants and the
// conversion between code page 936 texts and BSTRs.
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <string>

#include "text/Param.h"

// One counted reference to a COM object. Sharing is explicit (Share) so a stray copy cannot
// unbalance the count.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* adopted) : p_(adopted) {}
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = other.p_;
      other.p_ = nullptr;
    }
    return *this;
  }
  ~ComRef() { Reset(); }

  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  ComRef Share() const {
    if (p_) p_->AddRef();
    return ComRef(p_);
  }
  T* Get() const { return p_; }
  T** Out() {
    Reset();
    return &p_;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT v;
};

// A BSTR from a code page 936 text (up to its first zero byte); null when allocation fails.
BSTR TextToBstr(const Text& text);
Text BstrToText(const wchar_t* units, UINT length);

// Calls member `name` of `object`; args in call order. Failure (unknown member, failed call)
// gives false and leaves `result` empty.
bool DispatchGet(IDispatch* object, const wchar_t* name, Variant& result, VARIANT* args = nullptr,
                 UINT count = 0);
bool DispatchPut(IDispatch* object, const wchar_t* name, VARIANT& value);
bool DispatchCall(IDispatch* object, const wchar_t* name, VARIANT* args, UINT count, Variant& result);

// Conversions of what a call returned. Numbers go through a double and are truncated toward zero.
int VariantToInt(const VARIANT& value);
bool VariantToBool(const VARIANT& value);
Text VariantToText(const VARIANT& value);
ComRef<IDispatch> VariantToDispatch(const VARIANT& value);
