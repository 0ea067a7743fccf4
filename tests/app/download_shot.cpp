// Not a test: opens the main window, pastes an article address, starts the download and stays a
// few seconds after the job's end; scripts/download-shots photographs the display meanwhile.
//   download_shot ARTICLE_ADDRESS FOLDER DONE_MARKER
// DONE_MARKER is a file written once the count label reads the job's end text.
#include <windows.h>

#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "forms/Runtime.h"

namespace {
Text folder, marker;

void CALLBACK Close(HWND window, UINT, UINT_PTR, DWORD) { DestroyWindow(window); }

void CALLBACK WatchForTheEnd(HWND, UINT, UINT_PTR id, DWORD) {
  Form* form = MainWindowForm();
  if (!form || (*form)["标签3"].GetText() != "下载完毕") return;
  KillTimer(nullptr, id);
  CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  SetTimer(form->Handle(), 1, 4000, Close);
}

void CALLBACK Start(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  Form* form = MainWindowForm();
  if (!form) return;
  (*form)["编辑框1"].SetText(__argv[1]);
  (*form)["编辑框2"].SetText(folder);
  SendMessageW((*form)["按钮2"].Handle(), BM_CLICK, 0, 0);
  SetTimer(nullptr, 0, 50, WatchForTheEnd);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 2;
  folder = __argv[2];
  marker = __argv[3];
  StartUp();
  if (!LoadMainWindow(Form::Mode::FirstWindow)) return 1;
  SetTimer(nullptr, 0, 1500, Start);
  return RunMessageLoop();
}
