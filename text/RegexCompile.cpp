// Pattern parser and code generator of the in-process engine.
#include "text/RegexProgram.h"

#include <algorithm>
#include <memory>

namespace {

// Deeper nesting than this is refused rather than parsed, so parsing stays shallow on the stack.
constexpr int kMaxDepth = 200;
// Counted repetitions are expanded into copies; a program beyond this size is refused.
constexpr size_t kMaxCode = 400000;
constexpr uint32_t kMaxCount = 100000;

struct Node {
  enum Kind : uint8_t {
    Empty, Char, Any, Class, Seq, Alt, Group, Repeat, LineStart, LineEnd, WordEdge, NotWordEdge,
    Backref, Look
  } kind = Empty;
  uint32_t value = 0;  // unit, class index, group number, repeat minimum
  uint32_t max = 0;
  bool flag = false;   // greedy repeat, negative lookahead, capturing group
  std::vector<Node> kids;
};

bool IsSpaceUnit(char16_t c) {
  switch (c) {
    case u'\t': case u'\n': case 0x0B: case 0x0C: case u'\r': case u' ': case 0x00A0:
    case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000: case 0xFEFF:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

class Parser {
 public:
  Parser(std::u16string_view p, RegexProgram& prog) : p_(p), prog_(prog) { totalGroups_ = CountGroups(); }

  bool Parse(Node& root) {
    if (!Disjunction(root, 0)) return false;
    return i_ == p_.size();  // a stray ")" stops the top level early
  }

 private:
  uint32_t CountGroups() const {
    uint32_t n = 0;
    bool inClass = false;
    for (size_t k = 0; k < p_.size(); ++k) {
      char16_t c = p_[k];
      if (c == u'\\') { ++k; continue; }
      if (inClass) { if (c == u']') inClass = false; continue; }
      if (c == u'[') inClass = true;
      else if (c == u'(' && (k + 1 >= p_.size() || p_[k + 1] != u'?')) ++n;
    }
    return n;
  }

  bool More() const { return i_ < p_.size(); }
  char16_t Peek() const { return p_[i_]; }

  bool Disjunction(Node& out, int depth) {
    if (depth > kMaxDepth) return false;
    Node first;
    if (!Alternative(first, depth)) return false;
    if (!More() || Peek() != u'|') { out = std::move(first); return true; }
    out.kind = Node::Alt;
    out.kids.push_back(std::move(first));
    while (More() && Peek() == u'|') {
      ++i_;
      Node next;
      if (!Alternative(next, depth)) return false;
      out.kids.push_back(std::move(next));
    }
    return true;
  }

  bool Alternative(Node& out, int depth) {
    out.kind = Node::Seq;
    while (More() && Peek() != u'|' && Peek() != u')') {
      Node term;
      if (!Term(term, depth)) return false;
      out.kids.push_back(std::move(term));
    }
    return true;
  }

  bool Term(Node& out, int depth) {
    char16_t c = Peek();
    bool assertion = false;
    if (c == u'^') { ++i_; out.kind = Node::LineStart; assertion = true; }
    else if (c == u'$') { ++i_; out.kind = Node::LineEnd; assertion = true; }
    else if (c == u'\\' && i_ + 1 < p_.size() && (p_[i_ + 1] == u'b' || p_[i_ + 1] == u'B')) {
      out.kind = p_[i_ + 1] == u'b' ? Node::WordEdge : Node::NotWordEdge;
      i_ += 2;
      assertion = true;
    } else if (c == u'(' && i_ + 2 < p_.size() && p_[i_ + 1] == u'?' &&
               (p_[i_ + 2] == u'=' || p_[i_ + 2] == u'!')) {
      out.kind = Node::Look;
      out.flag = p_[i_ + 2] == u'!';
      i_ += 3;
      out.kids.emplace_back();
      if (!Disjunction(out.kids.back(), depth + 1) || !More() || Peek() != u')') return false;
      ++i_;
      assertion = true;
    } else if (!Atom(out, depth)) {
      return false;
    }
    uint32_t min = 0, max = 0;
    bool quantified = Quantifier(min, max);
    if (!quantified) return true;
    if (assertion) return false;  // nothing to repeat
    if (min > max) return false;
    bool greedy = true;
    if (More() && Peek() == u'?') { greedy = false; ++i_; }
    Node rep;
    rep.kind = Node::Repeat;
    rep.value = min;
    rep.max = max;
    rep.flag = greedy;
    rep.kids.push_back(std::move(out));
    out = std::move(rep);
    return true;
  }

  // Reads *, +, ? or a well-formed {n}, {n,}, {n,m}; a brace of another shape stays a literal.
  bool Quantifier(uint32_t& min, uint32_t& max) {
    if (!More()) return false;
    char16_t c = Peek();
    if (c == u'*') { ++i_; min = 0; max = kRegexUnbounded; return true; }
    if (c == u'+') { ++i_; min = 1; max = kRegexUnbounded; return true; }
    if (c == u'?') { ++i_; min = 0; max = 1; return true; }
    if (c != u'{') return false;
    size_t k = i_ + 1;
    uint32_t lo = 0, hi = 0;
    if (!Number(k, lo)) return false;
    if (k < p_.size() && p_[k] == u'}') { i_ = k + 1; min = max = lo; return true; }
    if (k >= p_.size() || p_[k] != u',') return false;
    ++k;
    if (k < p_.size() && p_[k] == u'}') { i_ = k + 1; min = lo; max = kRegexUnbounded; return true; }
    if (!Number(k, hi) || k >= p_.size() || p_[k] != u'}') return false;
    i_ = k + 1;
    min = lo;
    max = hi;
    return true;
  }

  bool Number(size_t& k, uint32_t& value) const {
    size_t start = k;
    uint64_t v = 0;
    while (k < p_.size() && p_[k] >= u'0' && p_[k] <= u'9') {
      v = v * 10 + (p_[k] - u'0');
      if (v > kMaxCount) v = kMaxCount + 1;  // too large to expand; refused at code generation
      ++k;
    }
    value = static_cast<uint32_t>(v);
    return k > start;
  }

  bool Atom(Node& out, int depth) {
    char16_t c = Peek();
    switch (c) {
      case u'.': ++i_; out.kind = Node::Any; return true;
      case u'*': case u'+': case u'?': return false;  // nothing to repeat
      case u'{': {
        size_t save = i_;
        uint32_t a, b;
        if (Quantifier(a, b)) { i_ = save; return false; }
        ++i_;
        out.kind = Node::Char;
        out.value = c;
        return true;
      }
      case u'(': {
        ++i_;
        bool capture = true;
        if (More() && Peek() == u'?') {
          if (i_ + 1 >= p_.size() || p_[i_ + 1] != u':') return false;
          capture = false;
          i_ += 2;
        }
        out.kind = Node::Group;
        out.flag = capture;
        if (capture) out.value = ++prog_.groups;
        out.kids.emplace_back();
        if (!Disjunction(out.kids.back(), depth + 1) || !More() || Peek() != u')') return false;
        ++i_;
        return true;
      }
      case u'[': return ClassAtom(out);
      case u'\\': return EscapeAtom(out);
      default: ++i_; out.kind = Node::Char; out.value = c; return true;
    }
  }

  bool EscapeAtom(Node& out) {
    ++i_;
    if (!More()) return false;
    char16_t c = Peek();
    if (c >= u'1' && c <= u'9') {
      size_t k = i_;
      uint32_t n = 0;
      Number(k, n);
      if (n <= totalGroups_) {
        i_ = k;
        out.kind = Node::Backref;
        out.value = n;
        return true;
      }
    }
    RegexClass::Builtin builtin;
    if (BuiltinOf(c, builtin)) {
      ++i_;
      RegexClass cls;
      cls.builtins.push_back(builtin);
      out.kind = Node::Class;
      out.value = static_cast<uint32_t>(prog_.classes.size());
      prog_.classes.push_back(std::move(cls));
      return true;
    }
    out.kind = Node::Char;
    out.value = EscapedUnit(false);
    return true;
  }

  static bool BuiltinOf(char16_t c, RegexClass::Builtin& b) {
    switch (c) {
      case u'd': b = RegexClass::Digit; return true;
      case u'D': b = RegexClass::NotDigit; return true;
      case u'w': b = RegexClass::Word; return true;
      case u'W': b = RegexClass::NotWord; return true;
      case u's': b = RegexClass::Space; return true;
      case u'S': b = RegexClass::NotSpace; return true;
      default: return false;
    }
  }

  // The unit an escape stands for; i_ is on the character after the backslash.
  char16_t EscapedUnit(bool inClass) {
    char16_t c = p_[i_++];
    switch (c) {
      case u'n': return u'\n';
      case u'r': return u'\r';
      case u't': return u'\t';
      case u'f': return 0x0C;
      case u'v': return 0x0B;
      case u'b': return inClass ? 0x08 : c;
      case u'c':
        if (More() && ((Peek() >= u'a' && Peek() <= u'z') || (Peek() >= u'A' && Peek() <= u'Z')))
          return static_cast<char16_t>(p_[i_++] % 32);
        return c;
      case u'x':
      case u'u': {
        size_t digits = c == u'x' ? 2 : 4;
        if (i_ + digits > p_.size()) return c;
        uint32_t v = 0;
        for (size_t k = 0; k < digits; ++k) {
          int h = HexValue(p_[i_ + k]);
          if (h < 0) return c;
          v = v * 16 + static_cast<uint32_t>(h);
        }
        i_ += digits;
        return static_cast<char16_t>(v);
      }
      default:
        if (c >= u'0' && c <= u'7') {
          // An octal escape of up to three digits, value at most 0377.
          uint32_t v = c - u'0';
          for (int k = 0; k < 2 && More() && Peek() >= u'0' && Peek() <= u'7'; ++k) {
            uint32_t next = v * 8 + (Peek() - u'0');
            if (next > 0377) break;
            v = next;
            ++i_;
          }
          return static_cast<char16_t>(v);
        }
        return c;
    }
  }

  bool ClassAtom(Node& out) {
    ++i_;
    RegexClass cls;
    if (More() && Peek() == u'^') { cls.negate = true; ++i_; }
    while (true) {
      if (!More()) return false;
      if (Peek() == u']') { ++i_; break; }
      bool isBuiltin = false;
      RegexClass::Builtin builtin{};
      char16_t low = 0;
      if (!ClassMember(low, isBuiltin, builtin)) return false;
      if (isBuiltin) { cls.builtins.push_back(builtin); continue; }
      if (i_ + 1 < p_.size() && Peek() == u'-' && p_[i_ + 1] != u']') {
        ++i_;
        bool highBuiltin = false;
        RegexClass::Builtin hb{};
        char16_t high = 0;
        if (!ClassMember(high, highBuiltin, hb)) return false;
        if (highBuiltin || high < low) return false;  // a class escape cannot end a range
        cls.ranges.emplace_back(low, high);
        continue;
      }
      cls.ranges.emplace_back(low, low);
    }
    out.kind = Node::Class;
    out.value = static_cast<uint32_t>(prog_.classes.size());
    prog_.classes.push_back(std::move(cls));
    return true;
  }

  bool ClassMember(char16_t& unit, bool& isBuiltin, RegexClass::Builtin& builtin) {
    char16_t c = p_[i_];
    if (c != u'\\') { ++i_; unit = c; return true; }
    ++i_;
    if (!More()) return false;
    if (BuiltinOf(Peek(), builtin)) { ++i_; isBuiltin = true; return true; }
    unit = EscapedUnit(true);
    return true;
  }

  std::u16string_view p_;
  RegexProgram& prog_;
  size_t i_ = 0;
  uint32_t totalGroups_ = 0;
};

class Generator {
 public:
  explicit Generator(RegexProgram& prog) : prog_(prog) {}

  bool Emit(const Node& n) {
    if (prog_.code.size() > kMaxCode) return false;
    auto& code = prog_.code;
    switch (n.kind) {
      case Node::Empty: return true;
      case Node::Char:
        Add(RegexOp::Char, prog_.ignoreCase ? RegexLower(static_cast<char16_t>(n.value)) : n.value);
        return true;
      case Node::Any: Add(RegexOp::Any); return true;
      case Node::Class: Add(RegexOp::Class, n.value); return true;
      case Node::LineStart: Add(RegexOp::LineStart); return true;
      case Node::LineEnd: Add(RegexOp::LineEnd); return true;
      case Node::WordEdge: Add(RegexOp::WordEdge); return true;
      case Node::NotWordEdge: Add(RegexOp::NotWordEdge); return true;
      case Node::Backref: Add(RegexOp::Backref, n.value); return true;
      case Node::Seq:
        for (const Node& k : n.kids)
          if (!Emit(k)) return false;
        return true;
      case Node::Alt: {
        std::vector<size_t> jumps;
        for (size_t k = 0; k < n.kids.size(); ++k) {
          size_t split = 0;
          bool last = k + 1 == n.kids.size();
          if (!last) split = Add(RegexOp::Split, Here() + 1);
          if (!Emit(n.kids[k])) return false;
          if (!last) {
            jumps.push_back(Add(RegexOp::Jump));
            code[split].b = Here();
          }
        }
        for (size_t j : jumps) code[j].a = Here();
        return true;
      }
      case Node::Group:
        if (n.flag) Add(RegexOp::Save, 2 * n.value);
        if (!Emit(n.kids[0])) return false;
        if (n.flag) Add(RegexOp::Save, 2 * n.value + 1);
        return true;
      case Node::Look: {
        size_t look = Add(RegexOp::Look);
        code[look].flag = n.flag;
        if (!Emit(n.kids[0])) return false;
        Add(RegexOp::LookEnd);
        code[look].a = Here();
        return true;
      }
      case Node::Repeat: return EmitRepeat(n);
    }
    return false;
  }

 private:
  static bool IsUnit(const Node& n) {
    return n.kind == Node::Char || n.kind == Node::Any || n.kind == Node::Class;
  }

  static void GroupSpan(const Node& n, uint32_t& lo, uint32_t& hi) {
    if (n.kind == Node::Group && n.flag) {
      lo = std::min(lo, n.value);
      hi = std::max(hi, n.value);
    }
    for (const Node& k : n.kids) GroupSpan(k, lo, hi);
  }

  bool EmitBody(const Node& body, uint32_t lo, uint32_t hi) {
    if (lo <= hi) Add(RegexOp::Forget, lo, hi);
    return Emit(body);
  }

  bool EmitRepeat(const Node& n) {
    const Node& body = n.kids[0];
    uint32_t lo = 0xFFFFFFFFu, hi = 0;
    GroupSpan(body, lo, hi);
    uint32_t min = n.value, max = n.max;
    bool greedy = n.flag;
    if (min > kMaxCount || (max != kRegexUnbounded && max > kMaxCount)) return false;
    if (max == 0) return true;
    if (IsUnit(body)) {
      size_t rep = Add(RegexOp::Repeat, min, max);
      prog_.code[rep].flag = greedy;
      return Emit(body);
    }
    for (uint32_t k = 0; k < min; ++k)
      if (!EmitBody(body, lo, hi)) return false;
    auto& code = prog_.code;
    if (max == kRegexUnbounded) {
      uint32_t reg = prog_.registers++;
      size_t loop = Add(RegexOp::Split);
      Add(RegexOp::Mark, reg);
      if (!EmitBody(body, lo, hi)) return false;
      Add(RegexOp::Progress, reg);
      Add(RegexOp::Jump, static_cast<uint32_t>(loop));
      SetSplit(loop, loop + 1, Here(), greedy);
      return true;
    }
    std::vector<size_t> splits;
    for (uint32_t k = min; k < max; ++k) {
      splits.push_back(Add(RegexOp::Split));
      if (!EmitBody(body, lo, hi)) return false;
      if (code.size() > kMaxCode) return false;
    }
    for (size_t s : splits) SetSplit(s, s + 1, Here(), greedy);
    return true;
  }

  void SetSplit(size_t at, size_t into, size_t past, bool greedy) {
    prog_.code[at].a = static_cast<uint32_t>(greedy ? into : past);
    prog_.code[at].b = static_cast<uint32_t>(greedy ? past : into);
  }

  uint32_t Here() const { return static_cast<uint32_t>(prog_.code.size()); }

  size_t Add(RegexOp op, uint32_t a = 0, uint32_t b = 0) {
    prog_.code.push_back(RegexInst{op, false, a, b});
    return prog_.code.size() - 1;
  }

  RegexProgram& prog_;
};

}  // namespace

bool RegexIsWordUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

namespace {
bool ClassHasExact(const RegexClass& cls, char16_t c) {
  for (const auto& r : cls.ranges)
    if (c >= r.first && c <= r.second) return true;
  for (RegexClass::Builtin b : cls.builtins) {
    bool digit = c >= u'0' && c <= u'9';
    switch (b) {
      case RegexClass::Digit: if (digit) return true; break;
      case RegexClass::NotDigit: if (!digit) return true; break;
      case RegexClass::Word: if (RegexIsWordUnit(c)) return true; break;
      case RegexClass::NotWord: if (!RegexIsWordUnit(c)) return true; break;
      case RegexClass::Space: if (IsSpaceUnit(c)) return true; break;
      case RegexClass::NotSpace: if (!IsSpaceUnit(c)) return true; break;
    }
  }
  return false;
}
}  // namespace

bool RegexClassHas(const RegexClass& cls, char16_t c, bool ignoreCase) {
  if (c < 128) return (cls.ascii[c >> 6] >> (c & 63)) & 1;
  return RegexClassVerdict(cls, c, ignoreCase);
}

bool RegexClassVerdict(const RegexClass& cls, char16_t c, bool ignoreCase) {
  bool in = ClassHasExact(cls, c);
  if (!in && ignoreCase) {
    char16_t lower = RegexLower(c), upper = RegexUpper(c);
    in = (lower != c && ClassHasExact(cls, lower)) || (upper != c && ClassHasExact(cls, upper));
  }
  return in != cls.negate;
}

bool CompileRegex(std::u16string_view pattern, bool ignoreCase, bool multiline, RegexProgram& out) {
  out = RegexProgram{};
  out.ignoreCase = ignoreCase;
  out.multiline = multiline;
  Node root;
  if (!Parser(pattern, out).Parse(root)) return false;
  for (RegexClass& cls : out.classes)
    for (char16_t c = 0; c < 128; ++c)
      if (RegexClassVerdict(cls, c, ignoreCase)) cls.ascii[c >> 6] |= uint64_t{1} << (c & 63);
  Generator gen(out);
  if (!gen.Emit(root)) return false;
  out.code.push_back(RegexInst{RegexOp::Match});
  if (out.code.size() > kMaxCode) return false;
  for (size_t pc = 0; pc < out.code.size(); ++pc) {
    if (out.code[pc].op != RegexOp::Repeat) continue;
    size_t k = pc + 2;
    while (out.code[k].op == RegexOp::Save) ++k;
    if (out.code[k].op == RegexOp::Char) out.code[pc].hint = out.code[k].a;
  }
  return true;
}
