#include "json/AnsiUnit.h"

#if defined(_WIN32)
#include <windows.h>
#endif

Text AnsiFromUtf16Unit(uint16_t unit) {
#if defined(_WIN32)
  wchar_t wide = static_cast<wchar_t>(unit);
  char bytes[4] = {};
  int n = WideCharToMultiByte(CP_ACP, 0, &wide, 1, bytes, sizeof bytes, nullptr, nullptr);
  return n > 0 ? Text(bytes, static_cast<size_t>(n)) : Text("?");
#else
  if (unit < 0x80) return Text(1, static_cast<char>(unit));
  return Text("?");
#endif
}
