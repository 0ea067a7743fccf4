#include "forms/Runtime.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "forms/Form.h"
#include "forms/WideText.h"

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (Form::TranslatePageKeys(msg)) continue;
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void ProcessPendingEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

namespace {
DWORD WINAPI ThreadStart(LPVOID routine) {
  reinterpret_cast<void (*)()>(routine)();
  return 0;
}
}  // namespace

bool StartThread(void (*routine)()) {
  HANDLE thread = CreateThread(nullptr, 0, ThreadStart, reinterpret_cast<LPVOID>(routine), 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}

void OpenInBrowser(const Text& address) {
  ShellExecuteW(nullptr, L"open", WideFromText(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int SystemMessageBox(const Text& text, const Text& caption, UINT style, HWND owner) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

bool PlayMemorySound(const unsigned char* wave, size_t size) {
  if (!wave || size == 0) return false;
  return PlaySoundA(reinterpret_cast<LPCSTR>(wave), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

namespace {
BOOL CALLBACK CollectEnabled(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}
}  // namespace

std::vector<HWND> DisableOtherWindows(HWND except) {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&windows));
  std::erase(windows, except);
  for (HWND w : windows) EnableWindow(w, FALSE);
  return windows;
}

void ReenableWindows(const std::vector<HWND>& windows) {
  for (HWND w : windows) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
}
