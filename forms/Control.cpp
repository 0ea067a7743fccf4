#include "forms/Control.h"

#include <commctrl.h>

#include "forms/FormMessages.h"
#include "forms/WideText.h"

Control::Control(HWND form, const ControlDescription& description, HWND handle)
    : form_(form),
      handle_(handle),
      kind_(description.kind),
      name_(TextFromWide(WideFromUtf8(description.name))),
      page_(description.page),
      backColour_(description.backColour) {
  shownText_ = WindowTextOf(handle_);
}

Text Control::GetText() const {
  if (OnWindowThread() || !IsWindow(handle_)) return WindowTextOf(handle_);
  std::lock_guard<std::mutex> lock(lock_);
  return shownText_;
}

void Control::TextChanged() {
  Text text = WindowTextOf(handle_);
  std::lock_guard<std::mutex> lock(lock_);
  shownText_ = std::move(text);
}

bool Control::OnWindowThread() const {
  return GetWindowThreadProcessId(handle_, nullptr) == GetCurrentThreadId();
}

void Control::SetText(const Text& text) {
  if (OnWindowThread()) {
    SetWindowTextW(handle_, WideFromText(text).c_str());
    TextChanged();
    return;
  }
  std::lock_guard<std::mutex> lock(lock_);
  pendingTexts_.push_back(text);
  if (!PostMessageW(form_, form_messages::kApplyText, reinterpret_cast<WPARAM>(handle_), 0)) {
    pendingTexts_.pop_back();  // the form is gone
  }
}

void Control::ApplyPendingText() {
  Text text;
  {
    std::lock_guard<std::mutex> lock(lock_);
    if (pendingTexts_.empty()) return;
    text = std::move(pendingTexts_.front());
    pendingTexts_.pop_front();
  }
  SetWindowTextW(handle_, WideFromText(text).c_str());
  TextChanged();
}

void Control::SetBackColour(int colour) {
  backColour_ = colour;
  InvalidateRect(handle_, nullptr, TRUE);
}

bool Control::IsDisabled() const { return !IsWindowEnabled(handle_); }

void Control::SetDisabled(bool disabled) {
  EnableWindow(handle_, disabled ? FALSE : TRUE);
  InvalidateRect(handle_, nullptr, TRUE);
}

bool Control::IsVisible() const { return (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::SetVisible(bool visible) { ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE); }

int Control::GetCurrentPage() const {
  return static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
}

void Control::SetCurrentPage(int page) {
  // Page switches run on the form's thread, which shows and hides the page's controls.
  if (OnWindowThread()) {
    SendMessageW(form_, form_messages::kSetPage, reinterpret_cast<WPARAM>(handle_), page);
  } else {
    PostMessageW(form_, form_messages::kSetPage, reinterpret_cast<WPARAM>(handle_), page);
  }
}

int Control::GetPosition() const { return static_cast<int>(SendMessageW(handle_, PBM_GETPOS, 0, 0)); }

void Control::SetPosition(int position) {
  if (OnWindowThread()) {
    SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  } else {
    PostMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }
}

RECT Control::BoundsInParent() const {
  RECT r;
  GetWindowRect(handle_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Control::Left() const { return BoundsInParent().left; }
int Control::Top() const { return BoundsInParent().top; }
int Control::Width() const { return BoundsInParent().right - BoundsInParent().left; }
int Control::Height() const { return BoundsInParent().bottom - BoundsInParent().top; }

void Control::Move(int left, int top, int width, int height) {
  MoveWindow(handle_, left, top, width, height, TRUE);
}

void Control::SetPicture(const unsigned char* data, size_t size) {
  picture_.assign(data, data + size);
  InvalidateRect(handle_, nullptr, TRUE);
}
