// Quote marker expansion and batch replacement, with code page 936 characters whose second byte
// equals a find text.
#include "text/BatchReplace.h"

#include <array>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

const Text kSincere = "\xD5\x5C";      // 誠: second byte is a backslash
const Text kTrailUpperA = "\xB0\x41";  // 癆: second byte is 'A'
const Text kQuote = "\xD2\xFD\xBA\xC5";  // 引号

using Pairs = std::vector<std::pair<Param<Text>, Param<Text>>>;

Text CallBatchReplace(const Text& text, Param<int32_t> maxCount, Param<int32_t> start, Param<bool> caseSensitive,
         const Pairs& given) {
  std::array<Param<Text>, 30> p{};
  for (size_t k = 1; k < given.size(); ++k) {
    p[2 * (k - 1)] = given[k].first;
    p[2 * (k - 1) + 1] = given[k].second;
  }
  return BatchReplace(text, maxCount, start, caseSensitive, given[0].first.value,
                      given[0].second.value, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8],
                      p[9], p[10], p[11], p[12], p[13], p[14], p[15], p[16], p[17], p[18], p[19],
                      p[20], p[21], p[22], p[23], p[24], p[25], p[26], p[27]);
}

TEST(BatchReplace, Cases) {
  struct Case {
    const char* name;
    Text text;
    Param<int32_t> maxCount, start;
    Param<bool> caseSensitive;
    Pairs pairs;
    Text result;
  };
  const Pairs cleanup = {{" ", ""}, {"\\", ""}, {"'", "\""}};
  Pairs lastPairOnly(15, {Param<Text>(), Param<Text>()});
  lastPairOnly[14] = {"a", "z"};
  const Case cases[] = {
      {"extraction cleanup", "<img src='a b\\c.jpg' >", {}, 0, false, cleanup,
       "<imgsrc=\"abc.jpg\">"},
      {"trail backslash kept", "a" + kSincere + "\\b", {}, {}, {}, cleanup, "a" + kSincere + "b"},
      {"trail letter kept", kTrailUpperA + "A", {}, {}, true, {{"A", "x"}}, kTrailUpperA + "x"},
      {"trail letter kept ignoring case", kTrailUpperA + "a", {}, {}, {}, {{"A", "x"}},
       kTrailUpperA + "x"},
      {"case ignored", "Aa", {}, {}, false, {{"a", "x"}}, "xx"},
      {"case kept", "Aa", {}, {}, true, {{"A", "x"}}, "xa"},
      {"case ignored by default", "ABab", {}, {}, {}, {{"Ab", "-"}}, "--"},
      {"max one per pair", "abab", 1, {}, {}, {{"a", "X"}, {"b", "Y"}}, "XYab"},
      {"max zero", "abab", 0, {}, {}, {{"a", "X"}}, "abab"},
      {"negative max is all", "abab", -3, {}, {}, {{"a", "X"}}, "XbXb"},
      {"start three", "aaaa", {}, 3, {}, {{"a", "X"}}, "aaXX"},
      {"start with max", "aaaa", 1, 2, {}, {{"a", "X"}}, "aXaa"},
      {"start below one", "aa", {}, -5, {}, {{"a", "X"}}, "XX"},
      {"start beyond end", "aa", {}, 3, {}, {{"a", "X"}}, "aa"},
      {"start on second byte", kSincere + "\\", {}, 2, {}, {{"\\", "X"}}, kSincere + "X"},
      {"chained pairs", "ab", {}, {}, {}, {{"a", "b"}, {"b", "c"}}, "cc"},
      {"replacement not rescanned", "aXa", {}, {}, {}, {{"a", "aa"}}, "aaXaa"},
      {"occurrences do not overlap", "aaa", {}, {}, {}, {{"aa", "b"}}, "ba"},
      {"empty find", "abc", {}, {}, {}, {{"", "x"}, {Param<Text>(), "y"}}, "abc"},
      {"absent replacement deletes", "abc", {}, {}, {}, {{"x", ""}, {"b", Param<Text>()}}, "ac"},
      {"fifteenth pair applies", "abc", {}, {}, {}, lastPairOnly, "zbc"},
      {"text ends at zero byte", Text("a\0a", 3), {}, {}, {}, {{"a", "b"}}, "b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CallBatchReplace(c.text, c.maxCount, c.start, c.caseSensitive, c.pairs), c.result) << c.name;
  }
}

TEST(QuoteMarker, Expansion) {
  const std::pair<Text, Text> cases[] = {
      {"#" + kQuote + "word#" + kQuote, "\"word\""},
      {"#word", "#word"},
      {"##" + kQuote + "#", "#\"#"},
      {"#\xD2\xFD", "#\xD2\xFD"},  // #引: an incomplete marker stays
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ExpandQuoteMarker(in), out) << in;
}

}  // namespace
