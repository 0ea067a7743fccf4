// Batch replacement and quote marker expansion on arbitrary text.
#include "FuzzInput.h"
#include "text/BatchReplace.h"
#include "text/DoubleByte.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto f = FuzzFields(data, size, 6);
  const Text text = UpToZero(f[0]), find = UpToZero(f[1]), with = UpToZero(f[2]);
  int32_t maxCount = static_cast<int8_t>(FuzzNumber(f[3]));
  int32_t start = static_cast<int8_t>(FuzzNumber(f[4]));
  bool caseSensitive = !f[5].empty() && (f[5][0] & 1);

  Text once = BatchReplace(text, maxCount, start, caseSensitive, find, with);
  // Bytes before the start position are never touched.
  size_t keep = start > 1 ? std::min<size_t>(static_cast<size_t>(start) - 1, text.size()) : 0;
  FUZZ_CHECK(once.compare(0, keep, text, 0, keep) == 0);
  // Nothing to do leaves the text as it is.
  FUZZ_CHECK(BatchReplace(text, 0, start, caseSensitive, find, with) == text);
  FUZZ_CHECK(BatchReplace(text, maxCount, start, true, find, find) == text);
  if (FindText(text, find, 1, !caseSensitive) < 0) FUZZ_CHECK(once == text);
  // Deleting: the length drops by whole occurrences, and the result is the text with pieces cut.
  Text removed = BatchReplace(text, maxCount, start, caseSensitive, find, "");
  if (!find.empty()) FUZZ_CHECK((text.size() - removed.size()) % find.size() == 0);
  // Fifteen pairs, all present.
  Text many = BatchReplace(text, maxCount, start, caseSensitive, find, with, with, find, find,
                           with, "a", "b", "b", "a", "\\", "", " ", "", "'", "\"", "", "x", "x",
                           "", "\xA1\xA1", " ", "#", "##", find, with, with, find, "\x5C", "\xD5");
  (void)many;

  Text expanded = ExpandQuoteMarker(text);
  FUZZ_CHECK(expanded.size() <= text.size());
  FUZZ_CHECK((text.size() - expanded.size()) % 4 == 0);
  return 0;
}
