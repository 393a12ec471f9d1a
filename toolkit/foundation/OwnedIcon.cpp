// Icons cut from the toolkit's bitmap strips.
#include "OwnedIcon.h"

#include "ResourceSource.h"

BOOL AFXAPI XTLoadStripIcon(CXTOwnedIcon& icon, UINT nBitmapID, int cx, int cy, int nImage,
                            int nExpectedCount) {
  icon = nullptr;
  CBitmap bitmap;
  if (!GetToolkitResourceManager()->LoadBitmap(&bitmap, nBitmapID)) return FALSE;
  CImageList images;
  if (!images.Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 1)) return FALSE;
  if (images.Add(&bitmap, RGB(255, 0, 255)) < 0) return FALSE;
  const int nCount = images.GetImageCount();
  if ((nExpectedCount > 0 && nCount != nExpectedCount) || nImage < 0 || nImage >= nCount) return FALSE;
  icon = images.ExtractIcon(nImage);
  return icon.GetHandle() != nullptr;
}
