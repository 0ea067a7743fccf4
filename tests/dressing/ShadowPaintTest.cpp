// What the shadows paint, read back from a bitmap in memory.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "dressing/DrawnShadow.h"
#include "dressing/LayeredShadow.h"
#include "dressing/ShadowDrawing.h"
#include "tests/dressing/ShadowProbe.h"

namespace {

constexpr int kW = 60;
constexpr int kH = 50;

struct Ring {
  int size;
  int step;
};

// Alpha per ring at the middle of each side, outermost first, and the premultiplied colour.
void ExpectRings(const PixelCanvas& c, int size, const std::vector<int>& alphas, int grey) {
  for (int i = 0; i < size; ++i) {
    SCOPED_TRACE(i + 1);
    const int a = alphas[i];
    EXPECT_EQ(c.Alpha(i, kH / 2), a);
    EXPECT_EQ(c.Alpha(kW - 1 - i, kH / 2), a);
    EXPECT_EQ(c.Alpha(kW / 2, i), a);
    EXPECT_EQ(c.Alpha(kW / 2, kH - 1 - i), a);
    EXPECT_NEAR(static_cast<int>(c.At(i, kH / 2) & 0xFF), grey * a / 255, 1);
  }
  // Nothing inside the band: the host shows through.
  EXPECT_EQ(c.At(size, kH / 2), 0u);
  EXPECT_EQ(c.At(kW / 2, kH / 2), 0u);
  EXPECT_EQ(c.At(kW - 1 - size, kH - 1 - size), 0u);
}

std::vector<int> Steps(int size, int step) {
  std::vector<int> alphas;
  for (int i = 1; i <= size; ++i) alphas.push_back(step * i);
  return alphas;
}

TEST(ShadowPaint, LayeredRingsFadeOutwardsByStep) {
  const Ring rings[] = {{4, 25}, {9, 16}, {8, 12}, {10, 15}, {1, 100}};
  for (const Ring& r : rings) {
    SCOPED_TRACE(r.size);
    HWND props = MakePropertyWindow(RGB(120, 120, 120), r.size);
    PixelCanvas canvas(kW, kH);
    DrawShadowRings(props, canvas.dc(), kW, kH);
    ExpectRings(canvas, r.size, Steps(r.size, r.step), 120);
    // Square corners: the outermost ring reaches the corner pixel.
    EXPECT_EQ(canvas.Alpha(0, 0), r.step);
    DestroyWindow(props);
  }
}

// Black at width 5 or 10 paints the built-in picture; anything else rounded rings.
TEST(ShadowPaint, DrawnShadowPaintsPictureOnlyForBlackFiveOrTen) {
  const struct {
    uint32_t colour;
    int size;
    std::vector<int> alphas;
    int grey;
  } cases[] = {
      {0, 5, {15, 31, 53, 79, 111}, 0},
      {0, 10, {11, 19, 28, 40, 53, 68, 85, 105, 122, 137}, 0},
      {RGB(120, 120, 120), 5, Steps(5, 20), 120},
      {RGB(120, 120, 120), 10, Steps(10, 15), 120},
      {0, 4, Steps(4, 25), 0},
      {0, 2, Steps(2, 50), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colour << "/" << c.size);
    HWND props = MakePropertyWindow(c.colour, c.size);
    PixelCanvas canvas(kW, kH);
    DrawDrawnShadow(props, canvas.dc(), kW, kH);
    ExpectRings(canvas, c.size, c.alphas, c.grey);
    // Rounded (radius 4 for rings, however thin) or faded picture corners: the corner pixel
    // stays clear.
    EXPECT_EQ(canvas.Alpha(0, 0), 0);
    DestroyWindow(props);
  }
}

// A picture whose pixels tell where they came from: red = 2x, green = 2y.
class CoordinatePicture {
 public:
  CoordinatePicture(int w, int h) : pixels_(static_cast<size_t>(w) * h) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) pixels_[y * w + x] = 0xFF000000u | (2u * x) << 16 | (2u * y) << 8;
    }
    gp::GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(pixels_.data()), &bitmap_);
  }
  ~CoordinatePicture() {
    if (bitmap_) gp::GdipDisposeImage(bitmap_);
  }
  Gdiplus::GpImage* get() const { return bitmap_; }

 private:
  std::vector<uint32_t> pixels_;
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

int SourceX(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF) / 2; }
int SourceY(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF) / 2; }

TEST(ShadowPaint, NineSliceKeepsCornersOfTheMarginUnscaled) {
  const struct {
    int w, h, margin;
  } cases[] = {{100, 100, 20}, {81, 81, 20}, {80, 80, 10}, {60, 90, 10}, {51, 51, 10},
               {50, 50, 5},    {40, 100, 5}, {100, 40, 5}};
  constexpr int W = 200, H = 160;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    CoordinatePicture picture(c.w, c.h);
    ASSERT_NE(picture.get(), nullptr);
    PixelCanvas canvas(W, H);
    GdipGraphics graphics;
    gp::GdipCreateFromHDC(canvas.dc(), graphics.out());
    DrawNineSlice(graphics.get(), picture.get(), W, H);

    const int m = c.margin;
    for (int k : {0, m - 2}) {
      EXPECT_EQ(SourceX(canvas.At(k, k)), k);
      EXPECT_EQ(SourceY(canvas.At(k, k)), k);
      EXPECT_EQ(SourceX(canvas.At(W - 1 - k, H - 1 - k)), c.w - 1 - k);
      EXPECT_EQ(SourceY(canvas.At(W - 1 - k, H - 1 - k)), c.h - 1 - k);
    }
    // Just past the margin the middle is stretched: the picture's pixel lies nearer the corner.
    EXPECT_LT(SourceX(canvas.At(m + 3, m + 3)), m + 3);
    EXPECT_LT(SourceY(canvas.At(m + 3, m + 3)), m + 3);
  }
}

TEST(ShadowPaint, RoundedPathIsPlainRectangleWithoutRadius) {
  const struct {
    float radius;
    int points;  // four arcs of Bezier points, or the rectangle's four corners
  } cases[] = {{0.0f, 4}, {-2.0f, 4}, {4.0f, 16}, {500.0f, 16}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radius);
    GdipPath path(RoundedRectPath(1.0f, 2.0f, 50.0f, 40.0f, c.radius));
    ASSERT_NE(path.get(), nullptr);
    INT count = 0;
    gp::GdipGetPointCount(path.get(), &count);
    EXPECT_EQ(count, c.points);
  }
}

}  // namespace
