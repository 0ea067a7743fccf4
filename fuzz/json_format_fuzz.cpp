// Format only adds CR, LF and TAB and only drops white space outside quotes: with every space,
// TAB, CR and LF taken out, input and output are the same bytes.
#include <cstdint>

#include "FuzzInput.h"
#include "json/JsonDocument.h"

namespace {

Text WithoutWhiteSpace(const Text& text) {
  Text out;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text input(reinterpret_cast<const char*>(data), size);
  input = UpToZero(input);
  JsonDocument doc;
  const Text output = doc.Format(input);
  FUZZ_CHECK(WithoutWhiteSpace(output) == WithoutWhiteSpace(input));
  return 0;
}
