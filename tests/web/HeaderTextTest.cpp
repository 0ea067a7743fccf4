// Marker and header line helpers.
#include "web/HeaderText.h"

#include <gtest/gtest.h>

namespace {

const Text kSincere = "\xD5\x5C";  // 誠: second byte is a backslash
const Text kQuote = "#\xD2\xFD\xBA\xC5";  // #引号

TEST(HeaderText, TextBetweenAndBefore) {
  struct Case { Text text, left, right, between, before; };
  const Case cases[] = {
      {"Set-Cookie: a=1; path=/; HttpOnly", "Set-Cookie:", ";", " a=1", ""},
      {"Set-Cookie: a=1", ": ", "=", "a", "Set-Cookie"},
      {"<a>x</a>", "<a>", "</a>", "x", ""},
      {"x]y[z", "[", "]", "", "x]y"},  // the right marker only counts after the left one
      {"no markers", "[", "]", "", ""},
      {"a[]b", "[", "]", "", "a"},
      // Only TextBetween reads the quote marker.
      {"<p class=\"c\">", "class=" + kQuote, kQuote, "c", ""},
      // The backslash inside 誠 is no marker; the real one after it is.
      {kSincere + "\\v\\", "\\", "\\", "v", kSincere},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.between) << c.text;
    EXPECT_EQ(TextBefore(c.text, c.left), c.before) << c.text;
  }
}

TEST(HeaderText, ValueAfterColon) {
  const std::pair<Text, Text> cases[] = {
      {"User-Agent: Mozilla/5.0 (X) ", "Mozilla/5.0 (X)"},
      {"User-Agent:", ""},
      {"no colon", ""},
      {"a:b:c", "b:c"},
      {"k:\xA1\xA1 v\t\xA1\xA1", "v\t"},  // full-width spaces trimmed, tabs kept
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ValueAfterColon(in), out) << in;
}

TEST(HeaderText, CapitaliseFirstAndNormaliseHeaderNames) {
  EXPECT_EQ(CapitaliseFirst("user"), "User");
  EXPECT_EQ(CapitaliseFirst("uSER"), "USER");
  EXPECT_EQ(CapitaliseFirst("1a"), "1a");
  EXPECT_EQ(CapitaliseFirst(""), "");
  const std::pair<Text, Text> cases[] = {
      {"user-agent: x\r\ncontent-TYPE:text/html", "User-Agent: x\r\nContent-TYPE:text/html"},
      {"ACCEPT: */*", "ACCEPT: */*"},
      {"a: 1\r\n\r\nb: 2\r\n", "A: 1\r\nB: 2"},
      {"no colon line\r\nx-y-: v-w", "X-Y-: v-w"},
      {"-x: 1", "-X: 1"},
      {"", ""},
      {"\r\n\r\n", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(NormaliseHeaderNames(in), out) << in;
}

}  // namespace
