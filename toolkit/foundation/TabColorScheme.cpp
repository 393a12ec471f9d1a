// The colour scheme base (colours and fills shared by all schemes) and the default scheme.
#include "TabColorScheme.h"

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "TabManager.h"
#include "TabPainter.h"
#include "TabScrollButton.h"

namespace {

// A first strip colour of this value asks for the dither.
const COLORREF kDither = COLORREF(-2);

void SetOutline(CXTPTabColorScheme::OUTLINE& outline, COLORREF clrOuterLeftTop, COLORREF clrOuterBottom,
                COLORREF clrOuterRight, COLORREF clrInnerHighlight, COLORREF clrInnerRight,
                COLORREF clrInnerBottom) {
  outline.clrOuterLeftTop.SetStandardValue(clrOuterLeftTop);
  outline.clrOuterBottom.SetStandardValue(clrOuterBottom);
  outline.clrOuterRight.SetStandardValue(clrOuterRight);
  outline.clrInnerHighlight.SetStandardValue(clrInnerHighlight);
  outline.clrInnerRight.SetStandardValue(clrInnerRight);
  outline.clrInnerBottom.SetStandardValue(clrInnerBottom);
}

}  // namespace

CXTPTabColorScheme::CXTPTabColorScheme() = default;

CXTPTabColorScheme::~CXTPTabColorScheme() = default;

int CXTPTabColorScheme::GetPosition() const { return m_pPainter != nullptr ? m_pPainter->GetPosition() : 0; }

int CXTPTabColorScheme::GetShapeStyle() const {
  return m_pPainter != nullptr ? m_pPainter->GetShapeStyle() : 0;
}

BOOL CXTPTabColorScheme::IsPlainColors() const {
  return m_pPainter != nullptr && m_pPainter->IsPlainColors();
}

void CXTPTabColorScheme::RefreshMetrics() {
  const COLORREF clrFace = GetXtremeColor(COLOR_BTNFACE);
  const COLORREF clrShadow = GetXtremeColor(COLOR_BTNSHADOW);
  const COLORREF clrHighlight = GetXtremeColor(COLOR_BTNHIGHLIGHT);
  const COLORREF clrText = GetXtremeColor(COLOR_BTNTEXT);
  const COLORREF clrWindow = GetXtremeColor(COLOR_WINDOW);

  m_clrFrame.SetStandardValue(clrShadow);
  m_grcStrip.SetStandardColor(clrFace);
  m_grcHeader.SetStandardColor(clrFace);
  m_clrFace.SetStandardValue(clrFace);
  m_clrHighlight.SetStandardValue(clrHighlight);
  m_clrNormalText.SetStandardValue(clrText);
  m_clrInactiveText.SetStandardValue(clrText);
  m_clrSelectedText.SetStandardValue(clrText);
  m_clrHotText.SetStandardValue(RGB(0, 0, 128));
  m_clrDisabledText.SetStandardValue(GetXtremeColor(COLOR_GRAYTEXT));
  m_grcSelectedFill.SetStandardColor(clrWindow);
  m_grcSelectedFrame.SetStandardColor(clrHighlight);
  m_clrSelectedItem.SetStandardValue(GetShapeStyle() == 7 ? clrWindow : clrFace);
  m_clrNormalItem.SetStandardValue(clrFace);

  m_clrBevelHighlight.SetStandardValue(clrHighlight);
  m_clrBevelShadow.SetStandardValue(clrShadow);
  m_clrBevelDarkShadow.SetStandardValue(GetXtremeColor(COLOR_3DDKSHADOW));
  m_clrSeparatorShadow.SetStandardValue(clrShadow);
  m_clrPageShadow.SetStandardValue(clrShadow);
  m_clrSeparatorLight.SetStandardValue(clrFace);
  m_clrPageLight.SetStandardValue(clrFace);

  SetOutline(m_outlineSelected, clrText, clrShadow, clrText, COLORREF(-1), COLORREF(-1), COLORREF(-1));
  SetOutline(m_outlineNormal, clrText, clrShadow, clrText, COLORREF(-1), COLORREF(-1), COLORREF(-1));
}

COLORREF CXTPTabColorScheme::SetItemTextColor(CDC* pDC, CXTPTabManagerItem* pItem) {
  COLORREF clr = m_clrDisabledText;
  if (pItem->IsEnabled()) {
    const CXTPTabManager* pTabManager = pItem->GetTabManager();
    if (pTabManager != nullptr && !pTabManager->IsActive())
      clr = m_clrInactiveText;
    else if (pItem->IsSelected())
      clr = m_clrSelectedText;
    else if (pItem->IsHighlighted())
      clr = m_clrHotText;
    else
      clr = m_clrNormalText;
  }
  pDC->SetTextColor(clr);
  return clr;
}

void CXTPTabColorScheme::FillDither(CDC* pDC, CRect rc) {
  // Rows of alternating pixels, one WORD per row as monochrome bitmaps need.
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  CBitmap bitmap;
  if (!bitmap.CreateBitmap(8, 8, 1, 1, kPattern)) return;
  CBrush brush;
  if (!brush.CreatePatternBrush(&bitmap)) return;
  const COLORREF clrOldBk = pDC->SetBkColor(m_clrFace);
  const COLORREF clrOldText = pDC->SetTextColor(m_clrHighlight);
  pDC->FillRect(rc, &brush);
  pDC->SetBkColor(clrOldBk);
  pDC->SetTextColor(clrOldText);
}

void CXTPTabColorScheme::FillGradientAcross(CDC* pDC, CRect rc, const CXTPColorGradientValue& grc) {
  if (grc.clr1.GetColor() == kDither) {
    FillDither(pDC, rc);
    return;
  }
  const int nPosition = GetPosition();
  BOOL bSwap = nPosition == xtpTabPositionBottom || nPosition == xtpTabPositionRight;
  if (m_pPainter != nullptr && m_pPainter->m_bInvertGradient) bSwap = !bSwap;
  const BOOL bHorz = nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight;
  if (!bSwap) {
    DrawColorGradient(pDC, rc, grc, bHorz);
    return;
  }
  CXTPColorGradientValue swapped;
  swapped.SetStandardColors(grc.clr2.GetColor(), grc.clr1.GetColor(), 1.0f - grc.fGradientFactor);
  DrawColorGradient(pDC, rc, swapped, bHorz);
}

void CXTPTabColorScheme::FillStripBackground(CDC* pDC, CRect rc, CXTPTabManager* /*pTabManager*/) {
  FillGradientAcross(pDC, rc, m_grcStrip);
}

COLORREF CXTPTabColorScheme::FillPageArea(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) {
  CXTPTabManagerItem* pSelected = pTabManager != nullptr ? pTabManager->GetSelectedItem() : nullptr;
  const COLORREF clr = pSelected != nullptr ? GetItemColor(pSelected) : m_clrSelectedItem.GetColor();
  pDC->FillSolidRect(rc, clr);
  return clr;
}

void CXTPTabColorScheme::FillItemFrame(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) {
  if (pItem->IsSelected()) {
    if (m_pPainter != nullptr && m_pPainter->IsItemColors())
      pDC->FillSolidRect(rc, GetItemColor(pItem));
    else
      FillGradientAcross(pDC, rc, m_grcSelectedFill);
    pDC->Draw3dRect(rc, m_grcSelectedFrame.clr1, m_grcSelectedFrame.clr2);
    return;
  }
  const int nPosition = GetPosition();
  if (nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight) {
    pDC->FillSolidRect(rc.left + 2, rc.bottom - 2, rc.Width() - 4, 1, m_clrSeparatorShadow);
    pDC->FillSolidRect(rc.left + 2, rc.bottom - 1, rc.Width() - 4, 1, m_clrHighlight);
  } else {
    pDC->FillSolidRect(rc.right - 2, rc.top + 2, 1, rc.Height() - 4, m_clrSeparatorShadow);
    pDC->FillSolidRect(rc.right - 1, rc.top + 2, 1, rc.Height() - 4, m_clrHighlight);
  }
}

COLORREF CXTPTabColorScheme::FillItem(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) {
  const COLORREF clr = GetItemColor(pItem);
  pDC->FillSolidRect(rc, clr);
  return clr;
}

void CXTPTabColorScheme::FillHeader(CDC* /*pDC*/, CRect /*rc*/, CXTPTabManager* /*pTabManager*/) {}

COLORREF CXTPTabColorScheme::GetItemColor(CXTPTabManagerItem* pItem) {
  if (m_pPainter != nullptr && m_pPainter->IsItemColors()) return pItem->GetColor();
  return pItem->IsSelected() ? m_clrSelectedItem.GetColor() : m_clrNormalItem.GetColor();
}

int CXTPTabColorScheme::Reserved() { return 0; }

// ---- the default scheme --------------------------------------------------------------------------

void CXTPTabColorSchemeDefault::RefreshMetrics() {
  CXTPTabColorScheme::RefreshMetrics();
  const COLORREF clrShadow = GetXtremeColor(COLOR_BTNSHADOW);
  const COLORREF clrText = GetXtremeColor(COLOR_BTNTEXT);
  const COLORREF clrWindow = GetXtremeColor(COLOR_WINDOW);
  m_grcSelectedFill.SetStandardColor(kDither);
  m_grcSelectedFrame.SetStandardColors(clrShadow, GetXtremeColor(COLOR_BTNHIGHLIGHT), 0.5f);
  SetOutline(m_outlineSelected, clrText, clrText, clrText, clrWindow, clrShadow, clrShadow);
  SetOutline(m_outlineNormal, clrText, clrText, clrText, COLORREF(-1), COLORREF(-1), COLORREF(-1));
  if (GetShapeStyle() == 7) {
    m_clrSelectedItem.SetStandardValue(GetXtremeColor(COLOR_BTNFACE));
    m_clrNormalItem.SetStandardValue(clrWindow);
    m_clrFrame.SetStandardValue(clrText);
  }
}

void PASCAL CXTPTabColorScheme::FrameNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc,
                                                    COLORREF clrDark, COLORREF clrLight) {
  if (pButton->IsPressed()) {
    pDC->Draw3dRect(rc, clrDark, clrLight);
    rc.OffsetRect(1, 1);
  } else if (pButton->IsHighlighted()) {
    pDC->Draw3dRect(rc, clrLight, clrDark);
  }
}

void CXTPTabColorSchemeDefault::FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) {
  pDC->SetTextColor(GetXtremeColor(COLOR_BTNTEXT));
  FrameNavigateButton(pDC, pButton, rc, GetXtremeColor(COLOR_BTNSHADOW), GetXtremeColor(COLOR_BTNHIGHLIGHT));
}
