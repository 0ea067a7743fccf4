#include "text/BatchReplace.h"

#include "text/DoubleByte.h"

Text ExpandQuoteMarker(const Text& text) {
  return ReplaceText(text, kQuoteMarker, "\"", -1, 1, true);
}

Text ReplaceText(const Text& text, const Text& find, const Text& replacement, int32_t maxCount,
                 int32_t startPosition, bool caseSensitive) {
  std::string_view s = ContentOf(text), what = ContentOf(find), with = ContentOf(replacement);
  size_t from = startPosition > 1 ? static_cast<size_t>(startPosition) - 1 : 0;
  if (what.empty() || maxCount == 0 || from >= s.size()) return Text(s);
  Text out;
  out.reserve(s.size());
  int32_t replaced = 0;
  size_t copied = 0;  // start of the bytes not yet copied to out
  const char first = FoldAscii(what[0]);
  // Bytes before the start position are copied as they are; the walk to it still goes character
  // by character, so that the scan starts on a character boundary.
  size_t i = 0;
  while (i < from) i += CharSizeAt(s, i);
  while (i < s.size()) {
    bool candidate = caseSensitive ? s[i] == what[0] : FoldAscii(s[i]) == first;
    if (candidate && MatchesAt(s, i, what, !caseSensitive)) {
      out.append(s.substr(copied, i - copied)).append(with);
      i += what.size();
      copied = i;
      if (maxCount > 0 && ++replaced == maxCount) break;
    } else {
      i += CharSizeAt(s, i);
    }
  }
  out.append(s.substr(copied));
  return out;
}

Text BatchReplace(const Text& text, Param<int32_t> maxCount, Param<int32_t> startPosition,
                  Param<bool> caseSensitive, const Text& find1, const Text& replacement1,
                  Param<Text> find2, Param<Text> replacement2, Param<Text> find3,
                  Param<Text> replacement3, Param<Text> find4, Param<Text> replacement4,
                  Param<Text> find5, Param<Text> replacement5, Param<Text> find6,
                  Param<Text> replacement6, Param<Text> find7, Param<Text> replacement7,
                  Param<Text> find8, Param<Text> replacement8, Param<Text> find9,
                  Param<Text> replacement9, Param<Text> find10, Param<Text> replacement10,
                  Param<Text> find11, Param<Text> replacement11, Param<Text> find12,
                  Param<Text> replacement12, Param<Text> find13, Param<Text> replacement13,
                  Param<Text> find14, Param<Text> replacement14, Param<Text> find15,
                  Param<Text> replacement15) {
  const Text* pairs[15][2] = {
      {&find1, &replacement1},
      {&find2.value, &replacement2.value},
      {&find3.value, &replacement3.value},
      {&find4.value, &replacement4.value},
      {&find5.value, &replacement5.value},
      {&find6.value, &replacement6.value},
      {&find7.value, &replacement7.value},
      {&find8.value, &replacement8.value},
      {&find9.value, &replacement9.value},
      {&find10.value, &replacement10.value},
      {&find11.value, &replacement11.value},
      {&find12.value, &replacement12.value},
      {&find13.value, &replacement13.value},
      {&find14.value, &replacement14.value},
      {&find15.value, &replacement15.value},
  };
  int32_t limit = maxCount.present ? maxCount.value : -1;
  Text t(ContentOf(text));
  for (const auto& pair : pairs) {
    // Most calls give a few pairs: the absent ones would each copy the whole text for nothing.
    if (ContentOf(*pair[0]).empty()) continue;
    t = ReplaceText(t, *pair[0], *pair[1], limit, startPosition.value, caseSensitive.value);
  }
  return t;
}
