// Both inflate operations on arbitrary bodies, checked against a straightforward zlib loop: the
// result must be exactly the first stream's data when that stream is complete, and empty otherwise.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "web/ZlibCodec.h"

namespace {

// Inflates with zlib in one growing buffer; empty on any failure, like the codec.
Bytes Reference(const uint8_t* data, size_t size, bool zlibInit, int windowBits) {
  if (size == 0) return {};
  z_stream s;
  std::memset(&s, 0, sizeof s);
  if (zlibInit ? inflateInit(&s) != Z_OK : inflateInit2(&s, windowBits) != Z_OK) return {};
  s.next_in = const_cast<Bytef*>(data);
  s.avail_in = static_cast<uInt>(size);
  Bytes out;
  unsigned char chunk[4096];
  int result;
  do {
    s.next_out = chunk;
    s.avail_out = sizeof chunk;
    result = inflate(&s, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) {
      inflateEnd(&s);
      return {};
    }
    out.insert(out.end(), chunk, chunk + (sizeof chunk - s.avail_out));
  } while (result != Z_STREAM_END);
  inflateEnd(&s);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ZlibCodec codec;
  static int ready = codec.Initialise();
  if (ready != 1) std::abort();
  const Bytes body(data, data + size);

  if (codec.InflateGzipBody(body) != Reference(data, size, false, 47)) std::abort();

  bool zlibHeader = size >= 2 && data[0] == 0x78 && (data[0] * 256 + data[1]) % 31 == 0;
  if (codec.InflateDeflateBody(body) != Reference(data, size, zlibHeader, -15)) std::abort();
  return 0;
}
