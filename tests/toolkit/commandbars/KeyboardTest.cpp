// Keys: shortcut texts, key names and mnemonics of the shortcut manager, the shortcut edit capturing a
// combination typed on the keyboard, and menu keys and bar navigation in the test frame.
#include <gtest/gtest.h>

#include <AcceleratorManager.h>
#include <CommandBarsOptions.h>
#include <ControlPopup.h>
#include <CustomizeDragSource.h>
#include <MenuBar.h>
#include <PopupBar.h>
#include <ShortcutEdit.h>
#include <ToolkitPopupMenu.h>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputKey;
using testsupport::InputTap;
using testsupport::PumpMessages;

ACCEL Accel(BYTE fVirt, WORD key, WORD cmd = 0) {
  ACCEL accel = {fVirt, key, cmd};
  return accel;
}

// ---- Shortcut manager ----------------------------------------------------------------------------------

class ShortcutManagerTest : public ::testing::Test {
 protected:
  CString Format(BYTE fVirt, WORD key, int* pnPriority = nullptr) {
    const ACCEL accel = Accel(fVirt, key);
    return m_manager.FormatShortcut(&accel, pnPriority);
  }
  CString TextOf(std::initializer_list<ACCEL> accels, int nCmd, CString strCurrent = CString()) {
    std::vector<ACCEL> table(accels);
    m_manager.SetAccelerators(table.data(), static_cast<int>(table.size()));
    m_bFound = m_manager.GetShortcutText(nCmd, strCurrent);
    return strCurrent;
  }

  CXTPAcceleratorManager m_manager;
  BOOL m_bFound = FALSE;
};

TEST_F(ShortcutManagerTest, EntriesFormatWithModifiersInCtrlShiftAltOrder) {
  EXPECT_EQ(Format(FVIRTKEY | FCONTROL | FSHIFT, 'S'), CString(L"Ctrl+Shift+S"));
  EXPECT_EQ(Format(FVIRTKEY | FALT | FSHIFT | FCONTROL, VK_F5), CString(L"Ctrl+Shift+Alt+F5"));
  EXPECT_EQ(Format(FVIRTKEY, VK_NEXT), CString(L"Page Down"));
  EXPECT_EQ(Format(FVIRTKEY | FCONTROL, VK_MULTIPLY), CString(L"Ctrl+Num *"));
  // Ctrl+Break names its Ctrl itself.
  EXPECT_EQ(Format(FVIRTKEY | FCONTROL, VK_CANCEL), CString(L"Ctrl+Break"));
  // Character keys add the character, except Escape and Tab; a zero key drops the trailing "+".
  EXPECT_EQ(Format(FSHIFT, L'q'), CString(L"Shift+q"));
  EXPECT_EQ(Format(FSHIFT, 27), CString(L"Shift+"));
  EXPECT_EQ(Format(FCONTROL | FSHIFT, 0), CString(L"Ctrl+Shift"));
}

TEST_F(ShortcutManagerTest, PriorityIsFourWithoutModifiersThenCtrlAltShift) {
  int nPriority = 0;
  Format(FVIRTKEY, VK_F12, &nPriority);
  EXPECT_EQ(nPriority, 4);
  Format(FVIRTKEY | FCONTROL | FALT, 'S', &nPriority);
  EXPECT_EQ(nPriority, 3);
  Format(FVIRTKEY | FALT | FSHIFT, 'S', &nPriority);
  EXPECT_EQ(nPriority, 2);
  Format(FVIRTKEY | FSHIFT, 'S', &nPriority);
  EXPECT_EQ(nPriority, 1);
}

TEST_F(ShortcutManagerTest, BestTextWinsAndACurrentTextThatIsOneOfThemStays) {
  EXPECT_EQ(TextOf({Accel(FVIRTKEY | FCONTROL, 'S', 7), Accel(FVIRTKEY, VK_F12, 7)}, 7), CString(L"F12"));
  EXPECT_EQ(TextOf({Accel(FVIRTKEY | FSHIFT, 'S', 7), Accel(FVIRTKEY | FALT, 'S', 7)}, 7), CString(L"Alt+S"));
  EXPECT_EQ(TextOf({Accel(FVIRTKEY | FALT, 'S', 7), Accel(FVIRTKEY | FSHIFT, 'S', 7)}, 7), CString(L"Alt+S"));
  // Equal priorities keep the first.
  EXPECT_EQ(TextOf({Accel(FVIRTKEY | FCONTROL, 'S', 7), Accel(FVIRTKEY | FCONTROL, 'K', 7)}, 7),
            CString(L"Ctrl+S"));
  EXPECT_EQ(TextOf({Accel(FVIRTKEY | FCONTROL, 'S', 7), Accel(FVIRTKEY, VK_F12, 7)}, 7, L"Ctrl+S"),
            CString(L"Ctrl+S"));
  EXPECT_TRUE(m_bFound);
  EXPECT_EQ(TextOf({Accel(FVIRTKEY | FCONTROL, 'S', 7)}, 8, L"Ctrl+S"), CString());
  EXPECT_FALSE(m_bFound);
}

TEST_F(ShortcutManagerTest, WithoutAnyTableThereIsNoText) {
  CString strText = L"F1";
  EXPECT_FALSE(m_manager.GetShortcutText(7, strText));
}

TEST_F(ShortcutManagerTest, OnlyAPlainEscapeIsRefusedAndOnlyUntilEscapeIsAllowed) {
  ACCEL escape = Accel(FVIRTKEY, VK_ESCAPE), shiftEscape = Accel(FVIRTKEY | FSHIFT, VK_ESCAPE);
  EXPECT_FALSE(m_manager.IsShortcutAllowed(&escape));
  EXPECT_TRUE(m_manager.IsShortcutAllowed(&shiftEscape));
  m_manager.m_bAllowEscapeShortcut = TRUE;
  EXPECT_TRUE(m_manager.IsShortcutAllowed(&escape));
}

TEST_F(ShortcutManagerTest, BuiltInKeyNamesAndSystemNamesAsAFallback) {
  EXPECT_EQ(m_manager.GetKeyName('7'), CString(L"7"));
  EXPECT_EQ(m_manager.GetKeyName(VK_APPS), CString(L"Application"));
  EXPECT_EQ(m_manager.GetKeyName(VK_NUMPAD9), CString(L"Num 9"));
  EXPECT_EQ(m_manager.GetKeyName(VK_SCROLL), CString(L"Scrl Lock"));
  EXPECT_EQ(m_manager.GetKeyName(VK_OEM_CLEAR), CString(L"Oem Clear"));
  // Key 3 has no system name, so the table answers even when system names come first.
  m_manager.m_bUseSystemKeyNameText = TRUE;
  EXPECT_EQ(m_manager.GetKeyName(VK_CANCEL), CString(L"Ctrl+Break"));
  // A system name is lower case after its first letter.
  const CString strSystem = m_manager.GetKeyName(VK_NEXT);
  ASSERT_FALSE(strSystem.IsEmpty());
  CString strLower = strSystem;
  strLower.MakeLower();
  EXPECT_EQ(strSystem.Mid(1), strLower.Mid(1));
}

TEST_F(ShortcutManagerTest, MnemonicsMatchTheirKeyInEitherCaseAndNeverAKeyWithoutCharacter) {
  EXPECT_TRUE(CXTPAcceleratorManager::IsKeyForChar('F', L'f'));
  EXPECT_TRUE(CXTPAcceleratorManager::IsKeyForChar('F', L'F'));
  EXPECT_FALSE(CXTPAcceleratorManager::IsKeyForChar('G', L'f'));
  EXPECT_FALSE(CXTPAcceleratorManager::IsKeyForChar(VK_F1, L'f'));
  EXPECT_FALSE(CXTPAcceleratorManager::IsKeyForChar('F', 0));
  HKL layouts[16] = {};
  if (::GetKeyboardLayoutList(16, layouts) == 1) {
    // Cyrillic a sits on the F key of a Russian layout; with one layout nothing maps to it.
    EXPECT_FALSE(CXTPAcceleratorManager::IsKeyForChar('F', L'\x0430'));
  }
}

TEST_F(ShortcutManagerTest, TranslationStopsWhileDisabled) {
  m_manager.SetAccelerators(std::vector<ACCEL>{Accel(FVIRTKEY | FCONTROL, 'S', 7)}.data(), 1);
  MSG msg = {};
  msg.message = WM_KEYDOWN;
  msg.wParam = 'S';
  m_manager.AdjustDisableCount(TRUE);
  EXPECT_FALSE(m_manager.TranslateAccelerator(static_cast<HWND>(nullptr), &msg));
  m_manager.AdjustDisableCount(FALSE);
  EXPECT_EQ(m_manager.GetDisableCount(), 0);
}

TEST_F(ShortcutManagerTest, ResetReturnsToTheDefaultTableOrToNone) {
  m_manager.SetAccelerators(std::vector<ACCEL>{Accel(FVIRTKEY, VK_F2, 7)}.data(), 1);
  m_manager.ResetAccelerators();
  EXPECT_EQ(m_manager.GetAcceleratorTable(), nullptr);
  ACCEL defaults[2] = {Accel(FVIRTKEY, VK_F3, 8), Accel(FVIRTKEY, VK_F4, 9)};
  m_manager.SetDefaultAccelerators(::CreateAcceleratorTable(defaults, 2));
  m_manager.SetAccelerators(std::vector<ACCEL>{Accel(FVIRTKEY, VK_F2, 7)}.data(), 1);
  m_manager.ResetAccelerators();
  ASSERT_NE(m_manager.GetAcceleratorTable(), nullptr);
  EXPECT_NE(m_manager.GetAcceleratorTable(), m_manager.GetDefaultAcceleratorTable());
  CString strText;
  EXPECT_TRUE(m_manager.GetShortcutText(9, strText));
  EXPECT_EQ(strText, CString(L"F4"));
}

// ---- Windows driven with real keys --------------------------------------------------------------------

// One shown frame for a suite: under Xvfb hiding a shown frame costs seconds. Each test puts back
// what it changes.
class SharedFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pFrame = CTestFrame::CreateTestFrame(CRect(60, 60, 660, 420));
    s_hFrame = s_pFrame != nullptr ? s_pFrame->GetSafeHwnd() : nullptr;
  }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr && ::IsWindow(s_hFrame)) s_pFrame->SaveAndDestroy();
    s_pFrame = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_pFrame, nullptr);
    m_pFrame = s_pFrame;
    m_hFrame = s_hFrame;
    m_pFrame->m_arrCommands.clear();
    ::SetForegroundWindow(m_hFrame);
    SettleLayout(m_pFrame);
    testsupport::InputMoveMouse(2, 1000);
    testsupport::InputSetPreTranslate(PreTranslateThroughTheApp);
  }
  void TearDown() override {
    testsupport::InputSetPreTranslate(nullptr);
    for (UINT nKey : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
      if (::GetAsyncKeyState(static_cast<int>(nKey)) < 0) InputKey(nKey, false);
    }
    if (m_pFrame != nullptr && ::IsWindow(m_hFrame)) EndTracking();
  }
  CXTPMenuBar* MenuBar() const { return m_pFrame->GetCommandBars()->GetMenuBar(); }
  CXTPCommandBar* OpenPopupOf(CXTPCommandBar* pBar) const {
    CXTPControl* pPopuped = pBar->GetPopupedControl();
    CXTPCommandBar* pPopup = pPopuped != nullptr ? pPopuped->GetCommandBar() : nullptr;
    return pPopup != nullptr && pPopup->GetSafeHwnd() != nullptr && pPopup->IsWindowVisible() ? pPopup
                                                                                              : nullptr;
  }
  // Ends the menu bar's tracking, whatever state a key left it in.
  void EndTracking() {
    m_pFrame->GetCommandBars()->ClosePopups();
    MenuBar()->EnterTracking(0, TRUE);
    // Leaving tracking keeps a selection; mnemonics search from it, so the next test starts from none.
    MenuBar()->SetSelected(-1);
    PumpMessages(30);
  }

  static CTestFrame* s_pFrame;
  static HWND s_hFrame;
  CTestFrame* m_pFrame = nullptr;
  HWND m_hFrame = nullptr;
};

CTestFrame* SharedFrameTest::s_pFrame = nullptr;
HWND SharedFrameTest::s_hFrame = nullptr;

class KeyboardFrameTest : public SharedFrameTest {};

TEST_F(KeyboardFrameTest, ShortcutEditShowsHeldModifiersFixesTheKeyAndStartsOverOnTheNext) {
  CXTPAcceleratorManager* pManager = m_pFrame->GetCommandBars()->GetShortcutManager();
  CXTPShortcutEdit edit(pManager);
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(200, 200, 400, 224), m_pFrame, 4000));
  edit.SetFocus();
  auto text = [&]() {
    CString strText;
    edit.GetWindowText(strText);
    return strText;
  };
  InputKey(VK_CONTROL, true);
  InputKey(VK_SHIFT, true);
  EXPECT_EQ(text(), CString(L"Ctrl+Shift+"));
  EXPECT_FALSE(edit.IsKeyDefined());
  InputKey('S', true);
  EXPECT_EQ(text(), CString(L"Ctrl+Shift+S"));
  EXPECT_TRUE(edit.IsKeyDefined());
  InputKey('S', false);
  InputKey(VK_SHIFT, false);
  InputKey(VK_CONTROL, false);
  EXPECT_EQ(text(), CString(L"Ctrl+Shift+S"));
  EXPECT_EQ(edit.GetAccel().fVirt, FVIRTKEY | FCONTROL | FSHIFT);
  EXPECT_EQ(edit.GetAccel().key, 'S');

  InputTap('K');
  EXPECT_EQ(text(), CString(L"K"));
  // A plain Escape is no shortcut; Shift+Escape is.
  InputTap(VK_ESCAPE);
  EXPECT_EQ(text(), CString());
  EXPECT_FALSE(edit.IsKeyDefined());
  InputTap(VK_ESCAPE, VK_SHIFT);
  EXPECT_EQ(text(), CString(L"Shift+Esc"));
  pManager->m_bAllowEscapeShortcut = TRUE;
  InputTap(VK_ESCAPE);
  EXPECT_EQ(text(), CString(L"Esc"));
  pManager->m_bAllowEscapeShortcut = FALSE;
  edit.DestroyWindow();
}

TEST_F(KeyboardFrameTest, AltLetterOpensTheMenuWithThatMnemonicAndNumpadDigitsOpenNothing) {
  InputTap(VK_NUMPAD5, VK_MENU);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), -1);
  EXPECT_EQ(CXTPBarMouseTracker::GetThreadState()->GetTrackedCount(), 0);
  EndTracking();

  InputTap('E', VK_MENU);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), 1);
  CXTPCommandBar* pPopup = OpenPopupOf(MenuBar());
  ASSERT_NE(pPopup, nullptr);
  EXPECT_NE(pPopup->GetControls()->FindControl(ID_TEST_CUT), nullptr);
  EXPECT_TRUE(m_pFrame->GetCommandBars()->IsKeyboardCuesVisible());
  EndTracking();
}

TEST_F(KeyboardFrameTest, TwoMenusSharingAMnemonicAreOnlySelectedNotOpened) {
  CXTPControl* pFormat = MenuBar()->GetControls()->Add(xtpControlPopup, 0);
  pFormat->SetCaption(L"&Format");
  pFormat->GetCommandBar()->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_A);
  SettleLayout(m_pFrame);
  InputTap('F', VK_MENU);
  EXPECT_TRUE(MenuBar()->IsTrackingMode());
  EXPECT_EQ(MenuBar()->GetCurSel(), 0);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), -1);
  // The next press moves on to the other one.
  MenuBar()->OnKeyNavigate('F');
  EXPECT_EQ(MenuBar()->GetCurSel(), pFormat->GetIndex());
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), -1);
  EndTracking();
  MenuBar()->GetControls()->Remove(pFormat);
}

TEST_F(KeyboardFrameTest, WithKeyboardCuesUseNoneAltLetterOpensNoMenu) {
  CXTPCommandBarsOptions* pOptions = m_pFrame->GetCommandBars()->GetCommandBarsOptions();
  pOptions->keyboardCuesUse = xtpKeyboardCuesUseNone;
  InputTap('F', VK_MENU);
  EXPECT_EQ(MenuBar()->GetPopupedIndex(), -1);
  EXPECT_FALSE(MenuBar()->IsTrackingMode());
  pOptions->keyboardCuesUse = xtpKeyboardCuesUseMenuOnly;
}

TEST_F(KeyboardFrameTest, EscapeInASubmenuReturnsToItsParentOnly) {
  MenuBar()->SetPopuped(1, TRUE);
  CXTPCommandBar* pEdit = OpenPopupOf(MenuBar());
  ASSERT_NE(pEdit, nullptr);
  CXTPControl* pMore = pEdit->GetControl(pEdit->GetControlCount() - 1);
  ASSERT_EQ(pMore->GetType(), xtpControlPopup);
  pEdit->SetPopuped(pMore->GetIndex(), TRUE);
  CXTPCommandBar* pMoreBar = OpenPopupOf(pEdit);
  ASSERT_NE(pMoreBar, nullptr);
  pMoreBar->OnKeyNavigate(VK_ESCAPE);
  PumpMessages(30);
  EXPECT_EQ(OpenPopupOf(pEdit), nullptr);
  EXPECT_EQ(OpenPopupOf(MenuBar()), pEdit);
  EXPECT_TRUE(pEdit->IsTrackingMode());
  EXPECT_EQ(pEdit->GetCurSel(), pMore->GetIndex());
  EndTracking();
}

TEST_F(KeyboardFrameTest, LeftMovesToTheNextControlInARightToLeftBar) {
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  pToolBar->SetSelected(1, TRUE);
  pToolBar->OnKeyNavigate(VK_LEFT);
  EXPECT_EQ(pToolBar->GetCurSel(), 0);
  pToolBar->ModifyStyleEx(0, WS_EX_LAYOUTRTL);
  pToolBar->OnKeyNavigate(VK_LEFT);
  EXPECT_EQ(pToolBar->GetCurSel(), 1);
  pToolBar->ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
  pToolBar->SetSelected(-1);
}

// Counts the hover calls the bar's timer makes.
class CHoverCountingControl : public CXTPControlButton {
 public:
  void OnMouseHover() override { m_nHovers++; }
  int m_nHovers = 0;
};

TEST_F(KeyboardFrameTest, OnlyAMouseSelectionStartsTheHoverTimer) {
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  auto* pCounting = static_cast<CHoverCountingControl*>(
      pToolBar->GetControls()->AddControl(new CHoverCountingControl, ID_TEST_ITEM_A));
  SettleLayout(m_pFrame);
  EXPECT_TRUE(pToolBar->SetSelected(pCounting->GetIndex(), TRUE));
  EXPECT_FALSE(pToolBar->SetSelected(pCounting->GetIndex(), TRUE));
  PumpMessages(450);
  EXPECT_EQ(pCounting->m_nHovers, 0);
  pToolBar->SetSelected(-1);
  EXPECT_TRUE(pToolBar->SetSelected(pCounting->GetIndex(), FALSE));
  PumpMessages(450);
  EXPECT_EQ(pCounting->m_nHovers, 1);
  pToolBar->SetSelected(-1);
  pToolBar->GetControls()->Remove(pCounting);
}

TEST_F(KeyboardFrameTest, DroppingAControlOntoItselfRegroupsItOnlyAfterMoreThanFourPixels) {
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  CXTPControl* pCut = pToolBar->GetControls()->FindControl(ID_TEST_CUT);
  ASSERT_NE(pCut, nullptr);
  const BOOL bGroup = pCut->GetBeginGroup();
  pCut->SetBeginGroup(FALSE);
  SettleLayout(m_pFrame);
  const int nCount = pToolBar->GetControlCount();
  const CPoint ptStart = pCut->GetRect().CenterPoint();
  const CPoint ptFour(ptStart.x + 4, ptStart.y);
  DROPEFFECT effect = DROPEFFECT_MOVE;
  pToolBar->OnCustomizeDragEnter(pCut, ptFour, effect);
  pToolBar->OnCustomizeDrop(pCut, effect, ptFour, ptStart);
  EXPECT_FALSE(pCut->GetBeginGroup());
  EXPECT_EQ(effect, DROPEFFECT(DROPEFFECT_MOVE));
  EXPECT_EQ(pToolBar->GetControlCount(), nCount);

  const CPoint ptFive(ptStart.x + 5, ptStart.y);
  pToolBar->OnCustomizeDragEnter(pCut, ptFive, effect);
  pToolBar->OnCustomizeDrop(pCut, effect, ptFive, ptStart);
  EXPECT_TRUE(pCut->GetBeginGroup());
  EXPECT_EQ(effect, DROPEFFECT(5));
  EXPECT_EQ(pToolBar->GetControlCount(), nCount);
  pCut->SetBeginGroup(bGroup);
}

LRESULT CALLBACK EmptyTheContextMenu(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR) {
  if (message == XTP_WM_TOOLBARCONTEXTMENU)
    reinterpret_cast<CXTPPopupBar*>(lParam)->GetControls()->RemoveAll();
  return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

TEST_F(KeyboardFrameTest, ToolbarContextMenuThatTheFrameEmptiedDoesNotOpen) {
  ASSERT_TRUE(::SetWindowSubclass(m_hFrame, EmptyTheContextMenu, 1, 0));
  // Should it open after all, it is closed once it tracks, so that the test ends.
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  {
    ModalLoopInput close([pCommandBars]() -> std::function<void()> {
      if (CXTPBarMouseTracker::GetThreadState()->GetTrackedCount() == 0) return nullptr;
      pCommandBars->ClosePopups();
      return [] {};
    });
    pCommandBars->ContextMenu(0, 200, 200);
    EXPECT_FALSE(close.Sent()) << "the emptied menu opened";
  }
  ::RemoveWindowSubclass(m_hFrame, EmptyTheContextMenu, 1);
}

// While a popup tracks in its own loop, clicks item nIndex of the open popup with real input, once it
// shows; the popup's state can be looked at then.
class TrackedPopupClicker {
 public:
  explicit TrackedPopupClicker(int nIndex, void (*pfnLook)(CXTPPopupBar*) = nullptr)
      : m_input([nIndex, pfnLook]() -> std::function<void()> {
          CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
          if (pState->GetTrackedCount() == 0) return nullptr;
          auto* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pState->GetTrackedAt(pState->GetTrackedCount() - 1));
          if (pPopup == nullptr || pPopup->GetSafeHwnd() == nullptr) return nullptr;
          if (pfnLook != nullptr) pfnLook(pPopup);
          const CPoint pt = ControlCenter(pPopup->GetControl(nIndex));
          return [pt] { testsupport::InputClick(pt.x, pt.y); };
        }) {}

 private:
  ModalLoopInput m_input;
};

TEST_F(KeyboardFrameTest, PopupTrackedForItsCommandReturnsTheClickedItemAndRunsNothing) {
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
  pPopup->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_A);
  pPopup->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_B);
  UINT nCmd = 0;
  {
    TrackedPopupClicker clicker(1);
    nCmd = pCommandBars->TrackPopupMenu(pPopup, TPM_RETURNCMD | TPM_NONOTIFY, 150, 150);
  }
  PumpMessages(50);
  EXPECT_EQ(nCmd, UINT(ID_TEST_ITEM_B));
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
  EXPECT_EQ(CXTPBarMouseTracker::GetThreadState()->GetTrackedCount(), 0);
  pPopup->InternalRelease();
}

TEST_F(KeyboardFrameTest, QuitWhileAPopupTracksEndsItsLoopAndIsLeftForTheProgramsLoop) {
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
  pPopup->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_A);
  UINT nCmd = 1;
  {
    ModalLoopInput quit([]() -> std::function<void()> {
      if (CXTPBarMouseTracker::GetThreadState()->GetTrackedCount() == 0) return nullptr;
      ::PostQuitMessage(7);
      return [] {};
    });
    nCmd = pCommandBars->TrackPopupMenu(pPopup, TPM_RETURNCMD | TPM_NONOTIFY, 150, 150);
    EXPECT_TRUE(quit.Sent());
  }
  MSG msg = {};
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(nCmd, 0u);
  EXPECT_EQ(CXTPBarMouseTracker::GetThreadState()->GetTrackedCount(), 0);
  EXPECT_FALSE(pPopup->GetSafeHwnd() != nullptr && pPopup->IsWindowVisible());
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
  pPopup->InternalRelease();
}

TEST_F(KeyboardFrameTest, DialogControlsMenuShowsAsAPopupBarWithTheToolbarsIcons) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_SUBMENU));
  static bool s_bIcons = false;
  s_bIcons = false;
  UINT nCmd = 0;
  {
    TrackedPopupClicker clicker(0, [](CXTPPopupBar* pPopup) {
      s_bIcons = pPopup->GetControlCount() == 2 && pPopup->GetControl(0)->GetImage(0) != nullptr &&
                 pPopup->GetControl(1)->GetImage(0) != nullptr;
      testsupport::SaveWindowPng(pPopup->GetSafeHwnd(), L"commandbars_toolkit_popup_menu.png");
    });
    nCmd = TrackToolkitPopupMenu(menu.GetSubMenu(0)->GetSafeHmenu(), TPM_RETURNCMD, 200, 200, m_pFrame,
                                 IDR_TEST_TOOLBAR24);
  }
  PumpMessages(50);
  EXPECT_TRUE(s_bIcons);
  EXPECT_EQ(nCmd, UINT(ID_TEST_ITEM_A));
  // Without the return flag the command goes to the owner.
  {
    TrackedPopupClicker clicker(1);
    EXPECT_NE(TrackToolkitPopupMenu(menu.GetSubMenu(0)->GetSafeHmenu(), 0, 200, 200, m_pFrame), 0u);
  }
  PumpMessages(50);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrCommands[0], UINT(ID_TEST_ITEM_B));
}

// ---- Running commands ---------------------------------------------------------------------------------

class ControlCommandTest : public SharedFrameTest {
 protected:
  // Opens the File menu and adds a button to it.
  CXTPControl* AddToFileMenu(int nId, LPCTSTR lpszCaption) {
    MenuBar()->SetPopuped(0);
    CXTPCommandBar* pFile = OpenPopupOf(MenuBar());
    if (pFile == nullptr) return nullptr;
    CXTPControl* pControl = pFile->GetControls()->Add(xtpControlButton, nId);
    pControl->SetCaption(lpszCaption);
    pFile->DelayLayout();
    PumpMessages(30);
    return pControl;
  }
  static void RemoveControl(CXTPControl* pControl) {
    if (pControl != nullptr) pControl->GetControls()->Remove(pControl);
  }
};

TEST_F(ControlCommandTest, ControlWithoutAnIdClosesTheMenuAndSendsNothing) {
  CXTPControl* pNothing = AddToFileMenu(0, L"Nothing");
  ASSERT_NE(pNothing, nullptr);
  const CPoint pt = ControlCenter(pNothing);
  testsupport::InputClick(pt.x, pt.y);
  EXPECT_EQ(OpenPopupOf(MenuBar()), nullptr);
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
  EXPECT_TRUE(m_pFrame->m_arrNotifications.empty());
  RemoveControl(pNothing);
}

TEST_F(ControlCommandTest, ItemThatKeepsItsMenuOpenShowsItsNewCheckAtOnce) {
  CXTPControl* pItem = AddToFileMenu(ID_TEST_ITEM_A, L"Keep open");
  ASSERT_NE(pItem, nullptr);
  pItem->SetCloseSubMenuOnClick(FALSE);
  CXTPCommandBar* pFile = OpenPopupOf(MenuBar());
  const CPoint pt = ControlCenter(pItem);
  testsupport::InputClick(pt.x, pt.y);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(OpenPopupOf(MenuBar()), pFile);
  EXPECT_TRUE(pItem->GetChecked());
  testsupport::InputClick(pt.x, pt.y);
  EXPECT_EQ(m_pFrame->m_arrCommands.size(), 2u);
  EXPECT_EQ(OpenPopupOf(MenuBar()), pFile);
  EXPECT_FALSE(pItem->GetChecked());
  EndTracking();
  RemoveControl(pItem);
}

TEST_F(ControlCommandTest, MovingBackOntoAPressedButtonBeforeReleaseRunsIt) {
  CXTPControl* pOpen = m_pFrame->m_pToolBar->GetControls()->FindControl(ID_TEST_OPEN);
  const CPoint pt = ControlCenter(pOpen);
  testsupport::InputDragVia(pt, CPoint(pt.x, pt.y + 120), pt, 0, 4);
  PumpMessages(50);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrCommands[0], UINT(ID_TEST_OPEN));
}

TEST_F(ControlCommandTest, DisablingACheckedControlThroughTheUpdatePassUnchecksIt) {
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  CXTPControl* pPaste = pToolBar->GetControls()->FindControl(ID_TEST_PASTE);
  ASSERT_NE(pPaste, nullptr);
  pPaste->SetChecked(TRUE);
  pToolBar->OnUpdateCmdUI(TRUE);
  EXPECT_TRUE(pPaste->GetEnabled());
  EXPECT_TRUE(pPaste->GetChecked());
  m_pFrame->m_bPasteDisabled = TRUE;
  pToolBar->OnUpdateCmdUI(TRUE);
  EXPECT_FALSE(pPaste->GetEnabled());
  EXPECT_FALSE(pPaste->GetChecked());
  m_pFrame->m_bPasteDisabled = FALSE;
  pToolBar->OnUpdateCmdUI(TRUE);
}

TEST_F(ControlCommandTest, ClosingTheFrameIsRefusedWhileTheCustomizeSheetIsOpen) {
  CXTPCustomizeDragSource* pDragSource = m_pFrame->GetCommandBars()->GetDragSource();
  CWnd sheet;
  ASSERT_TRUE(
      sheet.CreateEx(0, AfxRegisterWndClass(0), L"Customize", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  pDragSource->SetSheet(&sheet);
  m_pFrame->SendMessage(WM_CLOSE);
  PumpMessages(30);
  EXPECT_TRUE(::IsWindow(m_hFrame));
  pDragSource->SetSheet(nullptr);
  sheet.DestroyWindow();
}

TEST(ControlHiddenTest, PopupWithAnEmptySubBarIsNeverHiddenForDisuse) {
  CXTPCommandBars* pCommandBars = new CXTPCommandBars;
  CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
  pOptions->bAlwaysShowFullMenus = FALSE;
  pOptions->bAutoHideUnusedPopups = TRUE;
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(pCommandBars);
  CXTPControl* pEmpty = pPopup->GetControls()->Add(xtpControlPopup, 0);
  pEmpty->SetCaption(L"Empty");
  EXPECT_FALSE(pCommandBars->IsControlHidden(pEmpty));
  pPopup->InternalRelease();
  pCommandBars->InternalRelease();
}

}  // namespace
