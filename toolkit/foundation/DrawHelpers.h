// Drawing services shared by every painting class of the toolkit: gradients (the system's gradient
// fill where it exists, by hand otherwise), safe window rectangles, font faces, display depth and a
// few pixel helpers. User-interface thread only.
#pragma once

#include "ColorGradientValue.h"

// The gradient service: msimg32's GradientFill, bound when the object is made, freed with it.
class CXTPDrawHelpers {
 public:
  // Binds "GradientFill" of lpszModule; without it every gradient is drawn by hand.
  explicit CXTPDrawHelpers(LPCWSTR lpszModule = L"msimg32.dll");
  ~CXTPDrawHelpers();
  CXTPDrawHelpers(const CXTPDrawHelpers&) = delete;
  CXTPDrawHelpers& operator=(const CXTPDrawHelpers&) = delete;

  BOOL IsGradientFillBound() const { return m_pfnGradientFill != nullptr; }

  // A two-colour gradient over lpRect, left to right when bHorz, else top to bottom. Equal colours
  // or a low-colour display give one solid fill of clr1; no or an empty rectangle draws nothing.
  void DrawGradientRect(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz);
  // The same gradient limited to lpClip, with the colours the whole gradient has at the clip's edges.
  void DrawGradientClipped(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz,
                           LPCRECT lpClip);
  // A gradient value: one gradient for factor 0.5, else two halves meeting at the blended colour.
  void DrawColorGradient(CDC* pDC, LPCRECT lpRect, const CXTPColorGradientValue& grc, BOOL bHorz,
                         LPCRECT lpClip = nullptr);

 private:
  typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
  HMODULE m_hMsImg32 = nullptr;
  PFNGRADIENTFILL m_pfnGradientFill = nullptr;
};

// The process's gradient service, bound at program start.
CXTPDrawHelpers* AFXAPI XTPDrawHelpers();

void AFXAPI DrawGradientRect(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz);
void AFXAPI DrawGradientClipped(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz,
                                LPCRECT lpClip);
void AFXAPI DrawColorGradient(CDC* pDC, LPCRECT lpRect, const CXTPColorGradientValue& grc, BOOL bHorz,
                              LPCRECT lpClip = nullptr);

// Per channel t x A + (1 - t) x B, truncated and limited to 0..255.
COLORREF AFXAPI BlendRGB(COLORREF clrA, COLORREF clrB, double t);

// Screen rectangle of a window, empty when there is no such window.
CRect AFXAPI GetSafeWindowRect(const CWnd* pWnd);
CRect AFXAPI GetSafeWindowRectFromHandle(HWND hWnd);
// Client rectangle, empty when there is no such window.
CRect AFXAPI GetSafeClientRect(const CWnd* pWnd);
CRect AFXAPI InitEmptyRect();
CPoint AFXAPI GetClientCursorPos(const CWnd* pWnd);
// The foreground window is the last active popup of hWnd's top-most parent or owner.
BOOL AFXAPI IsTopParentActive(HWND hWnd);

// A font family of that face exists on the screen (compared without case).
BOOL AFXAPI FindFontFace(LPCTSTR lpszFaceName);
// The face toolkit fonts take: the GUI font's own where it is not Western or Arial is missing,
// else Tahoma (when preferred and installed) or Arial.
CString AFXAPI GetUIFontFace(BOOL bPreferTahoma);

// 1 to 8 bits per pixel; pDC NULL asks about the desktop.
BOOL AFXAPI IsLowColorDisplay(CDC* pDC = nullptr);

// Removes each "&" that no other "&" follows: "&F" becomes "F", "&&" becomes "&", a trailing "&" goes.
void AFXAPI StripMnemonics(CString& str);
// An icon from a bitmap whose top-left pixel is the transparent colour; NULL when there is none.
HICON AFXAPI IconFromBitmap(HBITMAP hBitmap);
// Points come in pairs (pixel, offset): each pixel becomes the mean of itself and pixel + offset.
// An odd count leaves the last pixel alone.
void AFXAPI AveragePixels(CDC* pDC, const POINT* pPoints, int nCount);
// Takes the four corner pixels of lpRect out of the DC's clip region, so that a figure drawn over the
// rectangle leaves its corners alone.
void AFXAPI ExcludeRectCorners(CDC* pDC, LPCRECT lpRect);
// The colour table's theme in force.
int AFXAPI GetCurrentSystemTheme();

// The window-button glyphs of the "Marlett" symbol font that the toolkit draws.
const TCHAR kMarlettMinimize = _T('0');
const TCHAR kMarlettMaximize = _T('1');
const TCHAR kMarlettRestore = _T('2');
const TCHAR kMarlettClose = _T('r');

// Draws one "Marlett" glyph centred in lpRect, in the DC's text colour, from an 8-point font scaled by
// 96 / the device's horizontal pixels per inch (its pixel size does not grow with the resolution).
// Where the face the system selects for "Marlett" is another one (it would show the letter itself),
// the four glyphs above are drawn with lines instead; any other glyph is then left out.
void AFXAPI DrawMarlettGlyph(CDC* pDC, LPCRECT lpRect, TCHAR chGlyph);
// The line drawing of one of the four glyphs above, centred in lpRect in the DC's text colour; FALSE,
// drawing nothing, for any other glyph.
BOOL AFXAPI DrawMarlettGlyphLines(CDC* pDC, LPCRECT lpRect, TCHAR chGlyph);
