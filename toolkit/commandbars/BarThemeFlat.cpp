// Theme 1: flat rectangles in the colour table's blended colours.
#include "BarThemeFlat.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "ControlComboBox.h"
#include "ControlEdit.h"
#include "ControlPopup.h"
#include "PopupBar.h"

#include <DrawHelpers.h>
#include <ImageManager.h>
#include <ScopedFont.h>

IMPLEMENT_DYNCREATE(CXTPBarThemeFlat, CXTPBarTheme)

namespace {

BOOL IsPopupBar(const CXTPCommandBar* pBar) { return pBar != nullptr && pBar->GetType() == xtpBarTypePopup; }

CSize TextExtent(CDC* pDC, const CString& strText, UINT nFormat) {
  if (strText.IsEmpty()) return CSize(0, 0);
  CRect rc(0, 0, 0, 0);
  CString str = strText;
  pDC->DrawText(str, &rc, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | nFormat);
  return rc.Size();
}

}  // namespace

CXTPBarThemeFlat::CXTPBarThemeFlat() {
  m_iconsInfo.bUseFadedIcons = TRUE;
  m_iconsInfo.bUseDisabledIcons = TRUE;
  m_iconsInfo.bIconsWithShadow = TRUE;
  m_bAutoDisabledIcons = TRUE;
}

// ---- States ------------------------------------------------------------------------------------------

void CXTPBarThemeFlat::DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled,
                                        BOOL bChecked, BOOL bPopuped, BOOL /*bToolBar*/,
                                        XTPBarPosition barPosition) {
  if (!bEnabled) {
    if (bSelected == 2) {
      Rectangle(pDC, rc, barPosition == xtpBarPopup ? 41 : bChecked ? 33 : 31, 32);
    } else if (bChecked) {
      Rectangle(pDC, rc, barPosition == xtpBarPopup ? -1 : 36, 58);
    }
    return;
  }
  if (bPopuped) {
    Rectangle(pDC, rc, 30, 43);
  } else if (bChecked && !bSelected && !bPressed) {
    Rectangle(pDC, rc, 36, 50);
  } else if (bChecked && bSelected && !bPressed) {
    Rectangle(pDC, rc, 33, 37);
  } else if (bPressed == 2 || (bSelected && bPressed)) {
    Rectangle(pDC, rc, 33, 50);
  } else if (bSelected || bPressed) {
    Rectangle(pDC, rc, 31, 32);
  }
}

int PASCAL CXTPBarThemeFlat::GetCaptionSlot(BOOL bEnabled, int bSelected, int bPressed, BOOL bChecked,
                                            BOOL bPopuped, XTPBarPosition barPosition) {
  if (!bEnabled) return 60;
  if (bPopuped) return 46;
  if (bPressed == 2) return 47;
  if (bSelected) return bPressed || bChecked ? 47 : 45;
  if (bPressed || bChecked) return 45;
  return barPosition == xtpBarPopup ? 44 : 46;
}

void CXTPBarThemeFlat::DrawControlFace(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected, int bPressed,
                                       BOOL bChecked, BOOL bPopuped, XTPBarPosition barPosition) {
  DrawControlFrame(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, TRUE, barPosition);
  pDC->SetTextColor(GetColor(GetCaptionSlot(bEnabled, bSelected, bPressed, bChecked, bPopuped, barPosition)));
  pDC->SetBkMode(TRANSPARENT);
}

void CXTPBarThemeFlat::DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPImageManagerIcon* pImage, int bSelected,
                                 int bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL) {
  if (pImage == nullptr) return;
  if (!bEnabled) {
    if (m_iconsInfo.bUseDisabledIcons || pImage->IsAlpha()) {
      if (m_bAutoDisabledIcons && !pImage->HasDisabledIcon() && pImage->GetDisabledIcon(FALSE).IsEmpty())
        pImage->CreateDisabledIcon(m_grcDisabledIcons.clr1.GetColor(), m_grcDisabledIcons.clr2.GetColor());
      pImage->Draw(pDC, pt, pImage->GetDisabledIcon(), sz);
    } else {
      pImage->DrawMonochrome(pDC, pt, pImage->GetIcon(), GetColor(40));
    }
    return;
  }
  if (bPopuped) {
    pImage->Draw(pDC, pt, bChecked ? pImage->GetCheckedIcon() : pImage->GetIcon(), sz);
    return;
  }
  if (bChecked) {
    pImage->Draw(pDC, pt, pImage->GetCheckedIcon(), sz);
    return;
  }
  if (!bSelected) {
    if (bPressed == 0) {
      pImage->Draw(pDC, pt, m_iconsInfo.bUseFadedIcons ? pImage->GetFadedIcon() : pImage->GetIcon(), sz);
      return;
    }
    if (bPressed == 2) {
      pImage->Draw(pDC, pt, pImage->GetHotIcon(), sz);
      return;
    }
    if (bPressed != 1) return;
  } else if (bPressed) {
    pImage->Draw(pDC, pt, pImage->GetHotIcon(), sz);
    return;
  }
  if (m_iconsInfo.bIconsWithShadow && !pImage->GetShadowIcon().IsEmpty()) {
    pImage->Draw(pDC, pt + CPoint(1, 1), pImage->GetShadowIcon(), sz);
    pImage->Draw(pDC, pt - CPoint(1, 1), pImage->GetHotIcon(), sz);
  } else {
    pImage->Draw(pDC, pt, pImage->GetHotIcon(), sz);
  }
}

// ---- Bars --------------------------------------------------------------------------------------------

int CXTPBarThemeFlat::GetPopupGutterWidth(CXTPCommandBar* pBar) const {
  return GetPopupItemMetrics(pBar).cx + 1;
}

CSize CXTPBarThemeFlat::GetPopupItemMetrics(CXTPCommandBar* pBar) const {
  const CSize szIcon = pBar != nullptr ? pBar->GetIconSize() : CSize(16, 16);
  int nGutter = std::max(m_nRowHeight + 4, static_cast<int>(szIcon.cx) + 4);
  CXTPPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CXTPPopupBar, pBar);
  if (pPopupBar != nullptr && pPopupBar->GetDoubleGripper()) nGutter *= 2;
  return CSize(nGutter, std::max(m_nRowHeight, static_cast<int>(szIcon.cy) + 6));
}

void CXTPBarThemeFlat::FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bHidden) {
  pDC->FillSolidRect(x, y, cx, cy, GetColor(bHidden ? 42 : 30));
}

void CXTPBarThemeFlat::FillPopupJoin(CDC* pDC, CXTPCommandBar* pBar, COLORREF clrJoin) {
  CXTPPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CXTPPopupBar, pBar);
  CXTPControlPopup* pControl = pPopupBar != nullptr ? pPopupBar->GetControlPopup() : nullptr;
  CXTPCommandBar* pParent = pControl != nullptr ? pControl->GetParent() : nullptr;
  if (pParent == nullptr || pParent->GetSafeHwnd() == nullptr || pBar->GetSafeHwnd() == nullptr) return;
  CRect rcControl = pControl->GetRect();
  pParent->ClientToScreen(&rcControl);
  CRect rcWindow;
  pBar->GetWindowRect(&rcWindow);
  CRect rcJoin;
  if (!rcJoin.IntersectRect(rcControl, rcWindow)) return;
  pBar->ScreenToClient(&rcJoin);
  if (rcJoin.Width() > 1) rcJoin.DeflateRect(1, 0);
  if (rcJoin.Height() > 1) rcJoin.DeflateRect(0, 1);
  pDC->FillSolidRect(rcJoin, clrJoin);
}

void CXTPBarThemeFlat::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) {
  CRect rc;
  pBar->GetClientRect(&rc);
  const XTPBarPosition position = pBar->GetPosition();
  if (position == xtpBarFloating) {
    const COLORREF clrPen = GetColor(43);
    CPen pen(PS_SOLID, 1, clrPen);
    CBrush brush(GetColor(pBar->GetType() == xtpBarTypeMenuBar ? 15 : 30));
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Rectangle(rc);
    CRect rcInner = rc;
    rcInner.DeflateRect(1, 1);
    pDC->Rectangle(rcInner);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    pDC->SetPixel(rcInner.left + 1, rcInner.top + 1, clrPen);
    pDC->SetPixel(rcInner.right - 2, rcInner.top + 1, clrPen);
    pDC->SetPixel(rcInner.left + 1, rcInner.bottom - 2, clrPen);
    pDC->SetPixel(rcInner.right - 2, rcInner.bottom - 2, clrPen);
    return;
  }
  if (pBar->GetType() == xtpBarTypeMenuBar) {
    pDC->FillSolidRect(rc, GetColor(15));
    return;
  }
  if (position == xtpBarPopup) {
    Rectangle(pDC, rc, 41, 43);
    if (IsPopupBar(pBar)) FillPopupGutter(pDC, 1, 2, GetPopupGutterWidth(pBar), rc.bottom - 4, FALSE);
    FillPopupJoin(pDC, pBar, GetColor(30));
    return;
  }
  Rectangle(pDC, rc, 30, 15);
  const COLORREF clrCorner = GetColor(15);
  pDC->SetPixel(1, 1, clrCorner);
  pDC->SetPixel(1, rc.bottom - 2, clrCorner);
  pDC->SetPixel(rc.right - 2, 1, clrCorner);
  pDC->SetPixel(rc.right - 2, rc.bottom - 2, clrCorner);
}

CSize CXTPBarThemeFlat::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) {
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rcClient(0, 0, 0, 0);
  if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
  switch (pBar->GetPosition()) {
    case xtpBarTop:
    case xtpBarBottom:
      if (bDraw) {
        for (int y = 5; y < rcClient.Height() - 5; y += 2) Line(pDC, 3, y, 6, y, 38);
      }
      return CSize(6, 0);
    case xtpBarLeft:
    case xtpBarRight:
      if (bDraw) {
        for (int x = 5; x < rcClient.Width() - 5; x += 2) Line(pDC, x, 3, x, 6, 38);
      }
      return CSize(0, 8);
    case xtpBarFloating:
      return DrawFloatingCaption(pDC, pBar, bDraw, GetColor(16));
    default:
      return CSize(0, 0);
  }
}

CSize CXTPBarThemeFlat::DrawDialogBarGripper(CDC* pDC, CXTPCommandBar*, BOOL bDraw) {
  const int c = m_nRowHeight + 4 > 21 ? m_nRowHeight + 4 : 22;
  if (bDraw) {
    for (int y = 6; y < c - 2; y += 2) Line(pDC, 3, y, 6, y, 38);
  }
  return CSize(6, c);
}

CSize CXTPBarThemeFlat::DrawCommandBarSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl,
                                                BOOL bDraw) {
  const BOOL bPopup = IsPopupBar(pBar);
  if (!bDraw) return bPopup ? CSize(3, 3) : CSize(6, 6);
  if (pControl == nullptr) return CSize(0, 0);
  const CRect R = pControl->GetRect();
  const CRect W = pControl->GetRowRect();
  if (bPopup) {
    CRect rcClient;
    pBar->GetClientRect(&rcClient);
    Line(pDC, GetPopupGutterWidth(pBar) + 9, R.top - 2, rcClient.right - 1, R.top - 2, 39);
  } else if (!pBar->IsVerticalPosition()) {
    if (pControl->GetWrap()) {
      Line(pDC, W.left + 4, W.top - 4, W.right, W.top - 4, 39);
    } else {
      Line(pDC, R.left - 4, W.top, R.left - 4, W.bottom, 39);
    }
  } else if (pControl->GetWrap()) {
    Line(pDC, W.right + 2, W.top + 4, W.right + 2, W.bottom, 39);
  } else {
    Line(pDC, W.left, R.top - 4, W.right, R.top - 4, 39);
  }
  return CSize(0, 0);
}

void CXTPBarThemeFlat::AdjustExcludeRect(CRect& rc, CXTPControl* pControl, BOOL bVertical) {
  CXTPCommandBar* pParent = pControl->GetParent();
  if (IsPopupBar(pParent)) {
    rc.InflateRect(1, 0);
  } else if (pControl->GetType() == xtpControlComboBox) {
    return;
  } else if (bVertical) {
    rc.DeflateRect(1, 0);
  } else {
    rc.DeflateRect(0, 1);
  }
}

void CXTPBarThemeFlat::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL) { Rectangle(pDC, rc, -1, 16); }

CSize CXTPBarThemeFlat::DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) {
  if (bDraw) {
    CRect rc = rcGripper;
    rc.right += 1;
    rc.bottom += 1;
    pDC->FillSolidRect(rc, GetColor(41));
    rc.DeflateRect(1, 1);
    const int nHalf = rc.Width() / 2;
    const int c = nHalf > 26 ? 16 : nHalf - 10;
    const int cx = rc.CenterPoint().x, cy = rc.CenterPoint().y;
    if (bSelected) {
      Rectangle(pDC, rc, 31, 32);
    } else {
      pDC->FillSolidRect(rc, GetColor(30));
    }
    if (c > 0) {
      const int nSlot = bSelected ? 45 : 38;
      Line(pDC, cx - c, cy - 1, cx + c, cy - 1, nSlot);
      Line(pDC, cx - c, cy + 1, cx + c, cy + 1, nSlot);
    }
  }
  return CSize(0, 9);
}

// ---- Popup items -------------------------------------------------------------------------------------

CSize CXTPBarThemeFlat::DrawControlPopupParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPCommandBar* pBar = pControl->GetParent();
  CXTPScopedFont font(pDC, GetControlFont(pBar, pControl->GetDefaultItem()));
  const CSize szMetrics = GetPopupItemMetrics(pBar);
  const int G = szMetrics.cx;
  CXTPPopupBar* pPopupBar = DYNAMIC_DOWNCAST(CXTPPopupBar, pBar);
  const BOOL bDouble = pPopupBar != nullptr && pPopupBar->GetDoubleGripper();
  const int nColumn = bDouble ? G / 2 : G;
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
  const CSize szCaption = TextExtent(pDC, strCaption, nPrefix);
  const CSize szShortcut = TextExtent(pDC, strShortcut, 0);

  if (bDraw) {
    const CRect R = pControl->GetRect();
    const int nMid = (R.top + R.bottom) / 2;
    if (pControl->GetUsageMark()) FillPopupGutter(pDC, 1, R.top, G + 1, R.Height(), TRUE);
    if (pControl->IsLabel()) {
      pDC->FillSolidRect(R.left + G + 3, R.top, R.right - (R.left + G + 3), R.Height(), GetColor(56));
    } else {
      DrawControlFrame(pDC, R, bSelected, 0, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
    }
    CRect rcIconBox(0, 0, szIcon.cx + 4, szIcon.cy + 4);
    rcIconBox.OffsetRect(R.left + (nColumn - rcIconBox.Width()) / 2, nMid - rcIconBox.Height() / 2);
    if (bDouble) rcIconBox.OffsetRect(nColumn, 0);
    if (bChecked)
      DrawControlFrame(pDC, rcIconBox, bSelected, 0, bEnabled, bChecked, FALSE, FALSE, xtpBarPopup);
    if (bIcon) {
      const CSize szImage = GetScaledImageSize(pImage, szIcon);
      DrawImage(pDC, CPoint(rcIconBox.left + (rcIconBox.Width() - szImage.cx) / 2, nMid - szImage.cy / 2),
                szImage, pImage, bSelected, 0, bEnabled, bChecked, FALSE, FALSE);
    }
    if (bChecked && (bDouble || !bIcon)) {
      CRect rcCheck = rcIconBox;
      if (bDouble) rcCheck.OffsetRect(-nColumn, 0);
      DrawCheckMark(pDC, rcCheck, bEnabled ? 0 : GetColor(40), pBar != nullptr && pBar->IsLayoutRTL());
    }
    const COLORREF clrText = GetColor(bEnabled ? (bSelected ? 45 : 44) : 35);
    pDC->SetBkMode(TRANSPARENT);
    if (IsPopupKind(type)) {
      COLORREF clrTriangle = clrText;
      if (type == xtpControlSplitButtonPopup && bEnabled) {
        if (IsPopuped(pControl) && bSelected) {
          Rectangle(pDC, CRect(R.right - 20, R.top, R.right, R.bottom), 33, 32);
          clrTriangle = GetColor(47);
        } else {
          Line(pDC, R.right - 20, R.top + 1, R.right - 20, R.bottom - 1, bSelected ? 32 : 16);
        }
      }
      const int X = R.right - 11;
      Triangle(pDC, CPoint(X, nMid - 3), CPoint(X + 3, nMid), CPoint(X, nMid + 3), clrTriangle);
    }
    CRect rcText(R.left + G + 8, R.top, R.right, R.bottom);
    CRect rcShortcut(R.left + G + 8, R.top, R.right - 19, R.bottom);
    if (type == xtpControlButton && !strShortcut.IsEmpty()) rcText.right -= szShortcut.cx + 19;
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    CString str = strCaption;
    pDC->DrawText(str, &rcText, DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | nPrefix);
    if (!strShortcut.IsEmpty()) {
      CString strKeys = strShortcut;
      pDC->DrawText(strKeys, &rcShortcut, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
    pDC->SetTextColor(clrOld);
  }
  return CSize(szCaption.cx + szShortcut.cx + G + 40, szMetrics.cy);
}

// ---- Edit and combo-box controls ---------------------------------------------------------------------

CXTPBarThemeFlat::EditMetrics CXTPBarThemeFlat::MeasureEditControl(CDC* pDC, CXTPControl* pControl,
                                                                   BOOL bShowLabel) {
  CXTPCommandBar* pBar = pControl->GetParent();
  EditMetrics metrics = {};
  metrics.bPopupBar = IsPopupBar(pBar);
  metrics.bLabel = metrics.bPopupBar || bShowLabel;
  {
    CXTPScopedFont font(pDC, &m_fontIcon);
    TEXTMETRIC tm = {};
    pDC->GetTextMetrics(&tm);
    metrics.nTextHeight = pDC->GetTextExtent(_T(" "), 1).cy;
    metrics.nThumbWidth = std::max(15, 2 * static_cast<int>(tm.tmAveCharWidth) + 4);
  }
  CXTPScopedFont font(pDC, &m_fontRegular);
  metrics.nTextHeight =
      std::max(metrics.nTextHeight, static_cast<int>(pDC->GetTextExtent(_T(" "), 1).cy)) + 1;
  const BOOL bCues = pBar == nullptr || pBar->IsKeyboardCuesVisible();
  const int nCaption = TextExtent(pDC, pControl->GetCaption(), bCues ? 0 : DT_NOPREFIX).cx;
  metrics.nLabelWidth = metrics.bPopupBar ? nCaption + GetPopupGutterWidth(pBar) + 12
                        : metrics.bLabel  ? nCaption + 5
                                          : 0;
  return metrics;
}

void CXTPBarThemeFlat::DrawEditLabel(CDC* pDC, CXTPControl* pControl, const EditMetrics& metrics) {
  if (!metrics.bLabel) return;
  CXTPCommandBar* pBar = pControl->GetParent();
  const CRect rc = pControl->GetRect();
  const BOOL bEnabled = pControl->GetEnabled();
  const int bSelected = pControl->GetSelected();
  int nSlot = bEnabled ? 46 : 60;
  int nLeft = rc.left + 2;
  if (metrics.bPopupBar) {
    if (bSelected) DrawControlFrame(pDC, rc, bSelected, 0, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
    nSlot = bEnabled ? (bSelected ? 45 : 44) : 35;
    nLeft = rc.left + GetPopupGutterWidth(pBar) + 7;
  }
  CXTPScopedFont font(pDC, &m_fontRegular);
  const BOOL bCues = pBar == nullptr || pBar->IsKeyboardCuesVisible();
  const COLORREF clrOld = pDC->SetTextColor(GetColor(nSlot));
  pDC->SetBkMode(TRANSPARENT);
  CRect rcLabel(nLeft, rc.top, rc.left + metrics.nLabelWidth, rc.bottom);
  CString strCaption = pControl->GetCaption();
  pDC->DrawText(strCaption, &rcLabel, DT_SINGLELINE | DT_VCENTER | (bCues ? 0 : DT_NOPREFIX));
  pDC->SetTextColor(clrOld);
}

CSize CXTPBarThemeFlat::DrawControlEdit(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pControl);
  if (pEdit == nullptr) return DrawControlToolBarParent(pDC, pControl, bDraw);
  const EditMetrics metrics = MeasureEditControl(pDC, pControl, pEdit->GetShowLabel());
  pEdit->SetLabelWidth(metrics.nLabelWidth);
  if (bDraw) {
    DrawEditLabel(pDC, pControl, metrics);
    const CRect rc = pControl->GetRect();
    CRect rcField(rc.left + metrics.nLabelWidth, rc.top, rc.right, rc.bottom);
    const int bSelected = pControl->GetSelected();
    if (pControl->GetEnabled()) {
      CRect rcInside = rcField;
      rcInside.DeflateRect(1, 1);
      pDC->FillSolidRect(rcInside, GetColor(5));
      if (bSelected) {
        Rectangle(pDC, rcField, 5, 32);
      } else if (metrics.bPopupBar) {
        Rectangle(pDC, rcField, -1, 53);
      }
    } else {
      rcField.left += 1;
      Rectangle(pDC, rcField, 15, bSelected == 2 ? 32 : 40);
    }
  }
  return CSize(pEdit->GetWidth() + (metrics.bPopupBar ? metrics.nLabelWidth : 0), metrics.nTextHeight + 7);
}

CSize CXTPBarThemeFlat::DrawControlComboBox(CDC* pDC, CXTPControl* pControl, BOOL bDraw) {
  CXTPControlComboBox* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pControl);
  if (pCombo == nullptr) return DrawControlToolBarParent(pDC, pControl, bDraw);
  const EditMetrics metrics = MeasureEditControl(pDC, pControl, pCombo->GetComboStyle() == 1);
  pCombo->SetLabelWidth(metrics.nLabelWidth);
  pCombo->SetThumbWidth(metrics.nThumbWidth);
  if (bDraw) {
    DrawEditLabel(pDC, pControl, metrics);
    const CRect rc = pControl->GetRect();
    CRect rcField(rc.left + metrics.nLabelWidth, rc.top, rc.right, rc.bottom);
    CRect rcButton(rcField.right - metrics.nThumbWidth, rcField.top, rcField.right, rcField.bottom);
    const BOOL bEnabled = pControl->GetEnabled();
    const int bSelected = pControl->GetSelected();
    const BOOL bDropped = pCombo->GetPopuped();
    if (bEnabled) {
      CRect rcInside = rcField;
      rcInside.DeflateRect(1, 1);
      pDC->FillSolidRect(rcInside, GetColor(5));
      if (!bSelected && !bDropped) {
        if (metrics.bPopupBar) {
          Rectangle(pDC, rcField, -1, 53);
          Rectangle(pDC, rcButton, 53, 5);
        } else {
          Rectangle(pDC, rcButton, -1, 5);
        }
      } else {
        Rectangle(pDC, rcField, 5, 32);
        Rectangle(pDC, rcButton, bDropped ? 33 : 31, 32);
      }
    } else {
      CRect rcFrame = rcField;
      rcFrame.left += 1;
      Rectangle(pDC, rcFrame, -1, bSelected == 2 ? 32 : 40);
    }
    {
      CXTPScopedFont fieldFont(pDC, &m_fontIcon);
      const COLORREF clrOld = pDC->SetTextColor(GetColor(bEnabled ? 18 : 17));
      pDC->SetBkMode(TRANSPARENT);
      pCombo->DrawEditText(pDC,
                           CRect(rcField.left + 3, rcField.top + 1, rcButton.left + 1, rcField.bottom - 1));
      pDC->SetTextColor(clrOld);
    }
    const int nMarkSlot = !bEnabled ? 40 : bDropped ? 47 : bSelected ? 45 : 46;
    DrawComboExpandMark(pDC, rcButton, GetColor(nMarkSlot));
  }
  return CSize(pCombo->GetWidth() + (metrics.bPopupBar ? metrics.nLabelWidth : 0), metrics.nTextHeight + 7);
}

// ---- Customize list item -----------------------------------------------------------------------------

CSize CXTPBarThemeFlat::DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected,
                                           BOOL bDraw, CXTPCommandBars* pCommandBars) {
  const CSize szIcon = pCommandBars != nullptr ? pCommandBars->GetPopupIconSize() : CSize(16, 16);
  const int W = std::max(m_nRowHeight + 4, static_cast<int>(szIcon.cx) + 4);
  const int nHeight = std::max(m_nRowHeight, static_cast<int>(szIcon.cy) + 6);
  if (!bDraw) return CSize(W, nHeight);
  pDC->FillSolidRect(rc, GetColor(41));
  FillPopupGutter(pDC, rc.left, rc.top, W, rc.Height(), FALSE);
  if (pControl == nullptr) return CSize(W, nHeight);
  const BOOL bEnabled = pControl->GetEnabled();
  if (bSelected) DrawControlFrame(pDC, rc, bSelected, 0, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
  CXTPImageManagerIcon* pImage = nullptr;
  if (IsIconVisible(pControl, &pImage, szIcon)) {
    DrawImage(pDC, CPoint(rc.left + (W - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2), szIcon,
              pImage, bSelected, 0, bEnabled, FALSE, FALSE, FALSE);
  }
  CString strCaption = pControl->GetCaption();
  StripMnemonics(strCaption);
  if (pCommandBars != nullptr && pCommandBars->IsLayoutRTL()) PrepareRightToLeftText(strCaption);
  CXTPScopedFont font(pDC, &m_fontRegular);
  pDC->SetBkMode(TRANSPARENT);
  const int nTextSlot = bSelected ? 45 : 44;
  const COLORREF clrOld = pDC->SetTextColor(GetColor(nTextSlot));
  CRect rcCaption(rc.left + W + 8, rc.top, rc.right, rc.bottom);
  pDC->DrawText(strCaption, &rcCaption, DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  const XTPControlType type = pControl->GetType();
  const int nMid = (rc.top + rc.bottom) / 2;
  if (IsPopupKind(type)) {
    Triangle(pDC, CPoint(rc.right - 12, nMid - 5), CPoint(rc.right - 7, nMid),
             CPoint(rc.right - 12, nMid + 5), GetColor(nTextSlot));
    if (type == xtpControlSplitButtonPopup)
      Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, bSelected ? 32 : 16);
  } else if (type == xtpControlComboBox || type == xtpControlEdit) {
    const int nCaption = TextExtent(pDC, strCaption, DT_NOPREFIX).cx;
    CRect rcBox(rcCaption.left + nCaption + 13, rc.top + 1, rc.right, rc.bottom - 1);
    Rectangle(pDC, rcBox, 5, bSelected ? 32 : 15);
    if (type == xtpControlComboBox) {
      const int nButton = pDC->GetTextExtent(_T(" "), 1).cy + 2;
      CRect rcButton(rcBox.right - nButton, rcBox.top, rcBox.right, rcBox.bottom);
      if (bSelected) {
        DrawControlFrame(pDC, rcButton, TRUE, 0, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
      } else {
        pDC->FillSolidRect(rcButton, GetColor(15));
      }
      DrawComboExpandMark(pDC, rcButton, GetColor(bSelected ? 45 : 46));
    }
  }
  pDC->SetTextColor(clrOld);
  return CSize(W, nHeight);
}
