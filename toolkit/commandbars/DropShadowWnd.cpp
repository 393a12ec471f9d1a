// One shadow strip: its window, its pixels (layered) or its solid fill, and how it follows the owner.
#include "DropShadowWnd.h"

#include "BarTheme.h"
#include "CommandBar.h"
#include "DropShadows.h"

#include <ColorTable.h>

BEGIN_MESSAGE_MAP(CXTPDropShadowWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace {

// One premultiplied pixel: the shadow colour scaled by dScale, each channel no brighter than alpha.
DWORD ShadowPixel(COLORREF clr, double dScale, int nAlpha) {
  nAlpha = std::min(std::max(nAlpha, 0), 255);
  auto channel = [&](int nValue) { return std::min(static_cast<int>(nValue * dScale), nAlpha); };
  const int r = channel(GetRValue(clr)), g = channel(GetGValue(clr)), b = channel(GetBValue(clr));
  return (static_cast<DWORD>(nAlpha) << 24) | (static_cast<DWORD>(r) << 16) | (static_cast<DWORD>(g) << 8) |
         static_cast<DWORD>(b);
}

}  // namespace

CXTPDropShadowWnd::CXTPDropShadowWnd(int nOrientation, BOOL bFlat, CXTPCommandBar* pOwnerBar)
    : m_nOrientation(nOrientation), m_bFlat(bFlat), m_pOwnerBar(pOwnerBar) {}

void PASCAL CXTPDropShadowWnd::FillShadowBits(DWORD* pBits, int cx, int cy, BOOL bBottom, COLORREF clrShadow,
                                              BOOL bFlat) {
  if (pBits == nullptr || cx <= 0 || cy <= 0) return;
  const int d = bFlat ? 3 : 6;
  const int m = bFlat ? 1 : 2;
  auto put = [&](int x, int row, double dScale, int nAlpha) {
    if (x < 0 || x >= cx || row < 0 || row >= cy) return;
    pBits[static_cast<size_t>(row) * cx + x] = ShadowPixel(clrShadow, dScale, nAlpha);
  };
  if (bBottom) {
    for (int k = 0; k < 4; ++k) {
      for (int x = 4; x <= cx - 5; ++x) put(x, k, 0.25 * (k + 1), 15 * m * (k + 1));
      for (int c = 0; c < 4; ++c) put(c, k, 0.05 * (c + 1) * (k + 1), (c + 1) * (k + 1) * d);
      for (int j = 0; j < 4; ++j) put(cx - 1 - j, k, 0.05 * (j + 1) * (k + 1), (j + 1) * (k + 1) * d);
    }
    return;
  }
  for (int f = 0; f < 4; ++f) {
    for (int row = 0; row <= cy - 5; ++row) put(f, row, 0.25 * (4 - f), 15 * m * (4 - f));
  }
  for (int j = 0; j < 4; ++j) {
    for (int k = 0; k < 4; ++k) put(3 - j, cy - 1 - k, 0.05 * (j + 1) * (k + 1), (j + 1) * (k + 1) * d);
  }
}

BOOL CXTPDropShadowWnd::CreateShadowWindow(CWnd* pOwnerSite, BOOL bLayered) {
  if (m_hWnd != nullptr) return TRUE;
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_SAVEBITS | CS_OWNDC, ::LoadCursor(nullptr, IDC_ARROW));
  DWORD dwExStyle = WS_EX_TOOLWINDOW;
  if (bLayered) dwExStyle |= WS_EX_LAYERED;
  return CreateEx(dwExStyle, lpszClass, nullptr, WS_POPUP, 0, 0, 0, 0, pOwnerSite->GetSafeHwnd(), nullptr);
}

void CXTPDropShadowWnd::ExcludeRect(CRect rcScreen) {
  if (m_hWnd == nullptr) return;
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  CRect rcCut;
  if (!rcCut.IntersectRect(&rcWindow, &rcScreen)) return;
  rcCut.OffsetRect(-rcWindow.left, -rcWindow.top);
  HRGN hRegion = ::CreateRectRgn(0, 0, rcWindow.Width(), rcWindow.Height());
  // What earlier cuts removed stays removed.
  if (::GetWindowRgn(m_hWnd, hRegion) == ERROR)
    ::SetRectRgn(hRegion, 0, 0, rcWindow.Width(), rcWindow.Height());
  HRGN hCut = ::CreateRectRgnIndirect(&rcCut);
  ::CombineRgn(hRegion, hRegion, hCut, RGN_DIFF);
  ::DeleteObject(hCut);
  if (!::SetWindowRgn(m_hWnd, hRegion, FALSE)) ::DeleteObject(hRegion);
}

int CXTPDropShadowWnd::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT&) {
  switch (nMessage) {
    case WM_SHOWWINDOW:
      if (m_hWnd != nullptr) ShowWindow(wParam ? SW_SHOWNA : SW_HIDE);
      break;
    case WM_DESTROY:
      // Unregisters this strip and deletes it; nothing of it is touched afterwards.
      CXTPDropShadows::GetInstance()->DestroyShadow(this);
      break;
    default:
      break;
  }
  return 0;
}

BOOL CXTPDropShadowWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPDropShadowWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  const BOOL bLayered = (GetExStyle() & WS_EX_LAYERED) != 0;
  dc.FillSolidRect(rc, bLayered ? 0 : GetXtremeColor(COLOR_BTNSHADOW));
}

void CXTPDropShadowWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (cx > 0 && cy > 0 && m_pOwnerBar != nullptr && (GetExStyle() & WS_EX_LAYERED) &&
      CXTPDropShadows::GetInstance()->GetUpdateLayeredWindow() != nullptr) {
    UpdateLayeredShadow(cx, cy);
  }
}

void CXTPDropShadowWnd::UpdateLayeredShadow(int cx, int cy) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* pvBits = nullptr;
  HDC hMemDC = ::CreateCompatibleDC(nullptr);
  HBITMAP hBitmap = ::CreateDIBSection(hMemDC, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
  if (hMemDC != nullptr && hBitmap != nullptr && pvBits != nullptr) {
    CXTPBarTheme* pTheme = m_pOwnerBar->GetPaintManager();
    FillShadowBits(static_cast<DWORD*>(pvBits), cx, cy, IsBottom(), pTheme->GetShadowColor(), m_bFlat);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    POINT ptSource = {0, 0};
    SIZE size = {cx, cy};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    CXTPDropShadows::GetInstance()->GetUpdateLayeredWindow()(m_hWnd, nullptr, nullptr, &size, hMemDC,
                                                             &ptSource, 0, &blend, ULW_ALPHA);
    ::SelectObject(hMemDC, hOld);
  }
  if (hBitmap != nullptr) ::DeleteObject(hBitmap);
  if (hMemDC != nullptr) ::DeleteDC(hMemDC);
}

LRESULT CXTPDropShadowWnd::OnNcHitTest(CPoint) { return HTTRANSPARENT; }
