// The main window driven as a user would, through window messages.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "app/ImageAddressList.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "forms/Runtime.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartUp(); }
  void SetUp() override {
    form_ = LoadMainWindow(Form::Mode::Modeless);
    ASSERT_NE(form_, nullptr);
  }
  void TearDown() override {
    if (MainWindowForm()) MainWindowForm()->Destroy();
    ProcessPendingEvents();
  }
  Control& operator[](const char* name) { return (*form_)[name]; }
  void Type(const Text& address) { (*this)["编辑框1"].SetText(address); }

  Form* form_ = nullptr;
};

TEST_F(MainWindowTest, LaysOutTheWindowAsDesigned) {
  EXPECT_EQ(form_->GetTitle(), "Tessapic by:Quenby");
  RECT r;
  GetWindowRect(form_->Handle(), &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 380);
  EXPECT_EQ(r.bottom - r.top, 250);

  struct Expected { const char* name; int left, top, width, height; const char* text; };
  const Expected table[] = {
      {"编辑框1", 6, 21, 360, 25, ""},
      {"标签1", 296, 26, 72, 15, " 等待URL输入"},
      {"标签2", 6, 0, 362, 20, "请输入URL地址 例:/a/ac11707267"},
      {"高级选择夹1", 6, 56, 360, 150, ""},
      {"按钮1", 312, 3, 48, 20, "浏览"},
      {"按钮2", 240, 115, 120, 32, "开始下载"},
      {"进度条1", 122, 112, 232, 16, ""},
      {"标签3", 175, 143, 104, 20, "等待数据ing"},
      {"按钮3", 15, 204, 96, 16, "关于软件"},
      {"标签5", 16, 174, 90, 24, "Quenby图片下载器"},
      {"图片框1", 200, 88, 50, 50, ""},
      {"图片框3", 16, 57, 90, 112, ""},
  };
  for (const auto& e : table) {
    SCOPED_TRACE(e.name);
    Control& c = (*this)[e.name];
    EXPECT_EQ(c.Left(), e.left);
    EXPECT_EQ(c.Top(), e.top);
    EXPECT_EQ(c.Width(), e.width);
    EXPECT_EQ(c.Height(), e.height);
    EXPECT_EQ(c.GetText(), e.text);
    EXPECT_TRUE(c.IsVisible() || c.Page() == 1);
  }
  EXPECT_EQ((*this)["进度条1"].GetPosition(), 50);
  EXPECT_FALSE((*this)["图片框1"].Picture().empty());
  EXPECT_FALSE((*this)["图片框3"].Picture().empty());
}

TEST_F(MainWindowTest, FolderBoxStartsOnTheDesktopWithATrailingBackslash) {
  char desktop[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  const Text folder = (*this)["编辑框2"].GetText();
  EXPECT_EQ(folder.rfind(desktop, 0), 0u);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(folder.find("\\\\"), Text::npos);
}

TEST_F(MainWindowTest, JudgesEveryChangeOfTheAddress) {
  // Accepted addresses point at a closed loopback port: the fetch fails at once, never leaving
  // the machine, and the count is 0.
  const struct { const char* address; bool accepted; } table[] = {
      {"http://127.0.0.1:1/www.artisite.example/a/ac11707267", true},
      {"127.0.0.1:1/www.artisite.example/a/ac", true},                   // no scheme, nothing after
      {"see 127.0.0.1:1/x?www.artisite.example/a/ac1 please", true},     // after other words
      {"http://127.0.0.1:1/WWW.ARTISITE.EXAMPLE/a/ac11707267", false},  // host in capitals
      {"http://127.0.0.1:1/www.artisite.example/a/AC1", false},
      {"http://127.0.0.1:1/www.artisite.example/b/ac1", false},
      {"", false},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.address);
    Type(row.address);
    EXPECT_EQ((*this)["标签1"].GetText(), row.accepted ? " 网址正确" : " 请检查网址");
    EXPECT_EQ((*this)["标签1"].GetBackColour(),
              static_cast<int>(row.accepted ? RGB(70, 178, 70) : RGB(255, 0, 0)));
  }
}

TEST_F(MainWindowTest, StartButtonIsEnabledByTheFirstAcceptedAddressForGood) {
  EXPECT_TRUE((*this)["按钮2"].IsDisabled());
  Type("http://127.0.0.1:1/nothing-here");
  EXPECT_TRUE((*this)["按钮2"].IsDisabled());
  EXPECT_EQ((*this)["标签3"].GetText(), "等待数据ing");

  ImageAddressList->assign({"a", "b"});
  Type("http://127.0.0.1:1/www.artisite.example/a/ac1");
  EXPECT_FALSE((*this)["按钮2"].IsDisabled());
  EXPECT_EQ((*this)["标签3"].GetText(), "发现图片0");  // an unreachable page counts 0, list emptied
  EXPECT_TRUE(ImageAddressList->empty());

  // A rejected change afterwards keeps the count, the list and the enabled button.
  ImageAddressList->assign({"kept"});
  Type("http://127.0.0.1:1/www.artisite.example/a/xx");
  EXPECT_EQ((*this)["标签1"].GetText(), " 请检查网址");
  EXPECT_EQ((*this)["标签3"].GetText(), "发现图片0");
  EXPECT_FALSE((*this)["按钮2"].IsDisabled());
  EXPECT_EQ(ImageAddressList->size(), 1u);
}

TEST_F(MainWindowTest, TabPagesShowTheirOwnControls) {
  Control& tabs = (*this)["高级选择夹1"];
  EXPECT_EQ(tabs.GetCurrentPage(), 0);
  EXPECT_EQ(SendMessageW(tabs.Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE((*this)["编辑框2"].IsVisible());
  EXPECT_FALSE((*this)["进度条1"].IsVisible());
  tabs.SetCurrentPage(1);
  EXPECT_EQ(tabs.GetCurrentPage(), 1);
  EXPECT_FALSE((*this)["按钮2"].IsVisible());
  EXPECT_TRUE((*this)["进度条1"].IsVisible());

  // Ctrl+Tab switches pages by hand.
  MSG key{};
  key.hwnd = (*this)["编辑框1"].Handle();
  key.message = WM_KEYDOWN;
  key.wParam = VK_TAB;
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_TRUE(Form::TranslatePageKeys(key));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(tabs.GetCurrentPage(), 0);
  EXPECT_TRUE((*this)["按钮2"].IsVisible());
}

// Finds the folder dialog of this process and acts on it from another thread while the click
// that opened it is still inside the dialog's own message loop.
BOOL CALLBACK FindFolderDialog(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForFolderDialog() {
  for (int i = 0; i < 200; ++i) {
    HWND found = nullptr;
    EnumWindows(FindFolderDialog, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    Sleep(50);
  }
  return nullptr;
}

TEST_F(MainWindowTest, CancellingTheFolderDialogKeepsAHandTypedFolder) {
  (*this)["编辑框2"].SetText("D:\\typed by hand");
  std::atomic<bool> sawDialog{false}, othersDisabled{false};
  HWND main = form_->Handle();
  std::thread user([&] {
    HWND dialog = WaitForFolderDialog();
    sawDialog = dialog != nullptr;
    othersDisabled = !IsWindowEnabled(main);
    if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  SendMessageW((*this)["按钮1"].Handle(), BM_CLICK, 0, 0);
  user.join();
  EXPECT_TRUE(sawDialog);
  EXPECT_TRUE(othersDisabled);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ((*this)["编辑框2"].GetText(), "D:\\typed by hand");
}

TEST_F(MainWindowTest, AFolderChosenInTheDialogIsWrittenWithoutATrailingBackslash) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::thread user([&] {
    HWND dialog = WaitForFolderDialog();
    if (!dialog) return;
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(windows));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  SendMessageW((*this)["按钮1"].Handle(), BM_CLICK, 0, 0);
  user.join();
  EXPECT_EQ(_stricmp((*this)["编辑框2"].GetText().c_str(), windows), 0);
  EXPECT_NE((*this)["编辑框2"].GetText().back(), '\\');
}

}  // namespace
