// CImageList: ownership and handle maps of image lists, and the members forwarding to comctl32.
#include "framework/ImageList.h"

#include "HandleMap.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

struct ImageListPolicy {
  static CImageList* Wrap(HIMAGELIST h) {
    auto* list = new CImageList;
    list->m_hImageList = h;
    return list;
  }
  static void Release(CImageList* object) { object->m_hImageList = nullptr; }
};
using ImageListMaps = framework_detail::HandleMaps<HIMAGELIST, CImageList, ImageListPolicy>;

HBITMAP BitmapOf(CBitmap* pBitmap) { return static_cast<HBITMAP>(pBitmap->GetSafeHandle()); }

}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList) {
  return ImageListMaps::FromHandle(hImageList);
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList) {
  return ImageListMaps::FromHandlePermanent(hImageList);
}

void PASCAL CImageList::DeleteTempMap() { ImageListMaps::DeleteTempMap(); }

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (hImageList == nullptr || m_hImageList != nullptr) return FALSE;
  m_hImageList = hImageList;
  ImageListMaps::Permanent().Add(hImageList, this);
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST hImageList = m_hImageList;
  if (hImageList != nullptr) ImageListMaps::Permanent().Remove(hImageList, this);
  m_hImageList = nullptr;
  return hImageList;
}

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  if (m_hImageList != nullptr) return FALSE;
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
  return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
  if (m_hImageList != nullptr) return FALSE;
  return Attach(ImageList_LoadImage(AfxGetResourceHandle(), lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP,
                                    LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx,
                        int dy) {
  if (m_hImageList != nullptr) return FALSE;
  return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList) {
  if (m_hImageList != nullptr || pImageList == nullptr || pImageList->m_hImageList == nullptr) return FALSE;
  return Attach(ImageList_Duplicate(pImageList->m_hImageList));
}

BOOL CImageList::SetImageCount(UINT uNewCount) {
  return m_hImageList ? ImageList_SetImageCount(m_hImageList, uNewCount) : FALSE;
}

int CImageList::GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }

COLORREF CImageList::SetBkColor(COLORREF cr) {
  return m_hImageList ? ImageList_SetBkColor(m_hImageList, cr) : CLR_NONE;
}

COLORREF CImageList::GetBkColor() const {
  return m_hImageList ? ImageList_GetBkColor(m_hImageList) : CLR_NONE;
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
  if (m_hImageList == nullptr || pImageInfo == nullptr) return FALSE;
  return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const {
  return m_hImageList ? ImageList_GetIconSize(m_hImageList, cx, cy) : FALSE;
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
  if (m_hImageList == nullptr || BitmapOf(pbmImage) == nullptr) return -1;
  return ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

// As with the Win32 call, the masked pixels of the source bitmap become black.
int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
  if (m_hImageList == nullptr || BitmapOf(pbmImage) == nullptr) return -1;
  return ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}

int CImageList::Add(HICON hIcon) {
  if (m_hImageList == nullptr || hIcon == nullptr) return -1;
  return ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

BOOL CImageList::Remove(int nImage) { return m_hImageList ? ImageList_Remove(m_hImageList, nImage) : FALSE; }

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
  if (m_hImageList == nullptr) return FALSE;
  return ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Replace(int nImage, HICON hIcon) {
  return m_hImageList ? ImageList_ReplaceIcon(m_hImageList, nImage, hIcon) : -1;
}

HICON CImageList::ExtractIcon(int nImage) {
  if (m_hImageList == nullptr || nImage < 0 || nImage >= GetImageCount()) return nullptr;
  return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
  if (m_hImageList == nullptr || pDC == nullptr) return FALSE;
  return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg,
                        UINT nStyle) {
  if (m_hImageList == nullptr || pDC == nullptr) return FALSE;
  return ImageList_DrawEx(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) {
  if (m_hImageList == nullptr || pimldp == nullptr) return FALSE;
  pimldp->himl = m_hImageList;
  return ImageList_DrawIndirect(pimldp);
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay) {
  return m_hImageList ? ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay) : FALSE;
}

BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags) {
  return m_hImageList ? ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags) : FALSE;
}

BOOL CImageList::Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags) {
  if (m_hImageList == nullptr || pSrc == nullptr || pSrc->m_hImageList == nullptr) return FALSE;
  return ImageList_Copy(m_hImageList, iDst, pSrc->m_hImageList, iSrc, uFlags);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot) {
  return m_hImageList ? ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y) : FALSE;
}

void PASCAL CImageList::EndDrag() { ImageList_EndDrag(); }

BOOL PASCAL CImageList::DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot) {
  return m_hImageList ? ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y) : FALSE;
}

BOOL PASCAL CImageList::DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
