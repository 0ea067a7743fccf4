#include "app/StartUp.h"

#include <objidl.h>

#include <algorithm>
#include <cstdlib>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "dressing/DressingState.h"
#include "dressing/MessageBoxRedirect.h"
#include "dressing/ShadowPictures.h"
#include "dressing/SkinEngineModule.h"
#include "forms/Runtime.h"
#include "web/ZlibCodec.h"

namespace {
ULONG_PTR firstGdiplusToken = 0;
ULONG_PTR secondGdiplusToken = 0;

void StartGdiplus(ULONG_PTR& token) {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

void ShutDownAtExit() { ShutDown(); }
}  // namespace

void StartUp() {
  ImageAddressList = new std::vector<Text>();
  CreateShadowPictures();
  ProgramZlibCodec().Initialise();  // the codec lives until the end of the process
  std::atexit(ShutDownAtExit);
  StartGdiplus(firstGdiplusToken);
  if (secondGdiplusToken == 0) StartGdiplus(secondGdiplusToken);
  LoadSkinEngine();  // without it the windows keep the system's look
}

void ShutDown() {
  // GDI+, the COM balance, the skin engine (still mapped) and the message box patch are left to the
  // end of the process.
  if (ImageAddressList) {
    ImageAddressList->clear();
    delete ImageAddressList;
    ImageAddressList = nullptr;
  }
  DressingState.skinBytes = Bytes();
  MessageBoxRedirect.savedEntryBytes = Bytes();
  MessageBoxRedirect.patchBytes = Bytes();
  DestroyShadowPictures();
  MessageBoxRedirect.promptText = Text();
  MessageBoxRedirect.promptCaption = Text();
}

int RunProgram() {
  StartUp();
  LoadMainWindow(Form::Mode::FirstWindow);
  return RunMessageLoop();
}
