// CXTPBarTheme3D: theme number 0 and the default: raised and sunken three-dimensional frames in the
// system colours, hot controls raised, pressed and checked ones sunken, checked ones on a halftone,
// menus with a highlight bar. The native theme derives from it.
#pragma once

#include "BarTheme.h"

class CXTPBarTheme3D : public CXTPBarTheme {
  DECLARE_DYNCREATE(CXTPBarTheme3D)

 public:
  CXTPBarTheme3D();

  CSize DrawControlPopupParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
  void DrawSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc) override;
  CSize DrawControlComboBox(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
  CSize DrawControlEdit(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
  CSize DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                           CXTPCommandBars* pCommandBars = nullptr) override;
  void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) override;
  void DrawControlFace(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected, int bPressed, BOOL bChecked,
                       BOOL bPopuped, XTPBarPosition barPosition) override;
  void DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                        BOOL bPopuped, BOOL bToolBar, XTPBarPosition barPosition) override;
  CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw = TRUE) override;
  CSize DrawCommandBarSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl,
                                BOOL bDraw = TRUE) override;
  void AdjustExcludeRect(CRect& rc, CXTPControl* pControl, BOOL bVertical) override;
  BOOL IsFlat() const override { return FALSE; }
  CSize DrawSymbol(CDC* pDC, int nKind, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw,
                   BOOL bHiddenControls, CSize szBar = CSize(0, 0)) override;
  CRect GetCommandBarBorders(CXTPCommandBar* pBar) override;
  CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) override;
  void DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPImageManagerIcon* pImage, int bSelected, int bPressed,
                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBar) override;
  CSize DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
  int GetThemeType() const override { return xtpThemeOffice2000; }

  virtual void DrawControlEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected);
  virtual void DrawComboDropDown(CDC* pDC, CRect rcBtn, BOOL bEnabled, int bSelected, BOOL bDropped);
  virtual CSize DrawControlText(CDC* pDC, CString strText, CRect rcText, UINT nFormat, BOOL bDraw,
                                int bSelected, BOOL bEnabled);

  BOOL m_bHighlightWholeRow = FALSE;
  int m_nPopupTextSlot = COLOR_BTNTEXT_SLOT;

  // Colour slots of the colour table that this theme names.
  enum {
    COLOR_ACTIVECAPTION_SLOT = 2,
    COLOR_INACTIVECAPTION_SLOT = 3,
    COLOR_WINDOW_SLOT = 5,
    COLOR_HIGHLIGHT_SLOT = 13,
    COLOR_HIGHLIGHTTEXT_SLOT = 14,
    COLOR_3DFACE_SLOT = 15,
    COLOR_3DSHADOW_SLOT = 16,
    COLOR_GRAYTEXT_SLOT = 17,
    COLOR_BTNTEXT_SLOT = 18,
    COLOR_3DHIGHLIGHT_SLOT = 20,
    COLOR_3DDKSHADOW_SLOT = 21,
    COLOR_3DLIGHT_SLOT = 22,
  };

 protected:
  // The icon column and item height of popup items.
  CSize GetPopupIconColumn(CXTPCommandBar* pBar) const;
};
