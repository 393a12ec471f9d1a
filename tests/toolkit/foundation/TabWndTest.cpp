// The tab window on the display: pages switching with the selection, the notification reaching the
// parent, the wizard's set-up (hidden headers, the strip at the bottom, its own strip fill), and
// clicks, keys, the arrows and the close button driven by real input.
#include <gtest/gtest.h>

#include <functional>

#include "ControlHost.h"
#include "TestHeap.h"
#include "DrawHelpers.h"
#include "ImageManager.h"
#include "TabColorSchemeFlat.h"
#include "TabShapeSet.h"
#include "TabWnd.h"
#include "TipSettings.h"
#include "ToolkitCanvas.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

// A host on the test stage that records the tab window's selection notices.
class NotifyParent : public ControlHost {
 public:
  NotifyParent(int cx, int cy) { CreateHost(_T("Tab window"), 20, 20, cx, cy); }

  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMHDR->code == static_cast<UINT>(TCN_SELCHANGE)) {
      ++m_nSelChanges;
      m_nLastId = static_cast<UINT>(wParam);
      m_hLastFrom = pNMHDR->hwndFrom;
    }
    *pResult = 0;
    return TRUE;
  }

  int m_nSelChanges = 0;
  UINT m_nLastId = 0;
  HWND m_hLastFrom = nullptr;
};

// What the wizard installs: the flat scheme whose strip is a yellow frame round a white-to-cream
// gradient, with the first tab's caption written on it.
class WizardScheme : public CXTPTabColorSchemeFlat {
 public:
  void FillStripBackground(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) override {
    pDC->FillSolidRect(rc, RGB(255, 255, 0));
    rc.DeflateRect(1, 1);
    DrawGradientRect(pDC, rc, RGB(255, 255, 255), 0xEFFEFF, FALSE);
    if (pTabManager->GetItemCount() > 0) {
      pDC->SetBkMode(TRANSPARENT);
      pDC->SetTextColor(RGB(0, 0, 255));
      pDC->TextOut(20, 4, pTabManager->GetItem(0)->GetCaption());
    }
  }
};

class WizardPainter : public CXTPTabPainter {
 public:
  CString m_strName = _T("wizard");
};

HWND MakePage(CXTPTabWnd& tabs, LPCTSTR lpszText) {
  return ::CreateWindowW(L"STATIC", lpszText, WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0,
                         tabs.GetSafeHwnd(), nullptr, nullptr, nullptr);
}

CRect RectInParent(HWND hWnd) {
  CRect rc;
  ::GetWindowRect(hWnd, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// The colour a window shows at a client point of one of its descendants.
COLORREF PixelAt(CWnd& host, HWND hWnd, CPoint pt) {
  ::ClientToScreen(hWnd, &pt);
  CRect rcWindow;
  host.GetWindowRect(&rcWindow);
  return testsupport::WindowPixel(host.GetSafeHwnd(), pt.x - rcWindow.left, pt.y - rcWindow.top);
}

// A real left click at a client point of the tab window.
void ClickTabAt(CWnd& tabs, CPoint pt) { testsupport::MouseClick(tabs.GetSafeHwnd(), pt.x, pt.y); }

// Moves the mouse to a client point of the tab window.
void MoveTo(CWnd& tabs, CPoint pt) {
  const CPoint ptScreen = ScreenPoint(&tabs, pt.x, pt.y);
  testsupport::MouseMoveTo(ptScreen.x, ptScreen.y);
}

// Presses the left button for the press loop of the navigate button under the mouse, and releases
// it (with nKeyFirst pressed before, unless 0) once `held` says the loop has done what the press is
// for, or after ten seconds; returns when the loop has ended.
void HoldUntil(CWnd& tabs, const std::function<bool()>& held, UINT nKeyFirst = 0) {
  const DWORD dwStart = ::GetTickCount();
  testsupport::ModalLoopInput release([&]() -> std::function<void()> {
    if (::GetCapture() != tabs.GetSafeHwnd() || (!held() && ::GetTickCount() - dwStart < 10000))
      return nullptr;
    return [nKeyFirst] {
      if (nKeyFirst != 0) testsupport::KeyPress(static_cast<WORD>(nKeyFirst));
      testsupport::MouseButton(false);
    };
  });
  testsupport::MouseButton(true);
  testsupport::PumpUntil([&] { return release.Sent() && ::GetCapture() == nullptr; }, 20000);
}

}  // namespace

TEST(TabWnd, WizardPagesSwitchOnSetCurSelBesideAHiddenStripAtTheBottom) {
  NotifyParent parent(520, 380);
  CXTPTabWnd tabs;
  ASSERT_TRUE(tabs.Create(0x56010000, CRect(0, 0, 200, 200), &parent, 100));
  auto* pPainter = new WizardPainter();
  pPainter->SetShapeSet(7);
  pPainter->m_bHotTracking = TRUE;
  pPainter->m_bShowIcons = TRUE;
  pPainter->SetPlainColors(FALSE);
  pPainter->SetSchemeOption(FALSE);
  pPainter->SetPosition(xtpTabPositionTop);
  pPainter->m_bClientFrame = FALSE;
  pPainter->m_bBoldSelected = TRUE;
  pPainter->SetColorSchemeObject(new WizardScheme());
  tabs.SetPaintManager(pPainter);

  const LPCTSTR kCaptions[3] = {_T(""), _T("Folder Selection"), _T("Savinf Progress")};
  HWND hPages[3];
  for (int i = 0; i < 3; ++i) {
    hPages[i] = MakePage(tabs, kCaptions[i][0] != 0 ? kCaptions[i] : _T("Source"));
    tabs.InsertItem(i, kCaptions[i], hPages[i], 58);
  }
  for (int i = 0; i < 3; ++i) tabs.GetItem(i)->SetStateFlag(FALSE);
  tabs.SetPosition(xtpTabPositionBottom);
  tabs.MoveWindow(0, 0, 500, 340);
  testsupport::PumpMessages(100);

  EXPECT_EQ(parent.m_nSelChanges, 1) << "inserting at 0 selected the first page";
  EXPECT_TRUE(::IsWindowVisible(hPages[0]));
  EXPECT_FALSE(::IsWindowVisible(hPages[1]));
  EXPECT_FALSE(::IsWindowVisible(hPages[2]));

  tabs.SetCurSel(1);
  EXPECT_EQ(parent.m_nSelChanges, 2);
  EXPECT_EQ(parent.m_nLastId, 100u);
  EXPECT_EQ(parent.m_hLastFrom, tabs.GetSafeHwnd());
  EXPECT_FALSE(::IsWindowVisible(hPages[0]));
  EXPECT_TRUE(::IsWindowVisible(hPages[1]));
  tabs.SetCurSel(1);
  EXPECT_EQ(parent.m_nSelChanges, 3) << "selecting the selected page still tells the parent";
  tabs.SetCurSel(7);
  EXPECT_TRUE(::IsWindowVisible(hPages[2]));
  tabs.SetCurSel(-2);
  EXPECT_TRUE(::IsWindowVisible(hPages[0]));
  EXPECT_EQ(tabs.GetCurSel(), 0);

  // The strip keeps one row's thickness at the bottom, and the page fills the rest.
  const CRect rcHeader = tabs.GetHeaderRect();
  const int nRow = pPainter->GetShapeSet()->GetButtonHeight(&tabs);
  EXPECT_EQ(rcHeader.bottom, 340);
  EXPECT_EQ(rcHeader.Height(), nRow + 3);
  EXPECT_EQ(RectInParent(hPages[0]), tabs.GetClientArea());
  EXPECT_EQ(tabs.GetClientArea(), CRect(2, 2, 498, 340 - nRow - 3 + 1 - 2));

  // A click on the strip hits no tab.
  ClickTabAt(tabs, CPoint(150, rcHeader.CenterPoint().y));
  testsupport::PumpMessages(100);
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_EQ(parent.m_nSelChanges, 5);

  // The wizard's strip fill reaches the screen: the yellow frame along the bottom.
  EXPECT_EQ(PixelAt(parent, tabs.GetSafeHwnd(), CPoint(250, 339)), RGB(255, 255, 0));
  EXPECT_TRUE(
      ColorsNear(PixelAt(parent, tabs.GetSafeHwnd(), CPoint(250, rcHeader.top + 2)), RGB(255, 255, 255), 2))
      << "white at the top of the gradient";
  EXPECT_FALSE(testsupport::SaveWindowPng(parent.GetSafeHwnd(), L"tab-window-wizard.png").empty());
}

TEST(TabWnd, ClicksAndKeysSelectTabsAndTheFocusFollows) {
  NotifyParent parent(420, 260);
  CXTPTabWnd tabs;
  ASSERT_TRUE(
      tabs.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, CRect(10, 10, 400, 220), &parent, 7));
  HWND hPages[3];
  const LPCTSTR kCaptions[3] = {_T("&Mail"), _T("Calendar"), _T("Tasks")};
  for (int i = 0; i < 3; ++i) {
    hPages[i] = MakePage(tabs, kCaptions[i]);
    tabs.InsertItem(i, kCaptions[i], hPages[i]);
  }
  testsupport::PumpMessages(100);
  const int nNotices = parent.m_nSelChanges;

  const CRect rcCalendar = tabs.GetItem(1)->GetRect();
  ClickTabAt(tabs, rcCalendar.CenterPoint());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return tabs.GetCurSel() == 1; }, 2000));
  EXPECT_EQ(parent.m_nSelChanges, nNotices + 1);
  EXPECT_EQ(parent.m_nLastId, 7u);
  EXPECT_TRUE(::IsWindowVisible(hPages[1]));
  EXPECT_EQ(::GetFocus(), hPages[1]) << "the focus moves into the page";

  // A click on the selected tab takes the focus; then the arrows move along the strip.
  ClickTabAt(tabs, rcCalendar.CenterPoint());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return ::GetFocus() == tabs.GetSafeHwnd(); }, 2000));
  testsupport::KeyPress(VK_RIGHT);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return tabs.GetCurSel() == 2; }, 2000));
  testsupport::KeyPress(VK_HOME);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return tabs.GetCurSel() == 0; }, 2000));
  EXPECT_TRUE(::IsWindowVisible(hPages[0]));
  EXPECT_EQ(::GetFocus(), tabs.GetSafeHwnd()) << "keys keep the focus on the strip";
  EXPECT_EQ(tabs.SendMessage(WM_GETDLGCODE) & DLGC_WANTARROWS, static_cast<LRESULT>(DLGC_WANTARROWS));
  EXPECT_FALSE(testsupport::SaveWindowPng(parent.GetSafeHwnd(), L"tab-window-focus.png").empty());
}

TEST(TabWnd, HoldingTheForwardArrowScrollsAndTheCloseButtonClosesTheSelectedTab) {
  NotifyParent parent(300, 200);
  CXTPTabWnd tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 230, 150), &parent, 8));
  for (int i = 0; i < 6; ++i) tabs.InsertItem(i, _T("A long caption"));
  CXTPTabScrollButton* pForward = tabs.GetNavigateButton(xtpTabNavigateButtonRight);
  ASSERT_TRUE(pForward->IsVisible());
  testsupport::PumpMessages(100);

  const CPoint ptForward = pForward->GetRect().CenterPoint();
  MoveTo(tabs, ptForward);
  testsupport::PumpMessages(30);
  HoldUntil(tabs, [&] { return tabs.GetScrollOffset() <= -40; });
  const int nOffset = tabs.GetScrollOffset();
  EXPECT_LT(nOffset, -20) << "several steps while held";
  EXPECT_EQ(::GetCapture(), nullptr);

  CXTPTabScrollButton* pClose = tabs.GetNavigateButton(xtpTabNavigateButtonClose);
  pClose->SetShowMode(xtpTabNavigateButtonAlways);
  tabs.SetCurSel(1);
  const CPoint ptClose = pClose->GetRect().CenterPoint();
  // Escape while the button is held: nothing closes.
  MoveTo(tabs, ptClose);
  testsupport::PumpMessages(30);
  HoldUntil(
      tabs, [] { return true; }, VK_ESCAPE);
  EXPECT_EQ(tabs.GetItemCount(), 6);

  CXTPTabManagerItem* pFollower = tabs.GetItem(2);
  ClickTabAt(tabs, ptClose);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return tabs.GetItemCount() == 5; }, 2000));
  EXPECT_EQ(tabs.GetSelectedItem(), pFollower) << "the neighbour takes the selection";
}

TEST(TabWnd, TabsShowTheirIconsFromTheImageManager) {
  NotifyParent parent(300, 160);
  CXTPTabWnd tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 280, 120), &parent, 9));
  // A red 16 x 16 icon as image 58.
  ICONINFO info = {};
  info.fIcon = TRUE;
  CWindowDC dcScreen(nullptr);
  CBitmap color, mask;
  color.CreateCompatibleBitmap(&dcScreen, 16, 16);
  mask.CreateBitmap(16, 16, 1, 1, nullptr);
  {
    CDC dc;
    dc.CreateCompatibleDC(&dcScreen);
    CBitmap* pOld = dc.SelectObject(&color);
    dc.FillSolidRect(0, 0, 16, 16, RGB(255, 0, 0));
    dc.SelectObject(&mask);
    dc.FillSolidRect(0, 0, 16, 16, RGB(0, 0, 0));
    dc.SelectObject(pOld);
  }
  info.hbmColor = static_cast<HBITMAP>(color.GetSafeHandle());
  info.hbmMask = static_cast<HBITMAP>(mask.GetSafeHandle());
  HICON hIcon = ::CreateIconIndirect(&info);
  ASSERT_NE(hIcon, nullptr);
  tabs.GetImageManager()->SetIcon(CXTPIconHandle(hIcon, TRUE), 58, CSize(16, 16));
  tabs.InsertItem(0, _T("With"), nullptr, 58);
  tabs.InsertItem(1, _T("Without"), nullptr, 12);
  testsupport::PumpMessages(100);

  CDC* pDC = tabs.GetDC();
  EXPECT_TRUE(tabs.DrawItemIcon(pDC, CPoint(0, 0), tabs.GetItem(0), FALSE, CSize(16, 16)));
  EXPECT_FALSE(tabs.DrawItemIcon(pDC, CPoint(0, 0), tabs.GetItem(1), FALSE, CSize(16, 16)))
      << "no such image";
  tabs.ReleaseDC(pDC);
  const int nWithIcon = tabs.GetItem(0)->GetLength();
  tabs.GetItem(0)->SetImageIndex(-1);
  tabs.Reposition();
  EXPECT_EQ(nWithIcon - tabs.GetItem(0)->GetLength(), 16) << "the icon takes its width";
  tabs.GetItem(0)->SetImageIndex(58);
  tabs.Reposition();
  testsupport::PumpMessages(50);

  // The icon starts 6 pixels into the tab, centred across it.
  const CRect rcWith = tabs.GetItem(0)->GetRect();
  EXPECT_EQ(PixelAt(parent, tabs.GetSafeHwnd(), CPoint(rcWith.left + 6 + 8, rcWith.CenterPoint().y)),
            RGB(255, 0, 0));
  EXPECT_FALSE(testsupport::SaveWindowPng(parent.GetSafeHwnd(), L"tab-window-icons.png").empty());
}

TEST(TabWnd, ShrunkTabsOfferTheirToolTipsAndFullOnesDoNot) {
  NotifyParent parent(300, 160);
  CXTPTabWnd tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 100), &parent, 10));
  tabs.GetPaintManager()->SetLayout(xtpTabLayoutSizeToFit);
  tabs.InsertItem(0, _T("A very long first caption"))->SetTooltip(_T("First"));
  tabs.InsertItem(1, _T("A very long second caption"))->SetTooltip(_T("Second"));
  tabs.Reposition();
  ASSERT_LT(tabs.GetItem(1)->GetLength(), tabs.GetItem(1)->GetIdealLength());

  TOOLINFO ti = {};
  ti.cbSize = XTP_TOOLINFO_SIZE;
  const CRect rcSecond = tabs.GetItem(1)->GetRect();
  EXPECT_EQ(tabs.OnToolHitTest(rcSecond.CenterPoint(), &ti), 1);
  EXPECT_EQ(ti.uId, 1u);
  EXPECT_EQ(CRect(ti.rect), rcSecond);
  EXPECT_EQ(ti.hwnd, tabs.GetSafeHwnd());
  ASSERT_NE(ti.lpszText, nullptr);
  EXPECT_STREQ(ti.lpszText, L"Second");
  free(ti.lpszText);

  TOOLINFO none = {};
  none.cbSize = XTP_TOOLINFO_SIZE;
  EXPECT_EQ(tabs.OnToolHitTest(CPoint(80, 90), &none), -1) << "not on a tab";
  tabs.GetPaintManager()->SetLayout(xtpTabLayoutAutoSize);
  tabs.GetPaintManager()->m_nToolTipMode = 2;
  tabs.MoveWindow(0, 0, 600, 100);
  EXPECT_EQ(tabs.OnToolHitTest(tabs.GetItem(1)->GetRect().CenterPoint(), &none), -1)
      << "the tab is not shrunk";
  tabs.GetPaintManager()->m_nToolTipMode = 1;
  TOOLINFO always = {};
  always.cbSize = XTP_TOOLINFO_SIZE;
  EXPECT_EQ(tabs.OnToolHitTest(tabs.GetItem(0)->GetRect().CenterPoint(), &always), 0);
  free(always.lpszText);
}

TEST(TabWnd, ATabWindowThatIsNeverCreatedStillKeepsItsImages) {
  // The wizard's pages keep their step marks in a tab window's image manager and never create it.
  CXTPTabWnd images;
  HICON hIcon = ::LoadIconW(nullptr, IDI_INFORMATION);
  images.GetImageManager()->SetIcon(CXTPIconHandle(hIcon), 46, CSize(16, 16));
  EXPECT_NE(images.GetImageManager()->GetImage(46, 16), nullptr);
  images.SetCurSel(0);
  images.InsertItem(0, _T("No window"));
  EXPECT_EQ(images.GetCurSel(), 0);
}

TEST(TabWnd, InsertingAtZeroSelectsThatTabAndATabWithoutAPageHidesTheLastOne) {
  NotifyParent parent(300, 160);
  CXTPTabWnd tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 280, 120), &parent, 11));
  HWND hPage = MakePage(tabs, _T("Page"));
  tabs.InsertItem(2, _T("Later"));
  EXPECT_EQ(tabs.GetSelectedItem(), nullptr) << "only index 0 selects";
  tabs.InsertItem(0, _T("First"), hPage);
  ASSERT_NE(tabs.GetSelectedItem(), nullptr);
  EXPECT_EQ(tabs.GetSelectedItem()->GetCaption(), CString(_T("First")));
  EXPECT_TRUE(::IsWindowVisible(hPage));
  tabs.SetCurSel(1);
  EXPECT_FALSE(::IsWindowVisible(hPage));
  EXPECT_EQ(tabs.GetClientWindow(), nullptr);
}

namespace {

using SelfDeletingTabWnd = SelfDeletingWnd<CXTPTabWnd>;

// A host window with a heap-made tab window of six long tabs, in guarded pages, so that a use of either
// after the host is destroyed faults.
class DestroyedHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pParent = new NotifyParent(300, 200);
    m_pTabs = new SelfDeletingTabWnd(&m_bTabsDeleted);
    ASSERT_TRUE(m_pTabs->Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 230, 150), m_pParent, 8));
    for (int i = 0; i < 6; ++i) m_pTabs->InsertItem(i, _T("A long caption"));
    testsupport::PumpMessages(100);
  }
  void TearDown() override {
    if (::IsWindow(m_pParent->GetSafeHwnd())) m_pParent->DestroyWindow();
    delete m_pParent;
  }
  // Destroys the host inside the loop that a press at ptClient starts.
  void PressAndDestroyTheHost(CPoint ptClient) {
    MoveTo(*m_pTabs, ptClient);
    testsupport::PumpMessages(30);
    PressAndDestroyInsideTheLoop(m_pParent->GetSafeHwnd(), [this] { return m_bTabsDeleted; });
    testsupport::PumpMessages(50);
  }

  GuardedHeapScope m_guarded;
  NotifyParent* m_pParent = nullptr;
  SelfDeletingTabWnd* m_pTabs = nullptr;
  bool m_bTabsDeleted = false;
};

TEST_F(DestroyedHostTest, DestroyingTheHostWhileAnArrowIsHeldEndsThePressLoop) {
  CXTPTabScrollButton* pForward = m_pTabs->GetNavigateButton(xtpTabNavigateButtonRight);
  ASSERT_TRUE(pForward->IsVisible());
  PressAndDestroyTheHost(pForward->GetRect().CenterPoint());
  EXPECT_TRUE(m_bTabsDeleted);
  EXPECT_FALSE(::IsWindow(m_pParent->GetSafeHwnd()));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_GT(GuardedHeapScope::MadeCount(), 0);
}

TEST_F(DestroyedHostTest, DestroyingTheHostDuringATabDragEndsTheReorderLoop) {
  m_pTabs->SetAllowReorder(TRUE);
  CXTPTabManagerItem* pItem = m_pTabs->GetItem(0);
  ASSERT_NE(pItem, nullptr);
  PressAndDestroyTheHost(pItem->GetRect().CenterPoint());
  EXPECT_TRUE(m_bTabsDeleted);
  EXPECT_FALSE(::IsWindow(m_pParent->GetSafeHwnd()));
  EXPECT_EQ(::GetCapture(), nullptr);
}

}  // namespace
