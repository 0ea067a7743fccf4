#include "json/AnsiUnit.h"

Text AnsiFromUtf16Unit(uint16_t unit) {
  if (unit < 0x80) return Text(1, static_cast<char>(unit));
  return Text("?");
}
