#include "text/DoubleByte.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // 　

Text MapAsciiLetters(std::string_view s, char from, char to, int shift) {
  Text out(s);
  for (size_t i = 0; i < out.size();) {
    size_t n = CharSizeAt(out, i);
    if (n == 1 && out[i] >= from && out[i] <= to) out[i] = static_cast<char>(out[i] + shift);
    i += n;
  }
  return out;
}

}  // namespace

std::string_view ContentOf(const Text& text) {
  return std::string_view(text.data(), std::strlen(text.c_str()));
}

bool MatchesAt(std::string_view s, size_t i, std::string_view what, bool ignoreCase) {
  if (what.size() > s.size() - i) return false;
  if (!ignoreCase) return s.compare(i, what.size(), what) == 0;
  for (size_t k = 0; k < what.size();) {
    size_t n = std::min(CharSizeAt(s, i + k), what.size() - k);
    if (n == 2 || IsLeadByte(static_cast<unsigned char>(s[i + k]))) {
      if (s.compare(i + k, n, what.substr(k, n)) != 0) return false;
    } else if (FoldAscii(s[i + k]) != FoldAscii(what[k])) {
      return false;
    }
    k += n;
  }
  return true;
}

int FindText(std::string_view s, std::string_view what, int start, bool ignoreCase) {
  if (what.empty()) return -1;
  size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  for (size_t i = 0; i < s.size(); i += CharSizeAt(s, i)) {
    if (i >= from && MatchesAt(s, i, what, ignoreCase)) return static_cast<int>(i + 1);
  }
  return -1;
}

Text LowerAscii(std::string_view s) { return MapAsciiLetters(s, 'A', 'Z', 32); }
Text UpperAscii(std::string_view s) { return MapAsciiLetters(s, 'a', 'z', -32); }

std::string_view TrimLeftSpaces(std::string_view s) {
  for (;;) {
    if (!s.empty() && s[0] == ' ') {
      s.remove_prefix(1);
    } else if (s.starts_with(kFullWidthSpace)) {
      s.remove_prefix(2);
    } else {
      return s;
    }
  }
}

std::string_view TrimRightSpaces(std::string_view s) {
  // Where the trailing run of spaces starts can only be told by walking from the front: the bytes
  // A1 A1 at the end may be the second half of one character and the first half of another.
  size_t keep = 0;
  for (size_t i = 0; i < s.size();) {
    size_t n = CharSizeAt(s, i);
    bool space = (n == 1 && s[i] == ' ') || (n == 2 && s.substr(i, 2) == kFullWidthSpace);
    i += n;
    if (!space) keep = i;
  }
  return s.substr(0, keep);
}

Text RemoveAllSpaces(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    size_t n = CharSizeAt(s, i);
    bool space = (n == 1 && s[i] == ' ') || (n == 2 && s.substr(i, 2) == kFullWidthSpace);
    if (!space) out.append(s.substr(i, n));
    i += n;
  }
  return out;
}

std::vector<Text> SplitText(std::string_view s, std::string_view separator, int maxParts) {
  std::vector<Text> parts;
  size_t limit = maxParts > 0 ? static_cast<size_t>(maxParts) : SIZE_MAX;
  size_t pieceStart = 0;
  for (size_t i = 0; !separator.empty() && i < s.size() && parts.size() < limit;) {
    if (MatchesAt(s, i, separator, false)) {
      parts.emplace_back(s.substr(pieceStart, i - pieceStart));
      i += separator.size();
      pieceStart = i;
    } else {
      i += CharSizeAt(s, i);
    }
  }
  if (pieceStart < s.size() && parts.size() < limit) parts.emplace_back(s.substr(pieceStart));
  return parts;
}

Text HalfWidthText(std::string_view s, bool signsToo) {
  Text out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const size_t n = CharSizeAt(s, i);
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    const unsigned char trail = n == 2 ? static_cast<unsigned char>(s[i + 1]) : 0;
    const bool alnum = (trail >= 0xB0 && trail <= 0xB9) || (trail >= 0xC1 && trail <= 0xDA) ||
                       (trail >= 0xE1 && trail <= 0xFA);
    if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA3 && (signsToo ? trail >= 0xA1 && trail <= 0xFE : alnum)) {
      out += static_cast<char>(trail - 0x80);
    } else {
      out.append(s.substr(i, n));
    }
    i += n;
  }
  return out;
}
