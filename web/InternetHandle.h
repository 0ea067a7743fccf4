#pragma once
// Owns one WinInet handle (internet, connection or request) and closes it once.
#include <windows.h>
#include <wininet.h>

class InternetHandle {
public:
  explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~InternetHandle() { Close(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Close() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
    handle_ = nullptr;
  }

private:
  HINTERNET handle_;
};
