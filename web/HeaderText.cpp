#include "web/HeaderText.h"

#include "text/BatchReplace.h"
#include "text/DoubleByte.h"

Text TextBetween(const Text& text, const Text& left, const Text& right) {
  std::string_view s = ContentOf(text);
  Text leftMarker = ExpandQuoteMarker(left), rightMarker = ExpandQuoteMarker(right);
  int at = FindText(s, leftMarker);
  if (at < 0) return Text();
  int start = at + static_cast<int>(leftMarker.size());
  int end = FindText(s, rightMarker, start);
  if (end < 0) return Text();
  return Text(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start)));
}

Text TextBefore(const Text& text, const Text& marker) {
  std::string_view s = ContentOf(text);
  int at = FindText(s, ContentOf(marker));
  return at < 0 ? Text() : Text(s.substr(0, static_cast<size_t>(at - 1)));
}

Text ValueAfterColon(const Text& text) {
  std::string_view s = ContentOf(text);
  int at = FindText(s, ":");
  return at < 0 ? Text() : TrimSpaces(s.substr(static_cast<size_t>(at)));
}

Text CapitaliseFirst(const Text& text) {
  Text out(ContentOf(text));
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
  return out;
}

Text NormaliseHeaderNames(const Text& headers) {
  Text out;
  for (const Text& line : SplitText(ContentOf(headers), "\r\n")) {
    int colon = FindText(line, ":");
    if (colon < 0) continue;
    // Every piece of the name between hyphens gets a capital first letter; a hyphen is never the
    // second byte of a character, so the piece starts are character starts.
    Text name = line.substr(0, static_cast<size_t>(colon - 1));
    for (size_t i = 0; i < name.size(); ++i) {
      if ((i == 0 || name[i - 1] == '-') && name[i] >= 'a' && name[i] <= 'z') name[i] -= 32;
    }
    if (!out.empty()) out += "\r\n";
    out += name;
    out.append(line, static_cast<size_t>(colon - 1));
  }
  return out;
}
