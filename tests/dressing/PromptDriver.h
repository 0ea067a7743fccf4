#pragma once
// Drives a message box from inside its own modal loop, as a user would: a thread timer set before
// the call finds whatever box came up, notes what it shows and presses a button.
#include <windows.h>

#include <functional>
#include <string>

#include "text/Param.h"

enum class Press { Confirm, Cancel, Close, SystemNo, SystemOk };

struct PromptSeen {
  bool prompt = false;     // our prompt window came up
  bool systemBox = false;  // a system message box came up
  Text caption;            // title line, or the system box's caption
  Text text;
  int textTop = 0, textHeight = 0;
  int confirmLeft = 0, cancelLeft = 0;
  HWND focus = nullptr;  // the window holding the keyboard focus while the prompt was up
  HWND confirm = nullptr;
  bool barShown = false, lineShown = false;
  bool shadowShown = false;
  WNDPROC procedure = nullptr;  // the prompt window's procedure: which shadow subclassed it first
};

// Arms the driver, runs `show` (which opens a message box one way or another) and returns its result.
int Drive(Press press, PromptSeen& seen, const std::function<int()>& show);
