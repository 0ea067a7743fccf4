#include "forms/WideText.h"

#include <windows.h>

namespace {
constexpr UINT kTextCodePage = 936;

std::wstring ToWide(UINT codePage, const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}
}  // namespace

std::wstring WideFromText(const Text& text) { return ToWide(kTextCodePage, text); }
std::wstring WideFromUtf8(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }

Text TextFromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(kTextCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                              0, nullptr, nullptr);
  Text text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kTextCodePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                      nullptr, nullptr);
  return text;
}

Text WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(window, wide.data(), length + 1);
  wide.resize(static_cast<size_t>(n > 0 ? n : 0));
  return TextFromWide(wide);
}
