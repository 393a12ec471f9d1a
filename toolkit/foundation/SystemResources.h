// The toolkit's shared user-interface resources: fonts, cursors, colours copied from the colour table,
// system metrics, operating-system flags and the common-controls version. Made on first use through
// GetSystemResources and kept until exit; read at construction and not recreated later.
#pragma once

#include <afxwin.h>

class CXTSystemResources {
 public:
  CXTSystemResources();
  virtual ~CXTSystemResources();
  CXTSystemResources(const CXTSystemResources&) = delete;
  CXTSystemResources& operator=(const CXTSystemResources&) = delete;

  // Zero-filled NONCLIENTMETRICS (500 bytes) from the system.
  static BOOL PASCAL GetNonClientMetrics(NONCLIENTMETRICS* pncm);
  // The face of the vertical fonts for a given horizontal face: Arial where the face is not Tahoma
  // and Arial is installed, else the face itself.
  static CString PASCAL GetVerticalFontFace(LPCTSTR lpszFace);

  // TRUE only when all ten fonts were made; the first failure stops.
  BOOL CreateFonts();
  // TRUE only when all seven cursors were loaded; the first failure stops.
  BOOL LoadCursors();
  void UpdateColors();
  void UpdateMetrics();
  // (major << 16) | minor of comctl32, asked of the system once; 0 when it gave none.
  DWORD GetComCtlVersion();

  // Copied colours: the system colours of these names, then the colour table's slots 30 to 49.
  COLORREF m_clrBtnFace = 0;
  COLORREF m_clrBtnShadow = 0;
  COLORREF m_clrBtnDkShadow = 0;
  COLORREF m_clrBtnHilite = 0;
  COLORREF m_clrBtnLight = 0;
  COLORREF m_clrBtnText = 0;
  COLORREF m_clrGrayText = 0;
  COLORREF m_clrHighlight = 0;
  COLORREF m_clrHighlightText = 0;
  COLORREF m_clrMenu = 0;
  COLORREF m_clrMenuText = 0;
  COLORREF m_clrWindow = 0;
  COLORREF m_clrWindowFrame = 0;
  COLORREF m_clrWindowText = 0;
  COLORREF m_clrActiveCaption = 0;
  COLORREF m_clrInActiveCaption = 0;
  COLORREF m_clrGradActiveCapt = 0;
  COLORREF m_clrGradInActiveCapt = 0;
  COLORREF m_clrActiveCaptText = 0;
  COLORREF m_clrInactiveCaptText = 0;
  COLORREF m_clrXP[20] = {};

  // Cursors (NULL until loaded): dragging with copy, with move, with nothing to drop on; the link
  // hand; the horizontal and vertical splitter; size-all.
  HCURSOR m_hcurDragCopy = nullptr;
  HCURSOR m_hcurDragMove = nullptr;
  HCURSOR m_hcurDragNone = nullptr;
  HCURSOR m_hcurHand = nullptr;
  HCURSOR m_hcurHSplitBar = nullptr;
  HCURSOR m_hcurVSplitBar = nullptr;
  HCURSOR m_hcurMove = nullptr;

  // Metrics.
  int m_cxSmIcon = 0;
  int m_cySmIcon = 0;
  int m_cxSize = 18;  // fixed whatever the system metrics say
  int m_cySize = 18;
  int m_cxHThumb = 0;
  int m_cyVThumb = 0;
  int m_cyMenuItem = 0;

  // Fonts: the regular user-interface font (the menu font) and its bold and underlined forms, the
  // vertical forms for captions of bars docked at the sides, the icon-title fonts, the Marlett symbol
  // font, the status font and the small-caption font.
  CFont m_fontRegular;
  CFont m_fontBold;
  CFont m_fontULine;
  CFont m_fontVert;
  CFont m_fontVertBold;
  CFont m_fontIconTitle;
  CFont m_fontIconTitleBold;
  CFont m_fontMarlett;
  CFont m_fontStatus;
  CFont m_fontSmCaption;

  // Operating-system flags.
  BOOL m_bWin95 = FALSE;
  BOOL m_bWin98 = FALSE;
  BOOL m_bWinNT4 = FALSE;
  BOOL m_bWin2K = FALSE;
  BOOL m_bWinXP = FALSE;

 private:
  // Copies lf, overriding the weight, underline, escapement and orientation where a value is given
  // (-1, or 255 for the underline, keeps the description's). Any font held before is deleted.
  static BOOL PASCAL CreateFontFrom(CFont& font, const LOGFONT& lf, int nWeight = -1, BYTE bUnderline = 255,
                                    int nEscapement = -1, int nOrientation = -1);
  void DeleteFonts();

  DWORD m_dwComCtlVersion = DWORD(-1);
};

// The one instance, made on first use (user-interface thread) and destroyed at exit.
CXTSystemResources* AFXAPI GetSystemResources();
