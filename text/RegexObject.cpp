#include "text/RegexObject.h"

#include <objbase.h>

#include <cstring>

#include "text/BatchReplace.h"
#include "text/DoubleByte.h"
#include "text/LocalRegExp.h"

namespace {

// The component counts a double-byte character as one; the search needs the byte where the match
// starts, so that the group is never found in the text before it.
int ByteOfCharacter(const Text& text, int character) {
  std::string_view content = ContentOf(text);
  size_t k = 0;
  for (int n = 0; n < character && k < content.size(); ++n) k += CharSizeAt(content, k);
  return static_cast<int>(k);
}

struct BstrArg : Variant {
  explicit BstrArg(const Text& text) {
    v.vt = VT_BSTR;
    v.bstrVal = TextToBstr(text);
  }
};

void PutBool(IDispatch* object, const wchar_t* name, bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  DispatchPut(object, name, v);  // a failed write leaves the component's default in place
}

int CountOf(IDispatch* collection) {
  Variant count;
  if (!DispatchGet(collection, L"Count", count)) return 0;
  return VariantToInt(count.v);
}

// Entry zeroBased of a collection (matches or groups); false when there is none.
bool ItemValue(IDispatch* collection, int zeroBased, Variant& item) {
  if (!collection || zeroBased < 0) return false;
  VARIANT index;
  VariantInit(&index);
  index.vt = VT_I4;
  index.lVal = zeroBased;
  return DispatchGet(collection, L"Item", item, &index, 1);
}

ComRef<IDispatch> ItemOf(IDispatch* collection, int zeroBased) {
  Variant item;
  if (!ItemValue(collection, zeroBased, item)) return {};
  return VariantToDispatch(item.v);
}

ComRef<IDispatch> SubMatchesOf(IDispatch* match) {
  Variant list;
  if (!DispatchGet(match, L"SubMatches", list)) return {};
  return VariantToDispatch(list.v);
}

ComRef<IDispatch> MakeEngine(RegexEngineChoice choice) {
  if (choice == RegexEngineChoice::Component) {
    CLSID clsid;
    ComRef<IDispatch> component;
    if (SUCCEEDED(CLSIDFromProgID(L"VBScript.RegExp", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(component.Out()))) &&
        component)
      return component;
  }
  return ComRef<IDispatch>(CreateLocalRegExp());
}

}  // namespace

// A thread already in the multi-threaded apartment refuses CoInitialize; uninitialising then would
// take away an initialisation that belongs to someone else, so only a successful one is undone.
RegexObject::RegexObject(RegexEngineChoice choice)
    : choice_(choice), comInitialised_(SUCCEEDED(CoInitialize(nullptr))) {}

RegexObject::RegexObject(const RegexObject& other)
    : choice_(other.choice_),
      comInitialised_(SUCCEEDED(CoInitialize(nullptr))),
      subject_(other.subject_),
      matchCount_(other.matchCount_) {
  engine_ = other.engine_.Share();
  matches_ = other.matches_.Share();
}

RegexObject::~RegexObject() {
  // The references must go before COM is uninitialised on this thread.
  engine_.Reset();
  matches_.Reset();
  subject_.clear();
  if (comInitialised_) CoUninitialize();
}

ComRef<IDispatch> RegexObject::Execute(const Text& text) const {
  BstrArg arg(text);
  Variant result;
  if (!DispatchCall(engine_.Get(), L"Execute", &arg.v, 1, result)) return {};
  return VariantToDispatch(result.v);
}

ComRef<IDispatch> RegexObject::MatchAt(int match) const { return ItemOf(matches_.Get(), match - 1); }

bool RegexObject::Create(const Text& pattern, const Text& subject, Param<bool> caseSensitive,
                         Param<bool> multiline, Param<bool> global, Param<bool> expandQuoteMarker) {
  engine_.Reset();
  matches_.Reset();
  engine_ = MakeEngine(choice_);
  IDispatch* engine = engine_.Get();
  PutBool(engine, L"IgnoreCase", !caseSensitive.value);
  PutBool(engine, L"Multiline", multiline.present ? multiline.value : true);
  // The component has no such property; the write fails and that is accepted.
  PutBool(engine, L"Singleline", true);
  PutBool(engine, L"Global", global.present ? global.value : true);
  BstrArg text(expandQuoteMarker.present && expandQuoteMarker.value ? ExpandQuoteMarker(pattern) : pattern);
  DispatchPut(engine, L"Pattern", text.v);
  matches_ = Execute(subject);
  subject_ = subject;
  return static_cast<bool>(matches_);
}

int RegexObject::MatchCount() const { return CountOf(matches_.Get()); }

Text RegexObject::SubMatchText(int match, int group, int* position) const {
  ComRef<IDispatch> m = MatchAt(match);
  ComRef<IDispatch> groups = SubMatchesOf(m.Get());
  Text value;
  if (Variant item; group >= 1 && ItemValue(groups.Get(), group - 1, item)) value = VariantToText(item.v);
  if (position) {
    Variant first, ignore;
    int f = DispatchGet(m.Get(), L"FirstIndex", first) ? VariantToInt(first.v) : 0;
    bool ignoreCase = DispatchGet(engine_.Get(), L"IgnoreCase", ignore) && VariantToBool(ignore.v);
    *position = FindText(subject_, value, ByteOfCharacter(subject_, f) + 1, ignoreCase) - 1;
  }
  return value;
}

Text RegexObject::MatchText(int match) const {
  ComRef<IDispatch> m = MatchAt(match);
  Variant value;
  if (!DispatchGet(m.Get(), L"Value", value)) return Text();
  return VariantToText(value.v);
}

ComRef<IDispatch> RegexObject::GetEngine() const { return engine_.Share(); }

void RegexObject::SetEngine(IDispatch* engine) {
  if (engine) engine->AddRef();
  engine_ = ComRef<IDispatch>(engine);
}

bool RegexObject::TestText(const Text& text) {
  matches_ = Execute(text);
  BstrArg arg(text);
  Variant result;
  if (!DispatchCall(engine_.Get(), L"Test", &arg.v, 1, result)) return false;
  return VariantToBool(result.v);
}

Text RegexObject::GetPattern() const {
  Variant pattern;
  if (!DispatchGet(engine_.Get(), L"Pattern", pattern)) return Text();
  return VariantToText(pattern.v);
}

Text RegexObject::EscapeMetacharacters(const Text& text) {
  // One pass gives what escaping each character in turn gives: the backslashes are doubled before
  // any are added, and no added backslash is one of the later characters. Whole double-byte
  // characters are copied as they are, since their second byte may equal a metacharacter.
  static const char kMeta[] = "\\^-$|{}[]().?";
  Text out;
  out.reserve(text.size() + text.size() / 4);
  std::string_view content = ContentOf(text);
  for (size_t k = 0; k < content.size();) {
    size_t size = CharSizeAt(content, k);
    if (size == 1 && std::strchr(kMeta, content[k])) out.push_back('\\');
    out.append(content.substr(k, size));
    k += size;
  }
  return out;
}

int RegexObject::FirstMatchGroups() const {
  ComRef<IDispatch> m = ItemOf(matches_.Get(), 0);
  ComRef<IDispatch> groups = SubMatchesOf(m.Get());
  return CountOf(groups.Get());
}

int RegexObject::GroupCount() const { return matchCount_ != 0 ? FirstMatchGroups() : 0; }

int RegexObject::FirstMatchGroupCount() const { return FirstMatchGroups(); }

int RegexObject::ExecuteAndCount(const Text& text) {
  matches_ = Execute(text);
  matchCount_ = CountOf(matches_.Get());
  return matchCount_;
}

Text RegexObject::ReplaceMatches(Param<Text> replacement) const {
  VARIANT args[2];
  BstrArg subject(subject_);
  BstrArg with(replacement.value);
  args[0] = subject.v;
  args[1] = with.v;
  Variant result;
  if (!DispatchCall(engine_.Get(), L"Replace", args, 2, result)) return Text();
  return VariantToText(result.v);
}
