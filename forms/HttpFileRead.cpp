#include "forms/HttpFileRead.h"

#include <algorithm>

#include "web/InternetHandle.h"

namespace {

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kLargestPiece = 102400;
constexpr DWORD kPieceWithoutLength = 10240;
// A declared length only sizes the first allocation up to this; the body still grows to its end.
constexpr DWORD kLargestReserve = 16 * 1024 * 1024;

// One session for the whole process, opened on first use; it lives until the process ends.
HINTERNET Session() {
  static InternetHandle session(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  return session.get();
}

struct AddressParts {
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
  INTERNET_PORT port = 0;
  std::string host, user, password, path;
};

bool Split(const Text& address, AddressParts& parts) {
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  char user[INTERNET_MAX_USER_NAME_LENGTH + 1] = {};
  char password[INTERNET_MAX_PASSWORD_LENGTH + 1] = {};
  std::string path(address.size() + 1, '\0'), extra(address.size() + 1, '\0');
  URL_COMPONENTSA url{};
  url.dwStructSize = sizeof(url);
  url.lpszHostName = host;
  url.dwHostNameLength = sizeof(host);
  url.lpszUserName = user;
  url.dwUserNameLength = sizeof(user);
  url.lpszPassword = password;
  url.dwPasswordLength = sizeof(password);
  url.lpszUrlPath = path.data();
  url.dwUrlPathLength = static_cast<DWORD>(path.size());
  url.lpszExtraInfo = extra.data();
  url.dwExtraInfoLength = static_cast<DWORD>(extra.size());
  if (!InternetCrackUrlA(address.c_str(), static_cast<DWORD>(address.size()), 0, &url)) return false;
  parts.scheme = url.nScheme;
  parts.port = url.nPort;
  parts.host = host;
  parts.user = user;
  parts.password = password;
  // The extra part is the query and the fragment; a fragment stays on this side of the wire.
  const std::string query(extra.c_str());
  parts.path = std::string(path.c_str()) + query.substr(0, query.find('#'));
  if (parts.path.empty()) parts.path = "/";
  return parts.scheme == INTERNET_SCHEME_HTTP || parts.scheme == INTERNET_SCHEME_HTTPS;
}

}  // namespace

Bytes HttpFileRead(const Text& address) {
  Bytes body;
  AddressParts parts;
  if (address.empty() || !Split(address, parts) || !Session()) return body;
  InternetHandle connection(InternetConnectA(
      Session(), parts.host.c_str(), parts.port, parts.user.empty() ? nullptr : parts.user.c_str(),
      parts.password.empty() ? nullptr : parts.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return body;
  const char* accept[] = {"*/*", nullptr};
  // No cookie store either: the request carries no cookies, and the store's lookup costs several
  // milliseconds a picture.
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES;
  if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", parts.path.c_str(), "HTTP/1.0",
                                          nullptr, accept, flags, 0));
  if (!request || !HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return body;

  DWORD length = 0, size = sizeof(length);
  DWORD piece = kPieceWithoutLength;
  if (HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                     &size, nullptr) &&
      static_cast<LONG>(length) > 0) {
    piece = std::min<DWORD>(length + 1, kLargestPiece);
    body.reserve(std::min(length, kLargestReserve));  // the declared length may be a lie
  }
  Bytes buffer(piece);
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request.get(), buffer.data(), piece, &read) || read == 0) break;
    body.insert(body.end(), buffer.begin(), buffer.begin() + read);
  }
  return body;
}
