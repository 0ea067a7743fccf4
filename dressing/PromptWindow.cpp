#include "dressing/PromptWindow.h"

#include <climits>
#include <string>

#include "dressing/DrawnShadow.h"
#include "dressing/DressingState.h"
#include "dressing/LayeredShadow.h"
#include "forms/FormDescription.h"
#include "forms/FramelessForm.h"
#include "forms/Runtime.h"

extern "C" const unsigned char kPromptForm[];
extern "C" const unsigned long kPromptForm_size;
extern "C" const unsigned char kPromptSound[];
extern "C" const unsigned long kPromptSound_size;

bool (*PlayPromptSound)(const unsigned char* wave, size_t size) = PlayMemorySound;

namespace {

Form* promptForm = nullptr;

// Where the message sits for its length in bytes: shorter texts lower down, longer ones higher
// and taller. A length on a boundary (35, 70, 120, 150, 200) goes with the shorter texts.
struct Placement {
  size_t longest;
  int top;
  int height;  // 0: as designed
};
constexpr Placement kPlacements[] = {
    {35, 98, 0}, {70, 90, 0}, {120, 84, 0}, {150, 78, 0}, {200, 65, 110}, {SIZE_MAX, 58, 120},
};

// The confirm button writes 5 and the cancel button 6: the redirection hands back the cell plus
// one (IDYES, IDNO), and an untouched cell gives IDOK.
void CloseWith(Form& form, int32_t cellValue) {
  if (cellValue != 0 && DressingState.promptResultCell) *DressingState.promptResultCell = cellValue;
  form.Destroy();
}

void ApplyShadows(HWND window) {
  if (DressingState.shadowsOn != 1) return;
  const uint32_t colour = DressingState.shadowColour;
  const int32_t size = DressingState.shadowSize;
  if (DressingState.shadowKind == 1) {
    ApplyLayeredShadow(window, colour, size, true);
  } else if (DressingState.shadowKind == 2) {
    ApplyDrawnShadow(window, colour, size, true);
  }
  ApplyLayeredShadow(window, colour, size, true);
}

void PlaceText(Control& text, size_t n) {
  for (const Placement& p : kPlacements) {
    if (n > p.longest) continue;
    text.Move(text.Left(), p.top, text.Width(), text.Height());
    ProcessPendingEvents();
    if (p.height) {
      text.Move(text.Left(), text.Top(), text.Width(), p.height);
      ProcessPendingEvents();
    }
    return;
  }
}

void Created(Form& form) {
  promptForm = &form;
  form.onDestroyed = [](Form&) { promptForm = nullptr; };
  MakeFormFrameless(form);
  Form* self = &form;
  form["按钮1"].onClick = [self] { CloseWith(*self, 5); };
  form["按钮2"].onClick = [self] { CloseWith(*self, 6); };
  form["gb"].onClick = [self] { CloseWith(*self, 0); };

  form["标签1"].SetText(MessageBoxRedirect.promptCaption);
  Control& text = form["提示文本"];
  text.SetText(MessageBoxRedirect.promptText);
  const size_t n = text.GetText().size();

  RECT outer{};
  GetWindowRect(form.Handle(), &outer);
  Control& confirm = form["按钮1"];
  Control& cancel = form["按钮2"];
  const int confirmLeft = (outer.right - outer.left) / 2 - confirm.Width() - 5;
  confirm.Move(confirmLeft, confirm.Top(), confirm.Width(), confirm.Height());
  cancel.Move(confirmLeft + confirm.Width() + 10, cancel.Top(), cancel.Width(), cancel.Height());

  ApplyShadows(form.Handle());
  if (DressingState.promptSound == 1) PlayPromptSound(kPromptSound, kPromptSound_size);
  PlaceText(text, n);

  const bool bar = DressingState.skinNumber == 4;
  form["图片框2"].SetVisible(bar);
  form["图片框3"].SetVisible(!bar);

  ShowWindow(form.Handle(), SW_SHOW);
  SetFocus(confirm.Handle());
}

}  // namespace

bool OpenPromptWindow() {
  const std::string description(reinterpret_cast<const char*>(kPromptForm), kPromptForm_size);
  bool opened = false;
  Form::Load(ParseFormDescription(description), Form::Mode::Modal, [&opened](Form& form) {
    opened = true;
    Created(form);
  });
  return opened;
}

Form* PromptWindowForm() { return promptForm; }
