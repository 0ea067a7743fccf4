#include "app/MainWindow.h"

#include <shlobj.h>

#include <string>

#include "app/ImageAddressList.h"
#include "app/MainWindowHooks.h"
#include "forms/FormDescription.h"
#include "forms/Runtime.h"

extern "C" const unsigned char kMainForm[];
extern "C" const unsigned long kMainForm_size;
extern "C" const unsigned char kMainBadgePicture[];
extern "C" const unsigned long kMainBadgePicture_size;
extern "C" const unsigned char kMainBannerPicture[];
extern "C" const unsigned long kMainBannerPicture_size;

namespace {

constexpr COLORREF kAccepted = RGB(70, 178, 70);
constexpr COLORREF kRejected = RGB(255, 0, 0);

Form* mainForm = nullptr;

Text DesktopFolder() {
  char path[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) return {};
  Text folder = path;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

void AddressChanged() {
  if (!CheckAddress()) return;
  RunArticleExtraction();
  ShowFoundCount();
  (*mainForm)["按钮2"].SetDisabled(false);
}

// The folder dialog is modal to the active window and keeps the program's other windows disabled.
void ChooseFolder() {
  HWND owner = GetActiveWindow();
  const std::vector<HWND> disabled = DisableOtherWindows(owner);

  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = "选择图片存放位置";
  info.ulFlags = BIF_EDITBOX;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  ReenableWindows(disabled);
  if (!chosen) return;
  char path[MAX_PATH + 1] = {};
  const bool isPath = SHGetPathFromIDListA(chosen, path) && path[0] != '\0';
  CoTaskMemFree(chosen);
  if (isPath && mainForm) (*mainForm)["编辑框2"].SetText(path);
}

void StartDownload() {
  (*mainForm)["高级选择夹1"].SetCurrentPage(1);
  StartDownloadJob();
}

void Created(Form& form) {
  mainForm = &form;
  form["图片框1"].SetPicture(kMainBadgePicture, kMainBadgePicture_size);
  form["图片框3"].SetPicture(kMainBannerPicture, kMainBannerPicture_size);
  form["编辑框1"].onTextChanged = AddressChanged;
  form["按钮1"].onClick = ChooseFolder;
  form["按钮2"].onClick = StartDownload;
  form["按钮3"].onClick = OpenAboutFromMainWindow;
  form.onDestroyed = [](Form&) { mainForm = nullptr; };

  DressMainWindow(form.Handle());
  SetFocus(form.Handle());
  form["编辑框2"].SetText(DesktopFolder());
  form["按钮2"].SetDisabled(true);
}

}  // namespace

Form* LoadMainWindow(Form::Mode mode) {
  const std::string description(reinterpret_cast<const char*>(kMainForm), kMainForm_size);
  return Form::Load(ParseFormDescription(description), mode, Created);
}

Form* MainWindowForm() { return mainForm; }

bool CheckAddress() {
  Control& status = (*mainForm)["标签1"];
  const Text address = (*mainForm)["编辑框1"].GetText();
  const bool accepted = address.find(std::string(kArticleHost) + "/a/ac") != Text::npos;
  status.SetText(accepted ? " 网址正确" : " 请检查网址");
  status.SetBackColour(static_cast<int>(accepted ? kAccepted : kRejected));
  return accepted;
}

void ShowFoundCount() {
  (*mainForm)["标签3"].SetText("发现图片" + std::to_string(ImageAddressList->size()));
}
