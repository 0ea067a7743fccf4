// The matching machine of the in-process engine: backtracking over an explicit stack.
#include "text/RegexEngine.h"

#include "text/RegexProgram.h"

namespace {

constexpr size_t kNone = RegexMatch::npos;

bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

class Machine {
 public:
  Machine(const RegexProgram& prog, std::u16string_view subject, uint64_t stepLimit)
      : prog_(prog), s_(subject), stepsLeft_(stepLimit),
        slots_(2 * (prog.groups + 1) + prog.registers, kNone) {}

  // Finds the first match starting at or after `from`. False when none; `failed` tells an
  // exhausted step budget apart from a plain miss.
  bool Find(size_t from, RegexMatch& m) {
    const RegexInst& first = prog_.code[0];
    bool anchored = first.op == RegexOp::LineStart && !prog_.multiline;
    for (size_t start = from; start <= s_.size(); ++start) {
      if (first.op == RegexOp::Char) {
        // Skip ahead to the next place where the leading unit can match at all.
        while (start < s_.size() && !SameUnit(s_[start], static_cast<char16_t>(first.a))) ++start;
        if (start == s_.size()) return false;
      }
      std::fill(slots_.begin(), slots_.end(), kNone);
      stack_.clear();
      size_t end = 0;
      if (Run(0, start, 0, end)) {
        m.index = start;
        m.length = end - start;
        m.groups.assign(prog_.groups, {kNone, kNone});
        for (uint32_t g = 1; g <= prog_.groups; ++g) {
          size_t a = slots_[2 * g], b = slots_[2 * g + 1];
          if (a != kNone && b != kNone && a <= b) m.groups[g - 1] = {a, b};
        }
        return true;
      }
      if (failed || anchored) return false;
    }
    return false;
  }

  bool failed = false;

 private:
  enum Kind : uint8_t { Branch, Undo, Greedy, Lazy };
  struct Frame {
    Kind kind;
    uint32_t pc;
    size_t pos;
    size_t extra;
  };

  bool SameUnit(char16_t c, char16_t want) const {
    return prog_.ignoreCase ? RegexLower(c) == want : c == want;
  }

  bool UnitMatches(const RegexInst& in, size_t pos) const {
    if (pos >= s_.size()) return false;
    char16_t c = s_[pos];
    switch (in.op) {
      case RegexOp::Char: return SameUnit(c, static_cast<char16_t>(in.a));
      case RegexOp::Any: return c != u'\n';
      case RegexOp::Class: return RegexClassHas(prog_.classes[in.a], c, prog_.ignoreCase);
      default: return false;
    }
  }

  // Whether the continuation of a repeat can start at pos, judged by its first unit alone.
  bool HintAt(uint32_t hint, size_t pos) const {
    if (hint == kRegexNoHint) return true;
    return pos < s_.size() && SameUnit(s_[pos], static_cast<char16_t>(hint));
  }

  // Work beyond one step per instruction (scans of repeats, back references, lookahead state) is
  // paid from the same budget, so the budget bounds the time of a run.
  bool Spend(size_t units) {
    if (units >= stepsLeft_) {
      stepsLeft_ = 0;
      failed = true;
      return false;
    }
    stepsLeft_ -= units;
    return true;
  }

  bool WordAt(size_t pos) const { return pos < s_.size() && RegexIsWordUnit(s_[pos]); }

  void SetSlot(size_t slot, size_t value) {
    stack_.push_back(Frame{Undo, 0, slots_[slot], slot});
    slots_[slot] = value;
  }

  bool BackrefMatches(uint32_t group, size_t& pos) {
    size_t a = slots_[2 * group], b = slots_[2 * group + 1];
    if (a == kNone || b == kNone || b < a) return true;  // an unset group matches the empty text
    size_t len = b - a;
    if (s_.size() - pos < len || !Spend(len)) return false;
    for (size_t k = 0; k < len; ++k) {
      char16_t x = s_[a + k], y = s_[pos + k];
      if (prog_.ignoreCase ? RegexLower(x) != RegexLower(y) : x != y) return false;
    }
    pos += len;
    return true;
  }

  // Runs from `pc` until Match (or LookEnd for a lookahead body). Frames below `base` belong to
  // the caller and are never popped here.
  bool Run(uint32_t pc, size_t pos, size_t base, size_t& end) {
    const auto& code = prog_.code;
    for (;;) {
      if (stepsLeft_ == 0) { failed = true; return false; }
      --stepsLeft_;
      const RegexInst& in = code[pc];
      bool ok = true;
      switch (in.op) {
        case RegexOp::Char:
        case RegexOp::Any:
        case RegexOp::Class:
          ok = UnitMatches(in, pos);
          if (ok) { ++pos; ++pc; }
          break;
        case RegexOp::Split:
          stack_.push_back(Frame{Branch, in.b, pos, 0});
          pc = in.a;
          break;
        case RegexOp::Jump: pc = in.a; break;
        case RegexOp::Save: SetSlot(in.a, pos); ++pc; break;
        case RegexOp::LineStart:
          ok = pos == 0 || (prog_.multiline && IsLineBreak(s_[pos - 1]));
          ++pc;
          break;
        case RegexOp::LineEnd:
          ok = pos == s_.size() || (prog_.multiline && IsLineBreak(s_[pos]));
          ++pc;
          break;
        case RegexOp::WordEdge:
        case RegexOp::NotWordEdge: {
          bool edge = (pos > 0 && WordAt(pos - 1)) != WordAt(pos);
          ok = edge == (in.op == RegexOp::WordEdge);
          ++pc;
          break;
        }
        case RegexOp::Backref: ok = BackrefMatches(in.a, pos); ++pc; break;
        case RegexOp::Forget:
          if (!Spend(in.b - in.a)) return false;
          for (uint32_t g = in.a; g <= in.b; ++g) {
            if (slots_[2 * g] != kNone) SetSlot(2 * g, kNone);
            if (slots_[2 * g + 1] != kNone) SetSlot(2 * g + 1, kNone);
          }
          ++pc;
          break;
        case RegexOp::Mark: SetSlot(2 * (prog_.groups + 1) + in.a, pos); ++pc; break;
        case RegexOp::Progress: ok = slots_[2 * (prog_.groups + 1) + in.a] != pos; ++pc; break;
        case RegexOp::Repeat: {
          const RegexInst& unit = code[pc + 1];
          uint32_t next = pc + 2;
          size_t n = 0;
          while (n < in.a && UnitMatches(unit, pos + n)) ++n;
          if (n < in.a) { ok = false; break; }
          size_t low = pos + n;
          if (in.flag) {
            while ((in.b == kRegexUnbounded || n < in.b) && UnitMatches(unit, pos + n)) ++n;
            if (!Spend(n)) return false;
            if (pos + n > low) stack_.push_back(Frame{Greedy, next, pos + n, low});
            pos += n;
          } else {
            size_t room = in.b == kRegexUnbounded ? kNone : in.b - in.a;
            if (room != 0) stack_.push_back(Frame{Lazy, pc, low, room});
            pos = low;
          }
          pc = next;
          break;
        }
        case RegexOp::Look: {
          if (!Spend(slots_.size())) return false;
          std::vector<size_t> before = slots_;
          size_t mark = stack_.size();
          size_t ignored = 0;
          bool inner = Run(pc + 1, pos, mark, ignored);
          if (failed) return false;
          stack_.resize(mark);
          if (inner && !in.flag) {
            // Captures made inside a lookahead stay visible; keep them undoable.
            for (size_t k = 0; k < slots_.size(); ++k)
              if (slots_[k] != before[k]) stack_.push_back(Frame{Undo, 0, before[k], k});
          } else {
            slots_ = std::move(before);
          }
          ok = inner != in.flag;
          pc = in.a;
          break;
        }
        case RegexOp::LookEnd:
        case RegexOp::Match:
          end = pos;
          return true;
      }
      if (ok) continue;
      if (!Backtrack(base, pc, pos)) return false;
    }
  }

  bool Backtrack(size_t base, uint32_t& pc, size_t& pos) {
    while (stack_.size() > base) {
      Frame f = stack_.back();
      stack_.pop_back();
      switch (f.kind) {
        case Undo: slots_[f.extra] = f.pos; break;
        case Branch: pc = f.pc; pos = f.pos; return true;
        case Greedy: {
          uint32_t hint = prog_.code[f.pc - 2].hint;
          size_t p = f.pos - 1;
          while (p > f.extra && !HintAt(hint, p)) --p;
          if (!Spend(f.pos - p)) return false;
          if (!HintAt(hint, p)) break;
          if (p > f.extra) stack_.push_back(Frame{Greedy, f.pc, p, f.extra});
          pc = f.pc;
          pos = p;
          return true;
        }
        case Lazy: {
          const RegexInst& rep = prog_.code[f.pc];
          const RegexInst& unit = prog_.code[f.pc + 1];
          size_t p = f.pos, room = f.extra;
          bool found = false;
          while (room != 0 && UnitMatches(unit, p)) {
            ++p;
            if (room != kNone) --room;
            if (HintAt(rep.hint, p)) { found = true; break; }
          }
          if (!Spend(p - f.pos)) return false;
          if (!found) break;
          if (room != 0) stack_.push_back(Frame{Lazy, f.pc, p, room});
          pc = f.pc + 2;
          pos = p;
          return true;
        }
      }
    }
    return false;
  }

  const RegexProgram& prog_;
  std::u16string_view s_;
  uint64_t stepsLeft_;
  std::vector<size_t> slots_;
  std::vector<Frame> stack_;
};

}  // namespace

RegexEngine::RegexEngine() = default;
RegexEngine::~RegexEngine() = default;

const RegexProgram* RegexEngine::Compiled() {
  if (!program_ || compiledPattern_ != pattern || compiledIgnoreCase_ != ignoreCase ||
      compiledMultiline_ != multiline) {
    if (!program_) program_ = std::make_unique<RegexProgram>();
    compiledValid_ = CompileRegex(pattern, ignoreCase, multiline, *program_);
    compiledPattern_ = pattern;
    compiledIgnoreCase_ = ignoreCase;
    compiledMultiline_ = multiline;
  }
  return compiledValid_ ? program_.get() : nullptr;
}

int RegexEngine::GroupCount() {
  const RegexProgram* prog = Compiled();
  return prog ? static_cast<int>(prog->groups) : -1;
}

bool RegexEngine::Execute(std::u16string_view subject, std::vector<RegexMatch>& matches) {
  matches.clear();
  const RegexProgram* prog = Compiled();
  if (!prog) return false;
  Machine machine(*prog, subject, stepLimit);
  size_t from = 0;
  RegexMatch m;
  while (from <= subject.size() && machine.Find(from, m)) {
    from = m.index + (m.length ? m.length : 1);
    matches.push_back(std::move(m));
    if (!global) break;
  }
  if (machine.failed) matches.clear();
  return !machine.failed;
}

bool RegexEngine::Test(std::u16string_view subject, bool* ok) {
  const RegexProgram* prog = Compiled();
  bool found = false;
  bool good = prog != nullptr;
  if (prog) {
    Machine machine(*prog, subject, stepLimit);
    RegexMatch m;
    found = machine.Find(0, m);
    good = !machine.failed;
  }
  if (ok) *ok = good;
  return found;
}

bool RegexEngine::Replace(std::u16string_view subject, std::u16string_view replacement,
                          std::u16string& result) {
  result.clear();
  std::vector<RegexMatch> matches;
  if (!Execute(subject, matches)) return false;
  size_t copied = 0;
  for (const RegexMatch& m : matches) {
    result.append(subject.substr(copied, m.index - copied));
    size_t groups = m.groups.size();
    for (size_t k = 0; k < replacement.size(); ++k) {
      char16_t c = replacement[k];
      if (c != u'$' || k + 1 >= replacement.size()) { result.push_back(c); continue; }
      char16_t d = replacement[k + 1];
      if (d == u'$') { result.push_back(u'$'); ++k; continue; }
      if (d == u'&') { result.append(subject.substr(m.index, m.length)); ++k; continue; }
      if (d == u'`') { result.append(subject.substr(0, m.index)); ++k; continue; }
      if (d == u'\'') { result.append(subject.substr(m.index + m.length)); ++k; continue; }
      if (d >= u'0' && d <= u'9') {
        // Two digits when they name an existing group, else one, else the text stays as written.
        size_t n = d - u'0', used = 1;
        if (k + 2 < replacement.size() && replacement[k + 2] >= u'0' && replacement[k + 2] <= u'9') {
          size_t two = n * 10 + (replacement[k + 2] - u'0');
          if (two >= 1 && two <= groups) { n = two; used = 2; }
        }
        if (n >= 1 && n <= groups) {
          auto g = m.groups[n - 1];
          if (g.first != kNone) result.append(subject.substr(g.first, g.second - g.first));
          k += used;
          continue;
        }
      }
      result.push_back(c);
    }
    copied = m.index + m.length;
  }
  result.append(subject.substr(copied));
  return true;
}
