#include "web/RequestHeaders.h"

#include "text/DoubleByte.h"
#include "web/ZlibCodec.h"
#include "web/HeaderText.h"

const char kDefaultUserAgent[] =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/50.0.2661.102 Safari/537.36";

namespace {

bool Contains(const Text& text, const char* what) { return FindText(text, what) != -1; }

}  // namespace

const char* VerbOfMethod(int32_t method) {
  static const char* const verbs[] = {"GET", "POST", "HEAD", "PUT", "DELETE", "OPTIONS", "TRACE", "CONNECT"};
  return method >= 0 && method <= 7 ? verbs[method] : "GET";
}

Text AddressWithScheme(const Text& address) {
  // The scheme is matched ignoring case: "HTTPS://host/" must stay an HTTPS address, not become
  // "http://HTTPS://host/", whose host would read as "https".
  if (FindText(address, "http://", 1, true) != -1 || FindText(address, "https://", 1, true) != -1) return address;
  return "http://" + address;
}

bool IsHttpsAddress(const Text& address) { return LowerAscii(std::string_view(address).substr(0, 8)) == "https://"; }

Text UserAgentOf(const Text& headers) {
  if (FindText(headers, "User-Agent:", 1, true) == -1) return kDefaultUserAgent;
  Text agent = TrimSpaces(TextBetween(headers + "\r\n", "User-Agent:", "\r\n"));
  return agent.empty() ? ValueAfterColon(headers) : agent;
}

void AddDefaultHeaders(Text& headers, const Text& address) {
  if (headers.empty()) {
    headers = "Accept: */*";
  } else if (!Contains(headers, "Accept:")) {
    headers += "\r\nAccept: */*";
  }
  if (!Contains(headers, "Referer:")) headers += "\r\nReferer: " + address;
  if (!Contains(headers, "Accept-Language:")) headers += "\r\nAccept-Language: zh-cn";
  // Added for every method, GET included.
  if (!Contains(headers, "Content-Type:")) headers += "\r\nContent-Type: application/x-www-form-urlencoded";
}

void AddCookieLine(Text& headers, const Text& cookies) {
  if (cookies.empty()) return;
  headers += Contains(cookies, "Cookie:") ? "\r\n" + cookies : "\r\nCookie: " + cookies;
}

Bytes DecodeBody(const ZlibCodec& codec, const Bytes& body, const Text& responseHeaders,
                 const Text& requestHeaders) {
  Bytes decoded;
  if (Contains(responseHeaders, "Content-Encoding: gzip") || Contains(requestHeaders, "Accept-Encoding: gzip, deflate")) {
    decoded = codec.InflateGzipBody(body);
  }
  if (Contains(responseHeaders, "Content-Encoding: deflate")) decoded = codec.InflateDeflateBody(body);
  return decoded.empty() ? body : decoded;
}
