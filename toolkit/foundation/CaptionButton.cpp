// The caption's button and its styles.
#include "CaptionButton.h"

#include "Caption.h"
#include "ColorTable.h"
#include "DrawHelpers.h"

IMPLEMENT_DYNAMIC(CXTCaptionButton, CXTButton)

CXTCaptionButton::CXTCaptionButton() : CXTButton(RUNTIME_CLASS(CXTCaptionButtonThemeFactory)) {}

CXTCaption* CXTCaptionButton::GetCaption() const {
  return m_pCaption != nullptr && ::IsWindow(m_pCaption->GetSafeHwnd()) ? m_pCaption : nullptr;
}

DWORD CXTCaptionButton::SetXButtonStyle(DWORD /*dwStyle*/, BOOL bRedraw) {
  CXTCaption* pCaption = nullptr;
  if (GetSafeHwnd() != nullptr) {
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    pCaption = dynamic_cast<CXTCaption*>(pParent);
  }
  if (pCaption == nullptr) return m_dwxStyle;
  SetFaceColor(pCaption->GetInnerColor());
  SetTextColor(pCaption->GetTextColor());
  SetShadowColor(GetXTPColor(COLOR_3DDKSHADOW));
  SetFont(pCaption->GetFont(), FALSE);
  RedrawButton(bRedraw);
  return m_dwxStyle;
}

// ---- Classic variant -----------------------------------------------------------------------------

namespace {

CXTCaption* OwningCaption(CXTButton* pButton) {
  auto* pCaptionButton = dynamic_cast<CXTCaptionButton*>(pButton);
  return pCaptionButton != nullptr ? pCaptionButton->GetCaption() : nullptr;
}

}  // namespace

CXTCaptionButtonStyle::CXTCaptionButtonStyle() { m_bOffsetHiliteText = FALSE; }

COLORREF CXTCaptionButtonStyle::GetTextColor(UINT nState, CXTButton* pButton) {
  if (CXTCaption* pCaption = OwningCaption(pButton)) return pCaption->GetTextColor();
  return CXTButtonStyleBase::GetTextColor(nState, pButton);
}

void CXTCaptionButtonStyle::DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  CXTCaption* pCaption = OwningCaption(pButton);
  if (pCaption == nullptr) {
    CXTButtonStyleBase::DrawFrame(lpDIS, pButton);
    return;
  }
  const COLORREF clrOverride = m_clrFace.GetOverrideColor();
  m_clrFace.SetCustomValue(pCaption->GetInnerColor());
  CXTButtonStyleBase::DrawFrame(lpDIS, pButton);
  m_clrFace.SetCustomValue(clrOverride);
}

// ---- Flat variant --------------------------------------------------------------------------------

CXTCaptionButtonStyleFlat::CXTCaptionButtonStyleFlat() {
  m_bOffsetHiliteText = FALSE;
  m_bFadedIcon = FALSE;
  m_bShadowedIcon = FALSE;
}

namespace {

// The text colours the flat and scheme caption buttons share.
COLORREF FlatCaptionTextColor(const CXTButtonStyleFlat& style, UINT nState, CXTButton* pButton) {
  if ((nState & XT_BUTTON_STATE_DISABLED) != 0) return GetXTPColor(COLOR_GRAYTEXT);
  if (pButton->IsHot() || CXTButtonStyleBase::IsPushed(nState, pButton)) return style.m_clrHotText;
  if (CXTCaption* pCaption = OwningCaption(pButton)) return pCaption->GetTextColor();
  return style.m_clrText;
}

// The flat and scheme variants draw the disabled, hot (also when pushed) or normal form, unmoved.
void DrawCaptionButtonImage(CXTButtonStyleBase& style, CDC* pDC, UINT nState, const CRect& rcItem,
                            CXTButton* pButton) {
  CXTPImageManagerIcon* pIcon = pButton->GetIconObject();
  if (!style.GetShowImages() || pIcon == nullptr) return;
  const CPoint pt = style.GetImageDrawPosition(pDC, nState, rcItem, pIcon, pButton);
  int nForm = CXTButtonStyleBase::formNormal;
  if ((nState & XT_BUTTON_STATE_DISABLED) != 0)
    nForm = CXTButtonStyleBase::formDisabled;
  else if (pButton->IsHot() || CXTButtonStyleBase::IsPushed(nState, pButton))
    nForm = CXTButtonStyleBase::formHot;
  style.DrawIconForm(pDC, pIcon, nForm, pt, pButton);
}

}  // namespace

COLORREF CXTCaptionButtonStyleFlat::GetTextColor(UINT nState, CXTButton* pButton) {
  return FlatCaptionTextColor(*this, nState, pButton);
}

void CXTCaptionButtonStyleFlat::DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  DrawCaptionButtonImage(*this, pDC, nState, rcItem, pButton);
}

void CXTCaptionButtonStyleFlat::DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const BOOL bPushed = IsPushed(lpDIS->itemState, pButton);
  if (bPushed || pButton->IsHot()) {
    pDC->FillSolidRect(&rc, GetXTPColor(bPushed ? 33 : 31));
    const COLORREF clrBorder = GetXTPColor(32);
    pDC->Draw3dRect(&rc, clrBorder, clrBorder);
    return;
  }
  CXTCaption* pCaption = OwningCaption(pButton);
  pDC->FillSolidRect(&rc, pCaption != nullptr ? pCaption->GetInnerColor() : m_clrFace.GetColor());
  if (m_bThemedFace) pDC->Draw3dRect(&rc, m_clrShadow, m_clrShadow);
}

// ---- Scheme variant ------------------------------------------------------------------------------

COLORREF CXTCaptionButtonStyleScheme::GetTextColor(UINT nState, CXTButton* pButton) {
  return FlatCaptionTextColor(*this, nState, pButton);
}

void CXTCaptionButtonStyleScheme::DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  DrawCaptionButtonImage(*this, pDC, nState, rcItem, pButton);
}

void CXTCaptionButtonStyleScheme::DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const BOOL bPushed = IsPushed(lpDIS->itemState, pButton);
  if (bPushed || pButton->IsHot()) {
    DrawColorGradient(pDC, &rc, GetColorTable()->GetGradient(bPushed ? 8 : 9), FALSE);
    const COLORREF clrBorder = GetColorTable()->GetThemeColor(32);
    pDC->Draw3dRect(&rc, clrBorder, clrBorder);
    return;
  }
  CXTCaption* pCaption = OwningCaption(pButton);
  if (pCaption == nullptr) {
    pDC->FillSolidRect(&rc, m_clrFace.GetColor());
    return;
  }
  // Render the caption's background off screen and continue its gradient across the button.
  CRect rcCaption;
  pCaption->GetClientRect(&rcCaption);
  CRect rcButton;
  pButton->GetWindowRect(&rcButton);
  pCaption->ScreenToClient(&rcButton);
  COLORREF clrTop = m_clrFace.GetColor();
  COLORREF clrBottom = clrTop;
  if (!rcCaption.IsRectEmpty()) {
    CDC dcMem;
    CBitmap bitmap;
    if (dcMem.CreateCompatibleDC(pDC) &&
        bitmap.CreateCompatibleBitmap(pDC, rcCaption.Width(), rcCaption.Height())) {
      CBitmap* pOld = dcMem.SelectObject(&bitmap);
      pCaption->DrawCaptionBack(&dcMem, rcCaption);
      clrTop = dcMem.GetPixel(rcButton.left, rcButton.top);
      clrBottom = dcMem.GetPixel(rcButton.right - 1, rcButton.bottom - 1);
      dcMem.SelectObject(pOld);
    }
  }
  DrawGradientRect(pDC, &rc, clrTop, clrBottom, FALSE);
}

// ---- Factory -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTCaptionButtonThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeStyleBase* CXTCaptionButtonThemeFactory::CreateStyle(int nTheme) {
  return XTCreateThemeStyle<CXTCaptionButtonStyle, CXTCaptionButtonStyleFlat, CXTCaptionButtonStyleScheme>(
      nTheme);
}
