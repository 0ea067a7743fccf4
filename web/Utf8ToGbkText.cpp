#include <windows.h>

#include <vector>

#include "text/DoubleByte.h"
#include "web/WebAccess.h"

// Always code page 936, whatever the system's ANSI code page is.
Text Utf8ToGbkText(const Bytes& body) {
  if (body.empty()) return {};
  const char* bytes = reinterpret_cast<const char*>(body.data());
  const int count = static_cast<int>(body.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, bytes, count, nullptr, 0);
  if (units <= 0) return {};
  std::vector<wchar_t> wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes, count, wide.data(), units);
  const int size = WideCharToMultiByte(936, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  Text text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(936, 0, wide.data(), units, text.data(), size, nullptr, nullptr);
  return Text(ContentOf(text));
}
