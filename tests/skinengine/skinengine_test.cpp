// The skin engine as the program uses it: mapped from memory, attached through its export, and
// judged by the pixels the skinned windows show.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "dressing/SkinEngineModule.h"

namespace {

using Attach = int32_t(WINAPI*)(const void*, int32_t, const char*, int32_t, int32_t, int32_t);

// A complete skin; every colour differs so that each pixel tells which setting drew it.
std::string TestSkin(const char* background = "#3366CC") {
  return std::string("tessapic-skin 1\n[window]\nbackground = ") + background +
         "\ntext = #101010\n"
         "[caption]\nbackground = #123456\ntext = #FFFFFF\ninactive = #654321\nborder = #0A0B0C\n"
         "[label]\ntext = #202020\n"
         "[edit]\nbackground = #E0F0E0\ntext = #303030\nborder = #404040\nfocus = #505050\n"
         "[button]\nnormal = #C03020 #FFFFFF #600000\nhot = #20C030 #FFFFFF #006000\n"
         "pressed = #2030C0 #FFFFFF #000060\ndisabled = #A0A0A0 #606060 #808080\nfocus = #000000\nradius = 0\n"
         "[tab]\nbackground = #D0D0F0\nface = #C0C0E0\ntext = #000000\nselected-face = #F0E0D0\n"
         "selected-text = #000000\nborder = #707070\n"
         "[progress]\ntrack = #F0F0A0\nbar = #10A0A0\nborder = #707070\nradius = 0\n"
         "[font]\nface = Microsoft YaHei\nsize = 9\nweight = 400\n";
}

constexpr COLORREF kUnskinned = RGB(255, 255, 255);  // the test window class's own background
constexpr COLORREF kAppLabelColour = RGB(0, 170, 0);

HBRUSH appLabelBrush;
int clicks;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == 2) {
    SetBkColor(reinterpret_cast<HDC>(wParam), kAppLabelColour);
    return LRESULT(appLabelBrush);  // the program's own colour for this label
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    ++clicks;
    if (LOWORD(wParam) == 9) DestroyWindow(reinterpret_cast<HWND>(lParam));  // a button that removes itself
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct TestWindow {
  HWND window, label, ownLabel, edit, button, disabled, tab, progress;

  TestWindow() {
    static bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = TestWindowProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      wc.lpszClassName = L"SkinTestWindow";
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      appLabelBrush = CreateSolidBrush(kAppLabelColour);
      return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    window = CreateWindowExW(0, L"SkinTestWindow", L"skin", WS_POPUP | WS_CLIPCHILDREN, 20, 20, 480, 320,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0) {
      return CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                             reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
    };
    label = child(L"Static", L"label", 0, 10, 10, 120, 24, 1);
    ownLabel = child(L"Static", L"own", 0, 140, 10, 120, 24, 2);
    edit = child(L"Edit", L"", ES_AUTOHSCROLL, 10, 44, 200, 26, 3, WS_EX_CLIENTEDGE);
    button = child(L"Button", L"OK", BS_PUSHBUTTON, 10, 80, 160, 30, 4);
    disabled = child(L"Button", L"No", BS_PUSHBUTTON | WS_DISABLED, 180, 80, 160, 30, 5);
    tab = child(WC_TABCONTROLW, L"", 0, 10, 120, 300, 80, 6);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"one");
    SendMessageW(tab, TCM_INSERTITEMW, 0, LPARAM(&item));
    item.pszText = const_cast<wchar_t*>(L"two");
    SendMessageW(tab, TCM_INSERTITEMW, 1, LPARAM(&item));
    progress = child(PROGRESS_CLASSW, L"", 0, 10, 220, 200, 20, 7);
    SendMessageW(progress, PBM_SETRANGE32, 0, 100);
    SendMessageW(progress, PBM_SETPOS, 50, 0);
    ShowWindow(window, SW_SHOWNORMAL);
    Settle();
  }
  ~TestWindow() { DestroyWindow(window); }

  void Settle() const {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  static COLORREF Pixel(HWND control, int x, int y) {
    HDC dc = GetDC(control);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return c;
  }
  COLORREF Background() const { return Pixel(window, 400, 260); }
  COLORREF ButtonFace(HWND b) const { return Pixel(b, 6, 15); }
};

std::string Hex(COLORREF c) {
  char text[16];
  wsprintfA(text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 1 && std::abs(GetGValue(a) - GetGValue(b)) <= 1 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 1;
}

class SkinEngineTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&init);
  }
  // A freshly loaded engine for every test, so no skin carries over.
  void SetUp() override {
    ASSERT_TRUE(LoadSkinEngine());
    attach = reinterpret_cast<Attach>(SkinEngineModule.FindExport("SkinEngine_Attach"));
    ASSERT_NE(attach, nullptr);
  }
  void TearDown() override { SkinEngineModule.Free(); }
  int32_t Use(const std::string& skin, int32_t hue = 0, int32_t saturation = 0, int32_t brightness = 0) {
    return attach(skin.data(), int32_t(skin.size()), nullptr, hue, saturation, brightness);
  }
  Attach attach = nullptr;
};

TEST_F(SkinEngineTest, SkinnedWindowShowsTheSkinColours) {
  TestWindow w;
  EXPECT_EQ(w.Background(), kUnskinned);
  ASSERT_EQ(Use(TestSkin()), 1);
  w.Settle();
  struct Spot {
    const char* what;
    HWND window;
    int x, y;
    COLORREF expected;
  } spots[] = {
      {"window", w.window, 400, 260, RGB(0x33, 0x66, 0xCC)},
      {"label", w.label, 110, 20, RGB(0x33, 0x66, 0xCC)},
      {"label coloured by the program", w.ownLabel, 110, 20, kAppLabelColour},
      {"edit field", w.edit, 180, 10, RGB(0xE0, 0xF0, 0xE0)},
      {"button", w.button, 6, 15, RGB(0xC0, 0x30, 0x20)},
      {"button border", w.button, 0, 15, RGB(0x60, 0x00, 0x00)},
      {"disabled button", w.disabled, 6, 15, RGB(0xA0, 0xA0, 0xA0)},
      {"progress done", w.progress, 20, 10, RGB(0x10, 0xA0, 0xA0)},
      {"progress left", w.progress, 180, 10, RGB(0xF0, 0xF0, 0xA0)},
      {"tab strip", w.tab, 290, 4, RGB(0xD0, 0xD0, 0xF0)},
  };
  for (const Spot& s : spots) EXPECT_EQ(Hex(TestWindow::Pixel(s.window, s.x, s.y)), Hex(s.expected)) << s.what;
}

TEST_F(SkinEngineTest, TitleBarAndFrameTakeTheCaptionColours) {
  HWND window = CreateWindowExW(0, L"SkinTestWindow", L"title", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                40, 40, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(Use(TestSkin()), 1);
  auto framePixel = [&](int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return Hex(c);
  };
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  EXPECT_EQ(framePixel(150, 8), "#123456");  // the middle of the title bar, clear of text and buttons
  EXPECT_EQ(framePixel(0, 100), "#0A0B0C");
  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(framePixel(150, 8), "#654321");
  DestroyWindow(window);
}

TEST_F(SkinEngineTest, ButtonStatesAndWindowsCreatedLater) {
  ASSERT_EQ(Use(TestSkin()), 1);
  TestWindow w;  // made after the attach: the creation hook skins it
  EXPECT_EQ(Hex(w.Background()), "#3366CC");
  EXPECT_EQ(Hex(w.ButtonFace(w.button)), "#C03020");
  SendMessageW(w.button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Hex(w.ButtonFace(w.button)), "#20C030");  // hot
  SendMessageW(w.button, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(Hex(w.ButtonFace(w.button)), "#2030C0");  // pressed
  SendMessageW(w.button, BM_SETSTATE, FALSE, 0);
  SendMessageW(w.button, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Hex(w.ButtonFace(w.button)), "#C03020");
  EnableWindow(w.button, FALSE);
  EXPECT_EQ(Hex(w.ButtonFace(w.button)), "#A0A0A0");
}

TEST_F(SkinEngineTest, SkinnedControlsKeepWorking) {
  ASSERT_EQ(Use(TestSkin()), 1);
  TestWindow w;
  clicks = 0;
  SendMessageW(w.button, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  SetWindowTextW(w.edit, L"typed");
  wchar_t text[16];
  GetWindowTextW(w.edit, text, 16);
  EXPECT_STREQ(text, L"typed");
  SendMessageW(w.tab, TCM_SETCURSEL, 1, 0);
  EXPECT_EQ(SendMessageW(w.tab, TCM_GETCURSEL, 0, 0), 1);
  // A button whose click destroys it: the engine is still on its stack when that happens.
  HWND doomed = CreateWindowExW(0, L"Button", L"x", WS_CHILD | WS_VISIBLE, 300, 10, 60, 24, w.window,
                                reinterpret_cast<HMENU>(INT_PTR(9)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(doomed, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(doomed));
  EXPECT_EQ(clicks, 2);
}

LRESULT CALLBACK MagentaButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message != WM_PAINT) return DefSubclassProc(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &ps.rcPaint, brush);
  DeleteObject(brush);
  EndPaint(window, &ps);
  return 0;
}

TEST_F(SkinEngineTest, ControlThatProgramPaintsKeepsItsPainting) {
  TestWindow w;
  SetWindowSubclass(w.button, MagentaButton, 1, 0);
  ASSERT_EQ(Use(TestSkin()), 1);
  w.Settle();
  EXPECT_EQ(Hex(w.ButtonFace(w.button)), "#FF00FF");
  EXPECT_EQ(Hex(w.ButtonFace(w.disabled)), "#A0A0A0");  // its untouched neighbour is skinned
}

TEST_F(SkinEngineTest, AdjustmentsMoveHueSaturationAndBrightness) {
  struct Case {
    int32_t hue, saturation, brightness;
    COLORREF expected;  // from #3366CC: hue 220 degrees, saturation 0.6, lightness 0.5
  } cases[] = {
      {0, 0, 0, RGB(0x33, 0x66, 0xCC)},      {180, 0, 0, RGB(0xCC, 0x99, 0x33)},
      {-180, 0, 0, RGB(0xCC, 0x99, 0x33)},   {540, 0, 0, RGB(0xCC, 0x99, 0x33)},
      {0, -100, 0, RGB(0x80, 0x80, 0x80)},   {0, 0, 100, RGB(0xFF, 0xFF, 0xFF)},
      {0, 0, -100, RGB(0x00, 0x00, 0x00)},   {0, 0, 50, RGB(0x99, 0xB3, 0xE6)},
      {0, 0, 250, RGB(0xFF, 0xFF, 0xFF)},    {0, 100, 0, RGB(0x00, 0x55, 0xFF)},
  };
  TestWindow w;
  for (const Case& c : cases) {
    ASSERT_EQ(Use(TestSkin(), c.hue, c.saturation, c.brightness), 1);
    w.Settle();
    EXPECT_TRUE(Near(w.Background(), c.expected))
        << c.hue << "," << c.saturation << "," << c.brightness << ": " << Hex(w.Background()) << " not " << Hex(c.expected);
  }
}

TEST_F(SkinEngineTest, AttachingAgainSwitchesSkins) {
  TestWindow w;
  ASSERT_EQ(Use(TestSkin("#3366CC")), 1);
  w.Settle();
  EXPECT_EQ(Hex(w.Background()), "#3366CC");
  ASSERT_EQ(Use(TestSkin("#AA5500")), 1);
  w.Settle();
  EXPECT_EQ(Hex(w.Background()), "#AA5500");
  EXPECT_EQ(Hex(TestWindow::Pixel(w.label, 110, 20)), "#AA5500");
}

TEST_F(SkinEngineTest, UnreadableSkinLeavesWindowsAsTheyWere) {
  const std::string good = TestSkin();
  std::string noMagic = good, missingKey = good, badColour = good, control = good, badNumber = good;
  noMagic[0] = 'T';
  missingKey.erase(missingKey.find("[font]"));
  badColour.replace(badColour.find("#3366CC"), 7, "#3366CG");
  control.replace(control.find("label]"), 1, std::string(1, '\0'));
  badNumber.replace(badNumber.find("size = 9"), 8, "size = 900");
  const std::string cases[] = {"", "tessapic-skin 1", noMagic, missingKey, badColour, control, badNumber,
                               good.substr(0, good.size() / 2), good + "no equals sign\n",
                               std::string(70000, '#')};
  TestWindow w;
  for (const std::string& skin : cases) {  // nothing attached yet: the window keeps its own look
    EXPECT_EQ(Use(skin), 0) << skin.size();
    w.Settle();
    EXPECT_EQ(w.Background(), kUnskinned);
  }
  ASSERT_EQ(Use(good), 1);
  for (const std::string& skin : cases) {  // a skin in force stays in force
    EXPECT_EQ(Use(skin), 0) << skin.size();
    w.Settle();
    EXPECT_EQ(Hex(w.Background()), "#3366CC");
  }
  EXPECT_EQ(attach(nullptr, 100, nullptr, 0, 0, 0), 0);
  EXPECT_EQ(attach(good.data(), -1, nullptr, 0, 0, 0), 0);
}

TEST_F(SkinEngineTest, UnloadingTheEngineHandsWindowsBack) {
  TestWindow w;
  ASSERT_EQ(Use(TestSkin()), 1);
  w.Settle();
  SkinEngineModule.Free();
  w.Settle();
  EXPECT_EQ(w.Background(), kUnskinned);
  SendMessageW(w.button, BM_CLICK, 0, 0);  // still works with the engine's code gone
}

}  // namespace
