// The toolbar in the test frame under Xvfb: the expand strip and its popup with the buttons that did not
// fit and the "Add or Remove Buttons" list, reset with its question, hiding torn-off and ordinary bars,
// groups from a toolbar resource, and tearing a menu off into a floating toolbar (twice).
#include <gtest/gtest.h>

#include <CommandBarsOptions.h>
#include <DockBar.h>
#include <MenuBar.h>
#include <PopupBar.h>

#include <atomic>
#include <thread>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputClick;
using testsupport::InputDrag;
using testsupport::InputDragVia;
using testsupport::PumpMessages;
using testsupport::SaveWindowPng;

// Answers the message boxes this thread shows, counting them.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(int nAnswer) : m_dwThread(::GetCurrentThreadId()), m_nAnswer(nAnswer) {
    m_watcher = std::thread([this] {
      while (!m_bStop) {
        ::EnumThreadWindows(m_dwThread, &MessageBoxAnswerer::Answer, reinterpret_cast<LPARAM>(this));
        ::Sleep(20);
      }
    });
  }
  ~MessageBoxAnswerer() {
    m_bStop = true;
    m_watcher.join();
  }
  int Count() const { return m_nCount; }

 private:
  static BOOL CALLBACK Answer(HWND hWnd, LPARAM lParam) {
    MessageBoxAnswerer* pThis = reinterpret_cast<MessageBoxAnswerer*>(lParam);
    wchar_t szClass[16] = {};
    ::GetClassName(hWnd, szClass, 16);
    if (wcscmp(szClass, L"#32770") == 0 && ::IsWindowVisible(hWnd) && hWnd != pThis->m_hLast) {
      pThis->m_hLast = hWnd;
      pThis->m_nCount++;
      ::PostMessage(hWnd, WM_COMMAND, MAKEWPARAM(pThis->m_nAnswer, BN_CLICKED), 0);
    }
    return TRUE;
  }
  DWORD m_dwThread;
  int m_nAnswer;
  std::atomic<bool> m_bStop{false};
  std::atomic<int> m_nCount{0};
  HWND m_hLast = nullptr;
  std::thread m_watcher;
};

class ToolBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_pFrame = CTestFrame::CreateTestFrame(CRect(60, 60, 660, 420)); }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr) s_pFrame->SaveAndDestroy();
    s_pFrame = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_pFrame, nullptr);
    m_pFrame = s_pFrame;
    m_pFrame->m_arrCommands.clear();
    m_pToolBar = m_pFrame->m_pToolBar;
    m_pOptions = m_pFrame->GetCommandBars()->GetCommandBarsOptions();
    m_pOptions->animationType = 5;
    testsupport::BringToFront(m_pFrame->GetSafeHwnd());
    SettleLayout(m_pFrame);
  }
  void TearDown() override {
    m_pFrame->GetCommandBars()->ClosePopups();
    m_pOptions->bShowExpandButtonAlways = TRUE;
    SettleLayout(m_pFrame);
  }
  CXTPControl* Expand() { return m_pToolBar->GetControls()->FindControl(XTP_ID_TOOLBAR_EXPAND); }

  static CTestFrame* s_pFrame;
  CTestFrame* m_pFrame = nullptr;
  CXTPToolBar* m_pToolBar = nullptr;
  CXTPCommandBarsOptions* m_pOptions = nullptr;
};

CTestFrame* ToolBarTest::s_pFrame = nullptr;

TEST_F(ToolBarTest, TheExpandStripIsReservedWhenAlwaysShownAndOnlyWhenNeededOtherwise) {
  const CSize szAlways = m_pToolBar->CalcDockingLayout(32000, LM_HORZDOCK | LM_HORZ | LM_COMMIT);
  CXTPControl* pExpand = Expand();
  ASSERT_NE(pExpand, nullptr);
  EXPECT_TRUE(pExpand->IsVisible());
  EXPECT_TRUE(pExpand->IsTemporary());
  // Placed by the theme in the reserved strip at the bar's end.
  EXPECT_EQ(pExpand->GetRect().right, szAlways.cx - 2);
  EXPECT_EQ(pExpand->GetRect().Width(), 11);

  m_pOptions->bShowExpandButtonAlways = FALSE;
  const CSize szFitting = m_pToolBar->CalcDockingLayout(32000, LM_HORZDOCK | LM_HORZ | LM_COMMIT);
  EXPECT_FALSE(Expand()->IsVisible());
  EXPECT_EQ(szFitting.cx, szAlways.cx - 11);
  // Too short for its buttons: some wrap, and the strip comes back.
  m_pToolBar->CalcDockingLayout(60, LM_HORZDOCK | LM_HORZ | LM_COMMIT | LM_HIDEWRAP);
  EXPECT_TRUE(Expand()->IsVisible());
}

TEST_F(ToolBarTest, TheExpandButtonOpensTheButtonsThatDidNotFitAndTheAddOrRemoveList) {
  // A frame too narrow for the whole toolbar in one row: it ends inside the fourth button.
  CRect rcFrame, rcBar;
  m_pFrame->GetWindowRect(&rcFrame);
  m_pToolBar->GetWindowRect(&rcBar);
  const int cxNarrow = rcBar.left - rcFrame.left + m_pToolBar->GetControl(3)->GetRect().left + 8;
  m_pToolBar->SetFlags(m_pToolBar->GetFlags() | xtpFlagHideWrap);
  m_pFrame->SetWindowPos(nullptr, 0, 0, cxNarrow, rcFrame.Height(), SWP_NOMOVE | SWP_NOZORDER);
  SettleLayout(m_pFrame);
  int nDropped = 0;
  for (int i = 0; i < m_pToolBar->GetControlCount(); ++i)
    nDropped += m_pToolBar->GetControl(i)->GetHideFlags() == xtpHideWrap;
  ASSERT_GT(nDropped, 0);
  CXTPControl* pExpand = Expand();
  ASSERT_TRUE(pExpand != nullptr && pExpand->IsVisible());
  const CPoint pt = ControlCenter(pExpand);
  InputClick(pt.x, pt.y);
  CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pExpand->GetCommandBar());
  ASSERT_NE(pPopup, nullptr);
  ASSERT_TRUE(pPopup->IsVisible());
  SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_toolbar_expand.png");
  // The dropped buttons, then "Add or Remove Buttons" with this bar's list.
  EXPECT_EQ(pPopup->GetControlCount(), nDropped + 1);
  CXTPControl* pAddRemove = pPopup->GetControl(pPopup->GetControlCount() - 1);
  EXPECT_EQ(pAddRemove->GetCaption(), CString(L"&Add or Remove Buttons"));
  EXPECT_EQ(pAddRemove->GetBeginGroup(), nDropped > 1);
  CXTPCommandBar* pBars = pAddRemove->GetCommandBar();
  ASSERT_NE(pBars, nullptr);
  ASSERT_GE(pBars->GetControlCount(), 1);
  EXPECT_EQ(pBars->GetControl(0)->GetCaption(), CString(L"Standard"));
  CXTPCommandBar* pList = pBars->GetControl(0)->GetCommandBar();
  ASSERT_NE(pList, nullptr);
  // One entry per button of the bar, all checked, then "Reset" in a group of its own.
  const int nButtons = m_pToolBar->GetControls()->GetOriginalControls()->GetCount();
  ASSERT_EQ(pList->GetControlCount(), nButtons + 1);
  for (int i = 0; i < nButtons; ++i) EXPECT_TRUE(pList->GetControl(i)->GetChecked());
  EXPECT_EQ(pList->GetControl(nButtons)->GetCaption(), CString(L"Reset"));
  EXPECT_TRUE(pList->GetControl(nButtons)->GetBeginGroup());

  m_pFrame->GetCommandBars()->ClosePopups();
  m_pToolBar->SetFlags(m_pToolBar->GetFlags() & ~static_cast<DWORD>(xtpFlagHideWrap));
  m_pFrame->SetWindowPos(nullptr, 0, 0, rcFrame.Width(), rcFrame.Height(), SWP_NOMOVE | SWP_NOZORDER);
}

TEST_F(ToolBarTest, AnEntryOfTheListHidesItsButtonAndResetBringsItBackAfterTheQuestion) {
  CXTPPopupBar* pList = CXTPPopupBar::CreatePopupBarForCommandBars(m_pFrame->GetCommandBars());
  m_pToolBar->FillAddRemoveButtonsList(pList);
  CXTPControl* pSaveEntry = nullptr;
  for (int i = 0; i < pList->GetControlCount(); ++i) {
    if (pList->GetControl(i)->GetIconId() == ID_TEST_SAVE) pSaveEntry = pList->GetControl(i);
  }
  ASSERT_NE(pSaveEntry, nullptr);
  pSaveEntry->OnExecute();
  CXTPControl* pSave = m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
  EXPECT_EQ(pSave->GetHideFlags(), DWORD(xtpHideCustomize));
  EXPECT_FALSE(pSaveEntry->GetChecked());
  EXPECT_TRUE(m_pOptions->bDirtyState);
  EXPECT_TRUE(m_pToolBar->GetControls()->IsChangedFromOriginal());
  pList->InternalRelease();

  {
    // Cancel leaves the bar as it is.
    MessageBoxAnswerer answerer(IDCANCEL);
    m_pToolBar->ResetToolBar();
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_EQ(m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE)->GetHideFlags(), DWORD(xtpHideCustomize));
  }
  {
    MessageBoxAnswerer answerer(IDOK);
    m_pToolBar->ResetToolBar();
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_EQ(m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE)->GetHideFlags(), 0u);
    EXPECT_FALSE(m_pToolBar->GetControls()->IsChangedFromOriginal());
  }
}

TEST_F(ToolBarTest, ResetAsksNothingForABarThatIsNotBuiltInOrHasNoIdOrIsNotCustomizable) {
  MessageBoxAnswerer answerer(IDOK);
  CXTPToolBar* pCustom = m_pFrame->GetCommandBars()->AddCustomBar(L"Mine", 0xE810);
  ASSERT_NE(pCustom, nullptr);
  pCustom->GetControls()->Add(xtpControlButton, ID_TEST_CUT);
  pCustom->ResetToolBar();
  m_pToolBar->SetCustomizable(FALSE);
  m_pToolBar->ResetToolBar();
  m_pToolBar->SetCustomizable(TRUE);
  PumpMessages(100);
  EXPECT_EQ(answerer.Count(), 0);
  // The custom bar floats (it has its close button) and keeps its one button.
  EXPECT_NE(pCustom->GetControls()->FindControl(ID_TEST_CUT), nullptr);
  m_pFrame->GetCommandBars()->Remove(pCustom);
}

TEST_F(ToolBarTest, HidingATornOffBarRemovesItAndHidingAnOrdinaryOneOnlyHidesIt) {
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  const int nBars = pCommandBars->GetCount();
  CXTPToolBar* pTorn = pCommandBars->AddCustomBar(L"Torn", 0xE811, TRUE);
  ASSERT_NE(pTorn, nullptr);
  EXPECT_EQ(pTorn->GetPosition(), xtpBarFloating);
  EXPECT_EQ(pCommandBars->GetCount(), nBars + 1);
  pTorn->SetVisible(FALSE);
  EXPECT_EQ(pCommandBars->GetCount(), nBars);
  EXPECT_EQ(pCommandBars->FindCommandBar(0xE811), nullptr);

  m_pToolBar->SetVisible(FALSE);
  EXPECT_EQ(pCommandBars->GetCount(), nBars);
  EXPECT_FALSE(m_pToolBar->IsWindowVisible());
  m_pToolBar->SetVisible(TRUE);
  EXPECT_TRUE(m_pToolBar->IsWindowVisible());
}

TEST_F(ToolBarTest, ALeadingSeparatorGroupsTheFirstButtonAndATrailingOneIsDropped) {
  CXTPToolBar* pBar = m_pFrame->GetCommandBars()->Add(L"Groups", xtpBarBottom);
  ASSERT_NE(pBar, nullptr);
  ASSERT_TRUE(pBar->LoadToolBar(IDR_TEST_TOOLBAR_GROUPS, FALSE));
  ASSERT_EQ(pBar->GetControlCount(), 2);
  EXPECT_TRUE(pBar->GetControl(0)->GetBeginGroup());
  EXPECT_FALSE(pBar->GetControl(1)->GetBeginGroup());
  EXPECT_EQ(pBar->GetBarID(), UINT(IDR_TEST_TOOLBAR_GROUPS));
  // 16-pixel images leave the icon size to the options.
  EXPECT_EQ(pBar->GetIconSizeRaw(), CSize(0, 0));
  m_pFrame->GetCommandBars()->Remove(pBar);
}

TEST_F(ToolBarTest, AFloatingBarHasACloseButtonThatHidesIt) {
  CXTPToolBar* pBar = m_pFrame->GetCommandBars()->AddCustomBar(L"Floating", 0xE812, FALSE);
  ASSERT_NE(pBar, nullptr);
  pBar->GetControls()->Add(xtpControlButton, ID_TEST_CUT);
  ASSERT_TRUE(pBar->SetPosition(xtpBarFloating));
  SettleLayout(m_pFrame);
  CXTPControl* pClose = pBar->GetCloseButton(FALSE);
  ASSERT_NE(pClose, nullptr);
  EXPECT_TRUE(pClose->IsVisible());
  SaveWindowPng(pBar->GetSafeHwnd(), L"commandbars_toolbar_floating_caption.png");
  const CPoint pt = ControlCenter(pClose);
  InputClick(pt.x, pt.y);
  EXPECT_FALSE(pBar->IsVisible());
  m_pFrame->GetCommandBars()->Remove(pBar);
}

TEST_F(ToolBarTest, TearingAMenuOffMakesAFloatingToolbarThatASecondTearOffReuses) {
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  CXTPMenuBar* pMenuBar = pCommandBars->GetMenuBar();
  CXTPControl* pEdit = pMenuBar->GetControl(1);
  CXTPPopupBar* pEditPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pEdit->GetCommandBar());
  ASSERT_NE(pEditPopup, nullptr);
  const UINT nTornId = 0xE820;
  pEditPopup->SetTearOffPopup(L"Edit", nTornId, 400);
  const int nBars = pCommandBars->GetCount();

  auto tearOff = [&](BOOL bBackInside) {
    const CPoint ptEdit = ControlCenter(pEdit);
    InputClick(ptEdit.x, ptEdit.y);
    EXPECT_TRUE(pEditPopup->IsVisible());
    CRect rcStrip = pEditPopup->GetTearOffRect();
    EXPECT_FALSE(rcStrip.IsRectEmpty());
    pEditPopup->ClientToScreen(&rcStrip);
    const CPoint ptStrip = rcStrip.CenterPoint();
    if (!bBackInside) {
      InputDrag(ptStrip, CPoint(ptStrip.x + 250, ptStrip.y + 150), 8);
    } else {
      // Out and back again before the release, with the tear-off drag's loop reading the moves.
      InputDragVia(ptStrip, CPoint(ptStrip.x + 250, ptStrip.y + 150), ptStrip, 0, 4);
      PumpMessages(100);
    }
  };

  tearOff(FALSE);
  CXTPToolBar* pTorn = pCommandBars->FindCommandBar(nTornId);
  ASSERT_NE(pTorn, nullptr);
  EXPECT_TRUE(pTorn->IsTearOff());
  EXPECT_EQ(pTorn->GetPosition(), xtpBarFloating);
  EXPECT_TRUE(pTorn->IsWindowVisible());
  EXPECT_NE(pTorn->GetControls()->FindControl(ID_TEST_CUT), nullptr);
  EXPECT_EQ(pCommandBars->GetCount(), nBars + 1);
  EXPECT_FALSE(pEditPopup->IsVisible());
  EXPECT_EQ(CXTPBarMouseTracker::GetThreadState()->GetTrackedCount(), 0);
  SaveWindowPng(pTorn->GetSafeHwnd(), L"commandbars_torn_off.png");

  // Again: the bar that exists is used, and going back inside before letting go keeps it.
  pTorn->InternalAddRef();
  tearOff(TRUE);
  EXPECT_EQ(pCommandBars->FindCommandBar(nTornId), pTorn);
  EXPECT_EQ(pCommandBars->GetCount(), nBars + 1);
  EXPECT_TRUE(pTorn->IsVisible());
  pTorn->InternalRelease();

  pCommandBars->FindCommandBar(nTornId)->SetVisible(FALSE);
  EXPECT_EQ(pCommandBars->FindCommandBar(nTornId), nullptr);
}

}  // namespace
