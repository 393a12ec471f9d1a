// Themes 2 and 4: gradients, dotted grippers, cut corners and the colour sets of the visual-style
// colour schemes.
#include "BarThemeShaded.h"

#include "CommandBar.h"
#include "ControlPopup.h"
#include "DockBar.h"
#include "PopupBar.h"

#include <DrawHelpers.h>
#include <ScopedFont.h>
#include <ThemeHandle.h>

#include <cmath>
#include <iterator>

IMPLEMENT_DYNCREATE(CXTPBarThemeShaded, CXTPBarThemeFlat)
IMPLEMENT_DYNCREATE(CXTPBarThemeShadedAlt, CXTPBarThemeShaded)

namespace {

struct GradientColors {
  COLORREF clr1;
  COLORREF clr2;
  float fFactor;
};

void SetGradient(CXTPColorGradientValue& grc, const GradientColors& colors) {
  grc.SetStandardColors(colors.clr1, colors.clr2, colors.fFactor);
}

// One colour scheme's set of theme 2; the arrays are indexed blue, olive, silver (scheme - 1).
struct SchemeSet {
  GradientColors dock, bar, expand, glyph, hiddenGutter, popuped, disabledIcons;
  COLORREF clrDropShadow, clrShadowLine, clrCaption, clrPaneBorder, clrTearOff;
  COLORREF slot12, slot30, slot31, slot32, slot33, slot36, slot38, slot39, slot40, slot41, slot43, slot47,
      slot51, slot52, slot53, slot56;
};

const SchemeSet kShadedSchemes[3] = {
    // Blue.
    {{RGB(158, 190, 245), RGB(196, 218, 250), 0.5f},
     {RGB(221, 236, 254), RGB(129, 169, 226), 0.75f},
     {RGB(117, 166, 241), RGB(0, 53, 145), 0.75f},
     {RGB(227, 239, 254), RGB(129, 169, 226), 0.5f},
     {RGB(203, 221, 246), RGB(121, 161, 220), 0.5f},
     {RGB(227, 239, 255), RGB(147, 181, 231), 0.5f},
     {RGB(233, 236, 242), RGB(97, 122, 172), 0.5f},
     RGB(22, 30, 54),
     RGB(59, 97, 156),
     RGB(42, 102, 201),
     RGB(211, 211, 211),
     RGB(169, 199, 240),
     RGB(144, 153, 174),
     RGB(196, 219, 249),
     RGB(255, 238, 194),
     RGB(0, 0, 128),
     RGB(254, 128, 62),
     RGB(255, 192, 111),
     RGB(39, 65, 118),
     RGB(106, 140, 203),
     RGB(109, 150, 208),
     RGB(246, 246, 246),
     RGB(0, 45, 150),
     RGB(0, 0, 0),
     RGB(216, 231, 252),
     RGB(158, 190, 245),
     RGB(203, 225, 252),
     RGB(189, 211, 247)},
    // Olive.
    {{RGB(217, 217, 167), RGB(242, 241, 228), 0.5f},
     {RGB(244, 247, 222), RGB(183, 198, 145), 0.3f},
     {RGB(176, 194, 140), RGB(96, 119, 107), 0.3f},
     {RGB(236, 240, 213), RGB(184, 198, 147), 0.5f},
     {RGB(230, 230, 209), RGB(164, 180, 120), 0.3f},
     {RGB(236, 240, 213), RGB(194, 206, 159), 0.5f},
     {RGB(243, 244, 240), RGB(131, 144, 113), 0.5f},
     RGB(31, 34, 25),
     RGB(96, 128, 88),
     RGB(116, 134, 94),
     RGB(211, 211, 211),
     RGB(197, 212, 159),
     RGB(151, 160, 123),
     RGB(209, 222, 173),
     RGB(255, 238, 194),
     RGB(63, 93, 56),
     RGB(254, 128, 62),
     RGB(255, 192, 111),
     RGB(81, 94, 51),
     RGB(96, 128, 88),
     RGB(159, 174, 122),
     RGB(244, 244, 238),
     RGB(117, 141, 94),
     RGB(0, 0, 0),
     RGB(226, 231, 191),
     RGB(171, 192, 138),
     RGB(216, 227, 182),
     RGB(222, 227, 189)},
    // Silver.
    {{RGB(215, 215, 229), RGB(243, 243, 247), 0.5f},
     {RGB(249, 249, 255), RGB(156, 155, 183), 0.75f},
     {RGB(179, 178, 200), RGB(118, 116, 146), 0.75f},
     {RGB(232, 232, 241), RGB(176, 174, 197), 0.5f},
     {RGB(215, 215, 226), RGB(133, 131, 162), 0.5f},
     {RGB(233, 231, 241), RGB(186, 185, 205), 0.5f},
     {RGB(247, 245, 249), RGB(122, 121, 153), 0.5f},
     RGB(36, 32, 41),
     RGB(124, 124, 148),
     RGB(122, 121, 153),
     RGB(236, 234, 218),
     RGB(192, 192, 211),
     RGB(155, 154, 179),
     RGB(219, 218, 228),
     RGB(255, 238, 194),
     RGB(75, 75, 111),
     RGB(254, 128, 62),
     RGB(255, 192, 111),
     RGB(84, 84, 117),
     RGB(110, 109, 143),
     RGB(168, 167, 190),
     RGB(253, 250, 255),
     RGB(124, 124, 148),
     RGB(0, 0, 0),
     RGB(223, 223, 234),
     RGB(177, 176, 195),
     RGB(214, 211, 231),
     RGB(214, 215, 231)},
};

const COLORREF kSchemeGrey = RGB(141, 141, 141);

}  // namespace

const CXTPColorGradientValue& PASCAL CXTPBarThemeShaded::CheckedGradient() {
  static CXTPColorGradientValue grc = [] {
    CXTPColorGradientValue value;
    value.SetStandardColors(RGB(255, 213, 140), RGB(255, 173, 85), 0.5f);
    return value;
  }();
  return grc;
}

const CXTPColorGradientValue& PASCAL CXTPBarThemeShaded::PressedGradient() {
  static CXTPColorGradientValue grc = [] {
    CXTPColorGradientValue value;
    value.SetStandardColors(RGB(254, 142, 75), RGB(255, 207, 139), 0.5f);
    return value;
  }();
  return grc;
}

const CXTPColorGradientValue& PASCAL CXTPBarThemeShaded::HotGradient() {
  static CXTPColorGradientValue grc = [] {
    CXTPColorGradientValue value;
    value.SetStandardColors(RGB(255, 242, 200), RGB(255, 212, 151), 0.5f);
    return value;
  }();
  return grc;
}

CXTPBarThemeShaded::CXTPBarThemeShaded() {
  m_iconsInfo.bUseFadedIcons = FALSE;
  m_iconsInfo.bIconsWithShadow = FALSE;
  m_pStatusTheme = new CXTThemeHandle;
}

CXTPBarThemeShaded::~CXTPBarThemeShaded() { delete m_pStatusTheme; }

// ---- Colours -----------------------------------------------------------------------------------------

void CXTPBarThemeShaded::RefreshMetrics() {
  CXTPBarThemeFlat::RefreshMetrics();
  CWnd* pMainWnd = AfxGetMainWnd();
  m_pStatusTheme->OpenThemeData(pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr, L"STATUS");

  auto blend = [this](int a, int b, int w) { return BlendColors(GetColor(a), GetColor(b), w); };
  m_grcDock.SetStandardColors(GetColor(15), blend(15, 5, 205));
  m_grcBar.SetStandardColors(blend(15, 5, 205), GetColor(15));
  m_grcExpand.SetStandardColors(blend(51, 16, 51), GetColor(16));
  m_grcGlyph.SetStandardColors(GetColor(41), blend(15, 5, 550));
  m_grcHiddenGutter.SetStandardColors(blend(5, 42, 550), GetColor(42));
  m_grcPopuped.SetStandardColors(GetColor(41), blend(15, 5, 550));
  m_clrShadowLine = GetColor(30);
  m_clrCaption = GetColor(16);
  m_clrPaneBorder = blend(15, 5, 70);
  m_clrTearOff = GetColor(30);
  m_arrColors[55].SetStandardValue(GetColorTable()->GetColor(55));
  m_bSchemeColorsApplied = FALSE;

  const int nScheme = GetCurrentTheme();
  if (nScheme >= xtpSystemThemeBlue && nScheme <= xtpSystemThemeSilver) {
    const SchemeSet& set = kShadedSchemes[nScheme - 1];
    SetGradient(m_grcDock, set.dock);
    SetGradient(m_grcBar, set.bar);
    SetGradient(m_grcExpand, set.expand);
    SetGradient(m_grcGlyph, set.glyph);
    SetGradient(m_grcHiddenGutter, set.hiddenGutter);
    SetGradient(m_grcPopuped, set.popuped);
    SetGradient(m_grcDisabledIcons, set.disabledIcons);
    m_clrShadowColor = set.clrDropShadow;
    m_clrShadowLine = set.clrShadowLine;
    m_clrCaption = set.clrCaption;
    m_clrPaneBorder = set.clrPaneBorder;
    m_clrTearOff = set.clrTearOff;
    const int nSlots[] = {12, 30, 31, 32, 37, 50, 33, 36, 38, 39, 40, 41, 43, 47, 51, 52, 53, 56};
    const COLORREF clrs[] = {set.slot12, set.slot30, set.slot31, set.slot32, set.slot32, set.slot32,
                             set.slot33, set.slot36, set.slot38, set.slot39, set.slot40, set.slot41,
                             set.slot43, set.slot47, set.slot51, set.slot52, set.slot53, set.slot56};
    SetColors(static_cast<int>(std::size(nSlots)), nSlots, clrs);
    m_bSchemeColorsApplied = TRUE;
  }
  if (m_bSchemeColorsApplied) {
    const int nSlots[] = {35, 58, 60};
    const COLORREF clrs[] = {kSchemeGrey, kSchemeGrey, kSchemeGrey};
    SetColors(3, nSlots, clrs);
  }
  CreateGlyphImage();
}

void CXTPBarThemeShaded::CreateGlyphImage() {
  // A shaded disc: 255 is transparent, lower values move from the gradient's first colour to its second.
  BYTE intensity[16][16];
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const double dx = x - 7.5, dy = y - 7.5;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > 7.6) {
        intensity[y][x] = 255;
      } else {
        // Lighter towards the upper left, darker towards the rim.
        const double light = std::sqrt((x - 5.0) * (x - 5.0) + (y - 5.0) * (y - 5.0)) / 11.0;
        intensity[y][x] = static_cast<BYTE>(std::min(254.0, 40.0 + 200.0 * light));
      }
    }
  }
  const COLORREF clr1 = m_grcGlyph.clr1.GetColor(), clr2 = m_grcGlyph.clr2.GetColor();
  auto channel = [](int c1, int c2, int i) { return c1 - (c1 - c2) * i / 255; };
  CDC dcScreen;
  dcScreen.Attach(::GetDC(nullptr));
  CDC dc;
  dc.CreateCompatibleDC(&dcScreen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dcScreen, 16, 16);
  CBitmap* pOld = dc.SelectObject(&bitmap);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int i = intensity[y][x];
      const COLORREF clr = i == 255 ? RGB(0, 255, 0)
                                    : RGB(channel(GetRValue(clr1), GetRValue(clr2), i),
                                          channel(GetGValue(clr1), GetGValue(clr2), i),
                                          channel(GetBValue(clr1), GetBValue(clr2), i));
      dc.SetPixel(x, y, clr);
    }
  }
  dc.SelectObject(pOld);
  ::ReleaseDC(nullptr, dcScreen.Detach());
  m_ilGlyph.DeleteImageList();
  if (m_ilGlyph.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0)) m_ilGlyph.Add(&bitmap, RGB(0, 255, 0));
}

// ---- Backgrounds -------------------------------------------------------------------------------------

BOOL CXTPBarThemeShaded::HasRowGradients(CXTPCommandBar* pBar) const {
  return pBar != nullptr && pBar->GetType() != xtpBarTypeMenuBar && (pBar->GetFlags() & 0x0F) != 0;
}

void CXTPBarThemeShaded::FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bHidden) {
  CRect rc(x, y, x + cx, y + cy);
  DrawColorGradient(pDC, rc, bHidden ? m_grcHiddenGutter : m_grcBar, TRUE);
}

void CXTPBarThemeShaded::FillDockGradient(CDC* pDC, CWnd*, CRect rc, const CRect* pClip) {
  // Stretched so that the gradient does not change as a bar is resized.
  rc.right = rc.left + std::max(static_cast<int>(rc.Width()), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
  DrawColorGradient(pDC, rc, m_grcDock, TRUE, pClip);
}

void CXTPBarThemeShaded::FillDockBar(CDC* pDC, CXTPDockBar* pBar) {
  CRect rc;
  pBar->GetClientRect(&rc);
  const DWORD dwStyle = pBar->GetStyle();
  if ((dwStyle & CBRS_ALIGN_RIGHT) || (dwStyle & 0x0100)) {
    pDC->FillSolidRect(rc, m_grcDock.clr2.GetColor());
    return;
  }
  FillDockGradient(pDC, pBar, rc, &rc);
}

void CXTPBarThemeShaded::FillDockBackground(CDC* pDC, CXTPCommandBar* pBar, const CRect& rcClient) {
  CWnd* pDock = pBar->GetParent();
  CXTPDockBar* pDockBar = DYNAMIC_DOWNCAST(CXTPDockBar, pDock);
  if (pDockBar == nullptr) {
    FillDockGradient(pDC, pBar, rcClient, &rcClient);
    return;
  }
  const DWORD dwStyle = pDockBar->GetStyle();
  if ((dwStyle & CBRS_ALIGN_RIGHT) || (dwStyle & 0x0100)) {
    pDC->FillSolidRect(rcClient, m_grcDock.clr2.GetColor());
    return;
  }
  CRect rcDock;
  pDockBar->GetClientRect(&rcDock);
  pDockBar->ClientToScreen(&rcDock);
  pBar->ScreenToClient(&rcDock);
  FillDockGradient(pDC, pBar, rcDock, &rcClient);
}

void CXTPBarThemeShaded::FillToolBarBody(CDC* pDC, CXTPCommandBar* pBar, const CRect& rcClient) {
  const BOOL bVert = pBar->IsVerticalPosition();
  FillDockBackground(pDC, pBar, rcClient);
  CRect rcBody = rcClient;
  if (bVert) {
    rcBody.top += 3;
  } else {
    rcBody.left += 3;
  }
  // The row extent that the controls use: the far edge of the last visible control's row.
  int nRowEnd = bVert ? rcBody.right - 1 : rcBody.bottom - 1;
  CXTPControls* pControls = pBar->GetControls();
  for (int i = pControls->GetCount() - 1; i >= 0; --i) {
    CXTPControl* pControl = pControls->GetAt(i);
    if (!pControl->IsVisible()) continue;
    const CRect rcRow = pControl->GetRowRect();
    if (!rcRow.IsRectEmpty())
      nRowEnd = std::min(static_cast<int>(bVert ? rcRow.right : rcRow.bottom), nRowEnd);
    break;
  }
  const int nSave = pDC->SaveDC();
  CRect rcClip;
  rcClip.SetRectEmpty();
  pDC->ExcludeClipRect(rcBody.left, rcBody.top, rcBody.left + 1, rcBody.top + 1);
  pDC->ExcludeClipRect(rcBody.right - 1, rcBody.top, rcBody.right, rcBody.top + 1);
  pDC->ExcludeClipRect(rcBody.left, rcBody.bottom - 1, rcBody.left + 1, rcBody.bottom);
  pDC->ExcludeClipRect(rcBody.right - 1, rcBody.bottom - 1, rcBody.right, rcBody.bottom);
  if (!bVert) {
    CRect rcGradient(rcBody.left, rcBody.top + 1, rcBody.right, nRowEnd);
    DrawColorGradient(pDC, rcGradient, m_grcBar, FALSE);
    pDC->FillSolidRect(rcBody.left, nRowEnd, rcBody.Width(), rcBody.bottom - 1 - nRowEnd,
                       m_grcBar.clr2.GetColor());
    pDC->FillSolidRect(rcBody.left + 5 - 3, rcBody.bottom - 1, rcBody.right - 2 - (rcBody.left + 2), 1,
                       m_clrShadowLine);
  } else {
    CRect rcGradient(rcBody.left + 1, rcBody.top, nRowEnd, rcBody.bottom);
    DrawColorGradient(pDC, rcGradient, m_grcBar, TRUE);
    pDC->FillSolidRect(nRowEnd, rcBody.top, rcBody.right - 1 - nRowEnd, rcBody.Height(),
                       m_grcBar.clr2.GetColor());
    pDC->FillSolidRect(rcBody.right - 1, rcBody.top + 5 - 3, 1, rcBody.bottom - 2 - (rcBody.top + 2),
                       m_clrShadowLine);
  }
  pDC->RestoreDC(nSave);
}

void CXTPBarThemeShaded::FillFloatingRows(CDC* pDC, CXTPCommandBar* pBar, const CRect& rcClient) {
  CXTPBarThemeFlat::FillCommandBar(pDC, pBar);
  int nCaptionBottom = 0;
  {
    CXTPScopedFont font(pDC, &m_fontSmCaption);
    const int nHeight = pDC->GetTextExtent(_T(" "), 1).cy;
    nCaptionBottom = rcClient.top + (nHeight < 15 ? 17 : nHeight + 2);
  }
  DrawColorGradient(pDC, CRect(2, nCaptionBottom, rcClient.right - 2, rcClient.bottom - 2), m_grcBar, FALSE);
  CXTPControls* pControls = pBar->GetControls();
  for (int i = 0; i < pControls->GetCount(); ++i) {
    CXTPControl* pControl = pControls->GetAt(i);
    if (!pControl->IsVisible() || !pControl->GetWrap()) continue;
    CRect rcRow = pControl->GetRowRect();
    if (rcRow.top < nCaptionBottom) continue;
    rcRow.left = 2;
    rcRow.right = rcClient.right - 2;
    DrawColorGradient(pDC, rcRow, m_grcBar, FALSE);
  }
  const COLORREF clrFrame = GetColor(43);
  pDC->SetPixel(2, 2, clrFrame);
  pDC->SetPixel(rcClient.right - 2, 2, clrFrame);
}

void CXTPBarThemeShaded::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) {
  CRect rc;
  pBar->GetClientRect(&rc);
  const XTPBarPosition position = pBar->GetPosition();
  if (pBar->GetType() == xtpBarTypeMenuBar) {
    if (position == xtpBarFloating) CXTPBarThemeFlat::FillCommandBar(pDC, pBar);
    CRect rcFill = rc;
    if (position == xtpBarFloating) rcFill.DeflateRect(2, 2);
    FillDockGradient(pDC, pBar, rcFill, &rcFill);
    if (position == xtpBarFloating) {
      const COLORREF clrFrame = GetColor(43);
      pDC->SetPixel(2, 2, clrFrame);
      pDC->SetPixel(rc.right - 2, 2, clrFrame);
    }
    return;
  }
  switch (position) {
    case xtpBarTop:
    case xtpBarBottom:
    case xtpBarLeft:
    case xtpBarRight:
      FillToolBarBody(pDC, pBar, rc);
      return;
    case xtpBarFloating:
      if (HasRowGradients(pBar)) {
        FillFloatingRows(pDC, pBar, rc);
        return;
      }
      break;
    case xtpBarPopup:
      Rectangle(pDC, rc, 41, 43);
      if (pBar->GetType() == xtpBarTypePopup)
        FillPopupGutter(pDC, 1, 2, GetPopupGutterWidth(pBar), rc.bottom - 4, FALSE);
      FillPopupJoin(pDC, pBar, GetColor(41));
      return;
    default:
      break;
  }
  CXTPBarThemeFlat::FillCommandBar(pDC, pBar);
}

// ---- Control states ----------------------------------------------------------------------------------

void CXTPBarThemeShaded::DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled,
                                          BOOL bChecked, BOOL bPopuped, BOOL bToolBar,
                                          XTPBarPosition barPosition) {
  if (bPopuped) {
    DrawColorGradient(pDC, rc, m_grcPopuped, FALSE);
    Rectangle(pDC, rc, -1, 43);
    return;
  }
  if (m_bSchemeColorsApplied && barPosition >= xtpBarTop && barPosition <= xtpBarFloating) {
    const BOOL bHorz = barPosition == xtpBarLeft || barPosition == xtpBarRight;
    const CXTPColorGradientValue* pGradient = nullptr;
    int nFrame = 50;
    if (bEnabled) {
      if (bChecked && !bSelected && !bPressed) {
        pGradient = &CheckedGradient();
      } else if (bChecked && bSelected && !bPressed) {
        pGradient = &PressedGradient();
      } else if (bPressed == 2 || (bSelected && bPressed)) {
        pGradient = &PressedGradient();
      } else if (bSelected || bPressed) {
        pGradient = &HotGradient();
        nFrame = 32;
      }
    } else if (bSelected == 2) {
      pGradient = bChecked ? &PressedGradient() : &HotGradient();
    } else if (bChecked) {
      pGradient = &CheckedGradient();
      nFrame = 58;
    }
    if (pGradient != nullptr) {
      DrawColorGradient(pDC, rc, *pGradient, bHorz);
      Rectangle(pDC, rc, -1, nFrame);
    }
    return;
  }
  CXTPBarThemeFlat::DrawControlFrame(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, bToolBar,
                                     barPosition);
}

// ---- Grippers and separators -------------------------------------------------------------------------

void CXTPBarThemeShaded::DrawDot(CDC* pDC, int x, int y) {
  pDC->FillSolidRect(x + 1, y + 1, 2, 2, GetColor(20));
  pDC->FillSolidRect(x, y, 2, 2, GetColor(38));
}

CSize CXTPBarThemeShaded::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) {
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rcClient(0, 0, 0, 0);
  if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
  switch (pBar->GetPosition()) {
    case xtpBarTop:
    case xtpBarBottom:
      if (bDraw) {
        for (int y = 5; y - 3 < rcClient.Height() - 8; y += 4) DrawDot(pDC, 5, y);
      }
      return CSize(6, 0);
    case xtpBarLeft:
    case xtpBarRight:
      if (bDraw) {
        for (int x = 5; x - 3 < rcClient.Width() - 8; x += 4) DrawDot(pDC, x, 6);
      }
      return CSize(0, 9);
    case xtpBarFloating:
      return DrawFloatingCaption(pDC, pBar, bDraw, m_clrCaption);
    default:
      return CSize(0, 0);
  }
}

CSize CXTPBarThemeShaded::DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) {
  const int c = std::max(25, m_nRowHeight + 6);
  if (bDraw && pBar->GetSafeHwnd() != nullptr) {
    CRect rc;
    pBar->GetClientRect(&rc);
    rc.DeflateRect(3, 3);
    rc.bottom = std::min(static_cast<int>(rc.bottom), static_cast<int>(rc.top) + c);
    DrawColorGradient(pDC, rc, m_grcBar, FALSE);
    for (int y = rc.top + 4; y < rc.top + c - 5; y += 4) DrawDot(pDC, rc.left + 2, y);
  }
  return CSize(8, c);
}

CSize CXTPBarThemeShaded::DrawCommandBarSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl,
                                                  BOOL bDraw) {
  const XTPBarPosition position = pBar->GetPosition();
  if (!bDraw) {
    if (position == xtpBarFloating) return CSize(6, 0);
    return CXTPBarThemeFlat::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
  }
  if (pControl == nullptr) return CSize(0, 0);
  const CRect R = pControl->GetRect();
  const CRect W = pControl->GetRowRect();
  if (position == xtpBarLeft || position == xtpBarRight) {
    if (pControl->GetWrap()) {
      Line(pDC, W.right + 2, W.top + 4, W.right + 2, W.bottom, 39);
      Line(pDC, W.right + 3, W.top + 5, W.right + 3, W.bottom + 1, 20);
    } else {
      Line(pDC, W.left + 4, R.top - 4, W.right - 4, R.top - 4, 39);
      if (!m_bSingleSeparators) Line(pDC, W.left + 5, R.top - 3, W.right - 3, R.top - 3, 20);
    }
    return CSize(0, 0);
  }
  if (position == xtpBarFloating) {
    if (pControl->GetWrap()) {
      Line(pDC, W.left + 4, W.top - 4, W.right, W.top - 4, 39);
      Line(pDC, W.left + 5, W.top - 3, W.right + 1, W.top - 3, 20);
    } else {
      Line(pDC, R.left - 4, W.top + 4, R.left - 4, W.bottom - 4, 39);
      if (!m_bSingleSeparators) Line(pDC, R.left - 3, W.top + 5, R.left - 3, W.bottom - 3, 20);
    }
    return CSize(0, 0);
  }
  return CXTPBarThemeFlat::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
}

// ---- Symbols -----------------------------------------------------------------------------------------

CSize CXTPBarThemeShaded::DrawSymbol(CDC* pDC, int nKind, CXTPControl* pControl, CXTPCommandBar* pBar,
                                     BOOL bDraw, BOOL bHiddenControls, CSize szBar) {
  if (nKind == xtpSymbolExpandItem) {
    if (bDraw && pControl != nullptr) {
      DrawControlEntry(pDC, pControl);
      const CRect rc = pControl->GetRect();
      const int cx = (rc.left + rc.right) / 2;
      m_ilGlyph.Draw(pDC, 0, CPoint(cx - 7, rc.top + 1), ILD_TRANSPARENT);
      CPen pen(PS_SOLID, 1, pDC->GetTextColor());
      CPen* pOld = pDC->SelectObject(&pen);
      for (int nRow = 0; nRow < 2; ++nRow) {
        const int y = rc.top + 5 + nRow * 4;
        pDC->MoveTo(cx - 3, y);
        pDC->LineTo(cx, y + 3);
        pDC->LineTo(cx + 4, y - 1);
      }
      pDC->SelectObject(pOld);
    }
    return CSize(0, 18);
  }
  if (nKind != xtpSymbolExpandButton || pBar == nullptr)
    return CXTPBarThemeFlat::DrawSymbol(pDC, nKind, pControl, pBar, bDraw, bHiddenControls, szBar);

  const XTPBarPosition position = pBar->GetPosition();
  const BOOL bVert = position == xtpBarLeft || position == xtpBarRight || position == xtpBarPopup;
  if (!bDraw) {
    // The bar being laid out gives its coming size; a bar that is only repainted, its window's.
    CRect rcClient(0, 0, 0, 0);
    if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
    const CSize sz = szBar.cx > 0 || szBar.cy > 0 ? szBar : rcClient.Size();
    if (pControl != nullptr)
      pControl->SetRect(bVert ? CRect(0, sz.cy - 12, sz.cx, sz.cy) : CRect(sz.cx - 12, 1, sz.cx, sz.cy));
    return CSize(0, 0);
  }
  if (pControl == nullptr) return CSize(0, 0);
  const CRect rc = pControl->GetRect();
  const BOOL bPopuped = IsPopuped(pControl);
  const int bSelected = pControl->GetSelected();
  const int nSave = pDC->SaveDC();
  // The outer corners are cut, and the inner edge keeps one pixel of the bar's background.
  if (!bVert) {
    pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
    pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.bottom);
  } else {
    pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
    pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
    pDC->ExcludeClipRect(rc.left, rc.top, rc.right, rc.top + 1);
  }
  if (bPopuped) {
    if (m_bSchemeColorsApplied) {
      DrawColorGradient(pDC, rc, PressedGradient(), bVert);
    } else {
      pDC->FillSolidRect(rc, GetColor(36));
    }
  } else if (bSelected) {
    if (m_bSchemeColorsApplied) {
      DrawColorGradient(pDC, rc, HotGradient(), bVert);
    } else {
      pDC->FillSolidRect(rc, GetColor(31));
    }
  } else {
    DrawColorGradient(pDC, rc, m_grcExpand, bVert);
  }
  pDC->RestoreDC(nSave);
  const int nGlyph = bPopuped ? 46 : bSelected ? 45 : 46;
  const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
  for (int nPass = 0; nPass < 2; ++nPass) {
    const int d = nPass == 0 ? 1 : 0;
    const int nSlot = nPass == 0 ? 20 : nGlyph;
    if (!bVert) {
      Line(pDC, cx - 2 + d, rc.bottom - 10 + d, cx + 3 + d, rc.bottom - 10 + d, nSlot);
      Triangle(pDC, CPoint(cx - 2 + d, rc.bottom - 7 + d), CPoint(cx + 2 + d, rc.bottom - 7 + d),
               CPoint(cx + d, rc.bottom - 5 + d), GetColor(nSlot));
    } else {
      Line(pDC, rc.right - 10 + d, cy - 2 + d, rc.right - 10 + d, cy + 3 + d, nSlot);
      Triangle(pDC, CPoint(rc.right - 5 + d, cy + d), CPoint(rc.right - 7 + d, cy - 2 + d),
               CPoint(rc.right - 7 + d, cy + 2 + d), GetColor(nSlot));
    }
    if (bHiddenControls) {
      CPen pen(PS_SOLID, 1, GetColor(nSlot));
      CPen* pOld = pDC->SelectObject(&pen);
      for (int nShift : {0, 4}) {
        if (!bVert) {
          pDC->MoveTo(rc.left + 2 + nShift + d, rc.top + 4 + d);
          pDC->LineTo(rc.left + 4 + nShift + d, rc.top + 6 + d);
          pDC->LineTo(rc.left + 1 + nShift + d, rc.top + 9 + d);
        } else {
          pDC->MoveTo(rc.left + 2 + d, rc.top + 2 + nShift + d);
          pDC->LineTo(rc.left + 4 + d, rc.top + 4 + nShift + d);
          pDC->LineTo(rc.left + 7 + d, rc.top + 1 + nShift + d);
        }
      }
      pDC->SelectObject(pOld);
    }
  }
  return CSize(0, 0);
}

CRect CXTPBarThemeShaded::GetCommandBarBorders(CXTPCommandBar* pBar) {
  if (pBar != nullptr && (pBar->GetPosition() == xtpBarTop || pBar->GetPosition() == xtpBarBottom))
    return CRect(4, 2, 2, 2);
  return CRect(2, 2, 2, 2);
}

CSize CXTPBarThemeShaded::DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) {
  if (bDraw) {
    CRect rc = rcGripper;
    rc.right += 1;
    rc.bottom += 1;
    pDC->FillSolidRect(rc, GetColor(41));
    rc.DeflateRect(1, 1);
    if (bSelected) {
      Rectangle(pDC, rc, 31, 32);
    } else {
      pDC->FillSolidRect(rc, m_clrTearOff);
    }
    const int nHalf = rc.Width() / 2;
    const int d = nHalf > 42 ? 32 : nHalf - 10;
    const int cx = rc.CenterPoint().x, cy = rc.CenterPoint().y - 1;
    for (int x = cx - d; x < cx + d; x += 4) DrawDot(pDC, x, cy);
  }
  return CSize(0, 9);
}

// ---- Status bar --------------------------------------------------------------------------------------

void CXTPBarThemeShaded::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL) {
  pDC->Draw3dRect(rc, m_clrPaneBorder, m_clrPaneBorder);
}

void CXTPBarThemeShaded::DrawStatusBarGripper(CDC* pDC, CRect rcClient) {
  if (m_pStatusTheme->GetHandle() != nullptr) {
    CRect rcGripper(rcClient.right - 18, rcClient.top, rcClient.right, rcClient.bottom);
    if (SUCCEEDED(m_pStatusTheme->DrawThemeBackground(pDC->GetSafeHdc(), 3, 0, rcGripper, nullptr))) return;
  }
  for (int nStep = 0; nStep < 3; ++nStep) {
    const int d = 5 * nStep + 3;
    for (int k = 0; k < 3; ++k) {
      Line(pDC, rcClient.right - 1, rcClient.bottom - d - k, rcClient.right - d - k, rcClient.bottom - 1, 16);
    }
    Line(pDC, rcClient.right - 1, rcClient.bottom - d - 3, rcClient.right - d - 3, rcClient.bottom - 1, 20);
  }
}

// ---- Theme 4 -----------------------------------------------------------------------------------------

CXTPBarThemeShadedAlt::CXTPBarThemeShadedAlt() {
  m_nColorThemeSelection = xtpSystemThemeUnknown;
  m_bSingleSeparators = TRUE;
}

void CXTPBarThemeShadedAlt::RefreshMetrics() {
  CXTPBarThemeShaded::RefreshMetrics();
  m_grcExpand.SetStandardColors(BlendColors(GetColor(5), GetColor(15), 550), GetColor(16));
  const int nScheme = GetColorTable()->GetCurrentTheme();
  if (nScheme == xtpSystemThemeSilver) {
    m_grcDock.SetStandardColors(RGB(215, 215, 229), RGB(243, 243, 247), 0.5f);
    m_grcBar.SetStandardColors(RGB(243, 244, 250), RGB(153, 151, 181), 0.75f);
    m_grcExpand.SetStandardColors(RGB(179, 178, 200), RGB(118, 116, 146), 0.75f);
    m_grcHiddenGutter.SetStandardColors(RGB(215, 215, 226), RGB(133, 131, 162), 0.5f);
    m_grcGlyph.SetStandardColors(RGB(232, 232, 241), RGB(176, 174, 197), 0.5f);
    m_grcDisabledIcons.SetStandardColors(RGB(247, 245, 249), RGB(122, 121, 153), 0.5f);
    m_clrShadowLine = RGB(124, 124, 148);
    m_clrTearOff = RGB(192, 192, 211);
    m_clrCaption = RGB(122, 121, 153);
    const int nSlots[] = {35, 60, 39, 38, 30, 31, 32, 37, 50, 33, 36, 47};
    const COLORREF clrs[] = {kSchemeGrey,        kSchemeGrey,        RGB(110, 109, 143), RGB(84, 84, 117),
                             RGB(219, 218, 228), RGB(255, 238, 194), RGB(75, 75, 111),   RGB(75, 75, 111),
                             RGB(75, 75, 111),   RGB(254, 128, 62),  RGB(255, 192, 111), RGB(0, 0, 0)};
    SetColors(static_cast<int>(std::size(nSlots)), nSlots, clrs);
  } else if (nScheme == xtpSystemThemeOlive || nScheme == xtpSystemThemeBlue) {
    m_grcDock.SetStandardColors(RGB(229, 229, 215), RGB(244, 241, 231), 0.5f);
    m_grcBar.SetStandardColors(RGB(250, 249, 245), RGB(192, 192, 168), 0.75f);
    m_grcHiddenGutter.SetStandardColors(RGB(204, 199, 186), RGB(204, 199, 186), 0.5f);
    m_grcGlyph.SetStandardFrom(m_grcBar);
    m_clrShadowLine = RGB(163, 163, 124);
    if (nScheme == xtpSystemThemeOlive) {
      m_grcExpand.SetStandardColors(RGB(238, 237, 234), RGB(176, 172, 158), 0.75f);
      m_grcDisabledIcons.SetStandardColors(RGB(236, 233, 216), RGB(172, 168, 153), 0.5f);
      const int nSlots[] = {31, 36, 33, 47};
      const COLORREF clrs[] = {RGB(182, 198, 141), RGB(182, 198, 141), RGB(147, 160, 112),
                               RGB(255, 255, 255)};
      SetColors(static_cast<int>(std::size(nSlots)), nSlots, clrs);
    } else {
      m_grcExpand.SetStandardColors(RGB(238, 237, 234), RGB(152, 152, 126), 0.75f);
      m_grcDisabledIcons.SetStandardColors(RGB(247, 245, 249), RGB(122, 121, 153), 0.5f);
    }
  }
  CreateGlyphImage();
}
