#include "web/ZlibCodec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <exception>

namespace {

constexpr size_t kOutputStep = 65536;
constexpr int kGzipWindowBits = 47;  // 32 + 15: gzip or zlib header detected, 32 KiB window
constexpr int kRawWindowBits = -15;
// Page text inflates to about four times its compressed size; starting there saves most regrowth.
// Untouched capacity costs address space only.
constexpr size_t kExpectedRatio = 4;

// Makes room for `needed` bytes. Capacity at least doubles, so a body of n bytes costs O(n) copying
// in all while each inflate call is still handed exactly one step of free space.
bool Grow(Bytes& out, size_t needed) {
  try {
    if (needed > out.capacity()) out.reserve(std::max(needed, out.capacity() * 2));
    out.resize(needed);
    return true;
  } catch (const std::exception&) {  // bad_alloc or length_error: the body is given up
    return false;
  }
}

}  // namespace

ZlibCodec::~ZlibCodec() = default;

int ZlibCodec::Initialise() {
  inflateInit2Entry = &::inflateInit2_;
  inflateInitEntry = &::inflateInit_;
  inflateEntry = &::inflate;
  inflateEndEntry = &::inflateEnd;
  ready = (inflateInit2Entry && inflateInitEntry && inflateEntry && inflateEndEntry) ? 1 : 0;
  return ready;
}

Bytes ZlibCodec::InflateDeflateBody(const Bytes& body) const {
  // A single byte cannot carry a zlib header; it is treated as raw deflate and inflates to nothing.
  bool zlibHeader = body.size() >= 2 && body[0] == 0x78 && (body[0] * 256 + body[1]) % 31 == 0;
  return Inflate(body, zlibHeader, kRawWindowBits);
}

Bytes ZlibCodec::InflateGzipBody(const Bytes& body) const {
  return Inflate(body, false, kGzipWindowBits);
}

Bytes ZlibCodec::Inflate(const Bytes& body, bool zlibHeader, int windowBits) const {
  if (body.empty() || ready != 1) return {};
  Bytes out;
  try {
    if (body.size() <= SIZE_MAX / kExpectedRatio) out.reserve(body.size() * kExpectedRatio);
  } catch (const std::exception&) {  // only a guess: growth starts from one step instead
  }
  if (!Grow(out, kOutputStep)) return {};

  z_stream stream;
  std::memset(&stream, 0, sizeof stream);
  if (zlibHeader) {
    inflateInitEntry(&stream, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
  } else {
    inflateInit2Entry(&stream, windowBits, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
  }
  // zlib never writes through next_in; the cast only satisfies its pre-const interface.
  stream.next_in = const_cast<Bytef*>(body.data());
  // A body beyond 4 GiB cannot be handed over at once; such a stream ends truncated and fails.
  stream.avail_in = body.size() > UINT_MAX ? UINT_MAX : static_cast<uInt>(body.size());

  size_t filled = 0;
  size_t space = kOutputStep;
  for (;;) {
    stream.next_out = out.data() + filled;
    stream.avail_out = static_cast<uInt>(space);
    int result = inflateEntry(&stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END) {
      inflateEndEntry(&stream);
      return {};
    }
    size_t produced = space - stream.avail_out;
    filled += produced;
    if (result == Z_STREAM_END) break;
    if (produced == space) {
      if (!Grow(out, filled + kOutputStep)) {
        inflateEndEntry(&stream);
        return {};
      }
      space = kOutputStep;
    } else {
      space -= produced;
    }
  }
  inflateEndEntry(&stream);
  out.resize(filled);
  return out;
}

ZlibCodec& ProgramZlibCodec() {
  static ZlibCodec codec;
  return codec;
}
