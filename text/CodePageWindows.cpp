#include <windows.h>

#include <climits>
#include <vector>

#include "text/CodePage.h"

Text Utf8ToGbk(const Bytes& utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return Text();
  const char* in = reinterpret_cast<const char*>(utf8.data());
  int inSize = static_cast<int>(utf8.size());
  int units = MultiByteToWideChar(CP_UTF8, 0, in, inSize, nullptr, 0);
  if (units <= 0) return Text();
  std::vector<wchar_t> wide(static_cast<size_t>(units), L'\0');
  units = MultiByteToWideChar(CP_UTF8, 0, in, inSize, wide.data(), units);
  if (units <= 0) return Text();
  int bytes = WideCharToMultiByte(936, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return Text();
  std::vector<char> out(static_cast<size_t>(bytes), '\0');
  bytes = WideCharToMultiByte(936, 0, wide.data(), units, out.data(), bytes, nullptr, nullptr);
  if (bytes <= 0) return Text();
  return Text(out.data(), strnlen(out.data(), static_cast<size_t>(bytes)));
}

Text WideUnitToAnsi(uint16_t unit) {
  if (unit == 0) return Text();
  wchar_t wide = static_cast<wchar_t>(unit);
  char out[4] = {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, &wide, 1, out, sizeof out, nullptr, nullptr);
  return bytes > 0 ? Text(out, static_cast<size_t>(bytes)) : Text();
}
