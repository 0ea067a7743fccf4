#include "web/ZlibCodec.h"

#include <zlib.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t kOutputStep = 65536;
constexpr int kGzipWindowBits = 47;  // 32 + 15: gzip or zlib header detected, 32 KiB window
constexpr int kRawWindowBits = -15;

// Output storage of one inflate call. Capacity doubles, so a body of n bytes costs O(n) copying in
// all, while each inflate call is still handed exactly one step of free space.
class OutputBuffer {
public:
  OutputBuffer() = default;
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;
  ~OutputBuffer() { std::free(data_); }

  bool Reserve(size_t needed) {
    if (needed <= capacity_) return true;
    size_t capacity = capacity_ == 0 ? kOutputStep : capacity_;
    while (capacity < needed) {
      if (capacity > SIZE_MAX / 2) return false;
      capacity *= 2;
    }
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr) return false;
    data_ = static_cast<unsigned char*>(grown);
    capacity_ = capacity;
    return true;
  }
  unsigned char* data() const { return data_; }

private:
  unsigned char* data_ = nullptr;
  size_t capacity_ = 0;
};

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
  OutputBuffer out;
  if (!out.Reserve(kOutputStep)) return {};

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
      if (!out.Reserve(filled + kOutputStep)) {
        inflateEndEntry(&stream);
        return {};
      }
      space = kOutputStep;
    } else {
      space -= produced;
    }
  }
  inflateEndEntry(&stream);
  try {
    return Bytes(out.data(), out.data() + filled);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

ZlibCodec& ProgramZlibCodec() {
  static ZlibCodec codec;
  return codec;
}
