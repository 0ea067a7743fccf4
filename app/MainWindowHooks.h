#pragma once
// What the main window calls in the rest of the program.
#include <windows.h>

// Dresses the freshly created main window (skin, shadow).
void DressMainWindow(HWND window);
// Refills ImageAddressList for the address in the address box.
void RunArticleExtraction();
// Starts a download job on its own thread for the current list.
void StartDownloadJob();
// Opens the about window, not modal and without an owner.
void OpenAboutFromMainWindow();
