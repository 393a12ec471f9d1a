// Drawing helpers: gradients by pixel probes (system and hand-drawn), clipping, gradient values,
// buffered surfaces, scoped selection and the small pixel and text helpers.
#include <gtest/gtest.h>

#include <cstdlib>

#include "BufferDC.h"
#include "DrawHelpers.h"
#include "FakeSystemQueries.h"
#include "MemDC.h"
#include "ScopedBrush.h"
#include "ScopedPen.h"
#include "ToolkitCanvas.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

// Both gradient paths: the system's gradient fill and the hand-drawn one.
class GradientPaths : public ::testing::TestWithParam<bool> {
 protected:
  CXTPDrawHelpers helpers{GetParam() ? L"msimg32.dll" : L"no-such-gradient-library.dll"};
};

}  // namespace

TEST_P(GradientPaths, HorizontalGradientRunsFromFirstToSecondColour) {
  ToolkitCanvas canvas(110, 10);
  CRect rc(5, 0, 105, 10);
  helpers.DrawGradientRect(&canvas.dc(), rc, kRed, kBlue, TRUE);
  EXPECT_TRUE(ColorsNear(canvas.At(5, 5), kRed));
  EXPECT_TRUE(ColorsNear(canvas.At(104, 5), kBlue));
  EXPECT_TRUE(ColorsNear(canvas.At(55, 5), RGB(127, 0, 127), 8));
  EXPECT_EQ(canvas.At(2, 5), kWhite) << "nothing outside the rectangle";
  EXPECT_EQ(canvas.At(107, 5), kWhite);
}

TEST_P(GradientPaths, VerticalGradientRunsTopToBottom) {
  ToolkitCanvas canvas(10, 100);
  helpers.DrawGradientRect(&canvas.dc(), CRect(0, 0, 10, 100), kRed, kBlue, FALSE);
  EXPECT_TRUE(ColorsNear(canvas.At(5, 0), kRed));
  EXPECT_TRUE(ColorsNear(canvas.At(5, 99), kBlue));
  EXPECT_EQ(canvas.At(0, 50), canvas.At(9, 50)) << "rows are uniform";
}

TEST_P(GradientPaths, HorizontalGradientClippedToRightHalfStartsHalfWay) {
  ToolkitCanvas canvas(100, 10);
  CRect rc(0, 0, 100, 10), clip(50, 0, 100, 10);
  helpers.DrawGradientClipped(&canvas.dc(), rc, kRed, kBlue, TRUE, clip);
  EXPECT_EQ(canvas.At(49, 5), kWhite);
  EXPECT_TRUE(ColorsNear(canvas.At(50, 5), RGB(127, 0, 127), 8));
  EXPECT_TRUE(ColorsNear(canvas.At(99, 5), kBlue));
}

TEST_P(GradientPaths, ColourGradientWithOtherFactorMeetsAtTheBlend) {
  ToolkitCanvas canvas(100, 10);
  CXTPColorGradientValue value;
  value.SetStandardColors(kRed, kBlue, 0.3f);
  helpers.DrawColorGradient(&canvas.dc(), CRect(0, 0, 100, 10), value, TRUE);
  // The halves meet at 0.3 red + 0.7 blue.
  EXPECT_TRUE(ColorsNear(canvas.At(50, 5), RGB(76, 0, 178), 8)) << std::hex << canvas.At(50, 5);
  EXPECT_TRUE(ColorsNear(canvas.At(0, 5), kRed));
  EXPECT_TRUE(ColorsNear(canvas.At(99, 5), kBlue));
}

INSTANTIATE_TEST_SUITE_P(DrawHelpers, GradientPaths, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "SystemGradientFill" : "HandDrawn";
                         });

TEST(DrawHelpers, EqualColoursOrLowColourDisplayGiveOneSolidFill) {
  ToolkitCanvas canvas(50, 10);
  DrawGradientRect(&canvas.dc(), CRect(0, 0, 50, 10), kRed, kRed, TRUE);
  EXPECT_EQ(canvas.At(0, 0), kRed);
  EXPECT_EQ(canvas.At(49, 9), kRed);
  {
    FakeSystemQueries system;
    system.bitsPerPixel = 8;
    DrawGradientRect(&canvas.dc(), CRect(0, 0, 50, 10), kBlue, kRed, TRUE);
  }
  EXPECT_EQ(canvas.At(0, 0), kBlue);
  EXPECT_EQ(canvas.At(49, 9), kBlue);
}

TEST(DrawHelpers, EmptyOrMissingRectangleDrawsNothing) {
  ToolkitCanvas canvas(20, 20);
  DrawGradientRect(&canvas.dc(), CRect(5, 5, 5, 15), kRed, kBlue, TRUE);
  DrawGradientRect(&canvas.dc(), nullptr, kRed, kBlue, TRUE);
  EXPECT_EQ(canvas.At(5, 5), kWhite);
}

TEST(DrawHelpers, BlendRgbWeighsTheFirstColour) {
  EXPECT_EQ(BlendRGB(RGB(200, 100, 0), RGB(0, 0, 100), 0.5), RGB(100, 50, 50));
  EXPECT_EQ(BlendRGB(kRed, kBlue, 1.0), kRed);
  EXPECT_EQ(BlendRGB(kRed, kBlue, 0.0), kBlue);
  EXPECT_EQ(BlendRGB(RGB(255, 255, 255), RGB(255, 255, 255), 2.0), RGB(255, 255, 255)) << "limited to 255";
}

TEST(DrawHelpers, GradientValueFromOneColourFillsSolid) {
  ToolkitCanvas canvas(40, 10);
  CXTPColorGradientValue value(RGB(10, 200, 30));
  DrawColorGradient(&canvas.dc(), CRect(0, 0, 40, 10), value, TRUE);
  EXPECT_EQ(canvas.At(0, 0), RGB(10, 200, 30));
  EXPECT_EQ(canvas.At(39, 9), RGB(10, 200, 30));
}

TEST(BufferDC, CopiesTheRectangleBackOnDestruction) {
  ToolkitCanvas canvas(60, 40);
  {
    CXTPBufferDC buffer(canvas.dc().GetSafeHdc(), CRect(10, 10, 50, 30));
    buffer.FillSolidRect(0, 0, 60, 40, kRed);
    EXPECT_EQ(canvas.At(20, 20), kWhite) << "nothing reaches the target before the copy";
  }
  EXPECT_EQ(canvas.At(10, 10), kRed);
  EXPECT_EQ(canvas.At(49, 29), kRed);
  EXPECT_EQ(canvas.At(9, 20), kWhite) << "only the rectangle is copied";
  EXPECT_EQ(canvas.At(50, 20), kWhite);
}

TEST(MemDC, FillsWithTheBackgroundAndCopiesToTheRectangle) {
  ToolkitCanvas canvas(60, 40);
  {
    CXTMemDC memDC(&canvas.dc(), CRect(20, 10, 40, 30), CXTPColorGradientValue(kBlue));
    ASSERT_TRUE(memDC.IsValid());
    memDC.FillSolidRect(CRect(20, 10, 25, 15), kRed);  // the target's coordinates
    EXPECT_EQ(canvas.At(30, 20), kWhite);
  }
  EXPECT_EQ(canvas.At(20, 10), kRed);
  EXPECT_EQ(canvas.At(30, 20), kBlue);
  EXPECT_EQ(canvas.At(39, 29), kBlue);
  EXPECT_EQ(canvas.At(19, 20), kWhite);
}

TEST(MemDC, UnsetBackgroundFillsNothing) {
  ToolkitCanvas canvas(30, 30);
  canvas.dc().FillSolidRect(0, 0, 30, 30, kRed);
  {
    CXTMemDC memDC(&canvas.dc(), CRect(0, 0, 30, 30));
    memDC.FillSolidRect(CRect(0, 0, 10, 10), kBlue);
  }
  EXPECT_EQ(canvas.At(5, 5), kBlue);
  EXPECT_NE(canvas.At(20, 20), kBlue);
}

TEST(ScopedObjects, RestoreTheSelectionAndReportTheirColour) {
  ToolkitCanvas canvas(10, 10);
  HGDIOBJ penBefore = ::GetCurrentObject(canvas.dc().GetSafeHdc(), OBJ_PEN);
  HGDIOBJ brushBefore = ::GetCurrentObject(canvas.dc().GetSafeHdc(), OBJ_BRUSH);
  {
    CXTPScopedPen pen(&canvas.dc(), kRed);
    CXTPScopedBrush brush(&canvas.dc(), kBlue);
    EXPECT_EQ(pen.GetColor(), kRed);
    brush.SetColor(kRed);
    canvas.dc().Rectangle(0, 0, 10, 10);
  }
  EXPECT_EQ(canvas.At(5, 5), kRed);
  EXPECT_EQ(::GetCurrentObject(canvas.dc().GetSafeHdc(), OBJ_PEN), penBefore);
  EXPECT_EQ(::GetCurrentObject(canvas.dc().GetSafeHdc(), OBJ_BRUSH), brushBefore);
}

TEST(DrawHelpers, AveragePixelsNeverReadsPastAnOddCount) {
  ToolkitCanvas canvas(10, 10);
  canvas.dc().SetPixel(1, 1, RGB(200, 100, 0));
  canvas.dc().SetPixel(3, 1, RGB(0, 100, 201));
  canvas.dc().SetPixel(5, 5, RGB(10, 20, 30));
  // Heap-allocated to the exact count, so a read of the missing offset would be caught by tools.
  POINT* points = new POINT[3]{{1, 1}, {2, 0}, {5, 5}};
  AveragePixels(&canvas.dc(), points, 3);
  delete[] points;
  EXPECT_EQ(canvas.At(1, 1), RGB(100, 100, 100));
  EXPECT_EQ(canvas.At(5, 5), RGB(10, 20, 30)) << "an unpaired point is left alone";
}

TEST(DrawHelpers, StripMnemonicsRemovesSingleAmpersands) {
  CString text(_T("&File && &Edit&"));
  StripMnemonics(text);
  EXPECT_STREQ(static_cast<LPCTSTR>(text), _T("File & Edit"));
  CString doubled(_T("a&&&b"));
  StripMnemonics(doubled);
  EXPECT_STREQ(static_cast<LPCTSTR>(doubled), _T("a&&b"));
}

TEST(DrawHelpers, SafeRectanglesOfMissingOrDestroyedWindowsAreEmpty) {
  EXPECT_TRUE(GetSafeWindowRectFromHandle(nullptr).IsRectNull());
  EXPECT_TRUE(GetSafeClientRect(nullptr).IsRectNull());
  HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 40, 30, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (hWnd == nullptr) GTEST_SKIP() << "no window could be made";
  CWnd wnd;
  wnd.Attach(hWnd);
  EXPECT_FALSE(GetSafeClientRect(&wnd).IsRectEmpty());
  wnd.Detach();
  ::DestroyWindow(hWnd);
  CWnd destroyed;
  destroyed.m_hWnd = hWnd;
  EXPECT_TRUE(GetSafeClientRect(&destroyed).IsRectNull());
  EXPECT_TRUE(GetSafeWindowRect(&destroyed).IsRectNull());
  destroyed.m_hWnd = nullptr;
}

TEST(DrawHelpers, IconFromBitmapNeedsABitmapWithPixels) {
  EXPECT_EQ(IconFromBitmap(nullptr), nullptr);
  ToolkitCanvas canvas(1, 1);
  CBitmap bitmap;
  bitmap.Attach(::CreateCompatibleBitmap(canvas.dc().GetSafeHdc(), 16, 16));
  HICON icon = IconFromBitmap(static_cast<HBITMAP>(bitmap.GetSafeHandle()));
  EXPECT_NE(icon, nullptr);
  if (icon != nullptr) ::DestroyIcon(icon);
}

TEST(DrawHelpers, UIFontFaceIsAnInstalledFace) {
  CString face = GetUIFontFace(TRUE);
  EXPECT_FALSE(face.IsEmpty());
  EXPECT_FALSE(FindFontFace(_T("No Such Font Face 12345")));
}

TEST(DrawHelpers, ExcludeRectCornersKeepsTheFourCornerPixels) {
  ToolkitCanvas canvas(20, 20);
  const CRect rc(2, 3, 12, 15);
  const int nSaved = canvas.dc().SaveDC();
  ExcludeRectCorners(&canvas.dc(), rc);
  canvas.dc().FillSolidRect(rc, kRed);
  canvas.dc().RestoreDC(nSaved);
  EXPECT_EQ(canvas.At(2, 3), kWhite);
  EXPECT_EQ(canvas.At(11, 3), kWhite);
  EXPECT_EQ(canvas.At(2, 14), kWhite);
  EXPECT_EQ(canvas.At(11, 14), kWhite);
  EXPECT_EQ(canvas.At(3, 3), kRed);
  EXPECT_EQ(canvas.At(2, 4), kRed);
  EXPECT_EQ(canvas.At(10, 14), kRed);
  canvas.dc().FillSolidRect(rc, kBlue);
  EXPECT_EQ(canvas.At(2, 3), kBlue) << "only the clip of the saved state had the holes";
}

// The four window-button glyphs drawn with lines, as where the symbol font is missing: a cross for
// close, a bar at the foot for minimise, a window with a thick top for maximise and two windows for
// restore, each centred in its button, in the text colour, and the background colour left as it was.
TEST(MarlettGlyphs, LineGlyphsAreCentredShapesInTheTextColour) {
  ToolkitCanvas canvas(16 * 5, 16);
  CDC& dc = canvas.dc();
  dc.SetTextColor(kBlue);
  dc.SetBkColor(kRed);
  const TCHAR glyphs[] = {kMarlettClose, kMarlettMinimize, kMarlettMaximize, kMarlettRestore};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(DrawMarlettGlyphLines(&dc, CRect(i * 16, 0, i * 16 + 16, 16), glyphs[i]));
  EXPECT_FALSE(DrawMarlettGlyphLines(&dc, CRect(64, 0, 80, 16), _T('x'))) << "not one of the four";
  EXPECT_EQ(dc.GetBkColor(), kRed);
  canvas.SavePng(L"marlett_line_glyphs.png");

  // Close: both diagonals of the 8-pixel box from (4, 4) to (11, 11), nothing at the middle of its sides.
  for (int d = 0; d < 8; ++d) {
    EXPECT_EQ(canvas.At(4 + d, 4 + d), kBlue) << d;
    EXPECT_EQ(canvas.At(11 - d, 4 + d), kBlue) << d;
  }
  EXPECT_EQ(canvas.At(4, 8), kWhite);
  EXPECT_EQ(canvas.At(8, 4), kWhite);
  // Minimise: a two-pixel bar along the box's foot only.
  EXPECT_EQ(canvas.At(16 + 8, 10), kBlue);
  EXPECT_EQ(canvas.At(16 + 8, 11), kBlue);
  EXPECT_EQ(canvas.At(16 + 8, 6), kWhite);
  // Maximise: a hollow window with a two-pixel top.
  EXPECT_EQ(canvas.At(32 + 8, 4), kBlue);
  EXPECT_EQ(canvas.At(32 + 8, 5), kBlue);
  EXPECT_EQ(canvas.At(32 + 4, 8), kBlue);
  EXPECT_EQ(canvas.At(32 + 11, 8), kBlue);
  EXPECT_EQ(canvas.At(32 + 8, 11), kBlue);
  EXPECT_EQ(canvas.At(32 + 8, 8), kWhite);
  // Restore: the front window's inside stays clear of the back window's edges.
  EXPECT_EQ(canvas.At(48 + 6, 4), kBlue);
  EXPECT_EQ(canvas.At(48 + 11, 6), kBlue);
  EXPECT_EQ(canvas.At(48 + 4, 10), kBlue);
  for (int x = 48 + 5; x < 48 + 9; ++x) EXPECT_EQ(canvas.At(x, 9), kWhite) << x;
  // The unknown glyph drew nothing.
  for (int x = 64; x < 80; ++x) EXPECT_EQ(canvas.At(x, 8), kWhite) << x;
}

// The symbol font is used where the system has it; where the face it selects is another one, the
// result is the line drawing, never the letter the glyph is stored under.
TEST(MarlettGlyphs, GlyphFollowsTheFaceTheSystemSelects) {
  ToolkitCanvas drawn(16, 16), lines(16, 16);
  drawn.dc().SetTextColor(kBlue);
  lines.dc().SetTextColor(kBlue);
  DrawMarlettGlyph(&drawn.dc(), CRect(0, 0, 16, 16), kMarlettClose);
  DrawMarlettGlyphLines(&lines.dc(), CRect(0, 0, 16, 16), kMarlettClose);

  CFont font;
  ASSERT_TRUE(font.CreatePointFont(80, _T("Marlett"), &drawn.dc()));
  CFont* pOld = drawn.dc().SelectObject(&font);
  CString strFace;
  drawn.dc().GetTextFace(strFace);
  drawn.dc().SelectObject(pOld);
  int nInk = 0, nDiffering = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      nInk += drawn.At(x, y) != kWhite;
      nDiffering += drawn.At(x, y) != lines.At(x, y);
    }
  }
  EXPECT_GT(nInk, 6);
  if (strFace.CompareNoCase(_T("Marlett")) != 0) {
    EXPECT_EQ(nDiffering, 0) << "face " << static_cast<LPCTSTR>(strFace);
  }
}
