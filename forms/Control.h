#pragma once
// One control of a form: a real child window whose properties are read and written here.
// Text, position and page writes may come from another thread (the download job): they are posted
// to the window's own thread without waiting for it, and take effect there in the order written.
// Another thread reads the text the window showed after its latest change, without waiting for
// the window's thread either.
// A control object may outlive its window (a job holding it while the program closes): every
// property then reads as empty and writes do nothing.
#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "forms/FormDescription.h"
#include "text/Param.h"

class Control {
 public:
  Control(HWND form, const ControlDescription& description, HWND handle);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const { return handle_; }
  ControlKind Kind() const { return kind_; }
  const Text& Name() const { return name_; }
  int Page() const { return page_; }

  Text GetText() const;
  void SetText(const Text& text);
  // Background colour 0x00BBGGRR; -1 means the parent's background.
  int GetBackColour() const { return backColour_; }
  void SetBackColour(int colour);
  bool IsDisabled() const;
  void SetDisabled(bool disabled);
  bool IsVisible() const;
  void SetVisible(bool visible);
  int GetCurrentPage() const;  // tab control
  void SetCurrentPage(int page);
  int GetPosition() const;  // progress bar
  void SetPosition(int position);
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void Move(int left, int top, int width, int height);
  // A PNG (or any picture GDI+ reads) shown by picture boxes and picture buttons.
  void SetPicture(const unsigned char* data, size_t size);
  const Bytes& Picture() const { return picture_; }

  // Called by the form on the window's thread for each text another thread wrote.
  void ApplyPendingText();
  // Called on the window's thread whenever the window's text has changed (edit notifications).
  void TextChanged();

  std::function<void()> onClick;
  std::function<void()> onTextChanged;

 private:
  RECT BoundsInParent() const;
  bool OnWindowThread() const;

  HWND form_;
  HWND handle_;
  ControlKind kind_;
  Text name_;
  int page_;
  int backColour_;
  Bytes picture_;
  mutable std::mutex lock_;  // guards the two members below
  std::deque<Text> pendingTexts_;
  Text shownText_;
};
