// The toolkit's own tip window: it answers the tooltip messages (TTM_*) itself, shows a tool's tip
// after the delay at the cursor and draws plain, titled and gradient tips; the rich-text form lives in
// RichTextTipWindow.h.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include <commctrl.h>

class CXTPTipSettings;

// One tool as the tip window keeps it.
struct XTPTipTool {
  CString strText;
  BOOL bCallback = FALSE;  // the text is asked of the owner (TTN_GETDISPINFO)
  UINT uFlags = 0;
  HWND hwnd = nullptr;
  UINT_PTR uId = 0;
  CRect rect = CRect(0, 0, 0, 0);
  HINSTANCE hinst = nullptr;
  LPARAM lParam = 0;

  BOOL IsValid() const { return hwnd != nullptr; }
  BOOL IsSameTool(const XTPTipTool& other) const { return hwnd == other.hwnd && uId == other.uId; }
};

// Created by a tip settings object on the user-interface thread (the thread of the owner window);
// only that thread touches it. The settings object owns it and outlives it.
class CXTPTipWindow : public CWnd {
  DECLARE_DYNAMIC(CXTPTipWindow)

 public:
  explicit CXTPTipWindow(CXTPTipSettings* pSettings);
  // Removes the process's tip mouse hook when this window owns it.
  ~CXTPTipWindow() override;

  // A topmost tool window (hidden) owned by pOwner's top-level window, with dwStyle (TTS_* bits).
  virtual BOOL Create(CWnd* pOwner, DWORD dwStyle);

  // Width and height of the tip for the tool; (0, 0) when it has no text.
  virtual CSize CalcTipSize(const XTPTipTool& tool);
  virtual void DrawTipText(CDC* pDC, const XTPTipTool& tool, CRect rc);
  virtual void DrawTipBackground(CDC* pDC, CRect rc);

  // ---- State, for owners and tests ----
  BOOL IsActive() const { return m_bActive; }
  int GetToolCount() const { return static_cast<int>(m_arrTools.GetSize()); }
  const XTPTipTool* GetTool(int nIndex) const;
  // NULL when no tip shows.
  const XTPTipTool* GetCurrentTool() const { return m_toolCurrent.IsValid() ? &m_toolCurrent : nullptr; }
  const XTPTipTool* GetPendingTool() const { return m_toolPending.IsValid() ? &m_toolPending : nullptr; }
  const XTPTipTool* GetPressedTool() const { return m_toolPressed.IsValid() ? &m_toolPressed : nullptr; }
  CString GetTitle() const { return m_strTitle; }
  CXTPTipSettings* GetSettings() const { return m_pSettings; }
  // The text the tool shows (asked of the owner for callback tools), mnemonics removed unless the
  // style has TTS_NOPREFIX.
  CString GetToolText(const XTPTipTool& tool);

  // The clock of the delays (GetTickCount unless a test installs another); returns the previous one.
  typedef DWORD(WINAPI* PFNTIPCLOCK)();
  static PFNTIPCLOCK PASCAL SetClock(PFNTIPCLOCK pfnClock);
  // The window that owns the process's tip mouse hook, or NULL when none is installed.
  static CXTPTipWindow* PASCAL GetMouseHookOwner();

  static const UINT nShowTimerId = 1;
  static const DWORD nInitialDelay = 500;  // ms before a tip shows
  static const DWORD nQuickReshow = 200;   // ms after a show or hide within which the next shows at once

 protected:
  // The first tool whose window exists and whose rectangle holds the screen point; for a tool that
  // is not its own window, that window must also be the one under the point.
  BOOL ToolFromPoint(POINT pt, XTPTipTool& tool);
  // The tip logic for one relayed mouse message.
  void OnRelayEvent(const MSG* pMsg);
  // Shows the tool's tip at the cursor (hides it without a tool).
  void ShowTip(const XTPTipTool* pTool);
  // Hides a showing tip (ShowTip without a tool).
  void HideTip() { ShowTip(nullptr); }
  void KillPendingTimer();
  void InstallMouseHook();
  void RemoveMouseHook();
  HWND WindowFromPoint(POINT pt) const;
  CFont* GetTipFont() { return &m_fontTip; }
  DWORD Now() const;
  int FindTool(HWND hWnd, UINT_PTR uId) const;
  static void PASCAL ToolFromInfo(const TOOLINFO* pInfo, XTPTipTool& tool);
  static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);

  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  // The tip lets the mouse through to what lies beneath and never takes the activation, so that a
  // click on it reaches the window under it and leaves the owner's frame active.
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnActivateTip(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRelayEventMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnWindowFromPoint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetTitle(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddTool(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDelTool(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnUpdateTipText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 protected:
  CArray<XTPTipTool*, XTPTipTool*> m_arrTools;
  BOOL m_bActive = FALSE;
  CXTPTipSettings* m_pSettings;
  XTPTipTool m_toolCurrent;
  XTPTipTool m_toolPressed;
  XTPTipTool m_toolPending;
  CFont m_fontTip;
  UINT_PTR m_nTimerId = 0;
  DWORD m_dwLastShowHide = 0;
  CString m_strTitle;
  HWND m_hWndOwner = nullptr;
  DWORD m_dwTipStyle;
};

// The gradient form: a warm two-colour fill framed in the colour of the running theme.
class CXTPGradientTipWindow : public CXTPTipWindow {
  DECLARE_DYNAMIC(CXTPGradientTipWindow)

 public:
  explicit CXTPGradientTipWindow(CXTPTipSettings* pSettings) : CXTPTipWindow(pSettings) {}
  void DrawTipBackground(CDC* pDC, CRect rc) override;
};
