#include "tests/support/Compress.h"

#include <zlib.h>

#include <cstring>

Bytes Compress(const Bytes& plain, Wrapping wrapping, int level) {
  z_stream stream;
  std::memset(&stream, 0, sizeof stream);
  int bits = wrapping == Wrapping::Gzip ? 31 : wrapping == Wrapping::Zlib ? 15 : -15;
  if (deflateInit2(&stream, level, Z_DEFLATED, bits, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  Bytes out(deflateBound(&stream, static_cast<uLong>(plain.size())) + 64);
  stream.next_in = const_cast<Bytef*>(plain.data());
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return result == Z_STREAM_END ? out : Bytes{};
}

Bytes Compress(const std::string& plain, Wrapping wrapping, int level) {
  return Compress(ToBytes(plain), wrapping, level);
}

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

Bytes SampleBody(size_t size, bool compressible, unsigned seed) {
  static const char* const words[] = {"picture ", "article ", "<p>", "src=\"", "/a/ac", "1024 ", "\r\n"};
  Bytes out;
  out.reserve(size);
  unsigned state = seed * 2654435761u + 12345u;
  while (out.size() < size) {
    state = state * 1103515245u + 12345u;
    if (compressible) {
      for (const char* c = words[(state >> 16) % 7]; *c && out.size() < size; ++c) out.push_back(static_cast<unsigned char>(*c));
    } else {
      out.push_back(static_cast<unsigned char>(state >> 23));
    }
  }
  return out;
}
