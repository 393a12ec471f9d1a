// The source type page, made by name from its run-time class as no code of the program makes it, in a
// host window beside the in-process wizard: its heading, rule, icon and options, the options under the
// real mouse, Next handing the choice to the main frame, the stop question, and the wait for a worker
// when the page goes.
#include "0TovinSorceFileTypeView.h"
#include "2TovinFolderTreeView.h"

#include "AppTestSupport.h"
#include "BrindleEmlConverterGuiView.h"
#include "InProcessWizard.h"
#include "MainFrame.h"
#include "ProcessProgressDlg.h"
#include "RealInput.h"
#include "TestProcess.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using apptest::AnswerMessageBox;
using apptest::CRecordingWnd;
using apptest::InProcessWizard;

using apptest::kStopQuestion;
const COLORREF kRuleColour = 0x2BDFFF;

// One wizard and one host for the suite (hiding a shown top-level window is slow under Wine); a fresh
// page for each test.
class SourceTypePageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_wizard = new InProcessWizard;
    s_wizard->Create(0, 0, 900, 640);
    s_pageHost = new CRecordingWnd;
    s_pageHost->CreateHost(L"Source type page", 60, 40, 860, 520);
  }
  static void TearDownTestSuite() {
    s_pageHost->DestroyWindow();
    delete s_pageHost;
    s_pageHost = nullptr;
    delete s_wizard;
    s_wizard = nullptr;
  }
  void SetUp() override {
    testsupport::MouseMoveTo(5, 700);
    ASSERT_NE(s_wizard->Frame(), nullptr);
    ASSERT_NE(s_pageHost->m_hWnd, nullptr);
    g_pSourceTypeFrame = nullptr;
    s_wizard->Frame()->SetStopFlags(0);
    s_wizard->Frame()->m_nSourceType = 0;

    CObject* pObject = CRuntimeClass::CreateObject("C0TovinSorceFileTypeView");
    ASSERT_NE(pObject, nullptr);
    page_ = DYNAMIC_DOWNCAST(C0TovinSorceFileTypeView, pObject);
    ASSERT_NE(page_, nullptr);
    CRect rcClient;
    s_pageHost->GetClientRect(&rcClient);
    ASSERT_TRUE(page_->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rcClient, s_pageHost, AFX_IDW_PANE_FIRST,
                              nullptr));
    page_->OnInitialUpdate();
    page_->UpdateWindow();
    apptest::PumpFramework(100);
  }
  void TearDown() override {
    // A view deletes itself with its window.
    if (page_ != nullptr && ::IsWindow(page_->m_hWnd)) page_->DestroyWindow();
    page_ = nullptr;
    s_wizard->Frame()->SetStopFlags(0);
    if (s_wizard->View() != nullptr && s_wizard->View()->GetSelectedPage() != 0)
      s_wizard->Frame()->GoToPage(-1);
    apptest::PumpFramework(50);
  }

  // The message boxes are the frame's: once one goes, the frame may be in front of the host.
  void ClickOption(COptionButton& option) {
    testsupport::BringToFront(s_pageHost->m_hWnd);
    testsupport::MouseClick(option.m_hWnd, 12, 10);
    // A clicked option always ends checked; real input can take a while to arrive under load.
    testsupport::PumpUntil([&] { return Checked(option) == 1; }, 10000);
    apptest::PumpFramework(::GetDoubleClickTime() + 50);
  }
  // Next shows page two, which lists the source NSF at once; these tests give it none, so its worker
  // ends with the store's reason in a message box, which is answered here.
  void ClickNext() {
    apptest::AnswerMessageBox(
        [&] {
          testsupport::BringToFront(s_pageHost->m_hWnd);
          testsupport::MouseClick(page_->m_btnNext.m_hWnd, 20, 10);
          // Page two's listing ends and its last hand-offs (the message box, then the one that
          // enables the folder tree and resets the stop flags) run here. Page two is idle before the
          // click is handled too, so the wait is for the click first: a hand-off that came after the
          // wait would reset the flags a test raised, or show a box that no one answers.
          testsupport::PumpUntil(NextHandledAndPageTwoSettled, 30000);
          apptest::PumpFramework(200);
        },
        CString(), IDOK);
    apptest::PumpFramework(300);
  }
  static bool PageTwoIdle() {
    auto* pPage = dynamic_cast<C2TovinFolderTreeView*>(s_wizard->View()->GetPage(1));
    return pPage == nullptr || !pPage->IsWorkerRunning();
  }
  // Next stores a source type (each test starts from none) and activates page two at once, which
  // disables its folder tree until the listing's last hand-off.
  static bool NextHandledAndPageTwoSettled() {
    if (s_wizard->Frame()->m_nSourceType == 0) return false;
    auto* pPage = dynamic_cast<C2TovinFolderTreeView*>(s_wizard->View()->GetPage(1));
    return pPage == nullptr || (!pPage->IsWorkerRunning() && pPage->m_folderTree.IsWindowEnabled());
  }
  // Sends the server-search stop to the page and answers its question with button.
  bool StopEnumeration(int button) {
    LRESULT result = 0;
    const bool answered = AnswerMessageBox([&] { result = page_->SendMessage(WM_STOP_ENUMERATION, 0, 0); },
                                           kStopQuestion, button);
    EXPECT_EQ(result, 1);
    return answered;
  }
  static int Checked(COptionButton& option) { return static_cast<int>(option.SendMessage(BM_GETCHECK)); }
  bool AnyStopFlag() const {
    CMainFrame* pFrame = s_wizard->Frame();
    return pFrame->m_bStop != 0 || pFrame->m_notesStore.m_bStop != 0;
  }

  static InProcessWizard* s_wizard;
  static CRecordingWnd* s_pageHost;
  C0TovinSorceFileTypeView* page_ = nullptr;
};

InProcessWizard* SourceTypePageTest::s_wizard = nullptr;
CRecordingWnd* SourceTypePageTest::s_pageHost = nullptr;

TEST_F(SourceTypePageTest, MadeByNameItShowsItsHeadingRuleIconAndTheNsfChoice) {
  EXPECT_EQ(apptest::TextOf(page_->m_optNsf.m_hWnd), L"Select this option to convert NSF file(s)");
  EXPECT_EQ(apptest::TextOf(page_->m_optDomino.m_hWnd),
            L"Select this option to convert domino server mail box");
  EXPECT_EQ(Checked(page_->m_optNsf), 1);
  EXPECT_EQ(Checked(page_->m_optDomino), 0);
  EXPECT_EQ(page_->m_optNsf.GetDlgCtrlID(), 100);
  EXPECT_EQ(page_->m_optDomino.GetDlgCtrlID(), 100);
  EXPECT_NE(page_->m_iconStatic.GetIcon(), nullptr);

  // Next and Exit only; Exit in Back's place.
  EXPECT_TRUE(page_->m_btnNext.IsWindowVisible());
  EXPECT_EQ(apptest::TextOf(page_->m_btnNext.m_hWnd), L"Next");
  EXPECT_TRUE(page_->m_btnExit.IsWindowVisible());
  EXPECT_FALSE(page_->m_btnBack.IsWindowVisible());
  EXPECT_FALSE(page_->m_btnStop.IsWindowVisible());

  CRect rcOption;
  page_->m_optNsf.GetWindowRect(&rcOption);
  page_->ScreenToClient(&rcOption);
  EXPECT_EQ(rcOption.TopLeft(), CPoint(342, 130));
  CRect rcClient;
  page_->GetClientRect(&rcClient);
  EXPECT_EQ(rcOption.Width(), rcClient.Width() - 362);

  page_->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  apptest::PumpFramework(50);
  EXPECT_EQ(testsupport::WindowPixel(page_->m_hWnd, 300, 100), kRuleColour);
  EXPECT_EQ(testsupport::WindowPixel(page_->m_hWnd, rcClient.right - 21, 100), kRuleColour);
  EXPECT_NE(testsupport::WindowPixel(page_->m_hWnd, rcClient.right - 10, 100), kRuleColour);
  // The options' faces are white, as the page's colour answer says.
  EXPECT_EQ(testsupport::WindowPixel(page_->m_optDomino.m_hWnd, rcOption.Width() - 4, 10),
            RGB(255, 255, 255));
  testsupport::SaveWindowPng(s_pageHost->m_hWnd, L"app_source_type_page.png");
}

TEST_F(SourceTypePageTest, AClickedOptionEndsCheckedAndTheOtherUnchecked) {
  ClickOption(page_->m_optDomino);
  EXPECT_EQ(Checked(page_->m_optDomino), 1);
  EXPECT_EQ(Checked(page_->m_optNsf), 0);
  EXPECT_EQ(page_->m_nSourceOption, 2);

  ClickOption(page_->m_optDomino);
  EXPECT_EQ(Checked(page_->m_optDomino), 1);
  EXPECT_EQ(Checked(page_->m_optNsf), 0);
  EXPECT_EQ(page_->m_nSourceOption, 2);

  ClickOption(page_->m_optNsf);
  EXPECT_EQ(Checked(page_->m_optNsf), 1);
  EXPECT_EQ(Checked(page_->m_optDomino), 0);
  EXPECT_EQ(page_->m_nSourceOption, 1);
}

TEST_F(SourceTypePageTest, NextWithTheDominoChoiceStoresTwoAndSelectsTabOne) {
  ClickOption(page_->m_optDomino);
  ClickNext();
  EXPECT_EQ(s_wizard->Frame()->m_nSourceType, 2);
  EXPECT_EQ(g_pSourceTypeFrame, s_wizard->Frame());
  ASSERT_NE(s_wizard->View(), nullptr);
  EXPECT_EQ(s_wizard->View()->GetSelectedPage(), 1);
}

TEST_F(SourceTypePageTest, NextWithAnyOtherChoiceStoresOneAndKeepsTheFramePointer) {
  ClickNext();
  EXPECT_EQ(s_wizard->Frame()->m_nSourceType, 1);
  EXPECT_EQ(g_pSourceTypeFrame, nullptr);
  EXPECT_EQ(s_wizard->View()->GetSelectedPage(), 1);

  s_wizard->Frame()->m_nSourceType = 0;
  page_->m_nSourceOption = 7;
  ClickNext();
  EXPECT_EQ(s_wizard->Frame()->m_nSourceType, 1);
  EXPECT_EQ(g_pSourceTypeFrame, nullptr);
}

TEST_F(SourceTypePageTest, TheStopQuestionRaisesFlagsOnlyOnYesAfterADominoNext) {
  // No Domino Next yet: asked, and nothing raised on Yes.
  ASSERT_TRUE(StopEnumeration(IDYES));
  EXPECT_FALSE(AnyStopFlag());

  ClickOption(page_->m_optDomino);
  ClickNext();
  ASSERT_EQ(g_pSourceTypeFrame, s_wizard->Frame());
  // Back on page one, whose activation starts no work that would reset the flags afterwards.
  s_wizard->Frame()->GoToPage(-1);
  // Page two's listing, started by the Next, must have ended with its hand-offs (which reset the stop
  // flags) before the flags are cleared here: under load it can outlast a fixed pause.
  testsupport::PumpUntil(PageTwoIdle, 10000);
  apptest::PumpFramework(1000);
  s_wizard->Frame()->SetStopFlags(0);
  ASSERT_TRUE(StopEnumeration(IDNO));
  EXPECT_FALSE(AnyStopFlag());
  ASSERT_TRUE(StopEnumeration(IDYES));
  EXPECT_EQ(s_wizard->Frame()->m_bStop, 1);
  EXPECT_EQ(s_wizard->Frame()->m_notesStore.m_bStop, 1);
}

TEST_F(SourceTypePageTest, ThePageGoesOnlyOnceItsWorkerHasEndedAndTheLongWaitOffersToEndTheProgram) {
  CMainFrame* pFrame = s_wizard->Frame();
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE worker = ::CreateThread(
      nullptr, 0,
      [](LPVOID event) -> DWORD { return ::WaitForSingleObject(static_cast<HANDLE>(event), INFINITE); },
      release, 0, nullptr);
  ASSERT_NE(worker, nullptr);
  page_->m_hThread = worker;
  const DWORD nOfferAfterMs = pFrame->m_nEndOfferAfterMs;
  pFrame->m_nEndOfferAfterMs = 300;
  CWnd* pExitNow = pFrame->m_pProgressDlg->GetDlgItem(IDC_END_PROGRAM);
  ASSERT_NE(pExitNow, nullptr);
  const HWND exitNow = pExitNow->m_hWnd;
  std::atomic<bool> offered{false};
  // The page's destruction waits on this thread; another looks for the offer, then lets the worker end.
  std::thread onlooker([&] {
    offered = testsupport::WaitUntil([&] { return ::IsWindowVisible(exitNow) != FALSE; }, 20000);
    ::SetEvent(release);
  });
  page_->DestroyWindow();
  page_ = nullptr;
  const bool endedFirst = ::WaitForSingleObject(worker, 0) == WAIT_OBJECT_0;
  onlooker.join();
  pFrame->m_nEndOfferAfterMs = nOfferAfterMs;
  EXPECT_TRUE(offered) << "the long wait offered no way out";
  EXPECT_TRUE(endedFirst) << "the page went while its worker still ran";
  EXPECT_FALSE(::IsWindowVisible(exitNow));
  EXPECT_TRUE(pFrame->IsWindowEnabled());
  ::WaitForSingleObject(worker, INFINITE);
  ::CloseHandle(worker);
  ::CloseHandle(release);
}

}  // namespace
