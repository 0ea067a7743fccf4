#include "web/AddressParsing.h"

#include <algorithm>
#include <limits>

#include "text/DoubleByte.h"

namespace {

constexpr std::string_view kHttps = "https://";
constexpr std::string_view kHttp = "http://";

// Index in the lowered address just after the scheme marker the host is taken from, or 0 when the
// address has none (the host then starts the address).
size_t HostStart(std::string_view lowered) {
  if (lowered.starts_with(kHttps)) return kHttps.size();
  int at = FindText(lowered, kHttp);
  return at < 0 ? 0 : static_cast<size_t>(at - 1) + kHttp.size();
}

// The address lower-cased, with a "/" at its end: the host runs up to the first "/" after it.
Text Lowered(const Text& address) {
  Text t = LowerAscii(ContentOf(address));
  if (t.empty() || t.back() != '/') t += '/';
  return t;
}

int32_t ReadInteger(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int64_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    // A port written with absurdly many digits saturates instead of overflowing.
    value = std::min<int64_t>(value * 10 + (s[i] - '0'), std::numeric_limits<int32_t>::max());
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

Text HostOfAddress(const Text& address, Param<bool> keepPort) {
  const Text t = Lowered(address);
  const size_t start = HostStart(t);
  Text host = t.substr(start, t.find('/', start) - start);  // '/' is never the second byte of a character
  if (!keepPort.value) {
    int colon = FindText(host, ":");
    if (colon > 0) host.resize(static_cast<size_t>(colon - 1));
  }
  return host;
}

int32_t PortOfAddress(const Text& address) {
  Text host = HostOfAddress(address, true);
  size_t colon = host.rfind(':');  // ':' is never the second byte of a character
  if (colon != Text::npos) return ReadInteger(HalfWidthText(std::string_view(host).substr(colon + 1), true));
  return LowerAscii(ContentOf(address)).starts_with("https") ? 443 : 80;
}

Text PathOfAddress(const Text& address) {
  std::string_view s = ContentOf(address);
  // The path starts at the first "/" after where the host starts, so that the slashes of the
  // scheme are not taken for it.
  int slash = FindText(s, "/", static_cast<int>(HostStart(Lowered(address))) + 1);
  return slash < 0 ? Text("/") : Text(s.substr(static_cast<size_t>(slash - 1)));
}
