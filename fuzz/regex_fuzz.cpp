// The in-process regular expression engine on arbitrary patterns and subjects. Input: one byte of
// switches, then the pattern up to the first zero byte, then the subject. A byte 0xFF takes the
// two bytes after it as one wide unit, so characters beyond ASCII are reached too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "text/RegexEngine.h"

namespace {
std::u16string Units(const uint8_t* data, size_t size) {
  std::u16string out;
  for (size_t k = 0; k < size; ++k) {
    if (data[k] == 0xFF && k + 2 < size) {
      out.push_back(static_cast<char16_t>(data[k + 1] << 8 | data[k + 2]));
      k += 2;
    } else {
      out.push_back(data[k]);
    }
  }
  return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  uint8_t switches = data[0];
  ++data;
  --size;
  size_t cut = 0;
  while (cut < size && data[cut] != 0) ++cut;
  RegexEngine engine;
  engine.ignoreCase = switches & 1;
  engine.multiline = switches & 2;
  engine.global = switches & 4;
  engine.pattern = Units(data, cut);
  engine.stepLimit = 50000;  // bounded time for any input
  std::u16string subject = cut < size ? Units(data + cut + 1, size - cut - 1) : std::u16string();

  std::vector<RegexMatch> matches;
  if (engine.Execute(subject, matches)) {
    for (const RegexMatch& m : matches) {
      FUZZ_CHECK(m.index <= subject.size() && m.length <= subject.size() - m.index);
      for (auto g : m.groups)
        FUZZ_CHECK(g.first == RegexMatch::npos || (g.first <= g.second && g.second <= subject.size()));
    }
    bool ok = false;
    FUZZ_CHECK(engine.Test(subject, &ok) == !matches.empty() || !ok);
  }
  std::u16string replaced;
  engine.Replace(subject, u"[$1$&$`$'$$]", replaced);
  return 0;
}
