#pragma once
// Cuts a fuzz input into fields: the bytes between 0xFF 0xFF pairs, so that any single byte value,
// zero included, can still appear inside a field.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> FuzzFields(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < size; ++i) {
    if (i + 1 < size && data[i] == 0xFF && data[i + 1] == 0xFF && fields.size() < count) {
      fields.emplace_back();
      ++i;
    } else {
      fields.back() += static_cast<char>(data[i]);
    }
  }
  fields.resize(count);
  return fields;
}

inline int32_t FuzzNumber(const std::string& field) {
  uint32_t v = 0;
  for (size_t i = 0; i < field.size() && i < 4; ++i) v = v << 8 | static_cast<uint8_t>(field[i]);
  return static_cast<int32_t>(v);
}

// The text up to its first zero byte, as every routine reads it.
inline std::string UpToZero(const std::string& s) { return std::string(s.c_str()); }

#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (0)
