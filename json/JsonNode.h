#pragma once
// One record of a parsed JSON document: a value, a member or an element.
#include <cstdint>

#include "text/Param.h"

enum class JsonNodeType : int32_t {
  Other = 0,    // a bare token that is nothing else, or a value that never ended
  Number = 1,
  String = 2,   // value holds the raw text between the quotes
  Boolean = 3,
  Object = 4,   // value reads "{ n }"
  Array = 5,    // value reads "[ n ]"
  Null = 6,     // also a missing value
};

struct JsonNode {
  Text name;   // the key, "[n]" for an element, "JSON" for the root
  Text value;
  int32_t level = 0;  // 1 for the root, 2 for its members or elements, ...
  JsonNodeType type = JsonNodeType::Other;

  bool operator==(const JsonNode&) const = default;
};
