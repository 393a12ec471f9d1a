// Gradients, rectangles, fonts and pixel helpers of the toolkit.
#include "DrawHelpers.h"

#include <algorithm>

#include "ColorTable.h"
#include "OSVersionInfo.h"
#include "SystemQueries.h"

namespace {

template <class T>
T EntryAs(FARPROC pfn) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(pfn));
}

int CALLBACK FindFontFaceProc(const LOGFONTW* pLogFont, const TEXTMETRICW*, DWORD, LPARAM lParam) {
  return _wcsicmp(pLogFont->lfFaceName, reinterpret_cast<LPCWSTR>(lParam)) == 0 ? 0 : 1;
}

}  // namespace

CXTPDrawHelpers::CXTPDrawHelpers(LPCWSTR lpszModule) : m_hMsImg32(::LoadLibraryW(lpszModule)) {
  if (m_hMsImg32 != nullptr)
    m_pfnGradientFill = EntryAs<PFNGRADIENTFILL>(::GetProcAddress(m_hMsImg32, "GradientFill"));
}

CXTPDrawHelpers::~CXTPDrawHelpers() {
  if (m_hMsImg32 != nullptr) ::FreeLibrary(m_hMsImg32);
}

void CXTPDrawHelpers::DrawGradientRect(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz) {
  if (lpRect == nullptr || ::IsRectEmpty(lpRect)) return;
  if (IsLowColorDisplay(pDC) || clr1 == clr2) {
    pDC->FillSolidRect(lpRect, clr1);
    return;
  }
  if (m_pfnGradientFill != nullptr) {
    TRIVERTEX vertices[2] = {
        {lpRect->left, lpRect->top, static_cast<COLOR16>(GetRValue(clr1) << 8),
         static_cast<COLOR16>(GetGValue(clr1) << 8), static_cast<COLOR16>(GetBValue(clr1) << 8), 0},
        {lpRect->right, lpRect->bottom, static_cast<COLOR16>(GetRValue(clr2) << 8),
         static_cast<COLOR16>(GetGValue(clr2) << 8), static_cast<COLOR16>(GetBValue(clr2) << 8), 0}};
    GRADIENT_RECT mesh = {0, 1};
    m_pfnGradientFill(pDC->GetSafeHdc(), vertices, 2, &mesh, 1,
                      bHorz ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    return;
  }
  CRect rcArea;
  if (pDC->GetClipBox(&rcArea) == NULLREGION || rcArea.IsRectEmpty()) {
    rcArea = *lpRect;
  } else {
    rcArea.IntersectRect(rcArea, lpRect);
  }
  if (bHorz) {
    const int nWidth = std::max(1L, lpRect->right - lpRect->left);
    for (int x = rcArea.left; x < rcArea.right; ++x) {
      double t = 1.0 - static_cast<double>(x - lpRect->left) / nWidth;
      pDC->FillSolidRect(x, rcArea.top, 1, rcArea.Height(), BlendRGB(clr1, clr2, t));
    }
  } else {
    const int nHeight = std::max(1L, lpRect->bottom - lpRect->top);
    for (int y = rcArea.top; y < rcArea.bottom; ++y) {
      double t = 1.0 - static_cast<double>(y - lpRect->top) / nHeight;
      pDC->FillSolidRect(rcArea.left, y, rcArea.Width(), 1, BlendRGB(clr1, clr2, t));
    }
  }
}

void CXTPDrawHelpers::DrawGradientClipped(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz,
                                          LPCRECT lpClip) {
  if (lpClip == nullptr || lpRect == nullptr) {
    DrawGradientRect(pDC, lpRect, clr1, clr2, bHorz);
    return;
  }
  CRect rc(lpRect);
  // The gradient runs along x when horizontal, along y otherwise; the other axis is limited to the clip.
  const LONG nStart = bHorz ? lpRect->left : lpRect->top;
  const LONG nEnd = bHorz ? lpRect->right : lpRect->bottom;
  const LONG nClipStart = bHorz ? lpClip->left : lpClip->top;
  const LONG nClipEnd = bHorz ? lpClip->right : lpClip->bottom;
  if (bHorz) {
    rc.top = std::max(rc.top, lpClip->top);
    rc.bottom = std::min(rc.bottom, lpClip->bottom);
  } else {
    rc.left = std::max(rc.left, lpClip->left);
    rc.right = std::min(rc.right, lpClip->right);
  }
  if (nClipEnd <= nStart || nClipStart >= nEnd) return;
  const double dLength = nEnd - nStart;
  COLORREF clrFrom = clr1, clrTo = clr2;
  LONG nFrom = nStart, nTo = nEnd;
  if (nClipStart > nStart) {
    nFrom = nClipStart;
    clrFrom = BlendRGB(clr1, clr2, (nEnd - nClipStart) / dLength);
  }
  if (nClipEnd < nEnd) {
    nTo = nClipEnd;
    clrTo = BlendRGB(clr1, clr2, (nEnd - nClipEnd) / dLength);
  }
  if (bHorz) {
    rc.left = nFrom;
    rc.right = nTo;
  } else {
    rc.top = nFrom;
    rc.bottom = nTo;
  }
  DrawGradientRect(pDC, rc, clrFrom, clrTo, bHorz);
}

void CXTPDrawHelpers::DrawColorGradient(CDC* pDC, LPCRECT lpRect, const CXTPColorGradientValue& grc,
                                        BOOL bHorz, LPCRECT lpClip) {
  const COLORREF clr1 = grc.clr1.GetColor(), clr2 = grc.clr2.GetColor();
  if (grc.fGradientFactor == 0.5f) {
    DrawGradientClipped(pDC, lpRect, clr1, clr2, bHorz, lpClip);
    return;
  }
  const COLORREF clrMiddle = BlendRGB(clr1, clr2, grc.fGradientFactor);
  CRect rcFirst(lpRect), rcSecond(lpRect);
  if (bHorz) {
    rcFirst.right = lpRect->right - (lpRect->right - lpRect->left) / 2;
    rcSecond.left = rcFirst.right;
  } else {
    rcFirst.bottom = lpRect->bottom - (lpRect->bottom - lpRect->top) / 2;
    rcSecond.top = rcFirst.bottom;
  }
  DrawGradientClipped(pDC, rcFirst, clr1, clrMiddle, bHorz, lpClip);
  DrawGradientClipped(pDC, rcSecond, clrMiddle, clr2, bHorz, lpClip);
}

CXTPDrawHelpers* AFXAPI XTPDrawHelpers() {
  static CXTPDrawHelpers drawHelpers;
  return &drawHelpers;
}

namespace {
// Binds the gradient entry when the program starts, as painting expects it ready.
[[maybe_unused]] const CXTPDrawHelpers* g_pBoundAtStart = XTPDrawHelpers();
}  // namespace

void AFXAPI DrawGradientRect(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz) {
  XTPDrawHelpers()->DrawGradientRect(pDC, lpRect, clr1, clr2, bHorz);
}

void AFXAPI DrawGradientClipped(CDC* pDC, LPCRECT lpRect, COLORREF clr1, COLORREF clr2, BOOL bHorz,
                                LPCRECT lpClip) {
  XTPDrawHelpers()->DrawGradientClipped(pDC, lpRect, clr1, clr2, bHorz, lpClip);
}

void AFXAPI DrawColorGradient(CDC* pDC, LPCRECT lpRect, const CXTPColorGradientValue& grc, BOOL bHorz,
                              LPCRECT lpClip) {
  XTPDrawHelpers()->DrawColorGradient(pDC, lpRect, grc, bHorz, lpClip);
}

COLORREF AFXAPI BlendRGB(COLORREF clrA, COLORREF clrB, double t) {
  auto blend = [t](int a, int b) { return std::clamp(static_cast<int>(t * a + (1.0 - t) * b), 0, 255); };
  return RGB(blend(GetRValue(clrA), GetRValue(clrB)), blend(GetGValue(clrA), GetGValue(clrB)),
             blend(GetBValue(clrA), GetBValue(clrB)));
}

CRect AFXAPI GetSafeWindowRect(const CWnd* pWnd) { return GetSafeWindowRectFromHandle(pWnd->GetSafeHwnd()); }

CRect AFXAPI GetSafeWindowRectFromHandle(HWND hWnd) {
  CRect rc(0, 0, 0, 0);
  if (hWnd != nullptr && ::IsWindow(hWnd)) ::GetWindowRect(hWnd, &rc);
  return rc;
}

CRect AFXAPI GetSafeClientRect(const CWnd* pWnd) {
  CRect rc(0, 0, 0, 0);
  HWND hWnd = pWnd->GetSafeHwnd();
  if (hWnd != nullptr && ::IsWindow(hWnd)) ::GetClientRect(hWnd, &rc);
  return rc;
}

CRect AFXAPI InitEmptyRect() { return CRect(0, 0, 0, 0); }

CPoint AFXAPI GetClientCursorPos(const CWnd* pWnd) {
  CPoint pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(pWnd->GetSafeHwnd(), &pt);
  return pt;
}

BOOL AFXAPI IsTopParentActive(HWND hWnd) {
  HWND hTop = hWnd;
  for (HWND hNext = hTop; hNext != nullptr;) {
    hTop = hNext;
    hNext = (::GetWindowLongW(hTop, GWL_STYLE) & WS_CHILD) ? ::GetParent(hTop) : ::GetWindow(hTop, GW_OWNER);
  }
  return hTop != nullptr && ::GetForegroundWindow() == ::GetLastActivePopup(hTop);
}

BOOL AFXAPI FindFontFace(LPCTSTR lpszFaceName) {
  HDC hDC = ::GetDC(nullptr);
  if (hDC == nullptr) return FALSE;
  LOGFONTW lf = {};
  lf.lfCharSet = DEFAULT_CHARSET;
  BOOL bStopped =
      ::EnumFontFamiliesExW(hDC, &lf, FindFontFaceProc, reinterpret_cast<LPARAM>(lpszFaceName), 0) == 0;
  ::ReleaseDC(nullptr, hDC);
  return bStopped;
}

CString AFXAPI GetUIFontFace(BOOL bPreferTahoma) {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  const OSVERSIONINFOW& info = GetWindowsVersionInfo();
  const BOOL bNonWestern =
      lf.lfCharSet > 2 && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
  if (bNonWestern || !FindFontFace(_T("Arial"))) return CString(lf.lfFaceName);
  if (bPreferTahoma && FindFontFace(_T("Tahoma"))) return CString(_T("Tahoma"));
  return CString(_T("Arial"));
}

BOOL AFXAPI IsLowColorDisplay(CDC* pDC) {
  const int nBits = XTPSystemQueries()->GetDeviceBitsPerPixel(pDC != nullptr ? pDC->m_hAttribDC : nullptr);
  return nBits >= 1 && nBits <= 8;
}

void AFXAPI StripMnemonics(CString& str) {
  // An "&" followed by another stays; the last of a run is the one removed, so "&&" becomes "&".
  for (int i = 0; i < str.GetLength(); ++i) {
    if (str[i] == _T('&') && (i + 1 >= str.GetLength() || str[i + 1] != _T('&'))) str.Delete(i);
  }
}

HICON AFXAPI IconFromBitmap(HBITMAP hBitmap) {
  BITMAP bm = {};
  if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth == 0 ||
      bm.bmHeight == 0)
    return nullptr;
  COLORREF clrMask = 0;
  if (HDC hMemDC = ::CreateCompatibleDC(nullptr)) {
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    clrMask = ::GetPixel(hMemDC, 0, 0);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
  }
  HIMAGELIST hList = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
  if (hList == nullptr) return nullptr;
  ImageList_AddMasked(hList, hBitmap, clrMask);
  HICON hIcon = ImageList_GetIcon(hList, 0, ILD_NORMAL);
  ImageList_Destroy(hList);
  return hIcon;
}

void AFXAPI AveragePixels(CDC* pDC, const POINT* pPoints, int nCount) {
  if (pPoints == nullptr) return;
  for (int i = 0; i + 1 < nCount; i += 2) {
    const POINT& pt = pPoints[i];
    const POINT& offset = pPoints[i + 1];
    COLORREF clr1 = pDC->GetPixel(pt.x, pt.y);
    COLORREF clr2 = pDC->GetPixel(pt.x + offset.x, pt.y + offset.y);
    pDC->SetPixel(pt.x, pt.y,
                  RGB((GetRValue(clr1) + GetRValue(clr2)) / 2, (GetGValue(clr1) + GetGValue(clr2)) / 2,
                      (GetBValue(clr1) + GetBValue(clr2)) / 2));
  }
}

void AFXAPI ExcludeRectCorners(CDC* pDC, LPCRECT lpRect) {
  if (lpRect == nullptr || ::IsRectEmpty(lpRect)) return;
  const LONG l = lpRect->left, t = lpRect->top, r = lpRect->right - 1, b = lpRect->bottom - 1;
  pDC->ExcludeClipRect(l, t, l + 1, t + 1);
  pDC->ExcludeClipRect(r, t, r + 1, t + 1);
  pDC->ExcludeClipRect(l, b, l + 1, b + 1);
  pDC->ExcludeClipRect(r, b, r + 1, b + 1);
}

int AFXAPI GetCurrentSystemTheme() { return GetColorTable()->GetCurrentTheme(); }

namespace {

// The glyph box: 8 pixels square in a 16-pixel button, smaller in smaller rectangles, never below 5.
int GlyphBoxSize(LPCRECT lpRect) {
  const int nSide = std::min(lpRect->right - lpRect->left, lpRect->bottom - lpRect->top);
  return std::max(5, std::min(8, nSide / 2));
}

// A window outline n pixels square with the thicker top edge of a caption.
void DrawWindowOutline(CDC* pDC, int x, int y, int n, COLORREF clr) {
  pDC->FillSolidRect(x, y, n, 2, clr);
  pDC->FillSolidRect(x, y + n - 1, n, 1, clr);
  pDC->FillSolidRect(x, y, 1, n, clr);
  pDC->FillSolidRect(x + n - 1, y, 1, n, clr);
}

}  // namespace

BOOL AFXAPI DrawMarlettGlyphLines(CDC* pDC, LPCRECT lpRect, TCHAR chGlyph) {
  if (pDC == nullptr || lpRect == nullptr || ::IsRectEmpty(lpRect)) return FALSE;
  const COLORREF clr = pDC->GetTextColor();
  // The boxes are solid fills, which take the background colour: the caller's comes back.
  const COLORREF clrOldBk = pDC->GetBkColor();
  const int n = GlyphBoxSize(lpRect);
  const int x = lpRect->left + (lpRect->right - lpRect->left - n) / 2;
  const int y = lpRect->top + (lpRect->bottom - lpRect->top - n) / 2;
  BOOL bKnown = TRUE;
  switch (chGlyph) {
    case kMarlettClose:
      // Two crossing diagonals, each two pixels wide.
      for (int i = 0; i < n; ++i) {
        pDC->FillSolidRect(x + i, y + i, 1, 1, clr);
        pDC->FillSolidRect(x + n - 1 - i, y + i, 1, 1, clr);
        if (i + 1 < n) {
          pDC->FillSolidRect(x + i + 1, y + i, 1, 1, clr);
          pDC->FillSolidRect(x + n - 2 - i, y + i, 1, 1, clr);
        }
      }
      break;
    case kMarlettMinimize:
      pDC->FillSolidRect(x + 1, y + n - 2, n - 2, 2, clr);
      break;
    case kMarlettMaximize:
      DrawWindowOutline(pDC, x, y, n, clr);
      break;
    case kMarlettRestore: {
      // The front window whole, of the back one only what the front one leaves uncovered.
      const int m = n - 2;
      pDC->FillSolidRect(x + 2, y, m, 2, clr);
      pDC->FillSolidRect(x + n - 1, y, 1, m, clr);
      pDC->FillSolidRect(x + m, y + m - 1, 2, 1, clr);
      DrawWindowOutline(pDC, x, y + 2, m, clr);
      break;
    }
    default:
      bKnown = FALSE;
      break;
  }
  pDC->SetBkColor(clrOldBk);
  return bKnown;
}

void AFXAPI DrawMarlettGlyph(CDC* pDC, LPCRECT lpRect, TCHAR chGlyph) {
  if (pDC == nullptr || lpRect == nullptr || ::IsRectEmpty(lpRect)) return;
  CFont font;
  const int nLogX = std::max(1, pDC->GetDeviceCaps(LOGPIXELSX));
  if (!font.CreatePointFont(::MulDiv(80, 96, nLogX), _T("Marlett"), pDC)) {
    DrawMarlettGlyphLines(pDC, lpRect, chGlyph);
    return;
  }
  CFont* pOldFont = pDC->SelectObject(&font);
  // The face actually selected: a system without the font substitutes one with letters in its place.
  TCHAR szFace[LF_FACESIZE] = {};
  ::GetTextFace(pDC->GetSafeHdc(), LF_FACESIZE, szFace);
  if (_tcsicmp(szFace, _T("Marlett")) == 0) {
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rc(lpRect);
    pDC->DrawText(&chGlyph, 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
  } else {
    DrawMarlettGlyphLines(pDC, lpRect, chGlyph);
  }
  pDC->SelectObject(pOldFont);
}
