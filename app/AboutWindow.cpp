#include "app/AboutWindow.h"

#include <string>

#include "dressing/DressWindow.h"
#include "forms/FormDescription.h"
#include "forms/Runtime.h"

extern "C" const unsigned char kAboutForm[];
extern "C" const unsigned long kAboutForm_size;

void (*OpenAboutPage)(const Text& address) = OpenInBrowser;

namespace {

Form* aboutForm = nullptr;

Text Notice() {
  return Text("服务器拒绝了(本应用)的更新请求\r\n\r\n详询请访问 ") + kMakerSite +
         "\r\n\r\n联系作者Q:" + kAuthorContact + " 反馈交流Q群:" + kFeedbackGroup;
}

void ReportUpdatesOff() {
  SystemMessageBox("自动更新已关闭-请联系作者", "啊呜~出问题了~", MB_OK | MB_TASKMODAL);
}

void Created(Form& form) {
  aboutForm = &form;
  form.onDestroyed = [](Form&) { aboutForm = nullptr; };
  form["编辑框1"].SetText(Notice());
  form["按钮1"].onClick = ReportUpdatesOff;
  const struct {
    const char* button;
    const char* page;
  } links[] = {{"按钮2", kFeedbackPage},
               {"按钮3", kAuthorChatPage},
               {"按钮4", kMakerSite},
               {"按钮5", kAuthorVideoPage},
               {"按钮6", kGroupJoinPage}};
  for (const auto& link : links) {
    const Text page = link.page;
    form[link.button].onClick = [page] { OpenAboutPage(page); };
  }

  DressWindow(form.Handle(), {}, 9, 1, {}, {}, {}, 1, {}, 1);
  form["透明标签1"].SetText("关于<Vellacut>");
  form["透明标签2"].SetText("当前版本<1.0>");
}

}  // namespace

Form* LoadAboutWindow(Form::Mode mode) {
  const std::string description(reinterpret_cast<const char*>(kAboutForm), kAboutForm_size);
  return Form::Load(ParseFormDescription(description), mode, Created);
}

Form* AboutWindowForm() { return aboutForm; }
