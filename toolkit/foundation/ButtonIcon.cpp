// The button's icon: setters that load or wrap the pictures into an image-manager icon, and the
// styles' drawing of its forms.
#include "Button.h"

#include "DrawHelpers.h"

#include "ImageManagerIcon.h"

namespace {

// A picture of an icon resource of the resource module at cx by cy; NULL when missing.
HICON LoadIconResource(UINT nID, CSize size) {
  return static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), IMAGE_ICON, size.cx,
                                         size.cy, LR_DEFAULTCOLOR));
}

}  // namespace

BOOL CXTButton::SetIcon(CSize size, UINT nID, UINT nHotID, BOOL bRedraw) {
  HICON hIcon = LoadIconResource(nID, size);
  HICON hIconHot = nHotID != 0 ? LoadIconResource(nHotID, size) : nullptr;
  BOOL bResult = FALSE;
  if (hIcon != nullptr && (nHotID == 0 || hIconHot != nullptr))
    bResult = SetIcon(size, hIcon, hIconHot, bRedraw);
  // The icon object keeps copies of its own.
  if (hIcon != nullptr) ::DestroyIcon(hIcon);
  if (hIconHot != nullptr) ::DestroyIcon(hIconHot);
  if (!bResult) DeleteIcon();
  return bResult;
}

BOOL CXTButton::SetIcon(CSize size, WORD nID, WORD nHotID, BOOL bRedraw) {
  return SetIcon(size, static_cast<UINT>(nID), static_cast<UINT>(nHotID), bRedraw);
}

BOOL CXTButton::SetIcon(CSize size, HICON hIcon, HICON hIconHot, BOOL bRedraw) {
  return SetIconObjects(size, CXTPIconHandle(hIcon), CXTPIconHandle(hIconHot), bRedraw);
}

BOOL CXTButton::SetIconObjects(CSize size, const CXTPIconHandle& hIcon, const CXTPIconHandle& hIconHot,
                               BOOL bRedraw) {
  if (hIcon.IsEmpty()) return FALSE;
  m_sizeImage = (size.cx == 0 && size.cy == 0) ? hIcon.GetExtent() : size;
  DeleteIcon();
  m_pIcon = new CXTPImageManagerIcon(0, m_sizeImage.cx, m_sizeImage.cy);
  m_pIcon->SetIcon(hIcon, m_sizeImage.cx, m_sizeImage.cy);
  if (!hIconHot.IsEmpty()) m_pIcon->SetHotIcon(hIconHot);
  RedrawButton(bRedraw);
  return TRUE;
}

BOOL CXTButton::SetBitmap(CSize size, UINT nID, BOOL bRedraw) {
  DeleteIcon();
  HBITMAP hBitmap = static_cast<HBITMAP>(
      ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (hBitmap == nullptr) return FALSE;
  BITMAP bm = {};
  ::GetObjectW(hBitmap, sizeof(bm), &bm);
  BOOL bResult;
  if (bm.bmBitsPixel == 32) {
    CXTPIconHandle hAlpha;
    hAlpha.AttachBitmap(hBitmap);
    bResult = SetIconObjects(size, hAlpha, CXTPIconHandle(), bRedraw);
  } else {
    HICON hIcon = IconFromBitmap(hBitmap);
    ::DeleteObject(hBitmap);
    bResult =
        hIcon != nullptr && SetIconObjects(size, CXTPIconHandle(hIcon, TRUE), CXTPIconHandle(), bRedraw);
  }
  return bResult;
}

void CXTButton::DeleteIcon() {
  if (m_pIcon == nullptr) return;
  RefreshIconForms();
  m_pIcon->InternalRelease();
  m_pIcon = nullptr;
}

void CXTButton::RefreshIconForms() {
  if (m_pIcon != nullptr) m_pIcon->Refresh();
}

void CXTButtonStyleBase::DrawIconForm(CDC* pDC, CXTPImageManagerIcon* pIcon, int nForm, CPoint pt,
                                      CXTButton* pButton) {
  if (pIcon == nullptr) return;
  CXTPIconHandle* pForm;
  switch (nForm) {
    case formHot:
      pForm = &pIcon->GetHotIcon();
      break;
    case formDisabled:
      pForm = &pIcon->GetDisabledIcon(TRUE);
      break;
    case formFaded:
      pForm = &pIcon->GetFadedIcon();
      break;
    case formShadow:
      pForm = &pIcon->GetShadowIcon();
      break;
    default:
      pForm = &pIcon->GetIcon();
      break;
  }
  if (pForm->IsEmpty()) return;
  pIcon->Draw(pDC, pt, *pForm, pButton->GetImageSize());
}
