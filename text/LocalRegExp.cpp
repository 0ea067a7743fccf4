#include "text/LocalRegExp.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "text/RegexDispatch.h"
#include "text/RegexEngine.h"

namespace {

struct Member {
  const wchar_t* name;
  DISPID id;
};

class DispatchBase : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT k = 0; k < count; ++k) {
      ids[k] = DISPID_UNKNOWN;
      size_t n = 0;
      const Member* members = Members(n);
      for (size_t m = 0; m < n && k == 0; ++m)
        if (names[k] && lstrcmpiW(names[k], members[m].name) == 0) ids[k] = members[m].id;
      if (ids[k] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    DISPPARAMS none{};
    if (!params) params = &none;
    if (result) VariantInit(result);
    return Call(id, flags, *params, result);
  }

 protected:
  virtual ~DispatchBase() = default;
  virtual const Member* Members(size_t& count) const = 0;
  virtual HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) = 0;

  // Argument `index` in call order, converted to `type`.
  static HRESULT Arg(DISPPARAMS& params, UINT index, VARTYPE type, Variant& out) {
    UINT positional = params.cArgs;
    if (index >= positional) return DISP_E_PARAMNOTFOUND;
    VARIANT* arg = &params.rgvarg[positional - 1 - index];
    return VariantChangeType(&out.v, arg, 0, type);
  }

  static HRESULT Return(VARIANT* result, long number) {
    if (result) {
      result->vt = VT_I4;
      result->lVal = number;
    }
    return S_OK;
  }
  static HRESULT ReturnBool(VARIANT* result, bool value) {
    if (result) {
      result->vt = VT_BOOL;
      result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
  }
  static HRESULT ReturnText(VARIANT* result, std::u16string_view units) {
    if (!result) return S_OK;
    BSTR s = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()),
                               static_cast<UINT>(units.size()));
    if (!s) return E_OUTOFMEMORY;
    result->vt = VT_BSTR;
    result->bstrVal = s;
    return S_OK;
  }
  static HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
    if (!object) return E_OUTOFMEMORY;
    if (!result) {
      object->Release();
      return S_OK;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
};

bool IsGet(WORD flags) { return flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD); }

// What one Execute produced, shared by its collection and every match taken from it.
struct RunResult {
  std::u16string subject;
  std::vector<RegexMatch> matches;
};
using SharedRun = std::shared_ptr<const RunResult>;

// A read-only collection with Item (the default member, by 0-based index) and Count.
class IndexedList : public DispatchBase {
 protected:
  virtual size_t Count() const = 0;
  virtual HRESULT ItemAt(size_t index, VARIANT* result) = 0;

  const Member* Members(size_t& count) const override {
    static const Member members[] = {{L"Item", DISPID_VALUE}, {L"Count", 1}};
    count = 2;
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    if (id == 1) return Return(result, static_cast<long>(Count()));
    if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    Variant index;
    if (FAILED(Arg(params, 0, VT_I4, index))) return DISP_E_BADINDEX;
    if (index.v.lVal < 0 || static_cast<size_t>(index.v.lVal) >= Count()) return DISP_E_BADINDEX;
    return ItemAt(static_cast<size_t>(index.v.lVal), result);
  }
};

class SubMatchList final : public IndexedList {
 public:
  SubMatchList(SharedRun run, size_t match) : run_(std::move(run)), match_(match) {}

 protected:
  size_t Count() const override { return run_->matches[match_].groups.size(); }
  HRESULT ItemAt(size_t index, VARIANT* result) override {
    auto group = run_->matches[match_].groups[index];
    if (group.first == RegexMatch::npos) return S_OK;  // a group that took no part: Empty
    return ReturnText(result, std::u16string_view(run_->subject).substr(group.first, group.second - group.first));
  }

 private:
  SharedRun run_;
  size_t match_;
};

class MatchItem final : public DispatchBase {
 public:
  MatchItem(SharedRun run, size_t match) : run_(std::move(run)), match_(match) {}

 protected:
  const Member* Members(size_t& count) const override {
    static const Member members[] = {
        {L"Value", DISPID_VALUE}, {L"FirstIndex", 1}, {L"Length", 2}, {L"SubMatches", 3}};
    count = 4;
    return members;
  }
  HRESULT Call(DISPID id, WORD flags, DISPPARAMS&, VARIANT* result) override {
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    const RegexMatch& m = run_->matches[match_];
    switch (id) {
      case DISPID_VALUE: return ReturnText(result, std::u16string_view(run_->subject).substr(m.index, m.length));
      case 1: return Return(result, static_cast<long>(m.index));
      case 2: return Return(result, static_cast<long>(m.length));
      case 3: return ReturnObject(result, new (std::nothrow) SubMatchList(run_, match_));
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  SharedRun run_;
  size_t match_;
};

class MatchList final : public IndexedList {
 public:
  explicit MatchList(SharedRun run) : run_(std::move(run)) {}

 protected:
  size_t Count() const override { return run_->matches.size(); }
  HRESULT ItemAt(size_t index, VARIANT* result) override {
    return ReturnObject(result, new (std::nothrow) MatchItem(run_, index));
  }

 private:
  SharedRun run_;
};

std::u16string_view Units(const Variant& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.v.bstrVal), SysStringLen(text.v.bstrVal));
}

class LocalRegExp final : public DispatchBase {
 protected:
  enum : DISPID { IgnoreCase = 1, Multiline, Global, Pattern, Execute, Test, Replace };
  const Member* Members(size_t& count) const override {
    static const Member members[] = {{L"IgnoreCase", IgnoreCase}, {L"Multiline", Multiline},
                                     {L"Global", Global},         {L"Pattern", Pattern},
                                     {L"Execute", Execute},       {L"Test", Test},
                                     {L"Replace", Replace}};
    count = 7;
    return members;
  }

  HRESULT Call(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) override {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return Put(id, params);
    if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
      case IgnoreCase: return ReturnBool(result, engine_.ignoreCase);
      case Multiline: return ReturnBool(result, engine_.multiline);
      case Global: return ReturnBool(result, engine_.global);
      case Pattern: return ReturnText(result, engine_.pattern);
      case Execute: {
        Variant subject;
        if (FAILED(Arg(params, 0, VT_BSTR, subject))) return DISP_E_TYPEMISMATCH;
        auto run = std::make_shared<RunResult>();
        run->subject.assign(Units(subject));
        if (!engine_.Execute(run->subject, run->matches)) return E_FAIL;
        return ReturnObject(result, new (std::nothrow) MatchList(std::move(run)));
      }
      case Test: {
        Variant subject;
        if (FAILED(Arg(params, 0, VT_BSTR, subject))) return DISP_E_TYPEMISMATCH;
        bool ok = false;
        bool found = engine_.Test(Units(subject), &ok);
        if (!ok) return E_FAIL;
        return ReturnBool(result, found);
      }
      case Replace: {
        Variant subject, replacement;
        if (FAILED(Arg(params, 0, VT_BSTR, subject)) || FAILED(Arg(params, 1, VT_BSTR, replacement)))
          return DISP_E_TYPEMISMATCH;
        std::u16string out;
        if (!engine_.Replace(Units(subject), Units(replacement), out)) return E_FAIL;
        return ReturnText(result, out);
      }
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  HRESULT Put(DISPID id, DISPPARAMS& params) {
    Variant value;
    VARTYPE type = id == Pattern ? VT_BSTR : VT_BOOL;
    if (id < IgnoreCase || id > Pattern) return DISP_E_MEMBERNOTFOUND;
    if (params.cArgs < 1) return DISP_E_PARAMNOTFOUND;
    if (FAILED(VariantChangeType(&value.v, &params.rgvarg[0], 0, type))) return DISP_E_TYPEMISMATCH;
    switch (id) {
      case IgnoreCase: engine_.ignoreCase = value.v.boolVal != VARIANT_FALSE; break;
      case Multiline: engine_.multiline = value.v.boolVal != VARIANT_FALSE; break;
      case Global: engine_.global = value.v.boolVal != VARIANT_FALSE; break;
      default: engine_.pattern.assign(Units(value)); break;
    }
    return S_OK;
  }

  RegexEngine engine_;
};

}  // namespace

IDispatch* CreateLocalRegExp() { return new (std::nothrow) LocalRegExp(); }
