// The list placeholders and the drawn controls: the window list of a multi-document test frame opened
// with real input, the toolbars list and its items, numbered captions, recent files, the drop rule of
// placeholders, the OLE verbs of a selected object, the hosted window, the selector and the label.
#include <gtest/gtest.h>

#include <CommandBar.h>
#include <ControlCustom.h>
#include <ControlPopup.h>
#include <ControlSelector.h>
#include <ControlLists.h>
#include <PopupBar.h>
#include <PropExchangeRegistry.h>
#include <afxole.h>

#include "CommandBarsTestSupport.h"
#include "FakeOleObject.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputClick;
using testsupport::PumpMessages;
using testsupport::PumpUntil;
using testsupport::SaveWindowPng;

// A multi-document frame that hosts a command-bars manager with one toolbar: a "Window" popup whose
// sub-bar holds the window list.
class CTestMDIFrame : public CBarsMDIFrame {
 public:
  CXTPToolBar* m_pToolBar = nullptr;
  CXTPControlPopup* m_pWindowPopup = nullptr;

 protected:
  BOOL AddBars() override {
    m_pToolBar = m_pCommandBars->Add(L"Windows", xtpBarTop);
    if (m_pToolBar == nullptr) return FALSE;
    m_pWindowPopup = static_cast<CXTPControlPopup*>(m_pToolBar->GetControls()->Add(xtpControlPopup, 0));
    m_pWindowPopup->SetCaption(L"&Window");
    m_pWindowPopup->GetCommandBar()
        ->GetControls()
        ->Add(xtpControlButton, ID_TEST_ABOUT)
        ->SetCaption(L"&About");
    m_pWindowPopup->GetCommandBar()
        ->GetControls()
        ->Add(xtpControlButton, XTP_ID_WINDOWLIST)
        ->SetCaption(L"Windows");
    return TRUE;
  }
};

class WindowListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = new CTestMDIFrame;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"MDI Test", WS_OVERLAPPEDWINDOW, CRect(60, 60, 700, 460)));
    theTestApp.m_pMainWnd = m_pFrame;
    m_pFrame->ShowWindow(SW_SHOW);
    m_pFrame->SetForegroundWindow();
    for (const wchar_t* pszTitle : {L"Report", L"Sales & Costs", L"Notes"}) {
      CMDIChildWnd* pChild = new CMDIChildWnd;
      ASSERT_TRUE(pChild->Create(nullptr, pszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                 CFrameWnd::rectDefault, m_pFrame));
      m_arrChildren.push_back(pChild);
    }
    m_pFrame->RecalcLayout();
    PumpMessages(100);
  }
  void TearDown() override {
    if (theTestApp.m_pMainWnd == m_pFrame) theTestApp.m_pMainWnd = nullptr;
    m_pFrame->DestroyWindow();
    PumpMessages(50);
  }
  CTestMDIFrame* m_pFrame = nullptr;
  std::vector<CMDIChildWnd*> m_arrChildren;
};

TEST_F(WindowListTest, ChildrenGetIdsFromTheFirstChildIdAndTheLastCreatedIsActive) {
  EXPECT_EQ(m_pFrame->MDIGetActive(), m_arrChildren.back());
  EXPECT_EQ(::GetDlgCtrlID(m_arrChildren[0]->GetSafeHwnd()), AFX_IDM_FIRST_MDICHILD);
  EXPECT_EQ(m_arrChildren[0]->GetMDIFrame(), m_pFrame);
  EXPECT_EQ(m_pFrame->GetActiveFrame(), m_arrChildren.back());
}

TEST_F(WindowListTest, OpenPopupListsTheWindowsAndAnItemActivatesItsWindow) {
  CXTPControl* pPopup = m_pFrame->m_pWindowPopup;
  ASSERT_FALSE(pPopup->GetRect().IsRectEmpty());
  const CPoint pt = ControlCenter(pPopup);
  InputClick(pt.x, pt.y);
  CXTPCommandBar* pSubBar = pPopup->GetCommandBar();
  ASSERT_TRUE(
      PumpUntil([pSubBar] { return pSubBar->GetSafeHwnd() != nullptr && pSubBar->IsWindowVisible(); }, 2000));
  PumpMessages(50);
  CXTPControls* pControls = pSubBar->GetControls();
  CXTPControl* pPlaceholder = pControls->FindControl(XTP_ID_WINDOWLIST);
  ASSERT_NE(pPlaceholder, nullptr);
  EXPECT_TRUE(pPlaceholder->GetHideFlags() & xtpHideGeneric);
  std::vector<CXTPControl*> arrItems;
  for (int i = 0; i < pControls->GetCount(); ++i) {
    CXTPControl* pControl = pControls->GetAt(i);
    if (pControl->IsTemporary()) arrItems.push_back(pControl);
  }
  ASSERT_EQ(arrItems.size(), 3u);
  EXPECT_STREQ(arrItems[0]->GetCaption(), L"&1 Report");
  EXPECT_STREQ(arrItems[1]->GetCaption(), L"&2 Sales && Costs");
  EXPECT_TRUE(arrItems[0]->GetBeginGroup());
  EXPECT_TRUE(arrItems[2]->GetChecked());
  EXPECT_FALSE(arrItems[0]->GetChecked());
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_window_list.png");

  const CPoint ptItem = ControlCenter(arrItems[0]);
  InputClick(ptItem.x, ptItem.y);
  ASSERT_TRUE(PumpUntil([this] { return m_pFrame->MDIGetActive() == m_arrChildren[0]; }, 2000));
}

TEST_F(WindowListTest, TwelveWindowsListOnlyNine) {
  for (int i = 0; i < 9; ++i) {
    CMDIChildWnd* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(nullptr, L"More", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CFrameWnd::rectDefault, m_pFrame));
  }
  CXTPCommandBar* pSubBar = m_pFrame->m_pWindowPopup->GetCommandBar();
  CXTPControl* pPlaceholder = pSubBar->GetControls()->FindControl(XTP_ID_WINDOWLIST);
  pPlaceholder->OnCalcDynamicSize(0);
  int nItems = 0;
  for (int i = 0; i < pSubBar->GetControls()->GetCount(); ++i)
    nItems += pSubBar->GetControls()->GetAt(i)->IsTemporary();
  EXPECT_EQ(nItems, 9);
}

TEST_F(WindowListTest, ChildrenNumberedFromTheApplicationsOwnFirstIdAreListedAfterItsFirstActivation) {
  for (size_t i = 0; i < m_arrChildren.size(); ++i)
    ::SetWindowLongPtr(m_arrChildren[i]->GetSafeHwnd(), GWLP_ID, static_cast<LONG_PTR>(0x8000 + i));
  CXTPControls* pControls = m_pFrame->m_pWindowPopup->GetCommandBar()->GetControls();
  CXTPControl* pPlaceholder = pControls->FindControl(XTP_ID_WINDOWLIST);
  pPlaceholder->OnCalcDynamicSize(0);
  const UINT nFirstSeen = CXTPControlWindowList::s_nFirstMDIChild;
  std::vector<int> arrIds;
  for (int i = 0; i < pControls->GetCount(); ++i) {
    if (pControls->GetAt(i)->IsTemporary()) arrIds.push_back(pControls->GetAt(i)->GetID());
  }
  // A second pass replaces the items it made.
  pPlaceholder->OnCalcDynamicSize(0);
  int nItems = 0;
  for (int i = 0; i < pControls->GetCount(); ++i) nItems += pControls->GetAt(i)->IsTemporary();
  CXTPControlWindowList::s_nFirstMDIChild = AFX_IDM_FIRST_MDICHILD;
  EXPECT_EQ(nFirstSeen, 0x8000u);
  EXPECT_EQ(arrIds, (std::vector<int>{0x8000, 0x8001, 0x8002}));
  EXPECT_EQ(nItems, 3);
}

TEST(ListPlaceholders, NumberedCaptionsDoubleAmpersandsAndPutTheTenthMnemonicOnTheZero) {
  EXPECT_EQ(CXTPControlListPlaceholder::FormatNumberedCaption(L"A&B", 1), L"&1 A&&B");
  EXPECT_EQ(CXTPControlListPlaceholder::FormatNumberedCaption(L"Ten", 10), L"1&0 Ten");
  EXPECT_EQ(CXTPControlListPlaceholder::FormatNumberedCaption(L"Eleven", 11), L"11 Eleven");
  EXPECT_EQ(CXTPControlListPlaceholder::FormatNumberedCaption(L"None", 0), L"None");
}

TEST(ListPlaceholders, DropOntoAToolbarIsRefusedAndOntoAMenuAccepted) {
  CXTPControlWindowList* pList = new CXTPControlWindowList;
  CXTPCommandBar* pToolBar = static_cast<CXTPCommandBar*>(RUNTIME_CLASS(CXTPCommandBar)->CreateObject());
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(nullptr);
  DROPEFFECT effect = DROPEFFECT_COPY;
  EXPECT_FALSE(pList->CanCustomizeDrop(pToolBar, CPoint(0, 0), effect));
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  effect = DROPEFFECT_COPY;
  EXPECT_TRUE(pList->CanCustomizeDrop(pPopup, CPoint(0, 0), effect));
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  pPopup->InternalRelease();
  pToolBar->InternalRelease();
  pList->InternalRelease();
}

TEST(ListPlaceholders, AddMakesTheSpecialClassesByCommandId) {
  CXTPControls* pControls = new CXTPControls;
  EXPECT_TRUE(
      pControls->Add(xtpControlButton, XTP_ID_WINDOWLIST)->IsKindOf(RUNTIME_CLASS(CXTPControlWindowList)));
  EXPECT_TRUE(
      pControls->Add(xtpControlButton, XTP_ID_TOOLBARLIST)->IsKindOf(RUNTIME_CLASS(CXTPControlToolbars)));
  EXPECT_TRUE(
      pControls->Add(xtpControlButton, XTP_ID_FILE_MRU)->IsKindOf(RUNTIME_CLASS(CXTPControlRecentFileList)));
  EXPECT_TRUE(pControls->Add(xtpControlButton, XTP_ID_WORKSPACE_ACTIONS)
                  ->IsKindOf(RUNTIME_CLASS(CXTPControlWorkspaceActions)));
  CXTPControl* pLabel = pControls->Add(xtpControlLabel, 0);
  EXPECT_TRUE(pLabel->IsLabel());
  EXPECT_EQ(pLabel->GetFlags(), 0x12u);
  EXPECT_EQ(pLabel->GetSelected(), 0);
  pControls->InternalRelease();
}

TEST(ListPlaceholders, RecentFilesShowDisabledWhenEmptyAndListEntriesOtherwise) {
  CRecentFileList* pOld = theTestApp.m_pRecentFileList;
  CRecentFileList list(0, L"Recent File List", L"File%d", 4);
  theTestApp.m_pRecentFileList = &list;
  CXTPControls* pControls = new CXTPControls;
  pControls->Add(xtpControlButton, ID_TEST_OPEN);
  CXTPControl* pRecent = pControls->Add(xtpControlButton, XTP_ID_FILE_MRU);
  ASSERT_TRUE(pRecent->IsKindOf(RUNTIME_CLASS(CXTPControlRecentFileList)));
  pRecent->OnCalcDynamicSize(0);
  EXPECT_EQ(pRecent->GetHideFlags(), 0u);
  EXPECT_FALSE(pRecent->GetEnabled());
  EXPECT_EQ(pControls->GetCount(), 2);

  list[0] = L"C:\\data\\one.pst";
  list[1] = L"C:\\data\\two&three.pst";
  pRecent->OnCalcDynamicSize(0);
  EXPECT_TRUE(pRecent->GetHideFlags() & xtpHideGeneric);
  ASSERT_EQ(pControls->GetCount(), 4);
  EXPECT_EQ(pControls->GetAt(2)->GetID(), ID_FILE_MRU_FILE1);
  EXPECT_EQ(pControls->GetAt(3)->GetID(), ID_FILE_MRU_FILE1 + 1);
  EXPECT_TRUE(pControls->GetAt(2)->GetBeginGroup());
  EXPECT_EQ(pControls->GetAt(3)->GetCaption().Left(3), L"&2 ");
  // A second pass replaces the items instead of adding more.
  pRecent->OnCalcDynamicSize(0);
  EXPECT_EQ(pControls->GetCount(), 4);
  pControls->InternalRelease();
  theTestApp.m_pRecentFileList = pOld;
}

TEST(Selector, GridGrowsByWholeColumnsUpToTheMaximumAndShrinksAtTheNextLayout) {
  CXTPControlSelector* pSelector = new CXTPControlSelector;
  EXPECT_EQ(pSelector->GetSize(nullptr), CSize(5 * 28, 4 * 28));
  pSelector->SetRect(CRect(0, 0, 140, 112));
  pSelector->OnMouseMove(CPoint(60, 30));
  EXPECT_EQ(pSelector->GetSelectedSize(), CSize(3, 2));
  pSelector->OnLButtonUp(CPoint(60, 30));
  EXPECT_EQ(pSelector->GetChosenSize(), CSize(3, 2));
  pSelector->OnCalcDynamicSize(0);
  EXPECT_EQ(pSelector->GetSelectedSize(), CSize(0, 0));
  EXPECT_EQ(pSelector->GetGridSize(), CSize(5, 4));
  pSelector->InternalRelease();
}

class ToolbarsListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 600, 360));
    ASSERT_NE(m_pFrame, nullptr);
    m_pFrame->m_pToolBar->SetCloseable(TRUE);
    SettleLayout(m_pFrame);
  }
  void TearDown() override { m_pFrame->SaveAndDestroy(); }
  CTestFrame* m_pFrame = nullptr;
};

TEST_F(ToolbarsListTest, ListsCloseableToolbarsCheckedAndAnItemHidesItsToolbar) {
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  CXTPPopupBar* pPopup = pCommandBars->GetToolbarsPopup();
  CXTPControls* pControls = pPopup->GetControls();
  ASSERT_TRUE(pControls->GetAt(0)->IsKindOf(RUNTIME_CLASS(CXTPControlToolbars)));
  pControls->GetAt(0)->OnCalcDynamicSize(0);
  ASSERT_EQ(pControls->GetCount(), 2);
  CXTPControl* pItem = pControls->GetAt(1);
  EXPECT_EQ(pItem->GetCaption(), L"Standard");
  EXPECT_TRUE(pItem->GetChecked());
  EXPECT_EQ(pItem->GetParameter(), L"CXTPControlToolbar");
  EXPECT_TRUE(pItem->IsTemporary());

  ASSERT_TRUE(pPopup->PopupAt(200, 200));
  PumpMessages(50);
  SaveWindowPng(pPopup->GetSafeHwnd(), L"commandbars_toolbars_list.png");
  // The list made its items anew when the popup laid itself out.
  ASSERT_EQ(pControls->GetCount(), 2);
  pItem = pControls->GetAt(1);
  ASSERT_EQ(pItem->GetCaption(), L"Standard");
  const CPoint pt = ControlCenter(pItem);
  InputClick(pt.x, pt.y);
  ASSERT_TRUE(PumpUntil([this] { return !m_pFrame->m_pToolBar->IsVisible(); }, 2000));
  pPopup->InternalRelease();
  m_pFrame->m_pToolBar->SetVisible(TRUE);
}

// ---- OLE verbs -----------------------------------------------------------------------------------------

// A view over a container document that reports one item as selected.
class COleSelectionView : public CView {
 public:
  void OnDraw(CDC*) override {}
  BOOL IsSelected(const CObject* pItem) const override { return pItem != nullptr && pItem == m_pSelected; }
  const CObject* m_pSelected = nullptr;
};

class OleVerbsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 600, 360));
    ASSERT_NE(m_pFrame, nullptr);
    m_pDocument = new COleDocument;
    m_pDocument->m_bAutoDelete = FALSE;
    m_pView = new COleSelectionView;
    ASSERT_TRUE(m_pView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), m_pFrame,
                                AFX_IDW_PANE_FIRST, nullptr));
    m_pDocument->AddView(m_pView);
    m_pFrame->SetActiveView(m_pView, FALSE);
    // The edit menu as a resource would hold it: the verbs' marker item after an ordinary one.
    m_pMenuBar = CXTPPopupBar::CreatePopupBarForCommandBars(m_pFrame->GetCommandBars());
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_TEST_OPEN, L"&Open");
    menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"<<OLE VERBS GO HERE>>");
    m_pMenuBar->LoadMenu(&menu, TRUE);
  }
  void TearDown() override {
    m_pMenuBar->InternalRelease();
    m_pView->DestroyWindow();
    delete m_pDocument;
    m_pFrame->SaveAndDestroy();
  }
  CXTPControls* Controls() const { return m_pMenuBar->GetControls(); }

  CTestFrame* m_pFrame = nullptr;
  COleDocument* m_pDocument = nullptr;
  COleSelectionView* m_pView = nullptr;
  CXTPPopupBar* m_pMenuBar = nullptr;
};

TEST_F(OleVerbsTest, ASelectedObjectGetsAPopupOfItsVerbsInPlaceOfTheHiddenMarker) {
  testsupport::FakeOleObject object({{0, L"&Edit"}, {1, L"&Open"}});
  COleClientItem* pItem = new COleClientItem(m_pDocument);
  pItem->Attach(&object);
  CXTPControl* pPlaceholder = Controls()->GetAt(1);
  ASSERT_TRUE(pPlaceholder->IsKindOf(RUNTIME_CLASS(CXTPControlOleItems)));

  // Nothing selected: nothing inserted, and the marker's text is never offered as a command.
  pPlaceholder->OnCalcDynamicSize(0);
  EXPECT_EQ(Controls()->GetCount(), 2);
  EXPECT_TRUE(pPlaceholder->GetHideFlags() & xtpHideGeneric);

  m_pView->m_pSelected = pItem;
  for (int nPass = 0; nPass < 2; ++nPass) {
    pPlaceholder->OnCalcDynamicSize(0);
    ASSERT_EQ(Controls()->GetCount(), 3);
    CXTPControl* pPopup = Controls()->GetAt(2);
    EXPECT_EQ(pPopup->GetType(), xtpControlPopup);
    EXPECT_EQ(pPopup->GetParameter(), L"OLEMENUPOPUP");
    EXPECT_TRUE(pPopup->IsTemporary());
    EXPECT_EQ(pPopup->GetCaption(), L"Sheet &Object");
    CXTPCommandBar* pVerbs = pPopup->GetCommandBar();
    ASSERT_NE(pVerbs, nullptr);
    ASSERT_EQ(pVerbs->GetControls()->GetCount(), 2);
    EXPECT_EQ(pVerbs->GetControls()->GetAt(0)->GetID(), ID_OLE_VERB_FIRST);
    EXPECT_EQ(pVerbs->GetControls()->GetAt(1)->GetID(), ID_OLE_VERB_FIRST + 1);
    EXPECT_EQ(pVerbs->GetControls()->GetAt(1)->GetCaption(), L"&Open");
  }

  // An object active in place offers no verbs.
  pItem->SetItemState(COleClientItem::activeState);
  pPlaceholder->OnCalcDynamicSize(0);
  EXPECT_EQ(Controls()->GetCount(), 2);
  pItem->SetItemState(COleClientItem::loadedState);
  m_pView->m_pSelected = nullptr;
  pItem->Release();
}

TEST_F(OleVerbsTest, InCustomizeModeTheMarkerShows) {
  CXTPControl* pPlaceholder = Controls()->GetAt(1);
  pPlaceholder->OnCalcDynamicSize(0);
  ASSERT_TRUE(pPlaceholder->GetHideFlags() & xtpHideGeneric);
  m_pFrame->GetCommandBars()->SetCustomizeMode(TRUE);
  pPlaceholder->OnCalcDynamicSize(0);
  m_pFrame->GetCommandBars()->SetCustomizeMode(FALSE);
  EXPECT_EQ(pPlaceholder->GetHideFlags(), 0u);
}

// ---- Hosted window ---------------------------------------------------------------------------------

const int ID_HOSTED = 1030;

class CustomControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 600, 360));
    ASSERT_NE(m_pFrame, nullptr);
    m_hWnd = ::CreateWindowExW(0, L"EDIT", L"hosted", WS_CHILD | WS_BORDER, 0, 0, 80, 20,
                               m_pFrame->GetSafeHwnd(), reinterpret_cast<HMENU>(ID_HOSTED), nullptr, nullptr);
    ASSERT_NE(m_hWnd, nullptr);
    CXTPControl* pControl = m_pFrame->m_pToolBar->GetControls()->Add(xtpControlCustom, ID_HOSTED);
    ASSERT_TRUE(pControl->IsKindOf(RUNTIME_CLASS(CXTPControlCustom)));
    m_pCustom = static_cast<CXTPControlCustom*>(pControl);
    m_pCustom->SetCaption(L"Hosted");
    m_pCustom->SetControl(CWnd::FromHandle(m_hWnd));
    m_pCustom->SetBorders(CRect(3, 1, 3, 1));
    Relayout();
  }
  void TearDown() override { m_pFrame->SaveAndDestroy(); }
  void Relayout() {
    m_pFrame->m_pToolBar->DelayLayout();
    m_pFrame->RecalcLayout();
    SettleLayout(m_pFrame);
  }
  CRect WindowRectInBar() const {
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    m_pFrame->m_pToolBar->ScreenToClient(&rc);
    return rc;
  }

  CTestFrame* m_pFrame = nullptr;
  HWND m_hWnd = nullptr;
  CXTPControlCustom* m_pCustom = nullptr;
};

TEST_F(CustomControlTest, TheWindowMovesOntoTheBarInsideItsBorders) {
  EXPECT_EQ(m_pCustom->GetType(), xtpControlButton);
  EXPECT_EQ(m_pCustom->GetControlSize(), CSize(80, 20));
  CClientDC dc(m_pFrame->m_pToolBar);
  EXPECT_EQ(m_pCustom->GetSize(&dc), CSize(86, 22));
  EXPECT_EQ(::GetParent(m_hWnd), m_pFrame->m_pToolBar->GetSafeHwnd());
  const LONG_PTR dwStyle = ::GetWindowLongPtr(m_hWnd, GWL_STYLE);
  EXPECT_TRUE(dwStyle & WS_CHILD);
  EXPECT_FALSE(dwStyle & WS_POPUP);
  EXPECT_TRUE(::IsWindowVisible(m_hWnd));
  CRect rcExpected = m_pCustom->GetRect();
  rcExpected.DeflateRect(3, 1, 3, 1);
  EXPECT_EQ(WindowRectInBar(), rcExpected);
  m_pCustom->SetEnabled(FALSE);
  EXPECT_FALSE(::IsWindowEnabled(m_hWnd));
  m_pCustom->SetEnabled(TRUE);
  EXPECT_TRUE(::IsWindowEnabled(m_hWnd));
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_custom_control.png");

  // A click in the window is the window's own: the typed text reaches it, no command runs.
  const CPoint ptWindow = rcExpected.CenterPoint();
  CPoint ptScreen = ptWindow;
  m_pFrame->m_pToolBar->ClientToScreen(&ptScreen);
  InputClick(ptScreen.x, ptScreen.y);
  ASSERT_TRUE(PumpUntil([this] { return ::GetFocus() == m_hWnd; }, 2000));
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
}

TEST_F(CustomControlTest, VerticalBarsHideTheControlOrKeepItAsAButton) {
  m_pCustom->OnCalcDynamicSize(LM_VERTDOCK);
  EXPECT_TRUE(m_pCustom->GetHideFlags() & xtpHideDockingPosition);
  EXPECT_FALSE(::IsWindowVisible(m_hWnd));
  m_pCustom->OnCalcDynamicSize(LM_HORZDOCK);
  EXPECT_EQ(m_pCustom->GetHideFlags(), 0u);
  EXPECT_TRUE(::IsWindowVisible(m_hWnd));

  m_pCustom->SetVerticalOptions(2);
  m_pCustom->OnCalcDynamicSize(LM_VERTDOCK);
  EXPECT_EQ(m_pCustom->GetHideFlags(), 0u);
  EXPECT_FALSE(::IsWindowVisible(m_hWnd));
  EXPECT_FALSE(m_pCustom->IsWindowShown());
  // Measured as the button it then is, not as the window.
  CClientDC dc(m_pFrame->m_pToolBar);
  EXPECT_NE(m_pCustom->GetSize(&dc), CSize(86, 22));
  m_pCustom->OnCalcDynamicSize(LM_HORZDOCK);
  EXPECT_TRUE(::IsWindowVisible(m_hWnd));
  EXPECT_EQ(m_pCustom->GetSize(&dc), CSize(86, 22));
}

TEST_F(CustomControlTest, ALoadedControlFindsItsWindowAgainByDialogId) {
  const std::wstring strPath =
      L"Software\\BrindleTests\\CustomControl-" + std::to_wstring(::GetCurrentProcessId());
  HKEY hKey = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, strPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &hKey, nullptr),
            ERROR_SUCCESS);
  m_pCustom->SetVerticalOptions(1);
  CXTPPropExchangeRegistry* pSave = new CXTPPropExchangeRegistry(FALSE, hKey, L"Control");
  m_pCustom->DoPropExchange(pSave);
  pSave->InternalRelease();

  CXTPControlCustom* pLoaded = new CXTPControlCustom;
  m_pFrame->m_pToolBar->GetControls()->AddControl(pLoaded, 0);
  CXTPPropExchangeRegistry* pLoad = new CXTPPropExchangeRegistry(TRUE, hKey, L"Control");
  pLoaded->DoPropExchange(pLoad);
  pLoad->InternalRelease();
  ::RegCloseKey(hKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, strPath.c_str());

  EXPECT_EQ(pLoaded->GetControlId(), ID_HOSTED);
  EXPECT_EQ(pLoaded->GetControlWindow(), m_hWnd);
  EXPECT_EQ(pLoaded->GetBorders(), CRect(3, 1, 3, 1));
  EXPECT_EQ(pLoaded->GetControlSize(), CSize(80, 20));
  EXPECT_EQ(pLoaded->GetVerticalOptions(), 1);
  m_pFrame->m_pToolBar->GetControls()->Remove(pLoaded);
}

}  // namespace
