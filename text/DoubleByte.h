#pragma once
// Walking, searching, trimming and case folding of code page 936 text. A byte from 0x81 to 0xFE
// leads a two-byte character; a search never starts on the second byte of one, and case folding
// touches only single-byte ASCII letters, so a trail byte that happens to be a letter or a
// backslash is never taken for one.
#include <string_view>
#include <vector>

#include "text/Param.h"

inline bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// The text up to its first zero byte: what every routine treats as its content.
std::string_view ContentOf(const Text& text);

inline bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Bytes taken by the character at index i: 2 for a lead byte followed by a byte that can end a
// two-byte character, else 1. A stray lead byte before an ASCII space, colon, slash or quote
// therefore never swallows it.
inline size_t CharSizeAt(std::string_view s, size_t i) {
  return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                 IsTrailByte(static_cast<unsigned char>(s[i + 1]))
             ? 2
             : 1;
}

inline char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Whether what occurs at index i of s (i at a character boundary); with ignoreCase only
// single-byte letters fold, the bytes of a two-byte character must be equal.
bool MatchesAt(std::string_view s, size_t i, std::string_view what, bool ignoreCase);

// 1-based position of the first occurrence at or after start (1-based, below 1 counts as 1)
// that begins at a character boundary; -1 when there is none or what is empty.
int FindText(std::string_view s, std::string_view what, int start = 1, bool ignoreCase = false);

// Lower- or upper-cases single-byte ASCII letters, leaving two-byte characters whole.
Text LowerAscii(std::string_view s);
Text UpperAscii(std::string_view s);

// Removes ASCII spaces and full-width spaces (A1 A1) from the ends.
std::string_view TrimLeftSpaces(std::string_view s);
std::string_view TrimRightSpaces(std::string_view s);
inline Text TrimSpaces(std::string_view s) { return Text(TrimRightSpaces(TrimLeftSpaces(s))); }

// The pieces between separators, searched character by character: an empty text gives none, an
// empty separator or a text without one gives the whole text, two separators in a row give an
// empty piece and a separator at the very end adds none. A positive maxParts keeps that many.
std::vector<Text> SplitText(std::string_view s, std::string_view separator, int maxParts = 0);

// Removes every ASCII space and every full-width space character.
Text RemoveAllSpaces(std::string_view s);

// Full-width spaces (A1 A1) as ASCII spaces and full-width digits and letters (A3 xx) as their
// ASCII forms; with signsToo every A3 A1..FE character, which mirror the ASCII characters ! to ~.
// Other characters stay as they are.
Text HalfWidthText(std::string_view s, bool signsToo);
