// The customize sheet opened from a frame and driven with real input: toolbars made, renamed and
// deleted on the toolbars page, commands dragged onto bars, controls moved and copied between bars,
// the customize menu of a control, a shortcut assigned and used, the options, and the customised
// bars saved and restored. Each page is saved as a picture.
#include <AcceleratorManager.h>
#include <CommandBarsOptions.h>
#include <CustomizeCommandsPage.h>
#include <CustomizeDragSource.h>
#include <CustomizeSettingsPage.h>
#include <CustomizeSheet.h>
#include <CustomizeShortcutsPage.h>
#include <CustomizeToolbarsPage.h>
#include <MenuBar.h>
#include <PopupBar.h>
#include <ToolkitResource.h>

#include <gtest/gtest.h>

#include "CommandBarsTestSupport.h"
#include "CustomizeTestScript.h"
#include "RealInput.h"
#include "WindowTest.h"

using customizetest::ClickChild;
using customizetest::FindMessageBox;
using customizetest::FindVisibleWindow;
using customizetest::MessageBoxText;

namespace {

// The bar's own controls, without the buttons the toolbar adds for itself (expand, close).
std::vector<CXTPControl*> UserControls(CXTPCommandBar* pBar) {
  std::vector<CXTPControl*> controls;
  for (int i = 0; i < pBar->GetControlCount(); ++i) {
    CXTPControl* pControl = pBar->GetControl(i);
    if (!pControl->IsTemporary() && !(pControl->GetFlags() & xtpFlagNoMovable)) controls.push_back(pControl);
  }
  return controls;
}
std::vector<int> UserIds(CXTPCommandBar* pBar) {
  std::vector<int> ids;
  for (CXTPControl* pControl : UserControls(pBar)) ids.push_back(pControl->GetID());
  return ids;
}
CXTPControl* FirstUser(CXTPCommandBar* pBar) { return UserControls(pBar).front(); }
CXTPControl* LastUser(CXTPCommandBar* pBar) { return UserControls(pBar).back(); }

class CustomizeSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = CTestFrame::CreateTestFrame(CRect(0, 0, 900, 620));
    ASSERT_NE(nullptr, m_pFrame);
    SettleLayout(m_pFrame);
  }
  void TearDown() override {
    if (m_pFrame != nullptr) m_pFrame->SaveAndDestroy();
  }
  CXTPCommandBars* Bars() { return m_pFrame->GetCommandBars(); }

  // The first steps of every script: the sheet shows and moves out of the way of the bars.
  void ShowSheet(CCustomizeTestScript& script, CXTPCustomizeSheet* pSheet) {
    script.OnFailure([pSheet] {
      if (HWND hBox = FindMessageBox()) ::PostMessage(hBox, WM_COMMAND, IDCANCEL, 0);
      if (HWND hDlg = FindVisibleWindow(L"New Toolbar")) ::PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
      if (HWND hDlg = FindVisibleWindow(L"Rename Toolbar")) ::PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
      Bars_ClosePopups(pSheet);
      if (pSheet->GetSafeHwnd() != nullptr) pSheet->PressButton(PSBTN_CANCEL);
    });
    script.Step("the sheet shows",
                [pSheet] { return pSheet->GetSafeHwnd() != nullptr && pSheet->IsWindowVisible(); });
    script.Do("move the sheet below the bars", [pSheet] {
      pSheet->SetWindowPos(nullptr, 330, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      testsupport::BringToFront(pSheet->GetSafeHwnd());
    });
    script.Pause(150);
  }
  static void Bars_ClosePopups(CXTPCustomizeSheet* pSheet) { pSheet->GetCommandBars()->ClosePopups(); }
  void CloseSheet(CCustomizeTestScript& script, CXTPCustomizeSheet* pSheet) {
    script.Do("close", [pSheet] { ClickChild(pSheet->GetSafeHwnd(), IDCANCEL); });
  }
  void Screenshot(CCustomizeTestScript& script, CXTPCustomizeSheet* pSheet, const wchar_t* pszName) {
    script.Pause(150);
    script.Do("picture", [pSheet, pszName] {
      EXPECT_EQ(testsupport::ClippedChildTexts(pSheet->GetSafeHwnd()), std::vector<std::wstring>())
          << pszName;
      testsupport::SaveWindowPng(pSheet->GetSafeHwnd(), pszName);
    });
  }
  // A drag with the real mouse from one screen point to another, in steps the drag loop sees. Ctrl is
  // pressed at the target, while the drag runs: the display resets the modifiers the mouse reports to
  // the keys it knows of, so a Ctrl held from the start would be lost on the way.
  void Drag(CCustomizeTestScript& script, std::function<CPoint()> from, std::function<CPoint()> to,
            bool bControl = false) {
    auto target = std::make_shared<CPoint>();
    script.Do("press", [from] {
      const CPoint pt = from();
      testsupport::MouseMoveTo(pt.x, pt.y);
      testsupport::MouseButton(true);
    });
    script.Pause(100);
    script.Do("move on the way", [from, to, target] {
      *target = to();
      const CPoint pt = from();
      testsupport::MouseMoveTo((pt.x + target->x) / 2, (pt.y + target->y) / 2);
    });
    script.Pause(100);
    script.Do("move to the target", [target] { testsupport::MouseMoveTo(target->x, target->y); });
    script.Pause(100);
    script.Do("move within the target", [target] { testsupport::MouseMoveTo(target->x + 1, target->y); });
    script.Pause(100);
    if (bControl) {
      script.Do("ctrl", [] { testsupport::KeyDown(VK_CONTROL); });
      script.Pause(100);
    }
    script.Do("release", [bControl] {
      testsupport::MouseButton(false);
      if (bControl) testsupport::KeyUp(VK_CONTROL);
    });
    script.Pause(200);
  }
  // The screen point a little right of a control's centre: a drop there lands after it.
  static CPoint AfterControl(CXTPControl* pControl) {
    CPoint pt = ControlCenter(pControl);
    return CPoint(pt.x + 3, pt.y);
  }

  CTestFrame* m_pFrame = nullptr;
};

TEST_F(CustomizeSheetTest, ASecondSheetWhileOneRunsReturnsCancelAtOnce) {
  CXTPCustomizeSheet sheet(Bars());
  INT_PTR nSecond = -1;
  BOOL bCustomizeMode = FALSE;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  script.Do("second sheet", [&] {
    bCustomizeMode = Bars()->IsCustomizeMode();
    CXTPCustomizeSheet second(Bars());
    nSecond = second.DoModal();
  });
  Screenshot(script, &sheet, L"customize-toolbars-page.png");
  CloseSheet(script, &sheet);
  script.Start();
  EXPECT_EQ(IDCANCEL, sheet.DoModal());
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(IDCANCEL, nSecond);
  EXPECT_TRUE(bCustomizeMode);
  EXPECT_FALSE(Bars()->IsCustomizeMode());
  EXPECT_EQ(nullptr, Bars()->GetDragSource()->GetSheet());
  EXPECT_EQ(nullptr, CXTPCustomizeSheet::GetRunningSheet());
}

TEST_F(CustomizeSheetTest, ToolbarsAreCreatedRenamedAndDeletedFromTheToolbarsPage) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeToolbarsPage* pPage = sheet.GetToolbarsPage();
  CString strDeleteQuestion;
  int nListedBefore = -1, nListedAfterNew = -1;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  script.Do("new", [&] {
    nListedBefore = pPage->m_checkList.GetCount();
    ClickChild(pPage->GetSafeHwnd(), XTP_IDC_BUTTON_NEW);
  });
  script.Step("name dialog",
              [] { return FindVisibleWindow(L"New Toolbar") != nullptr && ::GetFocus() != nullptr; });
  script.Do("name it", [] {
    testsupport::TypeUnicode(L"Mine");
    testsupport::KeyPress(VK_RETURN);
  });
  script.Step("the new toolbar", [&] { return Bars()->FindCommandBar(0xE800) != nullptr; });
  script.Do("rename", [&] {
    nListedAfterNew = pPage->m_checkList.GetCount();
    ClickChild(pPage->GetSafeHwnd(), XTP_IDC_BUTTON_RENAME);
  });
  script.Step("rename dialog",
              [] { return FindVisibleWindow(L"Rename Toolbar") != nullptr && ::GetFocus() != nullptr; });
  script.Do("new name", [] {
    testsupport::KeyPress('A', {VK_CONTROL});
    testsupport::TypeUnicode(L"Yours");
    testsupport::KeyPress(VK_RETURN);
  });
  script.Step("renamed", [&] { return Bars()->FindCommandBar(0xE800)->GetTitle() == L"Yours"; });
  Screenshot(script, &sheet, L"customize-toolbars-page-new.png");
  script.Do("delete", [&] { ClickChild(pPage->GetSafeHwnd(), XTP_IDC_BUTTON_DELETE); });
  script.Step("asked", [&] {
    HWND hBox = FindMessageBox();
    if (hBox == nullptr) return false;
    strDeleteQuestion = MessageBoxText(hBox);
    testsupport::KeyPress(VK_RETURN);
    return true;
  });
  script.Step("deleted", [&] { return Bars()->FindCommandBar(0xE800) == nullptr; });
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(nListedBefore + 1, nListedAfterNew);
  EXPECT_EQ(CString(L"Are you sure you want to delete the 'Yours' toolbar?"), strDeleteQuestion);
  EXPECT_EQ(nullptr, Bars()->FindCommandBar(0xE800));
}

TEST_F(CustomizeSheetTest, TheCheckBoxesShowAndHideToolbarsButNotTheMenuBar) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeToolbarsPage* pPage = sheet.GetToolbarsPage();
  m_pFrame->m_pToolBar->SetCloseable(TRUE);
  BOOL bMenuBarChecked = FALSE, bStandardVisible = TRUE;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  // Line 0 is the menu bar, line 1 "Standard"; space toggles the selected line's check box.
  script.Do("menu bar", [&] {
    pPage->m_checkList.SetFocus();
    pPage->m_checkList.SetCurSel(0);
    testsupport::KeyPress(VK_SPACE);
  });
  script.Pause(150);
  script.Do("standard", [&] {
    bMenuBarChecked = pPage->m_checkList.GetCheck(0);
    pPage->m_checkList.SetCurSel(1);
    testsupport::KeyPress(VK_SPACE);
  });
  script.Step("hidden", [&] { return !m_pFrame->m_pToolBar->IsVisible(); });
  script.Do("read", [&] { bStandardVisible = pPage->m_checkList.GetCheck(1); });
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_TRUE(bMenuBarChecked);
  EXPECT_TRUE(Bars()->GetMenuBar()->IsVisible());
  EXPECT_FALSE(bStandardVisible);
}

TEST_F(CustomizeSheetTest, CommandsAreDraggedOntoBarsAndMovedOrCopiedBetweenThem) {
  ScopedProfileKey profile;
  CXTPToolBar* pSecond = Bars()->AddCustomBar(L"Second", 0xE800);
  ASSERT_NE(nullptr, pSecond);
  pSecond->GetControls()->Add(xtpControlButton, ID_TEST_PASTE);
  SettleLayout(m_pFrame);
  CXTPToolBar* pStandard = m_pFrame->m_pToolBar;
  const std::vector<int> standardIds = UserIds(pStandard);
  const int nStandard = static_cast<int>(standardIds.size());

  CXTPCustomizeSheet sheet(Bars(), 1);
  sheet.GetCommandsPage()->AddCategoriesFromMenu(IDR_TEST_MENU);
  CXTPCustomizeCommandsPage* pPage = sheet.GetCommandsPage();
  int nAfterDrop = -1, nStandardAfterMove = -1, nSecondAfterMove = -1;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  Screenshot(script, &sheet, L"customize-commands-page.png");
  // "Save" is the second command of the first category, "File".
  Drag(
      script,
      [&] {
        CRect rc;
        pPage->m_lstCommands.GetItemRect(1, &rc);
        pPage->m_lstCommands.ClientToScreen(&rc);
        return rc.CenterPoint();
      },
      [&] { return AfterControl(LastUser(pStandard)); });
  script.Do("dropped", [&] { nAfterDrop = static_cast<int>(UserIds(pStandard).size()); });
  // The first control of "Standard" moves onto "Second", after its button.
  Drag(
      script, [&] { return ControlCenter(FirstUser(pStandard)); },
      [&] { return AfterControl(LastUser(pSecond)); });
  script.Do("moved", [&] {
    nStandardAfterMove = static_cast<int>(UserIds(pStandard).size());
    nSecondAfterMove = static_cast<int>(UserIds(pSecond).size());
  });
  // With Ctrl held the first control of "Second" is copied onto "Standard".
  Drag(
      script, [&] { return ControlCenter(FirstUser(pSecond)); },
      [&] { return AfterControl(LastUser(pStandard)); }, true);
  Screenshot(script, &sheet, L"customize-commands-dragged.png");
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());

  EXPECT_EQ(nStandard + 1, nAfterDrop);
  EXPECT_EQ(nStandard, nStandardAfterMove);
  EXPECT_EQ(2, nSecondAfterMove);
  EXPECT_EQ(std::vector<int>({ID_TEST_PASTE, ID_TEST_OPEN}), UserIds(pSecond));
  std::vector<int> expected(standardIds.begin() + 1, standardIds.end());
  expected.push_back(ID_TEST_SAVE);
  expected.push_back(ID_TEST_PASTE);
  EXPECT_EQ(expected, UserIds(pStandard));

  // The customised bars come back in a new frame from the profile.
  const std::vector<int> ids = UserIds(pStandard);
  m_pFrame->SaveAndDestroy(L"CommandBars");
  m_pFrame = CTestFrame::CreateTestFrame(CRect(0, 0, 900, 620), L"CommandBars");
  ASSERT_NE(nullptr, m_pFrame);
  CXTPToolBar* pRestored = m_pFrame->m_pToolBar;
  EXPECT_EQ(ids, UserIds(pRestored));
  CXTPToolBar* pSecondRestored = m_pFrame->GetCommandBars()->FindCommandBar(0xE800);
  ASSERT_NE(nullptr, pSecondRestored);
  EXPECT_EQ(CString(L"Second"), pSecondRestored->GetTitle());
  EXPECT_EQ(std::vector<int>({ID_TEST_PASTE, ID_TEST_OPEN}), UserIds(pSecondRestored));
}

TEST_F(CustomizeSheetTest, EscapeDuringADragCancelsItAndClearsTheInsertionMark) {
  CXTPToolBar* pStandard = m_pFrame->m_pToolBar;
  const int nStandard = static_cast<int>(UserIds(pStandard).size());
  CXTPCustomizeSheet sheet(Bars());
  BOOL bMarkShown = FALSE;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  script.Do("press", [&] {
    const CPoint pt = ControlCenter(FirstUser(pStandard));
    testsupport::MouseMoveTo(pt.x, pt.y);
    testsupport::MouseButton(true);
  });
  script.Pause(100);
  script.Do("move", [&] {
    const CPoint pt = AfterControl(LastUser(pStandard));
    testsupport::MouseMoveTo(pt.x - 20, pt.y);
  });
  script.Pause(100);
  script.Do("move again", [&] {
    const CPoint pt = AfterControl(LastUser(pStandard));
    testsupport::MouseMoveTo(pt.x, pt.y);
  });
  script.Pause(150);
  script.Do("escape", [&] {
    bMarkShown = !pStandard->GetInsertionMark().IsRectEmpty();
    testsupport::KeyPress(VK_ESCAPE);
  });
  script.Pause(100);
  script.Do("release", [] { testsupport::MouseButton(false); });
  script.Pause(100);
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_TRUE(bMarkShown);
  EXPECT_TRUE(pStandard->GetInsertionMark().IsRectEmpty());
  EXPECT_EQ(nStandard, static_cast<int>(UserIds(pStandard).size()));
  EXPECT_EQ(ID_TEST_OPEN, FirstUser(pStandard)->GetID());
}

TEST_F(CustomizeSheetTest, TheCustomizeMenuChangesTheControlItOpensOn) {
  CXTPToolBar* pStandard = m_pFrame->m_pToolBar;
  const std::vector<CXTPControl*> controls = UserControls(pStandard);
  const int nStandard = static_cast<int>(controls.size());
  CXTPCustomizeSheet sheet(Bars());
  CXTPPopupBar* pMenu = sheet.GetCustomizeMenu();
  ASSERT_NE(nullptr, pMenu);
  BOOL bFirstGroupEnabled = TRUE;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  auto openMenuOn = [&](int nIndex) {
    script.Do("right click", [&, nIndex] {
      const CPoint pt = ControlCenter(UserControls(pStandard)[static_cast<size_t>(nIndex)]);
      testsupport::MouseClickAt(pt.x, pt.y, true);
    });
    script.Step("the menu", [pMenu] { return pMenu->GetSafeHwnd() != nullptr && pMenu->IsWindowVisible(); });
    script.Pause(200);
  };
  auto choose = [&](UINT nID) {
    script.Do("choose", [pMenu, nID] {
      CXTPControl* pItem = pMenu->GetControls()->FindControl(static_cast<int>(nID));
      CPoint pt = pItem->GetRect().CenterPoint();
      pMenu->ClientToScreen(&pt);
      testsupport::MouseClickAt(pt.x, pt.y);
    });
    script.Step("the menu closes",
                [pMenu] { return pMenu->GetSafeHwnd() == nullptr || !pMenu->IsWindowVisible(); });
    script.Pause(100);
  };
  openMenuOn(0);
  script.Do("picture", [&] {
    bFirstGroupEnabled = pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_BEGINAGROUP)->GetEnabled();
    testsupport::SaveWindowPng(pMenu->GetSafeHwnd(), L"customize-menu.png");
  });
  choose(XTP_ID_CUSTOMIZE_TEXTONLY);
  openMenuOn(1);
  choose(XTP_ID_CUSTOMIZE_BEGINAGROUP);
  // "Change Button Image" offers the 42 pictures in rows of six (144 pixels), filled once.
  int nPictures = 0, nMRUWidth = 0;
  CXTPCommandBar* pPictures =
      pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE)->GetCommandBar();
  openMenuOn(2);
  script.Do("open the pictures", [pMenu] {
    CXTPControl* pItem = pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
    CPoint pt = pItem->GetRect().CenterPoint();
    pMenu->ClientToScreen(&pt);
    testsupport::MouseClickAt(pt.x, pt.y);
  });
  script.Step("the pictures",
              [pPictures] { return pPictures->GetSafeHwnd() != nullptr && pPictures->IsWindowVisible(); });
  script.Pause(150);
  script.Do("choose the third", [&, pPictures] {
    nPictures = pPictures->GetControlCount();
    nMRUWidth = pPictures->GetMRUWidth();
    testsupport::SaveWindowPng(pPictures->GetSafeHwnd(), L"customize-button-images.png");
    CPoint pt = pPictures->GetControl(2)->GetRect().CenterPoint();
    pPictures->ClientToScreen(&pt);
    testsupport::MouseClickAt(pt.x, pt.y);
  });
  script.Step("the menu closes",
              [pMenu] { return pMenu->GetSafeHwnd() == nullptr || !pMenu->IsWindowVisible(); });
  script.Pause(100);
  openMenuOn(2);
  script.Do("open the pictures again", [pMenu] {
    CXTPControl* pItem = pMenu->GetControls()->FindControl(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE);
    CPoint pt = pItem->GetRect().CenterPoint();
    pMenu->ClientToScreen(&pt);
    testsupport::MouseClickAt(pt.x, pt.y);
  });
  script.Step("the pictures again",
              [pPictures] { return pPictures->GetSafeHwnd() != nullptr && pPictures->IsWindowVisible(); });
  script.Do("escape", [] { testsupport::KeyPress(VK_ESCAPE); });
  // The second Escape only once the first has closed the pictures: under load a fixed pause ran out
  // before it was handled, and the menu stayed.
  script.Step("the pictures close",
              [pPictures] { return pPictures->GetSafeHwnd() == nullptr || !pPictures->IsWindowVisible(); });
  script.Do("escape again", [] { testsupport::KeyPress(VK_ESCAPE); });
  script.Step("closed", [pMenu] { return pMenu->GetSafeHwnd() == nullptr || !pMenu->IsWindowVisible(); });
  openMenuOn(nStandard - 1);
  choose(XTP_ID_CUSTOMIZE_DELETE);
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_FALSE(bFirstGroupEnabled);
  EXPECT_EQ(xtpButtonCaption, UserControls(pStandard)[0]->GetCustomStyle());
  EXPECT_TRUE(UserControls(pStandard)[1]->GetBeginGroup());
  EXPECT_EQ(nStandard - 1, static_cast<int>(UserIds(pStandard).size()));
  EXPECT_EQ(42, nPictures);
  EXPECT_EQ(144, nMRUWidth);
  EXPECT_EQ(42, pPictures->GetControlCount());
  EXPECT_GT(UserControls(pStandard)[2]->GetCustomIconId(), 0);
}

TEST_F(CustomizeSheetTest, AShortcutAssignedOnTheKeyboardPageRunsItsCommand) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeShortcutsPage keyboard(&sheet);
  keyboard.AddCategoriesFromMenu(IDR_TEST_MENU);
  sheet.AddPage(&keyboard);
  CXTPCustomizeSettingsPage options(&sheet);
  sheet.AddPage(&options);
  int nPageAfterAltK = -1, nPageAfterAltO = -1;
  CString strKeys;
  BOOL bDelayEnabled = FALSE;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  script.Do("alt+k", [] { testsupport::KeyPress('K', {VK_MENU}); });
  script.Step("keyboard page",
              [&] { return keyboard.GetSafeHwnd() != nullptr && keyboard.IsWindowVisible(); });
  script.Do("select Save", [&] {
    nPageAfterAltK = sheet.GetActiveIndex();
    keyboard.m_lstCommands.SetCurSel(1);
    keyboard.SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LBOX_ACCEL_COMMANDS, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(keyboard.m_lstCommands.GetSafeHwnd()));
    ClickChild(keyboard.GetSafeHwnd(), XTP_IDC_EDIT_SHORTCUTKEY);
  });
  script.Step("entry focused", [&] { return ::GetFocus() == keyboard.m_editShortcut.GetSafeHwnd(); });
  script.Do("press the keys", [] { testsupport::KeyPress('K', {VK_CONTROL, VK_SHIFT}); });
  script.Step("key taken", [&] { return keyboard.m_editShortcut.IsKeyDefined(); });
  script.Do("assign", [&] { ClickChild(keyboard.GetSafeHwnd(), XTP_IDC_BUTTON_ASSIGN); });
  script.Step("listed", [&] { return keyboard.m_lstKeys.GetCount() == 1; });
  script.Do("read", [&] { keyboard.m_lstKeys.GetText(0, strKeys); });
  Screenshot(script, &sheet, L"customize-keyboard-page.png");
  // The shortcut entry takes every key as a shortcut: Alt+O works once the focus left it.
  script.Do("leave the entry", [&] { keyboard.m_lstCommands.SetFocus(); });
  script.Do("alt+o", [] { testsupport::KeyPress('O', {VK_MENU}); });
  script.Step("options page", [&] { return options.GetSafeHwnd() != nullptr && options.IsWindowVisible(); });
  script.Do("full menus", [&] {
    nPageAfterAltO = sheet.GetActiveIndex();
    ClickChild(options.GetSafeHwnd(), XTP_IDC_CHECK_FULL_MENUS);
  });
  script.Step("option changed", [&] { return !Bars()->GetCommandBarsOptions()->bAlwaysShowFullMenus; });
  script.Do("delay box",
            [&] { bDelayEnabled = options.GetDlgItem(XTP_IDC_CHECK_AFTERDELAY)->IsWindowEnabled(); });
  Screenshot(script, &sheet, L"customize-options-page.png");
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(2, nPageAfterAltK);
  EXPECT_EQ(3, nPageAfterAltO);
  EXPECT_EQ(CString(L"Ctrl+Shift+K"), strKeys);
  EXPECT_TRUE(bDelayEnabled);

  // The frame runs the command for the new keys.
  m_pFrame->m_arrCommands.clear();
  ASSERT_TRUE(testsupport::BringToFront(m_pFrame->GetSafeHwnd()));
  testsupport::KeyPress('K', {VK_CONTROL, VK_SHIFT});
  // The frame's own loop: keys pass the frame's pre-translation, where the shortcuts are.
  const DWORD dwStart = ::GetTickCount();
  while (m_pFrame->m_arrCommands.empty() && ::GetTickCount() - dwStart < 3000) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
      }
    }
    ::Sleep(10);
  }
  ASSERT_EQ(1u, m_pFrame->m_arrCommands.size());
  EXPECT_EQ(static_cast<UINT>(ID_TEST_SAVE), m_pFrame->m_arrCommands[0]);
}

}  // namespace
namespace {

// The pages left behind on the way with Ctrl+Tab keep their mnemonics to themselves: Alt+N on the
// Keyboard page goes to "Press new shortcut key:", not to the Toolbars page's "New...".
TEST_F(CustomizeSheetTest, AltNOnTheKeyboardPageReachedByCtrlTabGoesToTheShortcutEntry) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeShortcutsPage keyboard(&sheet);
  keyboard.AddCategoriesFromMenu(IDR_TEST_MENU);
  sheet.AddPage(&keyboard);
  BOOL bNameDialog = FALSE;
  CCustomizeTestScript script;
  ShowSheet(script, &sheet);
  script.Do("ctrl+tab twice", [] {
    testsupport::KeyPress(VK_TAB, {VK_CONTROL});
    testsupport::KeyPress(VK_TAB, {VK_CONTROL});
  });
  script.Step("keyboard page",
              [&] { return keyboard.GetSafeHwnd() != nullptr && keyboard.IsWindowVisible(); });
  script.Pause(100);
  script.Do("alt+n", [] { testsupport::KeyPress('N', {VK_MENU}); });
  script.Step("entry focused or name dialog", [&] {
    bNameDialog = FindVisibleWindow(L"New Toolbar") != nullptr;
    return bNameDialog || ::GetFocus() == keyboard.m_editShortcut.GetSafeHwnd();
  });
  script.Pause(200);
  script.Do("look again", [&] {
    if (HWND hDlg = FindVisibleWindow(L"New Toolbar")) {
      bNameDialog = TRUE;
      ::PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
    }
  });
  script.Step("no name dialog", [] { return FindVisibleWindow(L"New Toolbar") == nullptr; });
  CloseSheet(script, &sheet);
  script.Start();
  sheet.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_FALSE(bNameDialog) << "Alt+N opened the hidden Toolbars page's New Toolbar";
}

TEST_F(CustomizeSheetTest, TheChevronsCustomizeItemHasItsTextAndOpensTheSheetOverTheFrame) {
  m_pFrame->m_bRunCustomizeSheet = TRUE;
  m_pFrame->MoveWindow(180, 140, 820, 600);
  SettleLayout(m_pFrame);
  testsupport::BringToFront(m_pFrame->GetSafeHwnd());
  CXTPCommandBars* pCommandBars = Bars();
  pCommandBars->GetCommandBarsOptions()->animationType = 5;
  // Both chevrons (the menu bar's and the toolbar's) end their "Add or Remove Buttons" with it.
  for (CXTPToolBar* pBar : {static_cast<CXTPToolBar*>(pCommandBars->GetMenuBar()), m_pFrame->m_pToolBar}) {
    CXTPControl* pExpand = pBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND);
    ASSERT_TRUE(pExpand != nullptr && pExpand->IsVisible());
    const CPoint ptExpand = ControlCenter(pExpand);
    testsupport::InputClick(ptExpand.x, ptExpand.y);
    CXTPCommandBar* pExpandPopup = pExpand->GetCommandBar();
    ASSERT_TRUE(pExpandPopup != nullptr && pExpandPopup->GetSafeHwnd() != nullptr);
    CXTPControl* pAddRemove = pExpandPopup->GetControl(pExpandPopup->GetControlCount() - 1);
    ASSERT_EQ(pAddRemove->GetCaption(), CString(L"&Add or Remove Buttons"));
    const CPoint ptAddRemove = ControlCenter(pAddRemove);
    testsupport::InputClick(ptAddRemove.x, ptAddRemove.y);
    CXTPCommandBar* pLists = pAddRemove->GetCommandBar();
    ASSERT_TRUE(pLists != nullptr && pLists->GetSafeHwnd() != nullptr && pLists->IsWindowVisible());
    CXTPControl* pCustomize = pLists->GetControl(pLists->GetControlCount() - 1);
    EXPECT_EQ(pCustomize->GetID(), XTP_ID_CUSTOMIZE);
    EXPECT_EQ(pCustomize->GetCaption(), CString(L"&Customize..."));
    EXPECT_TRUE(pCustomize->GetBeginGroup());
    EXPECT_GT(pCustomize->GetRect().Width(), 60);
    testsupport::SaveWindowPng(pLists->GetSafeHwnd(), pBar == m_pFrame->m_pToolBar
                                                          ? L"customize-chevron-toolbar.png"
                                                          : L"customize-chevron-menubar.png");
    if (pBar != m_pFrame->m_pToolBar) {
      pCommandBars->ClosePopups();
      continue;
    }
    // Clicking it runs the frame's customize command: the sheet shows centred over the frame.
    CRect rcSheet, rcFrame;
    CCustomizeTestScript script;
    script.OnFailure([] {
      if (CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunningSheet())
        pSheet->PressButton(PSBTN_CANCEL);
    });
    script.Step("the sheet shows", [] {
      CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunningSheet();
      return pSheet != nullptr && pSheet->GetSafeHwnd() != nullptr && pSheet->IsWindowVisible();
    });
    script.Do("where", [&] {
      CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunningSheet();
      pSheet->GetWindowRect(&rcSheet);
      m_pFrame->GetWindowRect(&rcFrame);
      testsupport::SaveWindowPng(::GetDesktopWindow(), L"customize-sheet-over-the-frame.png");
      ClickChild(pSheet->GetSafeHwnd(), IDCANCEL);
    });
    script.Start();
    const CPoint ptCustomize = ControlCenter(pCustomize);
    testsupport::InputClick(ptCustomize.x, ptCustomize.y);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return script.Finished(); }, 10000)) << script.Failure();
    EXPECT_EQ("", script.Failure());
    EXPECT_EQ(CXTPCustomizeSheet::GetRunningSheet(), nullptr);
    EXPECT_NEAR(rcSheet.CenterPoint().x, rcFrame.CenterPoint().x, 1);
    EXPECT_NEAR(rcSheet.CenterPoint().y, rcFrame.CenterPoint().y, 1);
  }
  m_pFrame->m_bRunCustomizeSheet = FALSE;
}

}  // namespace
