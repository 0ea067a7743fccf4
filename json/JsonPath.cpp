// Dotted path access: "parts[0].content", "list[2][0]", "[1].name".
#include <cstdlib>
#include <vector>

#include "json/JsonBytes.h"
#include "json/JsonDocument.h"

namespace {

// "a[0].b" reads as "a.[0].b". Every dot ends a component, so two dots in a row give an empty
// one; a leading dot gives an empty first component, which is dropped.
std::vector<Text> SplitPath(const Text& path, size_t length) {
  std::vector<Text> components;
  Text current;
  for (size_t i = 0; i < length; ++i) {
    char c = path[i];
    if (c == '[' || c == '.') {
      components.push_back(std::move(current));
      current.clear();
    }
    if (c != '.') current.push_back(c);
  }
  if (!current.empty()) components.push_back(std::move(current));
  if (!components.empty() && components.front().empty()) components.erase(components.begin());
  return components;
}

// "{ 12 }" -> "12": from the third character to the third-last.
Text CountInside(const Text& value) {
  if (value.size() <= 4) return Text();
  return value.substr(2, value.size() - 4);
}

}  // namespace

Text JsonDocument::GetValue(const Text& path, JsonNodeType* nodeType, int32_t* nodePosition,
                            Param<bool> decode) const {
  JsonNodeType foundType = JsonNodeType::Other;
  int32_t foundPosition = 0;
  Text result;
  size_t pathLength = ContentOf(path).size();

  if (pathLength == 0) {
    if (!nodes.empty()) {
      foundType = nodes[0].type;
      foundPosition = 1;
      result = decode.value ? CountInside(nodes[0].value) : nodes[0].value;
    }
  } else {
    std::vector<Text> components = SplitPath(path, pathLength);
    const int32_t m = static_cast<int32_t>(components.size());
    int32_t i = 1;  // the component being matched, from 1
    for (size_t j = 1; j < nodes.size() && m > 0; ++j) {
      const JsonNode& node = nodes[j];
      const int64_t L = static_cast<int64_t>(node.level) - 1;
      if (L < 1 || L > i) continue;  // unclosed root's remains, or deeper than the match so far
      // Shallower: the walk has left the container whose member matched; resume at its depth.
      if (L < i) i = static_cast<int32_t>(L);
      if (node.name != components[static_cast<size_t>(i) - 1]) continue;
      if (i < m) {
        ++i;
        continue;
      }
      foundType = node.type;
      foundPosition = static_cast<int32_t>(j) + 1;
      if (!decode.value) {
        result = node.value;
        break;
      }
      switch (node.type) {
        case JsonNodeType::String: result = DecodeString(node.value); break;
        case JsonNodeType::Boolean:
          result.push_back(IsWordIgnoringCase(node.value, "true") ? '1' : '0');
          break;
        case JsonNodeType::Object:
        case JsonNodeType::Array: result = CountInside(node.value); break;
        case JsonNodeType::Null: break;
        default: result = node.value; break;
      }
      break;
    }
  }
  if (nodeType != nullptr) *nodeType = foundType;
  if (nodePosition != nullptr) *nodePosition = foundPosition;
  return result;
}

int32_t JsonDocument::MemberCount(const Text& path) const {
  JsonNodeType type = JsonNodeType::Other;
  Text value = GetValue(path, &type);
  if (type != JsonNodeType::Object && type != JsonNodeType::Array) return 0;
  return static_cast<int32_t>(std::strtol(CountInside(value).c_str(), nullptr, 10));
}
