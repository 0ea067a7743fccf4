#include "forms/Form.h"

#include <commctrl.h>

#include <map>

#include "forms/FormMessages.h"
#include "forms/PictureDrawing.h"
#include "forms/Runtime.h"
#include "forms/WideText.h"

namespace {

constexpr wchar_t kFormClass[] = L"TessapicForm";
constexpr wchar_t kContainerClass[] = L"TessapicContainer";
constexpr wchar_t kLabelClass[] = L"TessapicLabel";
constexpr wchar_t kFormProperty[] = L"Tessapic.Form";
using form_messages::kApplyText;
using form_messages::kDestroy;
using form_messages::kSetPage;

HFONT DefaultFont() {
  static HFONT font = [] {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpyW(lf.lfFaceName, L"SimSun");
    return CreateFontIndirectW(&lf);  // one font for the process's life
  }();
  return font;
}

bool IsForwarded(UINT message) {
  switch (message) {
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN:
      return true;
    default:
      return false;
  }
}

// Containers (picture boxes, shape boxes, tab controls) hand their children's notifications to
// the form, where the controls' events live.
LRESULT ForwardToForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND root = GetAncestor(window, GA_ROOT);
  return root && root != window ? SendMessageW(root, message, wParam, lParam) : 0;
}

// One brush per background colour for the process's life: the colours are few (accepted,
// rejected).
HBRUSH SolidBrush(int colour) {
  static std::map<int, HBRUSH> brushes;
  HBRUSH& brush = brushes[colour];
  if (!brush) brush = CreateSolidBrush(static_cast<COLORREF>(colour));
  return brush;
}

void FillBackground(HWND window, HDC dc, const RECT& rect, int colour) {
  if (colour >= 0) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    FillRect(dc, &rect, SolidBrush(colour));
    return;
  }
  // The parent (or whoever dresses it) decides the default background.
  HWND parent = GetParent(window);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(parent ? parent : window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(window)));
  POINT origin{0, 0};
  MapWindowPoints(window, parent, &origin, 1);
  SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  FillRect(dc, &rect, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

// Page containers: the form lays its controls over the whole area of the tab control (page
// positions are relative to its corner), so the page titles are not drawn; the pages are switched
// by the program and by Ctrl+Tab / Ctrl+Shift+Tab (see Form::TranslatePageKeys).
LRESULT CALLBACK TabSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
  if (IsForwarded(message)) return ForwardToForm(window, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps;
      HDC dc = message == WM_PAINT ? BeginPaint(window, &ps) : reinterpret_cast<HDC>(wParam);
      RECT rect;
      GetClientRect(window, &rect);
      FillBackground(window, dc, rect, -1);
      DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
      if (message == WM_PAINT) EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

Control* FindControl(HWND window) {
  Form* form = Form::FromHandle(GetAncestor(window, GA_ROOT));
  return form ? form->FromChild(window) : nullptr;
}

void PaintLabel(HWND window, Control* control) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT rect;
  GetClientRect(window, &rect);
  const bool transparent = control && control->Kind() == ControlKind::TransparentLabel;
  FillBackground(window, dc, rect, transparent || !control ? -1 : control->GetBackColour());
  wchar_t buffer[4096];
  int n = GetWindowTextW(window, buffer, 4096);
  SetBkMode(dc, TRANSPARENT);
  // Asking the parent for the background also set the text colour (the skin's, when dressed).
  if (!IsWindowEnabled(window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  DrawTextW(dc, buffer, n, &rect, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(window, &ps);
}

void PaintContainer(HWND window, Control* control) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT rect;
  GetClientRect(window, &rect);
  if (control) {
    FillBackground(window, dc, rect, control->GetBackColour());
    if (control->Kind() == ControlKind::Shape) {
      FrameRect(dc, &rect, GetSysColorBrush(COLOR_3DSHADOW));
    }
    DrawPictureBytes(dc, rect, control->Picture());
    if (control->Kind() == ControlKind::PictureButton && control->Picture().empty()) {
      // A close cross for a picture button that carries no picture.
      SetBkMode(dc, TRANSPARENT);
      SelectObject(dc, DefaultFont());
      DrawTextW(dc, L"\u00d7", 1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
  EndPaint(window, &ps);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = FormProc;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.hbrBackground = nullptr;
  wc.lpfnWndProc = ContainerProc;
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kLabelClass;
  RegisterClassExW(&wc);
}

}  // namespace

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsForwarded(message)) return ForwardToForm(window, message, wParam, lParam);
  wchar_t cls[32] = {};
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      GetClassNameW(window, cls, 32);
      if (lstrcmpW(cls, kLabelClass) == 0) {
        PaintLabel(window, FindControl(window));
      } else {
        PaintContainer(window, FindControl(window));
      }
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return r;
    }
    case WM_SETFONT:
      SetPropW(window, L"Tessapic.Font", reinterpret_cast<HANDLE>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropW(window, L"Tessapic.Font"));
    case WM_LBUTTONDOWN:
      if (Control* c = FindControl(window); c && c->Kind() == ControlKind::PictureButton) {
        SetCapture(window);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != window) return 0;
      ReleaseCapture();
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT rect;
      GetClientRect(window, &rect);
      if (PtInRect(&rect, p)) {
        SendMessageW(GetParent(window), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED), reinterpret_cast<LPARAM>(window));
      }
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropW(window, L"Tessapic.Font");
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Form* form = Form::FromHandle(window);
  if (form) {
    bool handled = false;
    LRESULT result = form->Handle(message, wParam, lParam, handled);
    if (handled) return result;
  }
  if (message == WM_NCDESTROY && form) {
    RemovePropW(window, kFormProperty);
    form->handle_ = nullptr;
    delete form;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

Form* Form::FromHandle(HWND window) {
  return window ? static_cast<Form*>(GetPropW(window, kFormProperty)) : nullptr;
}

Control* Form::Find(const Text& name) const { return Share(name).get(); }

Control& Form::operator[](const Text& name) const { return *Find(name); }

std::shared_ptr<Control> Form::Share(const Text& name) const {
  for (const auto& c : controls_) {
    if (c->Name() == name) return c;
  }
  return nullptr;
}

Control* Form::FromChild(HWND child) const {
  for (const auto& c : controls_) {
    if (c->Handle() == child) return c.get();
  }
  return nullptr;
}

Text Form::GetTitle() const { return WindowTextOf(handle_); }

void Form::SetTitle(const Text& title) { SetWindowTextW(handle_, WideFromText(title).c_str()); }

void Form::Destroy() {
  if (!handle_) return;
  if (GetWindowThreadProcessId(handle_, nullptr) == GetCurrentThreadId()) {
    DestroyWindow(handle_);
  } else {
    SendMessageW(handle_, kDestroy, 0, 0);
  }
}

bool Form::TranslatePageKeys(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
  Form* form = FromHandle(msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr);
  if (!form) return false;
  for (const auto& c : form->controls_) {
    if (c->Kind() != ControlKind::Tab) continue;
    const int count = static_cast<int>(SendMessageW(c->Handle(), TCM_GETITEMCOUNT, 0, 0));
    if (count < 2) continue;
    const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    form->ShowPage(*c, (c->GetCurrentPage() + step) % count);
    return true;
  }
  return false;
}

void Form::ShowPage(Control& tab, int page) {
  SendMessageW(tab.Handle(), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (const auto& c : controls_) {
    if (GetParent(c->Handle()) == tab.Handle() && c->Page() >= 0) {
      ShowWindow(c->Handle(), c->Page() == page ? SW_SHOWNA : SW_HIDE);
    }
  }
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_COMMAND: {
      Control* c = FromChild(reinterpret_cast<HWND>(lParam));
      if (!c) break;
      const UINT code = HIWORD(wParam);
      if (code == EN_CHANGE && c->Kind() == ControlKind::Edit) {
        c->TextChanged();
        if (c->onTextChanged) c->onTextChanged();
      } else if (code == BN_CLICKED && c->onClick) {
        c->onClick();
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      Control* c = FromChild(header->hwndFrom);
      if (c && c->Kind() == ControlKind::Tab && header->code == TCN_SELCHANGE) {
        ShowPage(*c, c->GetCurrentPage());
        return 0;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      Control* c = FromChild(reinterpret_cast<HWND>(lParam));
      if (c && c->GetBackColour() >= 0) {
        SetBkColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(c->GetBackColour()));
        return reinterpret_cast<LRESULT>(SolidBrush(c->GetBackColour()));
      }
      break;
    }
    case WM_ACTIVATE: {
      // Like a dialog, the form keeps the control that had the focus across (de)activation;
      // without this the default handling moves the focus to the form itself whenever the
      // activation arrives, which on some systems is after the creation handler set it.
      const HWND focus = GetFocus();
      const bool ours = focus && focus != handle_ && IsChild(handle_, focus);
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (ours) focusedChild_ = focus;
        return 0;
      }
      if (ours) return 0;
      if (focusedChild_ && IsWindow(focusedChild_) && IsChild(handle_, focusedChild_)) {
        SetFocus(focusedChild_);
        return 0;
      }
      break;
    }
    case kSetPage:
      if (Control* c = FromChild(reinterpret_cast<HWND>(wParam))) ShowPage(*c, static_cast<int>(lParam));
      return 0;
    case kApplyText:
      if (Control* c = FromChild(reinterpret_cast<HWND>(wParam))) c->ApplyPendingText();
      return 0;
    case kDestroy:
      DestroyWindow(handle_);
      return 0;
    case WM_DESTROY:
      if (onDestroyed) onDestroyed(*this);
      if (mode_ == Mode::FirstWindow) PostQuitMessage(0);
      break;
  }
  handled = false;
  return 0;
}

HWND Form::ParentFor(const ControlDescription& c) const {
  if (c.parent.empty()) return handle_;
  Control* parent = Find(TextFromWide(WideFromUtf8(c.parent)));
  return parent ? parent->Handle() : handle_;
}

void Form::CreateControls(const FormDescription& description) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  int id = 1000;
  for (const auto& c : description.controls) {
    const wchar_t* cls = kContainerClass;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (c.kind) {
      case ControlKind::Edit:
        cls = L"EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | (c.multiline ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL
                                           : ES_AUTOHSCROLL);
        break;
      case ControlKind::Label:
      case ControlKind::TransparentLabel:
        cls = kLabelClass;
        break;
      case ControlKind::Button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case ControlKind::Tab:
        cls = WC_TABCONTROLW;
        style |= WS_CLIPCHILDREN | WS_TABSTOP;
        break;
      case ControlKind::Progress:
        cls = PROGRESS_CLASSW;
        break;
      case ControlKind::Picture:
      case ControlKind::Shape:
      case ControlKind::PictureButton:
        style |= WS_CLIPCHILDREN;
        break;
    }
    const HWND parent = ParentFor(c);
    const std::wstring text = c.kind == ControlKind::Tab ? L"" : WideFromUtf8(c.text);
    HWND child = CreateWindowExW(exStyle, cls, text.c_str(), style, c.left, c.top, c.width,
                                 c.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                                 instance, nullptr);
    if (!child) continue;
    // A later control of the description lies over the earlier ones (the status label sits on the
    // address box).
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
    auto control = std::make_shared<Control>(handle_, c, child);
    if (c.kind == ControlKind::Tab) {
      for (size_t i = 0; i < c.pages.size(); ++i) {
        std::wstring title = WideFromUtf8(c.pages[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        SendMessageW(child, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
      }
      SetWindowSubclass(child, TabSubclass, 1, 0);
    } else if (c.kind == ControlKind::Progress) {
      SendMessageW(child, PBM_SETRANGE32, static_cast<WPARAM>(c.rangeMin), c.rangeMax);
      SendMessageW(child, PBM_SETPOS, static_cast<WPARAM>(c.position), 0);
    }
    controls_.push_back(std::move(control));
  }
  // Decorations laid over the tab control stay visible: the tab control goes to the bottom.
  for (const auto& c : controls_) {
    if (c->Kind() == ControlKind::Tab) {
      SetWindowPos(c->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      ShowPage(*c, 0);
    }
  }
  for (const auto& c : controls_) {
    if (c->Page() < 0) ShowWindow(c->Handle(), SW_SHOWNA);
  }
}

Form* Form::Load(const FormDescription& description, Mode mode,
                 const std::function<void(Form&)>& onCreated) {
  RegisterClasses();
  auto* form = new Form();
  form->mode_ = mode;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  form->handle_ = CreateWindowExW(0, kFormClass, WideFromUtf8(description.title).c_str(), style,
                                  description.left, description.top, description.width,
                                  description.height, nullptr, nullptr, GetModuleHandleW(nullptr),
                                  nullptr);
  if (!form->handle_) {
    delete form;
    return nullptr;
  }
  SetPropW(form->handle_, kFormProperty, form);
  SendMessageW(form->handle_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
  form->CreateControls(description);

  HWND window = form->handle_;
  std::vector<HWND> disabled;
  if (mode == Mode::Modal) disabled = DisableOtherWindows(window);
  if (onCreated) onCreated(*form);
  if (!IsWindow(window)) return nullptr;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  if (mode != Mode::Modal) return form;

  MSG msg;
  bool quit = false;
  while (IsWindow(window)) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!TranslatePageKeys(msg) && !IsDialogMessageW(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  ReenableWindows(disabled);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return nullptr;
}
