// The common page view: its buttons' places and the page operations they run when clicked, the step
// list as drawn for the current step, and the wait for a worker that sends to the waiting thread.
#include "TovinCommonBaseView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "AppTestSupport.h"
#include "WindowTest.h"

namespace {

const COLORREF CAPTION_CURRENT = 0x0000FF;
const COLORREF CAPTION_DONE = 0x005B00;
const COLORREF STEP_LATER = 0x888888;
const COLORREF TEXT_CURRENT = 0xFF0000;
const COLORREF STRIP = 0x0AD3FB;

// A page that counts the operations its buttons run.
class CCountingPage : public CTovinCommonBaseView {
 public:
  void OnNext() override { ++next; }
  void OnBack() override { ++back; }
  void OnExit() override { ++exit; }
  void OnStop() override { ++stop; }
  void OnPreview() override { ++preview; }
  int next = 0, back = 0, exit = 0, stop = 0, preview = 0;
};

class TovinCommonBaseViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pHost = new apptest::CRecordingWnd();
    ASSERT_TRUE(s_pHost->CreateHost(L"Common page view", 40, 40, 760, 560));
  }
  static void TearDownTestSuite() {
    s_pHost->DestroyWindow();
    delete s_pHost;
    s_pHost = nullptr;
  }

  void SetUp() override {
    m_page = new CCountingPage();
    CRect rcHost;
    s_pHost->GetClientRect(&rcHost);
    ASSERT_TRUE(m_page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 700, 500), s_pHost,
                               0xE900, nullptr));
    m_page->OnInitialUpdate();
    m_page->Invalidate();
    testsupport::PumpMessages(100);
  }
  // A view deletes itself when its window goes.
  void TearDown() override {
    if (m_page->GetSafeHwnd() != nullptr) m_page->DestroyWindow();
  }

  // A button's rectangle in the page's client coordinates.
  CRect PlaceOf(const CWnd& button) const {
    CRect rc;
    button.GetWindowRect(&rc);
    m_page->ScreenToClient(&rc);
    return rc;
  }

  // The colours found inside rc of what the page shows.
  std::vector<COLORREF> ColoursIn(const CRect& rc) const {
    int width = 0, height = 0;
    const std::vector<COLORREF> pixels = testsupport::WindowPixels(m_page->GetSafeHwnd(), &width, &height);
    std::vector<COLORREF> found;
    for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, height); ++y)
      for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, width); ++x)
        found.push_back(pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF);
    return found;
  }
  bool Shows(const CRect& rc, COLORREF colour) const {
    const std::vector<COLORREF> colours = ColoursIn(rc);
    return std::find(colours.begin(), colours.end(), colour) != colours.end();
  }

  // Rectangles of step i's caption and text, as the page lays them out (margin 10, row height 70).
  static CRect CaptionRow(int i) { return CRect(50, 70 * i + 20, 180, 10 + 30 + 70 * i); }
  static CRect TextRow(int i) { return CRect(50, 10 + 30 + 70 * i, 180, 10 + 70 * (i + 1) + 20); }

  static apptest::CRecordingWnd* s_pHost;
  CCountingPage* m_page = nullptr;
};

apptest::CRecordingWnd* TovinCommonBaseViewTest::s_pHost = nullptr;

TEST_F(TovinCommonBaseViewTest, ButtonsSitAtTheBottomRightAndExitTakesBacksPlaceWithoutBack) {
  EXPECT_EQ(PlaceOf(m_page->m_btnNext), CRect(580, 450, 680, 480));
  EXPECT_EQ(PlaceOf(m_page->m_btnBack), CRect(460, 450, 560, 480));
  EXPECT_EQ(PlaceOf(m_page->m_btnExit), CRect(340, 450, 440, 480));
  EXPECT_EQ(PlaceOf(m_page->m_btnStop), PlaceOf(m_page->m_btnNext));
  EXPECT_EQ(PlaceOf(m_page->m_btnPreview), PlaceOf(m_page->m_btnBack));
  EXPECT_FALSE(m_page->m_btnPreview.IsWindowVisible());

  m_page->HideBackButton();
  m_page->MoveWindow(0, 0, 640, 480);
  EXPECT_EQ(PlaceOf(m_page->m_btnExit), CRect(400, 430, 500, 460));
  // Back back after a resize without it: Exit makes room for it at once.
  m_page->ShowBackButton();
  EXPECT_EQ(PlaceOf(m_page->m_btnExit), CRect(280, 430, 380, 460));
  m_page->MoveWindow(0, 0, 300, 480);
  EXPECT_EQ(PlaceOf(m_page->m_btnExit).left, -60) << "a narrow page puts Exit left of its edge";
}

TEST_F(TovinCommonBaseViewTest, ClickingTheButtonsRunsTheirPageOperations) {
  m_page->HideStopButton();
  testsupport::PumpMessages(50);
  apptest::ClickControl(m_page->GetSafeHwnd(), 1);
  apptest::ClickControl(m_page->GetSafeHwnd(), 2);
  apptest::ClickControl(m_page->GetSafeHwnd(), 3);
  testsupport::PumpMessages(100);
  EXPECT_EQ(1, m_page->next);
  EXPECT_EQ(1, m_page->back);
  EXPECT_EQ(1, m_page->exit);

  m_page->HideNextButton();
  m_page->ShowStopButton();
  testsupport::PumpMessages(50);
  apptest::ClickControl(m_page->GetSafeHwnd(), 4);
  testsupport::PumpMessages(100);
  EXPECT_EQ(1, m_page->stop);
  EXPECT_EQ(1, m_page->next);
  EXPECT_EQ(0, m_page->preview);
}

TEST_F(TovinCommonBaseViewTest, TheCurrentStepIsMarkedAndLaterStepsAreGrey) {
  m_page->SetCurrentStep(0);
  m_page->RedrawWindow();
  testsupport::PumpMessages(100);
  testsupport::SaveWindowPng(m_page->GetSafeHwnd(), L"common_page_step_one.png");
  EXPECT_TRUE(Shows(CaptionRow(0), CAPTION_CURRENT));
  EXPECT_TRUE(Shows(TextRow(0), TEXT_CURRENT));
  EXPECT_TRUE(Shows(CaptionRow(1), STEP_LATER));
  EXPECT_TRUE(Shows(CaptionRow(2), STEP_LATER));
  EXPECT_FALSE(Shows(CaptionRow(1), CAPTION_DONE));
  // The strip along the bottom, right of the step panel.
  EXPECT_EQ(testsupport::WindowPixel(m_page->GetSafeHwnd(), 400, 495) & 0xFFFFFF, STRIP);
  EXPECT_EQ(testsupport::WindowPixel(m_page->GetSafeHwnd(), 150, 400) & 0xFFFFFF, RGB(255, 255, 255));
}

TEST_F(TovinCommonBaseViewTest, WithStepThreeAllStepsAreDrawnDone) {
  m_page->SetCurrentStep(3);
  m_page->RedrawWindow();
  testsupport::PumpMessages(100);
  testsupport::SaveWindowPng(m_page->GetSafeHwnd(), L"common_page_all_done.png");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Shows(CaptionRow(i), CAPTION_DONE)) << "step " << i;
    EXPECT_TRUE(Shows(TextRow(i), RGB(0, 0, 0))) << "step " << i;
    EXPECT_FALSE(Shows(CaptionRow(i), CAPTION_CURRENT)) << "step " << i;
    EXPECT_FALSE(Shows(TextRow(i), STEP_LATER)) << "step " << i;
  }
}

// Its message waits for the test's thread: only a wait that serves sent messages lets it through.
DWORD WINAPI SendToWindow(LPVOID pParam) {
  ::SendMessageW(static_cast<HWND>(pParam), WM_APP + 7, 0, 0);
  return 0;
}

TEST(WaitForWorker, AWorkerThatSendsToTheWaitingThreadIsServedAndJoined) {
  apptest::CRecordingWnd window;
  ASSERT_TRUE(window.CreateHidden(L"sent to while waiting"));
  window.Watch(WM_APP + 7);
  HANDLE hThread = ::CreateThread(nullptr, 0, SendToWindow, window.GetSafeHwnd(), 0, nullptr);
  ASSERT_NE(hThread, nullptr);
  EXPECT_TRUE(WaitForWorker(hThread, 5000));
  ::CloseHandle(hThread);
  EXPECT_EQ(1, window.Count(WM_APP + 7));
  EXPECT_TRUE(WaitForWorker(nullptr, 0)) << "no worker is no wait";
  window.DestroyWindow();
}

}  // namespace
