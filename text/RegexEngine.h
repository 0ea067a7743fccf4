#pragma once
// The in-process regular expression engine that stands in for the scripting component when that
// cannot be created. It speaks the same dialect (ECMAScript-style patterns with the case, multi-line
// and global switches) over UTF-16 code units, the units the component itself counts in.
//
// Matching is a backtracking machine with an explicit stack: a long subject costs heap, never
// native stack. Pattern nesting is bounded so that parsing cannot recurse deeply either.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct RegexMatch {
  size_t index = 0;   // first code unit of the match
  size_t length = 0;  // code units
  // Groups 1..n as [start, end) pairs; start == npos for a group that took no part in the match.
  std::vector<std::pair<size_t, size_t>> groups;
  static constexpr size_t npos = static_cast<size_t>(-1);
};

struct RegexProgram;

class RegexEngine {
 public:
  RegexEngine();
  ~RegexEngine();
  RegexEngine(const RegexEngine&) = delete;
  RegexEngine& operator=(const RegexEngine&) = delete;

  bool ignoreCase = false;
  bool multiline = false;
  bool global = false;
  std::u16string pattern;
  // Work allowed for one Execute, Test or Replace; a run that needs more fails as an invalid
  // pattern does, so a catastrophic pattern cannot hang the caller forever.
  uint64_t stepLimit = 1000000000;

  // All matches (one at most without `global`). False for an invalid pattern or exhausted steps.
  bool Execute(std::u16string_view subject, std::vector<RegexMatch>& matches);
  // Whether the pattern matches anywhere; false also for an invalid pattern.
  bool Test(std::u16string_view subject, bool* ok = nullptr);
  // The subject with the matches replaced; $1..$99, $&, $`, $' and $$ in `replacement`.
  bool Replace(std::u16string_view subject, std::u16string_view replacement, std::u16string& result);
  // Number of capture groups of the pattern, or -1 when it does not compile.
  int GroupCount();

 private:
  const RegexProgram* Compiled();
  std::unique_ptr<RegexProgram> program_;
  std::u16string compiledPattern_;
  bool compiledIgnoreCase_ = false;
  bool compiledMultiline_ = false;
  bool compiledValid_ = false;
};
