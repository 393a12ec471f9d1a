// The toolkit's colour table: 62 numbered colours and ten gradients computed from the system colours,
// the display depth and the running visual style, with overrides per slot. Painting code asks for
// colours by slot; a slot number above 61 is itself a colour and passes through unchanged.
#pragma once

#include "ColorGradientValue.h"

#define XPCOLOR_BASE 30
#define XPCOLOR_LAST 61
#define XPCOLOR_COUNT (XPCOLOR_LAST + 1)
#define XPCOLOR_GRADIENT_COUNT 10

// Theme numbers of the running visual style.
enum XTPCurrentSystemTheme {
  xtpSystemThemeUnknown = 0,  // no visual style, or one the toolkit does not tell apart
  xtpSystemThemeBlue = 1,
  xtpSystemThemeOlive = 2,
  xtpSystemThemeSilver = 3,
  xtpSystemThemeAuto = 4,
  xtpSystemThemeDefault = 5,
};

// Made on first use (GetColorTable), destroyed at exit. User-interface thread only.
class CXTPColorTable : public CCmdTarget {
 public:
  CXTPColorTable();
  ~CXTPColorTable() override = default;

  // Slot 0..61: the override when set, else the standard; anything else is returned as it is.
  COLORREF GetColor(int nIndex) const;
  // Slots 30..61: the visual style's colour when it supplies one; otherwise GetColor.
  COLORREF GetThemeColor(int nIndex) const;
  // -1 removes the override.
  void SetColor(int nIndex, COLORREF clrOverride);
  COLORREF GetStandardColor(int nIndex) const;

  CXTPColorGradientValue& GetGradient(int nIndex) { return m_grcGradients[nIndex]; }

  // Recomputes everything now; overrides are kept.
  void RefreshColors();

  int GetCurrentTheme() const;
  int GetDetectedTheme() const { return m_nDetectedTheme; }
  BOOL IsPlainColorsForced() const { return m_bPlainColors; }
  // The theme number of the running visual style.
  static int PASCAL GetCurrentVisualStyle();

 private:
  void SetStandard(int nIndex, COLORREF clr) { m_arrStandardColor[nIndex] = clr; }
  void RefreshThemeLayer(int nTheme);
  void RefreshGradients(int nTheme);
  void RefreshBlends();

  CXTPColorGradientValue m_grcGradients[XPCOLOR_GRADIENT_COUNT];
  BOOL m_bPlainColors = FALSE;
  COLORREF m_arrStandardColor[XPCOLOR_COUNT] = {};
  COLORREF m_arrCustomColor[XPCOLOR_COUNT];
  COLORREF m_arrThemeColor[XPCOLOR_COUNT];
  int m_nConfiguredTheme = xtpSystemThemeAuto;
  int m_nDetectedTheme = xtpSystemThemeUnknown;
};

CXTPColorTable* AFXAPI GetColorTable();
inline COLORREF GetXTPColor(UINT nIndex) { return GetColorTable()->GetColor(static_cast<int>(nIndex)); }

// Recomputes the table unless it was recomputed 500 ms ago or less (many windows react to one system
// change). The time is recorded only when the calling thread has a main window.
void AFXAPI RefreshColorTable();

// Per channel (w x c1 + (D - w) x c2 + D / 2) / D: D = 100 for weights below 100 (percent of colour
// 1), else 1000 (tenths of a percent).
COLORREF AFXAPI BlendColors(COLORREF clr1, COLORREF clr2, int nWeight);

// Contrast corrections in a weighted colour space where green counts most. Each needs the background
// to decide how far counts as distinct (a dark background needs up to twice the distance).
BOOL AFXAPI ColorsDiffer(COLORREF clrBackground, COLORREF clr, int nDistance);
// Moves clr towards the background until their distance is the threshold.
COLORREF AFXAPI PullColorTowards(COLORREF clrBackground, COLORREF clr, int nDistance);
// Moves clr along the line from black (or white) through it until it lies at the threshold from the
// background. Always a valid colour.
COLORREF AFXAPI PushColorAway(COLORREF clrBackground, COLORREF clr, int nDistance);
