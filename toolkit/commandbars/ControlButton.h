// CXTPControlButton: the plain command button of toolbars and menus. A toolbar button runs its
// command after click tracking; a menu item runs it when the button is released over it.
#pragma once

#include "Control.h"

class CXTPControlButton : public CXTPControl {
  DECLARE_SERIAL(CXTPControlButton)

 public:
  CXTPControlButton();

  void DoPropExchange(CXTPPropExchange* pPX) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnLButtonUp(CPoint point) override;
};
