#pragma once
// An optional parameter: a value with a present/absent state beside it. An absent text is empty, an
// absent number 0 and an absent switch false, unless the routine gives another default.
#include <string>
#include <utility>
#include <vector>

using Text = std::string;                 // code page 936 bytes
using Bytes = std::vector<unsigned char>;  // counted bytes, may hold zeros

template <class T>
struct Param {
  T value{};
  bool present = false;

  Param() = default;
  Param(T v) : value(std::move(v)), present(true) {}  // NOLINT: a given argument is present
  Param(const char* v) requires std::is_same_v<T, std::string> : value(v), present(true) {}
};
