// Shared pieces of the command-bar tests: the test program's application object, a temporary profile
// key, a frame built like the wizard's main frame, controls of fixed size and small helpers.
#pragma once

#include <CommandBars.h>
#include <ControlButton.h>
#include <FrameWnd.h>
#include <ToolBar.h>

#include <functional>
#include <thread>
#include <vector>

#include "CommandBarsTestResource.h"
#include "RealInput.h"

extern CWinApp theTestApp;
// The application's pre-translation, for windows that real keys reach while a test pumps.
BOOL PreTranslateThroughTheApp(MSG* pMsg);

// The panes of a test status bar: the message pane and the three key indicators.
inline constexpr UINT kIndicators[] = {0, IDS_TEST_INDICATOR_CAPS, IDS_TEST_INDICATOR_NUM,
                                       IDS_TEST_INDICATOR_SCRL};
// What the theme tests paint beneath a drawing, so that the pixels it leaves alone show.
inline constexpr COLORREF kBackground = RGB(1, 2, 3);

// Points the application's profile at a key of its own under HKCU\Software for the fixture's life and
// deletes it afterwards.
class ScopedProfileKey {
 public:
  ScopedProfileKey();
  ~ScopedProfileKey();
  ScopedProfileKey(const ScopedProfileKey&) = delete;
  ScopedProfileKey& operator=(const ScopedProfileKey&) = delete;

  // HKCU\Software\<key>\<app>.
  CString AppKeyPath() const;
  // The raw bytes of a value, or empty when missing.
  std::vector<BYTE> ReadValue(LPCTSTR lpszSection, LPCTSTR lpszEntry) const;
  bool ValueExists(LPCTSTR lpszSection, LPCTSTR lpszEntry) const;
  bool SectionExists(LPCTSTR lpszSection) const;

 private:
  CString m_strKey;
};

// A button whose size does not depend on fonts, for layout tests.
class CFixedSizeControl : public CXTPControlButton {
  DECLARE_SERIAL(CFixedSizeControl)

 public:
  CFixedSizeControl() = default;
  CSize GetSize(CDC*) override { return m_size; }
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  CSize m_size = CSize(23, 22);
};

// Adds a fixed-size button to a collection.
CFixedSizeControl* AddFixed(CXTPControls* pControls, int nId, int cx, int cy, BOOL bBeginGroup = FALSE,
                            DWORD dwFlags = 0);

// The test frame: a command-bars manager made as the main frame makes it (site, dock bars, menu bar from
// IDR_TEST_MENU, a "Standard" toolbar from IDR_TEST_TOOLBAR), command handlers that record what reaches
// them, and a customize handler so that the bars are customizable.
class CTestFrame : public CXTPFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)

 public:
  CTestFrame() = default;

  // Creates and shows the frame at the given screen rectangle; the profile section is loaded when set.
  static CTestFrame* CreateTestFrame(const CRect& rc, LPCTSTR lpszProfile = nullptr, BOOL bShow = TRUE);
  // Saves the bars under the profile section (when set) and destroys the frame.
  void SaveAndDestroy(LPCTSTR lpszProfile = nullptr);

  // A frame with the manager and its dock bars only (no menu bar, no toolbar).
  static BOOL s_bBareFrame;

  CXTPToolBar* m_pToolBar = nullptr;
  std::vector<UINT> m_arrCommands;
  std::vector<UINT> m_arrNotifications;
  CString m_strProfile;
  // ID_TEST_ITEM_A shows a check after every odd run of it; ID_TEST_PASTE is enabled unless this is set.
  BOOL m_bPasteDisabled = FALSE;
  // The customize command runs the customize sheet, as the program's frame does; else it does nothing.
  BOOL m_bRunCustomizeSheet = FALSE;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnTestCommand(UINT nID);
  afx_msg void OnUpdateItemA(CCmdUI* pCmdUI);
  afx_msg void OnUpdatePaste(CCmdUI* pCmdUI);
  afx_msg void OnDeleteSelf();
  afx_msg void OnCustomize();
  afx_msg void OnExecuteNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

  DECLARE_MESSAGE_MAP()
};

// A multiple-document frame whose client area comes with a command-bars manager (site, docking), to
// which AddBars adds the test's bars; the frame releases the manager.
class CBarsMDIFrame : public CMDIFrameWnd {
 public:
  ~CBarsMDIFrame() override {
    if (m_pCommandBars != nullptr) m_pCommandBars->InternalRelease();
  }
  CXTPCommandBars* m_pCommandBars = nullptr;

 protected:
  virtual BOOL AddBars() = 0;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override {
    if (!CMDIFrameWnd::OnCreateClient(lpcs, pContext)) return FALSE;
    m_pCommandBars = static_cast<CXTPCommandBars*>(RUNTIME_CLASS(CXTPCommandBars)->CreateObject());
    m_pCommandBars->SetSite(this);
    m_pCommandBars->EnableDocking();
    return AddBars();
  }
};

// Pumps until the bar's layout settled.
void SettleLayout(CWnd* pWnd);
// The screen centre of a control.
CPoint ControlCenter(CXTPControl* pControl);

using testsupport::ModalLoopInput;
