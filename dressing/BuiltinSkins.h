#pragma once
// The 18 skins carried in the program: numbers 1 to 9, two variants each.
#include "text/Param.h"

// Empty for a number outside 1..9 or a variant other than 1 or 2.
Bytes BuiltinSkin(int number, int variant);
