// Times the download job and the article extraction inside the real main window.
//   download_bench LIST_FILE FOLDER ARTICLE_ADDRESS
// LIST_FILE holds one picture address per line. Prints the seconds of each stage.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "forms/Runtime.h"

namespace {
double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
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

  auto start = std::chrono::steady_clock::now();
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
  start = std::chrono::steady_clock::now();
  SendMessageW((*form)["按钮2"].Handle(), BM_CLICK, 0, 0);
  while ((*form)["标签3"].GetText() != "下载完毕") {
    ProcessPendingEvents();
    Sleep(1);
  }
  std::printf("download job: %zu pictures in %.3f s\n", ImageAddressList->size(), Seconds(start));
  form->Destroy();
  return 0;
}
