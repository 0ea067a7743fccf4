// The image object over bytes held in the program.
#include <windows.h>

#include <gtest/gtest.h>

#include "dressing/ShadowPictures.h"
#include "loader/ImageObject.h"

namespace {

// A bottom-up 24-bit BMP of the given size, grey.
Bytes Bmp(int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  const int pixels = stride * h;
  Bytes b(54 + pixels, 0x80);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  std::fill(b.begin(), b.begin() + 54, 0);
  b[0] = 'B', b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  put32(34, static_cast<uint32_t>(pixels));
  return b;
}

TEST(ImageObject, DecodesPicturesAndAnswersTheirSize) {
  const struct {
    const char* what;
    Bytes bytes;
    int w, h;
  } cases[] = {
      {"shadow picture 5", ShadowPictureBytes(5), 100, 100},
      {"shadow picture 10", ShadowPictureBytes(10), 100, 100},
      {"bitmap", Bmp(7, 3), 7, 3},
  };
  ImageObject image;  // reused: every load replaces the one before
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(image.LoadFromBytes(c.bytes));
    EXPECT_NE(image.Handle(), nullptr);
    EXPECT_EQ(image.Width(), c.w);
    EXPECT_EQ(image.Height(), c.h);
    int32_t w = 0, h = 0;
    image.GetSize(w, h);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
  }
  image.Dispose();
  EXPECT_EQ(image.Handle(), nullptr);
  EXPECT_FALSE(image.HoldsMemory());
  EXPECT_FALSE(image.HoldsStream());
  EXPECT_EQ(image.Width(), 0);
}

TEST(ImageObject, BytesThatAreNoPictureLeaveNoImage) {
  const Bytes garbage(64, 0x5A);
  const Bytes picture = ShadowPictureBytes(5);
  const struct {
    const char* what;
    Bytes bytes;
    bool keepsMemory;  // decoding was tried: memory and stream stay until the next Dispose
  } cases[] = {
      {"empty", {}, false},
      {"four bytes", {0x89, 'P', 'N', 'G'}, false},
      {"garbage", garbage, true},
      {"cut picture", Bytes(picture.begin(), picture.begin() + 40), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ImageObject image;
    ASSERT_TRUE(image.LoadFromBytes(ShadowPictureBytes(10)));
    EXPECT_FALSE(image.LoadFromBytes(c.bytes));
    EXPECT_EQ(image.Handle(), nullptr);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_EQ(image.HoldsMemory(), c.keepsMemory);
    EXPECT_EQ(image.HoldsStream(), c.keepsMemory);
  }
}

}  // namespace
