#include "web/Cookies.h"

#include <algorithm>

#include "text/BatchReplace.h"
#include "text/DoubleByte.h"
#include "web/HeaderText.h"

namespace {

Text Join(const std::vector<Text>& items, std::string_view separator) {
  Text out;
  for (const Text& item : items) {
    if (&item != &items.front()) out += separator;
    out += item;
  }
  return out;
}

}  // namespace

Text CollectSetCookies(const Text& headers) {
  std::vector<Text> values;
  for (const Text& line : SplitText(ContentOf(headers), "\r\n")) {
    if (TextBefore(line, ": ") != "Set-Cookie") continue;
    Text value = FindText(line, ";") > 0
                     ? TrimSpaces(TextBetween(line, "Set-Cookie:", ";"))
                     : TrimSpaces(ReplaceText(line, "Set-Cookie:", "", -1, 1, false));
    // A line without a pair adds nothing, rather than an empty item in the cookie text.
    if (!value.empty()) values.push_back(value);
  }
  return Join(values, "; ");
}

Text CookieName(const Text& item) {
  std::string_view s = ContentOf(item);
  int equals = FindText(s, "=");
  return TrimSpaces(equals < 0 ? s : s.substr(0, static_cast<size_t>(equals - 1)));
}

bool HasCookieName(const std::vector<Text>& items, const Text& name) {
  return std::any_of(items.begin(), items.end(),
                     [&](const Text& item) { return CookieName(item) == name; });
}

bool IsCookiePairKept(const Text& item) {
  Text s = TrimSpaces(ContentOf(item));
  bool oneEquals = std::count(s.begin(), s.end(), '=') == 1;  // '=' is never a second byte
  return !(oneEquals && s.back() == '=');
}

Text RemoveDuplicateItems(const Text& text, const Text& separator) {
  std::string_view sep = ContentOf(separator);
  std::vector<Text> kept;
  for (Text& item : SplitText(ContentOf(text), sep)) {
    if (std::find(kept.begin(), kept.end(), item) == kept.end()) kept.push_back(std::move(item));
  }
  return Join(kept, sep);
}

Text MergeCookies(Text& sent, Text& returned) {
  sent = RemoveAllSpaces(ContentOf(sent));
  returned = RemoveAllSpaces(ContentOf(returned));
  std::vector<Text> items = SplitText(returned, ";");
  for (const Text& old : SplitText(sent, ";")) {
    if (!HasCookieName(items, CookieName(old))) items.push_back(old);
  }
  std::vector<Text> kept;
  for (const Text& item : items) {
    // Empty items (from ";;") carry no cookie and would only leave a dangling separator.
    if (item.empty() || item.ends_with("=deleted") || !IsCookiePairKept(item)) continue;
    kept.push_back(item);
  }
  sent = RemoveDuplicateItems(Join(kept, "; "), "; ");
  return sent;
}
