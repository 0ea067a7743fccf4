#pragma once
#include <ostream>
#include <vector>

#include "json/JsonDocument.h"

inline void PrintTo(const JsonNode& n, std::ostream* os) {
  *os << "{name \"" << n.name << "\", value \"" << n.value << "\", level " << n.level << ", type "
      << static_cast<int>(n.type) << "}";
}

inline std::vector<JsonNode> NodesOf(const JsonDocument& doc) {
  std::vector<JsonNode> nodes;
  doc.CopyNodes(nodes);
  return nodes;
}
