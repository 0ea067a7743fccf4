// Checks the ground the other test programs stand on: code page 936, a display, literals.
#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

TEST(Harness, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(Harness, NarrowLiteralsAreCodePage936) {
  const char* text = "首页";
  EXPECT_EQ(std::strlen(text), 4u);
  EXPECT_EQ(std::memcmp(text, "\xca\xd7\xd2\xb3", 4), 0);
}

TEST(Harness, DisplayIsThere) {
  HWND w = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  DestroyWindow(w);
}
