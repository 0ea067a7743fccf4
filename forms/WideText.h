#pragma once
// The program's texts are code page 936 bytes; windows get them as UTF-16 so that Chinese shows
// right whatever the system's ANSI code page is.
#include <windows.h>

#include <string>

#include "text/Param.h"

std::wstring WideFromText(const Text& text);
Text TextFromWide(const std::wstring& wide);
std::wstring WideFromUtf8(const std::string& utf8);
// A window's whole text (title or caption), as a program text.
Text WindowTextOf(HWND window);
