// GDI object wrappers: ownership, the handle maps and the creation members of each kind.
#include "framework/Gdi.h"

#include "HandleMap.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {

// A wrapper of the class that matches the object's type, so the typed FromHandle casts hold.
CGdiObject* NewWrapperFor(HGDIOBJ hObject) {
  switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return new CPen;
    case OBJ_BRUSH:
      return new CBrush;
    case OBJ_FONT:
      return new CFont;
    case OBJ_BITMAP:
      return new CBitmap;
    case OBJ_REGION:
      return new CRgn;
    case OBJ_PAL:
      return new CPalette;
    default:
      return new CGdiObject;
  }
}

struct GdiPolicy {
  static CGdiObject* Wrap(HGDIOBJ h) {
    CGdiObject* wrapper = NewWrapperFor(h);
    wrapper->m_hObject = h;
    return wrapper;
  }
  static void Release(CGdiObject* object) { object->m_hObject = nullptr; }
};
using GdiMaps = framework_detail::HandleMaps<HGDIOBJ, CGdiObject, GdiPolicy>;

}  // namespace

// ---- CGdiObject ----------------------------------------------------------------------------------

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return GdiMaps::FromHandle(hObject); }

void PASCAL CGdiObject::DeleteTempMap() { GdiMaps::DeleteTempMap(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  if (m_hObject != nullptr) GdiMaps::Permanent().Remove(m_hObject, this);
  m_hObject = hObject;
  GdiMaps::Permanent().Add(hObject, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  if (hObject != nullptr) GdiMaps::Permanent().Remove(hObject, this);
  m_hObject = nullptr;
  return hObject;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
  return m_hObject ? ::GetObject(m_hObject, nCount, lpObject) : 0;
}

UINT CGdiObject::GetObjectType() const { return m_hObject ? ::GetObjectType(m_hObject) : 0; }

// Stock objects are shared; the destructor's DeleteObject on them is a harmless no-op.
BOOL CGdiObject::CreateStockObject(int nIndex) {
  HGDIOBJ hObject = ::GetStockObject(nIndex);
  return hObject != nullptr && Attach(hObject);
}

BOOL CGdiObject::UnrealizeObject() { return m_hObject ? ::UnrealizeObject(m_hObject) : FALSE; }

// ---- CPen ----------------------------------------------------------------------------------------

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
  if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle) {
  if (!CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle)) AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                     const DWORD* lpStyle) {
  return Attach(::ExtCreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }

int CPen::GetLogPen(LOGPEN* pLogPen) { return GetObject(sizeof(LOGPEN), pLogPen); }

int CPen::GetExtLogPen(EXTLOGPEN* pLogPen) { return GetObject(sizeof(EXTLOGPEN), pLogPen); }

// ---- CBrush --------------------------------------------------------------------------------------

CBrush::CBrush(COLORREF crColor) {
  if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
  if (!CreateHatchBrush(nIndex, crColor)) AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
  if (!CreatePatternBrush(pBitmap)) AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
  return Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
  return Attach(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  HBITMAP hBitmap = pBitmap ? static_cast<HBITMAP>(pBitmap->GetSafeHandle()) : nullptr;
  if (hBitmap == nullptr) return FALSE;
  return Attach(::CreatePatternBrush(hBitmap));
}

BOOL CBrush::CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage) {
  return lpPackedDIB != nullptr && Attach(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
}

// System-colour brushes belong to the system; deleting one (as the destructor does) is harmless.
BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) { return GetObject(sizeof(LOGBRUSH), pLogBrush); }

// ---- CFont ---------------------------------------------------------------------------------------

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
  return lpLogFont != nullptr && Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
  return Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                             cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                             lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
  LOGFONT logFont = {};
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfHeight = nPointSize;
  if (lpszFaceName != nullptr) lstrcpyn(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
  return CreatePointFontIndirect(&logFont, pDC);
}

// Tenths of a point become a character height (negative: the em height) in the DC's logical units,
// measured from the logical origin so mapping modes with offsets convert right.
BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
  if (lpLogFont == nullptr) return FALSE;
  HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
  if (hDC == nullptr) return FALSE;
  LOGFONT logFont = *lpLogFont;
  POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), logFont.lfHeight, 720)};
  POINT ptOrg = {0, 0};
  ::DPtoLP(hDC, &pt, 1);
  ::DPtoLP(hDC, &ptOrg, 1);
  logFont.lfHeight = -abs(pt.y - ptOrg.y);
  if (pDC == nullptr) ::ReleaseDC(nullptr, hDC);
  return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONT* pLogFont) { return GetObject(sizeof(LOGFONT), pLogFont); }

// ---- CBitmap -------------------------------------------------------------------------------------

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
  return Attach(::LoadBitmap(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) {
  return Attach(::LoadBitmap(nullptr, MAKEINTRESOURCE(nIDBitmap)));
}

BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap, UINT nFlags, LPCOLORMAP lpColorMap, int nMapSize) {
  HBITMAP hBitmap = ::CreateMappedBitmap(AfxGetResourceHandle(), nIDBitmap, static_cast<WORD>(nFlags),
                                         lpColorMap, nMapSize);
  return Attach(hBitmap);
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  HDC hDC = pDC ? pDC->m_hDC : nullptr;
  if (hDC == nullptr) return FALSE;
  return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
  HDC hDC = pDC ? pDC->m_hDC : nullptr;
  if (hDC == nullptr) return FALSE;
  return Attach(::CreateDiscardableBitmap(hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) { return GetObject(sizeof(BITMAP), pBitMap); }

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
  return m_hObject ? ::SetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits) : 0;
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
  return m_hObject ? ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), dwCount, lpBits) : 0;
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
  SIZE size = {};
  if (m_hObject) ::SetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), nWidth, nHeight, &size);
  return size;
}

CSize CBitmap::GetBitmapDimension() const {
  SIZE size = {};
  if (m_hObject) ::GetBitmapDimensionEx(static_cast<HBITMAP>(m_hObject), &size);
  return size;
}

// ---- CRgn ----------------------------------------------------------------------------------------

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) { return Attach(::CreateEllipticRgnIndirect(lpRect)); }

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
  if (lpPoints == nullptr || nCount < 2) return FALSE;
  return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* lpPoints, const INT* lpPolyCounts, int nCount,
                                int nPolyFillMode) {
  if (lpPoints == nullptr || lpPolyCounts == nullptr || nCount < 1) return FALSE;
  return Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
  return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromPath(CDC* pDC) { return pDC != nullptr && Attach(::PathToRegion(pDC->m_hDC)); }

BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
  return pRgnData != nullptr && Attach(::ExtCreateRegion(lpXForm, nCount, pRgnData));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
  if (m_hObject) ::SetRectRgn(static_cast<HRGN>(m_hObject), x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT lpRect) {
  SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

// The destination must already exist (any region will do), as with the Win32 call.
int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
  if (m_hObject == nullptr || pRgn1 == nullptr || pRgn1->m_hObject == nullptr) return ERROR;
  HRGN hRgn2 = pRgn2 ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr;
  if (hRgn2 == nullptr && nCombineMode != RGN_COPY) return ERROR;
  return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn1->m_hObject), hRgn2, nCombineMode);
}

int CRgn::CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }

BOOL CRgn::EqualRgn(const CRgn* pRgn) const {
  if (m_hObject == nullptr || pRgn == nullptr || pRgn->m_hObject == nullptr) return FALSE;
  return ::EqualRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn->m_hObject));
}

int CRgn::OffsetRgn(int x, int y) {
  return m_hObject ? ::OffsetRgn(static_cast<HRGN>(m_hObject), x, y) : ERROR;
}

int CRgn::OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }

int CRgn::GetRgnBox(LPRECT lpRect) const {
  return m_hObject ? ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect) : ERROR;
}

BOOL CRgn::PtInRegion(int x, int y) const {
  return m_hObject ? ::PtInRegion(static_cast<HRGN>(m_hObject), x, y) : FALSE;
}

BOOL CRgn::PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }

BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
  return m_hObject ? ::RectInRegion(static_cast<HRGN>(m_hObject), lpRect) : FALSE;
}

int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
  return m_hObject ? static_cast<int>(::GetRegionData(static_cast<HRGN>(m_hObject), nCount, lpRgnData)) : 0;
}

// ---- CPalette ------------------------------------------------------------------------------------

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) {
  return lpLogPalette != nullptr && Attach(::CreatePalette(lpLogPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) {
  return pDC != nullptr && Attach(::CreateHalftonePalette(pDC->m_hDC));
}

int CPalette::GetEntryCount() {
  WORD nEntries = 0;
  GetObject(sizeof(WORD), &nEntries);
  return nEntries;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const {
  return m_hObject ? ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries,
                                         lpPaletteColors)
                   : 0;
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
  return m_hObject ? ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries,
                                         lpPaletteColors)
                   : 0;
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const {
  return m_hObject ? ::GetNearestPaletteIndex(static_cast<HPALETTE>(m_hObject), crColor) : CLR_INVALID;
}
