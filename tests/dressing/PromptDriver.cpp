#include "tests/dressing/PromptDriver.h"

#include "dressing/LayeredShadow.h"
#include "dressing/PromptWindow.h"

namespace {

Press pending;
PromptSeen* seenNow = nullptr;
int attempts = 0;

BOOL CALLBACK TakeSystemBox(HWND w, LPARAM out) {
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindSystemBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeSystemBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

void ClickPictureButton(HWND button) {
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void Note(Form& form, PromptSeen& seen) {
  seen.prompt = true;
  seen.caption = form["标签1"].GetText();
  Control& text = form["提示文本"];
  seen.text = text.GetText();
  seen.textTop = text.Top();
  seen.textHeight = text.Height();
  seen.confirmLeft = form["按钮1"].Left();
  seen.cancelLeft = form["按钮2"].Left();
  seen.focus = GetFocus();
  seen.confirm = form["按钮1"].Handle();
  seen.barShown = form["图片框2"].IsVisible();
  seen.lineShown = form["图片框3"].IsVisible();
  HWND shadow = static_cast<HWND>(GetPropA(form.Handle(), kShadowWindowKey));
  seen.shadowShown = shadow && IsWindowVisible(shadow);
  seen.procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC));
}

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
  PromptSeen& seen = *seenNow;
  // The creation handler lets pending events run while it lays the text out; act only once the
  // prompt is up.
  Form* form = PromptWindowForm();
  if (form && IsWindowVisible(form->Handle())) {
    KillTimer(nullptr, id);
    Note(*form, seen);
    switch (pending) {
      case Press::Confirm: SendMessageW((*form)["按钮1"].Handle(), BM_CLICK, 0, 0); break;
      case Press::Cancel: SendMessageW((*form)["按钮2"].Handle(), BM_CLICK, 0, 0); break;
      default: ClickPictureButton((*form)["gb"].Handle()); break;
    }
    return;
  }
  if (HWND box = FindSystemBox()) {
    KillTimer(nullptr, id);
    seen.systemBox = true;
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof(caption));
    seen.caption = caption;
    PostMessageW(box, WM_COMMAND, pending == Press::SystemNo ? IDNO : IDOK, 0);
    return;
  }
  if (++attempts > 200) KillTimer(nullptr, id);  // nothing came up; the test fails on `seen`
}

}  // namespace

int Drive(Press press, PromptSeen& seen, const std::function<int()>& show) {
  pending = press;
  seenNow = &seen;
  attempts = 0;
  SetTimer(nullptr, 0, 20, Tick);
  return show();
}
