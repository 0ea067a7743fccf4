#include "web/RequestHeaders.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/Compress.h"
#include "web/ZlibCodec.h"

namespace {

TEST(RequestHeaders, VerbOfMethod) {
  const struct {
    int32_t method;
    const char* verb;
  } cases[] = {{0, "GET"}, {1, "POST"}, {2, "HEAD"}, {3, "PUT"}, {4, "DELETE"}, {5, "OPTIONS"},
               {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}, {-1, "GET"}, {INT_MIN, "GET"}, {INT_MAX, "GET"}};
  for (const auto& c : cases) EXPECT_STREQ(VerbOfMethod(c.method), c.verb) << c.method;
}

TEST(RequestHeaders, SchemePrefixAndHttps) {
  const struct {
    const char* address;
    const char* withScheme;
    bool https;
  } cases[] = {
      {"example.test/a/ac1", "http://example.test/a/ac1", false},
      {"example.test/?next=http://other.test/", "example.test/?next=http://other.test/", false},
      {"HTTPS://Example.test/", "HTTPS://Example.test/", true},
      {"https://example.test/", "https://example.test/", true},
      {"https:/example.test/", "http://https:/example.test/", false},
      {"HTTP://example.test/", "HTTP://example.test/", false},
      {"example.test/?next=HTTPS://other.test/", "example.test/?next=HTTPS://other.test/", false},
      {"", "http://", false},
  };
  for (const auto& c : cases) {
    Text address = AddressWithScheme(c.address);
    EXPECT_EQ(address, c.withScheme) << c.address;
    EXPECT_EQ(IsHttpsAddress(address), c.https) << c.address;
  }
}

TEST(RequestHeaders, UserAgent) {
  const struct {
    const char* headers;
    const char* agent;
  } cases[] = {
      {"", kDefaultUserAgent},
      {"Accept: */*", kDefaultUserAgent},
      {"User-Agent: Given/2.0", "Given/2.0"},
      {"Accept: */*\r\nUser-Agent:   Given/2.0  \r\nX-Trace: on", "Given/2.0"},
      // A name in another case is found, but the value comes from the block's first colon.
      {"user-agent: lower/1", "lower/1"},
      {"Accept: */*\r\nuser-agent: lower/1", "*/*\r\nuser-agent: lower/1"},
      {"User-Agent:", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UserAgentOf(c.headers), c.agent) << c.headers;
}

TEST(RequestHeaders, DefaultSetAndCookieLine) {
  const Text tail = "Referer: http://h.test/p\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
  const struct {
    const char* headers;
    const char* cookies;
    Text expected;
  } cases[] = {
      {"", "", "Accept: */*\r\n" + tail},
      {"", "a=1; b=2", "Accept: */*\r\n" + tail + "\r\nCookie: a=1; b=2"},
      {"", "Cookie: a=1", "Accept: */*\r\n" + tail + "\r\nCookie: a=1"},
      {"X-Trace: on", "", "X-Trace: on\r\nAccept: */*\r\n" + tail},
      // Only exact-case names count as present; Accept-Encoding is not Accept.
      {"accept: text/html\r\nAccept-Encoding: gzip", "", "accept: text/html\r\nAccept-Encoding: gzip\r\nAccept: */*\r\n" + tail},
      {"Content-Type: text/plain\r\nAccept: a\r\nAccept-Language: en\r\nReferer: r", "",
       "Content-Type: text/plain\r\nAccept: a\r\nAccept-Language: en\r\nReferer: r"},
  };
  for (const auto& c : cases) {
    Text headers = c.headers;
    AddDefaultHeaders(headers, "http://h.test/p");
    AddCookieLine(headers, c.cookies);
    EXPECT_EQ(headers, c.expected) << c.headers;
  }
  Text bare;
  AddCookieLine(bare, "a=1");
  EXPECT_EQ(bare, "\r\nCookie: a=1");  // without the default set the block starts with the break
}

TEST(RequestHeaders, DecodeBodyTriggers) {
  static ZlibCodec codec;
  codec.Initialise();
  const std::string page = "<html>article page</html>";
  const Bytes plain = ToBytes(page), gzip = Compress(page, Wrapping::Gzip), zlib = Compress(page, Wrapping::Zlib),
              raw = Compress(page, Wrapping::RawDeflate);
  Bytes truncated(gzip.begin(), gzip.end() - 4);
  const struct {
    const char* name;
    Bytes body;
    const char* response;
    const char* request;
    Bytes expected;
  } cases[] = {
      {"gzip", gzip, "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n", "", plain},
      {"deflate, zlib-wrapped", zlib, "Content-Encoding: deflate", "", plain},
      {"deflate, raw", raw, "Content-Encoding: deflate", "", plain},
      {"gzip asked for by the request", gzip, "", "Accept-Encoding: gzip, deflate", plain},
      {"plain body despite the request", plain, "", "Accept-Encoding: gzip, deflate", plain},
      {"request spelt differently", gzip, "", "Accept-Encoding: gzip,deflate", gzip},
      {"response name in lower case", gzip, "content-encoding: gzip", "", gzip},
      {"no encoding named", gzip, "Content-Type: text/html", "", gzip},
      {"truncated gzip as read", truncated, "Content-Encoding: gzip", "", truncated},
      {"deflate wins over the gzip trigger", zlib, "Content-Encoding: deflate", "Accept-Encoding: gzip, deflate", plain},
      // The failing deflate result replaces the good gzip one: the body comes back as read.
      {"deflate replaces gzip", gzip, "Content-Encoding: gzip\r\nContent-Encoding: deflate", "", gzip},
      {"empty body", {}, "Content-Encoding: gzip", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeBody(codec, c.body, c.response, c.request), c.expected) << c.name;
}

}  // namespace
