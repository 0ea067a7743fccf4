#include "skinengine/Theme.h"

Theme* currentTheme = nullptr;

Theme* MakeTheme(const Skin& skin) {
  auto* theme = new Theme{skin, nullptr, nullptr, nullptr, nullptr};
  theme->windowBrush = CreateSolidBrush(skin.windowBackground);
  theme->editBrush = CreateSolidBrush(skin.editBackground);
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(skin.fontSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  theme->font = CreateFontA(height, 0, 0, 0, skin.fontWeight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, skin.fontFace);
  if (!theme->windowBrush || !theme->editBrush || !theme->font) {
    DestroyTheme(theme);
    return nullptr;
  }
  LOGFONTW bold{};
  GetObjectW(theme->font, sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  theme->captionFont = CreateFontIndirectW(&bold);
  return theme;
}

void DestroyTheme(Theme* theme) {
  if (!theme) return;
  if (theme->windowBrush) DeleteObject(theme->windowBrush);
  if (theme->editBrush) DeleteObject(theme->editBrush);
  if (theme->font) DeleteObject(theme->font);
  if (theme->captionFont) DeleteObject(theme->captionFont);
  delete theme;
}
