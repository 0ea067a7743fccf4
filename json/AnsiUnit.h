#pragma once
// One UTF-16 code unit in the system's ANSI code page: one or two bytes, the code page's default
// character when it has no such character.
#include <cstdint>

#include "text/Param.h"

Text AnsiFromUtf16Unit(uint16_t unit);
