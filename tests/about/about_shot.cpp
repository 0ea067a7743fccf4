// Not a test: opens the about window, after a while presses its update button so the prompt comes
// up over it, then closes both; scripts/about-shots photographs the display meanwhile.
#include <windows.h>

#include "app/AboutWindow.h"
#include "app/StartUp.h"
#include "dressing/PromptWindow.h"
#include "forms/Runtime.h"

namespace {
HWND aboutWindow = nullptr;

void CALLBACK CloseAll(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (Form* prompt = PromptWindowForm()) prompt->Destroy();
  PostMessageW(aboutWindow, WM_CLOSE, 0, 0);
}

void CALLBACK PressUpdate(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SetTimer(nullptr, 0, 5000, CloseAll);
  if (Form* about = AboutWindowForm()) SendMessageW((*about)["按钮1"].Handle(), BM_CLICK, 0, 0);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A white backdrop: the grey shadow hardly shows on the compositor's grey root.
  CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                  nullptr, nullptr);
  StartUp();
  Form* about = LoadAboutWindow(Form::Mode::FirstWindow);
  if (!about) return 1;
  aboutWindow = about->Handle();
  SetTimer(nullptr, 0, 5000, PressUpdate);
  return RunMessageLoop();
}
