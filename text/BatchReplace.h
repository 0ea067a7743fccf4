#pragma once
// The quote marker convention and batch replacement over code page 936 text.
#include "text/Param.h"

// The five bytes of "#引号": callers write it where a double quote would be awkward to quote.
inline constexpr char kQuoteMarker[] = "#\xD2\xFD\xBA\xC5";  // #引号

// Every quote marker (searched from the start, case-sensitive, not overlapping) becomes '"'.
Text ExpandQuoteMarker(const Text& text);

// Applies up to fifteen find/replacement pairs one after the other, each over the result of the
// one before. maxCount: at most that many replacements per pair (0: none; absent or negative:
// all). startPosition: 1-based byte where each pair's search begins (absent or below 1: 1).
// caseSensitive absent means ASCII letters match regardless of case. Only whole characters are
// matched: an occurrence never begins on the second byte of a two-byte character. An absent or
// empty find text leaves the text as it is.
Text BatchReplace(const Text& text, Param<int32_t> maxCount, Param<int32_t> startPosition,
                  Param<bool> caseSensitive, const Text& find1, const Text& replacement1,
                  Param<Text> find2 = {}, Param<Text> replacement2 = {},
                  Param<Text> find3 = {}, Param<Text> replacement3 = {},
                  Param<Text> find4 = {}, Param<Text> replacement4 = {},
                  Param<Text> find5 = {}, Param<Text> replacement5 = {},
                  Param<Text> find6 = {}, Param<Text> replacement6 = {},
                  Param<Text> find7 = {}, Param<Text> replacement7 = {},
                  Param<Text> find8 = {}, Param<Text> replacement8 = {},
                  Param<Text> find9 = {}, Param<Text> replacement9 = {},
                  Param<Text> find10 = {}, Param<Text> replacement10 = {},
                  Param<Text> find11 = {}, Param<Text> replacement11 = {},
                  Param<Text> find12 = {}, Param<Text> replacement12 = {},
                  Param<Text> find13 = {}, Param<Text> replacement13 = {},
                  Param<Text> find14 = {}, Param<Text> replacement14 = {},
                  Param<Text> find15 = {}, Param<Text> replacement15 = {});

// One pair of the above.
Text ReplaceText(const Text& text, const Text& find, const Text& replacement, int32_t maxCount,
                 int32_t startPosition, bool caseSensitive);
