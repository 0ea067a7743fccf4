#pragma once
// Matching cases that every engine must pass alike: the in-process engine directly, and RegexObject
// over the system component and over the in-process engine. ASCII only, so the same bytes serve as
// code page text and as UTF-16.
#include <string>
#include <vector>

struct RegexCase {
  const char* pattern;
  const char* subject;
  bool ignoreCase;
  bool multiline;
  bool global;
  bool valid;
  // Each match: its text, then the text of every group ("" for one that took no part).
  std::vector<std::vector<std::string>> matches;
};

// The picture pattern of the extraction, with the switches it runs under.
inline constexpr const char* kPicturePattern = "src=\"(.*?)\"";

inline const std::vector<RegexCase>& RegexCases() {
  static const std::vector<RegexCase> cases = {
      // The picture pattern: case ignored, all matches, lazy group ends at the first quote.
      {kPicturePattern, "<img SRC=\"a\"><img src=\"b\">", true, true, true, true,
       {{"SRC=\"a\"", "a"}, {"src=\"b\"", "b"}}},
      {kPicturePattern, "<img SRC=\"a\"><img src=\"b\">", false, true, true, true, {{"src=\"b\"", "b"}}},
      {kPicturePattern, "<a data-src=\"x.png\" alt=\"y\"><b src=\"\">", true, true, true, true,
       {{"src=\"x.png\"", "x.png"}, {"src=\"\"", ""}}},
      {kPicturePattern, "src=\"a\nb\" src=\"c\"", true, true, true, true, {{"src=\"c\"", "c"}}},
      {kPicturePattern, "src=\"a\"src=\"a\"", true, true, true, true, {{"src=\"a\"", "a"}, {"src=\"a\"", "a"}}},
      {kPicturePattern, "src=\"open", true, true, true, true, {}},
      {"a.b", "a-b a\nb", false, false, true, true, {{"a-b"}}},
      // Anchors with and without the multi-line switch.
      {"^x\\d", "x1\nx2\r\nx3", false, true, true, true, {{"x1"}, {"x2"}, {"x3"}}},
      {"^x\\d", "x1\nx2", false, false, true, true, {{"x1"}}},
      {"\\d$", "1\n2", false, true, true, true, {{"1"}, {"2"}}},
      {"\\d$", "1\n2", false, false, true, true, {{"2"}}},
      // Without the global switch only the first match is taken.
      {"\\d+", "12 34", false, true, false, true, {{"12"}}},
      // Greedy against lazy, counted repeats.
      {"a.*b", "aXbYb", false, true, true, true, {{"aXbYb"}}},
      {"a.*?b", "aXbYb", false, true, true, true, {{"aXb"}}},
      {"a{2}", "aaaaa", false, true, true, true, {{"aa"}, {"aa"}}},
      {"x{1,2}?y", "xxy", false, true, true, true, {{"xxy"}}},
      {"[a-c]+\\d{2,3}", "abc1234 x99 C12", false, true, true, true, {{"abc123"}}},
      {"[a-c]+\\d{2,3}", "abc1234 x99 C12", true, true, true, true, {{"abc123"}, {"C12"}}},
      // Groups: alternation, a group that takes no part, nesting, non-capturing, back references.
      {"(a|b)(c)?", "acb", false, true, true, true, {{"ac", "a", "c"}, {"b", "b", ""}}},
      {"((\\w)\\w)-(\\d)", "ab-1 cd-2", false, true, true, true,
       {{"ab-1", "ab", "a", "1"}, {"cd-2", "cd", "c", "2"}}},
      {"(a|(b))+", "ba", false, true, true, true, {{"ba", "a", ""}}},  // each iteration starts afresh
      {"(?:ab)+(?=c)", "ababc abab", false, true, true, true, {{"abab"}}},
      {"x(?!1)\\d", "x1x2", false, true, true, true, {{"x2"}}},
      {"(\\w)\\1", "aabcDd", true, true, true, true, {{"aa", "a"}, {"Dd", "D"}}},
      // Classes, escapes, word edges.
      {"\\bcat\\b", "cat concat cat.", false, true, true, true, {{"cat"}, {"cat"}}},
      {"[^\\s,]+", "a b,c\td", false, true, true, true, {{"a"}, {"b"}, {"c"}, {"d"}}},
      {"\\W\\D", "a-b x9", false, true, true, true, {{"-b"}, {" x"}}},
      {"a\\.b\\?\\(\\)", "axb? a.b?()", false, true, true, true, {{"a.b?()"}}},
      {"\\x41\\u0042\\t", "AB\t", false, true, true, true, {{"AB\t"}}},
      {"[\\]\\-]+", "a]-]b", false, true, true, true, {{"]-]"}}},
      {"colou?r|gr[ae]y", "color grey gray colour", false, true, true, true,
       {{"color"}, {"grey"}, {"gray"}, {"colour"}}},
      // Patterns the dialect refuses.
      {"(ab", "ab", false, true, true, false, {}},
      {"a)", "a", false, true, true, false, {}},
      {"[b-a]", "a", false, true, true, false, {}},
      {"*a", "a", false, true, true, false, {}},
      {"a[", "a", false, true, true, false, {}},
      {"[a-\\d]", "-", false, true, true, false, {}},
  };
  return cases;
}

struct ReplaceCase {
  const char* pattern;
  const char* subject;
  const char* replacement;
  bool global;
  const char* expect;
};

inline const std::vector<ReplaceCase>& ReplaceCases() {
  static const std::vector<ReplaceCase> cases = {
      {"(\\w+)@(\\w+)", "a@b c@d", "$2@$1", true, "b@a d@c"},
      {"(\\w+)@(\\w+)", "a@b c@d", "$2@$1", false, "b@a c@d"},
      {"\\d", "a1b2", "<$&>", true, "a<1>b<2>"},
      {"\\d", "a1b2", "$$", true, "a$b$"},
      {"b", "abc", "[$`|$']", true, "a[a|c]c"},
      {"(a)|(x)", "ab", "$2-$1", true, "-ab"},
      {"(a)", "ab", "$5", true, "$5b"},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij", "$10$1", true, "ja"},
      {"x", "axbx", "", true, "ab"},
  };
  return cases;
}
