#pragma once
// What the program asks of its platform besides forms: the message loop, threads, the browser,
// the system message box and sounds.
#include <windows.h>

#include <vector>

#include "text/Param.h"

// Runs the thread's message loop until the first window is gone; returns the quit code.
int RunMessageLoop();
// Handles the messages already waiting, then returns.
void ProcessPendingEvents();
// Starts a thread running `routine`; nobody waits for it.
bool StartThread(void (*routine)());
// Hands an address to the shell so that the default browser opens it; no result.
void OpenInBrowser(const Text& address);
// The system message box (MessageBoxA, so a redirection of it applies here too).
int SystemMessageBox(const Text& text, const Text& caption, UINT style, HWND owner = nullptr);
// Plays a WAVE clip held in memory, asynchronously. The bytes must outlive the sound.
bool PlayMemorySound(const unsigned char* wave, size_t size);
// A modal window's doing: disables the calling thread's other visible, enabled top-level windows
// and returns them, for ReenableWindows once the modal window is gone.
std::vector<HWND> DisableOtherWindows(HWND except);
void ReenableWindows(const std::vector<HWND>& windows);
