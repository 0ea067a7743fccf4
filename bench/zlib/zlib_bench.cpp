// Gzip inflation by ZlibCodec against a bare zlib loop writing into a buffer presized to the known
// result, on the same bodies in the same run. Prints milliseconds (best of several runs) and the
// ratio per size; exits 1 when a ratio exceeds 1.5.
//   cmake --build --preset win64 --target zlib_bench && scripts/wine-run build/win64/bench/zlib/zlib_bench.exe
//   (natively: build/native/bench/zlib/zlib_bench, slower under the sanitizers)
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "tests/support/Compress.h"
#include "web/ZlibCodec.h"

namespace {

double Millis(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

bool PlainLoop(const Bytes& body, Bytes& out) {
  z_stream s;
  std::memset(&s, 0, sizeof s);
  inflateInit2(&s, 47);
  s.next_in = const_cast<Bytef*>(body.data());
  s.avail_in = static_cast<uInt>(body.size());
  size_t filled = 0;
  int result = Z_OK;
  while (result == Z_OK) {
    s.next_out = out.data() + filled;
    s.avail_out = static_cast<uInt>(out.size() - filled);
    result = inflate(&s, Z_NO_FLUSH);
    filled = out.size() - s.avail_out;
  }
  inflateEnd(&s);
  return result == Z_STREAM_END && filled == out.size();
}

}  // namespace

int main() {
  ZlibCodec codec;
  codec.Initialise();
  int status = 0;
  // Small bodies take more runs: on a busy machine the best of a few short runs is mostly noise.
  std::printf("%8s %12s %12s %12s %7s\n", "MiB", "gzip bytes", "codec ms", "plain ms", "ratio");
  for (size_t mib : {1, 16, 64}) {
    // Page-like text with some noise: compresses about 4:1, closer to real pages than pure repetition.
    Bytes plain = SampleBody(mib << 20, true, static_cast<unsigned>(mib));
    Bytes noise = SampleBody(plain.size() / 8, false, 7);
    for (size_t i = 0; i < noise.size(); ++i) plain[i * 8] = noise[i];
    const Bytes gzip = Compress(plain, Wrapping::Gzip);

    double codecBest = 1e30, plainBest = 1e30;
    const int runs = mib == 1 ? 40 : mib == 16 ? 10 : 5;
    for (int run = 0; run < runs; ++run) {
      auto t0 = std::chrono::steady_clock::now();
      Bytes result = codec.InflateGzipBody(gzip);
      auto t1 = std::chrono::steady_clock::now();
      if (result != plain) {
        std::printf("codec result wrong at %zu MiB\n", mib);
        return 2;
      }
      Bytes presized(plain.size());
      auto t2 = std::chrono::steady_clock::now();
      bool ok = PlainLoop(gzip, presized);
      auto t3 = std::chrono::steady_clock::now();
      if (!ok || presized != plain) {
        std::printf("plain loop wrong at %zu MiB\n", mib);
        return 2;
      }
      codecBest = std::min(codecBest, Millis(t1 - t0));
      plainBest = std::min(plainBest, Millis(t3 - t2));
    }
    double ratio = codecBest / plainBest;
    std::printf("%8zu %12zu %12.2f %12.2f %7.3f\n", mib, gzip.size(), codecBest, plainBest, ratio);
    if (ratio > 1.5) status = 1;
  }
  std::printf(status == 0 ? "all ratios within 1.5\n" : "a ratio exceeds 1.5\n");
  return status;
}
