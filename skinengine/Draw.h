#pragma once
// Painting of the controls the engine draws itself, into any device context.
#include <windows.h>

#include "skinengine/Theme.h"

enum class ButtonState { Normal, Hot, Pressed, Disabled };

void DrawPushButton(HWND button, HDC dc, const Theme& theme, ButtonState state, bool focused, bool isDefault);
void DrawTabControl(HWND tab, HDC dc, const Theme& theme);
void DrawProgressBar(HWND bar, HDC dc, const Theme& theme);
// Frame and title bar of a window with a caption, over what the system drew there.
void DrawCaptionFrame(HWND window, const Theme& theme, bool active);
// The border of an edit box over its non-client edge.
void DrawEditFrame(HWND edit, const Theme& theme);

// Runs `draw` into an off-screen copy of the client area, then copies it to `dc` in one go.
template <class Draw>
void DrawBuffered(HWND window, HDC dc, Draw draw) {
  RECT client;
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (!memory || !bitmap) {
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    draw(dc);
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}
