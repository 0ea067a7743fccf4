// Prints the time of the text tools on inputs of the size the article flow can meet.
//   text_bench [megabytes]   (default 10)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/BatchReplace.h"
#include "text/CodePage.h"
#include "text/TextBuffer.h"

namespace {

template <class F>
void Time(const char* what, double megabytes, F&& run) {
  auto start = std::chrono::steady_clock::now();
  size_t result = run();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-44s %8.3f s %9.1f MB/s (result %zu bytes)\n", what, seconds, megabytes / seconds,
              result);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10;
  const size_t size = megabytes << 20;

  Time("TextBuffer: Append one byte at a time", megabytes, [&] {
    TextBuffer buffer;
    const Text one = "x";
    for (size_t i = 0; i < size; ++i) buffer.Append(one);
    return static_cast<size_t>(buffer.Length());
  });

  Text html;
  while (html.size() < size) html += "<p><img src='a b\\c.jpg' /> \xD6\xD0\xCE\xC4\xD5\x5C</p>";  // 中文誠
  Time("BatchReplace: the three cleanup pairs", megabytes, [&] {
    return BatchReplace(html, {}, 0, false, " ", "", "\\", "", "'", "\"").size();
  });

  std::string utf8;
  while (utf8.size() < size) utf8 += "<p>\xE4\xB8\xAD\xE6\x96\x87 text \xF0\x9F\x98\x80</p>";  // 中文, an emoji
  Bytes bytes(utf8.begin(), utf8.end());
  Time("Utf8ToGbk", megabytes, [&] { return Utf8ToGbk(bytes).size(); });
  return 0;
}
