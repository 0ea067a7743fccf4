// The picture pattern over a 2 MB article page with 5,000 pictures, run as the extraction runs it
// (Create, MatchCount, SubMatchText for every match), on the system component and on the
// in-process engine; then a 10 MB single-line subject on the in-process engine.
//   scripts/wine-run build/win64/bench/regex/regex_bench.exe
#include <algorithm>
#include <cstdio>
#include <vector>

#include "text/RegexObject.h"

namespace {

// <chrono> does not build with the code page 936 execution character set; the counter does.
double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

const char kPattern[] = "src=\"(.*?)\"";

Text ArticlePage(int pictures, size_t size) {
  Text page;
  page.reserve(size + 256);
  const Text filler = "<p>这是一段文章的正文，用来填满页面。Some text in between, with <b>markup</b>.</p>\n";
  size_t per = size / static_cast<size_t>(pictures);
  for (int n = 1; n <= pictures; ++n) {
    size_t target = per * static_cast<size_t>(n);
    while (page.size() + filler.size() < target) page += filler;
    page += "<img class=\"pic\" src=\"http://img.example.test/article/" + std::to_string(n) + ".jpg\" alt=\"图\">\n";
  }
  return page;
}

struct Figure {
  double seconds;
  int matches;
  size_t bytes;
};

Figure Extract(RegexEngineChoice choice, const Text& page) {
  double start = Now();
  RegexObject regex(choice);
  regex.Create(kPattern, page);
  int n = regex.MatchCount();
  size_t bytes = 0;
  for (int i = 1; i <= n; ++i) bytes += regex.SubMatchText(i, 1).size();
  double s = Now() - start;
  return {s, n, bytes};
}

void Report(const char* name, RegexEngineChoice choice, const Text& page, int runs) {
  std::vector<double> times;
  Figure f{};
  for (int k = 0; k < runs; ++k) {
    f = Extract(choice, page);
    times.push_back(f.seconds);
  }
  std::sort(times.begin(), times.end());
  std::printf("%-28s %d matches, %zu address bytes: best %.3f s, median %.3f s (%d runs)\n", name,
              f.matches, f.bytes, times.front(), times[times.size() / 2], runs);
}

}  // namespace

int main() {
  Text page = ArticlePage(5000, 2 * 1024 * 1024);
  std::printf("page: %zu bytes\n", page.size());
  Report("system component", RegexEngineChoice::Component, page, 5);
  Report("in-process engine", RegexEngineChoice::InProcess, page, 5);

  Text line(10 * 1024 * 1024, 'a');
  line[0] = '"';
  line.back() = '"';
  double start = Now();
  RegexObject regex(RegexEngineChoice::InProcess);
  regex.Create("\"(.*?)\"", line);
  size_t length = regex.SubMatchText(1, 1).size();
  double s = Now() - start;
  std::printf("10 MB line, lazy group, in-process: group of %zu bytes in %.3f s\n", length, s);
  return 0;
}
