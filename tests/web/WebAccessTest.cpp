// WebAccess through the system's WinInet against the loopback server.
#include "web/WebAccess.h"

#include <gtest/gtest.h>

#include "tests/support/Compress.h"
#include "tests/support/LoopbackServer.h"
#include "web/RequestHeaders.h"
#include "web/ZlibCodec.h"

namespace {

const Text kDefaultSet =
    "Accept: */*\r\nReferer: ADDR\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

Text Replace(Text text, const Text& from, const Text& to) {
  for (size_t at = text.find(from); at != Text::npos; at = text.find(from, at + to.size())) text.replace(at, from.size(), to);
  return text;
}

// The header lines the server received, without the Host line WinInet adds, each ending in CR LF.
Text LinesWithoutHost(const RecordedRequest& r) {
  Text out;
  for (size_t start = 0; start < r.headers.size();) {
    size_t end = r.headers.find("\r\n", start) + 2;
    Text line = r.headers.substr(start, end - start);
    if (line.rfind("Host:", 0) != 0) out += line;
    start = end;
  }
  return out;
}

class WebAccessTest : public testing::Test {
protected:
  static void SetUpTestSuite() { ProgramZlibCodec().Initialise(); }
  void SetUp() override { ASSERT_TRUE(server.Running()); }

  LoopbackServer server;
};

TEST_F(WebAccessTest, HeaderBlockSentAndAgent) {
  const struct {
    const char* name;
    Text extra;
    Param<bool> complete, fixCase;
    bool cookiesPresent;
    Text cookies;
    Text expectedBlock;  // ADDR stands for the address
    Text expectedLines;  // as received after Host; empty: the block's lines
  } cases[] = {
      {"defaults only", "", {}, {}, false, "", kDefaultSet, ""},
      {"defaults and a cookie pair", "", {}, {}, true, "a=1; b=2", kDefaultSet + "\r\nCookie: a=1; b=2", ""},
      {"cookie text with its name", "", {}, {}, true, "Cookie: a=1", kDefaultSet + "\r\nCookie: a=1", ""},
      {"cookie alone starts with a break", "", false, {}, true, "a=1", "\r\nCookie: a=1", "Cookie: a=1\r\n"},
      {"given agent", "User-Agent: Given/2.0\r\nX-Trace: on", false, {}, true, "",
       "User-Agent: Given/2.0\r\nX-Trace: on", ""},
      {"lower-case names fixed", "user-agent: lower/1\r\nx-trace: on\r\nno colon here", false, {}, true, "",
       "User-Agent: lower/1\r\nX-Trace: on", ""},
      {"lower-case names kept", "x-trace: on", false, false, true, "", "x-trace: on", ""},
      {"given names kept from the default set", "Accept: text/html\r\nReferer: http://r.test/", {}, {}, true, "",
       "Accept: text/html\r\nReferer: http://r.test/\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.Serve("/h", Answer::Ok(std::string("ok")));
    Text address = server.Address("/h"), headers = c.extra, cookies = c.cookies;
    Bytes body = c.cookiesPresent ? WebAccess(address, 0, {}, cookies, {}, headers, {}, {}, {}, {}, {}, c.complete, c.fixCase)
                                  : WebAccess(address, 0, {}, {}, {}, headers, {}, {}, {}, {}, {}, c.complete, c.fixCase);
    EXPECT_EQ(ToString(body), "ok");
    const Text block = Replace(c.expectedBlock, "ADDR", address);
    EXPECT_EQ(headers, block);
    RecordedRequest r = server.LastRequest();
    EXPECT_EQ(r.requestLine, "GET /h HTTP/1.1");
    Text lines = c.expectedLines.empty() ? block + "\r\n" : c.expectedLines;
    // WinInet puts the agent of InternetOpen right after Host when the block names none.
    if (UserAgentOf(block) == kDefaultUserAgent) lines = "User-Agent: " + Text(kDefaultUserAgent) + "\r\n" + lines;
    EXPECT_EQ(LinesWithoutHost(r), lines);
  }
}

TEST_F(WebAccessTest, TextCallSendsOnlyHostAndDefaultAgent) {
  server.Serve("/t", Answer::Ok(std::string("plain")).With("Set-Cookie: s=1"));
  Text address = server.Address("/t");
  EXPECT_EQ(WebAccessText(address, 0), "plain");
  RecordedRequest r = server.LastRequest();
  EXPECT_EQ(r.headers, "Host: " + server.HostPort() + "\r\nUser-Agent: " + kDefaultUserAgent + "\r\n");

  // A second call shows WinInet kept no cookie of the first: cookies are always present here.
  EXPECT_EQ(WebAccessText(address, 0), "plain");
  EXPECT_FALSE(server.LastRequest().HasHeader("Cookie"));

  // Given arguments arrive present with their values: no header-name rewrite, no merging.
  Text headers = "x-trace: on", cookies = "a=1", returned;
  EXPECT_EQ(WebAccessText(address, 0, {}, cookies, returned, headers), "plain");
  EXPECT_EQ(headers, "x-trace: on\r\nCookie: a=1");
  EXPECT_EQ(cookies, "a=1");
  EXPECT_EQ(returned, "s=1");
}

// Leaving cookies out hands them to WinInet's own store; giving any cookie text keeps it out.
TEST_F(WebAccessTest, WinInetCookieStoreOnlyWhenCookiesAbsent) {
  server.Serve("/jar/set", Answer::Ok(std::string("set")).With("Set-Cookie: jar=1; path=/jar"));
  server.Serve("/jar/get", Answer::Ok(std::string("get")));
  Text set = server.Address("/jar/set"), get = server.Address("/jar/get"), none;
  WebAccess(set);
  WebAccess(get, 0, {}, none);
  EXPECT_FALSE(server.LastRequest().HasHeader("Cookie"));
  WebAccess(get);
  EXPECT_EQ(server.LastRequest().Header("Cookie"), "jar=1");
}

TEST_F(WebAccessTest, MethodsAndBodies) {
  const struct {
    int32_t method;
    const char* postText;
    Bytes postBytes;
    const char* requestLine;
    std::string sentBody;
    Bytes postBytesAfter;
  } cases[] = {
      {3, "x=1", {}, "PUT /m HTTP/1.1", "x=1", ToBytes("x=1")},
      {8, "x=1", {}, "GET /m HTTP/1.1", "", {}},
      {-1, "x=1", {}, "GET /m HTTP/1.1", "", {}},
      {0, "x=1", ToBytes("kept"), "GET /m HTTP/1.1", "", ToBytes("kept")},
      {1, "name=%E4&b=2", {}, "POST /m HTTP/1.1", "name=%E4&b=2", ToBytes("name=%E4&b=2")},
      {1, "ignored", ToBytes(std::string("bin\0ary", 7)), "POST /m HTTP/1.1", std::string("bin\0ary", 7), ToBytes(std::string("bin\0ary", 7))},
      {4, "", {}, "DELETE /m HTTP/1.1", "", {}},
  };
  server.Serve("/m", Answer::Ok(std::string("done")));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requestLine);
    Text address = server.Address("/m");
    Bytes postBytes = c.postBytes;
    EXPECT_EQ(ToString(WebAccess(address, c.method, Text(c.postText), {}, {}, {}, {}, {}, postBytes)), "done");
    RecordedRequest r = server.LastRequest();
    EXPECT_EQ(r.requestLine, c.requestLine);
    EXPECT_EQ(r.body, c.sentBody);
    EXPECT_EQ(postBytes, c.postBytesAfter);
  }
}

TEST_F(WebAccessTest, AddressWithoutSchemeIsWrittenBack) {
  server.Serve("/a/ac1?x=1", Answer::Ok(std::string("article")));
  Text address = server.HostPort() + "/a/ac1?x=1";
  EXPECT_EQ(ToString(WebAccess(address)), "article");
  EXPECT_EQ(address, server.Address("/a/ac1?x=1"));
  EXPECT_EQ(server.LastRequest().requestLine, "GET /a/ac1?x=1 HTTP/1.1");
}

TEST_F(WebAccessTest, AnyStatusBodyAndRedirects) {
  server.Serve("/moved", Answer::Redirect(302, server.Address("/target"), "moved body"));
  server.Serve("/target", Answer::Ok(std::string("target body")));
  server.Serve("/missing", Answer::Status(404, "Not Found", "missing body"));
  const struct {
    const char* path;
    bool noRedirect;
    const char* body;
    const char* statusLine;
  } cases[] = {
      {"/moved", true, "moved body", "HTTP/1.1 302 Found\r\n"},
      {"/moved", false, "target body", "HTTP/1.1 200 OK\r\n"},
      {"/missing", false, "missing body", "HTTP/1.1 404 Not Found\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    Text address = server.Address(c.path), responseHeaders;
    Bytes body = WebAccess(address, 0, {}, {}, {}, {}, responseHeaders, c.noRedirect);
    EXPECT_EQ(ToString(body), c.body);
    EXPECT_EQ(responseHeaders.rfind(c.statusLine, 0), 0u) << responseHeaders;
  }
}

// Blocks of 4999 bytes are read; from 5000 bytes on (with the closing zero the buffer is too small)
// responseHeaders stays 5000 spaces, so no cookies are collected and no inflation is triggered.
TEST_F(WebAccessTest, ResponseHeaderRoom) {
  const std::string page = "page text";
  for (size_t total : {4999u, 5000u, 7000u}) {
    SCOPED_TRACE(total);
    Answer a = Answer::Ok(Compress(page, Wrapping::Gzip), "text/html");
    a.With("Content-Encoding: gzip").With("Set-Cookie: big=1");
    // Status line, the lines above, Content-Length, Connection and the closing blank line.
    size_t size = 17 + 25 + 24 + 19 + 20 + 19 + 2;
    for (int i = 0; size < total; ++i) {
      std::string line = "X-Fill-" + std::to_string(i) + ": ";
      line += std::string(std::min<size_t>(900, total - size - line.size() - 2), 'f');
      size += line.size() + 2;
      a.With(line);
    }
    server.Serve("/big", a);
    Text address = server.Address("/big"), responseHeaders = "before", returned = "before", cookies;
    Bytes body = WebAccess(address, 0, {}, cookies, returned, {}, responseHeaders);
    if (total < 5000) {
      EXPECT_EQ(responseHeaders.size(), total);
      EXPECT_EQ(returned, "big=1");
      EXPECT_EQ(ToString(body), page);
    } else {
      EXPECT_EQ(responseHeaders, Text(5000, ' '));
      EXPECT_EQ(returned, "");
      EXPECT_EQ(body, Compress(page, Wrapping::Gzip));
    }
  }
}

TEST_F(WebAccessTest, SetCookieCollectedAndMergedAcrossCalls) {
  server.Serve("/login", Answer::Ok(std::string("in")).With("set-cookie: a=1; path=/; HttpOnly").With("SET-COOKIE: b=2"));
  server.Serve("/next", Answer::Ok(std::string("next")).With("Set-Cookie: b=3").With("Set-Cookie: a=deleted; path=/"));

  Text address = server.Address("/login"), cookies = "x=9", returned, responseHeaders;
  WebAccess(address, 0, {}, cookies, returned, {}, responseHeaders);
  EXPECT_NE(responseHeaders.find("Set-Cookie: a=1; path=/; HttpOnly\r\nSet-Cookie: b=2\r\n"), Text::npos);
  EXPECT_EQ(returned, "a=1; b=2; x=9");
  EXPECT_EQ(cookies, "a=1; b=2; x=9");

  address = server.Address("/next");
  WebAccess(address, 0, {}, cookies, returned);
  EXPECT_EQ(server.LastRequest().Header("Cookie"), "a=1; b=2; x=9");
  EXPECT_EQ(cookies, "b=3; x=9");
  EXPECT_EQ(returned, "b=3; x=9");

  // Without merging the sent cookies stay as they were and only the response's come back.
  Text kept = "x=9";
  WebAccess(address, 0, {}, kept, returned, {}, {}, {}, {}, {}, false);
  EXPECT_EQ(kept, "x=9");
  EXPECT_EQ(returned, "b=3; a=deleted");
}

TEST_F(WebAccessTest, BodiesDecodedOrAsRead) {
  const std::string page = "<html><body>" + std::string(200000, 'p') + "</body></html>";
  const Bytes gzip = Compress(page, Wrapping::Gzip);
  const Bytes cut(gzip.begin(), gzip.end() - 20);
  const Bytes noisy = SampleBody(150000, false);
  const struct {
    const char* name;
    Answer answer;
    const char* extra;
    Bytes expected;
  } cases[] = {
      {"gzip", Answer::Ok(gzip).With("Content-Encoding: gzip"), "", ToBytes(page)},
      {"zlib-wrapped deflate", Answer::Ok(Compress(page, Wrapping::Zlib)).With("Content-Encoding: deflate"), "", ToBytes(page)},
      {"raw deflate", Answer::Ok(Compress(page, Wrapping::RawDeflate)).With("Content-Encoding: deflate"), "", ToBytes(page)},
      {"gzip asked for, plain sent", Answer::Ok(page), "Accept-Encoding: gzip, deflate", ToBytes(page)},
      {"gzip asked for and sent unmarked", Answer::Ok(gzip), "Accept-Encoding: gzip, deflate", ToBytes(page)},
      {"truncated gzip as read", Answer::Ok(cut).With("Content-Encoding: gzip"), "", cut},
      {"empty body", Answer::Ok(std::string()), "", {}},
      {"incompressible body in slow pieces", [&] {
         Answer a = Answer::Ok(noisy);
         a.delayMs = 50;
         a.pieceSize = 30000;
         a.pieceDelayMs = 20;
         return a;
       }(), "", noisy},
      {"body cut short by the server", [&] {
         Answer a = Answer::Ok(page);
         a.cutBodyAfter = 5000;
         return a;
       }(), "", ToBytes(page.substr(0, 5000))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.Serve("/body", c.answer);
    Text address = server.Address("/body"), headers = c.extra, responseHeaders, cookies;
    EXPECT_EQ(WebAccess(address, 0, {}, cookies, {}, headers, responseHeaders), c.expected);
    EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  }
}

// Nothing answered, or nobody listening: empty bytes and no cookies, and no failure reported.
// Wine answers the header query of such a request with an empty block ("\r\n") where a failed
// query leaves the 5000 spaces; either way nothing is collected and nothing is inflated.
TEST_F(WebAccessTest, ServerFailures) {
  Answer closed;
  closed.closeWithoutAnswer = true;
  server.Serve("/closed", closed);
  Text refused;
  {
    LoopbackServer gone;
    refused = gone.Address("/nobody");
  }
  for (const Text& target : {server.Address("/closed"), refused}) {
    SCOPED_TRACE(target);
    Text address = target, responseHeaders, returned = "old", cookies, headers = "Accept-Encoding: gzip, deflate";
    EXPECT_TRUE(WebAccess(address, 0, {}, cookies, returned, headers, responseHeaders).empty());
    EXPECT_EQ(returned, "");
    EXPECT_TRUE(responseHeaders == "\r\n" || responseHeaders == Text(5000, ' '));
  }
  EXPECT_EQ(server.LastRequest().path, "/closed");
}

// The connection cannot be opened for an address without a host: empty bytes, and only the
// address prefix and the header-name rewrite have happened.
TEST_F(WebAccessTest, OpenFailureLeavesOutputsUntouched) {
  Text address = "http:///no-host", cookies = "a=1", returned = "r", headers = "user-agent: u", responseHeaders = "h";
  Bytes postBytes = ToBytes("");
  EXPECT_TRUE(WebAccess(address, 1, Text("p=1"), cookies, returned, headers, responseHeaders, {}, postBytes).empty());
  EXPECT_EQ(address, "http:///no-host");
  EXPECT_EQ(headers, "User-Agent: u");
  EXPECT_EQ(cookies, "a=1");
  EXPECT_EQ(returned, "r");
  EXPECT_EQ(responseHeaders, "h");
  EXPECT_TRUE(postBytes.empty());
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(WebAccessTest, ProxyForms) {
  server.Serve("/via?q=1", Answer::Ok(std::string("proxied")));
  const struct {
    const char* address;
    const char* method;
    const char* targetStart;
    const char* body;
  } cases[] = {
      {"http://site.invalid/via?q=1", "GET", "http://site.invalid", "proxied"},
      {"https://site.invalid/via?q=1", "CONNECT", "site.invalid:443", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    Text address = c.address, cookies;
    Bytes body = WebAccess(address, 0, {}, cookies, {}, {}, {}, {}, {}, server.HostPort());
    RecordedRequest r = server.LastRequest();
    EXPECT_EQ(r.method, c.method);
    EXPECT_EQ(r.target.rfind(c.targetStart, 0), 0u) << r.target;
    EXPECT_EQ(ToString(body), c.body);
  }
  EXPECT_EQ(server.Requests()[0].path, "/via?q=1");
}

TEST_F(WebAccessTest, Utf8ToGbkText) {
  const struct {
    const char* name;
    std::string utf8;
    Text expected;
  } cases[] = {
      {"ASCII", "plain letters", "plain letters"},
      {"Chinese", reinterpret_cast<const char*>(u8"发现图片"), "发现图片"},
      {"zero byte ends the text", std::string(reinterpret_cast<const char*>(u8"中\0文"), 7), "中"},
      {"unmappable character", reinterpret_cast<const char*>(u8"a\u0E01b"), "a?b"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToGbkText(ToBytes(c.utf8)), c.expected) << c.name;
  // Code page 936 bytes are not UTF-8: they come out as replacement or default characters.
  Text gbk = "图片";
  Text decoded = Utf8ToGbkText(ToBytes(gbk));
  EXPECT_NE(decoded, gbk);
  EXPECT_FALSE(decoded.empty());
}

TEST_F(WebAccessTest, TextOfCompressedUtf8Page) {
  const std::string page = reinterpret_cast<const char*>(u8"<script>window.articleInfo = {\"title\":\"文章\"};</script>");
  server.Serve("/a/ac7", Answer::Ok(Compress(page, Wrapping::Gzip), "text/html").With("Content-Encoding: gzip"));
  Text address = server.Address("/a/ac7");
  EXPECT_EQ(WebAccessText(address, 0), "<script>window.articleInfo = {\"title\":\"文章\"};</script>");
}

}  // namespace
