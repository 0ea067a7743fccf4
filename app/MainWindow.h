#pragma once
// The main window: the address check, the found count, the folder choice and the start button.
#include "forms/Form.h"

// The article site's host name; an address is accepted when it holds this directly followed by
// "/a/ac".
inline constexpr char kArticleHost[] = "www.artisite.example";

// Opens the main window in the given mode (the program opens it as its first window).
Form* LoadMainWindow(Form::Mode mode);
// The open main window, or null.
Form* MainWindowForm();

bool CheckAddress();
void ShowFoundCount();
