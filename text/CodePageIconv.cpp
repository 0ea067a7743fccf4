#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <vector>

#include "text/CodePage.h"

// The ANSI code page of the systems this program is made for is 936; the portable build assumes it.
namespace {

struct BestFit {
  uint16_t unit, bytes;
};
constexpr BestFit kBestFit[] = {
#include "text/CodePage936BestFit.inc"
};

constexpr uint16_t kReplacement = 0xFFFD;
constexpr char kDefaultChar = '?';

// Code page 936 bytes of every UTF-16 code unit: up to two bytes and their count.
struct UnitTable {
  std::array<std::array<char, 2>, 0x10000> bytes{};
  std::array<uint8_t, 0x10000> size{};
};

const UnitTable& Table() {
  static UnitTable table;
  static std::once_flag built;
  std::call_once(built, [] {
    iconv_t cd = iconv_open("CP936", "UTF-16LE");
    for (uint32_t unit = 1; unit < 0x10000; ++unit) {
      char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
      char out[8];
      char* inPtr = in;
      char* outPtr = out;
      size_t inLeft = sizeof in, outLeft = sizeof out;
      bool mapped = cd != reinterpret_cast<iconv_t>(-1) && (unit < 0xD800 || unit > 0xDFFF) &&
                    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                    outPtr - out >= 1 && outPtr - out <= 2;
      if (cd != reinterpret_cast<iconv_t>(-1)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (!mapped) {
        out[0] = kDefaultChar;
        outPtr = out + 1;
      }
      table.size[unit] = static_cast<uint8_t>(outPtr - out);
      std::copy(out, outPtr, table.bytes[unit].begin());
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    for (const BestFit& fit : kBestFit) {
      if (fit.bytes < 0x100) {
        table.bytes[fit.unit] = {static_cast<char>(fit.bytes), 0};
        table.size[fit.unit] = 1;
      } else {
        table.bytes[fit.unit] = {static_cast<char>(fit.bytes >> 8), static_cast<char>(fit.bytes)};
        table.size[fit.unit] = 2;
      }
    }
  });
  return table;
}

void AppendUnit(Text& out, uint32_t unit) {
  const UnitTable& table = Table();
  out.append(table.bytes[unit].data(), table.size[unit]);
}

// Continuation bytes a lead byte announces: 0 for bytes that cannot lead a sequence.
int FollowingBytes(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

// Decodes UTF-8 into UTF-16 code units the way the system decoder does with flags 0:
// - a lead byte whose sequence would run past the end of the input turns all the rest into one
//   replacement character;
// - otherwise the continuation bytes are taken one by one; the first that is missing, or that
//   makes the sequence overlong, a surrogate or beyond U+10FFFF, ends a replacement character
//   made of what was taken so far (an out-of-range continuation byte is taken, a non-continuation
//   byte is not and is read again);
// - a byte that cannot start a sequence is one replacement character.
std::vector<uint16_t> DecodeUtf8(const unsigned char* s, size_t n) {
  std::vector<uint16_t> units;
  units.reserve(n);
  for (size_t i = 0; i < n;) {
    unsigned char lead = s[i++];
    if (lead < 0x80) {
      units.push_back(lead);
      continue;
    }
    int follow = FollowingBytes(lead);
    if (static_cast<size_t>(follow) > n - i) {
      units.push_back(kReplacement);
      break;
    }
    uint32_t value = lead & (follow == 1 ? 0x1F : follow == 2 ? 0x0F : 0x07);
    bool valid = follow > 0;
    for (int k = follow; valid && k > 0; --k) {
      unsigned char c = s[i];
      if ((c & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      value = (value << 6) | (c & 0x3F);
      ++i;
      if (k == 3) valid = value >= 0x10 && value < 0x110;
      if (k == 2) valid = value >= 0x20 && !(value >= 0x360 && value < 0x380);
      if (k == 1) valid = value >= 0x80;
    }
    if (!valid) {
      units.push_back(kReplacement);
    } else if (value >= 0x10000) {
      value -= 0x10000;
      units.push_back(static_cast<uint16_t>(0xD800 + (value >> 10)));
      units.push_back(static_cast<uint16_t>(0xDC00 + (value & 0x3FF)));
    } else {
      units.push_back(static_cast<uint16_t>(value));
    }
  }
  return units;
}

}  // namespace

Text Utf8ToGbk(const Bytes& utf8) {
  Text out;
  for (uint16_t unit : DecodeUtf8(utf8.data(), utf8.size())) {
    if (unit == 0) break;  // the text ends at its first zero byte
    AppendUnit(out, unit);
  }
  return out;
}

Text WideUnitToAnsi(uint16_t unit) {
  Text out;
  if (unit != 0) AppendUnit(out, unit);
  return out;
}
