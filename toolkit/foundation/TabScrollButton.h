// The navigate buttons of a tab strip: back and forward arrows that scroll the tabs, and a close
// button that acts on the selected tab. Each manager owns one of each kind.
#pragma once

#include <afxwin.h>

class CXTPTabManager;

// Button kinds, in the order the manager keeps them.
enum XTPTabNavigateButton {
  xtpTabNavigateButtonLeft = 0,
  xtpTabNavigateButtonRight = 1,
  xtpTabNavigateButtonClose = 2,
};

// When a button shows.
enum XTPTabNavigateButtonFlags {
  xtpTabNavigateButtonNone = 0,
  xtpTabNavigateButtonAutomatic = 1,
  xtpTabNavigateButtonAlways = 2,
};

// Made and deleted by its manager. User-interface thread only.
class CXTPTabScrollButton {
 public:
  CXTPTabScrollButton(CXTPTabManager* pManager, int nKind, int nShowMode);
  virtual ~CXTPTabScrollButton();
  CXTPTabScrollButton(const CXTPTabScrollButton&) = delete;
  CXTPTabScrollButton& operator=(const CXTPTabScrollButton&) = delete;

  // The length left for the tabs once this button takes its room.
  virtual void ReduceAvailableLength(int& nLength);
  // A press on the button: tracks the mouse until release (see the definition for the loop's rules).
  virtual void TrackClick(HWND hWnd, CPoint point);
  // Takes its place at the end of rcHeader when it shows and moves that end back by its extent; a
  // button that does not show gets an empty rectangle.
  virtual void Reposition(CRect& rcHeader);
  virtual void DrawGlyph(CDC* pDC, CRect rc) = 0;
  // bRepeat: called every 20 ms while held; else once, on release inside the button.
  virtual void OnExecute(BOOL bRepeat);

  // The scheme's background, then the glyph. Nothing when the button does not show.
  void Draw(CDC* pDC);
  // Hot while the point (client coordinates of hWnd) lies inside; redraws on a change.
  void PerformMouseMove(HWND hWnd, CPoint point);

  int GetKind() const { return m_nKind; }
  int GetShowMode() const { return m_nShowMode; }
  void SetShowMode(int nShowMode) { m_nShowMode = nShowMode; }
  CRect GetRect() const { return m_rcButton; }
  BOOL IsVisible() const { return !m_rcButton.IsRectEmpty(); }
  BOOL IsEnabled() const { return m_bEnabled; }
  BOOL IsPressed() const { return m_bPressed; }
  BOOL IsHighlighted() const { return m_bHot; }
  CXTPTabManager* GetTabManager() const { return m_pManager; }
  CSize GetSize() const { return CSize(m_nWidth, m_nHeight); }
  // Places the button at the end of rcHeader when bShow, else empties its rectangle.
  void Place(CRect& rcHeader, BOOL bShow);

 protected:
  // Placement for the back and forward buttons: they show while the tabs overflow the header or
  // are scrolled, never in the shrinking and multi-row layouts.
  void RepositionAutomatic(CRect& rcHeader);
  // The triangle of the arrows: filled while enabled, outlined otherwise.
  void DrawTriangle(CDC* pDC, const POINT* pts);
  BOOL IsVerticalStrip() const;

  int m_nKind;
  int m_nShowMode;
  int m_nWidth = 14;
  int m_nHeight = 15;
  CXTPTabManager* m_pManager;
  CRect m_rcButton;
  BOOL m_bEnabled = TRUE;
  BOOL m_bPressed = FALSE;
  BOOL m_bHot = FALSE;
};

// Scrolls the tabs back (left or up).
class CXTPTabScrollButtonBack : public CXTPTabScrollButton {
 public:
  explicit CXTPTabScrollButtonBack(CXTPTabManager* pManager);
  void Reposition(CRect& rcHeader) override;
  void DrawGlyph(CDC* pDC, CRect rc) override;
  void OnExecute(BOOL bRepeat) override;
};

// Scrolls the tabs forward (right or down).
class CXTPTabScrollButtonForward : public CXTPTabScrollButton {
 public:
  explicit CXTPTabScrollButtonForward(CXTPTabManager* pManager);
  void Reposition(CRect& rcHeader) override;
  void DrawGlyph(CDC* pDC, CRect rc) override;
  void OnExecute(BOOL bRepeat) override;
};

// Asks the host to close the selected tab, on release only.
class CXTPTabScrollButtonClose : public CXTPTabScrollButton {
 public:
  explicit CXTPTabScrollButtonClose(CXTPTabManager* pManager);
  void ReduceAvailableLength(int& nLength) override;
  void DrawGlyph(CDC* pDC, CRect rc) override;
  void OnExecute(BOOL bRepeat) override;
};
