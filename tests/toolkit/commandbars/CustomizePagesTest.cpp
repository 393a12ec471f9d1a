// The customize pages' categories filled from menus, the keyboard page's command filter and the
// toolbar name dialog's proposals, ids and refusals.
#include <CustomizeCommandsPage.h>
#include <CustomizeSheet.h>
#include <CustomizeShortcutsPage.h>
#include <ControlPopup.h>
#include <ImageManager.h>
#include <PopupBar.h>
#include <ToolbarNameDlg.h>
#include <ToolkitResource.h>

#include <gtest/gtest.h>

#include "CommandBarsTestSupport.h"
#include "CustomizeTestScript.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

class CustomizeCategoriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = CTestFrame::CreateTestFrame(CRect(0, 0, 500, 300), nullptr, FALSE);
    ASSERT_NE(nullptr, m_pFrame);
  }
  void TearDown() override { m_pFrame->SaveAndDestroy(); }
  CXTPCommandBars* Bars() { return m_pFrame->GetCommandBars(); }

  CTestFrame* m_pFrame = nullptr;
};

TEST_F(CustomizeCategoriesTest, EveryTopLevelPopupOfTheMenuBecomesACategoryWithoutMnemonics) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeCommandsPage* pPage = sheet.GetCommandsPage();
  ASSERT_TRUE(pPage->AddCategoriesFromMenu(IDR_TEST_MENU));
  CXTPCustomizeCategories* pCategories = pPage->GetCategories();
  // "&Help" has no submenu: no category.
  ASSERT_EQ(2, pCategories->GetCount());
  EXPECT_EQ(CString(L"File"), pCategories->GetAt(0)->strCategory);
  EXPECT_EQ(CString(L"Edit"), pCategories->GetAt(1)->strCategory);
  // Separators are left out; the sub-menu comes as one popup.
  CXTPControls* pFile = pCategories->GetAt(0)->pControls;
  ASSERT_EQ(3, pFile->GetCount());
  EXPECT_EQ(ID_TEST_OPEN, pFile->GetAt(0)->GetID());
  EXPECT_EQ(ID_TEST_ABOUT, pFile->GetAt(2)->GetID());
  CXTPControls* pEdit = pCategories->GetAt(1)->pControls;
  ASSERT_EQ(3, pEdit->GetCount());
  EXPECT_EQ(xtpControlPopup, pEdit->GetAt(2)->GetType());
  EXPECT_FALSE(pPage->AddCategoriesFromMenu(4242));
}

TEST_F(CustomizeCategoriesTest, AddingAMenuToAnExistingCategoryAppendsToIt) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeCommandsPage* pPage = sheet.GetCommandsPage();
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_SUBMENU));
  pPage->AddCategory(L"&Tools", menu.GetSubMenu(0));
  pPage->AddCategory(L"Tools", menu.GetSubMenu(0));
  ASSERT_EQ(1, pPage->GetCategories()->GetCount());
  EXPECT_EQ(4, pPage->GetCategories()->GetAt(0)->pControls->GetCount());
}

TEST_F(CustomizeCategoriesTest, KeyboardPageListsSubItemsCaptionedWithTheirMenu) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeShortcutsPage page(&sheet);
  ASSERT_TRUE(page.AddCategoriesFromMenu(IDR_TEST_MENU, TRUE));
  CXTPControls* pEdit = page.GetCategories()->FindCategory(L"Edit")->pControls;
  ASSERT_EQ(5, pEdit->GetCount());
  EXPECT_EQ(CString(L"More | Item A"), pEdit->GetAt(3)->GetCaption());
  EXPECT_EQ(ID_TEST_ITEM_B, pEdit->GetAt(4)->GetID());
  // The commands page copies them with their own captions.
  CXTPCustomizeCommandsPage* pCommands = sheet.GetCommandsPage();
  pCommands->AddCategoriesFromMenu(IDR_TEST_MENU, TRUE);
  EXPECT_EQ(CString(L"Item &A"),
            pCommands->GetCategories()->FindCategory(L"Edit")->pControls->GetAt(3)->GetCaption());
}

TEST_F(CustomizeCategoriesTest, KeyboardPageListsNeitherPopupsNorIdZeroNorRecentFiles) {
  CXTPControls* pControls = new CXTPControls();
  CXTPControl* pButton = pControls->Add(xtpControlButton, ID_TEST_OPEN);
  CXTPControl* pPopup = pControls->Add(xtpControlPopup, ID_TEST_SAVE);
  CXTPControl* pSplit = pControls->Add(xtpControlSplitButtonPopup, ID_TEST_CUT);
  CXTPControl* pNoId = pControls->Add(xtpControlButton, 0);
  CXTPControl* pRecent = pControls->Add(xtpControlButton, ID_FILE_MRU_FIRST + 3);
  CXTPControl* pAfterRecent = pControls->Add(xtpControlButton, ID_FILE_MRU_LAST + 1);
  EXPECT_TRUE(CXTPCustomizeShortcutsPage::IsListedCommand(pButton));
  EXPECT_FALSE(CXTPCustomizeShortcutsPage::IsListedCommand(pPopup));
  EXPECT_FALSE(CXTPCustomizeShortcutsPage::IsListedCommand(pSplit));
  EXPECT_FALSE(CXTPCustomizeShortcutsPage::IsListedCommand(pNoId));
  EXPECT_FALSE(CXTPCustomizeShortcutsPage::IsListedCommand(pRecent));
  EXPECT_TRUE(CXTPCustomizeShortcutsPage::IsListedCommand(pAfterRecent));
  pControls->InternalRelease();
}

TEST_F(CustomizeCategoriesTest, AllCommandsHoldsOneCopyPerCategoryThatListsACommand) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeCommandsPage* pPage = sheet.GetCommandsPage();
  pPage->AddCategoriesFromMenu(IDR_TEST_MENU);
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_SUBMENU));
  pPage->AddCategory(L"Tools", menu.GetSubMenu(0));
  // "Item A" is in Tools and, inside the More popup, in Edit: no duplicates are removed.
  ASSERT_TRUE(pPage->AddAllCommandsCategory(XTP_IDS_ALLCOMMANDS, 0));
  XTP_COMMANDBARS_CATEGORYINFO* pAll = pPage->GetCategories()->GetAt(0);
  EXPECT_EQ(CString(L"All Commands"), pAll->strCategory);
  ASSERT_EQ(3 + 3 + 2, pAll->pControls->GetCount());
  EXPECT_EQ(ID_TEST_ITEM_A, pAll->pControls->GetAt(6)->GetID());
  // The copies are the category's own.
  EXPECT_NE(pPage->GetCategories()->FindCategory(L"File")->pControls->GetAt(0), pAll->pControls->GetAt(0));
}

TEST_F(CustomizeCategoriesTest, BuiltInMenusAndNewMenuCategories) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPCustomizeCommandsPage* pPage = sheet.GetCommandsPage();
  ASSERT_TRUE(pPage->AddBuiltInMenusCategory(IDR_TEST_MENU, XTP_IDS_BUILTINMENUS));
  ASSERT_TRUE(pPage->AddNewMenuCategory(XTP_IDS_NEWMENU));
  EXPECT_FALSE(pPage->AddBuiltInMenusCategory(4242, XTP_IDS_BUILTINMENUS));
  CXTPControls* pMenus = pPage->GetCategories()->FindCategory(L"Built-in Menus")->pControls;
  ASSERT_EQ(3, pMenus->GetCount());
  EXPECT_EQ(xtpControlPopup, pMenus->GetAt(0)->GetType());
  EXPECT_EQ(3, pMenus->GetAt(0)->GetCommandBar()->GetControlCount());
  CXTPControls* pNew = pPage->GetCategories()->FindCategory(L"New Menu")->pControls;
  ASSERT_EQ(1, pNew->GetCount());
  EXPECT_EQ(xtpControlPopup, pNew->GetAt(0)->GetType());
  EXPECT_EQ(0, pNew->GetAt(0)->GetID());
  EXPECT_EQ(CString(L"New Menu"), pNew->GetAt(0)->GetCaption());
}

TEST_F(CustomizeCategoriesTest, TheCustomizeMenuIsBuiltWithItsGroupsAndPictures) {
  CXTPCustomizeSheet sheet(Bars());
  CXTPPopupBar* pMenu = sheet.GetCustomizeMenu();
  ASSERT_NE(nullptr, pMenu);
  ASSERT_EQ(12, pMenu->GetControlCount());
  EXPECT_TRUE(pMenu->GetControl(0)->IsKindOf(RUNTIME_CLASS(CXTPCustomizeMenuButton)));
  EXPECT_TRUE(pMenu->GetControl(2)->IsKindOf(RUNTIME_CLASS(CXTPCustomizeMenuNameEdit)));
  EXPECT_TRUE(pMenu->GetControl(2)->GetBeginGroup());
  EXPECT_TRUE(pMenu->GetControl(3)->GetBeginGroup());
  EXPECT_EQ(XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE, pMenu->GetControl(7)->GetID());
  EXPECT_TRUE(pMenu->GetControl(7)->IsKindOf(RUNTIME_CLASS(CXTPControlPopup)));
  EXPECT_EQ(XTP_ID_CUSTOMIZE_BEGINAGROUP, pMenu->GetControl(11)->GetID());
  EXPECT_EQ(42, sheet.GetCustomIcons()->GetImages()->GetCount());
}

// ---- Toolbar name dialog --------------------------------------------------------------------------

TEST_F(CustomizeCategoriesTest, TheProposedNameIsTheFirstCustomNumberNoBarHas) {
  EXPECT_EQ(CString(L"Custom 1"), CXTPToolbarNameDlg::SuggestName(Bars()));
  Bars()->AddCustomBar(L"Custom 1", 0xE800);
  Bars()->AddCustomBar(L"Custom 3", 0xE801);
  EXPECT_EQ(CString(L"Custom 2"), CXTPToolbarNameDlg::SuggestName(Bars()));
  Bars()->AddCustomBar(L"Custom 2", 0xE802);
  EXPECT_EQ(CString(L"Custom 4"), CXTPToolbarNameDlg::SuggestName(Bars()));
}

// Runs the name dialog with a script that types into it and answers its message boxes.
class ToolbarNameDialogTest : public CustomizeCategoriesTest {
 protected:
  // Types the name and presses Enter; the message box text that appears, or empty when the dialog ends.
  void TypeNameAndPressEnter(CCustomizeTestScript& script, LPCWSTR lpszName, CString* pMessage) {
    script.Step("dialog shows",
                [] { return ::GetFocus() != nullptr && customizetest::FindVisibleWindow(m_lpszTitle); });
    script.Do("type the name", [lpszName] {
      HWND hDlg = customizetest::FindVisibleWindow(m_lpszTitle);
      ::SetFocus(::GetDlgItem(hDlg, XTP_IDC_TOOLBAR_NAME));
      ::SendDlgItemMessage(hDlg, XTP_IDC_TOOLBAR_NAME, EM_SETSEL, 0, -1);
      if (*lpszName == 0) {
        testsupport::KeyPress(VK_DELETE);
      } else {
        testsupport::TypeUnicode(lpszName);
      }
      testsupport::KeyPress(VK_RETURN);
    });
    if (pMessage == nullptr) return;
    script.Step("a message box", [pMessage] {
      HWND hBox = customizetest::FindMessageBox();
      if (hBox == nullptr) return false;
      *pMessage = customizetest::MessageBoxText(hBox);
      testsupport::KeyPress(VK_RETURN);
      return true;
    });
    script.Step("the message box closes", [] { return customizetest::FindMessageBox() == nullptr; });
  }
  static void Abort() {
    if (HWND hBox = customizetest::FindMessageBox()) ::PostMessage(hBox, WM_COMMAND, IDOK, 0);
    if (HWND hDlg = customizetest::FindVisibleWindow(m_lpszTitle))
      ::PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
  }
  static LPCWSTR m_lpszTitle;
};
LPCWSTR ToolbarNameDialogTest::m_lpszTitle = L"New Toolbar";

TEST_F(ToolbarNameDialogTest, RefusesBlankAndTakenNamesThenTakesTheFirstFreeBarId) {
  m_pFrame->ShowWindow(SW_SHOW);
  CString strBlank, strTaken, strProposed;
  CCustomizeTestScript script;
  script.OnFailure(&ToolbarNameDialogTest::Abort);
  script.Step("proposal", [&] {
    HWND hDlg = customizetest::FindVisibleWindow(m_lpszTitle);
    if (hDlg == nullptr) return false;
    strProposed = customizetest::WindowText(::GetDlgItem(hDlg, XTP_IDC_TOOLBAR_NAME));
    return true;
  });
  TypeNameAndPressEnter(script, L"", &strBlank);
  TypeNameAndPressEnter(script, L"Standard", &strTaken);
  TypeNameAndPressEnter(script, L"Mine", nullptr);
  script.Start();
  CXTPToolbarNameDlg dlg(m_pFrame, Bars());
  const INT_PTR nResult = dlg.DoModal();
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(IDOK, nResult);
  EXPECT_EQ(CString(L"Custom 1"), strProposed);
  EXPECT_EQ(CString(L"The toolbar name cannot be blank. Type a name."), strBlank);
  EXPECT_EQ(CString(L"A toolbar named 'Standard' already exists. Type another name."), strTaken);
  EXPECT_EQ(CString(L"Mine"), dlg.GetName());
  EXPECT_EQ(0xE800u, dlg.GetBarID());
}

TEST_F(ToolbarNameDialogTest, RenamingToItsOwnTitleIsAccepted) {
  m_pFrame->ShowWindow(SW_SHOW);
  CXTPToolBar* pBar = Bars()->AddCustomBar(L"Mine", 0xE800);
  Bars()->AddCustomBar(L"Custom 1", 0xE801);
  m_lpszTitle = L"Rename Toolbar";
  CCustomizeTestScript script;
  script.OnFailure(&ToolbarNameDialogTest::Abort);
  TypeNameAndPressEnter(script, L"Mine", nullptr);
  script.Start();
  CXTPToolbarNameDlg dlg(m_pFrame, Bars(), pBar);
  const INT_PTR nResult = dlg.DoModal();
  m_lpszTitle = L"New Toolbar";
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(IDOK, nResult);
  EXPECT_EQ(CString(L"Mine"), dlg.GetName());
}

TEST_F(ToolbarNameDialogTest, AFullRangeOfToolbarIdsEndsTheDialogWithTheLimitMessage) {
  // The bars are made before the frame shows: a shown frame lays out and paints every bar again for
  // each one added.
  for (UINT nID = 0xE800; nID <= 0xE8FE; ++nID) {
    CString strTitle;
    strTitle.Format(L"Bar %u", nID);
    ASSERT_NE(nullptr, Bars()->AddCustomBar(strTitle, nID));
  }
  m_pFrame->ShowWindow(SW_SHOW);
  CString strLimit;
  CCustomizeTestScript script;
  script.OnFailure(&ToolbarNameDialogTest::Abort);
  TypeNameAndPressEnter(script, L"One Too Many", &strLimit);
  script.Start();
  CXTPToolbarNameDlg dlg(m_pFrame, Bars());
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(CString(L"Sorry you have reached your limit."), strLimit);
}

}  // namespace
