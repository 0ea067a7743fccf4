// The request header building on arbitrary header blocks, addresses and cookie texts: what it adds
// is only ever appended, every default name ends up present, and a body comes back either as read
// or inflated.
#include <cstdint>

#include "FuzzInput.h"
#include "text/DoubleByte.h"
#include "web/RequestHeaders.h"
#include "web/ZlibCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ZlibCodec codec;
  static int ready = codec.Initialise();
  FUZZ_CHECK(ready == 1);
  std::vector<std::string> f = FuzzFields(data, size, 5);
  const Text headers = UpToZero(f[0]), address = UpToZero(f[1]), cookies = UpToZero(f[2]);

  Text withScheme = AddressWithScheme(address);
  FUZZ_CHECK(withScheme == address || withScheme == "http://" + address);
  FUZZ_CHECK(FindText(withScheme, "http://", 1, true) != -1 || FindText(withScheme, "https://", 1, true) != -1);
  IsHttpsAddress(withScheme);
  UserAgentOf(headers);

  Text block = headers;
  AddDefaultHeaders(block, withScheme);
  FUZZ_CHECK(headers.empty() || block.compare(0, headers.size(), headers) == 0);
  for (const char* name : {"Accept:", "Referer:", "Accept-Language:", "Content-Type:"}) {
    FUZZ_CHECK(FindText(block, name) != -1);
  }
  Text withCookie = block;
  AddCookieLine(withCookie, cookies);
  FUZZ_CHECK(withCookie.compare(0, block.size(), block) == 0);
  FUZZ_CHECK(cookies.empty() == (withCookie == block));

  const Bytes body(f[3].begin(), f[3].end());
  Bytes decoded = DecodeBody(codec, body, UpToZero(f[4]), headers);
  FUZZ_CHECK(decoded == body || !decoded.empty());
  return 0;
}
