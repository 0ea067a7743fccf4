#include "dressing/DressWindow.h"

#include <objidl.h>
#include <gdiplus.h>

#include "dressing/BuiltinSkins.h"
#include "dressing/DrawnShadow.h"
#include "dressing/LayeredShadow.h"
#include "dressing/MessageBoxRedirect.h"
#include "dressing/PromptWindow.h"
#include "dressing/SkinEngineModule.h"

DressingStateRecord DressingState;

namespace {

constexpr uint32_t kDefaultShadowColour = RGB(120, 120, 120);
constexpr int32_t kDefaultShadowSize = 4;

using SkinEngineAttach = int32_t(WINAPI*)(const void* skin, int32_t length, const char* password,
                                          int32_t adjust1, int32_t adjust2, int32_t adjust3);

}  // namespace

void StartDressingGdiplus() {
  if (DressingState.dressingGdiplusToken != 0) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
  // Never shut down: the dressing lasts as long as the process.
  Gdiplus::GdiplusStartup(&DressingState.dressingGdiplusToken, &input, nullptr);
}

int32_t DressWindow(HWND window, Param<Bytes> skinData, Param<int32_t> skinNumber, Param<int32_t> skinVariant,
                    Param<int32_t> skinAdjust1, Param<int32_t> skinAdjust2, Param<int32_t> skinAdjust3,
                    Param<int32_t> redirectMessageBoxes, Param<int32_t> promptSound, Param<int32_t> shadowAtStart,
                    Param<int32_t> shadowKind, Param<uint32_t> shadowColour, Param<int32_t> shadowSize) {
  DressingState.skinNumber = skinNumber.value;

  if (redirectMessageBoxes.value == 1) {
    DressingState.promptSound = promptSound.value;
    DressingState.promptResultCell = InstallMessageBoxRedirect(OpenPromptWindow, RememberPromptTexts);
  }

  // A shadow that is applied takes the default colour and size for what was not given.
  const bool anyShadow = shadowAtStart.value == 1 || shadowKind.value == 1 || shadowKind.value == 2;
  const uint32_t colour = anyShadow && !shadowColour.present ? kDefaultShadowColour : shadowColour.value;
  const int32_t size = anyShadow && !shadowSize.present ? kDefaultShadowSize : shadowSize.value;
  if (shadowAtStart.value == 1) {
    DressingState.shadowsOn = 1;
    StartDressingGdiplus();
    ApplyLayeredShadow(window, colour, size, true);
  }

  const int32_t number = skinNumber.value < 1 || skinNumber.value > 9 ? 1 : skinNumber.value;
  DressingState.skinBytes = BuiltinSkin(number, skinVariant.value == 1 ? 1 : 2);
  if (!skinData.value.empty()) DressingState.skinBytes = skinData.value;

  if (shadowKind.value > 0) DressingState.shadowsOn = 1;
  if (shadowKind.value == 1) {
    StartDressingGdiplus();
    ApplyLayeredShadow(window, colour, size, true);
  } else if (shadowKind.value == 2) {
    ApplyDrawnShadow(window, colour, size, true);
  }
  DressingState.shadowKind = shadowKind.value;
  DressingState.shadowColour = colour;
  DressingState.shadowSize = size;

  // The program relies on the engine being there; without it the window simply keeps its look.
  auto attach = reinterpret_cast<SkinEngineAttach>(SkinEngineModule.FindExport("SkinEngine_Attach"));
  if (!attach) return 0;
  return attach(DressingState.skinBytes.data(), int32_t(DressingState.skinBytes.size()), nullptr,
                skinAdjust1.value, skinAdjust2.value, skinAdjust3.value);
}
