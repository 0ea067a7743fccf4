#include "app/ArticleExtraction.h"
#include "app/DownloadJob.h"
#include "app/MainWindowHooks.h"

void DressMainWindow(HWND) {}
void RunArticleExtraction() { ExtractArticleImages(); }
void OpenAboutFromMainWindow() {}
