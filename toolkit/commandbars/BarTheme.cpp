// The paint theme base: the process-wide theme, fonts, colours, the shared toolbar-control layout,
// captions, symbols, check marks, status-bar pieces and the popup animations.
#include "BarTheme.h"

#include "BarTheme3D.h"
#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlPopup.h"
#include "DockBar.h"
#include "StatusBar.h"

#include <DrawHelpers.h>
#include <ImageManager.h>
#include <ScopedFont.h>
#include <SystemResources.h>

#include <cmath>

IMPLEMENT_DYNAMIC(CXTPBarTheme, CCmdTarget)

namespace {

CXTPBarTheme* g_pTheme = nullptr;

// Releases the process-wide theme at exit.
struct ThemeReleaser {
  ~ThemeReleaser() { CXTPBarTheme::ReleaseTheme(); }
} g_themeReleaser;

// A theme of a class that may come with a later part of the toolkit; theme 0 until it exists.
CXTPBarTheme* CreateThemeOfClass(LPCSTR lpszClassName) {
  CRuntimeClass* pClass = lpszClassName != nullptr ? CRuntimeClass::FromName(lpszClassName) : nullptr;
  if (pClass != nullptr && pClass->m_pfnCreateObject != nullptr &&
      pClass->IsDerivedFrom(RUNTIME_CLASS(CXTPBarTheme))) {
    if (CObject* pObject = pClass->CreateObject()) return static_cast<CXTPBarTheme*>(pObject);
  }
  return new CXTPBarTheme3D;
}

class CScopedTextColor {
 public:
  CScopedTextColor(CDC* pDC, COLORREF clr) : m_pDC(pDC), m_clrOld(pDC->SetTextColor(clr)) {}
  ~CScopedTextColor() { m_pDC->SetTextColor(m_clrOld); }

 private:
  CDC* m_pDC;
  COLORREF m_clrOld;
};

}  // namespace

CXTPBarTheme::CXTPBarTheme() {
  InterlockedIncrement(&XTPGetLiveObjectCounts()->nThemes);
  m_grcDisabledIcons.SetStandardColors(GetXTPColor(15), GetXTPColor(16), 0.5f);
  XTPImageManager()->RefreshAll();
}

CXTPBarTheme::~CXTPBarTheme() { InterlockedDecrement(&XTPGetLiveObjectCounts()->nThemes); }

CXTPBarTheme* PASCAL CXTPBarTheme::CreateTheme(int nTheme) {
  CXTPBarTheme* pTheme = nullptr;
  switch (nTheme) {
    case xtpThemeFlat:
      pTheme = CreateThemeOfClass("CXTPBarThemeFlat");
      break;
    case xtpThemeShaded:
      pTheme = CreateThemeOfClass("CXTPBarThemeShaded");
      break;
    case xtpThemeNative:
      pTheme = CreateThemeOfClass("CXTPBarThemeNative");
      break;
    case xtpThemeShadedAlt:
      pTheme = CreateThemeOfClass("CXTPBarThemeShadedAlt");
      break;
    default:
      pTheme = new CXTPBarTheme3D;
      break;
  }
  pTheme->m_nTheme = nTheme;
  return pTheme;
}

void PASCAL CXTPBarTheme::SetCustomTheme(CXTPBarTheme* pTheme) {
  CXTPBarTheme* pOld = g_pTheme;
  g_pTheme = pTheme;
  if (pOld != nullptr && pOld != pTheme) pOld->InternalRelease();
  if (pTheme != nullptr) {
    pTheme->m_nTheme = xtpThemeCustom;
    pTheme->RefreshMetrics();
  }
}

void PASCAL CXTPBarTheme::SetTheme(int nTheme) {
  SetCustomTheme(CreateTheme(nTheme));
  g_pTheme->m_nTheme = nTheme;
}

CXTPBarTheme* PASCAL CXTPBarTheme::GetTheme() {
  if (g_pTheme == nullptr) SetTheme(xtpThemeThreeD);
  return g_pTheme;
}

BOOL PASCAL CXTPBarTheme::IsThemeSet() { return g_pTheme != nullptr; }

void PASCAL CXTPBarTheme::ReleaseTheme() { XTPReplaceHeld(g_pTheme, nullptr, FALSE); }

COLORREF CXTPBarTheme::GetColor(int nIndex) const {
  if (static_cast<UINT>(nIndex) > XPCOLOR_LAST) return static_cast<COLORREF>(nIndex);
  return m_arrColors[nIndex].GetColor();
}

void CXTPBarTheme::SetColors(int nCount, const int* pIndices, const COLORREF* pValues) {
  for (int i = 0; i < nCount; ++i) {
    if (static_cast<UINT>(pIndices[i]) <= XPCOLOR_LAST) m_arrColors[pIndices[i]].SetStandardValue(pValues[i]);
  }
}

void CXTPBarTheme::SetColorOverride(int nIndex, COLORREF clr) {
  if (static_cast<UINT>(nIndex) <= XPCOLOR_LAST) m_arrColors[nIndex].SetCustomValue(clr);
}

int CXTPBarTheme::GetCurrentTheme() const {
  CXTPColorTable* pTable = GetColorTable();
  if (m_nColorThemeSelection == xtpSystemThemeDefault)
    return pTable->IsPlainColorsForced() ? xtpSystemThemeUnknown : pTable->GetCurrentTheme();
  if (m_nColorThemeSelection == xtpSystemThemeAuto) return pTable->GetDetectedTheme();
  return m_nColorThemeSelection;
}

void CXTPBarTheme::RefreshMetrics() {
  RefreshFonts();
  RefreshColorTable();
  CXTPColorTable* pTable = GetColorTable();
  for (int i = 0; i < XPCOLOR_COUNT; ++i) m_arrColors[i].SetStandardValue(pTable->GetColor(i));
  m_clrShadowColor = 0;
  m_clrStatusTextColor = GetColor(COLOR_BTNTEXT);
  m_grcDisabledIcons.SetStandardColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNSHADOW), 0.5f);
}

void CXTPBarTheme::RefreshFonts() {
  NONCLIENTMETRICS ncm;
  CXTSystemResources::GetNonClientMetrics(&ncm);
  if (m_bUseStandardFont) {
    LOGFONT lf = {};
    HDC hDC = ::GetDC(nullptr);
    lf.lfCharSet = static_cast<BYTE>(::GetTextCharset(hDC));
    ::ReleaseDC(nullptr, hDC);
    lf.lfHeight = AdjustMenuFontHeight(ncm.lfMenuFont.lfHeight);
    lf.lfWeight = ncm.lfMenuFont.lfWeight;
    lf.lfItalic = ncm.lfMenuFont.lfItalic;
    lstrcpynW(lf.lfFaceName, ncm.lfMenuFont.lfFaceName, LF_FACESIZE);
    SetFont(&lf, TRUE);
  }
  if (m_bSmCaptionFollowsSystem || m_fontSmCaption.GetSafeHandle() == nullptr) {
    m_fontSmCaption.DeleteObject();
    m_fontSmCaption.CreateFontIndirect(&ncm.lfSmCaptionFont);
  }
  LOGFONT lfIcon = {};
  ::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lfIcon, 0);
  if (m_bIconFollowsSystem || m_fontIcon.GetSafeHandle() == nullptr) {
    m_fontIcon.DeleteObject();
    m_fontIcon.CreateFontIndirect(&lfIcon);
  }
  if (m_bIconBoldFollowsSystem || m_fontIconBold.GetSafeHandle() == nullptr) {
    m_fontIconBold.DeleteObject();
    lfIcon.lfWeight = FW_BOLD;
    m_fontIconBold.CreateFontIndirect(&lfIcon);
  }
}

void CXTPBarTheme::SetFont(const LOGFONT* pLogFont, BOOL bUseStandardFont) {
  m_bUseStandardFont = bUseStandardFont;
  if (pLogFont == nullptr) return;
  m_fontRegular.DeleteObject();
  m_fontRegularBold.DeleteObject();
  m_fontVert.DeleteObject();
  m_fontVertBold.DeleteObject();
  m_fontIconBold.DeleteObject();

  LOGFONT lf = *pLogFont;
  if (lstrcmpiW(lf.lfFaceName, L"Tahoma") == 0) m_bPreferTahoma = TRUE;
  if (lf.lfCharSet <= 2 && bUseStandardFont && m_bPreferTahoma && FindFontFace(L"Tahoma"))
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  m_fontRegular.CreateFontIndirect(&lf);
  LOGFONT lfBold = lf;
  lfBold.lfWeight = FW_BOLD;
  m_fontRegularBold.CreateFontIndirect(&lfBold);

  LOGFONT lfVert = lf;
  lfVert.lfEscapement = 2700;
  lfVert.lfOrientation = 900;
  lstrcpynW(lfVert.lfFaceName, CXTSystemResources::GetVerticalFontFace(lf.lfFaceName), LF_FACESIZE);
  m_fontVert.CreateFontIndirect(&lfVert);
  lfVert.lfWeight = FW_BOLD;
  m_fontVertBold.CreateFontIndirect(&lfVert);

  CDC dc;
  dc.Attach(::GetDC(nullptr));
  {
    CXTPScopedFont font(&dc, &m_fontRegular);
    m_nRowHeight = dc.GetTextExtent(_T(" "), 1).cy + 6;
  }
  ::ReleaseDC(nullptr, dc.Detach());
}

CSize CXTPBarTheme::DrawControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  switch (pControl->GetType()) {
    case xtpControlEdit:
      return DrawControlEdit(pDC, pControl, bDraw);
    case xtpControlComboBox:
      return DrawControlComboBox(pDC, pControl, bDraw);
    default:
      break;
  }
  CXTPCommandBar* pParent = pControl->GetParent();
  if (pParent != nullptr && pParent->GetType() == xtpBarTypePopup)
    return DrawControlPopupParent(pDC, pControl, bDraw);
  return DrawControlToolBarParent(pDC, pControl, bDraw);
}

CFont* CXTPBarTheme::GetControlFont(CXTPCommandBar* pBar, BOOL bBold) {
  if (pBar != nullptr && pBar->IsVerticalPosition()) return bBold ? &m_fontVertBold : &m_fontVert;
  return bBold ? &m_fontRegularBold : &m_fontRegular;
}

CSize CXTPBarTheme::GetTextSize(CDC* pDC, const CString& strText) const {
  CRect rc(0, 0, 0, 0);
  pDC->DrawText(strText.IsEmpty() ? CString(_T(" ")) : strText, &rc,
                DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  return rc.Size();
}

BOOL CXTPBarTheme::IsIconVisible(CXTPControl* pControl, CXTPImageManagerIcon** ppImage, CSize szIcon) const {
  *ppImage = nullptr;
  XTPButtonStyle style = pControl->GetStyle();
  CXTPCommandBar* pParent = pControl->GetParent();
  if (style == xtpButtonAutomatic && pParent != nullptr) style = pParent->GetDefaultButtonStyle();
  if (style == xtpButtonCaption) return FALSE;
  if (style == xtpButtonAutomatic && pControl->GetType() == xtpControlPopup) return FALSE;
  *ppImage = pControl->GetImage(szIcon.cx);
  return *ppImage != nullptr;
}

CSize CXTPBarTheme::DrawControlCaption(CDC* pDC, CString strText, CRect rcText, BOOL bDraw, BOOL bVert,
                                       BOOL bCentered, BOOL bTriangle, BOOL bEmbossed, BOOL bMnemonics) {
  if (m_nKeyboardCuesOverride >= 0) bMnemonics = m_nKeyboardCuesOverride;
  UINT nPrefix = 0;
  if (!bMnemonics) {
    StripMnemonics(strText);
    nPrefix = DT_NOPREFIX;
  }
  CRect rcCalc(0, 0, 0, 0);
  pDC->DrawText(strText.IsEmpty() ? CString(_T(" ")) : strText, &rcCalc,
                DT_SINGLELINE | DT_CALCRECT | nPrefix);
  CSize szText = rcCalc.Size();
  if (!bDraw) {
    CSize sz(szText.cx + (bTriangle ? 10 : 0), szText.cy);
    return bVert ? CSize(sz.cy, sz.cx) : sz;
  }
  const COLORREF clrText = pDC->GetTextColor();
  // An embossed caption first shows in the highlight colour one pixel down and right.
  auto drawText = [&](CRect rc, UINT nFormat) {
    if (bEmbossed) {
      CScopedTextColor color(pDC, GetColor(COLOR_3DHIGHLIGHT));
      CRect rcEmboss = rc;
      rcEmboss.OffsetRect(1, 1);
      pDC->DrawText(strText, &rcEmboss, nFormat);
    }
    pDC->DrawText(strText, &rc, nFormat);
  };
  if (!bVert) {
    if (bCentered) rcText.left += (rcText.Width() - (szText.cx + (bTriangle ? 5 : 0))) / 2;
    drawText(rcText, DT_SINGLELINE | DT_VCENTER | nPrefix);
    if (bTriangle) {
      const int nW = szText.cx + 5;
      const int h = (rcText.top + rcText.bottom) / 2 - 1;
      Triangle(pDC, CPoint(rcText.left + nW - 2, h), CPoint(rcText.left + nW + 2, h),
               CPoint(rcText.left + nW, h + 2), clrText);
    }
  } else {
    const int nLeft = rcText.right - (rcText.right - szText.cy - rcText.left + 1) / 2;
    int nTop = rcText.top;
    if (bCentered) nTop += (rcText.Height() - szText.cx - 5 * (bTriangle ? 1 : 0) + 1) / 2;
    drawText(CRect(nLeft, nTop, nLeft + szText.cy, nTop + szText.cx),
             DT_NOCLIP | DT_NOPREFIX | DT_SINGLELINE);
    if (bTriangle) {
      const int nW = szText.cx + 5;
      const int x = (rcText.left + rcText.right) / 2 + 2;
      const int y = nTop + nW - 1;
      Triangle(pDC, CPoint(x, y - 2), CPoint(x, y + 2), CPoint(x - 2, y), clrText);
    }
  }
  return bVert ? CSize(szText.cy, szText.cx) : szText;
}

CSize CXTPBarTheme::CaptionBesideIcon(CDC* pDC, CXTPControl* pControl, CString strCaption, CRect rcControl,
                                      BOOL bDraw, BOOL bIcon, BOOL bVert, BOOL bTriangle, BOOL bEmbossed) {
  CXTPCommandBar* pParent = pControl->GetParent();
  const CSize szButton = pParent != nullptr ? pParent->GetButtonSize() : CSize(23, 22);
  const BOOL bMnemonics = pParent == nullptr || pParent->IsKeyboardCuesVisible();
  const CSize szCaption = DrawControlCaption(pDC, strCaption, CRect(0, 0, 0, 0), FALSE, bVert, FALSE,
                                             bTriangle, bEmbossed, bMnemonics);
  if (bDraw) {
    CRect rcText = rcControl;
    if (!bVert) {
      rcText.left += bIcon ? szButton.cx - 1 : 4;
    } else {
      rcText.top += bIcon ? szButton.cy - 1 : 4;
    }
    DrawControlCaption(pDC, strCaption, rcText, TRUE, bVert, FALSE, bTriangle, bEmbossed, bMnemonics);
  }
  if (!bVert)
    return CSize((bIcon ? szButton.cx + 3 : 7) + szCaption.cx, std::max(szButton.cy, szCaption.cy + 6));
  return CSize(std::max(szButton.cx, szCaption.cx + 6), (bIcon ? szButton.cy + 3 : 7) + szCaption.cy);
}

CSize CXTPBarTheme::DrawControlToolBarParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPCommandBar* pBar = pControl->GetParent();
  CXTPScopedFont font(pDC, GetControlFont(pBar, pControl->GetDefaultItem()));
  const CRect rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);
  const CSize szIcon = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  const CSize szButton = pBar != nullptr ? pBar->GetButtonSize() : CSize(23, 22);
  const BOOL bVert = pBar != nullptr && pBar->IsVerticalPosition();
  CXTPImageManagerIcon* pImage = nullptr;
  const BOOL bIcon = IsIconVisible(pControl, &pImage, szIcon);
  const BOOL bCaption = pControl->IsCaptionVisible();
  const BOOL bEmbossed = !pControl->GetEnabled() && !IsFlat();
  const BOOL bMnemonics = pBar == nullptr || pBar->IsKeyboardCuesVisible();
  const XTPControlType type = pControl->GetType();
  const CString strCaption = pControl->GetCaption();

  if (bDraw) {
    if (type == xtpControlSplitButtonPopup) {
      DrawSplitButtonFrame(pDC, pControl, rc);
    } else {
      DrawControlEntry(pDC, pControl);
    }
  }
  const BOOL bPopuped = IsPopuped(pControl);

  if (pBar != nullptr && pBar->IsTextBelowIcons() && bIcon) {
    if (bDraw) {
      DrawImage(pDC, CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top + 4), szIcon, pImage,
                pControl->GetSelected(), pControl->GetPressed(), pControl->GetEnabled(),
                pControl->GetChecked(), bPopuped, TRUE);
      CRect rcText(rc.left, rc.top + szButton.cy - 4, rc.right, rc.bottom);
      if (type == xtpControlSplitButtonPopup) rcText.right -= 11;
      DrawControlCaption(pDC, strCaption, rcText, TRUE, FALSE, TRUE, type == xtpControlPopup, bEmbossed,
                         bMnemonics);
    }
    const CSize szText = DrawControlCaption(pDC, strCaption, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE,
                                            type == xtpControlPopup, bEmbossed, bMnemonics);
    CSize sz(std::max(szButton.cx, szText.cx + 10), szButton.cy + szText.cy);
    if (type == xtpControlSplitButtonPopup) sz.cx += 11;
    sz.cx = std::max(sz.cx, sz.cy);
    return sz;
  }

  if (bDraw && bIcon) {
    const CPoint pt = bVert ? CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, rc.top + 4)
                            : CPoint(rc.left + 3, rc.top + (rc.Height() - szIcon.cy) / 2);
    DrawImage(pDC, pt, szIcon, pImage, pControl->GetSelected(), pControl->GetPressed(),
              pControl->GetEnabled(), pControl->GetChecked(), bPopuped, TRUE);
  }

  switch (type) {
    case xtpControlButton:
    case xtpControlButtonPopup:
    case xtpControlLabel:
      if (bCaption) {
        CSize sz = CaptionBesideIcon(pDC, pControl, strCaption, rc, bDraw, bIcon, bVert, FALSE, bEmbossed);
        if (!bIcon) sz = CSize(std::max(sz.cx, 23L), std::max(sz.cy, 23L));
        return sz;
      }
      return szButton;
    case xtpControlPopup:
      if (!bIcon) {
        const CSize szText = DrawControlCaption(pDC, strCaption, CRect(0, 0, 0, 0), FALSE, bVert, FALSE, TRUE,
                                                bEmbossed, bMnemonics);
        if (bDraw) DrawControlCaption(pDC, strCaption, rc, TRUE, bVert, TRUE, TRUE, bEmbossed, bMnemonics);
        return CSize(szText.cx + 6, szText.cy + 6);
      }
      if (bCaption)
        return CaptionBesideIcon(pDC, pControl, strCaption, rc, bDraw, TRUE, bVert, TRUE, bEmbossed);
      if (bDraw) {
        const int nMid = (rc.top + rc.bottom) / 2;
        Triangle(pDC, CPoint(rc.right - 9, nMid - 1), CPoint(rc.right - 5, nMid - 1),
                 CPoint(rc.right - 7, nMid + 1), pDC->GetTextColor());
      }
      return CSize(szButton.cx + 7, szButton.cy);
    case xtpControlSplitButtonPopup: {
      CSize sz;
      if (bCaption) {
        sz = CaptionBesideIcon(pDC, pControl, strCaption, rc, bDraw, bIcon, bVert, FALSE, bEmbossed);
        sz.cx += 11;
      } else {
        sz = CSize(szButton.cx + 11, szButton.cy);
      }
      if (!bIcon) sz = CSize(std::max(sz.cx, 23L), std::max(sz.cy, 23L));
      return sz;
    }
    default:
      return CSize(0, 0);
  }
}

void CXTPBarTheme::DrawControlEntry(CDC* pDC, CXTPControl* pControl) {
  const BOOL bPopuped = IsPopuped(pControl);
  CXTPCommandBar* pParent = pControl->GetParent();
  DrawControlFace(pDC, pControl->GetRect(), pControl->GetEnabled(), pControl->GetSelected(),
                  pControl->GetPressed(), pControl->GetChecked(), bPopuped,
                  pParent != nullptr ? pParent->GetPosition() : xtpBarTop);
}

void CXTPBarTheme::DrawSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc) {
  const BOOL bPopuped = IsPopuped(pControl);
  const BOOL bEnabled = pControl->GetEnabled();
  const int bSelected = pControl->GetSelected(), bPressed = pControl->GetPressed();
  const XTPBarPosition position =
      pControl->GetParent() != nullptr ? pControl->GetParent()->GetPosition() : xtpBarTop;
  CRect rcMain = rc;
  if (!bPopuped) rcMain.right -= 11;
  DrawControlFace(pDC, rcMain, bEnabled, bSelected, bPressed, pControl->GetChecked(), bPopuped, position);
  if ((bSelected || bPressed) && !bPopuped && bEnabled) {
    CRect rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
    DrawControlFace(pDC, rcArrow, TRUE, TRUE, FALSE, FALSE, FALSE, position);
  }
  const int nMid = (rc.top + rc.bottom) / 2;
  Triangle(pDC, CPoint(rc.right - 9, nMid - 1), CPoint(rc.right - 5, nMid - 1),
           CPoint(rc.right - 7, nMid + 1), pDC->GetTextColor());
}

void CXTPBarTheme::DrawStatusBarPaneEntry(CDC* pDC, CRect rcItem, CXTPStatusBarPane* pPane) {
  const UINT nStyle = pPane->GetStyle();
  if (pPane->GetBackgroundColor() != COLORREF(-1)) {
    CRect rcFill = rcItem;
    if (!(nStyle & SBPS_NOBORDERS)) rcFill.DeflateRect(1, 1);
    pDC->FillSolidRect(rcFill, pPane->GetBackgroundColor());
  }
  CXTPScopedFont font(pDC, pPane->GetTextFont());
  rcItem.DeflateRect(2, 1);
  const CString strText = pPane->GetText();
  CXTPImageManagerIcon* pImage = pPane->GetImage();
  int x = rcItem.left;
  if (pImage != nullptr) {
    const CSize szIcon = GetScaledImageSize(pImage, CSize(0, 0));
    const int nTextWidth = strText.IsEmpty() ? 0 : pDC->GetTextExtent(strText).cx + 2;
    const int nBlock = szIcon.cx + nTextWidth;
    if (nBlock < rcItem.Width()) {
      if (pPane->GetTextAlignment() == 1) x = rcItem.left + (rcItem.Width() - nBlock) / 2;
      if (pPane->GetTextAlignment() == 2) x = rcItem.right - nBlock;
    }
    DrawPlainImage(pDC, pImage, CPoint(x, rcItem.top + (rcItem.Height() - szIcon.cy) / 2), szIcon,
                   (nStyle & SBPS_DISABLED) != 0);
    rcItem.left = x + szIcon.cx + 2;
  }
  const BOOL bDisabled = (nStyle & SBPS_DISABLED) != 0;
  CXTPStatusBar* pBar = pPane->GetStatusBar();
  if (!bDisabled || (pBar != nullptr && pBar->GetDrawDisabledText())) {
    pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrText = bDisabled                               ? GetColor(COLOR_GRAYTEXT)
                             : pPane->GetTextColor() != COLORREF(-1) ? pPane->GetTextColor()
                                                                     : m_clrStatusTextColor;
    CScopedTextColor color(pDC, clrText);
    UINT nAlign = DT_LEFT;
    if (pImage == nullptr && pPane->GetTextAlignment() == 1) nAlign = DT_CENTER;
    if (pImage == nullptr && pPane->GetTextAlignment() == 2) nAlign = DT_RIGHT;
    CString str = strText;
    pDC->DrawText(str, &rcItem, nAlign | DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
  }
}

void CXTPBarTheme::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL) {
  Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void CXTPBarTheme::DrawStatusBarGripper(CDC* pDC, CRect rcClient) {
  // Three pairs of diagonal strokes four pixels apart: the shadow first, then the highlight.
  for (int nStep = 0; nStep < 3; ++nStep) {
    const int d = 4 * nStep + 2;
    for (int k = 0; k < 2; ++k) {
      Line(pDC, rcClient.right - 1, rcClient.bottom - d - 1 - k, rcClient.right - d - 1 - k,
           rcClient.bottom - 1, COLOR_BTNSHADOW);
    }
    Line(pDC, rcClient.right - 1, rcClient.bottom - d - 3, rcClient.right - d - 3, rcClient.bottom - 1,
         COLOR_BTNHIGHLIGHT);
  }
}

void CXTPBarTheme::FillDockBar(CDC* pDC, CXTPDockBar* pBar) {
  CRect rc;
  pBar->GetClientRect(&rc);
  pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
}

void CXTPBarTheme::FillStatusBar(CDC* pDC, CXTPStatusBar* pBar) {
  CRect rc;
  pBar->GetClientRect(&rc);
  pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
}

CSize CXTPBarTheme::DrawSymbol(CDC* pDC, int nKind, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw,
                               BOOL bHiddenControls, CSize szBar) {
  switch (nKind) {
    case xtpSymbolExpandButton: {
      CRect rcClient;
      if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
      const XTPBarPosition position = pBar->GetPosition();
      const BOOL bVert = position == xtpBarLeft || position == xtpBarRight || position == xtpBarPopup;
      if (!bDraw) {
        // The size the bar is being laid out to, when given; the window may not have it yet.
        CSize sz = szBar.cx > 0 || szBar.cy > 0     ? szBar
                   : pBar->GetSafeHwnd() != nullptr ? rcClient.Size()
                                                    : CSize(0, 0);
        if (pControl != nullptr) {
          CRect rc =
              bVert ? CRect(2, sz.cy - 13, sz.cx - 2, sz.cy - 2) : CRect(sz.cx - 13, 2, sz.cx - 2, sz.cy - 2);
          pControl->SetRect(rc);
        }
        return CSize(0, 0);
      }
      DrawControlEntry(pDC, pControl);
      const CRect rc = pControl->GetRect();
      const COLORREF clr = pDC->GetTextColor();
      if (!bVert) {
        const int cx = (rc.left + rc.right) / 2, y = rc.bottom - 5;
        Triangle(pDC, CPoint(cx - 2, y - 2), CPoint(cx + 2, y - 2), CPoint(cx, y), clr);
      } else {
        const int x = rc.left + 4, cy = rc.top + 5;
        Triangle(pDC, CPoint(x + 2, cy - 2), CPoint(x + 2, cy + 2), CPoint(x, cy), clr);
      }
      if (bHiddenControls) {
        CPen pen(PS_SOLID, 1, clr);
        CPen* pOld = pDC->SelectObject(&pen);
        const int x = rc.left, y = rc.top;
        for (int nShift : {0, 1, 4, 5}) {
          if (!bVert) {
            pDC->MoveTo(x + 2 + nShift, y + 4);
            pDC->LineTo(x + 4 + nShift, y + 6);
            pDC->LineTo(x + 1 + nShift, y + 9);
          } else {
            pDC->MoveTo(rc.right - 8, y + 2 + nShift);
            pDC->LineTo(rc.right - 6, y + 4 + nShift);
            pDC->LineTo(rc.right - 3, y + 1 + nShift);
          }
        }
        pDC->SelectObject(pOld);
      }
      return CSize(0, 0);
    }
    case xtpSymbolExpandItem: {
      if (bDraw && pControl != nullptr) {
        DrawControlEntry(pDC, pControl);
        const CRect rc = pControl->GetRect();
        const int cx = (rc.left + rc.right) / 2, y = rc.top + 2;
        CPen pen(PS_SOLID, 1, pDC->GetTextColor());
        CPen* pOld = pDC->SelectObject(&pen);
        for (int nRow = 0; nRow < 2; ++nRow) {
          pDC->MoveTo(cx - 3, y + nRow * 4);
          pDC->LineTo(cx, y + nRow * 4 + 3);
          pDC->LineTo(cx + 4, y + nRow * 4 - 1);
        }
        pDC->SelectObject(pOld);
      }
      return CSize(0, 12);
    }
    case xtpSymbolCaptionClose: {
      if (!bDraw || pControl == nullptr) return CSize(0, 0);
      DrawControlEntry(pDC, pControl);
      if (!pControl->GetSelected() && !pControl->GetPressed()) pDC->SetTextColor(GetColor(COLOR_3DHIGHLIGHT));
      DrawMarlettGlyph(pDC, pControl->GetRect(), kMarlettClose);
      return CSize(0, 0);
    }
    case xtpSymbolCaptionOptions: {
      if (!bDraw || pControl == nullptr) return CSize(0, 0);
      DrawControlEntry(pDC, pControl);
      const CRect rc = pControl->GetRect();
      const BOOL bHot = pControl->GetSelected() || IsPopuped(pControl);
      const COLORREF clr = bHot ? pDC->GetTextColor() : GetColor(COLOR_3DHIGHLIGHT);
      const CPoint c = rc.CenterPoint();
      Triangle(pDC, CPoint(c.x - 3, c.y - 2), CPoint(c.x + 3, c.y - 2), CPoint(c.x, c.y + 1), clr);
      return CSize(0, 0);
    }
    default:
      return CSize(0, 0);
  }
}

CRect CXTPBarTheme::GetCommandBarBorders(CXTPCommandBar*) { return CRect(2, 2, 2, 2); }

void CXTPBarTheme::DrawCheckMark(CDC* pDC, CRect rcCheck, COLORREF clr, BOOL bLayoutRTL) {
  const int cx = rcCheck.left + rcCheck.Width() / 2;
  const int cy = rcCheck.top + rcCheck.Height() / 2;
  CPen pen(PS_SOLID, 1, clr);
  CPen* pOld = pDC->SelectObject(&pen);
  for (int nPass = 0; nPass < (m_bThickCheckMark ? 2 : 1); ++nPass) {
    const int d = nPass;
    if (bLayoutRTL) {
      const POINT pts1[] = {{cx - 4, cy - 3 + d}, {cx, cy + 1 + d}, {cx + 3, cy - 2 + d}};
      const POINT pts2[] = {{cx - 4, cy - 2 + d}, {cx, cy + 2 + d}, {cx + 3, cy - 1 + d}};
      pDC->Polyline(pts1, 3);
      pDC->Polyline(pts2, 3);
    } else {
      const POINT pts1[] = {{cx - 4, cy - 1 + d}, {cx - 2, cy + 1 + d}, {cx + 3, cy - 4 + d}};
      const POINT pts2[] = {{cx - 4, cy + d}, {cx - 2, cy + 2 + d}, {cx + 3, cy - 3 + d}};
      pDC->Polyline(pts1, 3);
      pDC->Polyline(pts2, 3);
    }
  }
  pDC->SelectObject(pOld);
}

void CXTPBarTheme::DrawComboExpandMark(CDC* pDC, CRect rc, COLORREF clr) {
  int w = rc.Width() / 2;
  w = w > 5 ? w - 4 : w - 2;
  const CPoint c = rc.CenterPoint();
  Triangle(pDC, CPoint(c.x - w, c.y - w / 2), CPoint(c.x + w, c.y - w / 2), CPoint(c.x, c.y - w / 2 + w),
           clr);
}

void CXTPBarTheme::AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nAnimationType) {
  const int nSteps = m_nAnimationSteps;
  if (nSteps <= 0) return;
  const int nPause = m_nAnimationTime / nSteps;
  const int cx = rc.Width(), cy = rc.Height();
  switch (nAnimationType) {
    case 2:  // unfold from the top-left corner
      for (int k = 1; k <= nSteps; ++k) {
        const int w = cx * k / nSteps, h = cy * k / nSteps;
        pDestDC->BitBlt(rc.left, rc.top, w, h, pSrcDC, rc.right - w, rc.bottom - h, SRCCOPY);
        ::Sleep(static_cast<DWORD>(nPause));
      }
      break;
    case 3:  // slide down
      for (int k = 1; k <= nSteps; ++k) {
        const int h = cy * k / nSteps;
        pDestDC->BitBlt(rc.left, rc.top, cx, h, pSrcDC, rc.left, rc.bottom - h, SRCCOPY);
        ::Sleep(static_cast<DWORD>(nPause));
      }
      break;
    case 4: {  // fade
      if (cx <= 0 || cy <= 0) break;
      BITMAPINFO bmi = {};
      bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      bmi.bmiHeader.biWidth = cx;
      bmi.bmiHeader.biHeight = -cy;
      bmi.bmiHeader.biPlanes = 1;
      bmi.bmiHeader.biBitCount = 32;
      bmi.bmiHeader.biCompression = BI_RGB;
      void* pvWindow = nullptr;
      void* pvSource = nullptr;
      void* pvMix = nullptr;
      HBITMAP hbmWindow = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvWindow, nullptr, 0);
      HBITMAP hbmSource = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvSource, nullptr, 0);
      HBITMAP hbmMix = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvMix, nullptr, 0);
      HDC hMem = ::CreateCompatibleDC(pDestDC->GetSafeHdc());
      if (hbmWindow != nullptr && hbmSource != nullptr && hbmMix != nullptr && hMem != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hMem, hbmWindow);
        ::BitBlt(hMem, 0, 0, cx, cy, pDestDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
        ::SelectObject(hMem, hbmSource);
        ::BitBlt(hMem, 0, 0, cx, cy, pSrcDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
        ::SelectObject(hMem, hbmMix);
        ::GdiFlush();
        const BYTE* pWindow = static_cast<const BYTE*>(pvWindow);
        const BYTE* pSource = static_cast<const BYTE*>(pvSource);
        BYTE* pMix = static_cast<BYTE*>(pvMix);
        const size_t nBytes = static_cast<size_t>(cx) * cy * 4;
        for (int k = 1; k < nSteps; ++k) {
          const DWORD dwStart = ::GetTickCount();
          const int a = 255 * k / nSteps;
          for (size_t i = 0; i < nBytes; ++i)
            pMix[i] = static_cast<BYTE>((pSource[i] * a + pWindow[i] * (255 - a)) / 256);
          ::BitBlt(pDestDC->GetSafeHdc(), rc.left, rc.top, cx, cy, hMem, 0, 0, SRCCOPY);
          const DWORD dwSpent = ::GetTickCount() - dwStart;
          if (dwSpent < static_cast<DWORD>(nPause)) ::Sleep(static_cast<DWORD>(nPause) - dwSpent);
        }
        ::SelectObject(hMem, hOld);
      }
      if (hMem != nullptr) ::DeleteDC(hMem);
      if (hbmWindow != nullptr) ::DeleteObject(hbmWindow);
      if (hbmSource != nullptr) ::DeleteObject(hbmSource);
      if (hbmMix != nullptr) ::DeleteObject(hbmMix);
      break;
    }
    default:
      break;
  }
}

void CXTPBarTheme::AnimateExpand(CXTPCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bExpandDown) {
  const int nSteps = m_nAnimationSteps;
  if (nSteps < 1 || pBar == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  CRect rcClient;
  pBar->GetClientRect(&rcClient);
  CXTPControls* pControls = pBar->GetControls();
  // Runs of controls, each either revealed (usage mark) or kept, in the order they stand.
  struct Run {
    int nTop;
    int nBottom;
    BOOL bRevealed;
  };
  CArray<Run, const Run&> arrRuns;
  for (int i = 0; i < pControls->GetCount(); ++i) {
    CXTPControl* pControl = pControls->GetAt(i);
    if (!pControl->IsVisible()) continue;
    const CRect rc = pControl->GetRect();
    const BOOL bRevealed = pControl->GetUsageMark();
    if (arrRuns.GetSize() > 0 && arrRuns[arrRuns.GetSize() - 1].bRevealed == bRevealed) {
      arrRuns[arrRuns.GetSize() - 1].nBottom = rc.bottom;
    } else {
      Run run = {arrRuns.GetSize() > 0 ? static_cast<int>(arrRuns[arrRuns.GetSize() - 1].nBottom) : 0,
                 static_cast<int>(rc.bottom), bRevealed};
      arrRuns.Add(run);
    }
  }
  if (arrRuns.GetSize() > 0) arrRuns[arrRuns.GetSize() - 1].nBottom = rcClient.bottom;
  const int nPause = m_nAnimationTime / nSteps;
  for (int k = 1; k <= nSteps; ++k) {
    int y = bExpandDown ? 0 : rcClient.bottom;
    if (bExpandDown) {
      for (INT_PTR r = 0; r < arrRuns.GetSize(); ++r) {
        const Run& run = arrRuns[r];
        const int h = run.nBottom - run.nTop;
        const int hDest = run.bRevealed ? h * k / nSteps : h;
        pDestDC->StretchBlt(0, y, rcClient.Width(), hDest, pSrcDC, 0, run.nTop, rcClient.Width(), h, SRCCOPY);
        y += hDest;
      }
    } else {
      for (INT_PTR r = arrRuns.GetSize() - 1; r >= 0; --r) {
        const Run& run = arrRuns[r];
        const int h = run.nBottom - run.nTop;
        const int hDest = run.bRevealed ? h * k / nSteps : h;
        y -= hDest;
        pDestDC->StretchBlt(0, y, rcClient.Width(), hDest, pSrcDC, 0, run.nTop, rcClient.Width(), h, SRCCOPY);
      }
    }
    ::Sleep(static_cast<DWORD>(nPause));
  }
}

// ---- Primitives --------------------------------------------------------------------------------------

void CXTPBarTheme::Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr) {
  const COLORREF clrDraw = GetColor(static_cast<int>(clr));
  CPen pen(PS_SOLID, 1, clrDraw);
  CBrush brush(clrDraw);
  CPen* pOldPen = pDC->SelectObject(&pen);
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  const POINT pts[] = {pt0, pt1, pt2};
  pDC->Polygon(pts, 3);
  pDC->SelectObject(pOldBrush);
  pDC->SelectObject(pOldPen);
}

void CXTPBarTheme::Rectangle(CDC* pDC, CRect rc, int nFill, int nFrame) {
  if (nFill != -1) pDC->FillSolidRect(rc, GetColor(nFill));
  if (nFrame != nFill && nFrame != -1) pDC->Draw3dRect(rc, GetColor(nFrame), GetColor(nFrame));
}

void CXTPBarTheme::Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight) {
  pDC->Draw3dRect(rc, GetColor(nTopLeft), GetColor(nBottomRight));
}

void CXTPBarTheme::Line(CDC* pDC, int x0, int y0, int x1, int y1, int nPen) {
  CPen pen(PS_SOLID, 1, GetColor(nPen));
  CPen* pOld = pDC->SelectObject(&pen);
  pDC->MoveTo(x0, y0);
  pDC->LineTo(x1, y1);
  pDC->SelectObject(pOld);
}

void CXTPBarTheme::MoveToLineTo(CDC* pDC, int x0, int y0, int x1, int y1) {
  pDC->MoveTo(x0, y0);
  pDC->LineTo(x1, y1);
}

void CXTPBarTheme::FillHalftone(CDC* pDC, CRect rc) {
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  CBitmap bitmap;
  bitmap.CreateBitmap(8, 8, 1, 1, kPattern);
  CBrush brush;
  brush.CreatePatternBrush(&bitmap);
  const COLORREF clrOldText = pDC->SetTextColor(GetColor(COLOR_3DHIGHLIGHT));
  const COLORREF clrOldBk = pDC->SetBkColor(GetColor(COLOR_BTNFACE));
  CBrush* pOld = pDC->SelectObject(&brush);
  pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
  pDC->SelectObject(pOld);
  pDC->SetTextColor(clrOldText);
  pDC->SetBkColor(clrOldBk);
}

// ---- Images ------------------------------------------------------------------------------------------

CSize PASCAL CXTPBarTheme::GetScaledImageSize(CXTPImageManagerIcon* pImage, CSize szIcon) {
  if (pImage == nullptr) return szIcon;
  const CSize szExtent = pImage->GetExtent();
  if (szIcon.cx <= 0 || szExtent.cx <= 0) return szExtent;
  return CSize(szIcon.cx, ::MulDiv(szExtent.cy, szIcon.cx, szExtent.cx));
}

void PASCAL CXTPBarTheme::DrawPlainImage(CDC* pDC, CXTPImageManagerIcon* pImage, CPoint pt, CSize sz,
                                         BOOL bDisabled) {
  if (pImage == nullptr) return;
  pImage->Draw(pDC, pt, bDisabled ? pImage->GetDisabledIcon() : pImage->GetIcon(), sz);
}

CSize CXTPBarTheme::DrawFloatingCaption(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw, COLORREF clrFill) {
  CRect rcClient(0, 0, 0, 0);
  if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
  CXTPScopedFont font(pDC, &m_fontSmCaption);
  const int nTextHeight = pDC->GetTextExtent(_T(" "), 1).cy;
  const int b = nTextHeight < 15 ? 18 : nTextHeight + 3;
  CRect rcCaption(3, 3, rcClient.right - 3, b);
  if (bDraw) {
    // The system's colours have the slots of their own numbers.
    const BOOL bEnabled = pBar->GetSafeHwnd() == nullptr || pBar->IsWindowEnabled();
    pDC->FillSolidRect(rcCaption, bEnabled ? clrFill : GetColor(COLOR_INACTIVECAPTION));
    const COLORREF clrOld = pDC->SetTextColor(GetColor(bEnabled ? 20 : COLOR_INACTIVECAPTIONTEXT));
    pDC->SetBkMode(TRANSPARENT);
    CRect rcText(5, 3, rcCaption.right - 2 * rcCaption.Height(), b);
    CString strTitle = pBar->GetTitle();
    pDC->DrawText(strTitle, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    pDC->SetTextColor(clrOld);
  }
  return CSize(rcCaption.Width(), rcCaption.Height());
}
