#include "text/RegexDispatch.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr UINT kCodePage = 936;

bool Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count,
            VARIANT* result) {
  if (!object) return false;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
  // Automation wants the arguments last to first.
  std::vector<VARIANT> reversed(args, args + count);
  for (UINT k = 0; k < count / 2; ++k) std::swap(reversed[k], reversed[count - 1 - k]);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = count ? reversed.data() : nullptr;
  params.cArgs = count;
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                  nullptr, nullptr));
}
}  // namespace

BSTR TextToBstr(const Text& text) {
  int bytes = static_cast<int>(std::strlen(text.c_str()));
  if (bytes == 0) return SysAllocStringLen(L"", 0);
  int units = MultiByteToWideChar(kCodePage, 0, text.c_str(), bytes, nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (out && units > 0) MultiByteToWideChar(kCodePage, 0, text.c_str(), bytes, out, units);
  return out;
}

Text BstrToText(const wchar_t* units, UINT length) {
  if (!units || length == 0) return Text();
  int n = static_cast<int>(length);
  int bytes = WideCharToMultiByte(kCodePage, 0, units, n, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return Text();
  Text out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(kCodePage, 0, units, n, out.data(), bytes, nullptr, nullptr);
  out.resize(std::strlen(out.c_str()));  // a text ends at its first zero byte
  return out;
}

bool DispatchGet(IDispatch* object, const wchar_t* name, Variant& result, VARIANT* args, UINT count) {
  VariantClear(&result.v);
  bool ok = Invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, count, &result.v);
  if (!ok) VariantClear(&result.v);
  return ok;
}

bool DispatchPut(IDispatch* object, const wchar_t* name, VARIANT& value) {
  return Invoke(object, name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

bool DispatchCall(IDispatch* object, const wchar_t* name, VARIANT* args, UINT count, Variant& result) {
  VariantClear(&result.v);
  bool ok = Invoke(object, name, DISPATCH_METHOD, args, count, &result.v);
  if (!ok) VariantClear(&result.v);
  return ok;
}

int VariantToInt(const VARIANT& value) {
  VARIANT d;
  VariantInit(&d);
  if (FAILED(VariantChangeType(&d, const_cast<VARIANT*>(&value), 0, VT_R8))) return 0;
  double x = std::trunc(d.dblVal);
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(x);
}

bool VariantToBool(const VARIANT& value) {
  VARIANT b;
  VariantInit(&b);
  if (FAILED(VariantChangeType(&b, const_cast<VARIANT*>(&value), 0, VT_BOOL))) return false;
  return b.boolVal != VARIANT_FALSE;
}

Text VariantToText(const VARIANT& value) {
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) return Text();
  Variant s;
  if (FAILED(VariantChangeType(&s.v, const_cast<VARIANT*>(&value), 0, VT_BSTR))) return Text();
  return BstrToText(s.v.bstrVal, SysStringLen(s.v.bstrVal));
}

ComRef<IDispatch> VariantToDispatch(const VARIANT& value) {
  ComRef<IDispatch> out;
  if (value.vt == VT_DISPATCH && value.pdispVal) {
    value.pdispVal->AddRef();
    out = ComRef<IDispatch>(value.pdispVal);
  } else if (value.vt == VT_UNKNOWN && value.punkVal) {
    value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out.Out()));
  }
  return out;
}
