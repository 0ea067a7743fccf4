#pragma once
// Compressed forms of a body for tests and benchmarks, made with zlib's own deflate.
#include <string>

#include "text/Param.h"

enum class Wrapping { Gzip, Zlib, RawDeflate };

// level: zlib's compression level 0..9 (-1 its default). Level 1 and 9 give the zlib headers 78 01
// and 78 DA, level 6 78 9C.
Bytes Compress(const Bytes& plain, Wrapping wrapping, int level = -1);
Bytes Compress(const std::string& plain, Wrapping wrapping, int level = -1);

// Bytes of a text, and a text of bytes, for building expectations.
Bytes ToBytes(const std::string& text);
std::string ToString(const Bytes& bytes);

// Deterministic filler: `compressible` repeats words, otherwise pseudo-random bytes that zlib cannot
// shrink (so that the inflated size fills the output in full steps).
Bytes SampleBody(size_t size, bool compressible, unsigned seed = 1);
