// DecodeString: never longer than its input, no zero byte, and escaping its output again with
// backslashes decodes back to the same text.
#include <cstdint>

#include "FuzzInput.h"
#include "json/JsonDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text raw(reinterpret_cast<const char*>(data), size);
  JsonDocument doc;
  const Text plain = doc.DecodeString(raw);
  const size_t length = UpToZero(raw).size();
  FUZZ_CHECK(plain.size() <= length);
  FUZZ_CHECK(plain.find('\0') == Text::npos);
  const size_t backslash = raw.find('\\');
  if (backslash == Text::npos || backslash >= length) FUZZ_CHECK(plain == raw.substr(0, length));

  Text escaped;
  for (char c : plain) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  FUZZ_CHECK(doc.DecodeString(escaped) == plain);
  return 0;
}
