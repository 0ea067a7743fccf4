#pragma once
// What the layered and the drawn shadow share: the property record on host and shadow window,
// applying and removing, placing and repainting, and the host's subclass procedure. Each kind
// fills a ShadowKind with how it makes, shows, places and paints its window.
#include <windows.h>

#include <cstdint>

using ShadowDraw = void (*)(HWND shadowWindow, HDC deviceContext, int32_t width, int32_t height);
using ShadowUpdate = void (*)(HWND host, int32_t visible, bool visibleGiven);

struct ShadowKind {
  HWND (*makeWindow)(HWND host);  // null when no shadow window can be made
  ShadowUpdate update;
  WNDPROC procedure;
  int showCommand;                // how a hidden shadow comes back
  bool placeWithSetWindowPos;     // else MoveWindow
  ShadowDraw draw;
};

HWND ShadowWindowOf(HWND host);
uint32_t ShadowColourOf(HWND shadowWindow);
int32_t ShadowSizeOf(HWND shadowWindow);
// Alpha added per ring inwards.
int32_t ShadowStep(int32_t size);

int32_t ApplyShadow(const ShadowKind& kind, HWND host, uint32_t colour, int32_t size,
                    bool sizeGiven);
void UpdateShadow(const ShadowKind& kind, HWND host, int32_t visible, bool visibleGiven);
void PaintShadow(ShadowDraw draw, HWND host, int32_t width, int32_t height);
LRESULT ShadowProc(ShadowUpdate update, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
