#pragma once
// The pure text work of a web request: scheme prefix, verb, User-Agent, the default header set, the
// Cookie line and the choice of inflation. WebAccess adds the WinInet calls around it.
#include <cstdint>

#include "text/Param.h"

class ZlibCodec;

extern const char kDefaultUserAgent[];

// 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 DELETE, 5 OPTIONS, 6 TRACE, 7 CONNECT; any other number GET.
const char* VerbOfMethod(int32_t method);

// "http://" in front when the address holds neither "http://" nor "https://" anywhere (any case).
Text AddressWithScheme(const Text& address);
// The first eight characters, lower-cased, are "https://".
bool IsHttpsAddress(const Text& address);

// The agent named by a User-Agent line (name matched ignoring case), else the default agent. The
// value is taken with the name in exact case; a line spelt otherwise yields nothing there, and the
// value after the block's first colon is taken instead.
Text UserAgentOf(const Text& headers);

// Adds Accept, Referer, Accept-Language and Content-Type lines, in that order, each only when its
// name (exact case) is missing from the block. An empty block becomes exactly the Accept line.
void AddDefaultHeaders(Text& headers, const Text& address);

// Appends CR LF and the Cookie line for non-empty cookies; cookies holding "Cookie:" go unchanged.
void AddCookieLine(Text& headers, const Text& cookies);

// The body inflated as the response (or a request for gzip) asks, or the body as read when no
// inflation applies or it fails. "Content-Encoding: deflate" wins over the gzip triggers.
Bytes DecodeBody(const ZlibCodec& codec, const Bytes& body, const Text& responseHeaders,
                 const Text& requestHeaders);
