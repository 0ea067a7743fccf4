// Parse, then look up paths: one taken from the input's first line, and one built from every
// node's own ancestry. Properties: levels stay within what the input could nest, a found node's
// value is exactly what GetValue returns, feeding the input in two pieces reads the same, and the
// bookkeeping messages never fire.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "json/JsonAlert.h"
#include "json/JsonDocument.h"

namespace {

void NoAlert(const char*, JsonAlertIcon) { std::abort(); }

void CheckLookup(const JsonDocument& doc, const Text& path) {
  JsonNodeType type = JsonNodeType::Null;
  int32_t position = -1;
  Text value = doc.GetValue(path, &type, &position);
  if (position == 0) {
    FUZZ_CHECK(value.empty() && type == JsonNodeType::Other);
    FUZZ_CHECK(doc.GetValue(path, nullptr, nullptr, true).empty());
    return;
  }
  FUZZ_CHECK(position >= 1 && position <= doc.NodeCount());
  JsonNode node = doc.GetNode(position);
  FUZZ_CHECK(node.value == value && node.type == type);
  Text decoded = doc.GetValue(path, nullptr, nullptr, true);
  if (type == JsonNodeType::String) FUZZ_CHECK(decoded == doc.DecodeString(value));
  if (type == JsonNodeType::Null) FUZZ_CHECK(decoded.empty());
  if (type == JsonNodeType::Boolean) FUZZ_CHECK(decoded == "0" || decoded == "1");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool hooked = (SetJsonAlertHook(&NoAlert), true);
  (void)hooked;

  size_t newline = 0;
  while (newline < size && data[newline] != '\n') ++newline;
  Text path(reinterpret_cast<const char*>(data), newline < 200 ? newline : 200);
  const uint8_t* json = data + (newline < size ? newline + 1 : size);
  const size_t jsonSize = size - static_cast<size_t>(json - data);
  Bytes bytes(json, json + jsonSize);

  JsonDocument doc;
  doc.ParseBytes(bytes);

  int32_t openings = 0;
  bool hasZero = false;
  for (uint8_t b : bytes) {
    openings += (b == '{' || b == '[');
    hasZero = hasZero || b == 0;
  }
  std::vector<JsonNode> nodes;
  FUZZ_CHECK(doc.CopyNodes(nodes) == doc.NodeCount());
  for (size_t i = 0; i < nodes.size(); ++i) {
    const int32_t level = nodes[i].level;
    FUZZ_CHECK(level >= 0 && level <= 1 + openings);
    if (i == 0) FUZZ_CHECK(nodes[i].name == "JSON" && (level == 0 || level == 1));
    if (i > 0) FUZZ_CHECK(level >= 2);
  }

  CheckLookup(doc, path);
  // Each node's path from its ancestors' names; the first match may be an earlier twin.
  std::vector<Text> ancestry;
  for (size_t i = 1; i < nodes.size() && i < 200; ++i) {
    const size_t depth = static_cast<size_t>(nodes[i].level) - 1;
    ancestry.resize(depth);
    ancestry[depth - 1] = nodes[i].name;
    Text built;
    for (const Text& name : ancestry) {
      if (!built.empty() && (name.empty() || name[0] != '[')) built += '.';
      built += name;
    }
    CheckLookup(doc, built);
  }

  if (!hasZero) {
    JsonDocument fed;
    const size_t half = jsonSize / 2;
    fed.Feed(Text(reinterpret_cast<const char*>(json), half));
    fed.Feed(Text(reinterpret_cast<const char*>(json) + half, jsonSize - half));
    std::vector<JsonNode> fedNodes;
    fed.CopyNodes(fedNodes);
    FUZZ_CHECK(fedNodes == nodes);
  }
  return 0;
}
