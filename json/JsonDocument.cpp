#include "json/JsonDocument.h"

#include <charconv>
#include <cstring>
#include <string>

#include "json/JsonAlert.h"
#include "json/JsonBytes.h"

namespace {

// Makes a 1-based count list hold at least `entries` entries and returns entry `entry`.
int32_t& CountEntry(std::vector<int32_t>& counts, int32_t entries, int32_t entry) {
  if (counts.size() < static_cast<size_t>(entries)) counts.resize(static_cast<size_t>(entries), 0);
  return counts[static_cast<size_t>(entry) - 1];
}

Text Decimal(int32_t n) { return std::to_string(n); }

Text ElementName(int32_t position) { return "[" + Decimal(position) + "]"; }

// A token is a number when reading it as a decimal double and writing that back with thirteen
// significant digits gives the same bytes: 12, -3 and 0.5 qualify, 1.0, 1e5, 007 and +1 do not.
bool IsCanonicalNumber(const Text& t) {
  // The longest prefix of the form [sign] digits [. digits] [e [sign] digits]; no inf, nan or hex.
  const char* p = t.data();
  const char* end = p + t.size();
  const char* q = p;
  if (q < end && (*q == '+' || *q == '-')) ++q;
  const char* mantissa = q;
  while (q < end && *q >= '0' && *q <= '9') ++q;
  bool digits = q > mantissa;
  if (q < end && *q == '.') {
    const char* f = q + 1;
    while (f < end && *f >= '0' && *f <= '9') ++f;
    if (digits || f > q + 1) {
      digits = true;
      q = f;
    }
  }
  if (digits && q < end && (*q == 'e' || *q == 'E')) {
    const char* e = q + 1;
    if (e < end && (*e == '+' || *e == '-')) ++e;
    const char* ed = e;
    while (e < end && *e >= '0' && *e <= '9') ++e;
    if (e > ed) q = e;
  }
  double value = 0.0;
  if (digits) {
    // from_chars takes no plus sign; a token with one can never match the written-back form.
    const char* from = (*p == '+') ? p + 1 : p;
    auto [ptr, ec] = std::from_chars(from, q, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return false;  // inf or denormal: never written as t
    if (ec != std::errc() || ptr != q) value = 0.0;
  }
  char out[64];
  auto [outEnd, ec] = std::to_chars(out, out + sizeof out, value, std::chars_format::general, 13);
  if (ec != std::errc()) return false;
  return static_cast<size_t>(outEnd - out) == t.size() && std::memcmp(out, t.data(), t.size()) == 0;
}

JsonNodeType ClassifyBareToken(const Text& t) {
  if (IsCanonicalNumber(t)) return JsonNodeType::Number;
  if (IsWordIgnoringCase(t, "true") || IsWordIgnoringCase(t, "false")) return JsonNodeType::Boolean;
  if (t.empty() || IsWordIgnoringCase(t, "null")) return JsonNodeType::Null;
  return JsonNodeType::Other;
}

}  // namespace

bool JsonDocument::Parse(const Text& text) {
  Clear();
  ScanRange(reinterpret_cast<const unsigned char*>(text.data()), ContentOf(text).size());
  return NodeCount() > 1;
}

bool JsonDocument::ParseBytes(const Bytes& bytes) {
  Clear();
  Scan(bytes);
  return NodeCount() > 1;
}

void JsonDocument::Feed(const Text& text) {
  ScanRange(reinterpret_cast<const unsigned char*>(text.data()), ContentOf(text).size());
}

void JsonDocument::Scan(const Bytes& bytes) { ScanRange(bytes.data(), bytes.size()); }

void JsonDocument::Clear() {
  nodes.clear();
  stateStack.clear();
  elementCounts.clear();
  memberCounts.clear();
  commaMark = 0;
  escapePending = false;
  token.Reset();
}

int32_t JsonDocument::NodeCount() const { return static_cast<int32_t>(nodes.size()); }

JsonNode JsonDocument::GetNode(int32_t position) const {
  if (position < 1 || position > NodeCount()) return JsonNode{};
  return nodes[static_cast<size_t>(position) - 1];
}

int32_t JsonDocument::CopyNodes(std::vector<JsonNode>& list) const {
  nodes.CopyTo(list);
  return NodeCount();
}

// How many bytes from `data` on a token state would simply append, one after the other: they
// are taken into the token in one go. Zero bytes never enter a token and end a run too.
size_t JsonDocument::PlainRun(const unsigned char* data, size_t size) const {
  size_t n = 0;
  switch (stateStack.back()) {
    case InString:
      while (n < size && data[n] != '"' && data[n] != '\\' && data[n] != '\r' && data[n] != '\n' &&
             data[n] != 0) {
        ++n;
      }
      break;
    case InKey:
      while (n < size && data[n] != '"' && data[n] != '\r' && data[n] != '\n' && data[n] != 0) ++n;
      break;
    case InBareValue:
      while (n < size && data[n] != ',' && data[n] != '}' && data[n] != ']' &&
             !IsWhiteSpace(data[n]) && data[n] != 0) {
        ++n;
      }
      break;
    default:
      break;
  }
  return n;
}

void JsonDocument::ScanRange(const unsigned char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    unsigned char b = data[i];
    if (stateStack.empty()) {
      // Bytes before the first bracket and after the root's closing one are skipped.
      if (b == '{' || b == '[') StartDocument(b);
      continue;
    }
    if (size_t run = PlainRun(data + i, size - i); run > 1) {
      token.Append(Text(reinterpret_cast<const char*>(data + i), run));
      if (stateStack.back() == InString) escapePending = false;
      i += run - 1;
      continue;
    }
    switch (stateStack.back()) {
      case InObject: OnInObject(b); break;
      case InArray: OnInArray(b); break;
      case InKey: OnInKey(b); break;
      case AfterKey: OnAfterKey(b); break;
      case BeforeValue: OnBeforeValue(b); break;
      case InString: OnInString(b); break;
      case InBareValue: OnInBareValue(b); break;
      default: PopState(); break;  // unreachable: only the states above are pushed
    }
  }
}

// A second top-level value replaces the first; the count lists are left as they are.
void JsonDocument::StartDocument(unsigned char b) {
  nodes.clear();
  nodes.push_back(JsonNode{});
  indexStack.assign(1, 1);
  nodes[0].name = "JSON";
  depth = 2;
  stateStack.push_back(b == '{' ? InObject : InArray);
  indexStack.push_back(1);
  nodes[0].value = b == '{' ? "{ 0 }" : "[ 0 ]";
}

void JsonDocument::BeginNode(State s) {
  uint8_t prev = stateStack.empty() ? 0 : stateStack.back();
  stateStack.push_back(s);
  JsonNode r;
  if (s == BeforeValue && prev == InArray) {
    int32_t& count = CountEntry(elementCounts, depth + 1, depth + 1);
    ++count;
    r.name = ElementName(count - 1);
  } else if (s == InObject) {
    // An object that is an element of an array begins one level deeper until it closes.
    r.type = JsonNodeType::Object;
    ++depth;
    r.value = "{ 0 }";
    int32_t& count = CountEntry(elementCounts, depth, depth);
    ++count;
    r.name = ElementName(count - 1);
  } else if (s == InKey && prev == InObject) {
    ++CountEntry(memberCounts, depth, depth);
  }
  r.level = depth;
  token.Reset();
  nodes.push_back(std::move(r));
  indexStack.push_back(NodeCount());
}

// The position of the node the innermost open state belongs to, or 0 when the bookkeeping is
// broken. The reader never breaks it; if it happens anyway the document being read is abandoned
// (its nodes stay) rather than touching a node that is not there.
int32_t JsonDocument::CurrentIndex() {
  if (indexStack.empty()) {
    ShowJsonAlert(kJsonAlertIndexEmpty, JsonAlertIcon::Error);
  } else if (indexStack.back() > NodeCount() || indexStack.back() < 1) {
    ShowJsonAlert(kJsonAlertIndexBeyond, JsonAlertIcon::None);
  } else {
    return indexStack.back();
  }
  stateStack.clear();
  indexStack.clear();
  return 0;
}

void JsonDocument::PopState() {
  if (!stateStack.empty()) stateStack.pop_back();
  if (!indexStack.empty()) indexStack.pop_back();
}

void JsonDocument::OnInObject(unsigned char b) {
  if (b == '"') {
    BeginNode(InKey);
  } else if (b == '}') {
    CloseObject();
  }
}

void JsonDocument::OnInKey(unsigned char b) {
  if (b == '"') {
    // Escapes are not read in keys: the first quote ends the key even after a backslash.
    nodes.back().name = token.GetText();
    ReplaceTop(AfterKey);
  } else if (b != '\r' && b != '\n') {
    AppendByte(token, b);
  }
}

// Everything up to the colon is ignored, closing brackets included.
void JsonDocument::OnAfterKey(unsigned char b) {
  if (b == ':') ReplaceTop(BeforeValue);
}

void JsonDocument::OnBeforeValue(unsigned char b) {
  if (IsWhiteSpace(b)) return;
  switch (b) {
    case '{':
      token.Reset();
      ReplaceTop(InObject);
      ++depth;
      break;
    case '[':
      token.Reset();
      ReplaceTop(InArray);
      ++depth;
      break;
    case ',':
    case '}':
    case ']':
      // The value is missing: it reads as an empty null.
      nodes.back().type = JsonNodeType::Null;
      nodes.back().value.clear();
      PopState();
      if (b == '}') OnInObject(b);
      break;
    case '"':
      token.Reset();
      ReplaceTop(InString);
      break;
    default:
      token.Reset();
      AppendByte(token, b);
      ReplaceTop(InBareValue);
      break;
  }
}

void JsonDocument::OnInString(unsigned char b) {
  if (b == '"' && !escapePending) {
    nodes.back().type = JsonNodeType::String;
    nodes.back().value = token.GetText();
    PopState();
  } else if (b != '\r' && b != '\n') {
    AppendByte(token, b);
    escapePending = (b == '\\') ? !escapePending : false;
  }
}

void JsonDocument::OnInBareValue(unsigned char b) {
  if (b == ',' || b == '}' || b == ']') {
    FinishBareValue(b);
  } else if (!IsWhiteSpace(b)) {
    // White space inside a bare token is dropped; the token runs on to the next , } or ].
    AppendByte(token, b);
  }
}

void JsonDocument::FinishBareValue(unsigned char b) {
  Text t = token.GetText();
  nodes.back().type = ClassifyBareToken(t);
  nodes.back().value = std::move(t);
  PopState();
  if (b == '}') {
    OnInObject(b);
  } else if (b == ']') {
    OnInArray(b);
  } else if (!stateStack.empty() && stateStack.back() == InArray) {
    OnInArray(b);  // a comma after a member's value is used up here
  }
}

void JsonDocument::OnInArray(unsigned char b) {
  if (IsWhiteSpace(b)) return;
  switch (b) {
    case '{':
      BeginNode(InObject);
      break;
    case ']':
      CloseArray();
      break;
    case ',': {
      int32_t n = NodeCount();
      if (n == commaMark) {
        // Nothing since the last comma: an empty place becomes an empty null element.
        BeginNode(BeforeValue);
        OnBeforeValue(',');
        commaMark = n + 1;
      } else {
        commaMark = n;
      }
      break;
    }
    default:
      BeginNode(BeforeValue);
      OnBeforeValue(b);
      break;
  }
}

void JsonDocument::CloseObject() {
  int32_t a = CurrentIndex();
  if (a == 0) return;
  JsonNode& node = nodes[static_cast<size_t>(a) - 1];
  if (memberCounts.size() < static_cast<size_t>(depth)) {
    node.value = "{ 0 }";
  } else {
    int32_t& count = memberCounts[static_cast<size_t>(depth) - 1];
    node.value = "{ " + Decimal(count) + " }";
    count = 0;
  }
  --depth;
  node.type = JsonNodeType::Object;
  node.level = depth;
  PopState();
}

void JsonDocument::CloseArray() {
  int32_t a = CurrentIndex();
  if (a == 0) return;
  if (NodeCount() == commaMark) {
    // A trailing comma leaves one more, empty, element.
    BeginNode(BeforeValue);
    OnBeforeValue(',');
  }
  // The empty element may have grown the node list: look the container up again.
  JsonNode& node = nodes[static_cast<size_t>(a) - 1];
  if (elementCounts.size() >= static_cast<size_t>(depth) + 1) {
    int32_t& count = elementCounts[static_cast<size_t>(depth)];
    node.value = "[ " + Decimal(count) + " ]";
    count = 0;
  } else {
    node.value = "[ 0 ]";
  }
  --depth;
  node.type = JsonNodeType::Array;
  node.level = depth;
  PopState();
}
