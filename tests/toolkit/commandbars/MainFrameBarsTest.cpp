// A frame made in the order the wizard's main frame makes its bars (status bar, theme 0 when none, the
// manager, the menu bar from a menu resource, the paint theme, the toolbar from a toolbar resource),
// driven with real keys and clicks under Xvfb: themes 0 and 3 from the real creation order, Alt+letter
// and F10 into the menus, arrows and Enter running a command (one that opens a modal box too), Left
// and Right across the menus and in and out of a submenu, the menus closing on a click outside and on
// Alt with the hooks let go, and on what a window manager or a modal dialog does to the frame (a move,
// the activation given away, the frame disabled), and no title left highlighted however the tracking
// ends.
#include <gtest/gtest.h>

#include <BarThemeNative.h>
#include <CommandBarsOptions.h>
#include <MenuBar.h>
#include <PopupBar.h>
#include <StatusBar.h>

#include <VisualStyles.h>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputClick;
using testsupport::InputKey;
using testsupport::InputTap;
using testsupport::PumpMessages;
using testsupport::SaveWindowPng;

// A command of the frame that asks in a modal message box, as the program's About and Help commands
// open a dialog or a message box.
const UINT ID_TEST_ASK = 1020;
const wchar_t ASK_TITLE[] = L"Bars Test Question";

class CMainLikeFrame : public CXTPFrameWnd {
 public:
  static CMainLikeFrame* Make(int nTheme, const CRect& rc) {
    CMainLikeFrame* pFrame = new CMainLikeFrame;
    pFrame->m_nTheme = nTheme;
    // As the program's frame is made: the application's main window is not set during creation.
    theTestApp.m_pMainWnd = nullptr;
    if (!pFrame->Create(nullptr, L"Bars Test", WS_OVERLAPPEDWINDOW, rc)) return nullptr;
    theTestApp.m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOW);
    pFrame->SetForegroundWindow();
    pFrame->RecalcLayout();
    pFrame->UpdateWindow();
    PumpMessages(150);
    return pFrame;
  }
  void Destroy() {
    if (theTestApp.m_pMainWnd == this) theTestApp.m_pMainWnd = nullptr;
    DestroyWindow();
    PumpMessages(50);
  }
  CXTPMenuBar* MenuBar() const { return m_pCommandBars->GetMenuBar(); }

  int m_nTheme = 0;
  CXTPStatusBar m_wndStatusBar;
  CXTPToolBar* m_pToolBar = nullptr;
  std::vector<UINT> m_arrCommands;
  // The answer of the last box that ID_TEST_ASK showed.
  int m_nAskAnswer = 0;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CXTPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndStatusBar.Create(this, 0x50008200, AFX_IDW_STATUS_BAR)) return -1;
    if (!m_wndStatusBar.SetIndicators(kIndicators, 4)) return -1;
    if (!CXTPBarTheme::IsThemeSet()) CXTPBarTheme::SetTheme(0);
    m_pCommandBars = static_cast<CXTPCommandBars*>(RUNTIME_CLASS(CXTPCommandBars)->CreateObject());
    m_pCommandBars->SetSite(this);
    m_pCommandBars->EnableDocking();
    if (m_pCommandBars->SetMenu(L"Menu Bar", IDR_TEST_MENU) == nullptr) return -1;
    CXTPBarTheme::SetTheme(m_nTheme);
    m_pToolBar = m_pCommandBars->Add(L"Standard", xtpBarTop);
    if (m_pToolBar == nullptr || !m_pToolBar->LoadToolBar(IDR_TEST_TOOLBAR)) return -1;
    m_pToolBar->SetShowTextBelowIcons(1);
    CXTPCommandBarsOptions* pOptions = m_pCommandBars->GetCommandBarsOptions();
    pOptions->bAlwaysShowFullMenus = FALSE;
    pOptions->animationType = 5;
    return 0;
  }
  afx_msg void OnTestCommand(UINT nID) { m_arrCommands.push_back(nID); }
  afx_msg void OnAsk() { m_nAskAnswer = MessageBox(L"Go on?", ASK_TITLE, MB_OKCANCEL); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainLikeFrame, CXTPFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_TEST_ASK, OnAsk)
ON_COMMAND_RANGE(ID_TEST_FIRST, ID_TEST_LAST, OnTestCommand)
END_MESSAGE_MAP()

// The toolbar's window pixels and the status bar's, for comparing themes.
std::vector<COLORREF> BarPixels(CMainLikeFrame* pFrame) {
  std::vector<COLORREF> pixels;
  for (CWnd* pWnd : {static_cast<CWnd*>(pFrame->m_pToolBar), static_cast<CWnd*>(&pFrame->m_wndStatusBar)}) {
    CRect rc;
    pWnd->GetClientRect(&rc);
    // One capture per bar: each capture repaints the window and waits for it.
    int nWidth = 0, nHeight = 0;
    const std::vector<COLORREF> shown = testsupport::WindowPixels(pWnd->GetSafeHwnd(), &nWidth, &nHeight);
    for (int y = 0; y < rc.Height(); y += 2) {
      for (int x = 0; x < std::min(120L, rc.right); x += 2)
        pixels.push_back(x < nWidth && y < nHeight ? shown[size_t(y) * nWidth + x] : CLR_INVALID);
    }
  }
  return pixels;
}

TEST(MainFrameThemes, ThemeThreeSetInTheFramesOwnCreationDrawsThemedFromTheFirstPaint) {
  CMainLikeFrame* pClassic = CMainLikeFrame::Make(0, CRect(40, 40, 700, 420));
  ASSERT_NE(pClassic, nullptr);
  SaveWindowPng(pClassic->GetSafeHwnd(), L"commandbars_mainframe_theme0.png");
  const std::vector<COLORREF> classic = BarPixels(pClassic);
  pClassic->Destroy();

  CMainLikeFrame* pNative = CMainLikeFrame::Make(3, CRect(40, 40, 700, 420));
  ASSERT_NE(pNative, nullptr);
  SaveWindowPng(pNative->GetSafeHwnd(), L"commandbars_mainframe_theme3.png");
  CXTPBarThemeNative* pTheme = DYNAMIC_DOWNCAST(CXTPBarThemeNative, CXTPBarTheme::GetTheme());
  ASSERT_NE(pTheme, nullptr);
  EXPECT_EQ(pTheme->GetThemeNumber(), 3);
  const BOOL bStyles = XTVisualStyles()->IsAppThemed();
  if (bStyles) {
    // The classes opened for the frame although there was no main window when the theme was set.
    EXPECT_TRUE(pTheme->IsToolBarThemed());
    EXPECT_TRUE(pTheme->IsRebarThemed());
    EXPECT_TRUE(pTheme->IsStatusThemed());
    const std::vector<COLORREF> native = BarPixels(pNative);
    ASSERT_EQ(native.size(), classic.size());
    size_t nDiffering = 0;
    for (size_t i = 0; i < native.size(); ++i) nDiffering += native[i] != classic[i];
    EXPECT_GT(nDiffering, native.size() / 50);
  }
  // Both frames show the status bar's panes and the toolbar's buttons with their texts below.
  EXPECT_EQ(pNative->m_wndStatusBar.GetPaneCount(), 4);
  EXPECT_TRUE(pNative->m_pToolBar->GetShowTextBelowIcons());
  EXPECT_GT(pNative->m_pToolBar->GetControlCount(), 4);
  pNative->Destroy();
  CXTPBarTheme::SetTheme(0);
}

// ---- One frame for the keyboard and mouse tests -------------------------------------------------------

class MainFrameInputTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_pFrame = CMainLikeFrame::Make(3, CRect(60, 60, 700, 440)); }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr) s_pFrame->Destroy();
    s_pFrame = nullptr;
    CXTPBarTheme::SetTheme(0);
  }
  void SetUp() override {
    ASSERT_NE(s_pFrame, nullptr);
    m_pFrame = s_pFrame;
    m_pFrame->m_arrCommands.clear();
    testsupport::BringToFront(m_pFrame->GetSafeHwnd());
    SettleLayout(m_pFrame);
    testsupport::InputMoveMouse(5, 1000);
    testsupport::InputSetPreTranslate(PreTranslateThroughTheApp);
  }
  void TearDown() override {
    testsupport::InputSetPreTranslate(nullptr);
    for (UINT nKey : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
      if (::GetAsyncKeyState(static_cast<int>(nKey)) < 0) InputKey(nKey, false);
    }
    m_pFrame->GetCommandBars()->ClosePopups();
    m_pFrame->MenuBar()->EnterTracking(0, TRUE);
    m_pFrame->MenuBar()->SetSelected(-1);
    PumpMessages(30);
  }
  CXTPCommandBar* OpenPopup() const {
    CXTPControl* pPopuped = m_pFrame->MenuBar()->GetPopupedControl();
    CXTPCommandBar* pPopup = pPopuped != nullptr ? pPopuped->GetCommandBar() : nullptr;
    return pPopup != nullptr && pPopup->GetSafeHwnd() != nullptr && pPopup->IsWindowVisible() ? pPopup
                                                                                              : nullptr;
  }
  // Whether a title of the menu bar is shown selected.
  BOOL TitleHighlighted() const {
    CXTPMenuBar* pMenuBar = m_pFrame->MenuBar();
    BOOL bSelected = pMenuBar->GetCurSel() != -1;
    for (int i = 0; i < pMenuBar->GetControlCount(); ++i) bSelected |= pMenuBar->GetControl(i)->GetSelected();
    return bSelected;
  }
  // Opens the File menu with a click on its title.
  void ClickFileMenuOpen() const {
    const CPoint ptFile = ControlCenter(m_pFrame->MenuBar()->GetControl(0));
    InputClick(ptFile.x, ptFile.y);
  }
  static BOOL HooksReleased() {
    return CXTPBarMouseTracker::GetThreadState()->GetTrackedCount() == 0 &&
           !CXTPBarKeyboardHook::GetThreadState()->IsActive() &&
           !CXTPBarKeyboardHook::GetThreadState()->IsHookSet();
  }

  static CMainLikeFrame* s_pFrame;
  CMainLikeFrame* m_pFrame = nullptr;
};

CMainLikeFrame* MainFrameInputTest::s_pFrame = nullptr;

TEST_F(MainFrameInputTest, AltLetterOpensTheMenuAndArrowsAndEnterRunTheCommand) {
  InputTap('E', VK_MENU);
  CXTPCommandBar* pEdit = OpenPopup();
  ASSERT_NE(pEdit, nullptr);
  EXPECT_EQ(m_pFrame->MenuBar()->GetPopupedIndex(), 1);
  // Opened by the keyboard: its first item is selected; Down moves to the second.
  EXPECT_EQ(pEdit->GetControl(pEdit->GetCurSel())->GetID(), ID_TEST_CUT);
  InputTap(VK_DOWN);
  EXPECT_EQ(pEdit->GetControl(pEdit->GetCurSel())->GetID(), ID_TEST_COPY);
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_edit_menu.png");
  SaveWindowPng(pEdit->GetSafeHwnd(), L"commandbars_mainframe_edit_popup.png");
  InputTap(VK_RETURN);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrCommands[0], UINT(ID_TEST_COPY));
  EXPECT_EQ(OpenPopup(), nullptr);
  EXPECT_TRUE(HooksReleased());
}

TEST_F(MainFrameInputTest, F10TracksTheMenuBarAndDownOpensTheSelectedMenu) {
  InputTap(VK_F10);
  CXTPMenuBar* pMenuBar = m_pFrame->MenuBar();
  EXPECT_TRUE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(pMenuBar->GetCurSel(), 0);
  EXPECT_EQ(OpenPopup(), nullptr);
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_f10.png");
  // Right moves along the bar; Down opens the menu under the selection.
  InputTap(VK_RIGHT);
  EXPECT_EQ(pMenuBar->GetCurSel(), 1);
  InputTap(VK_DOWN);
  ASSERT_NE(OpenPopup(), nullptr);
  EXPECT_EQ(pMenuBar->GetPopupedIndex(), 1);
  // Escape closes the menu and leaves the bar tracking; a second one ends it.
  InputTap(VK_ESCAPE);
  EXPECT_EQ(OpenPopup(), nullptr);
  EXPECT_TRUE(pMenuBar->IsTrackingMode());
  InputTap(VK_ESCAPE);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_TRUE(HooksReleased());
}

TEST_F(MainFrameInputTest, AltAloneTracksTheMenuBar) {
  InputTap(VK_MENU);
  CXTPMenuBar* pMenuBar = m_pFrame->MenuBar();
  EXPECT_TRUE(pMenuBar->IsTrackingMode());
  EXPECT_EQ(pMenuBar->GetCurSel(), 0);
  InputTap(VK_MENU);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_TRUE(HooksReleased());
}

TEST_F(MainFrameInputTest, LeftAndRightInAnOpenMenuGoToTheNextMenusAndInAndOutOfASubmenu) {
  CXTPMenuBar* pMenuBar = m_pFrame->MenuBar();
  InputTap('F', VK_MENU);
  ASSERT_NE(OpenPopup(), nullptr);
  // Right on an item without a submenu: the menu bar opens the next menu.
  InputTap(VK_RIGHT);
  CXTPCommandBar* pEdit = OpenPopup();
  ASSERT_NE(pEdit, nullptr);
  EXPECT_EQ(pMenuBar->GetPopupedIndex(), 1);
  // Right on "More" opens its submenu, Left closes it back to the Edit menu.
  InputTap(VK_UP);
  CXTPControl* pMore = pEdit->GetControl(pEdit->GetCurSel());
  ASSERT_STREQ(pMore->GetCaption(), L"&More");
  InputTap(VK_RIGHT);
  EXPECT_EQ(pEdit->GetPopupedIndex(), pMore->GetIndex());
  ASSERT_NE(pMore->GetCommandBar(), nullptr);
  EXPECT_TRUE(pMore->GetCommandBar()->GetSafeHwnd() != nullptr && pMore->GetCommandBar()->IsWindowVisible());
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_submenu_by_keys.png");
  InputTap(VK_LEFT);
  EXPECT_EQ(pEdit->GetPopupedIndex(), -1);
  EXPECT_EQ(OpenPopup(), pEdit);
  EXPECT_EQ(pEdit->GetCurSel(), pMore->GetIndex());
  // Left in the Edit menu: the menu bar opens the previous menu.
  InputTap(VK_LEFT);
  EXPECT_EQ(pMenuBar->GetPopupedIndex(), 0);
  EXPECT_NE(OpenPopup(), nullptr);
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
}

TEST_F(MainFrameInputTest, LeavingKeyboardTrackingLeavesNoTitleHighlighted) {
  CXTPMenuBar* pMenuBar = m_pFrame->MenuBar();
  // Alt pressed twice.
  InputTap(VK_MENU);
  ASSERT_TRUE(pMenuBar->IsTrackingMode());
  InputTap(VK_MENU);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_FALSE(TitleHighlighted()) << "after Alt twice";
  // Alt+H runs the menu bar's own Help item.
  InputTap('H', VK_MENU);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_FALSE(pMenuBar->IsTrackingMode());
  EXPECT_FALSE(TitleHighlighted()) << "after Alt+H";
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_after_alt_h.png");
}

TEST_F(MainFrameInputTest, AClickOutsideClosesTheMenusAndReachesTheWindowClicked) {
  ClickFileMenuOpen();
  ASSERT_NE(OpenPopup(), nullptr);
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_file_menu.png");
  // A click on the status bar, outside every menu, once the mouse has left the title.
  CRect rcStatus;
  m_pFrame->m_wndStatusBar.GetWindowRect(&rcStatus);
  testsupport::InputMoveMouse(rcStatus.left + 40, rcStatus.CenterPoint().y);
  EXPECT_TRUE(
      testsupport::PumpUntil([] { return CXTPBarMouseTracker::GetThreadState()->m_hwndHover == nullptr; }));
  InputClick(rcStatus.left + 40, rcStatus.CenterPoint().y);
  EXPECT_EQ(OpenPopup(), nullptr);
  EXPECT_FALSE(m_pFrame->MenuBar()->IsTrackingMode());
  EXPECT_TRUE(HooksReleased());
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
  EXPECT_FALSE(TitleHighlighted()) << "the title opened by the mouse stayed highlighted";
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_closed.png");
}

// What a window manager does to the frame (moves it, gives the activation to another window) and
// what a modal dialog does to it (disables it) comes without a click; each closes the open menu.
TEST_F(MainFrameInputTest, TheMenuClosesWhenItsFrameMovesIsDisabledOrLosesTheActivation) {
  CRect rcFrame;
  m_pFrame->GetWindowRect(&rcFrame);
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"Another Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             rcFrame.right + 20, rcFrame.top, 200, 120, nullptr, nullptr));
  const struct {
    const char* name;
    std::function<void()> fnLeave;
    std::function<void()> fnBack;
  } cases[] = {
      {"moved",
       [&] {
         m_pFrame->SetWindowPos(nullptr, rcFrame.left + 30, rcFrame.top + 20, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       },
       [&] {
         m_pFrame->SetWindowPos(nullptr, rcFrame.left, rcFrame.top, 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       }},
      {"disabled", [&] { m_pFrame->EnableWindow(FALSE); }, [&] { m_pFrame->EnableWindow(TRUE); }},
      {"deactivated", [&] { other.SetForegroundWindow(); },
       [&] { testsupport::BringToFront(m_pFrame->GetSafeHwnd()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClickFileMenuOpen();
    ASSERT_NE(OpenPopup(), nullptr);
    c.fnLeave();
    EXPECT_TRUE(testsupport::PumpUntil([this] { return OpenPopup() == nullptr; }));
    EXPECT_FALSE(m_pFrame->MenuBar()->IsTrackingMode());
    EXPECT_TRUE(HooksReleased());
    // The title under the mouse goes once the window is left behind.
    EXPECT_TRUE(testsupport::PumpUntil([this] { return !TitleHighlighted(); }));
    c.fnBack();
  }
  other.DestroyWindow();
}

TEST_F(MainFrameInputTest, AltWhileAMenuIsOpenOnlyClosesItAndItsReleaseOpensNothing) {
  InputTap('F', VK_MENU);
  ASSERT_NE(OpenPopup(), nullptr);
  InputTap(VK_MENU);
  EXPECT_EQ(OpenPopup(), nullptr);
  EXPECT_FALSE(m_pFrame->MenuBar()->IsTrackingMode());
  EXPECT_TRUE(HooksReleased());
  // Keys go to the frame again.
  InputTap('E', VK_MENU);
  EXPECT_NE(OpenPopup(), nullptr);
}

TEST_F(MainFrameInputTest, TheStatusBarShowsTheMenuItemsPrompt) {
  InputTap('F', VK_MENU);
  CXTPCommandBar* pFile = OpenPopup();
  ASSERT_NE(pFile, nullptr);
  // The first item is selected by the keyboard; its prompt shows in the message pane.
  EXPECT_STREQ(m_pFrame->m_wndStatusBar.GetPaneText(0), L"Opens a document");
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mainframe_prompt.png");
}

// ---- Commands chosen with Enter that open a modal box ------------------------------------------------

class MainFrameAskTest : public MainFrameInputTest {
 protected:
  void TearDown() override {
    MainFrameInputTest::TearDown();
    if (m_pAsk != nullptr) m_pAsk->GetControls()->Remove(m_pAsk);
    SettleLayout(m_pFrame);
  }

  // What the test saw when the box showed, before it answered it.
  struct Seen {
    bool bShown = false;
    bool bMenusClosed = false;
    bool bBoxActive = false;
  };

  // Presses Enter on the control chosen, then, once the box that its command opens shows, looks at it
  // and presses nAnswerKey in it. The box's answer.
  int EnterAndAnswer(UINT nAnswerKey, Seen* pSeen, LPCTSTR lpszPicture) {
    m_pFrame->m_nAskAnswer = 0;
    {
      ModalLoopInput answer([=]() -> std::function<void()> {
        HWND hBox = ::FindWindow(L"#32770", ASK_TITLE);
        if (hBox == nullptr || !::IsWindowVisible(hBox)) return nullptr;
        pSeen->bShown = true;
        pSeen->bMenusClosed = CXTPBarMouseTracker::GetThreadState()->GetTrackedCount() == 0 &&
                              !CXTPBarKeyboardHook::GetThreadState()->IsActive();
        pSeen->bBoxActive = ::GetActiveWindow() == hBox && ::GetForegroundWindow() == hBox;
        if (lpszPicture != nullptr) SaveWindowPng(hBox, lpszPicture);
        return [nAnswerKey] { testsupport::KeyPress(static_cast<WORD>(nAnswerKey)); };
      });
      InputTap(VK_RETURN);
      testsupport::PumpUntil([this] { return m_pFrame->m_nAskAnswer != 0; }, 10000);
    }
    return m_pFrame->m_nAskAnswer;
  }

  CXTPControl* m_pAsk = nullptr;
};

TEST_F(MainFrameAskTest, BoxOpenedByEnterOnAMenuItemWaitsForTheKeysTypedInIt) {
  CXTPCommandBar* pFileMenu = m_pFrame->MenuBar()->GetControl(0)->GetCommandBar();
  m_pAsk = pFileMenu->GetControls()->Add(xtpControlButton, ID_TEST_ASK);
  m_pAsk->SetCaption(L"As&k...");
  for (UINT nAnswerKey : {VK_ESCAPE, VK_RETURN}) {
    SCOPED_TRACE(nAnswerKey == VK_ESCAPE ? "answered with Escape" : "answered with Enter");
    InputTap('F', VK_MENU);
    CXTPCommandBar* pFile = OpenPopup();
    ASSERT_EQ(pFile, pFileMenu);
    // Up from the first item wraps round to the last one.
    InputTap(VK_UP);
    ASSERT_EQ(pFile->GetCurSel(), m_pAsk->GetIndex());
    Seen seen;
    const int nAnswer = EnterAndAnswer(
        nAnswerKey, &seen, nAnswerKey == VK_ESCAPE ? L"commandbars_mainframe_enter_box.png" : nullptr);
    EXPECT_TRUE(seen.bShown) << "the box did not wait for its own keys";
    EXPECT_EQ(nAnswer, nAnswerKey == VK_ESCAPE ? IDCANCEL : IDOK);
    EXPECT_TRUE(seen.bMenusClosed);
    EXPECT_TRUE(seen.bBoxActive) << "the box did not come up in front";
    EXPECT_EQ(OpenPopup(), nullptr);
    EXPECT_TRUE(HooksReleased());
    EXPECT_EQ(m_pFrame->MenuBar()->GetCurSel(), -1) << "the menu's title stayed highlighted";
  }
}

TEST_F(MainFrameAskTest, BoxOpenedByEnterOnAButtonOfTheMenuBarWaitsForTheKeysTypedInIt) {
  m_pAsk = m_pFrame->MenuBar()->GetControls()->Add(xtpControlButton, ID_TEST_ASK);
  m_pAsk->SetCaption(L"As&k");
  SettleLayout(m_pFrame);
  // F10 selects the first menu, End the last control of the bar.
  InputTap(VK_F10);
  InputTap(VK_END);
  ASSERT_EQ(m_pFrame->MenuBar()->GetCurSel(), m_pAsk->GetIndex());
  Seen seen;
  EXPECT_EQ(EnterAndAnswer(VK_ESCAPE, &seen, nullptr), IDCANCEL);
  EXPECT_TRUE(seen.bShown) << "the box did not wait for its own keys";
  EXPECT_TRUE(seen.bMenusClosed);
  EXPECT_TRUE(seen.bBoxActive);
  EXPECT_FALSE(m_pFrame->MenuBar()->IsTrackingMode());
  EXPECT_TRUE(HooksReleased());
  EXPECT_EQ(m_pFrame->MenuBar()->GetCurSel(), -1) << "the button stayed highlighted";
}

}  // namespace
