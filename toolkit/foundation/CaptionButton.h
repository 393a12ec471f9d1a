// CXTCaptionButton: the button inside a CXTCaption (and the push pin of its popup), drawn by the
// caption-button styles, which take the owning caption's colours while its window exists.
// User-interface thread only.
#pragma once

#include "Button.h"

class CXTCaption;

class CXTCaptionButton : public CXTButton {
  DECLARE_DYNAMIC(CXTCaptionButton)

 public:
  CXTCaptionButton();

  // Takes the face and text colours and the font of the parent caption (shadow: slot 21) and keeps
  // the flags as they are; does nothing when the parent is not a caption. Returns the flags.
  DWORD SetXButtonStyle(DWORD dwStyle, BOOL bRedraw = TRUE) override;

  void SetCaption(CXTCaption* pCaption) { m_pCaption = pCaption; }
  // The owning caption while its window exists, else NULL.
  CXTCaption* GetCaption() const;

 protected:
  CXTCaption* m_pCaption = nullptr;
};

// Classic (theme 0): no text offset; the caption's inner colour as face and its text colour.
class CXTCaptionButtonStyle : public CXTButtonStyleBase {
 public:
  CXTCaptionButtonStyle();
  COLORREF GetTextColor(UINT nState, CXTButton* pButton) override;
  void DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) override;
};

// Flat (theme 1).
class CXTCaptionButtonStyleFlat : public CXTButtonStyleFlat {
 public:
  CXTCaptionButtonStyleFlat();
  COLORREF GetTextColor(UINT nState, CXTButton* pButton) override;
  void DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) override;
  void DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) override;
};

// Scheme (theme 2): a normal button continues the caption's own gradient.
class CXTCaptionButtonStyleScheme : public CXTButtonStyleScheme {
 public:
  COLORREF GetTextColor(UINT nState, CXTButton* pButton) override;
  void DrawImage(CDC* pDC, UINT nState, const CRect& rcItem, CXTButton* pButton) override;
  void DrawFrame(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton) override;
};

class CXTCaptionButtonThemeFactory : public CXTThemeManagerStyleFactory {
  DECLARE_DYNCREATE(CXTCaptionButtonThemeFactory)

 public:
  CXTThemeStyleBase* CreateStyle(int nTheme) override;
};
