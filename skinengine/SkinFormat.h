#pragma once
// The skin format read by the engine; FORMAT.md describes it for skin authors.
#include <cstddef>
#include <cstdint>

using SkinColour = std::uint32_t;  // 0x00BBGGRR

struct ButtonLook {
  SkinColour face, text, border;
};

struct Skin {
  SkinColour windowBackground, windowText;
  SkinColour captionBackground, captionText, captionInactive, captionBorder;
  SkinColour labelText;
  SkinColour editBackground, editText, editBorder, editFocusBorder;
  ButtonLook buttonNormal, buttonHot, buttonPressed, buttonDisabled;
  SkinColour buttonFocus;
  int buttonRadius;
  SkinColour tabBackground, tabFace, tabText, tabSelectedFace, tabSelectedText, tabBorder;
  SkinColour progressTrack, progressBar, progressBorder;
  int progressRadius;
  char fontFace[32];
  int fontSize;    // points
  int fontWeight;  // 100..900
};

// False, with `skin` unspecified, for anything that is not a complete skin of this format.
bool ParseSkin(const char* data, std::size_t length, Skin& skin);

// Every colour of the skin through AdjustColour.
void AdjustSkin(Skin& skin, int hue, int saturation, int brightness);

// Hue rotated by `hue` degrees; saturation and lightness moved by a percentage, -100 taking them
// to 0 and +100 to full; 0, 0, 0 leaves the colour as it is.
SkinColour AdjustColour(SkinColour colour, int hue, int saturation, int brightness);
