#include "web/AddressParsing.h"

#include <algorithm>
#include <limits>

#include "text/DoubleByte.h"
#include "web/HeaderText.h"

namespace {

constexpr std::string_view kHttps = "https://";
constexpr std::string_view kHttp = "http://";

// Index in the lower-cased address just after the scheme marker the host is taken from, or 0
// when the address has none (the host then starts the address).
size_t HostStart(std::string_view lowered) {
  if (lowered.starts_with(kHttps)) return kHttps.size();
  int at = FindText(lowered, kHttp);
  return at < 0 ? 0 : static_cast<size_t>(at - 1) + kHttp.size();
}

// Full-width spaces, digits and signs in their one-byte forms; other characters unchanged.
Text HalfWidth(std::string_view s) {
  Text out;
  for (size_t i = 0; i < s.size();) {
    size_t n = CharSizeAt(s, i);
    unsigned char lead = static_cast<unsigned char>(s[i]);
    unsigned char trail = n == 2 ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);  // A3 A1..FE mirror the ASCII characters ! to ~
    } else {
      out.append(s.substr(i, n));
    }
    i += n;
  }
  return out;
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
  Text t = LowerAscii(ContentOf(address));
  if (t.empty() || t.back() != '/') t += '/';
  Text host;
  if (t.starts_with(kHttps)) {
    host = TextBetween(t, Text(kHttps), "/");
  } else {
    if (FindText(t, kHttp) < 0) t.insert(0, kHttp);
    host = TextBetween(t, Text(kHttp), "/");
  }
  if (!keepPort.value) {
    int colon = FindText(host, ":");
    if (colon > 0) host.resize(static_cast<size_t>(colon - 1));
  }
  return host;
}

int32_t PortOfAddress(const Text& address) {
  Text host = HostOfAddress(address, true);
  size_t colon = host.rfind(':');  // ':' is never the second byte of a character
  if (colon != Text::npos) return ReadInteger(HalfWidth(std::string_view(host).substr(colon + 1)));
  return LowerAscii(ContentOf(address)).starts_with("https") ? 443 : 80;
}

Text PathOfAddress(const Text& address) {
  std::string_view s = ContentOf(address);
  Text host = HostOfAddress(address);
  // The host is looked for after the scheme, so that a host such as "h" or "ttp" is not found
  // inside the scheme itself.
  Text lowered = LowerAscii(s);
  if (lowered.empty() || lowered.back() != '/') lowered += '/';
  int from = static_cast<int>(HostStart(lowered)) + 1;
  int at = FindText(s, host, from, true);
  int slash = FindText(s, "/", at < 0 ? from : at);
  return slash < 0 ? Text("/") : Text(s.substr(static_cast<size_t>(slash - 1)));
}
