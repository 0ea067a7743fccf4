// String escapes, the broken ones included.
#include <gtest/gtest.h>

#include <vector>

#include "json/JsonDocument.h"

namespace {

TEST(JsonDecode, Escapes) {
  const std::vector<std::pair<Text, Text>> cases = {
      {"plain", "plain"},
      {R"(\r\n\t\b\f)", "\r\n\t\x08\x0c"},
      {R"(\"\\\/)", R"("\/)"},
      {R"(\x\q\u)", "xq"},  // unknown escapes give the letter; the last \u ends the input
      {R"(<p>a<\/p>)", "<p>a</p>"},
      {R"(\u0041\u004a\u004A)", "AJJ"},
      {R"(a\u0000b)", "ab"},  // the unit 0 adds nothing
      {R"(\u12G)", R"(\u12G)"},
      {R"(\u004g1)", R"(\u004g1)"},
      {R"(\u\u0041)", R"(\uA)"},  // the rescanned backslash starts an escape of its own
      {R"(\u004\n)", "\\u004\n"},
      {"abc\\", "abc"},
      {R"(abc\u12)", "abc"},
      {"", ""},
      // Code page 936: \u4e2d is the character D6 D0.
      {R"(\u4e2d\u4E2D)", "\xd6\xd0\xd6\xd0"},
      // Unpaired surrogate halves and characters outside the code page: the default character.
      {R"(\ud83d\ude00)", "??"},
      {R"(\u0e01)", "?"},
  };
  JsonDocument doc;
  for (const auto& [raw, plain] : cases) EXPECT_EQ(doc.DecodeString(raw), plain) << raw;
}

TEST(JsonDecode, StopsAtZeroByte) {
  JsonDocument doc;
  EXPECT_EQ(doc.DecodeString(Text("a\\n\0b", 5)), "a\n");
}

}  // namespace
