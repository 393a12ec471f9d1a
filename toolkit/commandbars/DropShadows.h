// CXTPDropShadows: the soft shadows that open popups (and, in flat themes, some controls) cast on their
// right and bottom sides. One process-wide object.
#pragma once

#include <afxwin.h>

class CXTPCommandBar;
class CXTPControl;

class CXTPDropShadows {
 public:
  static CXTPDropShadows* PASCAL GetInstance();

  void AddShadow(CXTPCommandBar* pBar, LPCRECT lprcExclude = nullptr);
  void AddControlShadow(CXTPControl* pControl);
  void RemoveShadows(CXTPCommandBar* pBar);
};
