#include "web/WebAccess.h"

#include <algorithm>

#include "text/BatchReplace.h"
#include "text/DoubleByte.h"
#include "web/InternetHandle.h"
#include "web/AddressParsing.h"
#include "web/HeaderText.h"
#include "web/Cookies.h"
#include "web/RequestHeaders.h"
#include "web/ZlibCodec.h"

namespace {

constexpr DWORD kBodyPiece = 1024;
constexpr DWORD kHeaderRoom = 5000;

Bytes ReadBody(HINTERNET request) {
  Bytes body;
  unsigned char piece[kBodyPiece];
  for (;;) {
    DWORD read = 0;
    // The result is not examined: a failed read reports 0 bytes and ends the body like its end.
    InternetReadFile(request, piece, kBodyPiece, &read);
    if (read == 0) break;
    body.insert(body.end(), piece, piece + read);
  }
  return body;
}

// The raw header block, or 5000 spaces when it cannot be read, also when it needs 5000 bytes or
// more: the query is not repeated with more room.
Text RawResponseHeaders(HINTERNET request) {
  Text headers(kHeaderRoom, ' ');
  DWORD length = kHeaderRoom;
  if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &length, nullptr)) {
    headers.resize(std::min<DWORD>(length, kHeaderRoom));
    return Text(ContentOf(headers));
  }
  return Text(kHeaderRoom, ' ');  // whatever a failed query left in the buffer is not trusted
}

}  // namespace

Bytes WebAccess(Text& address, Param<int32_t> method, Param<Text> postText, ParamRef<Text> cookies,
                ParamRef<Text> returnedCookies, ParamRef<Text> extraHeaders,
                ParamRef<Text> responseHeaders, Param<bool> noRedirect, ParamRef<Bytes> postBytes,
                Param<Text> proxy, Param<bool> mergeCookies, Param<bool> completeHeaders,
                Param<bool> fixHeaderCase) {
  const bool merge = mergeCookies.present ? mergeCookies.value : true;
  const bool complete = completeHeaders.present ? completeHeaders.value : true;
  const bool fixCase = fixHeaderCase.present ? fixHeaderCase.value : true;
  Text& headers = extraHeaders.value();

  if (fixCase) headers = NormaliseHeaderNames(headers);
  const char* verb = VerbOfMethod(method.value);
  const bool isGet = std::string_view(verb) == "GET";
  address = AddressWithScheme(address);
  const bool https = IsHttpsAddress(address);
  const Text agent = UserAgentOf(headers);

  Bytes body;
  Text rawHeaders;
  {
    const Text& proxyText = proxy.value;
    const Text proxyName = https ? proxyText : "http=" + proxyText;
    InternetHandle internet(proxyText.empty()
                                ? InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
                                : InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyName.c_str(), "", 0));
    if (!internet) return {};
    InternetHandle connection(InternetConnectA(internet.get(), HostOfAddress(address).c_str(),
                                               static_cast<INTERNET_PORT>(PortOfAddress(address)), nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    if (cookies.present()) flags |= INTERNET_FLAG_NO_COOKIES;
    if (noRedirect.value) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    flags |= https ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    InternetHandle request(HttpOpenRequestA(connection.get(), verb, PathOfAddress(address).c_str(), "HTTP/1.1",
                                            nullptr, nullptr, flags, 0));
    if (!request) return {};

    if (complete) AddDefaultHeaders(headers, address);
    AddCookieLine(headers, cookies.value());

    // The send result is not examined: a failed send shows up as an empty body.
    if (isGet) {
      HttpSendRequestA(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), const_cast<char*>(""), 0);
    } else {
      Bytes& sent = postBytes.value();
      if (sent.empty()) {
        std::string_view text = ContentOf(postText.value);
        sent.assign(text.begin(), text.end());
      }
      HttpSendRequestA(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                       sent.empty() ? static_cast<void*>(const_cast<char*>("")) : sent.data(), static_cast<DWORD>(sent.size()));
    }
    body = ReadBody(request.get());
    rawHeaders = ReplaceText(RawResponseHeaders(request.get()), "Set-Cookie", "Set-Cookie", -1, 1, false);
    request.Close();
    connection.Close();
    internet.Close();
  }
  responseHeaders.value() = rawHeaders;

  Text& returned = returnedCookies.value();
  returned = CollectSetCookies(rawHeaders);
  if (merge && cookies.present()) {
    Text merged = MergeCookies(cookies.value(), returned);
    cookies.value() = merged;
    returned = merged;
  }

  return DecodeBody(ProgramZlibCodec(), body, rawHeaders, headers);
}

Text WebAccessText(Text& address, Param<int32_t> method, Param<Text> postText, ParamRef<Text> cookies,
                   ParamRef<Text> returnedCookies, ParamRef<Text> extraHeaders,
                   ParamRef<Text> responseHeaders, Param<bool> noRedirect, ParamRef<Bytes> postBytes,
                   Param<Text> proxy, Param<bool> mergeCookies, Param<bool> completeHeaders,
                   Param<bool> fixHeaderCase) {
  // Every argument goes on present: a left-out in/out argument is bound to this call's own storage.
  return Utf8ToGbkText(WebAccess(address, Param<int32_t>(method.value), Param<Text>(postText.value),
                                 cookies.value(), returnedCookies.value(), extraHeaders.value(),
                                 responseHeaders.value(), Param<bool>(noRedirect.value), postBytes.value(),
                                 Param<Text>(proxy.value), Param<bool>(mergeCookies.value),
                                 Param<bool>(completeHeaders.value), Param<bool>(fixHeaderCase.value)));
}
