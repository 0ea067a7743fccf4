// GDI+ runs for the whole test program, as it does from the program's start-up on.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

namespace {

class GdiplusRunning : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }

 private:
  ULONG_PTR token_ = 0;
};

[[maybe_unused]] auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusRunning);

}  // namespace
