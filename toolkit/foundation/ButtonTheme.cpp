// Drawing and colours of the button styles, and the factory that makes them.
#include "ButtonTheme.h"

#include "Button.h"
#include "ColorTable.h"
#include "DrawHelpers.h"
#include "VisualStyles.h"

#include <vssym32.h>

namespace {

CRect ClientRectOf(CXTButton* pButton) {
  CRect rc(0, 0, 0, 0);
  if (pButton->GetSafeHwnd() != nullptr) pButton->GetClientRect(&rc);
  return rc;
}

}  // namespace

// ---- Classic style -------------------------------------------------------------------------------

CXTButtonStyleBase::CXTButtonStyleBase() = default;
CXTButtonStyleBase::~CXTButtonStyleBase() = default;

void CXTButtonStyleBase::RefreshStyle() {
  m_clrFace.SetStandardValue(GetXTPColor(COLOR_BTNFACE));
  m_clrText.SetStandardValue(GetXTPColor(COLOR_BTNTEXT));
  m_clrDisabledText.SetStandardValue(GetXTPColor(COLOR_GRAYTEXT));
  m_clrLight.SetStandardValue(GetXTPColor(COLOR_BTNFACE));
  m_clrShadow.SetStandardValue(GetXTPColor(COLOR_BTNSHADOW));
  m_clrHighlight.SetStandardValue(GetXTPColor(COLOR_BTNHIGHLIGHT));
  m_clrDarkShadow.SetStandardValue(GetXTPColor(COLOR_3DDKSHADOW));
  // The theme data is reopened on next need: the visual style may have changed.
  m_themeButton.CloseThemeData();
}

BOOL CXTButtonStyleBase::IsPushed(UINT nState, CXTButton* pButton) {
  return (nState & XT_BUTTON_STATE_PUSHED) != 0 || pButton->IsChecked();
}

BOOL CXTButtonStyleBase::UsesHotTracking(CXTButton* pButton) {
  return IsVisualStyleActive(pButton) || pButton->HasStyle(XButtonFlat | XButtonThinFrame);
}

BOOL CXTButtonStyleBase::IsVisualStyleActive(CXTButton* pButton) {
  if (!pButton->HasStyle(XButtonVisualStyle) || !::IsVisualStyleActive()) return FALSE;
  if (m_themeButton.GetHandle() == nullptr) m_themeButton.OpenThemeData(pButton->GetSafeHwnd(), L"BUTTON");
  return m_themeButton.GetHandle() != nullptr;
}

CFont* CXTButtonStyleBase::GetFont(CXTButton* pButton) {
  if (m_pFont != nullptr && m_pFont->GetSafeHandle() != nullptr) return m_pFont;
  return pButton->GetSafeHwnd() != nullptr ? pButton->GetFont() : nullptr;
}

void CXTButtonStyleBase::SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow,
                                   COLORREF clrText) {
  if (clrFace != COLORREF(-1)) SetFaceColor(clrFace);
  if (clrLight != COLORREF(-1)) SetLightColor(clrLight);
  if (clrShadow != COLORREF(-1)) SetShadowColor(clrShadow);
  if (clrText != COLORREF(-1)) SetTextColor(clrText);
}

CSize CXTButtonStyleBase::MeasureText(CDC* pDC, CXTButton* pButton, CString& strText) {
  strText = pButton->GetButtonText(FALSE);
  if (strText.IsEmpty()) return CSize(0, 0);
  CString strVisible = pButton->GetButtonText(TRUE);
  CFont* pFont = GetFont(pButton);
  HGDIOBJ hOld = pFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), pFont->GetSafeHandle()) : nullptr;
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(pDC->GetSafeHdc(), strVisible, strVisible.GetLength(), &size);
  if (hOld != nullptr) ::SelectObject(pDC->GetSafeHdc(), hOld);
  return CSize(size.cx, size.cy);
}

CPoint CXTButtonStyleBase::GetTextPosition(const CRect& rcClient, CSize sizeText, CXTButton* pButton) {
  if (pButton->HasExplicitPositions()) return pButton->GetExplicitTextPos();
  const CSize sizeImage = pButton->GetImageSize();
  const int nMargin = pButton->GetImageMargin();
  const int nGap = pButton->GetImageGap();
  const BOOL bAbove = pButton->HasStyle(XButtonImageAboveText);
  const BOOL bBeside = !bAbove && sizeImage.cx > 0;

  CPoint pt;
  pt.y = (rcClient.Height() - sizeText.cy) / 2;
  if (bAbove) pt.y += nGap / 2 + sizeImage.cy / 2;

  const DWORD dwAlign = pButton->GetStyle() & BS_CENTER;
  if (dwAlign == BS_LEFT) {
    pt.x = nMargin + (bBeside ? sizeImage.cx + nGap : 0);
  } else if (dwAlign == BS_RIGHT) {
    pt.x = rcClient.right - nMargin - sizeText.cx;
  } else {
    const int x0 = nMargin + (bBeside ? sizeImage.cx : 0);
    pt.x = x0 + (rcClient.right - nMargin - sizeText.cx - x0) / 2;
  }
  return pt;
}

COLORREF CXTButtonStyleBase::GetTextColor(UINT nState, CXTButton* /*pButton*/) {
  return (nState & XT_BUTTON_STATE_DISABLED) != 0 ? m_clrDisabledText.GetColor() : m_clrText.GetColor();
}

void CXTButtonStyleBase::DrawText(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  CString strText;
  const CSize sizeText = MeasureText(pDC, pButton, strText);
  if (strText.IsEmpty()) return;
  CPoint pt = GetTextPosition(rcItem, sizeText, pButton);
  if (m_bOffsetHiliteText && IsPushed(nState, pButton)) pt.Offset(1, 1);

  CFont* pFont = GetFont(pButton);
  HDC hDC = pDC->GetSafeHdc();
  HGDIOBJ hOld = pFont != nullptr ? ::SelectObject(hDC, pFont->GetSafeHandle()) : nullptr;
  const COLORREF clrOld = ::SetTextColor(hDC, GetTextColor(nState, pButton));
  const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
  // The prefix form underlines the mnemonic and shows "&&" as one ampersand, as DrawState would.
  CRect rcText(pt, sizeText);
  ::DrawTextW(hDC, strText, strText.GetLength(), &rcText, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP);
  ::SetBkMode(hDC, nOldMode);
  ::SetTextColor(hDC, clrOld);
  if (hOld != nullptr) ::SelectObject(hDC, hOld);
}

CPoint CXTButtonStyleBase::GetImagePosition(CSize sizeText, CXTButton* pButton) {
  if (pButton->HasExplicitPositions()) return pButton->GetExplicitImagePos();
  const CRect rcClient = ClientRectOf(pButton);
  const CSize sizeImage = pButton->GetImageSize();
  const int nMargin = pButton->GetImageMargin();
  const int nGap = pButton->GetImageGap();
  const DWORD dwStyle = pButton->GetStyle();

  CPoint pt(nMargin, (rcClient.Height() - sizeImage.cy) / 2);
  if (pButton->HasStyle(XButtonImageAboveText)) {
    const DWORD dwAlign = dwStyle & BS_CENTER;
    if (dwAlign == BS_LEFT)
      pt.x = nMargin;
    else if (dwAlign == BS_RIGHT)
      pt.x = rcClient.right - nMargin - sizeImage.cx;
    else if (sizeImage.cx < rcClient.Width())
      pt.x = (rcClient.Width() - sizeImage.cx) / 2;
    if (sizeText.cx > 0) pt.y -= nGap / 2 + sizeText.cy / 2;
  } else if (sizeText.cx == 0) {
    if ((dwStyle & BS_CENTER) == BS_CENTER && sizeImage.cx < rcClient.Width())
      pt.x = (rcClient.Width() - sizeImage.cx) / 2;
    if ((dwStyle & BS_VCENTER) == BS_VCENTER && sizeImage.cy < rcClient.Height())
      pt.y = (rcClient.Height() - sizeImage.cy) / 2;
  }
  if (pt.x < 0) pt.x = 0;
  if (pt.y < 0) pt.y = 0;
  return pt;
}

CPoint CXTButtonStyleBase::GetImageDrawPosition(CDC* pDC, UINT /*nState*/, const CRect& /*rcItem*/,
                                                CXTPImageManagerIcon* /*pIcon*/, CXTButton* pButton) {
  CString strText;
  return GetImagePosition(MeasureText(pDC, pButton, strText), pButton);
}

void CXTButtonStyleBase::DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  CXTPImageManagerIcon* pIcon = pButton->GetIconObject();
  if (!GetShowImages() || pIcon == nullptr) return;
  CPoint pt = GetImageDrawPosition(pDC, nState, rcItem, pIcon, pButton);
  const BOOL bPushed = IsPushed(nState, pButton);
  if ((nState & XT_BUTTON_STATE_DISABLED) != 0) {
    DrawIconForm(pDC, pIcon, formDisabled, pt, pButton);
    return;
  }
  if (bPushed) pt.Offset(1, 1);
  DrawIconForm(pDC, pIcon, pButton->IsHot() || bPushed ? formHot : formNormal, pt, pButton);
}

void CXTButtonStyleBase::DrawButton(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  if (!DrawVisualStyleFrame(lpDIS, pButton)) DrawFrame(lpDIS, pButton);
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rcItem(lpDIS->rcItem);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  DrawText(pDC, lpDIS->itemState, rcItem, pButton);
  DrawImage(pDC, lpDIS->itemState, rcItem, pButton);
  if (pButton->HasStyle(XButtonShowFocus) && (lpDIS->itemState & XT_BUTTON_STATE_FOCUS) != 0)
    DrawFocusRect(pDC, lpDIS->itemState, rcItem, pButton);
  pDC->SetBkMode(nOldMode);
}

BOOL CXTButtonStyleBase::DrawVisualStyleFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  if (!IsVisualStyleActive(pButton)) return FALSE;
  const UINT nState = lpDIS->itemState;
  int nThemeState = PBS_NORMAL;
  if ((nState & XT_BUTTON_STATE_DISABLED) != 0)
    nThemeState = PBS_DISABLED;
  else if (IsPushed(nState, pButton))
    nThemeState = PBS_PRESSED;
  else if (pButton->IsHot())
    nThemeState = PBS_HOT;
  else if ((nState & XT_BUTTON_STATE_FOCUS) != 0)
    nThemeState = PBS_DEFAULTED;
  return SUCCEEDED(
      m_themeButton.DrawThemeBackground(lpDIS->hDC, BP_PUSHBUTTON, nThemeState, &lpDIS->rcItem, nullptr));
}

void CXTButtonStyleBase::FillCheckedPattern(CDC* pDC, const CRect& rc) {
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP hPattern = ::CreateBitmap(8, 8, 1, 1, kPattern);
  HBRUSH hBrush = ::CreatePatternBrush(hPattern);
  HDC hDC = pDC->GetSafeHdc();
  // A monochrome pattern takes the text colour for its 0 bits and the background for its 1 bits.
  const COLORREF clrOldBk = ::SetBkColor(hDC, GetXTPColor(COLOR_BTNFACE));
  const COLORREF clrOldText = ::SetTextColor(hDC, GetXTPColor(COLOR_BTNHIGHLIGHT));
  ::FillRect(hDC, &rc, hBrush);
  ::SetTextColor(hDC, clrOldText);
  ::SetBkColor(hDC, clrOldBk);
  ::DeleteObject(hBrush);
  ::DeleteObject(hPattern);
}

void CXTButtonStyleBase::DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rc(lpDIS->rcItem);
  const BOOL bPushed = IsPushed(lpDIS->itemState, pButton);
  const BOOL bHot = pButton->IsHot();

  pDC->FillSolidRect(&rc, m_clrFace.GetColor());
  if (pButton->HasStyle(XButtonCheckedPattern) && bPushed) FillCheckedPattern(pDC, rc);

  if (pButton->HasStyle(XButtonFlat)) {
    if (bPushed)
      pDC->Draw3dRect(&rc, m_clrShadow, m_clrHighlight);
    else if (bHot)
      pDC->Draw3dRect(&rc, m_clrHighlight, m_clrShadow);
  } else if (pButton->HasStyle(XButtonThinFrame)) {
    if (bPushed)
      pDC->Draw3dRect(&rc, m_clrShadow, m_clrHighlight);
    else
      pDC->Draw3dRect(&rc, m_clrHighlight, m_clrShadow);
  } else if (bPushed) {
    pDC->Draw3dRect(&rc, m_clrDarkShadow, m_clrHighlight);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, m_clrShadow, m_clrLight);
  } else {
    pDC->Draw3dRect(&rc, m_clrHighlight, m_clrDarkShadow);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, m_clrLight, m_clrShadow);
  }
}

void CXTButtonStyleBase::DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  CRect rc(rcItem);
  const int nInset = IsVisualStyleActive(pButton) ? 4 : 2;
  rc.DeflateRect(nInset, nInset);
  const COLORREF clrOld = pDC->SetTextColor(GetTextColor(nState, pButton));
  pDC->DrawFocusRect(&rc);
  pDC->SetTextColor(clrOld);
}

// ---- Flat style ----------------------------------------------------------------------------------

CXTButtonStyleFlat::CXTButtonStyleFlat() { m_bOffsetHiliteText = FALSE; }

void CXTButtonStyleFlat::RefreshStyle() {
  CXTButtonStyleBase::RefreshStyle();
  m_clrFace.SetStandardValue(GetXTPColor(m_bThemedFace ? XPCOLOR_BASE : COLOR_BTNFACE));
  m_clrLight.SetStandardValue(GetXTPColor(32));
  m_clrText.SetStandardValue(GetXTPColor(46));
  m_clrPushedFace.SetStandardValue(GetXTPColor(33));
  m_clrHotFace.SetStandardValue(GetXTPColor(31));
  m_clrPushedText.SetStandardValue(GetXTPColor(47));
  m_clrHotText.SetStandardValue(GetXTPColor(45));
  m_clrCheckedFace.SetStandardValue(GetXTPColor(36));
}

BOOL CXTButtonStyleFlat::UsesHotTracking(CXTButton* /*pButton*/) { return TRUE; }

COLORREF CXTButtonStyleFlat::GetTextColor(UINT nState, CXTButton* pButton) {
  if ((nState & XT_BUTTON_STATE_DISABLED) != 0) return GetXTPColor(COLOR_GRAYTEXT);
  if (pButton->IsHot()) return m_clrHotText;
  if (IsPushed(nState, pButton)) return m_clrPushedText;
  return m_clrText;
}

void CXTButtonStyleFlat::DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  CXTPImageManagerIcon* pIcon = pButton->GetIconObject();
  if (!GetShowImages() || pIcon == nullptr) return;
  const CPoint pt = GetImageDrawPosition(pDC, nState, rcItem, pIcon, pButton);
  if ((nState & XT_BUTTON_STATE_DISABLED) != 0) {
    DrawIconForm(pDC, pIcon, formDisabled, pt, pButton);
  } else if (pButton->IsHot()) {
    if (m_bShadowedIcon) {
      DrawIconForm(pDC, pIcon, formShadow, pt + CPoint(1, 1), pButton);
      DrawIconForm(pDC, pIcon, formHot, pt - CPoint(1, 1), pButton);
    } else {
      DrawIconForm(pDC, pIcon, formHot, pt, pButton);
    }
  } else if (IsPushed(nState, pButton)) {
    DrawIconForm(pDC, pIcon, formHot, pt, pButton);
  } else {
    DrawIconForm(pDC, pIcon, m_bFadedIcon ? formFaded : formNormal, pt, pButton);
  }
}

void CXTButtonStyleFlat::FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bHot, BOOL bChecked) {
  COLORREF clr;
  if (bPushed)
    clr = m_clrPushedFace;
  else if (bHot)
    clr = bChecked ? m_clrPushedFace : m_clrHotFace;
  else
    clr = m_clrCheckedFace;
  pDC->FillSolidRect(&rc, clr);
}

void CXTButtonStyleFlat::DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect rc(lpDIS->rcItem);
  const BOOL bChecked = pButton->IsChecked();
  const BOOL bPushed = (lpDIS->itemState & XT_BUTTON_STATE_PUSHED) != 0;
  const BOOL bHot = pButton->IsHot();
  if (!bChecked && !bPushed && !bHot) {
    pDC->FillSolidRect(&rc, m_clrFace.GetColor());
    if (m_bThemedFace) pDC->Draw3dRect(&rc, m_clrShadow, m_clrShadow);
    return;
  }
  FillActiveFace(pDC, rc, bPushed, bHot, bChecked);
  pDC->Draw3dRect(&rc, m_clrLight, m_clrLight);
}

void CXTButtonStyleFlat::DrawFocusRect(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) {
  if (!m_bThemedFace) {
    CXTButtonStyleBase::DrawFocusRect(pDC, nState, rcItem, pButton);
    return;
  }
  if (IsPushed(nState, pButton) || pButton->IsHot() || pButton->HasStyle(XButtonVisualStyle)) return;
  CRect rc(rcItem);
  const COLORREF clr = GetXTPColor(COLOR_HIGHLIGHT);
  pDC->Draw3dRect(&rc, clr, clr);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(&rc, clr, clr);
}

// ---- Scheme style --------------------------------------------------------------------------------

CXTButtonStyleScheme::CXTButtonStyleScheme() {
  m_bFadedIcon = FALSE;
  m_bShadowedIcon = FALSE;
  m_bThemedFace = FALSE;
}

void CXTButtonStyleScheme::RefreshStyle() {
  CXTButtonStyleFlat::RefreshStyle();
  const int nTheme = GetColorTable()->GetCurrentTheme();
  switch (nTheme) {
    case xtpSystemThemeBlue:
      m_clrFace.SetStandardValue(RGB(169, 199, 240));
      m_clrShadow.SetStandardValue(RGB(127, 157, 185));
      m_clrLight.SetStandardValue(RGB(0, 0, 128));
      break;
    case xtpSystemThemeOlive:
      m_clrFace.SetStandardValue(RGB(197, 212, 159));
      m_clrShadow.SetStandardValue(RGB(164, 185, 127));
      m_clrLight.SetStandardValue(RGB(63, 93, 56));
      break;
    case xtpSystemThemeSilver:
      // The button's silver border is RGB(75,75,11), unlike the RGB(75,75,111) of edits and tips.
      m_clrFace.SetStandardValue(RGB(192, 192, 211));
      m_clrShadow.SetStandardValue(RGB(165, 172, 178));
      m_clrLight.SetStandardValue(RGB(75, 75, 11));
      break;
    default:
      break;
  }
  if (nTheme == xtpSystemThemeBlue || nTheme == xtpSystemThemeOlive || nTheme == xtpSystemThemeSilver) {
    m_clrHotFace.SetStandardValue(RGB(255, 238, 194));
    m_clrPushedFace.SetStandardValue(RGB(254, 128, 62));
    m_clrCheckedFace.SetStandardValue(RGB(255, 192, 111));
    m_clrText.SetStandardValue(RGB(0, 0, 0));
    m_clrPushedText.SetStandardValue(RGB(0, 0, 0));
    m_clrHotText.SetStandardValue(RGB(0, 0, 0));
  }
  if (!m_bThemedFace) m_clrFace.SetStandardValue(GetXTPColor(COLOR_BTNFACE));
}

void CXTButtonStyleScheme::FillActiveFace(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bHot,
                                          BOOL /*bChecked*/) {
  // Gradients 8, 9 and 7 of the colour table: pushed, hot and checked.
  CXTPColorTable* pTable = GetColorTable();
  const CXTPColorGradientValue& grc = bPushed ? pTable->GetGradient(8)
                                      : bHot  ? pTable->GetGradient(9)
                                              : pTable->GetGradient(7);
  DrawColorGradient(pDC, &rc, grc, FALSE);
}

// ---- Factory -------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTButtonThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeStyleBase* CXTButtonThemeFactory::CreateStyle(int nTheme) {
  return XTCreateThemeStyle<CXTButtonStyleBase, CXTButtonStyleFlat, CXTButtonStyleScheme>(nTheme);
}
