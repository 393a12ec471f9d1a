// CDC: ownership and handle maps of device contexts, object selection, and the drawing members
// that do more than forward to one GDI call.
#include "framework/Gdi.h"

#include "HandleMap.h"

#include <cstdlib>
#include <vector>

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

struct DcPolicy {
  static CDC* Wrap(HDC h) {
    auto* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = h;
    return dc;
  }
  static void Release(CDC* object) { object->m_hDC = object->m_hAttribDC = nullptr; }
};
using DcMaps = framework_detail::HandleMaps<HDC, CDC, DcPolicy>;

constexpr int kHimetricPerInch = 2540;

}  // namespace

// ---- handles -------------------------------------------------------------------------------------

CDC::~CDC() {
  if (m_hDC != nullptr) ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) { return DcMaps::FromHandle(hDC); }

void PASCAL CDC::DeleteTempMap() { DcMaps::DeleteTempMap(); }

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  if (m_hDC != nullptr) DcMaps::Permanent().Remove(m_hDC, this);
  m_hDC = hDC;
  SetAttribDC(hDC);
  DcMaps::Permanent().Add(hDC, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  if (hDC != nullptr) DcMaps::Permanent().Remove(hDC, this);
  ReleaseAttribDC();
  ReleaseOutputDC();
  return hDC;
}

void CDC::SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }

void CDC::SetOutputDC(HDC hDC) { m_hDC = hDC; }

void CDC::ReleaseAttribDC() { m_hAttribDC = nullptr; }

void CDC::ReleaseOutputDC() { m_hDC = nullptr; }

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData) {
  return Attach(
      ::CreateDC(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODE*>(lpInitData)));
}

BOOL CDC::CreateIC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData) {
  return Attach(
      ::CreateIC(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODE*>(lpInitData)));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

// Settings that change how drawing maps go to both handles when they differ.
int CDC::SaveDC() {
  int nRetVal = 0;
  if (m_hAttribDC != nullptr) nRetVal = ::SaveDC(m_hAttribDC);
  if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0) nRetVal = -1;  // -1 restores the latest of both
  return nRetVal;
}

BOOL CDC::RestoreDC(int nSavedDC) {
  BOOL bRetVal = TRUE;
  if (m_hDC != m_hAttribDC) bRetVal = ::RestoreDC(m_hDC, nSavedDC);
  if (m_hAttribDC != nullptr) bRetVal = ::RestoreDC(m_hAttribDC, nSavedDC) && bRetVal;
  return bRetVal;
}

// ---- objects -------------------------------------------------------------------------------------

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  if (hObject == nullptr) return nullptr;
  HGDIOBJ hOldObj = nullptr;
  if (m_hDC != m_hAttribDC) hOldObj = ::SelectObject(m_hDC, hObject);
  if (m_hAttribDC != nullptr) hOldObj = ::SelectObject(m_hAttribDC, hObject);
  return hOldObj;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  if (pObject == nullptr || pObject->m_hObject == nullptr) return nullptr;
  return CGdiObject::FromHandle(SelectObject(pObject->m_hObject));
}

CPen* CDC::SelectObject(CPen* pPen) {
  return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pPen)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
  return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(pBrush)));
}

CFont* CDC::SelectObject(CFont* pFont) {
  return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(pFont)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(pBitmap)));
}

int CDC::SelectObject(CRgn* pRgn) {
  if (pRgn == nullptr || pRgn->m_hObject == nullptr) return ERROR;
  return static_cast<int>(reinterpret_cast<INT_PTR>(SelectObject(pRgn->m_hObject)));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ hObject = ::GetStockObject(nIndex);
  if (hObject == nullptr) return nullptr;
  return CGdiObject::FromHandle(SelectObject(hObject));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  if (pPalette == nullptr || pPalette->m_hObject == nullptr) return nullptr;
  return CPalette::FromHandle(
      ::SelectPalette(m_hDC, static_cast<HPALETTE>(pPalette->m_hObject), bForceBackground));
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }

CPen* CDC::GetCurrentPen() const {
  return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPalette* CDC::GetCurrentPalette() const {
  return CPalette::FromHandle(static_cast<HPALETTE>(::GetCurrentObject(m_hDC, OBJ_PAL)));
}

// ---- attributes ----------------------------------------------------------------------------------

COLORREF CDC::SetBkColor(COLORREF crColor) {
  COLORREF crRetVal = CLR_INVALID;
  if (m_hDC != m_hAttribDC) crRetVal = ::SetBkColor(m_hDC, crColor);
  if (m_hAttribDC != nullptr) crRetVal = ::SetBkColor(m_hAttribDC, crColor);
  return crRetVal;
}

int CDC::SetBkMode(int nBkMode) {
  int nRetVal = 0;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetBkMode(m_hDC, nBkMode);
  if (m_hAttribDC != nullptr) nRetVal = ::SetBkMode(m_hAttribDC, nBkMode);
  return nRetVal;
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
  COLORREF crRetVal = CLR_INVALID;
  if (m_hDC != m_hAttribDC) crRetVal = ::SetTextColor(m_hDC, crColor);
  if (m_hAttribDC != nullptr) crRetVal = ::SetTextColor(m_hAttribDC, crColor);
  return crRetVal;
}

int CDC::SetROP2(int nDrawMode) {
  int nRetVal = 0;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetROP2(m_hDC, nDrawMode);
  if (m_hAttribDC != nullptr) nRetVal = ::SetROP2(m_hAttribDC, nDrawMode);
  return nRetVal;
}

int CDC::SetPolyFillMode(int nPolyFillMode) {
  int nRetVal = 0;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetPolyFillMode(m_hDC, nPolyFillMode);
  if (m_hAttribDC != nullptr) nRetVal = ::SetPolyFillMode(m_hAttribDC, nPolyFillMode);
  return nRetVal;
}

int CDC::SetStretchBltMode(int nStretchMode) {
  int nRetVal = 0;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetStretchBltMode(m_hDC, nStretchMode);
  if (m_hAttribDC != nullptr) nRetVal = ::SetStretchBltMode(m_hAttribDC, nStretchMode);
  return nRetVal;
}

CPoint CDC::GetBrushOrg() const {
  POINT point = {};
  ::GetBrushOrgEx(m_hDC, &point);
  return point;
}

CPoint CDC::SetBrushOrg(int x, int y) {
  POINT point = {};
  ::SetBrushOrgEx(m_hDC, x, y, &point);
  return point;
}

UINT CDC::SetTextAlign(UINT nFlags) {
  UINT nRetVal = GDI_ERROR;
  if (m_hDC != m_hAttribDC) ::SetTextAlign(m_hDC, nFlags);
  if (m_hAttribDC != nullptr) nRetVal = ::SetTextAlign(m_hAttribDC, nFlags);
  return nRetVal;
}

int CDC::SetTextCharacterExtra(int nCharExtra) {
  int nRetVal = 0x8000000;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetTextCharacterExtra(m_hDC, nCharExtra);
  if (m_hAttribDC != nullptr) nRetVal = ::SetTextCharacterExtra(m_hAttribDC, nCharExtra);
  return nRetVal;
}

int CDC::SetTextJustification(int nBreakExtra, int nBreakCount) {
  int nRetVal = 0;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetTextJustification(m_hDC, nBreakExtra, nBreakCount);
  if (m_hAttribDC != nullptr) nRetVal = ::SetTextJustification(m_hAttribDC, nBreakExtra, nBreakCount);
  return nRetVal;
}

// ---- mapping -------------------------------------------------------------------------------------

int CDC::SetMapMode(int nMapMode) {
  int nRetVal = 0;
  if (m_hDC != m_hAttribDC) nRetVal = ::SetMapMode(m_hDC, nMapMode);
  if (m_hAttribDC != nullptr) nRetVal = ::SetMapMode(m_hAttribDC, nMapMode);
  return nRetVal;
}

CPoint CDC::GetViewportOrg() const {
  POINT point = {};
  ::GetViewportOrgEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT point = {};
  if (m_hDC != m_hAttribDC) ::SetViewportOrgEx(m_hDC, x, y, &point);
  if (m_hAttribDC != nullptr) ::SetViewportOrgEx(m_hAttribDC, x, y, &point);
  return point;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT point = {};
  if (m_hDC != m_hAttribDC) ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &point);
  if (m_hAttribDC != nullptr) ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &point);
  return point;
}

CSize CDC::GetViewportExt() const {
  SIZE size = {};
  ::GetViewportExtEx(m_hAttribDC, &size);
  return size;
}

CSize CDC::SetViewportExt(int cx, int cy) {
  SIZE size = {};
  if (m_hDC != m_hAttribDC) ::SetViewportExtEx(m_hDC, cx, cy, &size);
  if (m_hAttribDC != nullptr) ::SetViewportExtEx(m_hAttribDC, cx, cy, &size);
  return size;
}

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
  SIZE size = {};
  if (m_hDC != m_hAttribDC) ::ScaleViewportExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &size);
  if (m_hAttribDC != nullptr) ::ScaleViewportExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
  return size;
}

CPoint CDC::GetWindowOrg() const {
  POINT point = {};
  ::GetWindowOrgEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT point = {};
  if (m_hDC != m_hAttribDC) ::SetWindowOrgEx(m_hDC, x, y, &point);
  if (m_hAttribDC != nullptr) ::SetWindowOrgEx(m_hAttribDC, x, y, &point);
  return point;
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  POINT point = {};
  if (m_hDC != m_hAttribDC) ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &point);
  if (m_hAttribDC != nullptr) ::OffsetWindowOrgEx(m_hAttribDC, nWidth, nHeight, &point);
  return point;
}

CSize CDC::GetWindowExt() const {
  SIZE size = {};
  ::GetWindowExtEx(m_hAttribDC, &size);
  return size;
}

CSize CDC::SetWindowExt(int cx, int cy) {
  SIZE size = {};
  if (m_hDC != m_hAttribDC) ::SetWindowExtEx(m_hDC, cx, cy, &size);
  if (m_hAttribDC != nullptr) ::SetWindowExtEx(m_hAttribDC, cx, cy, &size);
  return size;
}

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
  SIZE size = {};
  if (m_hDC != m_hAttribDC) ::ScaleWindowExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &size);
  if (m_hAttribDC != nullptr) ::ScaleWindowExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
  return size;
}

// Sizes scale by the extents' ratio only; origins do not move a size.
void CDC::DPtoLP(LPSIZE lpSize) const {
  CSize sizeWinExt = GetWindowExt();
  CSize sizeVpExt = GetViewportExt();
  if (sizeVpExt.cx == 0 || sizeVpExt.cy == 0) return;
  lpSize->cx = ::MulDiv(lpSize->cx, abs(sizeWinExt.cx), abs(sizeVpExt.cx));
  lpSize->cy = ::MulDiv(lpSize->cy, abs(sizeWinExt.cy), abs(sizeVpExt.cy));
}

void CDC::LPtoDP(LPSIZE lpSize) const {
  CSize sizeWinExt = GetWindowExt();
  CSize sizeVpExt = GetViewportExt();
  if (sizeWinExt.cx == 0 || sizeWinExt.cy == 0) return;
  lpSize->cx = ::MulDiv(lpSize->cx, abs(sizeVpExt.cx), abs(sizeWinExt.cx));
  lpSize->cy = ::MulDiv(lpSize->cy, abs(sizeVpExt.cy), abs(sizeWinExt.cy));
}

void CDC::HIMETRICtoDP(LPSIZE lpSize) const {
  lpSize->cx = ::MulDiv(lpSize->cx, GetDeviceCaps(LOGPIXELSX), kHimetricPerInch);
  lpSize->cy = ::MulDiv(lpSize->cy, GetDeviceCaps(LOGPIXELSY), kHimetricPerInch);
}

void CDC::DPtoHIMETRIC(LPSIZE lpSize) const {
  int cxPerInch = GetDeviceCaps(LOGPIXELSX);
  int cyPerInch = GetDeviceCaps(LOGPIXELSY);
  if (cxPerInch == 0 || cyPerInch == 0) return;
  lpSize->cx = ::MulDiv(lpSize->cx, kHimetricPerInch, cxPerInch);
  lpSize->cy = ::MulDiv(lpSize->cy, kHimetricPerInch, cyPerInch);
}

// ---- clipping ------------------------------------------------------------------------------------

int CDC::SelectClipRgn(CRgn* pRgn) {
  HRGN hRgn = pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr;
  int nRetVal = ERROR;
  if (m_hDC != m_hAttribDC) nRetVal = ::SelectClipRgn(m_hDC, hRgn);
  if (m_hAttribDC != nullptr) nRetVal = ::SelectClipRgn(m_hAttribDC, hRgn);
  return nRetVal;
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
  HRGN hRgn = pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr;
  int nRetVal = ERROR;
  if (m_hDC != m_hAttribDC) nRetVal = ::ExtSelectClipRgn(m_hDC, hRgn, nMode);
  if (m_hAttribDC != nullptr) nRetVal = ::ExtSelectClipRgn(m_hAttribDC, hRgn, nMode);
  return nRetVal;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  int nRetVal = ERROR;
  if (m_hDC != m_hAttribDC) nRetVal = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
  if (m_hAttribDC != nullptr) nRetVal = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
  return nRetVal;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  int nRetVal = ERROR;
  if (m_hDC != m_hAttribDC) nRetVal = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
  if (m_hAttribDC != nullptr) nRetVal = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
  return nRetVal;
}

int CDC::OffsetClipRgn(int x, int y) {
  int nRetVal = ERROR;
  if (m_hDC != m_hAttribDC) nRetVal = ::OffsetClipRgn(m_hDC, x, y);
  if (m_hAttribDC != nullptr) nRetVal = ::OffsetClipRgn(m_hAttribDC, x, y);
  return nRetVal;
}

// ---- lines ---------------------------------------------------------------------------------------

CPoint CDC::GetCurrentPosition() const {
  POINT point = {};
  ::GetCurrentPositionEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::MoveTo(int x, int y) {
  POINT point = {};
  if (m_hDC != m_hAttribDC) ::MoveToEx(m_hDC, x, y, &point);
  if (m_hAttribDC != nullptr) ::MoveToEx(m_hAttribDC, x, y, &point);
  return point;
}

BOOL CDC::LineTo(int x, int y) {
  // Keep the attribute DC's current position in step with the output DC's.
  if (m_hAttribDC != nullptr && m_hDC != m_hAttribDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
  return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount) {
  if (lpPoints == nullptr || nCount < 2) return FALSE;
  return ::Polyline(m_hDC, lpPoints, nCount);
}

// ---- fills and frames ----------------------------------------------------------------------------

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
  if (pBrush != nullptr && pBrush->m_hObject != nullptr)
    ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  if (pBrush != nullptr && pBrush->m_hObject != nullptr)
    ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

// A negative width or height extends left or up from (x, y), as the opaque rectangle would.
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  CRect rect(x, y, x + cx, y + cy);
  rect.NormalizeRect();
  FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
             clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  if (cx <= 0 || cy <= 0) return;
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
  if (pRgn == nullptr || pBrush == nullptr) return FALSE;
  return ::FillRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject), static_cast<HBRUSH>(pBrush->m_hObject));
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
  if (pRgn == nullptr || pBrush == nullptr) return FALSE;
  return ::FrameRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject), static_cast<HBRUSH>(pBrush->m_hObject), nWidth,
                    nHeight);
}

BOOL CDC::InvertRgn(CRgn* pRgn) {
  return pRgn != nullptr && ::InvertRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject));
}

BOOL CDC::PaintRgn(CRgn* pRgn) {
  return pRgn != nullptr && ::PaintRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject));
}

// ---- blits ---------------------------------------------------------------------------------------

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                      nSrcHeight, dwRop);
}

BOOL CDC::MaskBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, CBitmap& maskBitmap,
                  int xMask, int yMask, DWORD dwRop) {
  return ::MaskBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc,
                   static_cast<HBITMAP>(maskBitmap.m_hObject), xMask, yMask, dwRop);
}

// ---- state drawing -------------------------------------------------------------------------------

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx,
                     size.cy, nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, static_cast<HBITMAP>(pBitmap->GetSafeHandle()), nFlags,
                   static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                     nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, hIcon, nFlags, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText),
                     static_cast<WPARAM>(nTextLen), pt.x, pt.y, size.cx, size.cy,
                     nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
  return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen,
                   static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags,
                    HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, lpDrawProc, lData, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_COMPLEX);
}

// ---- text ----------------------------------------------------------------------------------------

namespace {
int TextLength(LPCTSTR lpszString, int nCount) {
  if (lpszString == nullptr) return 0;
  return nCount < 0 ? lstrlen(lpszString) : nCount;
}
}  // namespace

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
  return ::TextOut(m_hDC, x, y, lpszString, TextLength(lpszString, nCount));
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
  return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, lpszString ? nCount : 0, lpDxWidths);
}

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                         LPINT lpnTabStopPositions, int nTabOrigin) {
  LONG extent = ::TabbedTextOut(m_hDC, x, y, lpszString, TextLength(lpszString, nCount), nTabPositions,
                                lpnTabStopPositions, nTabOrigin);
  return CSize(static_cast<DWORD>(extent));
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  if (lpszString == nullptr || lpRect == nullptr) return 0;
  return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
  if (lpszString == nullptr || lpRect == nullptr) return 0;
  return ::DrawTextEx(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size = {};
  ::GetTextExtentPoint32(m_hAttribDC, lpszString ? lpszString : L"", TextLength(lpszString, nCount), &size);
  return size;
}

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size = {};
  ::GetTextExtentPoint32(m_hDC, lpszString ? lpszString : L"", TextLength(lpszString, nCount), &size);
  return size;
}

CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions,
                               LPINT lpnTabStopPositions) const {
  DWORD extent = ::GetTabbedTextExtent(m_hAttribDC, lpszString ? lpszString : L"",
                                       TextLength(lpszString, nCount), nTabPositions, lpnTabStopPositions);
  return CSize(extent);
}

int CDC::GetTextFace(CString& rString) const {
  int nLength = ::GetTextFace(m_hAttribDC, 0, nullptr);
  if (nLength <= 0) {
    rString.Empty();
    return 0;
  }
  std::vector<WCHAR> buffer(static_cast<size_t>(nLength) + 1);
  int nResult = ::GetTextFace(m_hAttribDC, nLength + 1, buffer.data());
  rString = buffer.data();
  return nResult;
}

// ---- printing and helpers ------------------------------------------------------------------------

int CDC::StartDoc(LPCTSTR lpszDocName) {
  DOCINFO di = {};
  di.cbSize = sizeof(DOCINFO);
  di.lpszDocName = lpszDocName;
  return StartDoc(&di);
}

CBrush* PASCAL CDC::GetHalftoneBrush() {
  static CBrush* const brush = [] {
    WORD grayPattern[8];
    for (int i = 0; i < 8; i++) grayPattern[i] = static_cast<WORD>(0x5555 << (i & 1));
    CBitmap grayBitmap;
    auto* halftone = new CBrush;
    if (grayBitmap.CreateBitmap(8, 8, 1, 1, grayPattern)) halftone->CreatePatternBrush(&grayBitmap);
    return halftone;
  }();
  return brush;
}
