#pragma once
// Byte-level helpers shared by the JSON reader, path access, decoding and layout.
#include <string_view>

#include "text/DoubleByte.h"
#include "text/TextBuffer.h"

// A zero byte adds nothing: the buffer's text ends there.
inline void AppendByte(TextBuffer& buffer, unsigned char b) {
  buffer.Append(Text(1, static_cast<char>(b)));
}

inline bool IsWhiteSpace(unsigned char b) { return b == ' ' || b == '\t' || b == '\r' || b == '\n'; }

// Whether text is the lower-case ASCII word, its ASCII letters compared without case.
inline bool IsWordIgnoringCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (FoldAscii(text[i]) != lowerWord[i]) return false;
  }
  return true;
}
