// A two-colour gradient value with a blend factor: where the middle colour of a fill lies.
#pragma once

#include "ColorValue.h"

class CXTPColorGradientValue {
 public:
  // All four colours unset, factor 0.5.
  CXTPColorGradientValue() = default;
  // Both ends clr, no overrides, factor 0.5: a fill with it is solid.
  CXTPColorGradientValue(COLORREF clr) : clr1(clr), clr2(clr) {}  // NOLINT: used as a colour

  // One colour for both ends, factor 0.5.
  void SetStandardColor(COLORREF clr) { SetStandardColors(clr, clr, 0.5f); }
  void SetStandardColors(COLORREF clrLight, COLORREF clrDark, float fFactor = 0.5f) {
    clr1.SetStandardValue(clrLight);
    clr2.SetStandardValue(clrDark);
    fGradientFactor = fFactor;
  }
  // The other value's effective colours become this one's standards; its factor is copied.
  void SetStandardFrom(const CXTPColorGradientValue& other) {
    clr1.SetStandardValue(other.clr1.GetColor());
    clr2.SetStandardValue(other.clr2.GetColor());
    fGradientFactor = other.fGradientFactor;
  }

  CXTPColorValue clr1;
  CXTPColorValue clr2;
  float fGradientFactor = 0.5f;
};
