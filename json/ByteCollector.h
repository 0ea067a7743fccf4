#pragma once
// Collects bytes one at a time for the JSON reader's tokens and the decoder's and layout's output.
#include <cstdint>

#include "text/Param.h"

class ByteCollector {
 public:
  ByteCollector() = default;
  ByteCollector(const ByteCollector&) = delete;
  ByteCollector& operator=(const ByteCollector&) = delete;

  void Reset() { bytes_.clear(); }
  void Add(unsigned char b) { bytes_.push_back(static_cast<char>(b)); }
  void Add(const Text& text) { bytes_.append(text); }
  void SetBlockSize(int32_t size) {
    if (size >= 1024) bytes_.reserve(static_cast<size_t>(size));
  }
  Text GetText() const { return bytes_; }

 private:
  Text bytes_;
};
