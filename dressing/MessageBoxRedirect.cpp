#include "dressing/MessageBoxRedirect.h"

MessageBoxRedirectRecord MessageBoxRedirect;

int32_t* InstallMessageBoxRedirect(PromptOpener, PromptBeforeShow) { return nullptr; }
int WINAPI PromptMessageBox(HWND, const char*, const char*, UINT) { return 1; }
void RememberPromptTexts(HWND, const char* text, const char* caption, UINT) {
  MessageBoxRedirect.promptText = text ? text : "";
  MessageBoxRedirect.promptCaption = caption ? caption : "";
}
