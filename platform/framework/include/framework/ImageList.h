// CImageList: the framework's wrapper of a common-controls image list (toolbar, tree and list
// images, the shell's system list).
#pragma once

#include "afx.h"
#include "framework/Gdi.h"

#include <commctrl.h>

class CWnd;

// Owns the list it created or attached and destroys it with the object. FromHandle of a list nobody
// owns, such as the shell's system list, gives a temporary of the calling thread that never
// destroys it (released by DeleteTempMap, as for GDI objects).
class CImageList : public CObject {
  DECLARE_DYNCREATE(CImageList)
 public:
  HIMAGELIST m_hImageList = nullptr;

  CImageList() = default;
  ~CImageList() override;

  operator HIMAGELIST() const { return GetSafeHandle(); }
  HIMAGELIST GetSafeHandle() const {
    const CImageList* volatile self = this;
    return self == nullptr ? nullptr : self->m_hImageList;
  }

  static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
  // The owner of the list, or NULL.
  static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
  static void PASCAL DeleteTempMap();

  // nFlags: ILC_COLOR* | ILC_MASK. Fails (FALSE) when the object already holds a list.
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // A strip bitmap from the resource module cut into images cx wide; crMask marks transparent
  // pixels (CLR_NONE: none).
  BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
  BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
  // One image made of image nImage1 of list1 with image nImage2 of list2 laid over it at (dx, dy).
  BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);
  BOOL Create(CImageList* pImageList);  // a copy

  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();
  BOOL SetImageCount(UINT uNewCount);

  int GetImageCount() const;
  COLORREF SetBkColor(COLORREF cr);
  COLORREF GetBkColor() const;
  BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
  BOOL GetIconSize(int* cx, int* cy) const;

  // Each Add returns the index of the first new image, or -1.
  int Add(CBitmap* pbmImage, CBitmap* pbmMask);
  int Add(CBitmap* pbmImage, COLORREF crMask);
  int Add(HICON hIcon);
  BOOL Remove(int nImage);  // -1 removes every image
  BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
  int Replace(int nImage, HICON hIcon);
  // A new icon the caller destroys (DestroyIcon), or NULL.
  HICON ExtractIcon(int nImage);
  BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
  BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);
  BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
  BOOL SetOverlayImage(int nImage, int nOverlay);
  BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE);
  BOOL Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags = ILCF_MOVE);

  // Dragging, in screen coordinates of the window the drag is shown over.
  BOOL BeginDrag(int nImage, CPoint ptHotSpot);
  static void PASCAL EndDrag();
  static BOOL PASCAL DragMove(CPoint pt);
  BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
  static BOOL PASCAL DragShowNolock(BOOL bShow);
  static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
  static BOOL PASCAL DragLeave(CWnd* pWndLock);
};
