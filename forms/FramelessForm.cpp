#include "forms/FramelessForm.h"

void MakeFormFrameless(Form& form) {
  HWND window = form.Handle();
  LONG style = GetWindowLongW(window, GWL_STYLE);
  style &= ~(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
  style |= WS_POPUP | WS_BORDER;
  SetWindowLongW(window, GWL_STYLE, style);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
