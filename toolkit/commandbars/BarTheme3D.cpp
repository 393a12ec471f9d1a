// Theme 0: three-dimensional frames in the system colours.
#include "BarTheme3D.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlComboBox.h"
#include "ControlEdit.h"
#include "ControlPopup.h"
#include "PopupBar.h"

#include <DrawHelpers.h>
#include <ImageManager.h>
#include <ScopedFont.h>

IMPLEMENT_DYNCREATE(CXTPBarTheme3D, CXTPBarTheme)

CXTPBarTheme3D::CXTPBarTheme3D() {
  m_iconsInfo.bUseFadedIcons = FALSE;
  m_iconsInfo.bIconsWithShadow = FALSE;
  m_bAutoDisabledIcons = FALSE;
}

void CXTPBarTheme3D::DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled,
                                      BOOL bChecked, BOOL bPopuped, BOOL /*bToolBar*/, XTPBarPosition) {
  if (!bEnabled) {
    if (bChecked || bSelected == 2) Draw3dRect(pDC, rc, COLOR_3DSHADOW_SLOT, COLOR_3DHIGHLIGHT_SLOT);
    return;
  }
  if (bChecked) {
    if (!bSelected && !bPressed) FillHalftone(pDC, rc);
    Draw3dRect(pDC, rc, COLOR_3DSHADOW_SLOT, COLOR_3DHIGHLIGHT_SLOT);
    return;
  }
  if (bPopuped || bPressed == 2 || (bSelected && bPressed)) {
    Draw3dRect(pDC, rc, COLOR_3DSHADOW_SLOT, COLOR_3DHIGHLIGHT_SLOT);
  } else if (bSelected || bPressed) {
    Draw3dRect(pDC, rc, COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
  }
}

void CXTPBarTheme3D::DrawControlFace(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected, int bPressed,
                                     BOOL bChecked, BOOL bPopuped, XTPBarPosition barPosition) {
  DrawControlFrame(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, TRUE, barPosition);
  pDC->SetTextColor(GetColor(bEnabled ? (barPosition == xtpBarPopup ? m_nPopupTextSlot : COLOR_BTNTEXT_SLOT)
                                      : COLOR_GRAYTEXT_SLOT));
  pDC->SetBkMode(TRANSPARENT);
}

void CXTPBarTheme3D::DrawSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc) {
  const BOOL bPopuped = IsPopuped(pControl);
  const BOOL bEnabled = pControl->GetEnabled();
  const int bSelected = pControl->GetSelected(), bPressed = pControl->GetPressed();
  const XTPBarPosition position =
      pControl->GetParent() != nullptr ? pControl->GetParent()->GetPosition() : xtpBarTop;
  CRect rcMain = rc;
  rcMain.right -= 12;
  DrawControlFace(pDC, rcMain, bEnabled, bSelected || bPopuped, bPressed, pControl->GetChecked(), FALSE,
                  position);
  if ((bSelected || bPressed || bPopuped) && bEnabled) {
    CRect rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
    DrawControlFace(pDC, rcArrow, TRUE, TRUE, FALSE, FALSE, bPopuped, position);
  }
  const int nMid = (rc.top + rc.bottom) / 2;
  Triangle(pDC, CPoint(rc.right - 9, nMid - 1), CPoint(rc.right - 5, nMid - 1),
           CPoint(rc.right - 7, nMid + 1), pDC->GetTextColor());
}

void CXTPBarTheme3D::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) {
  CRect rc;
  pBar->GetClientRect(&rc);
  pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE_SLOT));
  if (pBar->GetPosition() == xtpBarFloating || pBar->GetPosition() == xtpBarPopup) {
    Draw3dRect(pDC, rc, COLOR_3DFACE_SLOT, COLOR_3DDKSHADOW_SLOT);
    rc.DeflateRect(1, 1);
  }
  Draw3dRect(pDC, rc, COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
}

CSize CXTPBarTheme3D::DrawDialogBarGripper(CDC* pDC, CXTPCommandBar*, BOOL bDraw) {
  const int a = m_nRowHeight >= 18 ? m_nRowHeight + 4 : 22;
  if (bDraw) Draw3dRect(pDC, CRect(3, 3, 6, a), COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
  return CSize(6, a);
}

CSize CXTPBarTheme3D::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) {
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rcClient(0, 0, 0, 0);
  if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
  switch (pBar->GetPosition()) {
    case xtpBarTop:
    case xtpBarBottom:
      if (bDraw)
        Draw3dRect(pDC, CRect(3, 3, 6, rcClient.bottom - 3), COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
      return CSize(6, 0);
    case xtpBarLeft:
    case xtpBarRight:
      if (bDraw)
        Draw3dRect(pDC, CRect(3, 3, rcClient.right - 3, 6), COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
      return CSize(0, 8);
    case xtpBarFloating:
      return DrawFloatingCaption(pDC, pBar, bDraw, GetColor(COLOR_ACTIVECAPTION_SLOT));
    default:
      return CSize(0, 0);
  }
}

CSize CXTPBarTheme3D::DrawCommandBarSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl,
                                              BOOL bDraw) {
  const BOOL bPopup = pBar->GetType() == xtpBarTypePopup;
  if (!bDraw) return bPopup ? CSize(8, 8) : CSize(6, 6);
  if (pControl == nullptr) return CSize(0, 0);
  const CRect R = pControl->GetRect();
  const CRect W = pControl->GetRowRect();
  CRect rcLine;
  if (bPopup) {
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    rcLine.SetRect(14, R.top - 5, rcClient.right - 14, R.top - 3);
  } else if (!pBar->IsVerticalPosition()) {
    rcLine = pControl->GetWrap() ? CRect(W.left + 4, W.top - 4, W.right, W.top - 2)
                                 : CRect(R.left - 4, W.top, R.left - 2, W.bottom);
  } else {
    rcLine = pControl->GetWrap() ? CRect(W.right + 2, W.top + 4, W.right + 4, W.bottom)
                                 : CRect(W.left, R.top - 4, W.right, R.top - 2);
  }
  Draw3dRect(pDC, rcLine, COLOR_3DSHADOW_SLOT, COLOR_3DHIGHLIGHT_SLOT);
  return CSize(0, 0);
}

void CXTPBarTheme3D::AdjustExcludeRect(CRect& rc, CXTPControl* pControl, BOOL bVertical) {
  if (pControl->GetType() == xtpControlComboBox) return;
  CXTPCommandBar* pParent = pControl->GetParent();
  if (pParent != nullptr && pParent->GetType() == xtpBarTypePopup) {
    rc.DeflateRect(1, 0);
  } else if (bVertical) {
    rc.InflateRect(0, 1);
  } else {
    rc.InflateRect(1, 0);
  }
}

CSize CXTPBarTheme3D::DrawSymbol(CDC* pDC, int nKind, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw,
                                 BOOL bHiddenControls, CSize szBar) {
  if (bDraw && pControl != nullptr && (nKind == xtpSymbolCaptionClose || nKind == xtpSymbolCaptionOptions)) {
    if (pControl->GetPressed() || pControl->GetSelected() ||
        (nKind == xtpSymbolCaptionOptions && IsPopuped(pControl)))
      pDC->FillSolidRect(pControl->GetRect(), GetColor(COLOR_3DFACE_SLOT));
  }
  return CXTPBarTheme::DrawSymbol(pDC, nKind, pControl, pBar, bDraw, bHiddenControls, szBar);
}

CRect CXTPBarTheme3D::GetCommandBarBorders(CXTPCommandBar* pBar) {
  if (pBar != nullptr && pBar->GetType() == xtpBarTypePopup) return CRect(3, 3, 3, 3);
  return CXTPBarTheme::GetCommandBarBorders(pBar);
}

CSize CXTPBarTheme3D::DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) {
  if (bDraw) {
    CRect rc = rcGripper;
    rc.bottom -= 1;
    pDC->FillSolidRect(rc, GetColor(bSelected ? COLOR_ACTIVECAPTION_SLOT : COLOR_INACTIVECAPTION_SLOT));
  }
  return CSize(0, 8);
}

CSize CXTPBarTheme3D::DrawControlText(CDC* pDC, CString strText, CRect rcText, UINT nFormat, BOOL bDraw,
                                      int bSelected, BOOL bEnabled) {
  if (!bDraw) {
    CRect rc(0, 0, 0, 0);
    pDC->DrawText(strText, &rc, DT_CALCRECT | DT_SINGLELINE | (nFormat & DT_NOPREFIX));
    return rc.Size();
  }
  if (!bEnabled && !bSelected) {
    const COLORREF clrOld = pDC->SetTextColor(GetColor(COLOR_3DHIGHLIGHT_SLOT));
    CRect rc = rcText;
    rc.OffsetRect(1, 1);
    pDC->DrawText(strText, &rc, nFormat | DT_SINGLELINE | DT_VCENTER);
    pDC->SetTextColor(clrOld);
  }
  pDC->DrawText(strText, &rcText, nFormat | DT_SINGLELINE | DT_VCENTER);
  return rcText.Size();
}

CSize CXTPBarTheme3D::GetPopupIconColumn(CXTPCommandBar* pBar) const {
  const CSize szIcon = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  return CSize(std::max(m_nRowHeight, static_cast<int>(szIcon.cx) + 4),
               std::max(m_nRowHeight, static_cast<int>(szIcon.cy) + 4));
}

CSize CXTPBarTheme3D::DrawControlPopupParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPCommandBar* pBar = pControl->GetParent();
  CXTPScopedFont font(pDC, GetControlFont(pBar, pControl->GetDefaultItem()));
  const CSize szColumn = GetPopupIconColumn(pBar);
  const int B = szColumn.cx, H = szColumn.cy;
  CXTPPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CXTPPopupBar, pBar);
  const BOOL bDouble = pPopupBar != nullptr && pPopupBar->GetDoubleGripper();
  const int nGutter = bDouble ? 2 * B : B;
  const CSize szIcon = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  CXTPImageManagerIcon* pImage = nullptr;
  const BOOL bIcon = IsIconVisible(pControl, &pImage, szIcon);
  const CString strCaption = pControl->GetCaption();
  const CString strShortcut = pControl->GetShortcutText();
  const BOOL bEnabled = pControl->GetEnabled();
  const int bSelected = pControl->GetSelected();
  const BOOL bChecked = pControl->GetChecked();
  const XTPControlType type = pControl->GetType();
  const BOOL bCues = pBar == nullptr || pBar->IsKeyboardCuesVisible();
  const UINT nPrefix = bCues ? 0 : DT_NOPREFIX;

  const CSize szCaption =
      DrawControlText(pDC, strCaption, CRect(0, 0, 0, 0), nPrefix, FALSE, bSelected, bEnabled);
  const CSize szShortcut = strShortcut.IsEmpty() ? CSize(0, 0)
                                                 : DrawControlText(pDC, strShortcut, CRect(0, 0, 0, 0), 0,
                                                                   FALSE, bSelected, bEnabled);

  if (bDraw) {
    const CRect R = pControl->GetRect();
    const int nMid = (R.top + R.bottom) / 2;
    if (pControl->GetUsageMark()) pDC->FillSolidRect(R, GetColor(COLOR_3DLIGHT_SLOT));
    const COLORREF clrText = bEnabled ? GetColor(bSelected ? COLOR_HIGHLIGHTTEXT_SLOT : m_nPopupTextSlot)
                                      : GetColor(COLOR_GRAYTEXT_SLOT);
    if (m_bHighlightWholeRow && bSelected) Rectangle(pDC, R, COLOR_HIGHLIGHT_SLOT, -1);
    int nHighlightLeft = R.left;
    CRect rcColumn(R.left, R.top, R.left + B, R.bottom);
    if (bChecked && !m_bHighlightWholeRow) {
      DrawControlFrame(pDC, rcColumn, bSelected, 0, bEnabled, bChecked, FALSE, FALSE, xtpBarPopup);
      nHighlightLeft = R.left + B + 1;
    }
    if (bDouble) rcColumn.OffsetRect(B + 1, 0);
    if (bIcon) {
      const CSize szImage = GetScaledImageSize(pImage, szIcon);
      if (!m_bHighlightWholeRow)
        DrawControlFrame(pDC, rcColumn, bSelected, 0, bEnabled, bDouble ? FALSE : bChecked, FALSE, FALSE,
                         xtpBarPopup);
      DrawImage(pDC, CPoint(rcColumn.left + (B - szImage.cx) / 2, nMid - szImage.cy / 2), szImage, pImage,
                bSelected, 0, bEnabled, bChecked, FALSE, FALSE);
      nHighlightLeft = rcColumn.right + 1;
    }
    if (bChecked && (bDouble || !bIcon)) {
      const COLORREF clrCheck =
          m_bHighlightWholeRow ? clrText : GetColor(bEnabled ? m_nPopupTextSlot : COLOR_GRAYTEXT_SLOT);
      DrawCheckMark(pDC, CRect(R.left + B / 2 - 10, nMid - 10, R.left + B / 2 + 10, nMid + 10), clrCheck,
                    pBar != nullptr && pBar->IsLayoutRTL());
    }
    COLORREF clrTriangle = clrText;
    if (IsPopupKind(type)) {
      if (type == xtpControlSplitButtonPopup && bEnabled) {
        const BOOL bPopuped = IsPopuped(pControl);
        if (bPopuped && bSelected) {
          if (!m_bHighlightWholeRow)
            Rectangle(pDC, CRect(nHighlightLeft, R.top, R.right - 20, R.bottom), COLOR_HIGHLIGHT_SLOT, -1);
          Draw3dRect(pDC, CRect(R.right - 20, R.top, R.right, R.bottom), COLOR_3DSHADOW_SLOT,
                     COLOR_3DHIGHLIGHT_SLOT);
          clrTriangle = GetColor(m_nPopupTextSlot);
        } else if (bPopuped) {
          Line(pDC, R.right - 20, R.top + 1, R.right - 20, R.bottom - 1, m_nPopupTextSlot);
        } else if (bSelected) {
          if (!m_bHighlightWholeRow)
            Rectangle(pDC, CRect(nHighlightLeft, R.top, R.right, R.bottom), COLOR_HIGHLIGHT_SLOT, -1);
          Line(pDC, R.right - 20, R.top + 1, R.right - 20, R.bottom - 1, COLOR_3DSHADOW_SLOT);
        } else {
          Line(pDC, R.right - 20, R.top + 1, R.right - 20, R.bottom - 1, m_nPopupTextSlot);
        }
      } else if (bSelected && !m_bHighlightWholeRow) {
        Rectangle(pDC, CRect(nHighlightLeft, R.top, R.right, R.bottom), COLOR_HIGHLIGHT_SLOT, -1);
      }
      const int X = R.right - 11;
      Triangle(pDC, CPoint(X, nMid - 3), CPoint(X + 3, nMid), CPoint(X, nMid + 3), clrTriangle);
    } else if (bSelected && !m_bHighlightWholeRow) {
      Rectangle(pDC, CRect(nHighlightLeft, R.top, R.right, R.bottom), COLOR_HIGHLIGHT_SLOT, -1);
    }

    CRect rcText(R.left + nGutter + 4, R.top, R.right, R.bottom);
    CRect rcShortcut(R.left + nGutter + 8, R.top, R.right - 19, R.bottom);
    if (type == xtpControlButton && !strShortcut.IsEmpty()) rcText.right -= szShortcut.cx + 19;
    pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    DrawControlText(pDC, strCaption, rcText, DT_END_ELLIPSIS | nPrefix, TRUE, bSelected, bEnabled);
    if (!strShortcut.IsEmpty())
      DrawControlText(pDC, strShortcut, rcShortcut, DT_RIGHT, TRUE, bSelected, bEnabled);
    pDC->SetTextColor(clrOld);
  }
  return CSize(szCaption.cx + szShortcut.cx + nGutter + 40, H);
}

void CXTPBarTheme3D::DrawControlEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected) {
  if (bEnabled) {
    if (bSelected) {
      Draw3dRect(pDC, rc, COLOR_3DSHADOW_SLOT, COLOR_3DHIGHLIGHT_SLOT);
    } else {
      Draw3dRect(pDC, rc, COLOR_3DFACE_SLOT, COLOR_3DFACE_SLOT);
    }
    rc.DeflateRect(1, 1);
    Draw3dRect(pDC, rc, COLOR_3DFACE_SLOT, COLOR_3DFACE_SLOT);
  } else {
    rc.DeflateRect(1, 1);
    const int nSlot = bSelected == 2 ? COLOR_3DSHADOW_SLOT : COLOR_3DHIGHLIGHT_SLOT;
    Draw3dRect(pDC, rc, nSlot, nSlot);
  }
}

void CXTPBarTheme3D::DrawComboDropDown(CDC* pDC, CRect rcBtn, BOOL bEnabled, int bSelected, BOOL bDropped) {
  rcBtn.left += 1;
  rcBtn.top += 2;
  rcBtn.right -= 2;
  rcBtn.bottom -= 2;
  CRect rcMark = rcBtn;
  if (bEnabled) {
    pDC->FillSolidRect(rcBtn, GetColor(COLOR_3DFACE_SLOT));
    if (bDropped) {
      pDC->FillSolidRect(rcBtn.left - 1, rcBtn.top, 1, rcBtn.Height(), GetColor(COLOR_3DFACE_SLOT));
      Draw3dRect(pDC, rcBtn, COLOR_3DSHADOW_SLOT, COLOR_3DHIGHLIGHT_SLOT);
      rcMark.OffsetRect(1, 1);
    } else if (bSelected) {
      pDC->FillSolidRect(rcBtn.left - 1, rcBtn.top, 1, rcBtn.Height(), GetColor(COLOR_3DFACE_SLOT));
      Draw3dRect(pDC, rcBtn, COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
    } else {
      Draw3dRect(pDC, rcBtn, COLOR_3DHIGHLIGHT_SLOT, COLOR_3DHIGHLIGHT_SLOT);
    }
  }
  DrawComboExpandMark(pDC, rcMark, GetColor(COLOR_BTNTEXT_SLOT));
}

int CXTPBarTheme3D::DrawFieldLabel(CDC* pDC, CXTPControl* pControl, BOOL bLabel, BOOL bDraw,
                                   int* pnTextHeight) {
  CXTPCommandBar* pBar = pControl->GetParent();
  const BOOL bPopupBar = pBar != nullptr && pBar->GetType() == xtpBarTypePopup;
  const int nColumn = GetPopupIconColumn(pBar).cx;
  int nTextHeight = 0;
  {
    CXTPScopedFont font(pDC, &m_fontIcon);
    nTextHeight = pDC->GetTextExtent(_T(" "), 1).cy;
  }
  CXTPScopedFont font(pDC, &m_fontRegular);
  *pnTextHeight = std::max(nTextHeight, static_cast<int>(pDC->GetTextExtent(_T(" "), 1).cy)) + 1;
  const CString strCaption = pControl->GetCaption();
  const BOOL bCues = pBar == nullptr || pBar->IsKeyboardCuesVisible();
  const CSize szCaption =
      DrawControlText(pDC, strCaption, CRect(0, 0, 0, 0), bCues ? 0 : DT_NOPREFIX, FALSE, 0, TRUE);
  const int nLabelWidth = bPopupBar ? szCaption.cx + nColumn + 9 : bLabel ? szCaption.cx + 5 : 0;
  if (bDraw && bLabel) {
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = pControl->GetEnabled();
    const COLORREF clrOld = pDC->SetTextColor(GetColor(bEnabled ? COLOR_BTNTEXT_SLOT : COLOR_GRAYTEXT_SLOT));
    pDC->SetBkMode(TRANSPARENT);
    CRect rcLabel(rc.left + (bPopupBar ? nColumn + 4 : 2), rc.top, rc.left + nLabelWidth, rc.bottom);
    DrawControlText(pDC, strCaption, rcLabel, bCues ? 0 : DT_NOPREFIX, TRUE, 0, bEnabled);
    pDC->SetTextColor(clrOld);
  }
  return nLabelWidth;
}

CSize CXTPBarTheme3D::DrawControlEdit(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pControl);
  if (pEdit == nullptr) return DrawControlToolBarParent(pDC, pControl, bDraw);
  CXTPCommandBar* pBar = pControl->GetParent();
  const BOOL bPopupBar = pBar != nullptr && pBar->GetType() == xtpBarTypePopup;
  int nTextHeight = 0;
  const int nLabelWidth =
      DrawFieldLabel(pDC, pControl, bPopupBar || pEdit->GetShowLabel(), bDraw, &nTextHeight);
  pEdit->SetLabelWidth(nLabelWidth);
  if (bDraw) {
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = pControl->GetEnabled();
    CRect rcField(rc.left + nLabelWidth, rc.top, rc.right, rc.bottom);
    if (bEnabled) pDC->FillSolidRect(rcField, GetColor(COLOR_WINDOW_SLOT));
    DrawControlEditFrame(pDC, rcField, bEnabled, pControl->GetSelected());
  }
  return CSize(pEdit->GetWidth() + (bPopupBar ? nLabelWidth : 0), nTextHeight + 7);
}

CSize CXTPBarTheme3D::DrawControlComboBox(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPControlComboBox* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pControl);
  if (pCombo == nullptr) return DrawControlToolBarParent(pDC, pControl, bDraw);
  CXTPCommandBar* pBar = pControl->GetParent();
  const BOOL bPopupBar = pBar != nullptr && pBar->GetType() == xtpBarTypePopup;
  int nThumb = 15;
  {
    CXTPScopedFont font(pDC, &m_fontIcon);
    TEXTMETRIC tm = {};
    pDC->GetTextMetrics(&tm);
    nThumb = std::max(15, 2 * static_cast<int>(tm.tmAveCharWidth) + 4);
  }
  int nTextHeight = 0;
  const int nLabelWidth =
      DrawFieldLabel(pDC, pControl, bPopupBar || pCombo->GetComboStyle() == 1, bDraw, &nTextHeight);
  pCombo->SetLabelWidth(nLabelWidth);
  pCombo->SetThumbWidth(nThumb);

  if (bDraw) {
    const CRect rc = pControl->GetRect();
    const BOOL bEnabled = pControl->GetEnabled();
    CRect rcField(rc.left + nLabelWidth, rc.top, rc.right, rc.bottom);
    CRect rcButton(rcField.right - nThumb, rcField.top, rcField.right, rcField.bottom);
    if (bEnabled) pDC->FillSolidRect(rcField, GetColor(COLOR_WINDOW_SLOT));
    {
      CXTPScopedFont fieldFont(pDC, &m_fontIcon);
      const COLORREF clrOld =
          pDC->SetTextColor(GetColor(bEnabled ? COLOR_BTNTEXT_SLOT : COLOR_GRAYTEXT_SLOT));
      pCombo->DrawEditText(pDC,
                           CRect(rcField.left + 3, rcField.top + 1, rcButton.left + 1, rcField.bottom - 1));
      pDC->SetTextColor(clrOld);
    }
    DrawComboDropDown(pDC, rcButton, bEnabled, pControl->GetSelected(), pCombo->GetPopuped());
    DrawControlEditFrame(pDC, rcField, bEnabled, pControl->GetSelected());
  }
  return CSize(pCombo->GetWidth() + (bPopupBar ? nLabelWidth : 0), nTextHeight + 7);
}

CSize CXTPBarTheme3D::DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected,
                                         BOOL bDraw, CXTPCommandBars* pCommandBars) {
  const CSize szIcon = pCommandBars != nullptr ? pCommandBars->GetPopupIconSize() : CSize(16, 16);
  const int W = std::max(m_nRowHeight, static_cast<int>(szIcon.cx) + 4);
  const int nHeight = std::max(m_nRowHeight, static_cast<int>(szIcon.cy) + 4);
  if (!bDraw) return CSize(W, nHeight);
  pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE_SLOT));
  if (pControl == nullptr) return CSize(W, nHeight);

  const BOOL bEnabled = pControl->GetEnabled();
  CRect rcColumn(rc.left + 1, rc.top, rc.left + 1 + W, rc.bottom);
  CXTPImageManagerIcon* pImage = nullptr;
  if (IsIconVisible(pControl, &pImage, szIcon)) {
    DrawControlFrame(pDC, rcColumn, bSelected, 0, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
    DrawImage(pDC,
              CPoint(rcColumn.left + (W - szIcon.cx) / 2, rcColumn.top + (rcColumn.Height() - szIcon.cy) / 2),
              szIcon, pImage, bSelected, 0, bEnabled, FALSE, FALSE, FALSE);
  }
  CRect rcText(rcColumn.right + 1, rc.top, rc.right, rc.bottom);
  int nTextSlot = COLOR_BTNTEXT_SLOT;
  if (bSelected) {
    Rectangle(pDC, rcText, COLOR_HIGHLIGHT_SLOT, COLOR_HIGHLIGHT_SLOT);
    nTextSlot = COLOR_HIGHLIGHTTEXT_SLOT;
  }
  CString strCaption = pControl->GetCaption();
  StripMnemonics(strCaption);
  if (pCommandBars != nullptr && pCommandBars->IsLayoutRTL()) PrepareRightToLeftText(strCaption);
  CXTPScopedFont font(pDC, &m_fontRegular);
  pDC->SetBkMode(TRANSPARENT);
  const COLORREF clrOld = pDC->SetTextColor(GetColor(nTextSlot));
  CRect rcCaption(rcColumn.right + 4, rc.top, rc.right, rc.bottom);
  pDC->DrawText(strCaption, &rcCaption, DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  const XTPControlType type = pControl->GetType();
  const int nMid = (rc.top + rc.bottom) / 2;
  if (IsPopupKind(type)) {
    Triangle(pDC, CPoint(rc.right - 12, nMid - 5), CPoint(rc.right - 7, nMid),
             CPoint(rc.right - 12, nMid + 5), GetColor(nTextSlot));
    if (type == xtpControlSplitButtonPopup)
      Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, nTextSlot);
  } else if (type == xtpControlComboBox || type == xtpControlEdit) {
    CRect rcCalc(0, 0, 0, 0);
    pDC->DrawText(strCaption, &rcCalc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    CRect rcBox(rcCaption.left + rcCalc.Width() + 9, rc.top + 1, rc.right, rc.bottom - 1);
    Rectangle(pDC, rcBox, COLOR_WINDOW_SLOT, bSelected ? COLOR_HIGHLIGHT_SLOT : COLOR_3DFACE_SLOT);
    if (type == xtpControlComboBox) {
      const int nButton = pDC->GetTextExtent(_T(" "), 1).cy + 2;
      CRect rcButton(rcBox.right - nButton, rcBox.top, rcBox.right, rcBox.bottom);
      if (bSelected) {
        Rectangle(pDC, rcButton, COLOR_3DFACE_SLOT, COLOR_HIGHLIGHT_SLOT);
      } else {
        CRect rcInside = rcButton;
        rcInside.DeflateRect(2, 2);
        pDC->FillSolidRect(rcInside, GetColor(COLOR_3DFACE_SLOT));
      }
      rcButton.DeflateRect(1, 1);
      DrawComboExpandMark(pDC, rcButton, GetColor(COLOR_BTNTEXT_SLOT));
    }
  }
  pDC->SetTextColor(clrOld);
  return CSize(W, nHeight);
}

// ---- Images ------------------------------------------------------------------------------------------

void CXTPBarTheme3D::DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPImageManagerIcon* pImage, int bSelected,
                               int bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL) {
  if (pImage == nullptr) return;
  if (!bEnabled) {
    if (m_iconsInfo.bUseDisabledIcons || pImage->IsAlpha()) {
      if (m_bAutoDisabledIcons && !pImage->HasDisabledIcon() && pImage->GetDisabledIcon(FALSE).IsEmpty())
        pImage->CreateDisabledIcon(m_grcDisabledIcons.clr1.GetColor(), m_grcDisabledIcons.clr2.GetColor());
      pImage->Draw(pDC, pt, pImage->GetDisabledIcon(), sz);
    } else {
      pImage->DrawMonochrome(pDC, pt + CPoint(1, 1), pImage->GetIcon(), GetColor(COLOR_3DHIGHLIGHT));
      pImage->DrawMonochrome(pDC, pt, pImage->GetIcon(), GetColor(COLOR_3DSHADOW));
    }
    return;
  }
  if (bPopuped) {
    pImage->Draw(pDC, pt, bChecked ? pImage->GetCheckedIcon() : pImage->GetIcon(), sz);
  } else if (bChecked) {
    pImage->Draw(pDC, pt, pImage->GetCheckedIcon(), sz);
  } else if (!bSelected && !bPressed) {
    pImage->Draw(pDC, pt, m_iconsInfo.bUseFadedIcons ? pImage->GetFadedIcon() : pImage->GetIcon(), sz);
  } else if (bPressed == 2 || (bSelected && bPressed)) {
    pImage->Draw(pDC, pt + CPoint(1, 1), pImage->GetHotIcon(), sz);
  } else if (bSelected || bPressed == 1) {
    if (m_iconsInfo.bIconsWithShadow && !pImage->GetShadowIcon().IsEmpty()) {
      pImage->Draw(pDC, pt + CPoint(1, 1), pImage->GetShadowIcon(), sz);
      pImage->Draw(pDC, pt - CPoint(1, 1), pImage->GetHotIcon(), sz);
    } else {
      pImage->Draw(pDC, pt, pImage->GetHotIcon(), sz);
    }
  }
}
