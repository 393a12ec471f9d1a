// CDC on memory DCs: pixel probes of the drawing members the toolkit and the grid depend on.
#include "Canvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 16x16 icon whose colour image is solid `color` and whose mask is fully opaque.
HICON MakeSolidIcon(COLORREF color) {
  Canvas colorImage(16, 16);
  colorImage.dc().FillSolidRect(0, 0, 16, 16, color);
  CBitmap colorBitmap;
  colorBitmap.CreateCompatibleBitmap(&colorImage.dc(), 16, 16);
  CDC copy;
  copy.CreateCompatibleDC(nullptr);
  CBitmap* old = copy.SelectObject(&colorBitmap);
  copy.BitBlt(0, 0, 16, 16, &colorImage.dc(), 0, 0, SRCCOPY);
  copy.SelectObject(old);
  std::vector<BYTE> maskBits(2 * 16, 0);  // 0 = opaque
  CBitmap mask;
  mask.CreateBitmap(16, 16, 1, 1, maskBits.data());
  ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(mask.m_hObject),
                   static_cast<HBITMAP>(colorBitmap.m_hObject)};
  return ::CreateIconIndirect(&info);
}

}  // namespace

TEST(CDCFills, FillSolidRectFillsAndLeavesTheBackgroundColour) {
  Canvas canvas(20, 20);
  canvas.dc().SetBkColor(kGreen);
  canvas.dc().FillSolidRect(CRect(2, 2, 6, 6), kRed);
  EXPECT_EQ(16, canvas.Count(kRed));
  EXPECT_EQ(kRed, canvas.At(5, 5));
  EXPECT_EQ(kWhite, canvas.At(6, 6));
  EXPECT_EQ(kRed, canvas.dc().GetBkColor());
  // A negative extent reaches left and up from the starting point.
  canvas.dc().FillSolidRect(10, 10, -3, -2, kBlue);
  EXPECT_EQ(6, canvas.Count(kBlue));
  EXPECT_EQ(kBlue, canvas.At(7, 8));
}

TEST(CDCFills, Draw3dRectGivesTheOuterCornersToTheBottomRightColour) {
  Canvas canvas(10, 10);
  canvas.dc().Draw3dRect(CRect(1, 1, 6, 5), kRed, kBlue);
  EXPECT_EQ(kRed, canvas.At(1, 1));
  EXPECT_EQ(kRed, canvas.At(4, 1));   // top edge stops one short of the right edge
  EXPECT_EQ(kBlue, canvas.At(5, 1));  // top-right corner
  EXPECT_EQ(kRed, canvas.At(1, 3));
  EXPECT_EQ(kBlue, canvas.At(1, 4));  // bottom-left corner
  EXPECT_EQ(kBlue, canvas.At(5, 4));
  EXPECT_EQ(kWhite, canvas.At(3, 2));  // inside stays untouched
  EXPECT_EQ(kWhite, canvas.At(6, 1));
  EXPECT_EQ(kWhite, canvas.At(1, 5));
  EXPECT_EQ(4 + 3 - 1, canvas.Count(kRed));  // the top-left corner belongs to both edges
  EXPECT_EQ(4 + 5 - 1, canvas.Count(kBlue));
  canvas.dc().Draw3dRect(0, 0, 0, 5, kGreen, kGreen);  // nothing to frame
  EXPECT_EQ(0, canvas.Count(kGreen));
}

TEST(CDCFills, FillRectFrameRectAndInvertRect) {
  Canvas canvas(10, 10);
  CBrush red(kRed);
  canvas.dc().FillRect(CRect(0, 0, 4, 4), &red);
  EXPECT_EQ(16, canvas.Count(kRed));
  CBrush blue(kBlue);
  canvas.dc().FrameRect(CRect(5, 5, 9, 9), &blue);
  EXPECT_EQ(12, canvas.Count(kBlue));
  EXPECT_EQ(kWhite, canvas.At(6, 6));
  canvas.dc().InvertRect(CRect(0, 0, 2, 1));
  EXPECT_EQ(RGB(0, 255, 255), canvas.At(0, 0));
  canvas.dc().FillRect(CRect(0, 0, 10, 10), nullptr);  // no brush: nothing drawn
  EXPECT_EQ(RGB(0, 255, 255), canvas.At(0, 0));
}

TEST(CDCPatterns, MonochromePatternBrushUsesTextAndBackgroundColours) {
  WORD bits[8];
  for (int i = 0; i < 8; i++) bits[i] = (i % 2 == 0) ? 0xF0 : 0x0F;  // left/right halves alternate by row
  CBitmap pattern;
  ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, bits));
  CBrush brush;
  ASSERT_TRUE(brush.CreatePatternBrush(&pattern));
  pattern.DeleteObject();  // the brush keeps its own copy

  Canvas canvas(16, 8);
  canvas.dc().SetTextColor(kRed);  // 0 bits
  canvas.dc().SetBkColor(kBlue);   // 1 bits
  CBrush* old = canvas.dc().SelectObject(&brush);
  ASSERT_NE(nullptr, old);
  EXPECT_TRUE(canvas.dc().PatBlt(0, 0, 16, 8, PATCOPY));
  canvas.dc().SelectObject(old);
  EXPECT_EQ(kBlue, canvas.At(0, 0));
  EXPECT_EQ(kRed, canvas.At(4, 0));
  EXPECT_EQ(kRed, canvas.At(0, 1));
  EXPECT_EQ(kBlue, canvas.At(4, 1));
  EXPECT_EQ(kBlue, canvas.At(8, 0));  // the pattern repeats every 8 pixels
  EXPECT_EQ(64, canvas.Count(kRed));
}

TEST(CDCPatterns, HalftoneBrushAlternatesAndPatInvertUndoesItself) {
  CBrush* halftone = CDC::GetHalftoneBrush();
  ASSERT_NE(nullptr, halftone);
  ASSERT_NE(nullptr, halftone->m_hObject);
  EXPECT_EQ(halftone, CDC::GetHalftoneBrush());

  Canvas canvas(8, 8);
  canvas.dc().SetTextColor(kBlack);
  canvas.dc().SetBkColor(kWhite);
  CBrush* old = canvas.dc().SelectObject(halftone);
  canvas.dc().PatBlt(0, 0, 8, 8, PATINVERT);
  // Every pixel differs from its right and lower neighbour.
  for (int y = 0; y < 7; y++)
    for (int x = 0; x < 7; x++) {
      EXPECT_NE(canvas.At(x, y), canvas.At(x + 1, y));
      EXPECT_NE(canvas.At(x, y), canvas.At(x, y + 1));
    }
  EXPECT_EQ(32, canvas.Count(kWhite));
  canvas.dc().PatBlt(0, 0, 8, 8, PATINVERT);
  canvas.dc().SelectObject(old);
  EXPECT_EQ(64, canvas.Count(kWhite));
}

TEST(CDCIcons, DrawStateDisabledEmbossesInsteadOfDrawingTheIcon) {
  HICON icon = MakeSolidIcon(kRed);
  ASSERT_NE(nullptr, icon);
  Canvas canvas(40, 20);
  canvas.dc().FillSolidRect(0, 0, 40, 20, ::GetSysColor(COLOR_3DFACE));
  EXPECT_TRUE(
      canvas.dc().DrawState(CPoint(0, 0), CSize(0, 0), icon, DSS_NORMAL, static_cast<HBRUSH>(nullptr)));
  EXPECT_TRUE(
      canvas.dc().DrawState(CPoint(20, 0), CSize(16, 16), icon, DSS_DISABLED, static_cast<CBrush*>(nullptr)));
  EXPECT_EQ(256, canvas.Count(CRect(0, 0, 16, 16), kRed));
  EXPECT_EQ(0, canvas.Count(CRect(20, 0, 36, 16), kRed));
  EXPECT_GT(canvas.Count(CRect(20, 0, 40, 20), ::GetSysColor(COLOR_3DSHADOW)), 0);
  canvas.dc().DrawIcon(CPoint(20, 0), icon);
  EXPECT_EQ(256, canvas.Count(CRect(20, 0, 36, 16), kRed));
  ::DestroyIcon(icon);
}

TEST(CDCClipping, IntersectAndExcludeLimitDrawing) {
  Canvas canvas(20, 20);
  int saved = canvas.dc().SaveDC();
  ASSERT_NE(0, saved);
  EXPECT_NE(ERROR, canvas.dc().IntersectClipRect(CRect(5, 5, 15, 15)));
  EXPECT_NE(ERROR, canvas.dc().ExcludeClipRect(8, 8, 10, 10));
  CRect box;
  EXPECT_EQ(COMPLEXREGION, canvas.dc().GetClipBox(&box));
  EXPECT_EQ(CRect(5, 5, 15, 15), box);
  EXPECT_FALSE(canvas.dc().PtVisible(9, 9));
  EXPECT_TRUE(canvas.dc().RectVisible(CRect(0, 0, 6, 6)));
  canvas.dc().FillSolidRect(0, 0, 20, 20, kRed);
  EXPECT_EQ(100 - 4, canvas.Count(kRed));
  EXPECT_EQ(kWhite, canvas.At(9, 9));
  EXPECT_EQ(kWhite, canvas.At(4, 4));
  EXPECT_TRUE(canvas.dc().RestoreDC(saved));
  canvas.dc().FillSolidRect(0, 0, 20, 20, kBlue);
  EXPECT_EQ(400, canvas.Count(kBlue));
}

TEST(CDCClipping, SelectClipRgnTakesACombinedRegionAndNullClearsIt) {
  Canvas canvas(20, 20);
  CRgn outer, inner, frame;
  ASSERT_TRUE(outer.CreateRectRgn(0, 0, 10, 10));
  ASSERT_TRUE(inner.CreateRectRgn(2, 2, 8, 8));
  ASSERT_TRUE(frame.CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(COMPLEXREGION, frame.CombineRgn(&outer, &inner, RGN_DIFF));
  EXPECT_TRUE(frame.PtInRegion(1, 1));
  EXPECT_FALSE(frame.PtInRegion(CPoint(5, 5)));
  EXPECT_EQ(ERROR, frame.CombineRgn(&outer, nullptr, RGN_AND));

  EXPECT_NE(ERROR, canvas.dc().SelectClipRgn(&frame));
  canvas.dc().FillSolidRect(0, 0, 20, 20, kRed);
  EXPECT_EQ(100 - 36, canvas.Count(kRed));
  EXPECT_NE(ERROR, canvas.dc().SelectClipRgn(&inner, RGN_OR));
  canvas.dc().FillSolidRect(0, 0, 20, 20, kGreen);
  EXPECT_EQ(100, canvas.Count(kGreen));
  EXPECT_NE(ERROR, canvas.dc().SelectClipRgn(nullptr));
  canvas.dc().FillSolidRect(0, 0, 20, 20, kBlue);
  EXPECT_EQ(400, canvas.Count(kBlue));
}

TEST(CDCMapping, AnisotropicModeScalesAndWindowOriginShifts) {
  Canvas canvas(40, 40);
  CDC& dc = canvas.dc();
  int saved = dc.SaveDC();
  EXPECT_EQ(MM_TEXT, dc.SetMapMode(MM_ANISOTROPIC));
  dc.SetWindowExt(100, 100);
  dc.SetViewportExt(CSize(200, 200));
  EXPECT_EQ(CSize(100, 100), dc.GetWindowExt());
  EXPECT_EQ(CSize(200, 200), dc.GetViewportExt());
  dc.SetWindowOrg(5, 0);
  EXPECT_EQ(CPoint(5, 0), dc.GetWindowOrg());
  dc.FillSolidRect(10, 10, 5, 5, kRed);  // device (10,20)-(20,30)
  CPoint pt(15, 15);
  dc.LPtoDP(&pt);
  EXPECT_EQ(CPoint(20, 30), pt);
  CSize size(10, 4);
  dc.LPtoDP(&size);
  EXPECT_EQ(CSize(20, 8), size);
  dc.DPtoLP(&size);
  EXPECT_EQ(CSize(10, 4), size);
  EXPECT_TRUE(dc.RestoreDC(saved));
  EXPECT_EQ(MM_TEXT, dc.GetMapMode());
  EXPECT_EQ(100, canvas.Count(kRed));
  EXPECT_EQ(kRed, canvas.At(10, 20));
  EXPECT_EQ(kRed, canvas.At(19, 29));
  EXPECT_EQ(kWhite, canvas.At(20, 30));
}

TEST(CDCShapes, LinesPolygonsAndFloodFill) {
  Canvas canvas(20, 20);
  CDC& dc = canvas.dc();
  CPen pen(PS_SOLID, 1, kBlack);
  CPen* oldPen = dc.SelectObject(&pen);
  ASSERT_NE(nullptr, oldPen);
  EXPECT_EQ(CPoint(0, 0), dc.MoveTo(2, 2));
  dc.LineTo(10, 2);
  dc.LineTo(2, 10);
  dc.LineTo(2, 2);  // a closed triangle
  EXPECT_EQ(CPoint(2, 2), dc.GetCurrentPosition());
  EXPECT_EQ(kBlack, canvas.At(5, 2));
  EXPECT_EQ(kBlack, canvas.At(2, 5));
  CBrush red(kRed);
  CBrush* oldBrush = dc.SelectObject(&red);
  EXPECT_TRUE(dc.ExtFloodFill(3, 3, kWhite, FLOODFILLSURFACE));
  EXPECT_EQ(kRed, canvas.At(4, 4));
  EXPECT_EQ(kWhite, canvas.At(15, 15));  // outside the triangle

  POINT square[] = {{12, 12}, {18, 12}, {18, 18}, {12, 18}};
  dc.SelectStockObject(NULL_PEN);
  CBrush blue(kBlue);
  dc.SelectObject(&blue);
  EXPECT_TRUE(dc.Polygon(square, 4));
  EXPECT_EQ(kBlue, canvas.At(14, 14));
  EXPECT_FALSE(dc.Polyline(square, 1));
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

TEST(CDCText, CalcRectMeasuresWithoutDrawing) {
  Canvas canvas(200, 50);
  CDC& dc = canvas.dc();
  CGdiObject* oldFont = dc.SelectStockObject(DEFAULT_GUI_FONT);
  ASSERT_NE(nullptr, oldFont);
  CRect rect(0, 0, 1000, 0);
  int height = dc.DrawText(CString(L"Page 1 of 2"), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(height, 0);
  EXPECT_EQ(height, rect.Height());
  EXPECT_EQ(dc.GetTextExtent(CString(L"Page 1 of 2")).cx, rect.Width());
  EXPECT_EQ(200 * 50, canvas.Count(kWhite));
  dc.SetTextColor(kBlack);
  dc.SetBkMode(TRANSPARENT);
  EXPECT_TRUE(dc.TextOut(0, 0, CString(L"Page")));
  EXPECT_GT(canvas.Count(kBlack), 0);
  TEXTMETRIC tm = {};
  EXPECT_TRUE(dc.GetTextMetrics(&tm));
  EXPECT_GT(tm.tmHeight, 0);
  EXPECT_EQ(CSize(0, 0), dc.GetTextExtent(nullptr, 5));
  dc.SelectObject(oldFont);
}

TEST(CDCBlits, BitBltAndStretchBltCopyBetweenMemoryDCs) {
  Canvas source(4, 4), target(8, 8);
  source.dc().FillSolidRect(0, 0, 2, 2, kRed);
  EXPECT_TRUE(target.dc().BitBlt(0, 0, 4, 4, &source.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(4, target.Count(kRed));
  target.dc().FillSolidRect(0, 0, 8, 8, kWhite);
  EXPECT_TRUE(target.dc().StretchBlt(0, 0, 8, 8, &source.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(16, target.Count(kRed));
  // SRCAND with black keeps nothing, SRCPAINT with white covers everything.
  Canvas black(4, 4);
  black.dc().FillSolidRect(0, 0, 4, 4, kBlack);
  target.dc().BitBlt(0, 0, 4, 4, &black.dc(), 0, 0, SRCAND);
  EXPECT_EQ(16, target.Count(CRect(0, 0, 4, 4), kBlack));
  target.dc().BitBlt(0, 0, 4, 4, &source.dc(), 0, 0, SRCPAINT);
  EXPECT_EQ(kRed, target.At(0, 0));
  EXPECT_EQ(kWhite, target.At(3, 3));
}

TEST(CDCHandles, FromHandleFindsTheOwnerElseATemporaryThatNeverDeletes) {
  CDC owner;
  ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
  EXPECT_EQ(&owner, CDC::FromHandle(owner.m_hDC));
  EXPECT_EQ(nullptr, CDC::FromHandle(nullptr));

  HDC foreign = ::CreateCompatibleDC(nullptr);
  CDC* temporary = CDC::FromHandle(foreign);
  ASSERT_NE(nullptr, temporary);
  EXPECT_EQ(foreign, temporary->GetSafeHdc());
  EXPECT_EQ(temporary, CDC::FromHandle(foreign));
  CDC::DeleteTempMap();
  EXPECT_NE(0, ::GetDeviceCaps(foreign, BITSPIXEL));  // still alive
  ::DeleteDC(foreign);

  CDC* none = nullptr;
  EXPECT_EQ(nullptr, none->GetSafeHdc());
  HDC detached = owner.Detach();
  EXPECT_EQ(nullptr, owner.m_hDC);
  EXPECT_NE(&owner, CDC::FromHandle(detached));
  CDC::DeleteTempMap();
  ::DeleteDC(detached);
}

TEST(CDCDevice, CapsAndPrintingFlag) {
  Canvas canvas(2, 2);
  EXPECT_GT(canvas.dc().GetDeviceCaps(LOGPIXELSX), 0);
  EXPECT_GT(canvas.dc().GetDeviceCaps(LOGPIXELSY), 0);
  EXPECT_GT(canvas.dc().GetDeviceCaps(HORZRES), 0);
  EXPECT_FALSE(canvas.dc().IsPrinting());
}

TEST(CDCFrames, DrawEdgeSunkenInnerUsesShadowTopLeftAndLightBottomRight) {
  Canvas canvas(10, 10);
  CRect rect(0, 0, 10, 10);
  EXPECT_TRUE(canvas.dc().DrawEdge(&rect, BDR_SUNKENINNER, BF_RECT | BF_ADJUST));
  EXPECT_EQ(CRect(1, 1, 9, 9), rect);  // BF_ADJUST leaves the inside
  EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), canvas.At(0, 5));
  EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), canvas.At(5, 0));
  EXPECT_EQ(::GetSysColor(COLOR_3DLIGHT), canvas.At(9, 5));
  EXPECT_EQ(::GetSysColor(COLOR_3DLIGHT), canvas.At(5, 9));
  EXPECT_EQ(kWhite, canvas.At(5, 5));
}

TEST(CDCText, EllipsisAndWordBreakKeepTextInsideTheRectangle) {
  Canvas canvas(300, 100);
  CDC& dc = canvas.dc();
  CGdiObject* oldFont = dc.SelectStockObject(DEFAULT_GUI_FONT);
  CString longText(L"Saving email 120 of 4000 - Inbox - a subject that goes on");
  CSize full = dc.GetTextExtent(longText);
  CRect narrow(0, 0, full.cx / 3, 20);
  dc.SetTextColor(kBlack);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(longText, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  EXPECT_GT(canvas.Count(CRect(0, 0, narrow.right, 20), kBlack), 0);
  EXPECT_EQ(0, canvas.Count(CRect(narrow.right, 0, 300, 20), kBlack));

  CRect wrapped(0, 0, full.cx / 3, 0);
  int height = dc.DrawText(longText, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  TEXTMETRIC tm = {};
  dc.GetTextMetrics(&tm);
  EXPECT_GE(height, 3 * tm.tmHeight);  // at least three lines
  EXPECT_LE(wrapped.Width(), full.cx / 3);
  dc.SelectObject(oldFont);
}

TEST(CDCIcons, DrawStateDisabledTextIsNotDrawnInTheTextColour) {
  Canvas canvas(120, 30);
  canvas.dc().FillSolidRect(0, 0, 120, 30, ::GetSysColor(COLOR_3DFACE));
  canvas.dc().SelectStockObject(DEFAULT_GUI_FONT);
  canvas.dc().SetTextColor(kRed);
  EXPECT_TRUE(canvas.dc().DrawState(CPoint(2, 2), CSize(0, 0), L"&Disabled", DSS_DISABLED, TRUE, 0,
                                    static_cast<HBRUSH>(nullptr)));
  EXPECT_EQ(0, canvas.Count(kRed));
  EXPECT_GT(canvas.Count(::GetSysColor(COLOR_3DSHADOW)), 0);
  canvas.dc().DrawState(CPoint(2, 2), CSize(0, 0), L"&Enabled", DSS_NORMAL, TRUE, 0,
                        static_cast<HBRUSH>(nullptr));
  EXPECT_GT(canvas.Count(kRed), 0);
}
