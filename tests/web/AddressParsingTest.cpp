// Host, port and path of typed addresses.
#include "web/AddressParsing.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressParsing, HostPortAndPath) {
  struct Case {
    Text address;
    Text host, hostWithPort;
    int32_t port;
    Text path;
  };
  const Case cases[] = {
      {"HTTPS://Www.Example.COM:8443/A/b?Q=1", "www.example.com", "www.example.com:8443", 8443,
       "/A/b?Q=1"},
      {"Example.com", "example.com", "example.com", 80, "/"},
      {"https://example.com", "example.com", "example.com", 443, "/"},
      {"http://example.com/", "example.com", "example.com", 80, "/"},
      {"example.com/p", "example.com", "example.com", 80, "/p"},
      {"example.com?x=1", "example.com?x=1", "example.com?x=1", 80, "/"},
      {"http://h.com?q=/x", "h.com?q=", "h.com?q=", 80, "/x"},
      {"http://a.com/p/q?x=1#frag", "a.com", "a.com", 80, "/p/q?x=1#frag"},
      // The "http://" search is not anchored: a second address inside the query wins.
      {"site.com/go?u=http://Other.org/x", "other.org", "other.org", 80, "/x"},
      {"http://host:/p", "host", "host:", 0, "/p"},
      {"http://host:+81/", "host", "host:+81", 81, "/"},
      {"http://host:-1/", "host", "host:-1", -1, "/"},
      {"http://host:8x/", "host", "host:8x", 8, "/"},
      {"http://host: 82/", "host", "host: 82", 82, "/"},
      {"http://host:99999999999/", "host", "host:99999999999", 2147483647, "/"},
      // Full-width digits ８０８０ and a full-width space in the port.
      {"http://host:\xA1\xA1\xA3\xB8\xA3\xB0\xA3\xB8\xA3\xB0/", "host",
       "host:\xA1\xA1\xA3\xB8\xA3\xB0\xA3\xB8\xA3\xB0", 8080, "/"},
      // A full-width minus sign counts as a sign: －８１.
      {"http://host:\xA3\xAD\xA3\xB8\xA3\xB1/", "host", "host:\xA3\xAD\xA3\xB8\xA3\xB1", -81, "/"},
      {"httpsite.com/x", "httpsite.com", "httpsite.com", 443, "/x"},
      // A host that also occurs inside the scheme is still found after it.
      {"http://h/p", "h", "h", 80, "/p"},
      {"https://s/p", "s", "s", 443, "/p"},
      // A stray lead byte before the colon does not hide it.
      {"http://h\xF4:81/x", "h\xF4", "h\xF4:81", 81, "/x"},
      {"", "", "", 80, "/"},
      {"http://", "", "", 80, "/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostOfAddress(c.address), c.host) << c.address;
    EXPECT_EQ(HostOfAddress(c.address, true), c.hostWithPort) << c.address;
    EXPECT_EQ(PortOfAddress(c.address), c.port) << c.address;
    EXPECT_EQ(PathOfAddress(c.address), c.path) << c.address;
  }
}

TEST(AddressParsing, LowerCasingKeepsTwoByteCharacters) {
  // 癆 (B0 41) must not become 癮 (B0 61) when the host is lower-cased.
  EXPECT_EQ(HostOfAddress("http://\xB0\x41X.cn/"), "\xB0\x41x.cn");
  EXPECT_EQ(PathOfAddress("http://\xB0\x41X.cn/\xB0\x41"), "/\xB0\x41");
}

}  // namespace
