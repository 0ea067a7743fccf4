// The in-process engine on its own, over UTF-16 units.
#include <gtest/gtest.h>

#include "tests/text/regex_cases.h"
#include "text/RegexEngine.h"

namespace {

std::u16string Units(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string Ascii(std::u16string_view units) {
  std::string out;
  for (char16_t c : units) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

std::vector<std::vector<std::string>> Describe(std::u16string_view subject, const std::vector<RegexMatch>& ms) {
  std::vector<std::vector<std::string>> out;
  for (const RegexMatch& m : ms) {
    std::vector<std::string> row{Ascii(subject.substr(m.index, m.length))};
    for (auto g : m.groups)
      row.push_back(g.first == RegexMatch::npos ? "" : Ascii(subject.substr(g.first, g.second - g.first)));
    out.push_back(row);
  }
  return out;
}

void Configure(RegexEngine& e, std::string_view pattern, bool ignoreCase, bool multiline, bool global) {
  e.pattern = Units(pattern);
  e.ignoreCase = ignoreCase;
  e.multiline = multiline;
  e.global = global;
}

// Where Wine's component strays from the dialect (its dot also refuses a carriage return, and a
// global run of a pattern that matches empty never ends), the in-process engine alone is held to it.
const std::vector<RegexCase> kEngineOnlyCases = {
    {"a.b", "a\rb a\nb", false, false, true, true, {{"a\rb"}}},
    {"x*", "axb", false, true, true, true, {{""}, {"x"}, {""}, {""}}},
};

TEST(RegexEngine, SharedCases) {
  std::vector<RegexCase> all = RegexCases();
  all.insert(all.end(), kEngineOnlyCases.begin(), kEngineOnlyCases.end());
  for (const RegexCase& c : all) {
    SCOPED_TRACE(std::string("pattern ") + c.pattern + " subject " + c.subject);
    RegexEngine e;
    Configure(e, c.pattern, c.ignoreCase, c.multiline, c.global);
    std::u16string subject = Units(c.subject);
    std::vector<RegexMatch> ms;
    EXPECT_EQ(e.Execute(subject, ms), c.valid);
    EXPECT_EQ(Describe(subject, ms), c.matches);
    bool ok = false;
    EXPECT_EQ(e.Test(subject, &ok), !c.matches.empty());
    EXPECT_EQ(ok, c.valid);
  }
}

TEST(RegexEngine, SharedReplaceCases) {
  for (const ReplaceCase& c : ReplaceCases()) {
    SCOPED_TRACE(std::string("pattern ") + c.pattern + " replacement " + c.replacement);
    RegexEngine e;
    Configure(e, c.pattern, false, true, c.global);
    std::u16string out;
    ASSERT_TRUE(e.Replace(Units(c.subject), Units(c.replacement), out));
    EXPECT_EQ(Ascii(out), c.expect);
  }
}

// Units beyond ASCII: only ASCII letters fold with case ignored, ranges compare code points, and a
// double-byte character is one unit for the dot.
TEST(RegexEngine, WideUnits) {
  struct Case {
    std::u16string pattern, subject;
    bool ignoreCase;
    std::u16string match;
  } cases[] = {
      {u"\u0391a", u"\u03b1A\u0391A", true, u"\u0391A"},                 // Greek keeps its case
      {u"[\uff41]", u"\uff21\uff41", true, u"\uff41"},                   // so does full width
      {u"[\u4e00-\u9fa5]+", u"ab\u4e2d\u6587cd", false, u"\u4e2d\u6587"},  // a range of ideographs
      {u"a.c", u"a\u4e2dc", false, u"a\u4e2dc"},
      {u"\\s", u"x\u3000y", false, u"\u3000"},                            // ideographic space
  };
  for (const Case& c : cases) {
    RegexEngine e;
    e.pattern = c.pattern;
    e.ignoreCase = c.ignoreCase;
    std::vector<RegexMatch> ms;
    ASSERT_TRUE(e.Execute(c.subject, ms));
    ASSERT_EQ(ms.size(), 1u) << Ascii(c.pattern);
    EXPECT_EQ(c.subject.substr(ms[0].index, ms[0].length), c.match);
  }
}

// Ten megabytes in one line: single-unit repeats keep a constant stack, a repeated group costs
// heap, and nothing recurses on the native stack.
TEST(RegexEngine, TenMegabyteSubject) {
  const size_t size = 10 * 1024 * 1024;
  std::u16string subject(size, u'a');
  subject[0] = u'"';
  subject[size - 1] = u'"';
  struct Case {
    const char* pattern;
    size_t count, length;
  } cases[] = {
      {"\"(.*?)\"", 1, size},
      {"\"([^\"]*)\"", 1, size},
      {"a+\"$", 1, size - 1},
      {"src=\"(.*?)\"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    RegexEngine e;
    Configure(e, c.pattern, true, true, true);
    std::vector<RegexMatch> ms;
    ASSERT_TRUE(e.Execute(subject, ms));
    ASSERT_EQ(ms.size(), c.count);
    if (c.count) {
      EXPECT_EQ(ms[0].length, c.length);
    }
  }
  // A repeated group keeps a few frames per iteration on the heap: a megabyte of them here.
  RegexEngine e;
  Configure(e, "(?:a|b)+\"$", false, false, true);
  std::vector<RegexMatch> ms;
  ASSERT_TRUE(e.Execute(std::u16string_view(subject).substr(size - 1024 * 1024), ms));
  ASSERT_EQ(ms.size(), 1u);
  EXPECT_EQ(ms[0].length, 1024u * 1024u);
}

// A pattern that backtracks without end fails once its work runs out instead of hanging.
TEST(RegexEngine, StepLimitEndsRunawayBacktracking) {
  RegexEngine e;
  Configure(e, "(a*)*b", false, false, true);
  e.stepLimit = 1000000;
  std::u16string subject(40, u'a');
  std::vector<RegexMatch> ms;
  EXPECT_FALSE(e.Execute(subject, ms));
  EXPECT_TRUE(ms.empty());
  std::u16string out;
  EXPECT_FALSE(e.Replace(subject, u"x", out));
  EXPECT_EQ(e.GroupCount(), 1);
}

}  // namespace
