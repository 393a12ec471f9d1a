// The splitter panel: pane geometry and its limits, drags of both bars with real input (applied on
// release, cancelled by Esc), sizes kept through resizing, and the positions kept in a temporary
// registry profile from one panel to the next.
#include "SplitterPanel.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

using apptest::CRecordingWnd;

const UINT kOuterId = 61191;
const UINT kInnerId = 59397;

BOOL PreTranslateThroughFramework(MSG* pMsg) { return AfxPreTranslateMessage(pMsg); }

class SplitterPanelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new CRecordingWnd;
    s_hostWnd->CreateHost(L"Splitter panel", 40, 40, 640, 440);
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_hostWnd->m_hWnd, nullptr);
    m_strKey.Format(L"BrindleSplitterTest-%lu", ::GetCurrentProcessId());
    AfxGetApp()->SetRegistryKey(m_strKey);
    testsupport::InputSetPreTranslate(PreTranslateThroughFramework);
  }
  void TearDown() override {
    testsupport::InputSetPreTranslate(nullptr);
    CWnd* windows[] = {&outer_, &inner_, &tree_, &list_, &preview_};
    for (CWnd* pWnd : windows) {
      if (pWnd->GetSafeHwnd() != nullptr) pWnd->DestroyWindow();
    }
    HKEY hSoftware;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, &hSoftware) == ERROR_SUCCESS) {
      ::RegDeleteTree(hSoftware, m_strKey);
      ::RegDeleteKey(hSoftware, m_strKey);
      ::RegCloseKey(hSoftware);
    }
    free(const_cast<LPTSTR>(AfxGetApp()->m_pszRegistryKey));
    AfxGetApp()->m_pszRegistryKey = nullptr;
  }

  // The browser page's nesting: tree | (list over preview), in a 600 x 400 area of the host.
  void Build() {
    const DWORD paneStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER;
    ASSERT_TRUE(tree_.Create(L"tree", paneStyle, CRect(0, 0, 10, 10), s_hostWnd, 1));
    ASSERT_TRUE(list_.Create(L"list", paneStyle, CRect(0, 0, 10, 10), s_hostWnd, 2));
    ASSERT_TRUE(preview_.Create(L"preview", paneStyle, CRect(0, 0, 10, 10), s_hostWnd, 3));
    ASSERT_TRUE(
        inner_.Attach(0x52000002, s_hostWnd, &list_, &preview_, kInnerId, CRect(0, 0, 2000, 2000), 10, 10));
    ASSERT_TRUE(
        outer_.Attach(0x52000001, s_hostWnd, &tree_, &inner_, kOuterId, CRect(0, 0, 2000, 2000), 10, 10));
    outer_.MoveWindow(10, 10, 600, 400);
    testsupport::PumpMessages(50);
  }

  CRect RectIn(CWnd& pane, CWnd& panel) {
    CRect rc;
    pane.GetWindowRect(&rc);
    panel.ScreenToClient(&rc);
    return rc;
  }
  CPoint ScreenPoint(CWnd& wnd, int x, int y) {
    CPoint pt(x, y);
    wnd.ClientToScreen(&pt);
    return pt;
  }
  DWORD StoredValue(const CString& section, LPCTSTR entry) {
    return AfxGetApp()->GetProfileInt(section, entry, -1);
  }

  static CRecordingWnd* s_hostWnd;
  CString m_strKey;
  CStatic tree_, list_, preview_;
  CSplitterPanel inner_, outer_;
};

CRecordingWnd* SplitterPanelTest::s_hostWnd = nullptr;

TEST_F(SplitterPanelTest, PanesStartAtTwoHundredPixelsAndKeepThemThroughResizing) {
  Build();
  EXPECT_EQ(tree_.GetParent(), &outer_);
  EXPECT_EQ(list_.GetParent(), &inner_);
  EXPECT_EQ(list_.GetOwner(), s_hostWnd);
  EXPECT_EQ(RectIn(tree_, outer_), CRect(0, 0, 200, 400));
  EXPECT_EQ(RectIn(inner_, outer_), CRect(205, 0, 600, 400));
  CRect rcPreview = RectIn(preview_, inner_);
  EXPECT_EQ(rcPreview.Height(), 200);
  EXPECT_EQ(rcPreview.bottom, 400);
  EXPECT_EQ(RectIn(list_, inner_).bottom, rcPreview.top - 5);

  // The page grows and shrinks: the tree keeps its width, the preview its height.
  outer_.MoveWindow(10, 10, 560, 300);
  EXPECT_EQ(RectIn(tree_, outer_).Width(), 200);
  rcPreview = RectIn(preview_, inner_);
  EXPECT_EQ(rcPreview.Height(), 200);
  EXPECT_EQ(rcPreview.bottom, 300);
}

TEST_F(SplitterPanelTest, ClampKeepsTheBarInsideTheMinimums) {
  Build();
  outer_.MoveWindow(10, 10, 300, 300);
  EXPECT_EQ(outer_.ClampX(-50), 10);
  EXPECT_EQ(outer_.ClampX(5), 10);
  EXPECT_EQ(outer_.ClampX(150), 150);
  EXPECT_EQ(outer_.ClampX(295), 290);
  EXPECT_EQ(outer_.ClampX(5000), 290);
  EXPECT_EQ(inner_.ClampY(-1), 10);
  CRect rcInner;
  inner_.GetClientRect(&rcInner);
  EXPECT_EQ(inner_.ClampY(10000), rcInner.bottom - 10);
}

TEST_F(SplitterPanelTest, DraggingTheBarsMovesThePanesOnRelease) {
  Build();
  ASSERT_TRUE(testsupport::BringToFront(s_hostWnd->m_hWnd));
  const int barX = RectIn(tree_, outer_).right + 2;
  testsupport::InputDrag(ScreenPoint(outer_, barX, 150), ScreenPoint(outer_, 320, 150));
  apptest::PumpFramework(100);
  EXPECT_FALSE(outer_.IsDragging());
  const CRect rcTree = RectIn(tree_, outer_);
  EXPECT_NEAR(rcTree.right, 318, 1);
  EXPECT_EQ(outer_.GetLeftWidth(), rcTree.Width());
  EXPECT_EQ(RectIn(inner_, outer_).left, rcTree.right + 5);

  // The horizontal bar, released far below the panel: the preview keeps its minimum.
  const int barY = RectIn(preview_, inner_).top - 2;
  CRect rcInner;
  inner_.GetClientRect(&rcInner);
  testsupport::InputDrag(ScreenPoint(inner_, 100, barY), ScreenPoint(inner_, 100, rcInner.bottom + 200));
  apptest::PumpFramework(100);
  const CRect rcPreview = RectIn(preview_, inner_);
  EXPECT_EQ(rcPreview.Height(), 10 - 5 / 2);
  EXPECT_EQ(inner_.GetBottomHeight(), rcPreview.Height());
  // A press beside the bar starts no drag.
  testsupport::InputClick(ScreenPoint(inner_, 100, 40).x, ScreenPoint(inner_, 100, 40).y);
  apptest::PumpFramework(100);
  EXPECT_FALSE(inner_.IsDragging());
  testsupport::SaveWindowPng(s_hostWnd->m_hWnd, L"splitter_panel_dragged.png");
}

TEST_F(SplitterPanelTest, EscDuringADragLeavesThePanesAndGivesTheFocusBack) {
  Build();
  CEdit focusEdit;
  ASSERT_TRUE(focusEdit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 415, 200, 435), s_hostWnd, 9));
  ASSERT_TRUE(testsupport::BringToFront(s_hostWnd->m_hWnd));
  focusEdit.SetFocus();
  const CRect before = RectIn(tree_, outer_);
  const CPoint start = ScreenPoint(outer_, before.right + 2, 100);
  testsupport::MouseMoveTo(start.x, start.y);
  testsupport::MouseButton(true);
  apptest::PumpFramework(100);
  ASSERT_TRUE(outer_.IsDragging());
  EXPECT_EQ(CWnd::GetFocus(), &outer_);
  testsupport::MouseMoveTo(start.x + 120, start.y);
  apptest::PumpFramework(100);
  testsupport::KeyPress(VK_ESCAPE);
  apptest::PumpFramework(100);
  EXPECT_FALSE(outer_.IsDragging());
  testsupport::MouseButton(false);
  apptest::PumpFramework(100);
  EXPECT_EQ(RectIn(tree_, outer_), before);
  EXPECT_EQ(CWnd::GetFocus(), &focusEdit);
  focusEdit.DestroyWindow();
}

TEST_F(SplitterPanelTest, PositionsAreStoredAtDestructionAndUsedByTheNextPanel) {
  Build();
  outer_.MoveVerticalBar(152);
  inner_.MoveHorizontalBar(150);
  const int leftRight = RectIn(tree_, outer_).right;
  const int bottomHeight = RectIn(preview_, inner_).Height();
  outer_.DestroyWindow();
  inner_.DestroyWindow();
  EXPECT_EQ(static_cast<int>(StoredValue(L"splt\\init_v61191", L"VertSplitPos")), leftRight);
  EXPECT_EQ(static_cast<int>(StoredValue(L"splt\\init_h59397", L"HorizSplitPos")), bottomHeight);
  // Under the application's own key.
  HKEY hKey;
  ASSERT_EQ(::RegOpenKeyEx(
                HKEY_CURRENT_USER,
                L"Software\\" + m_strKey + L"\\" + AfxGetApp()->m_pszProfileName + L"\\splt\\init_v61191", 0,
                KEY_READ, &hKey),
            ERROR_SUCCESS);
  ::RegCloseKey(hKey);

  // The next page's panels start where the last ones ended.
  tree_.DestroyWindow();
  list_.DestroyWindow();
  preview_.DestroyWindow();
  Build();
  EXPECT_EQ(RectIn(tree_, outer_).right, leftRight);
  EXPECT_EQ(RectIn(preview_, inner_).Height(), bottomHeight);
}

}  // namespace
