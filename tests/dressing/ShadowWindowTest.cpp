// The shadow window's life beside its host, for both kinds: creation, properties, subclassing,
// reuse, removal and following the host through moves, sizes and show states.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "dressing/DrawnShadow.h"
#include "dressing/LayeredShadow.h"
#include "forms/Runtime.h"
#include "tests/dressing/ShadowProbe.h"

namespace {

struct Kind {
  const char* name;
  int32_t (*apply)(HWND, uint32_t, int32_t, bool);
  WNDPROC procedure;
};

const Kind kLayered{"Layered", ApplyLayeredShadow, LayeredShadowProc};
const Kind kDrawn{"Drawn", ApplyDrawnShadow, DrawnShadowProc};

HWND ShadowOf(HWND host) { return static_cast<HWND>(GetPropA(host, kShadowWindowKey)); }
uintptr_t Prop(HWND window, const char* key) {
  return reinterpret_cast<uintptr_t>(GetPropA(window, key));
}
WNDPROC ProcOf(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}
std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}
// Rectangles as text, so a mismatch reads plainly.
std::string Show(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}
std::string Grown(HWND host, int by) {
  RECT r{};
  GetWindowRect(host, &r);
  InflateRect(&r, by, by);
  return Show(r);
}
std::string RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return Show(r);
}

// The host must keep answering through its own procedure once subclassed.
std::wstring RoundTripText(HWND host, const wchar_t* text) {
  SetWindowTextW(host, text);
  wchar_t back[64] = {};
  GetWindowTextW(host, back, 64);
  return back;
}

class ShadowWindow : public ::testing::TestWithParam<Kind> {};

TEST_P(ShadowWindow, AppliesAroundHostAsOwnedClickThroughPopup) {
  const Kind& kind = GetParam();
  TestHost host;
  const WNDPROC original = ProcOf(host.get());

  ASSERT_EQ(kind.apply(host.get(), RGB(120, 120, 120), 4, true), 1);
  ProcessPendingEvents();
  HWND shadow = ShadowOf(host.get());
  ASSERT_TRUE(IsWindow(shadow));
  EXPECT_EQ(GetWindow(shadow, GW_OWNER), host.get());
  EXPECT_TRUE(IsWindowVisible(shadow));
  EXPECT_EQ(RectOf(shadow), Grown(host.get(), 4));
  EXPECT_EQ(Prop(shadow, kShadowColourKey), RGB(120, 120, 120));
  EXPECT_EQ(Prop(shadow, kShadowSizeKey), 4u);
  EXPECT_EQ(ProcOf(host.get()), kind.procedure);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(Prop(host.get(), kShadowProcKey)), original);
  EXPECT_EQ(RoundTripText(host.get(), L"宿主"), L"宿主");

  const LONG style = GetWindowLongW(shadow, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(shadow, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
  if (kind.procedure == DrawnShadowProc) {
    EXPECT_EQ(ClassOf(shadow), "Nimbo.Shadow");
    EXPECT_TRUE(style & WS_DISABLED);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
  } else {
    const std::string cls = ClassOf(shadow);
    EXPECT_TRUE(_stricmp(cls.c_str(), "SysShadow") == 0 || _stricmp(cls.c_str(), "Static") == 0)
        << cls;
  }
}

TEST_P(ShadowWindow, ApplyingAgainReusesWindowAndSubclassesOnce) {
  const Kind& kind = GetParam();
  TestHost host;
  const WNDPROC original = ProcOf(host.get());
  ASSERT_EQ(kind.apply(host.get(), RGB(120, 120, 120), 4, true), 1);
  HWND first = ShadowOf(host.get());

  ASSERT_EQ(kind.apply(host.get(), RGB(0, 0, 255), 7, true), 1);
  ProcessPendingEvents();
  EXPECT_EQ(ShadowOf(host.get()), first);
  EXPECT_EQ(Prop(first, kShadowColourKey), RGB(0, 0, 255));
  EXPECT_EQ(Prop(first, kShadowSizeKey), 7u);
  EXPECT_EQ(RectOf(first), Grown(host.get(), 7));
  // Stored twice, the previous procedure would be our own and every message would loop.
  EXPECT_EQ(reinterpret_cast<WNDPROC>(Prop(host.get(), kShadowProcKey)), original);
  EXPECT_EQ(RoundTripText(host.get(), L"again"), L"again");
}

TEST_P(ShadowWindow, SizeNotGivenIsFive) {
  TestHost host;
  ASSERT_EQ(GetParam().apply(host.get(), RGB(120, 120, 120), 0, false), 1);
  ProcessPendingEvents();
  HWND shadow = ShadowOf(host.get());
  EXPECT_EQ(Prop(shadow, kShadowSizeKey), 5u);
  EXPECT_EQ(RectOf(shadow), Grown(host.get(), 5));
}

TEST_P(ShadowWindow, SizeBelowOneRemovesShadowAndRestoresHost) {
  for (int32_t removal : {0, -3}) {
    SCOPED_TRACE(removal);
    TestHost host;
    const WNDPROC original = ProcOf(host.get());
    ASSERT_EQ(GetParam().apply(host.get(), RGB(120, 120, 120), 4, true), 1);
    HWND shadow = ShadowOf(host.get());

    EXPECT_EQ(GetParam().apply(host.get(), 0, removal, true), 0);
    EXPECT_FALSE(IsWindow(shadow));
    EXPECT_EQ(GetPropA(host.get(), kShadowWindowKey), nullptr);
    EXPECT_EQ(GetPropA(host.get(), kShadowProcKey), nullptr);
    EXPECT_EQ(ProcOf(host.get()), original);
    EXPECT_EQ(RoundTripText(host.get(), L"bare"), L"bare");

    // Removing again, from a host without any shadow, is harmless.
    EXPECT_EQ(GetParam().apply(host.get(), 0, 0, true), 0);
    EXPECT_EQ(ProcOf(host.get()), original);
  }
}

TEST_P(ShadowWindow, NoWindowNoShadow) {
  TestHost host;
  HWND gone = host.get();
  DestroyWindow(gone);
  for (HWND notAWindow : {static_cast<HWND>(nullptr), gone}) {
    EXPECT_EQ(GetParam().apply(notAWindow, 0, 4, true), 0);
  }
}

TEST_P(ShadowWindow, FollowsHostThroughMovesSizesAndShowStates) {
  TestHost host;
  ASSERT_EQ(GetParam().apply(host.get(), RGB(120, 120, 120), 6, true), 1);
  HWND shadow = ShadowOf(host.get());

  struct Step {
    const char* what;
    void (*act)(HWND);
    bool shadowShown;
  };
  const Step steps[] = {
      {"move", [](HWND h) { SetWindowPos(h, nullptr, 220, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       true},
      {"resize", [](HWND h) { SetWindowPos(h, nullptr, 0, 0, 410, 330, SWP_NOMOVE | SWP_NOZORDER); },
       true},
      {"minimise", [](HWND h) { ShowWindow(h, SW_MINIMIZE); }, false},
      {"restore", [](HWND h) { ShowWindow(h, SW_RESTORE); }, true},
      {"maximise", [](HWND h) { ShowWindow(h, SW_MAXIMIZE); }, false},
      {"restore", [](HWND h) { ShowWindow(h, SW_RESTORE); }, true},
      {"hide", [](HWND h) { ShowWindow(h, SW_HIDE); }, false},
      {"show", [](HWND h) { ShowWindow(h, SW_SHOW); }, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(host.get());
    ProcessPendingEvents();
    EXPECT_EQ(IsWindowVisible(shadow) != 0, step.shadowShown);
    if (step.shadowShown) {
      EXPECT_EQ(RectOf(shadow), Grown(host.get(), 6));
    }
  }
}

TEST_P(ShadowWindow, HostOfZeroSizeLeavesShadowWhereItIs) {
  TestHost host(100, 100, 300, 200, WS_POPUP | WS_VISIBLE);
  ASSERT_EQ(GetParam().apply(host.get(), RGB(120, 120, 120), 4, true), 1);
  HWND shadow = ShadowOf(host.get());
  const std::string before = RectOf(shadow);
  SetWindowPos(host.get(), nullptr, 0, 0, 0, 200, SWP_NOMOVE | SWP_NOZORDER);
  ProcessPendingEvents();
  EXPECT_EQ(RectOf(shadow), before);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ShadowWindow, ::testing::Values(kLayered, kDrawn),
                         [](const auto& info) { return std::string(info.param.name); });

// Both kinds keep their state under the same keys: a request of the other kind reuses the window
// and leaves the first kind's subclass procedure in charge.
TEST(ShadowKinds, RequestOfOtherKindReusesWindowAndSubclass) {
  const struct {
    Kind first, second;
    const char* firstClass;
  } cases[] = {{kLayered, kDrawn, nullptr}, {kDrawn, kLayered, "Nimbo.Shadow"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first.name);
    TestHost host;
    ASSERT_EQ(c.first.apply(host.get(), RGB(120, 120, 120), 4, true), 1);
    HWND shadow = ShadowOf(host.get());
    ASSERT_EQ(c.second.apply(host.get(), 0, 5, true), 1);
    EXPECT_EQ(ShadowOf(host.get()), shadow);
    EXPECT_EQ(ProcOf(host.get()), c.first.procedure);
    EXPECT_EQ(Prop(shadow, kShadowSizeKey), 5u);
    if (c.firstClass) {
      EXPECT_EQ(ClassOf(shadow), c.firstClass);
    }
    SetWindowPos(host.get(), nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ProcessPendingEvents();
    EXPECT_EQ(RectOf(shadow), Grown(host.get(), 5));
  }
}

}  // namespace
