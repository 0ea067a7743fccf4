#include "app/DownloadJob.h"

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "forms/FileWrite.h"
#include "forms/HttpFileRead.h"
#include "forms/Runtime.h"

namespace {

// What one job works on: its own copy of the list and shares of the controls it writes, which
// stay valid even when the main window goes away during the job.
struct JobInput {
  std::vector<Text> addresses;
  std::shared_ptr<Control> countLabel, progress, tabs, folderBox;
};

std::mutex pendingLock;
std::deque<JobInput> pending;

}  // namespace

void StartDownloadJob() {
  Form* form = MainWindowForm();
  if (!form) return;
  JobInput input{*ImageAddressList, form->Share("标签3"), form->Share("进度条1"),
                 form->Share("高级选择夹1"), form->Share("编辑框2")};
  {
    std::lock_guard<std::mutex> lock(pendingLock);
    pending.push_back(std::move(input));
  }
  if (!StartThread(DownloadJob)) {
    std::lock_guard<std::mutex> lock(pendingLock);
    pending.pop_back();
  }
}

void DownloadJob() {
  JobInput job;
  {
    std::lock_guard<std::mutex> lock(pendingLock);
    if (pending.empty()) return;
    job = std::move(pending.front());
    pending.pop_front();
  }
  const size_t count = job.addresses.size();
  for (size_t n = 1; n <= count; ++n) {
    job.countLabel->SetText("下载开始" + std::to_string(n) + "/" + std::to_string(count));
    const Text fileName = job.folderBox->GetText() + "\\" + std::to_string(n) + ".jpg";
    FileWrite(fileName, HttpFileRead(job.addresses[n - 1]));
    const double share = static_cast<double>(n) / static_cast<double>(count);
    job.progress->SetPosition(static_cast<int>(share * 100.0));
  }
  job.tabs->SetCurrentPage(0);
  job.countLabel->SetText("下载完毕");
}
