#pragma once
// Inflation of compressed response bodies (gzip, zlib-wrapped and raw deflate). One program-wide
// instance is created and initialised at start-up and only read afterwards; every inflate call keeps
// its working state to itself, so calls from several threads do not interfere.
#include "text/Param.h"

struct z_stream_s;

class ZlibCodec {
public:
  using InitFn = int (*)(z_stream_s*, const char*, int);
  using Init2Fn = int (*)(z_stream_s*, int, const char*, int);
  using InflateFn = int (*)(z_stream_s*, int);
  using EndFn = int (*)(z_stream_s*);

  ZlibCodec() = default;
  // zlib is linked into the program, so there is no library handle to release on destruction.
  ~ZlibCodec();
  ZlibCodec(const ZlibCodec&) = default;
  ZlibCodec& operator=(const ZlibCodec&) = default;

  // Binds the zlib entry points; returns ready (always 1, zlib is linked into the program).
  int Initialise();
  // Zlib-wrapped when the first two bytes form a valid zlib header, raw deflate otherwise.
  Bytes InflateDeflateBody(const Bytes& body) const;
  // Gzip or zlib-wrapped, recognised by their headers. Only the first gzip member is inflated.
  Bytes InflateGzipBody(const Bytes& body) const;

  int ready = 0;

private:
  Bytes Inflate(const Bytes& body, bool zlibHeader, int windowBits) const;

  Init2Fn inflateInit2Entry = nullptr;
  InitFn inflateInitEntry = nullptr;
  InflateFn inflateEntry = nullptr;
  EndFn inflateEndEntry = nullptr;
};

// The program-wide instance. The program creates it and calls Initialise once at start-up, before any
// request; WebAccess only reads it.
ZlibCodec& ProgramZlibCodec();
