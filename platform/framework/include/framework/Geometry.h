// The framework's geometry types: CPoint, CSize and CRect, thin value types over the Win32 POINT,
// SIZE and RECT structures, so they pass wherever those are expected (LPRECT, LPCRECT, POINT).
#pragma once

#include <windows.h>

class CSize;
class CPoint;
class CRect;

class CSize : public tagSIZE {
 public:
  CSize() noexcept { cx = cy = 0; }
  CSize(int initCX, int initCY) noexcept {
    cx = initCX;
    cy = initCY;
  }
  CSize(SIZE initSize) noexcept { *static_cast<SIZE*>(this) = initSize; }
  CSize(POINT initPt) noexcept {
    cx = initPt.x;
    cy = initPt.y;
  }
  // The low word is the width, the high word the height (both signed).
  CSize(DWORD dwSize) noexcept {
    cx = static_cast<short>(LOWORD(dwSize));
    cy = static_cast<short>(HIWORD(dwSize));
  }

  BOOL operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
  BOOL operator!=(SIZE size) const noexcept { return cx != size.cx || cy != size.cy; }
  void operator+=(SIZE size) noexcept {
    cx += size.cx;
    cy += size.cy;
  }
  void operator-=(SIZE size) noexcept {
    cx -= size.cx;
    cy -= size.cy;
  }
  void SetSize(int CX, int CY) noexcept {
    cx = CX;
    cy = CY;
  }

  CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const noexcept { return CSize(-cx, -cy); }
  inline CPoint operator+(POINT point) const noexcept;
  inline CPoint operator-(POINT point) const noexcept;
  inline CRect operator+(const RECT* lpRect) const noexcept;
  inline CRect operator-(const RECT* lpRect) const noexcept;
};

class CPoint : public tagPOINT {
 public:
  CPoint() noexcept { x = y = 0; }
  CPoint(int initX, int initY) noexcept {
    x = initX;
    y = initY;
  }
  CPoint(POINT initPt) noexcept { *static_cast<POINT*>(this) = initPt; }
  CPoint(SIZE initSize) noexcept {
    x = initSize.cx;
    y = initSize.cy;
  }
  // The low word is x, the high word y, both signed: the form of mouse-message coordinates.
  CPoint(LPARAM dwPoint) noexcept {
    x = static_cast<short>(LOWORD(dwPoint));
    y = static_cast<short>(HIWORD(dwPoint));
  }

  void Offset(int xOffset, int yOffset) noexcept {
    x += xOffset;
    y += yOffset;
  }
  void Offset(POINT point) noexcept { Offset(point.x, point.y); }
  void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
  void SetPoint(int X, int Y) noexcept {
    x = X;
    y = Y;
  }

  BOOL operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
  BOOL operator!=(POINT point) const noexcept { return x != point.x || y != point.y; }
  void operator+=(SIZE size) noexcept { Offset(size); }
  void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) noexcept { Offset(point); }
  void operator-=(POINT point) noexcept { Offset(-point.x, -point.y); }

  CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const noexcept { return CPoint(-x, -y); }
  CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
  // The difference of two points is a size.
  CSize operator-(POINT point) const noexcept { return CSize(x - point.x, y - point.y); }
  inline CRect operator+(const RECT* lpRect) const noexcept;
  inline CRect operator-(const RECT* lpRect) const noexcept;
};

// A rectangle whose right and bottom edges are exclusive, as everywhere in GDI. The members follow
// the Win32 rectangle functions: "empty" means no area, and the set operations give an empty
// rectangle (all zero) rather than failing when the result has no area.
class CRect : public tagRECT {
 public:
  CRect() noexcept { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) noexcept {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  CRect(const RECT& srcRect) noexcept { ::CopyRect(this, &srcRect); }
  CRect(LPCRECT lpSrcRect) noexcept { ::CopyRect(this, lpSrcRect); }
  CRect(POINT point, SIZE size) noexcept {
    right = (left = point.x) + size.cx;
    bottom = (top = point.y) + size.cy;
  }
  CRect(POINT topLeft, POINT bottomRight) noexcept {
    left = topLeft.x;
    top = topLeft.y;
    right = bottomRight.x;
    bottom = bottomRight.y;
  }

  int Width() const noexcept { return right - left; }
  int Height() const noexcept { return bottom - top; }
  CSize Size() const noexcept { return CSize(right - left, bottom - top); }
  CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(this); }
  CPoint& BottomRight() noexcept { return *(reinterpret_cast<CPoint*>(this) + 1); }
  const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(this); }
  const CPoint& BottomRight() const noexcept { return *(reinterpret_cast<const CPoint*>(this) + 1); }
  CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight() noexcept { SwapLeftRight(this); }
  static void SwapLeftRight(LPRECT lpRect) noexcept {
    LONG temp = lpRect->left;
    lpRect->left = lpRect->right;
    lpRect->right = temp;
  }

  operator LPRECT() noexcept { return this; }
  operator LPCRECT() const noexcept { return this; }

  BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const noexcept { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const noexcept { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) noexcept { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) noexcept {
    ::SetRect(this, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() noexcept { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT lpSrcRect) noexcept { ::CopyRect(this, lpSrcRect); }
  BOOL EqualRect(LPCRECT lpRect) const noexcept { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) noexcept { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) noexcept { ::InflateRect(this, size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) noexcept {
    left -= lpRect->left;
    top -= lpRect->top;
    right += lpRect->right;
    bottom += lpRect->bottom;
  }
  void InflateRect(int l, int t, int r, int b) noexcept {
    left -= l;
    top -= t;
    right += r;
    bottom += b;
  }
  void DeflateRect(int x, int y) noexcept { ::InflateRect(this, -x, -y); }
  void DeflateRect(SIZE size) noexcept { ::InflateRect(this, -size.cx, -size.cy); }
  void DeflateRect(LPCRECT lpRect) noexcept {
    left += lpRect->left;
    top += lpRect->top;
    right -= lpRect->right;
    bottom -= lpRect->bottom;
  }
  void DeflateRect(int l, int t, int r, int b) noexcept {
    left += l;
    top += t;
    right -= r;
    bottom -= b;
  }

  void OffsetRect(int x, int y) noexcept { ::OffsetRect(this, x, y); }
  void OffsetRect(SIZE size) noexcept { ::OffsetRect(this, size.cx, size.cy); }
  void OffsetRect(POINT point) noexcept { ::OffsetRect(this, point.x, point.y); }
  void MoveToY(int y) noexcept {
    bottom = Height() + y;
    top = y;
  }
  void MoveToX(int x) noexcept {
    right = Width() + x;
    left = x;
  }
  void MoveToXY(int x, int y) noexcept {
    MoveToX(x);
    MoveToY(y);
  }
  void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }

  // Each returns whether the result has any area; the result is all zero when it has none.
  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    return ::IntersectRect(this, lpRect1, lpRect2);
  }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept {
    return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
  }

  // Puts left <= right and top <= bottom.
  void NormalizeRect() noexcept {
    if (left > right) {
      LONG t = left;
      left = right;
      right = t;
    }
    if (top > bottom) {
      LONG t = top;
      top = bottom;
      bottom = t;
    }
  }

  void operator=(const RECT& srcRect) noexcept { ::CopyRect(this, &srcRect); }
  BOOL operator==(const RECT& rect) const noexcept { return ::EqualRect(this, &rect); }
  BOOL operator!=(const RECT& rect) const noexcept { return !::EqualRect(this, &rect); }
  void operator+=(POINT point) noexcept { OffsetRect(point.x, point.y); }
  void operator+=(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
  void operator+=(LPCRECT lpRect) noexcept { InflateRect(lpRect); }
  void operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) noexcept { OffsetRect(-size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) noexcept { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) noexcept { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) noexcept { ::UnionRect(this, this, &rect); }

  CRect operator+(POINT pt) const noexcept {
    CRect rect(*this);
    rect.OffsetRect(pt.x, pt.y);
    return rect;
  }
  CRect operator-(POINT pt) const noexcept {
    CRect rect(*this);
    rect.OffsetRect(-pt.x, -pt.y);
    return rect;
  }
  CRect operator+(SIZE size) const noexcept {
    CRect rect(*this);
    rect.OffsetRect(size.cx, size.cy);
    return rect;
  }
  CRect operator-(SIZE size) const noexcept {
    CRect rect(*this);
    rect.OffsetRect(-size.cx, -size.cy);
    return rect;
  }
  CRect operator+(LPCRECT lpRect) const noexcept {
    CRect rect(this);
    rect.InflateRect(lpRect);
    return rect;
  }
  CRect operator-(LPCRECT lpRect) const noexcept {
    CRect rect(this);
    rect.DeflateRect(lpRect);
    return rect;
  }
  CRect operator&(const RECT& rect2) const noexcept {
    CRect rect;
    ::IntersectRect(&rect, this, &rect2);
    return rect;
  }
  CRect operator|(const RECT& rect2) const noexcept {
    CRect rect;
    ::UnionRect(&rect, this, &rect2);
    return rect;
  }
  CRect MulDiv(int nMultiplier, int nDivisor) const noexcept {
    return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                 ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
  }
};

inline CPoint CSize::operator+(POINT point) const noexcept { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const noexcept { return CPoint(cx - point.x, cy - point.y); }
inline CRect CSize::operator+(const RECT* lpRect) const noexcept { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const noexcept { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const noexcept { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const noexcept { return CRect(lpRect) - *this; }
