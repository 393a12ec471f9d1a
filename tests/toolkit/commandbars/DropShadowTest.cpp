// The pixels of the drop-shadow strips: alpha at the corners and along the strips for every strip
// length from 1 to 7 (no write outside the bitmap), and premultiplied colours that never exceed alpha.
#include <gtest/gtest.h>

#include <DropShadowWnd.h>

#include <vector>

namespace {

const DWORD kGuard = 0xDEADBEEF;

// A strip's pixels between guard words, so that a write outside the bitmap shows.
struct GuardedBits {
  GuardedBits(int cx, int cy) : cx(cx), cy(cy), words(static_cast<size_t>(cx) * cy + 32, kGuard) {
    for (int i = 16; i < 16 + cx * cy; ++i) words[static_cast<size_t>(i)] = 0;
  }
  DWORD* Bits() { return words.data() + 16; }
  // Row 0 is the bottom row of the bitmap.
  DWORD At(int x, int row) const { return words[16 + static_cast<size_t>(row) * cx + x]; }
  bool GuardsIntact() const {
    for (int i = 0; i < 16; ++i) {
      if (words[static_cast<size_t>(i)] != kGuard || words[words.size() - 1 - i] != kGuard) return false;
    }
    return true;
  }
  int cx, cy;
  std::vector<DWORD> words;
};

int Alpha(DWORD dw) { return static_cast<int>(dw >> 24); }

class ShadowLengthTest : public ::testing::TestWithParam<int> {};

TEST_P(ShadowLengthTest, BottomStripCornersFollowTheAlphaStepsAndStayInside) {
  const int W = GetParam();
  for (BOOL bFlat : {FALSE, TRUE}) {
    GuardedBits bits(W, 4);
    CXTPDropShadowWnd::FillShadowBits(bits.Bits(), W, 4, TRUE, RGB(0, 0, 0), bFlat);
    EXPECT_TRUE(bits.GuardsIntact()) << "width " << W;
    const int d = bFlat ? 3 : 6;
    for (int k = 0; k < 4; ++k) {
      // The right end is written last, so it holds wherever the two ends overlap.
      for (int j = 0; j < 4 && W - 1 - j >= 0; ++j)
        EXPECT_EQ(Alpha(bits.At(W - 1 - j, k)), (j + 1) * (k + 1) * d) << "width " << W << " row " << k;
      for (int c = 0; c < 4 && c < W - 4; ++c)
        EXPECT_EQ(Alpha(bits.At(c, k)), (c + 1) * (k + 1) * d) << "width " << W << " row " << k;
    }
  }
}

TEST_P(ShadowLengthTest, RightStripCornersFollowTheAlphaStepsAndStayInside) {
  const int H = GetParam();
  for (BOOL bFlat : {FALSE, TRUE}) {
    GuardedBits bits(4, H);
    CXTPDropShadowWnd::FillShadowBits(bits.Bits(), 4, H, FALSE, RGB(0, 0, 0), bFlat);
    EXPECT_TRUE(bits.GuardsIntact()) << "height " << H;
    const int d = bFlat ? 3 : 6;
    for (int j = 0; j < 4; ++j) {
      for (int k = 0; k < 4 && H - 1 - k >= 0; ++k)
        EXPECT_EQ(Alpha(bits.At(3 - j, H - 1 - k)), (j + 1) * (k + 1) * d) << "height " << H;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths1To7, ShadowLengthTest, ::testing::Range(1, 8));

TEST(DropShadowPixels, LongStripsFadeAwayFromThePopup) {
  GuardedBits bottom(40, 4);
  CXTPDropShadowWnd::FillShadowBits(bottom.Bits(), 40, 4, TRUE, RGB(0, 0, 0), FALSE);
  // Rows count from the bottom: the top row, next to the popup, is the darkest.
  EXPECT_EQ(Alpha(bottom.At(20, 3)), 120);
  EXPECT_EQ(Alpha(bottom.At(20, 0)), 30);
  GuardedBits right(4, 40);
  CXTPDropShadowWnd::FillShadowBits(right.Bits(), 4, 40, FALSE, RGB(0, 0, 0), TRUE);
  EXPECT_EQ(Alpha(right.At(0, 10)), 60);
  EXPECT_EQ(Alpha(right.At(3, 10)), 15);
  EXPECT_TRUE(bottom.GuardsIntact());
  EXPECT_TRUE(right.GuardsIntact());
}

TEST(DropShadowPixels, PremultipliedColoursNeverExceedTheirAlpha) {
  for (BOOL bBottom : {FALSE, TRUE}) {
    const int cx = bBottom ? 30 : 4, cy = bBottom ? 4 : 30;
    GuardedBits bits(cx, cy);
    CXTPDropShadowWnd::FillShadowBits(bits.Bits(), cx, cy, bBottom, RGB(255, 128, 200), FALSE);
    for (int row = 0; row < cy; ++row) {
      for (int x = 0; x < cx; ++x) {
        const DWORD dw = bits.At(x, row);
        const int a = Alpha(dw);
        EXPECT_LE(static_cast<int>((dw >> 16) & 0xFF), a);
        EXPECT_LE(static_cast<int>((dw >> 8) & 0xFF), a);
        EXPECT_LE(static_cast<int>(dw & 0xFF), a);
      }
    }
  }
  // A bright colour is capped by alpha; a dark one keeps the formula's value (colour times a quarter
  // per row).
  GuardedBits bright(30, 4);
  CXTPDropShadowWnd::FillShadowBits(bright.Bits(), 30, 4, TRUE, RGB(0, 0, 200), FALSE);
  EXPECT_EQ(bright.At(10, 0) & 0xFF, 30u);
  EXPECT_EQ(bright.At(10, 3) & 0xFF, 120u);
  GuardedBits dark(30, 4);
  CXTPDropShadowWnd::FillShadowBits(dark.Bits(), 30, 4, TRUE, RGB(0, 0, 100), FALSE);
  EXPECT_EQ(dark.At(10, 0) & 0xFF, 25u);
  EXPECT_EQ(dark.At(10, 1) & 0xFF, 50u);
  EXPECT_EQ(dark.At(10, 3) & 0xFF, 100u);
}

TEST(DropShadowPixels, AStripOfNoSizeIsNotPainted) {
  GuardedBits bits(1, 1);
  CXTPDropShadowWnd::FillShadowBits(bits.Bits(), 0, 4, TRUE, 0, FALSE);
  CXTPDropShadowWnd::FillShadowBits(bits.Bits(), 4, 0, FALSE, 0, FALSE);
  EXPECT_EQ(bits.At(0, 0), 0u);
  EXPECT_TRUE(bits.GuardsIntact());
}

}  // namespace
