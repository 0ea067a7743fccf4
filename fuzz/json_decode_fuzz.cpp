// DecodeString: never longer than its input, no zero byte, and escaping its output again with
// backslashes decodes back to the same text.
#include <cstdint>
#include <cstdlib>

#include "json/JsonDocument.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text raw(reinterpret_cast<const char*>(data), size);
  JsonDocument doc;
  const Text plain = doc.DecodeString(raw);
  const size_t length = raw.find('\0') == Text::npos ? raw.size() : raw.find('\0');
  Check(plain.size() <= length);
  Check(plain.find('\0') == Text::npos);
  const size_t backslash = raw.find('\\');
  if (backslash == Text::npos || backslash >= length) Check(plain == raw.substr(0, length));

  Text escaped;
  for (char c : plain) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  Check(doc.DecodeString(escaped) == plain);
  return 0;
}
