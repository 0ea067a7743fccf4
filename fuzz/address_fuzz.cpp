// Address and header line routines on arbitrary text.
#include "FuzzInput.h"
#include "text/DoubleByte.h"
#include "web/AddressParsing.h"
#include "web/HeaderText.h"

namespace {

bool Contains(const Text& whole, const Text& part) { return whole.find(part) != Text::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto f = FuzzFields(data, size, 3);
  const Text address = UpToZero(f[0]);

  Text host = HostOfAddress(address), hostPort = HostOfAddress(address, true);
  Text lowered = LowerAscii(address);
  FUZZ_CHECK(Contains(lowered, host) && Contains(lowered, hostPort));
  FUZZ_CHECK(hostPort.compare(0, host.size(), host) == 0);
  FUZZ_CHECK(host.find(':') == Text::npos && host.find('/') == Text::npos);
  Text path = PathOfAddress(address);
  FUZZ_CHECK(!path.empty() && path[0] == '/');
  FUZZ_CHECK(path == "/" || address.ends_with(path));
  int32_t port = PortOfAddress(address);
  if (hostPort.find(':') == Text::npos) FUZZ_CHECK(port == 80 || port == 443);

  Text normalised = NormaliseHeaderNames(address);
  FUZZ_CHECK(normalised.size() <= address.size());
  FUZZ_CHECK(LowerAscii(normalised) == LowerAscii(NormaliseHeaderNames(LowerAscii(address))));
  FUZZ_CHECK(NormaliseHeaderNames(normalised) == normalised);
  Text first = CapitaliseFirst(address);
  FUZZ_CHECK(first.size() == address.size() && LowerAscii(first.substr(0, 1)) == LowerAscii(address.substr(0, 1)));

  const Text left = UpToZero(f[1]), right = UpToZero(f[2]);
  Text between = TextBetween(address, left, right);
  FUZZ_CHECK(Contains(address, between));
  Text before = TextBefore(address, left);
  FUZZ_CHECK(address.compare(0, before.size(), before) == 0);
  Text value = ValueAfterColon(address);
  FUZZ_CHECK(Contains(address, value));
  FUZZ_CHECK(TrimSpaces(value) == value);
  return 0;
}
