#include "web/ZlibCodec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "tests/support/Compress.h"

namespace {

ZlibCodec& Codec() {
  static ZlibCodec codec;
  static int ready = codec.Initialise();
  EXPECT_EQ(ready, 1);
  return codec;
}

enum class Op { Gzip, Deflate };

Bytes InflateBy(Op op, const Bytes& body) {
  return op == Op::Gzip ? Codec().InflateGzipBody(body) : Codec().InflateDeflateBody(body);
}

Bytes Cut(Bytes bytes, size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

// A zlib stream that asks for a preset dictionary: inflate reports Z_NEED_DICT.
Bytes WithDictionary(const std::string& plain) {
  z_stream s;
  std::memset(&s, 0, sizeof s);
  deflateInit(&s, Z_DEFAULT_COMPRESSION);
  static const char dict[] = "picture article";
  deflateSetDictionary(&s, reinterpret_cast<const Bytef*>(dict), sizeof dict - 1);
  Bytes out(plain.size() + 128);
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  s.avail_in = static_cast<uInt>(plain.size());
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

TEST(ZlibCodec, InitialiseBindsZlibAndCopiesShareIt) {
  ZlibCodec codec;
  EXPECT_EQ(codec.ready, 0);
  EXPECT_EQ(codec.Initialise(), 1);
  EXPECT_EQ(codec.ready, 1);
  ZlibCodec copy = codec;
  EXPECT_EQ(copy.ready, 1);
  EXPECT_EQ(ToString(copy.InflateGzipBody(Compress("copy", Wrapping::Gzip))), "copy");
}

TEST(ZlibCodec, UninitialisedCodecGivesEmptyBytes) {
  ZlibCodec codec;
  EXPECT_TRUE(codec.InflateGzipBody(Compress("x", Wrapping::Gzip)).empty());
  EXPECT_TRUE(codec.InflateDeflateBody(Compress("x", Wrapping::Zlib)).empty());
}

TEST(ZlibCodec, HeaderChoiceAndFailures) {
  const std::string text = "<p><img src=\"/pic/1.jpg\"></p> article text, article text";
  const Bytes gzip = Compress(text, Wrapping::Gzip);
  const Bytes zlib = Compress(text, Wrapping::Zlib);
  const Bytes raw = Compress(text, Wrapping::RawDeflate);
  Bytes member2 = gzip;
  Bytes second = Compress("second member", Wrapping::Gzip);
  member2.insert(member2.end(), second.begin(), second.end());
  Bytes trailing = zlib;
  trailing.push_back('!');
  struct Case {
    const char* name;
    Op op;
    Bytes body;
    std::string expected;  // empty: the call fails
  } cases[] = {
      {"gzip body", Op::Gzip, gzip, text},
      {"zlib body detected by gzip inflation", Op::Gzip, zlib, text},
      {"raw deflate refused by gzip inflation", Op::Gzip, raw, ""},
      {"zlib body, header 78 9C", Op::Deflate, zlib, text},
      {"zlib body, header 78 01", Op::Deflate, Compress(text, Wrapping::Zlib, 1), text},
      {"zlib body, header 78 DA", Op::Deflate, Compress(text, Wrapping::Zlib, 9), text},
      {"raw deflate body", Op::Deflate, raw, text},
      {"gzip body refused by deflate inflation", Op::Deflate, gzip, ""},
      {"two gzip members give the first", Op::Gzip, member2, text},
      {"bytes after a zlib stream ignored", Op::Deflate, trailing, text},
      {"truncated gzip", Op::Gzip, Cut(gzip, 9), ""},
      {"gzip without its trailer", Op::Gzip, Cut(gzip, 8), ""},
      {"truncated zlib", Op::Deflate, Cut(zlib, 6), ""},
      {"truncated raw deflate", Op::Deflate, Cut(raw, 3), ""},
      {"empty body, gzip", Op::Gzip, {}, ""},
      {"empty body, deflate", Op::Deflate, {}, ""},
      {"single byte", Op::Deflate, {0x78}, ""},
      {"plain text, gzip", Op::Gzip, ToBytes(text), ""},
      {"plain text, deflate", Op::Deflate, ToBytes(text), ""},
      {"preset dictionary needed", Op::Deflate, WithDictionary(text), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToString(InflateBy(c.op, c.body)), c.expected) << c.name;
  }
}

// Sizes around the 65536-byte output step; incompressible data fills every step completely.
TEST(ZlibCodec, LargeBodiesComeBackWhole) {
  const size_t sizes[] = {65535, 65536, 65537, 3 * 65536 + 5, 1 << 20};
  for (size_t size : sizes) {
    for (bool compressible : {false, true}) {
      const Bytes plain = SampleBody(size, compressible, static_cast<unsigned>(size));
      EXPECT_EQ(Codec().InflateGzipBody(Compress(plain, Wrapping::Gzip)), plain) << size << compressible;
      EXPECT_EQ(Codec().InflateDeflateBody(Compress(plain, Wrapping::RawDeflate)), plain) << size << compressible;
      EXPECT_EQ(Codec().InflateDeflateBody(Compress(plain, Wrapping::Zlib)), plain) << size << compressible;
    }
  }
  // A large body cut short still fails as a whole rather than giving a partial result.
  const Bytes plain = SampleBody(300000, true);
  EXPECT_TRUE(Codec().InflateGzipBody(Cut(Compress(plain, Wrapping::Gzip), 100)).empty());
}

}  // namespace
