// RegexObject over both engines: the system component (when Wine or Windows provides it) and the
// in-process engine. Every case runs on both and must give the same answers.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/text/regex_cases.h"
#include "text/RegexObject.h"

namespace {

class RegexObjectTest : public ::testing::TestWithParam<RegexEngineChoice> {};

INSTANTIATE_TEST_SUITE_P(Engines, RegexObjectTest,
                         ::testing::Values(RegexEngineChoice::Component, RegexEngineChoice::InProcess),
                         [](const auto& info) {
                           return info.param == RegexEngineChoice::Component ? "Component" : "InProcess";
                         });

TEST_P(RegexObjectTest, SharedCases) {
  for (const RegexCase& c : RegexCases()) {
    SCOPED_TRACE(std::string("pattern ") + c.pattern + " subject " + c.subject);
    RegexObject r(GetParam());
    EXPECT_EQ(r.Create(c.pattern, c.subject, !c.ignoreCase, c.multiline, c.global), c.valid);
    ASSERT_EQ(r.MatchCount(), static_cast<int>(c.matches.size()));
    for (size_t i = 0; i < c.matches.size(); ++i) {
      const auto& want = c.matches[i];
      int n = static_cast<int>(i) + 1;
      EXPECT_EQ(r.MatchText(n), want[0]);
      for (size_t g = 1; g < want.size(); ++g) EXPECT_EQ(r.SubMatchText(n, static_cast<int>(g)), want[g]);
    }
    if (!c.matches.empty()) {
      EXPECT_EQ(r.FirstMatchGroupCount(), static_cast<int>(c.matches[0].size()) - 1);
    }
    EXPECT_EQ(r.MatchText(static_cast<int>(c.matches.size()) + 1), "");
    EXPECT_EQ(r.TestText(c.subject), !c.matches.empty());
  }
}

TEST_P(RegexObjectTest, SharedReplaceCases) {
  for (const ReplaceCase& c : ReplaceCases()) {
    SCOPED_TRACE(std::string("pattern ") + c.pattern + " replacement " + c.replacement);
    RegexObject r(GetParam());
    r.Create(c.pattern, c.subject, true, true, c.global);
    EXPECT_EQ(r.ReplaceMatches(Text(c.replacement)), c.expect);
  }
}

// Switches left absent: case ignored, multi-line, all matches; the quote marker only on request.
TEST_P(RegexObjectTest, DefaultsAndQuoteMarker) {
  struct Case {
    const char* pattern;
    const char* subject;
    Param<bool> expand;
    std::vector<const char*> groups;  // group 1 of every match
  } cases[] = {
      {"^(B)", "a\nb\nB", {}, {"b", "B"}},
      {"src=#引号(.*?)#引号", "src=\"图片.jpg\" src=\"b\"", true, {"图片.jpg", "b"}},
      {"src=#引号(.*?)#引号", "src=\"a\" src=#引号b#引号", {}, {"b"}},
      {"src=#引号(.*?)#引号", "src=\"a\" src=#引号b#引号", false, {"b"}},
      {"(#号)#引号", "#号\"", true, {"#号"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    RegexObject r(GetParam());
    ASSERT_TRUE(r.Create(c.pattern, c.subject, {}, {}, {}, c.expand));
    ASSERT_EQ(r.MatchCount(), static_cast<int>(c.groups.size()));
    for (size_t i = 0; i < c.groups.size(); ++i) EXPECT_EQ(r.SubMatchText(static_cast<int>(i) + 1, 1), c.groups[i]);
  }
}

TEST_P(RegexObjectTest, SubMatchTextNumbersAndPosition) {
  struct Case {
    const char* subject;
    const char* pattern;
    bool caseSensitive;
    int match, group;
    const char* text;
    int position;
  } cases[] = {
      {"xxab", "a(b)", false, 1, 1, "b", 3},
      {"xxAB", "a(b)", false, 1, 1, "B", 3},
      {"xxAbab", "a(b)", true, 1, 1, "b", 5},   // the search follows the engine's case switch
      {"bab", "a(b)", false, 1, 1, "b", 2},     // the group text also stands before the match
      {"中文ab", "a(b)", false, 1, 1, "b", 5},  // characters before the match are two bytes each
      {"ab ab", "a(b)", false, 2, 1, "b", 4},
      {"xxab", "a(b)", false, 0, 1, "", -2},
      {"xxab", "a(b)", false, 2, 1, "", -2},
      {"xxab", "a(b)", false, 1, 0, "", -2},
      {"xxab", "a(b)", false, 1, 2, "", -2},
      {"a", "(a)|(b)", false, 1, 2, "", -2},  // a group that took no part
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.subject) + " match " + std::to_string(c.match) + " group " + std::to_string(c.group));
    RegexObject r(GetParam());
    r.Create(c.pattern, c.subject, c.caseSensitive);
    int position = 99;
    EXPECT_EQ(r.SubMatchText(c.match, c.group, &position), c.text);
    EXPECT_EQ(position, c.position);
    EXPECT_EQ(r.SubMatchText(c.match, c.group), c.text);
  }
}

// TestText and ExecuteAndCount replace the matches only: replacing still works on the subject of
// Create, and the group count waits for ExecuteAndCount.
TEST_P(RegexObjectTest, LaterRunsReplaceMatchesOnly) {
  RegexObject r(GetParam());
  ASSERT_TRUE(r.Create("(\\d)(x)?", "a1b2"));
  EXPECT_EQ(r.GroupCount(), 0);
  EXPECT_EQ(r.FirstMatchGroupCount(), 2);
  EXPECT_TRUE(r.TestText("z9"));
  EXPECT_EQ(r.MatchCount(), 1);
  EXPECT_EQ(r.MatchText(1), "9");
  EXPECT_EQ(r.ReplaceMatches(Text("<$1>")), "a<1>b<2>");
  EXPECT_EQ(r.ReplaceMatches(), "ab");
  EXPECT_FALSE(r.TestText("zz"));
  EXPECT_EQ(r.MatchCount(), 0);
  EXPECT_EQ(r.ExecuteAndCount("7 8 9"), 3);
  EXPECT_EQ(r.GroupCount(), 2);
  EXPECT_EQ(r.MatchText(3), "9");
  EXPECT_EQ(r.ExecuteAndCount("none"), 0);
  EXPECT_EQ(r.GroupCount(), 0);
  EXPECT_EQ(r.FirstMatchGroupCount(), 0);
  EXPECT_EQ(r.GetPattern(), "(\\d)(x)?");
}

TEST_P(RegexObjectTest, NewAndFailedObjectsGiveEmptyResults) {
  RegexObject fresh(GetParam());
  RegexObject invalid(GetParam());
  EXPECT_FALSE(invalid.Create("a(", "a("));
  for (RegexObject* r : {&fresh, &invalid}) {
    EXPECT_EQ(r->MatchCount(), 0);
    EXPECT_EQ(r->MatchText(1), "");
    int position = 0;
    EXPECT_EQ(r->SubMatchText(1, 1, &position), "");
    EXPECT_EQ(position, -2);
    EXPECT_EQ(r->FirstMatchGroupCount(), 0);
    EXPECT_EQ(r->ExecuteAndCount("a"), 0);
    EXPECT_EQ(r->GroupCount(), 0);
    EXPECT_FALSE(r->TestText("a("));
    EXPECT_EQ(r->ReplaceMatches(Text("x")), "");
  }
  EXPECT_EQ(fresh.GetPattern(), "");
  EXPECT_FALSE(fresh.GetEngine());
  EXPECT_EQ(invalid.GetPattern(), "a(");
}

TEST_P(RegexObjectTest, CopiesAndEnginesShareReferences) {
  auto original = std::make_unique<RegexObject>(GetParam());
  ASSERT_TRUE(original->Create("(\\w)x", "axbx"));
  RegexObject copy(*original);
  original.reset();  // the copy holds its own references and subject
  EXPECT_EQ(copy.MatchCount(), 2);
  EXPECT_EQ(copy.SubMatchText(2, 1), "b");
  EXPECT_EQ(copy.ReplaceMatches(Text("$1")), "ab");

  RegexObject other(GetParam());
  other.Create("x", "xx");
  copy.SetEngine(other.GetEngine().Get());
  EXPECT_EQ(copy.GetPattern(), "x");
  EXPECT_EQ(copy.MatchCount(), 2);                   // matches stay
  EXPECT_EQ(copy.ReplaceMatches(Text("-")), "a-b-");  // the subject stays too
  copy.SetEngine(nullptr);
  EXPECT_EQ(copy.GetPattern(), "");
  EXPECT_EQ(copy.MatchText(1), "ax");
}

// An escaped text used as a pattern finds exactly that text; double-byte characters whose second
// byte equals a metacharacter are left whole.
TEST_P(RegexObjectTest, EscapedTextMatchesItself) {
  const char* texts[] = {"a.b?(c)", "\\^-$|{}[]().?", "乗晐x"};
  for (const char* t : texts) {
    RegexObject r(GetParam());
    ASSERT_TRUE(r.Create(RegexObject::EscapeMetacharacters(t), Text("<") + t + ">", true));
    ASSERT_EQ(r.MatchCount(), 1) << t;
    EXPECT_EQ(r.MatchText(1), t);
  }
}

TEST(RegexObjectEscape, EscapesTheListedCharactersOnly) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a.b?(c)", "a\\.b\\?\\(c\\)"},
      {"a*b+", "a*b+"},
      {"\\^-$|{}[]", "\\\\\\^\\-\\$\\|\\{\\}\\[\\]"},
      {"乗晐", "乗晐"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RegexObject::EscapeMetacharacters(c.in), c.out) << c.in;
}

// A stand-in engine whose numbers arrive as doubles, as the component's may: every member answers
// with the object itself, a number or a text (its default value too, so a group item reads "b").
class DoubleEngine final : public IDispatch {
 public:
  explicit DoubleEngine(double number) : number_(number) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
    static const wchar_t* known[] = {L"Execute", L"Item", L"SubMatches", L"Count", L"FirstIndex", L"Value"};
    for (DISPID k = 0; k < 6; ++k)
      if (lstrcmpiW(names[0], known[k]) == 0) return *id = k + 1, S_OK;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (id >= 1 && id <= 3) {
      AddRef();
      result->vt = VT_DISPATCH;
      result->pdispVal = this;
    } else if (id == 4 || id == 5) {
      result->vt = VT_R8;
      result->dblVal = number_;
    } else {
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(L"b");
    }
    return S_OK;
  }
  ULONG refs_ = 1;

 private:
  double number_;
};

TEST(RegexObjectCom, NumbersAreTruncatedTowardZero) {
  struct Case {
    double number;
    int count;
    int position;  // where "b" is found in "abab", searching from the truncated index
  } cases[] = {{2.9, 2, 3}, {1.99, 1, 1}, {-0.7, 0, 1}, {-2.5, -2, 1}, {1e12, 2147483647, -2}};
  for (const Case& c : cases) {
    DoubleEngine engine(c.number);
    {
      RegexObject r;
      r.Create("ignored", "abab");
      r.SetEngine(&engine);
      EXPECT_EQ(r.ExecuteAndCount("x"), c.count) << c.number;
      EXPECT_EQ(r.MatchCount(), c.count);
      int position = 0;
      EXPECT_EQ(r.SubMatchText(1, 1, &position), "b");
      EXPECT_EQ(position, c.position) << c.number;
    }
    EXPECT_EQ(engine.refs_, 1u);  // every reference taken was given back
  }
}

// Every object balances its own COM initialisation: once all are gone the thread can enter the
// multi-threaded apartment, which an unbalanced single-threaded one would refuse. On a thread
// already in that apartment the objects' CoInitialize fails, and they must not uninitialise it.
TEST(RegexObjectCom, InitialisationIsBalanced) {
  for (bool alreadyMultithreaded : {false, true}) {
    HRESULT after = E_FAIL;
    std::thread worker([&] {
      if (alreadyMultithreaded) CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      {
        RegexObject a;
        EXPECT_TRUE(a.Create("(a)", "a"));
        EXPECT_EQ(a.SubMatchText(1, 1), "a");
        RegexObject b(a);
        RegexObject c(RegexEngineChoice::InProcess);
      }
      after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      if (SUCCEEDED(after)) CoUninitialize();
      if (alreadyMultithreaded) CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(after, alreadyMultithreaded ? S_FALSE : S_OK);
  }
}

// Under Wine the component is present; a run that silently fell back would prove nothing above.
TEST(RegexObjectCom, ComponentIsCreatedWhereRegistered) {
  CoInitialize(nullptr);
  CLSID clsid;
  IDispatch* component = nullptr;
  bool present = SUCCEEDED(CLSIDFromProgID(L"VBScript.RegExp", &clsid)) &&
                 SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(&component)));
  UINT componentInfo = 0;
  if (component) {
    component->GetTypeInfoCount(&componentInfo);
    component->Release();
  }
  CoUninitialize();
  if (!present) GTEST_SKIP() << "the scripting component is not installed here";
  RegexObject r;
  r.Create("a", "a");
  UINT info = 0;
  ASSERT_TRUE(r.GetEngine());
  r.GetEngine().Get()->GetTypeInfoCount(&info);
  EXPECT_EQ(info, componentInfo);
  EXPECT_EQ(info, 1u);  // the in-process engine offers no type information
}

}  // namespace
