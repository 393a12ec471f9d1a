// Colour schemes of the tab painter: every colour and fill of a tab strip. The base holds the
// colours and the fills all schemes share; CXTPTabColorSchemeDefault is scheme 1, the others derive
// from it (TabColorSchemeFlat.h, TabColorSchemeGradient.h, TabColorSchemeVisualStyle.h).
// Applications replace single fills by deriving from a scheme and installing it with
// CXTPTabPainter::SetColorSchemeObject.
#pragma once

#include <afxwin.h>

#include "ColorGradientValue.h"

class CXTPTabPainter;
class CXTPTabManager;
class CXTPTabManagerItem;
class CXTPTabScrollButton;

// Owned by its painter, which deletes it when another is installed. User-interface thread only.
class CXTPTabColorScheme {
 public:
  // The outline colours of one group of tabs (style 7 draws the selected and the other tabs with
  // separate groups); -1 leaves that line out.
  struct OUTLINE {
    CXTPColorValue clrOuterLeftTop;
    CXTPColorValue clrOuterBottom;
    CXTPColorValue clrOuterRight;
    CXTPColorValue clrInnerHighlight;
    CXTPColorValue clrInnerRight;
    CXTPColorValue clrInnerBottom;
  };

  CXTPTabColorScheme();
  virtual ~CXTPTabColorScheme();
  CXTPTabColorScheme(const CXTPTabColorScheme&) = delete;
  CXTPTabColorScheme& operator=(const CXTPTabColorScheme&) = delete;

  // Refills every colour from the colour table (the base colours below).
  virtual void RefreshMetrics();
  // Sets and returns the text colour of the item's caption.
  virtual COLORREF SetItemTextColor(CDC* pDC, CXTPTabManagerItem* pItem);
  // The strip behind the tabs: the strip gradient across the strip, its first colour at the outer
  // edge of top and left strips; a first colour of -2 is a dither of face and highlight.
  virtual void FillStripBackground(CDC* pDC, CRect rc, CXTPTabManager* pTabManager);
  // The page area in the selected tab's colour; returns that colour.
  virtual COLORREF FillPageArea(CDC* pDC, CRect rc, CXTPTabManager* pTabManager);
  // The framed tab of shape style 4: the selected tab filled and framed, the others a separator.
  virtual void FillItemFrame(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem);
  // The inside of a tab; returns the colour used (for lines that join the tab to its page).
  virtual COLORREF FillItem(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem);
  // Called with the header clipped, before the tabs; nothing in the base.
  virtual void FillHeader(CDC* pDC, CRect rc, CXTPTabManager* pTabManager);
  // The background of a navigate button; may move rc for a pressed glyph and sets the glyph colour.
  virtual void FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) = 0;
  virtual COLORREF GetItemColor(CXTPTabManagerItem* pItem);
  virtual int Reserved();

  void SetPaintManager(CXTPTabPainter* pPainter) { m_pPainter = pPainter; }
  CXTPTabPainter* GetPaintManager() const { return m_pPainter; }
  const OUTLINE& GetOutline(BOOL bSelected) const { return bSelected ? m_outlineSelected : m_outlineNormal; }

  CXTPColorGradientValue m_grcStrip;
  CXTPColorGradientValue m_grcHeader;
  CXTPColorValue m_clrFrame;
  CXTPColorValue m_clrFace;
  CXTPColorValue m_clrHighlight;
  CXTPColorValue m_clrSelectedItem;
  CXTPColorValue m_clrNormalItem;
  CXTPColorValue m_clrNormalText;
  CXTPColorValue m_clrInactiveText;
  CXTPColorValue m_clrSelectedText;
  CXTPColorValue m_clrHotText;
  CXTPColorValue m_clrDisabledText;
  CXTPColorGradientValue m_grcSelectedFill;
  CXTPColorGradientValue m_grcSelectedFrame;
  // The bevel of shape styles 0 and 1.
  CXTPColorValue m_clrBevelHighlight;
  CXTPColorValue m_clrBevelShadow;
  CXTPColorValue m_clrBevelDarkShadow;
  // The separators between unselected tabs (dark and light half) and the inner lines of a framed
  // page (far and near sides).
  CXTPColorValue m_clrSeparatorShadow;
  CXTPColorValue m_clrPageShadow;
  CXTPColorValue m_clrSeparatorLight;
  CXTPColorValue m_clrPageLight;
  OUTLINE m_outlineSelected;
  OUTLINE m_outlineNormal;

 protected:
  // A gradient (or the dither) across a strip of the painter's position, as FillStripBackground
  // describes it.
  void FillGradientAcross(CDC* pDC, CRect rc, const CXTPColorGradientValue& grc);
  void FillDither(CDC* pDC, CRect rc);
  // A navigate button's frame: sunken (clrDark top-left, clrLight bottom-right) and the glyph moved
  // by a pixel while pressed, raised while hot.
  static void PASCAL FrameNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc, COLORREF clrDark,
                                         COLORREF clrLight);
  int GetPosition() const;
  int GetShapeStyle() const;
  BOOL IsPlainColors() const;

  CXTPTabPainter* m_pPainter = nullptr;
};

// Scheme 1, and the base of the others: a dithered selected fill, outlined tabs, raised and sunken
// navigate buttons.
class CXTPTabColorSchemeDefault : public CXTPTabColorScheme {
 public:
  void RefreshMetrics() override;
  void FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) override;
};
