// Lays JSON text out for reading: one member or element per line, TAB indentation, a TAB after
// each colon. Works on the text alone and checks nothing.
#include "json/JsonBytes.h"
#include "json/JsonDocument.h"
#include "text/TextBuffer.h"

Text JsonDocument::NewlineIndent(int32_t count) {
  Text text = "\r\n";
  if (count > 0) text.append(static_cast<size_t>(count), '\t');
  return text;
}

Text JsonDocument::Format(const Text& json) const {
  const size_t length = ContentOf(json).size();
  TextBuffer out;
  const size_t blockSize = 2 * length;
  out.SetBlockSize(blockSize > INT32_MAX ? INT32_MAX : static_cast<int32_t>(blockSize));
  bool inString = false;
  bool escapeSeen = false;
  int32_t level = 0;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(json[i]);
    if (b == '"' && !escapeSeen) {
      inString = !inString;
      AppendByte(out, b);
    } else if (inString) {
      if (b == '\\') {
        AppendByte(out, b);
        escapeSeen = !escapeSeen;
        continue;
      }
      // Quoted text up to the next quote or backslash is copied in one piece.
      size_t run = 1;
      while (i + run < length && json[i + run] != '"' && json[i + run] != '\\') ++run;
      out.Append(json.substr(i, run));
      escapeSeen = false;
      i += run - 1;
    } else {
      switch (b) {
        case '\r':
        case '\n':
        case ' ':
        case '\t':
          break;
        case '{':
        case '[':
          ++level;
          AppendByte(out, b);
          out.Append(NewlineIndent(level));
          break;
        case '}':
        case ']':
          // Surplus closing brackets drive the level below 0; the indent then stays empty.
          --level;
          out.Append(NewlineIndent(level));
          AppendByte(out, b);
          break;
        case ':':
          out.Append(":\t");
          break;
        case ',':
          AppendByte(out, ',');
          out.Append(NewlineIndent(level));
          break;
        default:
          AppendByte(out, b);
          break;
      }
    }
  }
  return out.GetText();
}
