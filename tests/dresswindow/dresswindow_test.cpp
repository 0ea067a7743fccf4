// DressWindow: which skin reaches the engine, what DressingState keeps, and that a missing engine
// only takes the skin away.
#include <gtest/gtest.h>
#include <windows.h>

#include "dressing/BuiltinSkins.h"
#include "dressing/DressWindow.h"
#include "dressing/SkinEngineModule.h"

namespace {

class DressWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowExW(0, L"Static", L"dressed", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    if (!SkinEngineModule.Handle()) {
      ASSERT_TRUE(LoadSkinEngine());
    }
  }
  void TearDown() override { DestroyWindow(window); }
  HWND window = nullptr;
};

TEST_F(DressWindowTest, ChoosesTheSkinAndKeepsTheRawNumber) {
  const Bytes custom(BuiltinSkin(7, 1));
  struct Case {
    Param<int32_t> number, variant;
    Param<Bytes> data;
    Bytes expected;
  } cases[] = {
      {9, 1, {}, BuiltinSkin(9, 1)},
      {9, 2, {}, BuiltinSkin(9, 2)},
      {0, 1, {}, BuiltinSkin(1, 1)},
      {12, 1, {}, BuiltinSkin(1, 1)},
      {-3, 2, {}, BuiltinSkin(1, 2)},
      {3, 0, {}, BuiltinSkin(3, 2)},
      {3, {}, {}, BuiltinSkin(3, 2)},
      {{}, {}, {}, BuiltinSkin(1, 2)},
      {4, 1, custom, custom},
      {4, 1, Bytes{}, BuiltinSkin(4, 1)},  // empty data does not count
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DressWindow(window, c.data, c.number, c.variant), 1) << c.number.value;
    EXPECT_EQ(DressingState.skinBytes, c.expected) << c.number.value << "/" << c.variant.value;
    EXPECT_EQ(DressingState.skinNumber, c.number.value);
  }
}

TEST_F(DressWindowTest, EngineResultAndAdjustmentsPassThrough) {
  EXPECT_EQ(DressWindow(window, Bytes{'x'}), 0);  // the engine cannot read it
  EXPECT_EQ(DressingState.skinBytes, Bytes{'x'});
  EXPECT_EQ(DressWindow(window, {}, 2, 1, 30, -20, 10), 1);
}

TEST(BuiltinSkins, SizesOfTheEighteenBlobs) {
  const size_t sizes[9][2] = {{4343, 4349}, {5784, 5798}, {11295, 11299}, {7606, 7613}, {5179, 5176},
                              {3553, 3525}, {4219, 4228}, {3687, 3691},   {7573, 7579}};
  for (int n = 1; n <= 9; ++n)
    for (int v = 1; v <= 2; ++v) EXPECT_EQ(BuiltinSkin(n, v).size(), sizes[n - 1][v - 1]) << n << "-" << v;
  EXPECT_TRUE(BuiltinSkin(0, 1).empty());
  EXPECT_TRUE(BuiltinSkin(1, 3).empty());
}

TEST_F(DressWindowTest, ShadowSettingsAndDefaults) {
  struct Case {
    const char* what;
    Param<int32_t> atStart, kind;
    Param<uint32_t> colour;
    Param<int32_t> size;
    uint32_t storedColour;
    int32_t storedSize;
  } cases[] = {
      {"layered at start, defaults", 1, {}, {}, {}, RGB(120, 120, 120), 4},
      {"drawn, colour given", {}, 2, 0x00112233u, {}, 0x00112233u, 4},
      {"layered twice, size given", 1, 1, {}, 9, RGB(120, 120, 120), 9},
      {"no shadow keeps raw values", {}, {}, 0x00445566u, {}, 0x00445566u, 0},
      {"unknown kind keeps raw values", {}, 5, {}, 7, 0, 7},
  };
  for (const Case& c : cases) {
    DressWindow(window, {}, 9, 1, {}, {}, {}, {}, {}, c.atStart, c.kind, c.colour, c.size);
    EXPECT_EQ(DressingState.shadowColour, c.storedColour) << c.what;
    EXPECT_EQ(DressingState.shadowSize, c.storedSize) << c.what;
    EXPECT_EQ(DressingState.shadowKind, c.kind.value) << c.what;
  }
  EXPECT_EQ(DressingState.shadowsOn, 1);  // set by the first call, never reset since
  const ULONG_PTR token = DressingState.dressingGdiplusToken;
  EXPECT_NE(token, 0u);
  DressWindow(window, {}, 9, 1, {}, {}, {}, {}, {}, 1);
  EXPECT_EQ(DressingState.dressingGdiplusToken, token);  // started once
}

TEST_F(DressWindowTest, MissingEngineSkipsOnlyTheSkin) {
  ASSERT_TRUE(SkinEngineModule.Free());
  EXPECT_EQ(DressWindow(window, {}, 5, 1, {}, {}, {}, {}, {}, {}, 2, 0x00ABCDEFu, 6), 0);
  EXPECT_EQ(DressingState.skinBytes, BuiltinSkin(5, 1));
  EXPECT_EQ(DressingState.shadowKind, 2);
  EXPECT_EQ(DressingState.shadowColour, 0x00ABCDEFu);
  EXPECT_EQ(DressingState.shadowSize, 6);
  MemoryModule notTheEngine;  // a module without the export behaves the same
  EXPECT_EQ(notTheEngine.FindExport("SkinEngine_Attach"), nullptr);
  ASSERT_TRUE(LoadSkinEngine());
  EXPECT_EQ(SkinEngineModule.FindExport("skinengine_attach"), nullptr);
  EXPECT_NE(SkinEngineModule.FindExport("SkinEngine_Attach"), nullptr);
}

TEST_F(DressWindowTest, PromptSoundOnlyWithTheRedirection) {
  DressWindow(window, {}, 9, 1, {}, {}, {}, 1, 1);
  EXPECT_EQ(DressingState.promptSound, 1);
  DressWindow(window, {}, 9, 1, {}, {}, {}, 0, 0);
  EXPECT_EQ(DressingState.promptSound, 1);
  DressWindow(window, {}, 9, 1, {}, {}, {}, 1, 0);
  EXPECT_EQ(DressingState.promptSound, 0);
}

}  // namespace
