#include "text/RegexObject.h"

#include <objbase.h>

#include <cstring>

#include "text/LocalRegExp.h"

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool SameAsciiFolded(char a, char b) {
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return fold(a) == fold(b);
}

// The 1-based position of `what` in `text` at or after `start`, or -1. Only whole characters
// start an occurrence, and with ignoreCase only ASCII letters fold.
int FindText(const Text& text, const Text& what, int start, bool ignoreCase) {
  if (what.empty() || start < 1) return -1;
  size_t from = static_cast<size_t>(start) - 1;
  for (size_t k = 0; k + what.size() <= text.size();) {
    if (k >= from) {
      size_t n = 0;
      while (n < what.size() &&
             (ignoreCase ? SameAsciiFolded(text[k + n], what[n]) : text[k + n] == what[n]))
        ++n;
      if (n == what.size()) return static_cast<int>(k + 1);
    }
    k += IsLeadByte(static_cast<unsigned char>(text[k])) && k + 1 < text.size() ? 2 : 1;
  }
  return -1;
}

// The component counts a double-byte character as one; the search needs the byte where the match
// starts, so that the group is never found in the text before it.
int ByteOfCharacter(const Text& text, int character) {
  size_t k = 0;
  for (int n = 0; n < character && k < text.size(); ++n)
    k += IsLeadByte(static_cast<unsigned char>(text[k])) && k + 1 < text.size() ? 2 : 1;
  return static_cast<int>(k);
}

Text ExpandQuoteMarker(const Text& pattern) {
  static const Text marker = "#引号";
  Text out;
  size_t at = 0;
  for (size_t hit; (hit = pattern.find(marker, at)) != Text::npos; at = hit + marker.size()) {
    out.append(pattern, at, hit - at);
    out.push_back('"');
  }
  out.append(pattern, at, Text::npos);
  return out;
}

struct BstrArg {
  explicit BstrArg(const Text& text) {
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = TextToBstr(text);
  }
  ~BstrArg() { VariantClear(&v); }
  BstrArg(const BstrArg&) = delete;
  BstrArg& operator=(const BstrArg&) = delete;
  VARIANT v;
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

ComRef<IDispatch> ItemOf(IDispatch* collection, int zeroBased) {
  if (!collection || zeroBased < 0) return {};
  VARIANT index;
  VariantInit(&index);
  index.vt = VT_I4;
  index.lVal = zeroBased;
  Variant item;
  if (!DispatchGet(collection, L"Item", item, &index, 1)) return {};
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

RegexObject::RegexObject(RegexEngineChoice choice) : choice_(choice) { CoInitialize(nullptr); }

RegexObject::RegexObject(const RegexObject& other)
    : choice_(other.choice_), subject_(other.subject_), matchCount_(other.matchCount_) {
  CoInitialize(nullptr);
  engine_ = other.engine_.Share();
  matches_ = other.matches_.Share();
}

RegexObject::~RegexObject() {
  // The references must go before COM is uninitialised on this thread.
  engine_.Reset();
  matches_.Reset();
  subject_.clear();
  CoUninitialize();
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
  if (groups && group >= 1) {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = group - 1;
    Variant item;
    if (DispatchGet(groups.Get(), L"Item", item, &index, 1)) value = VariantToText(item.v);
  }
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
  for (size_t k = 0; k < text.size(); ++k) {
    unsigned char c = static_cast<unsigned char>(text[k]);
    if (IsLeadByte(c) && k + 1 < text.size()) {
      out.append(text, k, 2);
      ++k;
      continue;
    }
    if (c != 0 && std::strchr(kMeta, c)) out.push_back('\\');
    out.push_back(static_cast<char>(c));
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
