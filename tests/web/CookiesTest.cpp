// Collecting Set-Cookie lines and merging cookie texts.
#include "web/Cookies.h"

#include <gtest/gtest.h>

namespace {

TEST(Cookies, CollectSetCookies) {
  const std::pair<Text, Text> cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nContent-Type: text/html\r\n"
       "Set-Cookie: b=2\r\n\r\n",
       "a=1; b=2"},
      {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", ""},
      {"Set-Cookie:a=1\r\nSet-Cookie: b=2", "b=2"},  // no space after the colon: not collected
      {"set-cookie: a=1\r\nSet-Cookie: b=2 ", "b=2"},
      {"Set-Cookie:   c=3  ; Secure", "c=3"},
      {"Set-Cookie: \r\nSet-Cookie: d=4", "d=4"},  // an empty line adds no empty item
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(CollectSetCookies(in), out) << in;
}

TEST(Cookies, MergeCookies) {
  struct Case { Text sent, returned, merged; };
  const Case cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1"},
      {"a=1; c=5", "c=deleted", "a=1"},
      {"a=1", "b=", "a=1"},
      {"a=1; a=2", "", "a=1"},
      {"x=1", "a=1; a=1", "a=1; x=1"},
      {"x=1", "a=1; a=2", "a=1; a=2; x=1"},
      {"a=h i\xA1\xA1j", "", "a=hij"},  // ASCII and full-width spaces removed
      {"flag; a=1", "b=2", "b=2; flag; a=1"},
      {"", "", ""},
      {"", "b=2", "b=2"},
      {"a=1;;b=2;", "", "a=1; b=2"},
      {"A=1", "a=2", "a=2; A=1"},  // names compare case-sensitively
      {"a=1", "a=Deleted", "a=Deleted"},
      {"a=1", "a==", "a=="},  // two "=": not an empty value
  };
  for (const Case& c : cases) {
    Text sent = c.sent, returned = c.returned;
    EXPECT_EQ(MergeCookies(sent, returned), c.merged) << c.sent << " + " << c.returned;
    EXPECT_EQ(sent, c.merged);
    EXPECT_EQ(returned.find(' '), Text::npos);
  }
}

TEST(Cookies, ItemHelpers) {
  EXPECT_EQ(CookieName(" a =1"), "a");
  EXPECT_EQ(CookieName("flag"), "flag");
  EXPECT_EQ(CookieName("=v"), "");
  EXPECT_TRUE(HasCookieName({"x=1", " a=2"}, "a"));
  EXPECT_FALSE(HasCookieName({"x=1", "A=2"}, "a"));
  EXPECT_FALSE(HasCookieName({}, ""));
  EXPECT_FALSE(IsCookiePairKept("b="));
  EXPECT_FALSE(IsCookiePairKept(" b= "));
  EXPECT_TRUE(IsCookiePairKept("b=1"));
  EXPECT_TRUE(IsCookiePairKept("b=="));
  EXPECT_TRUE(IsCookiePairKept("flag"));
  EXPECT_TRUE(IsCookiePairKept(""));
  EXPECT_EQ(RemoveDuplicateItems("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(RemoveDuplicateItems("a,,a,", ","), "a,");
  EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
}

}  // namespace
