// The about window driven as a user would, and the message box redirection its opening starts.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "app/AboutWindow.h"
#include "app/StartUp.h"
#include "forms/Runtime.h"
#include "tests/dressing/PromptDriver.h"

namespace {

std::vector<Text> opened;
void RecordPage(const Text& address) { opened.push_back(address); }

class AboutWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    StartUp();
    OpenAboutPage = RecordPage;
  }
  void TearDown() override {
    if (AboutWindowForm()) AboutWindowForm()->Destroy();
    ProcessPendingEvents();
  }
  static void Click(Form& form, const char* button) {
    SendMessageW(form[button].Handle(), BM_CLICK, 0, 0);
  }
};

// Runs first: once the about window has opened, the redirection stays for the process's life.
TEST_F(AboutWindowTest, OpeningItTurnsMessageBoxesIntoThePrompt) {
  PromptSeen before;
  EXPECT_EQ(Drive(Press::SystemOk, before, [] { return MessageBoxA(nullptr, "前", "之前", MB_OK); }),
            IDOK);
  EXPECT_TRUE(before.systemBox);
  EXPECT_FALSE(before.prompt);

  Form* about = LoadAboutWindow();
  ASSERT_NE(about, nullptr);
  PromptSeen update;
  Drive(Press::Confirm, update, [about] {
    Click(*about, "按钮1");
    return 0;
  });
  EXPECT_TRUE(update.prompt);
  EXPECT_FALSE(update.systemBox);
  EXPECT_EQ(update.caption, "啊呜~出问题了~");
  EXPECT_EQ(update.text, "自动更新已关闭-请联系作者");
  EXPECT_TRUE(update.shadowShown);

  about->Destroy();
  ProcessPendingEvents();
  PromptSeen after;
  EXPECT_EQ(Drive(Press::Cancel, after, [] { return MessageBoxA(nullptr, "后", "之后", MB_YESNO); }),
            IDNO);
  EXPECT_TRUE(after.prompt);
  EXPECT_EQ(after.caption, "之后");
}

TEST_F(AboutWindowTest, ShowsNameVersionAndNoticeAsDesigned) {
  Form* about = LoadAboutWindow();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->GetTitle(), "关于本软件");
  RECT r{};
  GetWindowRect(about->Handle(), &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 309);
  EXPECT_EQ(r.bottom - r.top, 200);

  const Text notice = Text("服务器拒绝了(本应用)的更新请求\r\n\r\n详询请访问 ") + kMakerSite +
                      "\r\n\r\n联系作者Q:" + kAuthorContact + " 反馈交流Q群:" + kFeedbackGroup;
  const struct {
    const char* name;
    int left, top, width, height;
    Text text;
  } controls[] = {
      {"透明标签1", 8, 8, 288, 32, "关于<Vellacut>"},
      {"透明标签2", 8, 48, 112, 24, "当前版本<1.0>"},
      {"按钮1", 94, 48, 64, 20, "检查更新"},
      {"按钮2", 164, 48, 64, 20, "意见反馈"},
      {"按钮6", 235, 48, 64, 20, "反馈Q群"},
      {"编辑框1", 8, 72, 288, 64, notice},
      {"透明标签3", 8, 144, 48, 24, "联系作者"},
      {"按钮3", 66, 144, 72, 20, "  QQ"},
      {"按钮4", 146, 144, 72, 20, "  微信"},
      {"按钮5", 226, 144, 72, 20, "  BliBli"},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.name);
    Control& control = (*about)[c.name];
    EXPECT_EQ(control.Left(), c.left);
    EXPECT_EQ(control.Top(), c.top);
    EXPECT_EQ(control.Width(), c.width);
    EXPECT_EQ(control.Height(), c.height);
    EXPECT_EQ(control.GetText(), c.text);
    EXPECT_TRUE(control.IsVisible());
  }
}

TEST_F(AboutWindowTest, LinkButtonsOpenTheirPages) {
  Form* about = LoadAboutWindow();
  ASSERT_NE(about, nullptr);
  const struct {
    const char* button;
    const char* page;
  } links[] = {{"按钮2", kFeedbackPage},
               {"按钮3", kAuthorChatPage},
               {"按钮4", kMakerSite},
               {"按钮5", kAuthorVideoPage},
               {"按钮6", kGroupJoinPage}};
  for (const auto& link : links) {
    SCOPED_TRACE(link.button);
    opened.clear();
    Click(*about, link.button);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], link.page);
  }
}

}  // namespace
