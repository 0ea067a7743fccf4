#include "skinengine/Draw.h"

#include <commctrl.h>

namespace {

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void RoundBox(HDC dc, const RECT& r, int radius, COLORREF face, COLORREF border) {
  HBRUSH brush = CreateSolidBrush(face);
  HPEN pen = CreatePen(PS_SOLID, 1, border);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  if (radius > 0)
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 2 * radius, 2 * radius);
  else
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

HFONT FontOf(HWND window, const Theme& theme) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  return font ? font : theme.font;
}

// Text over what is already drawn, in that font and colour; n -1 for a zero-ended text.
void DrawLabel(HDC dc, const wchar_t* text, int n, RECT r, COLORREF colour, UINT format, HFONT font) {
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text, n, &r, format);
  SelectObject(dc, oldFont);
}

void Caption(HWND window, HDC dc, RECT r, COLORREF colour, UINT format, const Theme& theme) {
  wchar_t text[256];
  const int n = GetWindowTextW(window, text, 256);
  DrawLabel(dc, text, n, r, colour, format, FontOf(window, theme));
}

}  // namespace

void DrawPushButton(HWND button, HDC dc, const Theme& theme, ButtonState state, bool focused, bool isDefault) {
  const Skin& s = theme.skin;
  const ButtonLook& look = state == ButtonState::Hot       ? s.buttonHot
                           : state == ButtonState::Pressed  ? s.buttonPressed
                           : state == ButtonState::Disabled ? s.buttonDisabled
                                                            : s.buttonNormal;
  RECT r;
  GetClientRect(button, &r);
  FillSolid(dc, r, s.windowBackground);  // the corners outside the rounding
  const bool ring = state != ButtonState::Disabled && (focused || isDefault);
  RoundBox(dc, r, s.buttonRadius, look.face, ring ? s.buttonFocus : look.border);
  if (ring && focused) {
    RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HPEN pen = CreatePen(PS_SOLID, 1, s.buttonFocus);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    RoundRect(dc, inner.left, inner.top, inner.right, inner.bottom, 2 * s.buttonRadius, 2 * s.buttonRadius);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
  }
  if (state == ButtonState::Pressed) OffsetRect(&r, 1, 1);
  Caption(button, dc, r, look.text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, theme);
}

void DrawTabControl(HWND tab, HDC dc, const Theme& theme) {
  const Skin& s = theme.skin;
  RECT client;
  GetClientRect(tab, &client);
  FillSolid(dc, client, s.tabBackground);
  RECT page = client;
  TabCtrl_AdjustRect(tab, FALSE, &page);
  RECT frame{client.left, page.top - 3, client.right, client.bottom};
  RoundBox(dc, frame, 0, s.windowBackground, s.tabBorder);

  const int count = TabCtrl_GetItemCount(tab);
  const int selected = TabCtrl_GetCurSel(tab);
  for (int i = 0; i < count; ++i) {
    RECT item;
    if (!TabCtrl_GetItemRect(tab, i, &item)) continue;
    const bool on = i == selected;
    RECT box{item.left, item.top + (on ? 0 : 2), item.right, frame.top + (on ? 1 : 0)};
    RoundBox(dc, box, 0, on ? s.tabSelectedFace : s.tabFace, s.tabBorder);
    if (on) {  // an accent line along the top of the page in front
      RECT accent{box.left, box.top, box.right, box.top + 2};
      FillSolid(dc, accent, s.progressBar);
    }
    wchar_t text[128] = {};
    TCITEMW info{};
    info.mask = TCIF_TEXT;
    info.pszText = text;
    info.cchTextMax = 128;
    SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&info));
    DrawLabel(dc, text, -1, box, on ? s.tabSelectedText : s.tabText,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, FontOf(tab, theme));
  }
}

void DrawProgressBar(HWND bar, HDC dc, const Theme& theme) {
  const Skin& s = theme.skin;
  RECT r;
  GetClientRect(bar, &r);
  FillSolid(dc, r, s.windowBackground);
  RoundBox(dc, r, s.progressRadius, s.progressTrack, s.progressBorder);
  const int low = int(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
  const int high = int(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
  const int position = int(SendMessageW(bar, PBM_GETPOS, 0, 0));
  if (high <= low || position <= low) return;
  const int inner = r.right - r.left - 2;
  const long long done = position >= high ? inner : (long long)inner * (position - low) / (high - low);
  if (done <= 0) return;
  RECT fill{r.left + 1, r.top + 1, r.left + 1 + int(done), r.bottom - 1};
  RoundBox(dc, fill, s.progressRadius > 1 ? s.progressRadius - 1 : 0, s.progressBar, s.progressBar);
}

void DrawEditFrame(HWND edit, const Theme& theme) {
  const DWORD ex = DWORD(GetWindowLongPtrW(edit, GWL_EXSTYLE));
  const bool border = (ex & WS_EX_CLIENTEDGE) || (GetWindowLongPtrW(edit, GWL_STYLE) & WS_BORDER);
  if (!border) return;
  HDC dc = GetWindowDC(edit);
  if (!dc) return;
  RECT r;
  GetWindowRect(edit, &r);
  OffsetRect(&r, -r.left, -r.top);
  const COLORREF outline = GetFocus() == edit ? theme.skin.editFocusBorder : theme.skin.editBorder;
  HBRUSH outer = CreateSolidBrush(outline);
  FrameRect(dc, &r, outer);
  if (ex & WS_EX_CLIENTEDGE) {  // the second ring of a sunken edge takes the field's colour
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, theme.editBrush);
  }
  DeleteObject(outer);
  ReleaseDC(edit, dc);
}

namespace {

COLORREF Mix(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

// The caption glyphs are drawn as lines, so no symbol font is needed.
void Glyph(HDC dc, const RECT& box, int kind, COLORREF colour) {
  const int size = (box.bottom - box.top) / 4;
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  switch (kind) {
    case 0:  // close
      for (int d = 0; d < 2; ++d) {
        MoveToEx(dc, cx - size + d, cy - size, nullptr);
        LineTo(dc, cx + size + 1 + d, cy + size + 1);
        MoveToEx(dc, cx + size - 1 + d, cy - size, nullptr);
        LineTo(dc, cx - size - 2 + d, cy + size + 1);
      }
      break;
    case 1:  // maximise
      Rectangle(dc, cx - size, cy - size, cx + size + 1, cy + size + 1);
      MoveToEx(dc, cx - size, cy - size + 1, nullptr);
      LineTo(dc, cx + size, cy - size + 1);
      break;
    default:  // minimise
      MoveToEx(dc, cx - size, cy + size - 1, nullptr);
      LineTo(dc, cx + size + 1, cy + size - 1);
      MoveToEx(dc, cx - size, cy + size, nullptr);
      LineTo(dc, cx + size + 1, cy + size);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

}  // namespace

void DrawCaptionFrame(HWND window, const Theme& theme, bool active) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION || GetMenu(window) || IsIconic(window)) return;
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -outer.left, -outer.top);
  OffsetRect(&outer, -outer.left, -outer.top);
  const int border = client.left;
  if (border < 0 || client.top <= border) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);

  const Skin& s = theme.skin;
  const COLORREF bar = active ? s.captionBackground : s.captionInactive;
  FillSolid(dc, outer, s.captionBorder);
  RECT caption{border, border, outer.right - border, client.top};
  FillSolid(dc, caption, bar);
  RECT edge{border, client.top - 1, outer.right - border, client.top};  // a line between bar and client
  FillSolid(dc, edge, s.captionBorder);
  caption.bottom -= 1;

  const int height = caption.bottom - caption.top;
  int textLeft = caption.left + 6;
  HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL2, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
  if (icon && height >= 16) {
    DrawIconEx(dc, textLeft, caption.top + (height - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
    textLeft += 22;
  }

  // Buttons from the right, where the system hit-tests them: close, then maximise and minimise.
  const int button = GetSystemMetrics(SM_CXSIZE);
  RECT box{caption.right - button, caption.top, caption.right, caption.bottom};
  const COLORREF glyph = active ? s.captionText : Mix(s.captionText, bar);
  if (style & WS_SYSMENU) {
    Glyph(dc, box, 0, glyph);
    if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
      OffsetRect(&box, -button, 0);
      Glyph(dc, box, 1, style & WS_MAXIMIZEBOX ? glyph : Mix(glyph, bar));
      OffsetRect(&box, -button, 0);
      Glyph(dc, box, 2, style & WS_MINIMIZEBOX ? glyph : Mix(glyph, bar));
    }
  }

  wchar_t title[256];
  const int n = GetWindowTextW(window, title, 256);
  DrawLabel(dc, title, n, {textLeft, caption.top, box.left - 4, caption.bottom}, glyph,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
            theme.captionFont ? theme.captionFont : theme.font);
  ReleaseDC(window, dc);
}
