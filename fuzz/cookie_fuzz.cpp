// Cookie collection and merging on arbitrary header blocks and cookie texts.
#include <algorithm>
#include <set>

#include "FuzzInput.h"
#include "text/DoubleByte.h"
#include "web/Cookies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto f = FuzzFields(data, size, 3);
  const Text block = UpToZero(f[0]);

  Text collected = CollectSetCookies(block);
  for (const Text& item : SplitText(collected, "; ")) FUZZ_CHECK(!item.empty());

  Text sent = UpToZero(f[1]), returned = UpToZero(f[2]);
  Text merged = MergeCookies(sent, returned);
  FUZZ_CHECK(sent == merged);
  FUZZ_CHECK(returned.find(' ') == Text::npos);
  // A rearrangement: every merged item comes from one of the two texts, at most once, and no
  // deleted or empty-valued item survives.
  std::vector<Text> from = SplitText(returned, ";"), old = SplitText(RemoveAllSpaces(UpToZero(f[1])), ";");
  from.insert(from.end(), old.begin(), old.end());
  std::set<Text> seen;
  for (const Text& item : SplitText(merged, "; ")) {
    FUZZ_CHECK(std::find(from.begin(), from.end(), item) != from.end());
    FUZZ_CHECK(seen.insert(item).second);
    FUZZ_CHECK(!item.ends_with("=deleted") && IsCookiePairKept(item) && !item.empty());
    FUZZ_CHECK(item.find(' ') == Text::npos);
  }
  // The returned cookies keep their place in front.
  Text again = UpToZero(f[2]), emptySent;
  Text fresh = MergeCookies(emptySent, again);
  FUZZ_CHECK(merged.compare(0, fresh.size(), fresh) == 0);

  Text unique = RemoveDuplicateItems(block, "; ");
  FUZZ_CHECK(unique.size() <= block.size());
  std::set<Text> items;
  for (const Text& item : SplitText(unique, "; ")) FUZZ_CHECK(items.insert(item).second);
  return 0;
}
