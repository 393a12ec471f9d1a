// One overridable colour of the toolkit: a standard colour and an override, -1 when unset.
#pragma once

#include <afxwin.h>

class CXTPColorValue {
 public:
  CXTPColorValue() = default;
  explicit CXTPColorValue(COLORREF clrStandard) : m_clrStandard(clrStandard) {}

  // The override when set, else the standard.
  COLORREF GetColor() const { return m_clrOverride != COLORREF(-1) ? m_clrOverride : m_clrStandard; }
  operator COLORREF() const { return GetColor(); }

  COLORREF GetStandardColor() const { return m_clrStandard; }
  void SetStandardValue(COLORREF clr) { m_clrStandard = clr; }
  COLORREF GetOverrideColor() const { return m_clrOverride; }
  void SetCustomValue(COLORREF clr) { m_clrOverride = clr; }
  BOOL IsDefaultValue() const { return m_clrOverride == COLORREF(-1); }

  COLORREF m_clrStandard = COLORREF(-1);
  COLORREF m_clrOverride = COLORREF(-1);
};
