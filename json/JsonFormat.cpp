// Lays JSON text out for reading: one member or element per line, TAB indentation, a TAB after
// each colon. Works on the text alone and checks nothing.
#include "json/JsonDocument.h"

Text JsonDocument::NewlineIndent(int32_t count) {
  Text text = "\r\n";
  if (count > 0) text.append(static_cast<size_t>(count), '\t');
  return text;
}

Text JsonDocument::Format(const Text& json) const {
  const size_t length = json.find('\0') == Text::npos ? json.size() : json.find('\0');
  ByteCollector out;
  const size_t blockSize = 2 * length;
  out.SetBlockSize(blockSize > INT32_MAX ? INT32_MAX : static_cast<int32_t>(blockSize));
  bool inString = false;
  bool escapeSeen = false;
  int32_t level = 0;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(json[i]);
    if (b == '"' && !escapeSeen) {
      inString = !inString;
      out.Add(b);
    } else if (inString) {
      out.Add(b);
      escapeSeen = (b == '\\') ? !escapeSeen : false;
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
          out.Add(b);
          out.Add(NewlineIndent(level));
          break;
        case '}':
        case ']':
          // Surplus closing brackets drive the level below 0; the indent then stays empty.
          --level;
          out.Add(NewlineIndent(level));
          out.Add(b);
          break;
        case ':':
          out.Add(":\t");
          break;
        case ',':
          out.Add(',');
          out.Add(NewlineIndent(level));
          break;
        default:
          out.Add(b);
          break;
      }
    }
  }
  return out.GetText();
}
