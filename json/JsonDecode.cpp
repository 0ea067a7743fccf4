// String escapes: \r \n \t \b \f, \uXXXX to the ANSI code page, anything else stands for itself.
#include <cstdint>

#include "json/JsonBytes.h"
#include "json/JsonDocument.h"
#include "text/CodePage.h"
#include "text/TextBuffer.h"

namespace {

int HexDigit(unsigned char b) {
  if (b >= '0' && b <= '9') return b - '0';
  if (b >= 'a' && b <= 'f') return b - 'a' + 10;
  if (b >= 'A' && b <= 'F') return b - 'A' + 10;
  return -1;
}

}  // namespace

Text JsonDocument::DecodeString(const Text& raw) const {
  const size_t length = ContentOf(raw).size();
  TextBuffer out;
  // The output is never longer than the input: one block of that size is all it will need.
  if (length < static_cast<size_t>(INT32_MAX)) out.SetBlockSize(static_cast<int32_t>(length) + 1);
  const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
  size_t i = 0;
  while (i < length) {
    if (p[i] != '\\') {
      // Everything up to the next backslash is copied as it is, in one piece.
      size_t run = 1;
      while (i + run < length && p[i + run] != '\\') ++run;
      out.Append(raw.substr(i, run));
      i += run;
      continue;
    }
    ++i;
    if (i == length) break;  // a lone backslash at the end adds nothing
    unsigned char e = p[i++];
    switch (e) {
      case 'r': AppendByte(out, '\r'); break;
      case 'n': AppendByte(out, '\n'); break;
      case 't': AppendByte(out, '\t'); break;
      case 'b': AppendByte(out, 8); break;
      case 'f': AppendByte(out, 12); break;
      case 'u': {
        const size_t afterU = i;
        uint32_t unit = 0;
        int digits = 0;
        while (digits < 4 && i < length) {
          int d = HexDigit(p[i]);
          if (d < 0) break;
          unit = unit * 16 + static_cast<uint32_t>(d);
          ++digits;
          ++i;
        }
        if (digits == 4) {
          if (unit != 0) out.Append(WideUnitToAnsi(static_cast<uint16_t>(unit)));
        } else if (i < length) {
          // Broken escape: keep "\u" and read the digits and the offending byte again as text.
          out.Append("\\u");
          i = afterU;
        }
        // else: the input ended inside the escape, which adds nothing
        break;
      }
      default: AppendByte(out, e); break;
    }
  }
  return out.GetText();
}
