// CPoint, CSize and CRect: the edge cases the grid and the toolkit lean on.
#include "afx.h"
#include "framework/Geometry.h"

#include <gtest/gtest.h>

TEST(CPointAndCSize, MouseCoordinatesKeepTheirSign) {
  CPoint pt(static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-5), 7)));
  EXPECT_EQ(-5, pt.x);
  EXPECT_EQ(7, pt.y);
  CSize size(static_cast<DWORD>(MAKELONG(static_cast<WORD>(-2), 3)));
  EXPECT_EQ(-2, size.cx);
  EXPECT_EQ(3, size.cy);
}

TEST(CPointAndCSize, ArithmeticMixesPointsAndSizes) {
  CPoint a(10, 20), b(3, 4);
  CSize diff = a - b;
  EXPECT_EQ(CSize(7, 16), diff);
  EXPECT_EQ(CPoint(13, 24), a + b);
  EXPECT_EQ(CPoint(11, 22), a + CSize(1, 2));
  EXPECT_EQ(CPoint(-10, -20), -a);
  a += CSize(1, 1);
  a -= CPoint(1, 1);
  EXPECT_EQ(CPoint(10, 20), a);
  a.Offset(5, -5);
  EXPECT_TRUE(a == CPoint(15, 15));
  EXPECT_TRUE(a != CPoint(15, 16));
  EXPECT_EQ(CRect(11, 12, 21, 22), CPoint(1, 2) + CRect(10, 10, 20, 20));
}

TEST(CRectMembers, RightAndBottomEdgesAreExclusive) {
  CRect rect(0, 0, 10, 5);
  EXPECT_TRUE(rect.PtInRect(CPoint(0, 0)));
  EXPECT_TRUE(rect.PtInRect(CPoint(9, 4)));
  EXPECT_FALSE(rect.PtInRect(CPoint(10, 4)));
  EXPECT_FALSE(rect.PtInRect(CPoint(9, 5)));
  EXPECT_EQ(10, rect.Width());
  EXPECT_EQ(5, rect.Height());
  EXPECT_EQ(CSize(10, 5), rect.Size());
}

TEST(CRectMembers, EmptyMeansNoAreaNullMeansAllZero) {
  EXPECT_TRUE(CRect().IsRectEmpty());
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
  EXPECT_FALSE(CRect(5, 5, 5, 10).IsRectNull());
  EXPECT_TRUE(CRect(10, 0, 0, 10).IsRectEmpty());  // inverted rectangles have no area either
  CRect rect(0, 0, 4, 4);
  rect.DeflateRect(3, 3);  // deflating past the middle inverts it
  EXPECT_EQ(CRect(3, 3, 1, 1), rect);
  EXPECT_TRUE(rect.IsRectEmpty());
}

TEST(CRectMembers, IntersectionOfDisjointOrTouchingRectanglesIsAllZero) {
  CRect result(1, 2, 3, 4);
  EXPECT_FALSE(result.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));  // shares only an edge
  EXPECT_TRUE(result.IsRectNull());
  EXPECT_TRUE(result.IntersectRect(CRect(0, 0, 10, 10), CRect(5, -5, 20, 5)));
  EXPECT_EQ(CRect(5, 0, 10, 5), result);
  EXPECT_EQ(CRect(5, 0, 10, 5), CRect(0, 0, 10, 10) & CRect(5, -5, 20, 5));
}

TEST(CRectMembers, UnionIgnoresEmptyOperands) {
  CRect result;
  EXPECT_TRUE(result.UnionRect(CRect(0, 0, 10, 10), CRect(50, 50, 50, 60)));
  EXPECT_EQ(CRect(0, 0, 10, 10), result);
  EXPECT_EQ(CRect(0, 0, 30, 30), CRect(0, 0, 10, 10) | CRect(20, 20, 30, 30));
  EXPECT_FALSE(result.UnionRect(CRect(), CRect(4, 4, 4, 4)));
  EXPECT_TRUE(result.IsRectNull());
}

TEST(CRectMembers, NormalizeSwapsInvertedEdges) {
  CRect rect(10, 20, 0, 5);
  rect.NormalizeRect();
  EXPECT_EQ(CRect(0, 5, 10, 20), rect);
  rect.NormalizeRect();
  EXPECT_EQ(CRect(0, 5, 10, 20), rect);
}

TEST(CRectMembers, InflateDeflateAndOffsetForms) {
  CRect rect(10, 10, 20, 20);
  rect.InflateRect(1, 2);
  EXPECT_EQ(CRect(9, 8, 21, 22), rect);
  rect.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(CRect(10, 10, 18, 18), rect);
  rect.InflateRect(CRect(1, 1, 1, 1));
  EXPECT_EQ(CRect(9, 9, 19, 19), rect);
  rect.DeflateRect(CSize(1, 1));
  EXPECT_EQ(CRect(10, 10, 18, 18), rect);
  rect.OffsetRect(-10, 5);
  EXPECT_EQ(CRect(0, 15, 8, 23), rect);
  rect.OffsetRect(CPoint(1, 1));
  rect.OffsetRect(CSize(-1, -1));
  EXPECT_EQ(CRect(0, 15, 8, 23), rect);
  EXPECT_EQ(CRect(2, 17, 10, 25), rect + CPoint(2, 2));
  EXPECT_EQ(CRect(-2, 13, 6, 21), rect - CSize(2, 2));
  rect.MoveToXY(100, 200);
  EXPECT_EQ(CRect(100, 200, 108, 208), rect);
}

TEST(CRectMembers, CornersAreReferencesIntoTheRectangle) {
  CRect rect(1, 2, 3, 4);
  rect.TopLeft() = CPoint(0, 0);
  rect.BottomRight().Offset(10, 10);
  EXPECT_EQ(CRect(0, 0, 13, 14), rect);
  EXPECT_EQ(CPoint(6, 7), rect.CenterPoint());
  EXPECT_EQ(CPoint(-1, -1), CRect(-3, -3, 0, 0).CenterPoint());  // rounds toward zero as the divide does
  CRect built(CPoint(5, 6), CSize(10, 20));
  EXPECT_EQ(CRect(5, 6, 15, 26), built);
  EXPECT_EQ(built, CRect(built.TopLeft(), built.BottomRight()));
}

TEST(CRectMembers, SubtractLeavesWhatACoveringRectangleDoesNotHide) {
  CRect result;
  EXPECT_TRUE(result.SubtractRect(CRect(0, 0, 10, 10), CRect(5, -1, 11, 11)));
  EXPECT_EQ(CRect(0, 0, 5, 10), result);
  // A partial overlap that does not cover a whole side leaves the source unchanged.
  EXPECT_TRUE(result.SubtractRect(CRect(0, 0, 10, 10), CRect(2, 2, 4, 4)));
  EXPECT_EQ(CRect(0, 0, 10, 10), result);
  EXPECT_FALSE(result.SubtractRect(CRect(0, 0, 10, 10), CRect(-1, -1, 11, 11)));
}

TEST(CRectMembers, PassesAsWin32Rectangle) {
  CRect rect(0, 0, 10, 10);
  ::InflateRect(rect, 1, 1);  // LPRECT conversion
  EXPECT_EQ(CRect(-1, -1, 11, 11), rect);
  const CRect& constRect = rect;
  EXPECT_TRUE(::EqualRect(constRect, &rect));  // LPCRECT conversion
  RECT plain = rect;
  EXPECT_EQ(-1, plain.left);
  EXPECT_EQ(CRect(0, 0, 50, 50), CRect(0, 0, 100, 100).MulDiv(1, 2));
}
