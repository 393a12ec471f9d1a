// CXTPControlPopup: a control that opens a sub-bar (a sub-menu, a button with a drop-down, a split
// button). It owns a reference to its sub-bar; opening and closing go through the bar's SetPopuped.
#pragma once

#include "Control.h"

class CXTPControlPopup : public CXTPControl {
  DECLARE_SERIAL(CXTPControlPopup)

 public:
  CXTPControlPopup();
  ~CXTPControlPopup() override;

  // A popup control of type 2, 3 or 4 (the type is also what Add sets).
  static CXTPControlPopup* PASCAL CreateControlPopup(XTPControlType controlType);

  BOOL IsEqual(CXTPControl* pOther) override;
  CXTPCommandBar* GetCommandBar() const override { return m_pCommandBar; }
  void DoPropExchange(CXTPPropExchange* pPX) override;
  void OnKeyboardActivate() override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  BOOL SetPopuped(BOOL bPopuped) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnLButtonUp(CPoint point) override;
  BOOL OnLButtonDblClk(CPoint point) override;
  void OnMouseHover() override;
  BOOL OnSetSelected(int bSelected) override;
  void OnCustomizeDragOver(CXTPControl* pDataObject, CPoint point, DROPEFFECT& dropEffect) override;
  virtual void AddShadow();
  virtual void AdjustExcludeRect(CRect& rc);

  // Releases the old sub-bar and references the new one (NULL drops it).
  void SetCommandBar(CXTPCommandBar* pBar);
  BOOL GetPopuped() const { return m_bPopuped; }
  int GetCommandBarId() const { return m_nCommandBarId; }
  void SetCommandBarId(int nId) { m_nCommandBarId = nId; }
  // TRUE when both sub-bars are the same, or a popup of this control's sub-bar is in such a chain with
  // pOther (in either direction). A cycle of sub-bars is walked once.
  BOOL IsPopupChainOf(CXTPControlPopup* pOther) const;
  // The width of the arrow part of a split button in this control's bar (11 on toolbars, 20 in popups).
  int GetSplitArrowWidth() const;

 protected:
  BOOL m_bPopuped = FALSE;
  CXTPCommandBar* m_pCommandBar = nullptr;
  int m_nCommandBarId = 0;
};

// Whether a control of this type opens a popup bar.
inline BOOL IsPopupKind(XTPControlType type) {
  return type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup;
}

// The control as a popup control: only when its type is a popup type and its class is a popup class,
// so that no control is read as a popup that it is not. NULL otherwise.
inline CXTPControlPopup* AsPopupControl(CXTPControl* pControl) {
  return pControl != nullptr && IsPopupKind(pControl->GetType())
             ? DYNAMIC_DOWNCAST(CXTPControlPopup, pControl)
             : nullptr;
}

// Whether the control opens a popup bar and its popup bar is open now.
inline BOOL IsPopuped(CXTPControl* pControl) {
  CXTPControlPopup* pPopup = AsPopupControl(pControl);
  return pPopup != nullptr && pPopup->GetPopuped();
}
