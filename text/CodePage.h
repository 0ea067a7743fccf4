#pragma once
// Conversions into the program's code page 936 text. On Windows they are the system's own
// conversions; elsewhere an iconv-based equivalent that gives the same bytes: invalid UTF-8 is
// replaced the way the system's decoder replaces it, and a character the code page lacks becomes
// the system's near character where it has one, otherwise the default character "?".
#include <cstdint>

#include "text/Param.h"

// UTF-8 bytes to code page 936 text, ending at the first zero byte; empty input gives empty text.
Text Utf8ToGbk(const Bytes& utf8);

// One UTF-16 code unit in the ANSI code page: one or two bytes; the unit 0 gives empty text.
// Surrogate halves are converted one by one and come out as the default character.
Text WideUnitToAnsi(uint16_t unit);
