#pragma once
// Private messages between controls and their form's window procedure.
#include <windows.h>

namespace form_messages {
// wParam: the tab control's window; lParam: the page to show.
constexpr UINT kSetPage = WM_APP + 0x101;
// Destroys the form on its own thread.
constexpr UINT kDestroy = WM_APP + 0x102;
// wParam: the control's window; applies the oldest text that another thread wrote to it.
constexpr UINT kApplyText = WM_APP + 0x103;
}  // namespace form_messages
