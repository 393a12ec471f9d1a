// Drawing of the caption styles.
#include "CaptionTheme.h"

#include "Caption.h"
#include "ColorTable.h"
#include "DrawHelpers.h"

void CXTCaptionStyle::RefreshStyle() {
  m_clrShadow.SetStandardValue(GetXTPColor(COLOR_BTNSHADOW));
  m_clrHighlight.SetStandardValue(GetXTPColor(COLOR_BTNHIGHLIGHT));
}

void CXTCaptionStyle::DrawCaptionBack(CDC* pDC, CXTCaption* pCaption, CRect& rcItem) {
  CRect rc(rcItem);
  pDC->SetBkMode(TRANSPARENT);
  pDC->FillSolidRect(&rc, pCaption->GetBorderColor());
  const DWORD dwStyle = pCaption->GetCaptionStyle();
  if (dwStyle & (CPWS_EX_GROOVE_EDGE | CPWS_EX_RAISED_EDGE)) {
    if (dwStyle & CPWS_EX_GROOVE_EDGE) {
      pDC->Draw3dRect(&rc, m_clrShadow, m_clrHighlight);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(&rc, m_clrHighlight, m_clrShadow);
    } else {
      pDC->Draw3dRect(&rc, m_clrHighlight, m_clrShadow);
    }
    if (pCaption->GetBorderSize() == 0) rc.DeflateRect(1, 1);
  }
  rc.DeflateRect(pCaption->GetBorderSize(), pCaption->GetBorderSize());
  pDC->FillSolidRect(&rc, pCaption->GetInnerColor());
}

void CXTCaptionStyle::DrawCaptionText(CDC* pDC, CXTCaption* pCaption) {
  const CString& strText = pCaption->GetCaptionText();
  if (strText.IsEmpty()) return;
  CRect rcText = pCaption->GetTextRect();
  CFont* pFont = pCaption->GetFont();
  HDC hDC = pDC->GetSafeHdc();
  HGDIOBJ hOld = pFont != nullptr ? ::SelectObject(hDC, pFont->GetSafeHandle()) : nullptr;
  const COLORREF clrOld = ::SetTextColor(hDC, pCaption->GetTextColor());
  const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
  ::DrawTextW(hDC, strText, strText.GetLength(), &rcText,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SetBkMode(hDC, nOldMode);
  ::SetTextColor(hDC, clrOld);
  if (hOld != nullptr) ::SelectObject(hDC, hOld);
}

void CXTCaptionStyle::DrawCaptionIcon(CDC* pDC, CXTCaption* pCaption, CRect& rcItem) {
  HICON hIcon = pCaption->GetCaptionIcon();
  if (hIcon == nullptr) return;
  ICONINFO info = {};
  CSize sizeIcon(16, 16);
  if (::GetIconInfo(hIcon, &info)) {
    BITMAP bm = {};
    if (info.hbmColor != nullptr && ::GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
      sizeIcon = CSize(bm.bmWidth, bm.bmHeight);
    } else if (info.hbmMask != nullptr && ::GetObjectW(info.hbmMask, sizeof(bm), &bm)) {
      sizeIcon = CSize(bm.bmWidth, bm.bmHeight / 2);
    }
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  }
  const int nBorder = pCaption->GetBorderSize();
  int x = rcItem.right - nBorder - sizeIcon.cx - 2;
  if (x < nBorder) x = nBorder;
  const int y = (rcItem.Height() - sizeIcon.cy) / 2;
  if (x + sizeIcon.cx < rcItem.right - nBorder)
    ::DrawIconEx(pDC->GetSafeHdc(), x, y, hIcon, sizeIcon.cx, sizeIcon.cy, 0, nullptr, DI_NORMAL);
}

void CXTCaptionStyleFlat::DrawCaptionBack(CDC* pDC, CXTCaption* pCaption, CRect& rcItem) {
  CRect rc(rcItem);
  pDC->FillSolidRect(&rc, pCaption->GetBorderColor());
  if (pCaption->HasButtonText()) {
    rc.DeflateRect(pCaption->GetBorderSize(), pCaption->GetBorderSize());
    pDC->FillSolidRect(&rc, pCaption->GetInnerColor());
  } else {
    pDC->Draw3dRect(&rc, m_clrHighlight, m_clrShadow);
  }
}

void CXTCaptionStyleGradient::DrawCaptionBack(CDC* pDC, CXTCaption* pCaption, CRect& rcItem) {
  CRect rc(rcItem);
  CXTPColorTable* pTable = GetColorTable();
  const COLORREF clrLine = pTable->GetColor(54);
  // Gradient 0 is the caption's dark gradient, gradient 1 the light one beneath bars.
  if (pCaption->HasButtonText()) {
    DrawColorGradient(pDC, &rc, pTable->GetGradient(0), FALSE);
    pDC->Draw3dRect(&rc, clrLine, clrLine);
  } else {
    DrawColorGradient(pDC, &rc, pTable->GetGradient(1), FALSE);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrLine);
  }
}

IMPLEMENT_DYNCREATE(CXTCaptionThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeStyleBase* CXTCaptionThemeFactory::CreateStyle(int nTheme) {
  return XTCreateThemeStyle<CXTCaptionStyle, CXTCaptionStyleFlat, CXTCaptionStyleGradient>(nTheme);
}
