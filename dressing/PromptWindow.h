#pragma once
// The prompt window that stands in for system message boxes once the redirection is installed:
// a dressed window with a title line, the message, a confirm, a cancel and a close button.
// The dressing installs it as InstallMessageBoxRedirect(OpenPromptWindow, RememberPromptTexts).
#include <windows.h>

#include <cstddef>

#include "dressing/MessageBoxRedirect.h"
#include "forms/Form.h"

// Loads the prompt form as a modal dialog with MessageBoxRedirect's texts and waits for it to
// close; false when it could not be opened.
bool OpenPromptWindow();
// The prompt form while it is open, else null.
Form* PromptWindowForm();
// Plays the prompt's sound; the window runtime's memory sound unless replaced.
extern bool (*PlayPromptSound)(const unsigned char* wave, size_t size);
