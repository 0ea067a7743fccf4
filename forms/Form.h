#pragma once
// A top-level window built from a form description. The runtime owns every Form: it is deleted
// when its window is destroyed, after the destroyed event has run.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "forms/Control.h"
#include "forms/FormDescription.h"

class Form {
 public:
  enum class Mode { FirstWindow, Modeless, Modal };

  // Builds the window and its controls, runs onCreated, shows the window. In Modal mode it also
  // disables the thread's other top-level windows and returns only after the window is gone
  // (the Form is then already deleted and the result is null).
  static Form* Load(const FormDescription& description, Mode mode,
                    const std::function<void(Form&)>& onCreated = {});

  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Handle() const { return handle_; }
  // The control of that name (code page 936), or null.
  Control* Find(const Text& name) const;
  Control& operator[](const Text& name) const;
  // The control whose window that is, or null.
  Control* FromChild(HWND child) const;
  // A share of the control that stays valid after the form is gone.
  std::shared_ptr<Control> Share(const Text& name) const;
  const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }
  Text GetTitle() const;
  void SetTitle(const Text& title);
  void Destroy();

  std::function<void(Form&)> onDestroyed;

  static Form* FromHandle(HWND window);
  // Ctrl+Tab and Ctrl+Shift+Tab switch the pages of a form's tab control; true when handled.
  static bool TranslatePageKeys(const MSG& msg);

 private:
  Form() = default;
  ~Form() = default;
  void CreateControls(const FormDescription& description);
  HWND ParentFor(const ControlDescription& c) const;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  void ShowPage(Control& tab, int page);

  friend LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM);

  HWND handle_ = nullptr;
  Mode mode_ = Mode::Modeless;
  std::vector<std::shared_ptr<Control>> controls_;
  HWND focusedChild_ = nullptr;
};
