// CXTPBarTheme: the paint theme every bar, control, dock bar and the status bar draws through. It owns
// the fonts, the metrics and a private copy of the 62 colour slots. One theme is the process-wide
// current theme, replaced by number; a manager or a single bar may hold one of its own, which wins.
// User-interface thread only.
#pragma once

#include "CommandBarsDefines.h"

#include <ColorGradientValue.h>
#include <ColorTable.h>

class CXTPCommandBar;
class CXTPControl;
class CXTPDockBar;
class CXTPImageManagerIcon;
class CXTPStatusBar;
class CXTPStatusBarPane;

// The three icon options that the command-bars options store under these keys.
struct XTP_COMMANDBARS_ICONSINFO {
  BOOL bUseFadedIcons;     // "UseFadedIcons"
  BOOL bUseDisabledIcons;  // "UseDisabledIcons"
  BOOL bIconsWithShadow;   // "IconsWithShadow"
};

// Kinds of the special symbols DrawSymbol draws.
enum XTPSymbolKind {
  xtpSymbolExpandButton = 0,   // the expand button at the end of a toolbar
  xtpSymbolExpandItem = 1,     // the expand item at the bottom of a shortened menu
  xtpSymbolCaptionClose = 2,   // the close button of a floating bar's caption
  xtpSymbolCaptionOptions = 3  // the options drop-down of a floating bar's caption
};

// Theme numbers.
enum XTPPaintTheme {
  xtpThemeThreeD = 0,     // three-dimensional
  xtpThemeFlat = 1,       // flat
  xtpThemeShaded = 2,     // shaded
  xtpThemeNative = 3,     // native visual styles
  xtpThemeShadedAlt = 4,  // shaded, second form
  xtpThemeCustom = 5,     // installed as an object
};

// Reference counted (the last InternalRelease deletes it).
class CXTPBarTheme : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPBarTheme)

 public:
  CXTPBarTheme();
  ~CXTPBarTheme() override;

  // ---- The process-wide theme ----
  // 1 flat, 2 shaded, 3 native, 4 second shaded, anything else three-dimensional; the number is kept.
  // The caller holds the new theme's reference.
  static CXTPBarTheme* PASCAL CreateTheme(int nTheme);
  // Installs pTheme (taking over the caller's reference), numbers it 5 and refreshes its metrics.
  static void PASCAL SetCustomTheme(CXTPBarTheme* pTheme);
  static void PASCAL SetTheme(int nTheme);
  // The current theme; theme 0 is installed first when there is none.
  static CXTPBarTheme* PASCAL GetTheme();
  // Whether a current theme exists, without making one.
  static BOOL PASCAL IsThemeSet();
  static void PASCAL ReleaseTheme();

  // ---- Virtual operations, in their slot order ----
  virtual CSize DrawControlPopupParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw) = 0;
  virtual CSize DrawControlToolBarParent(CDC* pDC, CXTPControl* pControl, BOOL bDraw);
  virtual void DrawSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc);
  virtual CSize DrawControlComboBox(CDC* pDC, CXTPControl* pControl, BOOL bDraw) = 0;
  virtual CSize DrawControlEdit(CDC* pDC, CXTPControl* pControl, BOOL bDraw) = 0;
  virtual CSize DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                   CXTPCommandBars* pCommandBars = nullptr) = 0;
  virtual void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) = 0;
  virtual void DrawControlFace(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected, int bPressed, BOOL bChecked,
                               BOOL bPopuped, XTPBarPosition barPosition) = 0;
  virtual void DrawControlEntry(CDC* pDC, CXTPControl* pControl);
  virtual void DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                                BOOL bPopuped, BOOL bToolBar, XTPBarPosition barPosition) = 0;
  virtual CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw = TRUE) = 0;
  virtual CSize DrawCommandBarSeparator(CDC* pDC, CXTPCommandBar* pBar, CXTPControl* pControl,
                                        BOOL bDraw = TRUE) = 0;
  virtual void AdjustExcludeRect(CRect& rc, CXTPControl* pControl, BOOL bVertical) = 0;
  virtual void DrawStatusBarPaneEntry(CDC* pDC, CRect rcItem, CXTPStatusBarPane* pPane);
  virtual void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane);
  virtual void DrawStatusBarGripper(CDC* pDC, CRect rcClient);
  virtual void FillDockBar(CDC* pDC, CXTPDockBar* pBar);
  virtual void FillStatusBar(CDC* pDC, CXTPStatusBar* pBar);
  virtual void RefreshMetrics();
  virtual BOOL IsFlat() const { return FALSE; }
  virtual CSize DrawSymbol(CDC* pDC, int nKind, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw,
                           BOOL bHiddenControls, CSize szBar = CSize(0, 0));
  virtual CRect GetCommandBarBorders(CXTPCommandBar* pBar);
  virtual CSize DrawTearOffGripper(CDC* pDC, CRect rcGripper, BOOL bSelected, BOOL bDraw) = 0;
  virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPImageManagerIcon* pImage, int bSelected,
                         int bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBar) = 0;
  virtual CSize DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) = 0;
  virtual int GetThemeType() const = 0;
  virtual CFont* GetControlFont(CXTPCommandBar* pBar, BOOL bBold = FALSE);
  virtual void DrawCheckMark(CDC* pDC, CRect rcCheck, COLORREF clr, BOOL bLayoutRTL = FALSE);
  virtual void DrawComboExpandMark(CDC* pDC, CRect rc, COLORREF clr);
  virtual void AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nAnimationType);
  virtual void AnimateExpand(CXTPCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bExpandDown);
  virtual void PrepareRightToLeftText(CString& /*strCaption*/) {}

  // ---- Non-virtual members ----
  COLORREF GetColor(int nIndex) const;
  // Stores each value as the standard part of its slot.
  void SetColors(int nCount, const int* pIndices, const COLORREF* pValues);
  // Sets or clears (-1) the override of one slot.
  void SetColorOverride(int nIndex, COLORREF clr);
  XTP_COMMANDBARS_ICONSINFO* GetIconsInfo() { return &m_iconsInfo; }
  // Stores the follow-system flag; with a description, remakes the caption fonts from it.
  void SetFont(const LOGFONT* pLogFont, BOOL bUseStandardFont = FALSE);
  void RefreshFonts();
  // The caption height taken from the system menu font: heights from -10 to -1 become -11.
  static LONG PASCAL AdjustMenuFontHeight(LONG lfHeight) {
    return lfHeight >= -10 && lfHeight <= -1 ? -11 : lfHeight;
  }
  CSize DrawControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw = TRUE);
  int GetCurrentTheme() const;
  int GetThemeNumber() const { return m_nTheme; }
  void SetThemeNumber(int nTheme) { m_nTheme = nTheme; }
  int GetRowHeight() const { return m_nRowHeight; }
  BOOL IsShadowsEnabled() const { return m_bShowShadow; }
  void EnableShadows(BOOL bEnable) { m_bShowShadow = bEnable; }
  COLORREF GetShadowColor() const { return m_clrShadowColor; }
  COLORREF GetStatusTextColor() const { return m_clrStatusTextColor; }
  BOOL IsUseSystemMenuFont() const { return m_bUseStandardFont; }
  BOOL GetThickCheckMark() const { return m_bThickCheckMark; }
  void SetThickCheckMark(BOOL bThick) { m_bThickCheckMark = bThick; }
  int GetAnimationSteps() const { return m_nAnimationSteps; }
  void SetAnimationSteps(int nSteps) { m_nAnimationSteps = nSteps; }
  int GetAnimationTime() const { return m_nAnimationTime; }
  void SetAnimationTime(int nTime) { m_nAnimationTime = nTime; }
  int GetKeyboardCuesOverride() const { return m_nKeyboardCuesOverride; }
  void SetKeyboardCuesOverride(int nOverride) { m_nKeyboardCuesOverride = nOverride; }
  BOOL IsGenerateDisabledIcons() const { return m_bAutoDisabledIcons; }
  const CXTPColorGradientValue& GetDisabledIconColors() const { return m_grcDisabledIcons; }

  CFont* GetRegularFont() { return &m_fontRegular; }
  CFont* GetRegularBoldFont() { return &m_fontRegularBold; }
  CFont* GetVerticalFont() { return &m_fontVert; }
  CFont* GetVerticalBoldFont() { return &m_fontVertBold; }
  CFont* GetSmallCaptionFont() { return &m_fontSmCaption; }
  CFont* GetIconFont() { return &m_fontIcon; }
  CFont* GetIconBoldFont() { return &m_fontIconBold; }

  // ---- Drawing primitives; colours are slots (above 61: the colour itself) ----
  void Triangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
  // Fills with nFill unless it is -1; a one-pixel frame in nFrame when it differs from nFill and is
  // not -1.
  void Rectangle(CDC* pDC, CRect rc, int nFill, int nFrame);
  void Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight);
  void Line(CDC* pDC, int x0, int y0, int x1, int y1, int nPen);
  void MoveToLineTo(CDC* pDC, int x0, int y0, int x1, int y1);
  void FillHalftone(CDC* pDC, CRect rc);
  CSize DrawControlCaption(CDC* pDC, CString strText, CRect rcText, BOOL bDraw, BOOL bVert, BOOL bCentered,
                           BOOL bTriangle, BOOL bEmbossed, BOOL bMnemonics);
  CSize CaptionBesideIcon(CDC* pDC, CXTPControl* pControl, CString strCaption, CRect rcControl, BOOL bDraw,
                          BOOL bIcon, BOOL bVert, BOOL bTriangle, BOOL bEmbossed);

 protected:
  // Whether the control shows its icon, from its own style or its bar's, and the image manager.
  BOOL IsIconVisible(CXTPControl* pControl, CXTPImageManagerIcon** ppImage, CSize szIcon) const;
  CSize GetTextSize(CDC* pDC, const CString& strText) const;
  // The icon's size at the bar's icon width, its height following the image's own aspect ratio.
  static CSize PASCAL GetScaledImageSize(CXTPImageManagerIcon* pImage, CSize szIcon);
  // The normal form (or the disabled one) at pt, sz.
  static void PASCAL DrawPlainImage(CDC* pDC, CXTPImageManagerIcon* pImage, CPoint pt, CSize sz,
                                    BOOL bDisabled);
  // The caption strip of a floating bar: filled with clrFill, the title in slot 20; in the inactive
  // caption's colours while the bar's window is disabled (a modal window runs).
  CSize DrawFloatingCaption(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw, COLORREF clrFill);

  COLORREF m_clrShadowColor = 0;
  COLORREF m_clrStatusTextColor = 0;
  CXTPColorGradientValue m_grcDisabledIcons;
  BOOL m_bThickCheckMark = FALSE;
  BOOL m_bShowShadow = TRUE;
  CFont m_fontRegular;
  CFont m_fontRegularBold;
  CFont m_fontVert;
  CFont m_fontVertBold;
  CFont m_fontSmCaption;
  BOOL m_bSmCaptionFollowsSystem = TRUE;
  CFont m_fontIcon;
  BOOL m_bIconFollowsSystem = TRUE;
  CFont m_fontIconBold;
  BOOL m_bIconBoldFollowsSystem = TRUE;
  int m_nRowHeight = 0;
  BOOL m_bPreferTahoma = FALSE;
  BOOL m_bUseStandardFont = TRUE;
  int m_nTheme = 0;
  XTP_COMMANDBARS_ICONSINFO m_iconsInfo = {FALSE, FALSE, FALSE};
  BOOL m_bAutoDisabledIcons = FALSE;
  int m_nAnimationSteps = 10;
  int m_nAnimationTime = 100;
  int m_nKeyboardCuesOverride = -1;
  CXTPColorValue m_arrColors[XPCOLOR_COUNT];
  int m_nColorThemeSelection = xtpSystemThemeDefault;
};
