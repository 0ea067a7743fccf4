// UTF-8 and UTF-16 to code page 936. The same table runs against the system conversion (Windows
// build, under Wine) and the iconv one (native build): both must give these bytes.
#include "text/CodePage.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(CodePage, Utf8ToGbk) {
  struct Case { const char* name; std::string utf8; Text gbk; };
  const Case cases[] = {
      {"empty", "", ""},
      {"ascii", "src=a.jpg", "src=a.jpg"},
      {"chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},  // 中文
      {"latin letter in the code page", "\xC3\xA9", "\xA8\xA6"},   // é
      {"euro", "\xE2\x82\xAC", "\x80"},
      {"ideographic space", "\xE3\x80\x80", "\xA1\xA1"},
      {"zero byte ends the text", std::string("\xE4\xB8\xAD\0A", 5), "\xD6\xD0"},
      // Characters the code page lacks: a near character where the system has one, else "?".
      {"cent has a near character", "\xC2\xA2", "\xA1\xE9"},
      {"no-break space", "\xC2\xA0", "?"},
      {"thai", "\xE0\xB8\x81", "?"},
      {"byte order mark", "\xEF\xBB\xBF" "A", "?A"},
      {"astral character: one ? per surrogate", "\xF0\x9F\x98\x80", "??"},
      // Invalid UTF-8.
      {"lone continuation", "\x80" "A", "?A"},
      {"overlong two-byte", "\xC0\x80", "??"},
      {"overlong three-byte", "\xE0\x80\x80", "??"},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", "???"},
      {"surrogate encoded", "\xED\xA0\x80" "A", "??A"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "???"},
      {"invalid lead bytes", "\xF5\xFE\xFF" "A", "???A"},
      {"broken sequence then letter", "\xE4\xB8" "AB", "?AB"},
      {"broken sequence then character", "\xE4\xB8\xE4\xB8\xAD", "?\xD6\xD0"},
      {"truncated at the end swallows the rest", "A\xF0" "BC", "A?"},
      {"truncated three-byte at the end", "\xE4" "A", "?"},
      {"code page 936 input", "\xD5\x5C\xB0\xA1", "?\\??"},  // 誠啊 is not UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToGbk(B(c.utf8)), c.gbk) << c.name;
}

TEST(CodePage, WideUnitToAnsi) {
  const std::pair<uint16_t, Text> cases[] = {
      {0x0041, "A"},      {0x4E2D, "\xD6\xD0"}, {0x3000, "\xA1\xA1"}, {0x20AC, "\x80"},
      {0x00A2, "\xA1\xE9"}, {0x0E01, "?"},        {0xFFFD, "?"},        {0xD83D, "?"},
      {0xDE00, "?"},      {0x0000, ""},
  };
  for (const auto& [unit, ansi] : cases) EXPECT_EQ(WideUnitToAnsi(unit), ansi) << unit;
}

TEST(CodePage, NearCharacterTableMatchesTheSystem) {
  struct BestFit { uint16_t unit, bytes; };
  const BestFit table[] = {
#include "text/CodePage936BestFit.inc"
  };
  for (const BestFit& fit : table) {
    Text expected = fit.bytes < 0x100 ? Text(1, static_cast<char>(fit.bytes))
                                      : Text{static_cast<char>(fit.bytes >> 8),
                                             static_cast<char>(fit.bytes & 0xFF)};
    ASSERT_EQ(WideUnitToAnsi(fit.unit), expected) << fit.unit;
  }
}

}  // namespace
