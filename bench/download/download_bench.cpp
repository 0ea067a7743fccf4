// Times the download job and the article extraction inside the real main window.
//   download_bench LIST_FILE FOLDER ARTICLE_ADDRESS
// LIST_FILE holds one picture address per line. Prints the seconds of each stage.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "forms/FileWrite.h"
#include "forms/HttpFileRead.h"
#include "forms/Runtime.h"

namespace {
LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}
double Seconds(LONGLONG since) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(Now() - since) / static_cast<double>(f.QuadPart);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: download_bench LIST_FILE FOLDER ARTICLE_ADDRESS\n");
    return 2;
  }
  StartUp();
  Form* form = LoadMainWindow(Form::Mode::Modeless);
  if (!form) return 1;

  LONGLONG start = Now();
  (*form)["编辑框1"].SetText(argv[3]);
  const double extraction = Seconds(start);
  std::printf("extraction: %zu pictures in %.3f s\n", ImageAddressList->size(), extraction);

  std::ifstream list(argv[1]);
  ImageAddressList->clear();
  for (std::string line; std::getline(list, line);) {
    if (!line.empty()) ImageAddressList->push_back(line);
  }
  (*form)["编辑框2"].SetText(argv[2]);
  (*form)["按钮2"].SetDisabled(false);
  start = Now();
  SendMessageW((*form)["按钮2"].Handle(), BM_CLICK, 0, 0);
  while ((*form)["标签3"].GetText() != "下载完毕") {
    // Wakes as soon as the job sends the window a message, as the program's own loop does.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    ProcessPendingEvents();
  }
  std::printf("download job: %zu pictures in %.3f s\n", ImageAddressList->size(), Seconds(start));

  // The same reads and writes without the window, to show what the captions and progress cost.
  start = Now();
  for (size_t n = 1; n <= ImageAddressList->size(); ++n) {
    FileWrite(Text(argv[2]) + "\\" + std::to_string(n) + ".jpg", HttpFileRead((*ImageAddressList)[n - 1]));
  }
  std::printf("reads and writes alone: %.3f s\n", Seconds(start));
  form->Destroy();
  return 0;
}
