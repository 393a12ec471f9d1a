// Tool-tip settings: one per tab window, status bar or command-bars manager. They decide which kind
// of tip window to create, configure it, and relay the owner's mouse messages to it, asking the
// owner's tool hit test which tool lies under the cursor.
#pragma once

#include <afxwin.h>

#include <commctrl.h>

// Tip kinds: 0 and 1 the system's tooltip control (1 as balloons), 2 the toolkit's plain tip
// window, 3 its rich-text form, 4 its gradient form.
enum XTPTipKind {
  xtpTipSystem = 0,
  xtpTipSystemBalloon = 1,
  xtpTipPlain = 2,
  xtpTipRichText = 3,
  xtpTipGradient = 4,
};

// Sizes of the tool records owners fill in their hit tests, as the system defines them for this
// build: without and with the parameter field, which the toolkit points at a title pair.
#define XTP_TOOLINFO_SIZE TTTOOLINFOW_V1_SIZE
#define XTP_TOOLINFO_TITLE_SIZE TTTOOLINFOW_V2_SIZE

// Set in a hit test's tool flags: the tip shows even while the owner is not active. The two highest
// flag bits are the toolkit's and never reach the tip window.
#define XTP_TTF_SHOWINACTIVE 0x40000000
#define XTP_TTF_TOOLKITMASK 0xC0000000

// The strings a titled tool record's parameter points at: malloc'd copies that the settings
// free after the hit test.
struct XTP_TOOLTIP_TITLEPAIR {
  LPTSTR pszExtendedText;
  LPTSTR pszTitle;
};

// The private message a window answers with 1 when the tip should treat its parent as the window
// under the cursor (a child that is part of its parent's surface).
#define WM_XTP_TIPPARENTQUERY 0x2A48

// Whether a mouse button is held down now: tips neither show nor move while one is.
bool IsAnyMouseButtonDown();

// Reference counted (the creator holds one reference). Owns at most one tip window, deleted when the
// owner's top-level window changes, when the style changes and with the settings. Created and used
// on the user-interface thread only.
class CXTPTipSettings : public CCmdTarget {
  DECLARE_DYNAMIC(CXTPTipSettings)

 public:
  CXTPTipSettings();
  ~CXTPTipSettings() override;

  // Relays one of the owner's messages, with the cursor position now, as a relayed message.
  void RelayEvent(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam);
  // The tip logic for one message; unless bRelayed, only messages of windows whose nearest
  // tool-tip-enabled ancestor is pOwner count.
  void FilterToolTipMessage(CWnd* pOwner, MSG* pMsg, BOOL bRelayed = FALSE);
  // TTM_ACTIVATE 0 to the current tip window, if any.
  void DeactivateTip();
  // New style = (old | dwAdd) & ~dwRemove; a changed style deletes the tip window.
  void ModifyTipStyle(DWORD dwRemove, DWORD dwAdd);
  // A new tip window of the settings' kind for pOwner (not shown, not configured); NULL on failure.
  virtual CWnd* CreateTipWindow(CWnd* pOwner);

  // For owners' hit tests: fills a record of at least XTP_TOOLINFO_SIZE bytes with the window,
  // rectangle, id and a malloc'd copy of the text (flags are the caller's); a record of exactly
  // XTP_TOOLINFO_TITLE_SIZE bytes whose parameter points at a title pair also gets copies of the
  // extended text and the title, when both are non-empty. Smaller records are left alone.
  static void PASCAL FillToolInfo(TOOLINFO* pToolInfo, HWND hWnd, const RECT& rect, UINT_PTR nID,
                                  LPCTSTR lpszText, LPCTSTR lpszTitle = nullptr,
                                  LPCTSTR lpszExtendedText = nullptr);

  // ---- Settings ----
  int GetTipKind() const { return m_nTipKind; }
  void SetTipKind(int nTipKind);
  BOOL IsExtendedToolInfo() const { return m_bExtendedToolInfo; }
  void SetExtendedToolInfo(BOOL bExtended) { m_bExtendedToolInfo = bExtended; }
  DWORD GetTipStyle() const { return m_dwTipStyle; }
  int GetTitleIcon() const { return m_nTitleIcon; }
  void SetTitleIcon(int nTitleIcon) { m_nTitleIcon = nTitleIcon; }
  // Half the screen width by default; negative means no limit.
  int GetMaxTipWidth() const { return m_nMaxTipWidth; }
  void SetMaxTipWidth(int nMaxTipWidth) { m_nMaxTipWidth = nMaxTipWidth; }
  CRect GetMargins() const { return m_rcMargins; }
  void SetMargins(const RECT& rcMargins) { m_rcMargins = rcMargins; }
  // TTDT_INITIAL, TTDT_RESHOW or TTDT_AUTOPOP; -1 keeps the tip window's own.
  int GetDelayTime(DWORD dwDuration) const;
  void SetDelayTime(DWORD dwDuration, int nTime);
  // -1 means the colour table's info-background (slot 24) and info-text (slot 23) colours.
  COLORREF GetTipBkColor() const;
  COLORREF GetTipTextColor() const;
  void SetTipColors(COLORREF clrBack, COLORREF clrText) {
    m_clrTipBack = clrBack;
    m_clrTipText = clrText;
  }
  // (major << 16) | minor of comctl32, 0 when unknown.
  DWORD GetComCtlVersion() const { return m_dwComCtlVersion; }
  CWnd* GetTipWindow() const { return m_pTipWindow; }
  // The tool the last hit test found (window NULL when none).
  const TOOLINFO& GetLastToolInfo() const { return m_tiLast; }
  // The window the tip was made for (its text callbacks go there).
  HWND GetTipOwner() const { return m_hWndTipOwner; }

 protected:
  void DestroyTipWindow();
  // Creates and configures the tip window for pOwner; FALSE when it cannot be made.
  BOOL EnsureTipWindow(CWnd* pOwner);
  void RelayToTip(MSG* pMsg);

  BOOL m_bExtendedToolInfo = FALSE;
  int m_nTipKind = xtpTipSystem;
  DWORD m_dwComCtlVersion = 0;
  int m_nTitleIcon = TTI_INFO;
  int m_nMaxTipWidth;
  DWORD m_dwTipStyle = TTS_NOPREFIX;
  CRect m_rcMargins = CRect(0, 0, 0, 0);
  int m_nDelayInitial = -1;
  int m_nDelayReshow = -1;
  int m_nDelayAutoPop = -1;
  CWnd* m_pTipWindow = nullptr;
  HWND m_hWndTipOwner = nullptr;
  TOOLINFO m_tiLast = {};
  COLORREF m_clrTipBack = static_cast<COLORREF>(-1);
  COLORREF m_clrTipText = static_cast<COLORREF>(-1);
  HMODULE m_hRichEditModule = nullptr;  // loaded for rich-text tips, freed with the settings
};
