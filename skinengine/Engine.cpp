// The engine's entry: parse a skin, make it current, and skin the calling thread's windows now
// and, through a creation hook, every window the thread makes later.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "skinengine/Draw.h"
#include "skinengine/SkinFormat.h"
#include "skinengine/Theme.h"

namespace {

enum class Kind : UINT_PTR { Container = 1, PushButton, Edit, Tab, Progress, Text };

// Per skinned window. Freed by the outermost call once the window is gone, because a click can
// destroy the window while our procedure is still on the stack.
struct WindowData {
  Kind kind;
  int depth = 0;
  bool destroyed = false;
  bool hot = false;
};

struct Hook {
  DWORD thread;
  HHOOK hook;
};
Hook hooks[64];
int hookCount = 0;

// Skinned windows, so that unloading the engine can hand them back before its code goes away.
HWND* skinned = nullptr;
int skinnedCount = 0, skinnedCapacity = 0;

void Remember(HWND window) {
  if (skinnedCount == skinnedCapacity) {
    const int capacity = skinnedCapacity ? 2 * skinnedCapacity : 64;
    auto* grown = static_cast<HWND*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(HWND)));
    if (!grown) return;
    for (int i = 0; i < skinnedCount; ++i) grown[i] = skinned[i];
    if (skinned) HeapFree(GetProcessHeap(), 0, skinned);
    skinned = grown;
    skinnedCapacity = capacity;
  }
  skinned[skinnedCount++] = window;
}

void Forget(HWND window) {
  for (int i = 0; i < skinnedCount; ++i)
    if (skinned[i] == window) {
      skinned[i] = skinned[--skinnedCount];
      return;
    }
}

bool ClassIs(HWND window, const wchar_t* name) {
  wchar_t buffer[64];
  return GetClassNameW(window, buffer, 64) && lstrcmpiW(buffer, name) == 0;
}

// Layered, click-through and tool windows (shadows, tips, popups) keep the look their owner gave them.
bool KeepsOwnLook(HWND window) {
  const DWORD ex = DWORD(GetWindowLongPtrW(window, GWL_EXSTYLE));
  return ex & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
}

// A control whose procedure the program has already replaced may paint itself; it then only gets
// the skin's colours, never our painting over its own.
Kind PaintedUnlessProgramPaints(HWND window, Kind kind) {
  const auto own = static_cast<ULONG_PTR>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  return own == GetClassLongPtrW(window, GCLP_WNDPROC) ? kind : Kind::Text;
}

bool Classify(HWND window, Kind& kind) {
  if (KeepsOwnLook(window)) return false;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if (ClassIs(window, L"Button")) {
    const LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) return false;
    kind = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? PaintedUnlessProgramPaints(window, Kind::PushButton)
                                                             : Kind::Text;
    return true;
  }
  if (ClassIs(window, L"Static")) return kind = Kind::Text, true;
  if (ClassIs(window, L"Edit")) return kind = Kind::Edit, true;
  if (ClassIs(window, WC_TABCONTROLW)) return kind = PaintedUnlessProgramPaints(window, Kind::Tab), true;
  if (ClassIs(window, PROGRESS_CLASSW)) return kind = PaintedUnlessProgramPaints(window, Kind::Progress), true;
  if (ClassIs(window, L"#32768") || ClassIs(window, L"tooltips_class32") || ClassIs(window, L"IME") ||
      ClassIs(window, L"ComboLBox"))
    return false;
  if (!(style & WS_CHILD) || ClassIs(window, L"#32770")) return kind = Kind::Container, true;
  // A child of a class of the program's own is recoloured only when it would erase its background
  // anyway; one that paints itself (a transparent label, a picture) stays as it is.
  const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE));
  if (module == GetModuleHandleW(nullptr) && GetClassLongPtrW(window, GCLP_HBRBACKGROUND) != 0)
    return kind = Kind::Container, true;
  return false;
}

LRESULT CALLBACK SkinProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

bool IsDefaultFont(HFONT font, const Theme* previous) {
  return !font || font == GetStockObject(DEFAULT_GUI_FONT) || font == GetStockObject(SYSTEM_FONT) ||
         (previous && font == previous->font);
}

// The control's own font wins; one it was never given, or the previous skin's, becomes the skin's.
void ApplyFont(HWND window, Kind kind, const Theme* previous) {
  if (kind == Kind::Container || !currentTheme) return;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (IsDefaultFont(font, previous)) SendMessageW(window, WM_SETFONT, WPARAM(currentTheme->font), FALSE);
}

// Marks a skinned window and leads to its data.
constexpr wchar_t kDataKey[] = L"Tessapic.Skin";

void SkinWindow(HWND window, const Theme* previous) {
  if (auto* known = static_cast<WindowData*>(GetPropW(window, kDataKey))) {
    ApplyFont(window, known->kind, previous);
    return;
  }
  Kind kind;
  if (!Classify(window, kind)) return;
  auto* state = new WindowData{kind};
  if (!SetPropW(window, kDataKey, state)) {
    delete state;
    return;
  }
  if (!SetWindowSubclass(window, SkinProc, UINT_PTR(kind), reinterpret_cast<DWORD_PTR>(state))) {
    RemovePropW(window, kDataKey);
    delete state;
    return;
  }
  Remember(window);
  ApplyFont(window, kind, previous);
}

ButtonState StateOf(HWND button, const WindowData& data) {
  if (!IsWindowEnabled(button)) return ButtonState::Disabled;
  if (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) return ButtonState::Pressed;
  return data.hot ? ButtonState::Hot : ButtonState::Normal;
}

void PaintControl(HWND window, HDC dc, const WindowData& data) {
  const Theme& theme = *currentTheme;
  DrawBuffered(window, dc, [&](HDC target) {
    switch (data.kind) {
      case Kind::PushButton: {
        const bool isDefault = (GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        DrawPushButton(window, target, theme, StateOf(window, data), GetFocus() == window, isDefault);
        break;
      }
      case Kind::Tab: DrawTabControl(window, target, theme); break;
      case Kind::Progress: DrawProgressBar(window, target, theme); break;
      default: break;
    }
  });
}

void RepaintNow(HWND window, const WindowData& data) {
  if (!IsWindowVisible(window)) return;
  HDC dc = GetDC(window);
  if (!dc) return;
  PaintControl(window, dc, data);
  ReleaseDC(window, dc);
}

// Messages after which the system's own button code has painted its classic look directly.
bool ButtonRepaints(UINT message) {
  switch (message) {
    case BM_SETSTATE: case BM_SETSTYLE: case BM_CLICK: case WM_ENABLE: case WM_SETTEXT:
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_LBUTTONDOWN: case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: case WM_KEYDOWN: case WM_KEYUP: case WM_CAPTURECHANGED:
    case WM_MOUSEMOVE: case WM_MOUSELEAVE: case WM_UPDATEUISTATE: case WM_SETFONT:
      return true;
  }
  return false;
}

bool CaptionRepaints(UINT message) {
  switch (message) {
    case WM_NCPAINT: case WM_NCACTIVATE: case WM_SETTEXT: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP:
    case WM_SYSCOMMAND: case WM_SETICON: case WM_SIZE:
      return true;
  }
  return false;
}

// The program's own colours for a control (a status label on green, say) win over the skin's;
// only what the default handling would have answered is replaced.
LRESULT ControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  const LRESULT own = DefSubclassProc(window, message, wParam, lParam);
  const COLORREF ownText = GetTextColor(dc), ownBack = GetBkColor(dc);
  const LRESULT standard = DefWindowProcW(window, message, wParam, lParam);
  if (own != 0 && own != standard && own != LRESULT(GetSysColorBrush(COLOR_BTNFACE)) &&
      own != LRESULT(GetSysColorBrush(COLOR_WINDOW))) {
    SetTextColor(dc, ownText);
    SetBkColor(dc, ownBack);
    return own;
  }
  const Skin& s = currentTheme->skin;
  const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
                     (message == WM_CTLCOLORSTATIC && ClassIs(reinterpret_cast<HWND>(lParam), L"Edit"));
  if (field) {
    SetTextColor(dc, s.editText);
    SetBkColor(dc, s.editBackground);
    return LRESULT(currentTheme->editBrush);
  }
  SetTextColor(dc, message == WM_CTLCOLORDLG ? s.windowText : s.labelText);
  SetBkColor(dc, s.windowBackground);
  return LRESULT(currentTheme->windowBrush);
}

LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WindowData& data) {
  switch (message) {
    case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLORDLG:
      return ControlColour(window, message, wParam, lParam);
    case WM_CREATE: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (result != -1 && !data.destroyed) ApplyFont(window, data.kind, nullptr);
      return result;
    }
  }
  switch (data.kind) {
    case Kind::Container: {
      if (message == WM_ERASEBKGND && !KeepsOwnLook(window)) {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, currentTheme->windowBrush);
        return 1;
      }
      if (!CaptionRepaints(message)) break;
      // The system draws its own title bar on these; ours goes over it straight after.
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (data.destroyed || KeepsOwnLook(window) || (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) return result;
      const bool active = message == WM_NCACTIVATE ? wParam != 0 : GetActiveWindow() == window;
      DrawCaptionFrame(window, *currentTheme, active);
      return result;
    }
    case Kind::PushButton:
    case Kind::Tab:
    case Kind::Progress: {
      if (message == WM_ERASEBKGND) return 1;
      if (message == WM_PAINT || message == WM_PRINTCLIENT) {
        if (wParam) {
          PaintControl(window, reinterpret_cast<HDC>(wParam), data);
        } else {
          PAINTSTRUCT ps;
          HDC dc = BeginPaint(window, &ps);
          if (dc) PaintControl(window, dc, data);
          EndPaint(window, &ps);
        }
        return 0;
      }
      if (data.kind == Kind::PushButton && message == WM_MOUSEMOVE && !data.hot) {
        data.hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
      } else if (data.kind == Kind::PushButton && message == WM_MOUSELEAVE) {
        data.hot = false;
      }
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (data.destroyed) return result;
      if (data.kind == Kind::PushButton && ButtonRepaints(message)) RepaintNow(window, data);
      if (data.kind == Kind::Progress && message >= PBM_SETRANGE && message <= PBM_SETRANGE32)
        InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case Kind::Edit: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (data.destroyed) return result;
      if (message == WM_NCPAINT) DrawEditFrame(window, *currentTheme);
      if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE)
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case Kind::Text:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR ref) {
  auto* data = reinterpret_cast<WindowData*>(ref);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SkinProc, id);
    RemovePropW(window, kDataKey);
    Forget(window);
    data->destroyed = true;
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (data->depth == 0) delete data;
    return result;
  }
  if (!currentTheme) return DefSubclassProc(window, message, wParam, lParam);
  ++data->depth;
  const LRESULT result = Handle(window, message, wParam, lParam, *data);
  if (--data->depth == 0 && data->destroyed) delete data;
  return result;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && currentTheme) SkinWindow(reinterpret_cast<HWND>(wParam), nullptr);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void HookThread() {
  const DWORD thread = GetCurrentThreadId();
  for (int i = 0; i < hookCount; ++i)
    if (hooks[i].thread == thread) return;
  if (hookCount == int(sizeof hooks / sizeof hooks[0])) return;
  // A hook on one thread of our own process needs no module handle, which we do not have.
  if (HHOOK hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, thread)) hooks[hookCount++] = {thread, hook};
}

BOOL CALLBACK SkinChild(HWND window, LPARAM previous) {
  SkinWindow(window, reinterpret_cast<const Theme*>(previous));
  return TRUE;
}

BOOL CALLBACK SkinTopLevel(HWND window, LPARAM previous) {
  SkinWindow(window, reinterpret_cast<const Theme*>(previous));
  EnumChildWindows(window, SkinChild, previous);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

// Hands every window back to its own procedure; the code they would call is about to go away.
void Unload() {
  for (int i = 0; i < hookCount; ++i) UnhookWindowsHookEx(hooks[i].hook);
  hookCount = 0;
  while (skinnedCount > 0) {
    HWND window = skinned[--skinnedCount];
    if (auto* data = static_cast<WindowData*>(RemovePropW(window, kDataKey))) {
      RemoveWindowSubclass(window, SkinProc, UINT_PTR(data->kind));
      if (data->depth == 0) delete data;
    }
    if (currentTheme && IsWindow(window) &&
        SendMessageW(window, WM_GETFONT, 0, 0) == LRESULT(currentTheme->font))
      SendMessageW(window, WM_SETFONT, 0, FALSE);
    if (IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
  // The list lives on the process heap, which outlasts the engine's own memory.
  if (skinned) HeapFree(GetProcessHeap(), 0, skinned);
  skinned = nullptr;
  skinnedCapacity = 0;
  DestroyTheme(currentTheme);
  currentTheme = nullptr;
}

}  // namespace

// Returns 1 when the skin was taken, 0 when it could not be read (windows then keep their look).
extern "C" __declspec(dllexport) std::int32_t WINAPI SkinEngine_Attach(const void* bytes, std::int32_t length,
                                                                       const char* password, std::int32_t hue,
                                                                       std::int32_t saturation,
                                                                       std::int32_t brightness) {
  Skin skin;
  if (!bytes || length <= 0 || !ParseSkin(static_cast<const char*>(bytes), std::size_t(length), skin)) return 0;
  AdjustSkin(skin, hue, saturation, brightness);
  Theme* next = MakeTheme(skin);
  if (!next) return 0;
  Theme* previous = currentTheme;
  currentTheme = next;
  HookThread();
  EnumThreadWindows(GetCurrentThreadId(), SkinTopLevel, reinterpret_cast<LPARAM>(previous));
  DestroyTheme(previous);
  return 1;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) Unload();
  return TRUE;
}
