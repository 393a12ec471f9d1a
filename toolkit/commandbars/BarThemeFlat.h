// CXTPBarThemeFlat: theme number 1, the flat look: no raised or sunken edges, hot and pressed controls
// as flat rectangles with a one-pixel border in the colour table's blended colours, popups with a
// shaded icon gutter and a light item background, dotted grippers and thin separator lines. The
// shaded themes derive from it. User-interface thread only.
#pragma once

#include "BarTheme.h"

class CXTPBarThemeFlat : public CXTPBarTheme {
  DECLARE_DYNCREATE(CXTPBarThemeFlat)

 public:
  CXTPBarThemeFlat();

  CSize DrawControlPopupParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
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
  void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
  BOOL IsFlat() const override { return TRUE; }
  CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) override;
  void DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPImageManagerIcon* pImage, int bSelected, int bPressed,
                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBar) override;
  CSize DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
  int GetThemeType() const override { return xtpThemeFlat; }

  // The gutter of popups: slot 42 for rarely used items (bHidden), else slot 30.
  virtual void FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bHidden);

  // The caption colour that DrawControlFace leaves selected, as a colour slot.
  static int PASCAL GetCaptionSlot(BOOL bEnabled, int bSelected, int bPressed, BOOL bChecked, BOOL bPopuped,
                                   XTPBarPosition barPosition);
  // Width of the icon gutter of a popup bar: max(row height + 4, icon width + 4), doubled for a
  // double gripper, plus 1.
  int GetPopupGutterWidth(CXTPCommandBar* pBar) const;

 protected:
  // Gutter G and item height of popup items (G doubled for a double gripper).
  CSize GetPopupItemMetrics(CXTPCommandBar* pBar) const;
  // Fills the part of the control that opened the popup which overlaps the popup's window, so that
  // popup and control join without a frame between them.
  void FillPopupJoin(CDC* pDC, CXTPCommandBar* pBar, COLORREF clrJoin);
  // Label, measuring and field of the edit and combo controls; the field's drawing is left to the caller.
  struct EditMetrics {
    int nTextHeight;
    int nLabelWidth;
    int nThumbWidth;
    BOOL bPopupBar;
    BOOL bLabel;
  };
  EditMetrics MeasureEditControl(CDC* pDC, CXTPControl* pControl, BOOL bShowLabel);
  void DrawEditLabel(CDC* pDC, CXTPControl* pControl, const EditMetrics& metrics);
};
