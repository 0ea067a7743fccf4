#include "json/JsonAlert.h"

#include <atomic>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdio>
#endif

const char kJsonAlertIndexEmpty[] =
    "\xc8\xa1\xb5\xb1\xc7\xb0\xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd() \xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd"
    "\xbc\xc7\xc2\xbc\xca\xfd\xc1\xbf\xce\xaa\xbf\xd5\xa3\xac\xb3\xcc\xd0\xf2\xbc\xb4\xbd\xab"
    "\xb1\xc0\xc0\xa3\xa3\xa1";
const char kJsonAlertIndexBeyond[] =
    "\xc8\xa1\xb5\xb1\xc7\xb0\xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd() \xbd\xda\xb5\xe3\xcb\xf7\xd2\xfd"
    "\xbc\xc7\xc2\xbc\xb3\xac\xb3\xf6\xa3\xac\xb3\xcc\xd0\xf2\xbc\xb4\xbd\xab\xb1\xc0\xc0\xa3"
    "\xa3\xa1";

namespace {

std::atomic<JsonAlertHook> installedHook{nullptr};

void SystemMessageBox(const char* text, JsonAlertIcon icon) {
#if defined(_WIN32)
  // Through the A entry on purpose: a message box redirection patches exactly that one.
  MessageBoxA(nullptr, text, "", icon == JsonAlertIcon::Error ? MB_OK | MB_ICONERROR : MB_OK);
#else
  // No desktop here: the text still has to reach somebody.
  std::fprintf(stderr, "%s\n", text);
#endif
}

}  // namespace

JsonAlertHook SetJsonAlertHook(JsonAlertHook hook) { return installedHook.exchange(hook); }

void ShowJsonAlert(const char* text, JsonAlertIcon icon) {
  JsonAlertHook hook = installedHook.load();
  if (hook != nullptr) {
    hook(text, icon);
  } else {
    SystemMessageBox(text, icon);
  }
}
