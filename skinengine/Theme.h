#pragma once
// The skin in force, with the GDI objects made from it once for every window that draws with it.
#include <windows.h>

#include "skinengine/SkinFormat.h"

struct Theme {
  Skin skin;
  HBRUSH windowBrush;
  HBRUSH editBrush;
  HFONT font;
  HFONT captionFont;  // the font in bold for window titles; null when it cannot be made
};

// Null when the GDI objects cannot be made.
Theme* MakeTheme(const Skin& skin);
void DestroyTheme(Theme* theme);

// The theme windows draw with now; null before the first skin that parsed.
extern Theme* currentTheme;
