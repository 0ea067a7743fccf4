#pragma once
// The compiled form of a pattern, shared by the compiler and the matching machine.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

enum class RegexOp : uint8_t {
  Char,      // a: the code unit (already folded when case is ignored)
  Any,       // every unit but a line feed
  Class,     // a: index into classes
  Split,     // try a first, b on backtracking
  Jump,      // a
  Save,      // a: capture slot
  LineStart,
  LineEnd,
  WordEdge,
  NotWordEdge,
  Backref,   // a: group number
  Look,      // flag: negative; a: where to go on after the lookahead body
  LookEnd,
  Mark,      // a: register that remembers where a loop iteration began
  Progress,  // a: register; fails when the iteration consumed nothing
  Repeat,    // a: min, b: max; flag: greedy; the unit matcher follows, the continuation after it
  Forget,    // groups a..b lose their captures: each iteration of a repeat starts them afresh
  Match,
};

struct RegexInst {
  RegexOp op;
  bool flag = false;
  uint32_t a = 0;
  uint32_t b = 0;
  // Repeat only: the unit the continuation must see first, or kRegexNoHint. Lets a repeat skip
  // positions where the rest of the pattern cannot start.
  uint32_t hint = 0xFFFFFFFFu;
};

struct RegexClass {
  enum Builtin : uint8_t { Digit, NotDigit, Word, NotWord, Space, NotSpace };
  std::vector<std::pair<char16_t, char16_t>> ranges;
  std::vector<Builtin> builtins;
  bool negate = false;
  // The verdict for every ASCII unit, case folding and negation included; filled by the compiler.
  uint64_t ascii[2] = {0, 0};
};

struct RegexProgram {
  std::vector<RegexInst> code;
  std::vector<RegexClass> classes;
  uint32_t groups = 0;     // capture groups, not counting the whole match
  uint32_t registers = 0;  // loop progress registers
  bool ignoreCase = false;
  bool multiline = false;
};

inline constexpr uint32_t kRegexUnbounded = 0xFFFFFFFFu;
inline constexpr uint32_t kRegexNoHint = 0xFFFFFFFFu;

// Builds the program; false for a pattern the dialect does not accept or one too large to run.
bool CompileRegex(std::u16string_view pattern, bool ignoreCase, bool multiline, RegexProgram& out);

// Ignoring case folds the ASCII letters only, as every other text comparison of the program does.
inline char16_t RegexLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
inline char16_t RegexUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }
bool RegexIsWordUnit(char16_t c);
bool RegexClassHas(const RegexClass& cls, char16_t c, bool ignoreCase);
bool RegexClassVerdict(const RegexClass& cls, char16_t c, bool ignoreCase);  // without the table
