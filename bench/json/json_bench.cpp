// Reads generated article records of 100 KB, 1 MB and 10 MB the way the picture extraction does
// (Parse, GetValue("parts[0].content"), DecodeString) and times a reference DOM parse of the same
// bytes in the same run. Prints MB/s, the ratio to the reference and the 10 MB / 1 MB time ratio,
// which must stay at or below 12 for the reader to count as linear.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "json/JsonDocument.h"

namespace {

using Clock = std::chrono::steady_clock;

// One record: a long HTML body with escaped quotes, slashes, line breaks and \u escapes in its
// first part, then many small members, until the record is `size` bytes long.
Text ArticleRecord(size_t size) {
  Text html;
  const size_t htmlSize = size * 6 / 10;
  for (int n = 0; html.size() < htmlSize; ++n) {
    html += "<p>\\u6587\\u7ae0 paragraph " + std::to_string(n) +
            " with <b>bold<\\/b> text and an image:<\\/p>\\n<p><img src=\\\"https:\\/\\/pic.example.test\\/"
            "i" + std::to_string(n) + ".jpg\\\" alt=\\\"\\\"><\\/p>\\r\\n";
  }
  Text record = "{\"articleId\":123456,\"title\":\"T\\u6807\\u9898\",\"isOriginal\":true,"
                "\"parts\":[{\"title\":\"p1\",\"content\":\"" + html + "\"}],\"comments\":[";
  for (int n = 0; record.size() + 2 < size; ++n) {
    if (n > 0) record += ",";
    record += "{\"id\":" + std::to_string(n) + ",\"user\":\"u" + std::to_string(n % 977) +
              "\",\"likes\":" + std::to_string(n % 31) + ",\"top\":false,\"reply\":null,\"t\":\"ok\"}";
  }
  record += "]}";
  return record;
}

template <class F>
double SecondsPerRun(F&& run, double budget) {
  std::vector<double> times;
  const Clock::time_point start = Clock::now();
  do {
    const Clock::time_point t0 = Clock::now();
    run();
    times.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
  } while (std::chrono::duration<double>(Clock::now() - start).count() < budget || times.size() < 3);
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];  // the median
}

}  // namespace

int main() {
  std::printf("%-8s %10s %10s %10s %10s %8s\n", "record", "ours ms", "ours MB/s", "ref ms",
              "ref MB/s", "ours/ref");
  double oneMegabyte = 0;
  size_t sink = 0;
  for (size_t size : {size_t{100} * 1024, size_t{1024} * 1024, size_t{10} * 1024 * 1024}) {
    const Text record = ArticleRecord(size);
    const double megabytes = static_cast<double>(record.size()) / (1024.0 * 1024.0);

    const double ours = SecondsPerRun(
        [&] {
          JsonDocument doc;
          doc.Parse(record);
          sink += doc.DecodeString(doc.GetValue("parts[0].content")).size();
        },
        2.0);
    const double reference = SecondsPerRun(
        [&] {
          rapidjson::Document dom;
          dom.Parse(record.data(), record.size());
          sink += dom.HasParseError() ? 0 : dom.MemberCount();
        },
        2.0);
    std::printf("%-8s %10.2f %10.1f %10.2f %10.1f %8.2f\n",
                size >= 1024 * 1024 ? (std::to_string(size >> 20) + "MB").c_str()
                                    : (std::to_string(size >> 10) + "KB").c_str(),
                ours * 1e3, megabytes / ours, reference * 1e3, megabytes / reference,
                ours / reference);
    if (size == size_t{1024} * 1024) oneMegabyte = ours;
    if (size == size_t{10} * 1024 * 1024) {
      std::printf("10MB / 1MB time: %.2f (linear would be 10; the bar is 12)\n", ours / oneMegabyte);
    }
  }
  // A check that the work was done, so that no optimiser drops it.
  std::printf("decoded bytes seen: %zu\n", sink);
  return 0;
}
