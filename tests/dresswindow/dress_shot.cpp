// Opens the main window dressed with the skin named on the command line ("NUMBER VARIANT") and
// closes it after a few seconds, long enough for a screenshot of the display.
#include <windows.h>

#include <cstdlib>

#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "dressing/DressWindow.h"
#include "forms/Runtime.h"

void CALLBACK CloseWhenShown(HWND window, UINT, UINT_PTR, DWORD) { DestroyWindow(window); }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char* rest = commandLine;
  const int number = int(std::strtol(rest, &rest, 10));
  const int variant = int(std::strtol(rest, &rest, 10));
  StartUp();
  Form* form = LoadMainWindow(Form::Mode::FirstWindow);
  if (!form) return 1;
  DressWindow(form->Handle(), {}, number, variant, {}, {}, {}, {}, {}, 1);
  // An address that the check turns down, so the verdict shows and nothing is fetched.
  (*form)["编辑框1"].SetText("http://example.invalid/a/ac1");
  SetTimer(form->Handle(), 1, 8000, CloseWhenShown);
  return RunMessageLoop();
}
