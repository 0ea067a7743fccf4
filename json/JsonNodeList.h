#pragma once
// The document's nodes in order, held in fixed-size chunks: a growing document never moves the
// nodes it already has, so a large one costs one write per node instead of a copy per doubling.
#include <cstddef>
#include <vector>

#include "json/JsonNode.h"

class JsonNodeList {
 public:
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  JsonNode& operator[](size_t i) { return chunks_[i / kChunk][i % kChunk]; }
  const JsonNode& operator[](size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
  JsonNode& back() { return chunks_.back().back(); }

  void push_back(JsonNode node) {
    if (count_ % kChunk == 0) {
      chunks_.emplace_back();
      chunks_.back().reserve(kChunk);
    }
    chunks_.back().push_back(std::move(node));
    ++count_;
  }

  void clear() {
    chunks_.clear();
    count_ = 0;
  }

  void CopyTo(std::vector<JsonNode>& list) const {
    list.clear();
    list.reserve(count_);
    for (const std::vector<JsonNode>& chunk : chunks_) {
      list.insert(list.end(), chunk.begin(), chunk.end());
    }
  }

 private:
  static constexpr size_t kChunk = 2048;
  std::vector<std::vector<JsonNode>> chunks_;
  size_t count_ = 0;
};
