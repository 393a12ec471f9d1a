// The controls collection without windows: row layout (wrapping, groups, hiding, right alignment,
// stretching, columns), keyboard navigation, captions and prompts, copies against the original set,
// menu import, and the bounded walks over popups that refer to each other.
#include <gtest/gtest.h>

#include <CommandBar.h>
#include <ControlPopup.h>
#include <Controls.h>
#include <PopupBar.h>
#include <ResourceSource.h>
#include <ToolkitResource.h>

#include "CommandBarsTestSupport.h"

namespace {

// A bar without a window holding the controls under test.
class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pBar = new CXTPCommandBar;
    m_pControls = m_pBar->GetControls();
    m_dc.Attach(::GetDC(nullptr));
  }
  void TearDown() override {
    ::ReleaseDC(nullptr, m_dc.Detach());
    m_pBar->InternalRelease();
  }
  CSize Layout(int nLength, DWORD dwMode, CRect rcBorders = CRect(2, 2, 2, 2)) {
    return m_pControls->Layout(&m_dc, nLength, dwMode, rcBorders);
  }

  CXTPCommandBar* m_pBar = nullptr;
  CXTPControls* m_pControls = nullptr;
  CDC m_dc;
};

const DWORD kDockedCommit = LM_HORZDOCK | LM_HORZ | LM_COMMIT;

TEST_F(LayoutTest, BarWithoutVisibleControlsMeasures23By22PlusBorders) {
  EXPECT_EQ(Layout(100, kDockedCommit), CSize(27, 26));
  CXTPControl* pHidden = AddFixed(m_pControls, 1, 40, 40);
  pHidden->SetHideFlags(xtpHideGeneric);
  EXPECT_EQ(Layout(100, kDockedCommit, CRect(3, 1, 4, 5)), CSize(30, 28));
  // The minimum extent raises the height of a horizontally docked bar.
  EXPECT_EQ(m_pControls->Layout(&m_dc, 100, kDockedCommit, CRect(2, 2, 2, 2), 40), CSize(27, 40));
}

TEST_F(LayoutTest, WrappedRowKeepsAGroupTogetherOnItsNewRow) {
  for (int i = 0; i < 5; ++i) AddFixed(m_pControls, 100 + i, 23, 22, i == 2);
  // 80 pixels inside the borders: the fourth button overflows, and the break goes before the group.
  const CSize sz = Layout(84, kDockedCommit);
  EXPECT_EQ(sz, CSize(73, 54));
  EXPECT_FALSE(m_pControls->GetAt(1)->GetWrap());
  EXPECT_TRUE(m_pControls->GetAt(2)->GetWrap());
  EXPECT_EQ(m_pControls->GetAt(0)->GetRect(), CRect(2, 2, 25, 24));
  EXPECT_EQ(m_pControls->GetAt(1)->GetRect(), CRect(25, 2, 48, 24));
  // The row that begins with a group is set apart by the theme's row gap of 6.
  EXPECT_EQ(m_pControls->GetAt(2)->GetRect(), CRect(2, 30, 25, 52));
  EXPECT_EQ(m_pControls->GetAt(4)->GetRect(), CRect(48, 30, 71, 52));
  EXPECT_EQ(m_pControls->GetAt(3)->GetRowRect(), CRect(2, 30, 71, 52));
}

TEST_F(LayoutTest, ControlsInARowAreCentredAcrossIt) {
  AddFixed(m_pControls, 1, 23, 30);
  AddFixed(m_pControls, 2, 23, 20);
  Layout(200, kDockedCommit);
  EXPECT_EQ(m_pControls->GetAt(1)->GetRect(), CRect(25, 7, 48, 27));
}

TEST_F(LayoutTest, HideWrapHidesEveryLaterControlEvenSmallerOnes) {
  AddFixed(m_pControls, 1, 30, 22);
  AddFixed(m_pControls, 2, 30, 22);
  AddFixed(m_pControls, 3, 10, 22);
  AddFixed(m_pControls, 4, 10, 22);
  Layout(54, kDockedCommit | LM_HIDEWRAP);
  EXPECT_EQ(m_pControls->GetAt(0)->GetHideFlags(), 0u);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(m_pControls->GetAt(i)->GetHideFlags(), DWORD(xtpHideWrap)) << i;
  // With room again the wrap bit goes.
  Layout(200, kDockedCommit | LM_HIDEWRAP);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(m_pControls->GetAt(i)->GetHideFlags(), 0u) << i;
}

TEST_F(LayoutTest, RightAlignedControlsPackAgainstTheFarEnd) {
  AddFixed(m_pControls, 1, 23, 22);
  AddFixed(m_pControls, 2, 23, 22, FALSE, xtpFlagRightAlign);
  AddFixed(m_pControls, 3, 23, 22, FALSE, xtpFlagRightAlign);
  const CSize sz = Layout(200, kDockedCommit | LM_STRETCH);
  EXPECT_EQ(sz.cx, 200);
  EXPECT_EQ(m_pControls->GetAt(0)->GetRect(), CRect(2, 2, 25, 24));
  EXPECT_EQ(m_pControls->GetAt(1)->GetRect(), CRect(152, 2, 175, 24));
  EXPECT_EQ(m_pControls->GetAt(2)->GetRect(), CRect(175, 2, 198, 24));
}

TEST_F(LayoutTest, StretchedControlsShareTheFreeLengthOfTheirRow) {
  AddFixed(m_pControls, 1, 23, 22);
  AddFixed(m_pControls, 2, 23, 22, FALSE, xtpFlagControlStretched);
  AddFixed(m_pControls, 3, 23, 22, FALSE, xtpFlagControlStretched);
  AddFixed(m_pControls, 4, 23, 22);
  AddFixed(m_pControls, 5, 23, 22, FALSE, xtpFlagRightAlign);
  Layout(200, kDockedCommit | LM_STRETCH);
  // Free length: the right-aligned button's left edge (175) less the last other's right edge (94).
  EXPECT_EQ(m_pControls->GetAt(1)->GetRect(), CRect(25, 2, 88, 24));
  EXPECT_EQ(m_pControls->GetAt(2)->GetRect(), CRect(88, 2, 152, 24));
  EXPECT_EQ(m_pControls->GetAt(3)->GetRect(), CRect(152, 2, 175, 24));
  EXPECT_EQ(m_pControls->GetAt(4)->GetRect(), CRect(175, 2, 198, 24));
}

TEST_F(LayoutTest, VerticalBarsStackColumnsTopToBottomAndAddThemLeftwards) {
  for (int i = 0; i < 3; ++i) AddFixed(m_pControls, 100 + i, 23, 22);
  const CSize sz = Layout(50, LM_VERTDOCK | LM_COMMIT);
  // 46 pixels of height hold two buttons; the third starts a new column to the left.
  EXPECT_EQ(sz, CSize(50, 48));
  EXPECT_EQ(m_pControls->GetAt(0)->GetRect(), CRect(25, 2, 48, 24));
  EXPECT_EQ(m_pControls->GetAt(1)->GetRect(), CRect(25, 24, 48, 46));
  EXPECT_EQ(m_pControls->GetAt(2)->GetRect(), CRect(2, 2, 25, 24));
  EXPECT_TRUE(m_pControls->GetAt(2)->GetWrap());
}

TEST_F(LayoutTest, FloatingLayoutKeepsItsRowsAtTheNarrowestWidth) {
  for (int i = 0; i < 6; ++i) AddFixed(m_pControls, 100 + i, 20, 20);
  // At 100 pixels (96 inside) four fit per row: two rows. The narrowest width with two rows holds three.
  const CSize sz = Layout(100, LM_HORZ | LM_COMMIT);
  EXPECT_EQ(sz, CSize(64, 44));
  EXPECT_TRUE(m_pControls->GetAt(3)->GetWrap());
}

TEST_F(LayoutTest, NavigationWrapsOnceAndNeverFromMinusOneForwards) {
  for (int i = 0; i < 5; ++i) AddFixed(m_pControls, 100 + i, 20, 20);
  m_pControls->GetAt(1)->SetHideFlags(xtpHideGeneric);
  m_pControls->GetAt(3)->SetFlags(xtpFlagSkipFocus);
  EXPECT_EQ(m_pControls->GetNextNavigable(-1, +1), 0);
  EXPECT_EQ(m_pControls->GetNextNavigable(-1, -1), 4);
  EXPECT_EQ(m_pControls->GetNextNavigable(0, +1), 2);
  EXPECT_EQ(m_pControls->GetNextNavigable(2, +1), 4);
  EXPECT_EQ(m_pControls->GetNextNavigable(4, +1), 0);
  EXPECT_EQ(m_pControls->GetNextNavigable(0, -1), 4);
  EXPECT_EQ(m_pControls->GetNextNavigable(2, +1, FALSE), 3);
  // Scrolled-out and rarely-used controls stay navigable unless the hide test is strict.
  m_pControls->GetAt(4)->SetHideFlags(xtpHideExpand);
  EXPECT_EQ(m_pControls->GetNextNavigable(2, +1), 4);
  EXPECT_EQ(m_pControls->GetNextNavigable(2, +1, TRUE, FALSE, TRUE), 0);
  for (int i = 0; i < 5; ++i) m_pControls->GetAt(i)->SetHideFlags(xtpHideGeneric);
  EXPECT_EQ(m_pControls->GetNextNavigable(-1, +1), -1);
  EXPECT_EQ(m_pControls->GetNextNavigable(2, +1), 2);
}

TEST(ControlTextTest, CaptionTabMovesTheShortcutAndPromptsSplitAtTheLineFeed) {
  CXTPControlButton control;
  control.SetCaption(L"&Save\tCtrl+S\tmore");
  EXPECT_EQ(control.GetCaption(), CString(L"&Save"));
  EXPECT_EQ(control.GetShortcutText(), CString(L"Ctrl+S\tmore"));
  control.SetShortcutText(L"F2");
  EXPECT_EQ(control.GetShortcutText(), CString(L"F2"));

  CXTPControlButton prompt;
  prompt.SetPrompt(L"Saves the document\nSave");
  EXPECT_EQ(prompt.GetDescriptionText(), CString(L"Saves the document"));
  EXPECT_EQ(prompt.GetTooltipText(), CString(L"Save"));
  EXPECT_EQ(prompt.GetCaption(), CString(L"Save"));
  CXTPControlButton single;
  single.SetCaption(L"Keep");
  single.SetPrompt(L"Both");
  EXPECT_EQ(single.GetTooltipText(), CString(L"Both"));
  EXPECT_EQ(single.GetDescriptionText(), CString(L"Both"));
  EXPECT_EQ(single.GetCaption(), CString(L"Keep"));
}

TEST(ControlTextTest, SetIdLoadsThePromptStringThroughTheResourceManager) {
  CXTPControlButton control;
  control.SetID(ID_TEST_OPEN);
  EXPECT_EQ(control.GetID(), ID_TEST_OPEN);
  EXPECT_EQ(control.GetTooltipText(), CString(L"Open"));
  EXPECT_EQ(control.GetDescriptionText(), CString(L"Opens a document"));
  CXTPControlButton missing;
  missing.SetID(ID_TEST_ITEM_A);
  EXPECT_TRUE(missing.GetTooltipText().IsEmpty());
}

TEST_F(LayoutTest, TemporaryControlsAreNeitherCopiedNorComparedWithTheOriginal) {
  AddFixed(m_pControls, 1, 20, 20);
  AddFixed(m_pControls, 2, 20, 20);
  m_pControls->SnapshotOriginal();
  EXPECT_FALSE(m_pControls->IsChangedFromOriginal());
  m_pControls->Add(xtpControlButton, 3, nullptr, 1, TRUE);
  EXPECT_FALSE(m_pControls->IsChangedFromOriginal());
  CXTPControls* pCopy = m_pControls->Duplicate();
  EXPECT_EQ(pCopy->GetCount(), 2);
  pCopy->InternalRelease();
  m_pControls->GetAt(0)->SetBeginGroup(TRUE);
  EXPECT_TRUE(m_pControls->IsChangedFromOriginal());
}

TEST_F(LayoutTest, ListAndLabelControlsKeepTheirIdsAndTypesAndANewPopupGetsAPopupBar) {
  CXTPControl* pRecent = m_pControls->Add(xtpControlButton, XTP_ID_FILE_MRU);
  ASSERT_NE(pRecent, nullptr);
  EXPECT_EQ(pRecent->GetID(), XTP_ID_FILE_MRU);
  EXPECT_EQ(pRecent->GetType(), xtpControlButton);
  CXTPControl* pLabel = m_pControls->Add(xtpControlLabel, 77);
  EXPECT_EQ(pLabel->GetType(), xtpControlLabel);
  EXPECT_EQ(pLabel->GetID(), 77);
  CXTPControl* pPopup = m_pControls->Add(xtpControlPopup, 0);
  ASSERT_NE(pPopup->GetCommandBar(), nullptr);
  EXPECT_TRUE(pPopup->GetCommandBar()->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)));
}

TEST_F(LayoutTest, PopupFromAMenuResourceTakesItsFirstSubMenu) {
  CXTPControl* pPopup = m_pControls->Add(xtpControlPopup, IDR_TEST_SUBMENU);
  EXPECT_EQ(pPopup->GetCaption(), CString(L"Tools"));
  CXTPCommandBar* pSub = pPopup->GetCommandBar();
  ASSERT_NE(pSub, nullptr);
  ASSERT_EQ(pSub->GetControlCount(), 2);
  EXPECT_EQ(pSub->GetControl(1)->GetID(), ID_TEST_ITEM_B);
  EXPECT_EQ(pSub->GetControl(1)->GetCaption(), CString(L"Item &B"));
}

TEST_F(LayoutTest, MenuImportKeepsGroupsStatesShortcutsAndSkipsMdiEntries) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  CMenu* pFile = menu.GetSubMenu(0);
  pFile->AppendMenu(MF_STRING, 0xFF00, L"1 Window");
  ASSERT_TRUE(m_pBar->LoadMenu(pFile, TRUE));
  ASSERT_EQ(m_pBar->GetControlCount(), 3);
  CXTPControl* pOpen = m_pBar->GetControl(0);
  EXPECT_EQ(pOpen->GetCaption(), CString(L"&Open"));
  EXPECT_EQ(pOpen->GetShortcutText(), CString(L"Ctrl+O"));
  EXPECT_TRUE(m_pBar->GetControl(1)->GetChecked());
  EXPECT_TRUE(m_pBar->GetControl(2)->GetBeginGroup());
  EXPECT_FALSE(m_pBar->GetControl(2)->GetEnabled());

  ASSERT_TRUE(m_pBar->LoadMenu(menu.GetSubMenu(1), TRUE));
  ASSERT_EQ(m_pBar->GetControlCount(), 3);
  CXTPControl* pMore = m_pBar->GetControl(2);
  EXPECT_EQ(pMore->GetType(), xtpControlPopup);
  ASSERT_NE(pMore->GetCommandBar(), nullptr);
  EXPECT_EQ(pMore->GetCommandBar()->GetTitle(), CString(L"More"));
  EXPECT_EQ(pMore->GetCommandBar()->GetControlCount(), 2);
  EXPECT_EQ(m_pControls->FindControl(xtpControlError, ID_TEST_ITEM_B, FALSE, TRUE)->GetCaption(),
            CString(L"Item &B"));
}

// A site that turns every imported item into a sub-menu.
class CPopupMakingSite : public CWnd {
 public:
  afx_msg LRESULT OnBeforeCreateControl(WPARAM, LPARAM lParam) {
    reinterpret_cast<XTP_COMMANDBARS_CREATECONTROL*>(lParam)->controlType = xtpControlPopup;
    return 1;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPopupMakingSite, CWnd)
ON_MESSAGE(XTP_WM_BEFORECREATECONTROL, OnBeforeCreateControl)
END_MESSAGE_MAP()

TEST_F(LayoutTest, MenuResourceThatNamesItselfStopsImporting) {
  CPopupMakingSite site;
  ASSERT_TRUE(site.CreateEx(0, AfxRegisterWndClass(0), L"site", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  CXTPCommandBars* pCommandBars = new CXTPCommandBars;
  pCommandBars->SetSite(&site);
  m_pBar->SetCommandBars(pCommandBars);
  // The item "Again" has no sub-menu; as a sub-menu it loads the menu of its id, which is this one.
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_SELF_MENU));
  ASSERT_TRUE(m_pBar->LoadMenu(menu.GetSubMenu(0), TRUE));
  int nDepth = 0;
  for (CXTPControl* pControl = m_pBar->GetControl(0);
       pControl != nullptr && pControl->GetCommandBar() != nullptr; ++nDepth) {
    pControl = pControl->GetCommandBar()->GetControl(0);
  }
  EXPECT_GT(nDepth, 1);
  EXPECT_LE(nDepth, XTP_MAX_POPUP_DEPTH + 1);
  m_pControls->RemoveAll();
  m_pBar->SetCommandBars(nullptr);
  pCommandBars->InternalRelease();
  site.DestroyWindow();
}

TEST_F(LayoutTest, PopupsReferringToEachOtherEndEveryWalk) {
  CXTPControlPopup* pFirst = static_cast<CXTPControlPopup*>(m_pControls->Add(xtpControlPopup, 0));
  CXTPCommandBar* pFirstBar = pFirst->GetCommandBar();
  CXTPControlPopup* pSecond =
      static_cast<CXTPControlPopup*>(pFirstBar->GetControls()->Add(xtpControlPopup, 0));
  // A sub-bar that holds its own opener: the chain refers back to itself.
  pSecond->SetCommandBar(pFirstBar);
  EXPECT_EQ(m_pControls->FindControl(xtpControlButton, 4242, FALSE, TRUE), nullptr);
  EXPECT_TRUE(pFirst->IsPopupChainOf(pSecond));
  EXPECT_TRUE(pFirst->IsEqual(pFirst));
  CXTPControls* pCopy = m_pControls->Duplicate(FALSE);
  EXPECT_TRUE(pCopy->IsSameAs(m_pControls));
  pCopy->InternalRelease();
  // Break the cycle so the controls can go.
  pSecond->SetCommandBar(static_cast<CXTPCommandBar*>(nullptr));
}

TEST_F(LayoutTest, ResizeCursorShowsOnlyNearTheEdgesOfAResizableControl) {
  CXTPControl* pEdit = m_pControls->Add(xtpControlEdit, 7);
  CXTPControl* pButton = m_pControls->Add(xtpControlButton, 8);
  pEdit->SetRect(CRect(10, 0, 110, 22));
  pButton->SetRect(CRect(110, 0, 133, 22));
  const HCURSOR hResize = GetToolkitResourceManager()->LoadCursor(XTP_IDC_RESIZE);
  ASSERT_NE(hResize, nullptr);
  const HCURSOR hArrow = ::LoadCursor(nullptr, IDC_ARROW);
  for (int x : {10, 12, 108, 109}) {
    ::SetCursor(hArrow);
    pEdit->OnCustomizeSetCursor(CPoint(x, 11));
    EXPECT_EQ(::GetCursor(), hResize) << x;
  }
  for (int x : {13, 60, 107}) {
    ::SetCursor(hArrow);
    pEdit->OnCustomizeSetCursor(CPoint(x, 11));
    EXPECT_EQ(::GetCursor(), hArrow) << x;
  }
  ::SetCursor(hArrow);
  pButton->OnCustomizeSetCursor(CPoint(111, 11));
  EXPECT_EQ(::GetCursor(), hArrow);
}

}  // namespace
