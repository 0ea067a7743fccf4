#pragma once
// Process-wide redirection of MessageBoxA to the program's prompt window: the entry of MessageBoxA
// in user32 is overwritten with a jump to PromptMessageBox. The patch stays until the process ends.
#include <windows.h>

#include <cstdint>

#include "text/Param.h"

// Opens the prompt form as a modal dialog and returns once it is closed; false when it could not
// be opened (the caller then shows the system's own message box).
using PromptOpener = bool (*)();
// Called with the four message box arguments before the prompt form opens.
using PromptBeforeShow = void (*)(HWND ownerWindow, const char* text, const char* caption,
                                  UINT style);

struct MessageBoxRedirectRecord {
  void* entryAddress = nullptr;   // MessageBoxA in user32
  Bytes savedEntryBytes;          // the unpatched entry, kept from the first installation
  Bytes patchBytes;               // the jump written over the entry
  int32_t* resultCell = nullptr;  // written by the prompt's buttons, read and zeroed per prompt
  PromptOpener promptWindow = nullptr;
  PromptBeforeShow beforeShow = nullptr;
  Text promptText;
  Text promptCaption;
};
extern MessageBoxRedirectRecord MessageBoxRedirect;

// The result cell, or null when nothing could be patched.
int32_t* InstallMessageBoxRedirect(PromptOpener promptWindow, PromptBeforeShow beforeShow);
// Stands in for MessageBoxA, same signature: 6 for confirm, 7 for cancel, 1 for any other close.
int WINAPI PromptMessageBox(HWND ownerWindow, const char* text, const char* caption, UINT style);
// The before-show routine of the dressing: keeps copies of text and caption for the prompt form.
void RememberPromptTexts(HWND ownerWindow, const char* text, const char* caption, UINT style);
