// Tool tips: the settings' relay through an owner's hit test, the tip window's delay and quick
// re-show under an injected clock, pressed tools and held buttons, deleting the shown tool, the
// process-wide mouse hook, tool records of every size, the tip's size, one real tip shown and hidden
// by real mouse input, and clicks on a tip that leave its owner active.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "ColorTable.h"
#include "FakeSystemQueries.h"
#include "RealInput.h"
#include "RichTextTipWindow.h"
#include "SystemResources.h"
#include "TipSettings.h"
#include "TipWindow.h"
#include "ToolkitCanvas.h"
#include "WindowTest.h"

namespace {

DWORD g_now = 100000;
DWORD WINAPI TestClock() { return g_now; }

// A top-level window with two tools, its left and right halves (ids 1 and 2), that relays its
// mouse messages to its tip settings.
class TipOwner : public CWnd {
 public:
  TipOwner() = default;

  BOOL CreateOwner() {
    return CreateEx(WS_EX_TOPMOST,
                    AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                        static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))),
                    L"Tip owner", WS_POPUP | WS_VISIBLE | WS_BORDER, 200, 200, 300, 100, nullptr, nullptr);
  }

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(point)) return -1;
    const BOOL bLeft = point.x < rcClient.Width() / 2;
    CRect rcTool = rcClient;
    (bLeft ? rcTool.right : rcTool.left) = rcClient.Width() / 2;
    CXTPTipSettings::FillToolInfo(pTI, m_hWnd, rcTool, bLeft ? 1 : 2, bLeft ? L"Left half" : L"Right &half",
                                  L"Title", L"Extended text");
    return bLeft ? 1 : 2;
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LBUTTONDOWN) ++m_nButtonDowns;
    if (message == WM_MOUSEMOVE) ++m_nMouseMoves;
    if (m_bRelay) m_pSettings->RelayEvent(this, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
  }

  BOOL m_bRelay = FALSE;
  CXTPTipSettings* m_pSettings = nullptr;
  int m_nButtonDowns = 0;
  int m_nMouseMoves = 0;
};

// Showing a top-level window takes a while under the test display: the owner is made once.
class TipTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_owner = new TipOwner();
    ASSERT_TRUE(s_owner->CreateOwner());
  }
  static void TearDownTestSuite() {
    s_owner->DestroyWindow();
    delete s_owner;
    s_owner = nullptr;
  }
  void SetUp() override {
    previousClock_ = CXTPTipWindow::SetClock(TestClock);
    owner_ = s_owner;
    UseNewSettings(xtpTipPlain);
    ::SetForegroundWindow(owner_->m_hWnd);
    testsupport::PumpMessages(20);
  }
  void TearDown() override {
    owner_->m_bRelay = FALSE;
    owner_->m_pSettings = nullptr;
    if (settings_ != nullptr) settings_->InternalRelease();
    CXTPTipWindow::SetClock(previousClock_);
  }
  void UseNewSettings(int nTipKind) {
    settings_ = new CXTPTipSettings();
    settings_->SetTipKind(nTipKind);
    owner_->m_pSettings = settings_;
  }

  // A mouse move over the owner's client point, relayed as the owner's window procedure would.
  void MoveTo(int x, int y, UINT message = WM_MOUSEMOVE) {
    CPoint pt(x, y);
    owner_->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    MSG msg = {owner_->m_hWnd, message, 0, MAKELPARAM(x, y), 0, pt};
    settings_->FilterToolTipMessage(owner_, &msg, TRUE);
  }
  CXTPTipWindow* Tip() { return static_cast<CXTPTipWindow*>(settings_->GetTipWindow()); }
  // Shows the first tool's tip with the owner in front and puts it under the resting pointer, still
  // over the tool's window; returns once a real move has passed through the tip to the owner, the tip
  // still showing.
  void ShowTipUnderThePointer() {
    ASSERT_TRUE(testsupport::BringToFront(owner_->m_hWnd));
    MoveTo(50, 30);
    FireTimer();
    ASSERT_EQ(ShownId(), 1u);
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    Tip()->SetWindowPos(nullptr, ptCursor.x - 10, ptCursor.y - 5, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int nMovesBefore = owner_->m_nMouseMoves;
    ++ptCursor.x;
    testsupport::MouseMoveTo(ptCursor.x, ptCursor.y);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return owner_->m_nMouseMoves > nMovesBefore; }, 3000))
        << "the move went through the tip to the owner";
    ASSERT_TRUE(Tip()->IsWindowVisible());
    CRect rcTip;
    Tip()->GetWindowRect(&rcTip);
    ASSERT_TRUE(rcTip.PtInRect(ptCursor));
  }

  void FireTimer() { Tip()->SendMessage(WM_TIMER, CXTPTipWindow::nShowTimerId); }
  UINT_PTR ShownId() { return Tip()->GetCurrentTool() != nullptr ? Tip()->GetCurrentTool()->uId : 0; }

  static TipOwner* s_owner;
  CXTPTipWindow::PFNTIPCLOCK previousClock_ = nullptr;
  CXTPTipSettings* settings_ = nullptr;
  TipOwner* owner_ = nullptr;
};

TipOwner* TipTest::s_owner = nullptr;

}  // namespace

TEST_F(TipTest, ATipShowsAfterTheDelayAtTheCursorAndTopmost) {
  MoveTo(50, 50);
  ASSERT_NE(Tip(), nullptr);
  EXPECT_TRUE(Tip()->IsKindOf(RUNTIME_CLASS(CXTPTipWindow)));
  EXPECT_TRUE(Tip()->IsActive());
  EXPECT_EQ(Tip()->GetToolCount(), 1);
  ASSERT_NE(Tip()->GetPendingTool(), nullptr) << "waits for the show timer";
  EXPECT_FALSE(Tip()->IsWindowVisible());

  FireTimer();
  EXPECT_EQ(ShownId(), 1u);
  EXPECT_TRUE(Tip()->IsWindowVisible());
  CRect rcTip;
  Tip()->GetWindowRect(&rcTip);
  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  EXPECT_EQ(rcTip.TopLeft(), CPoint(ptCursor.x, ptCursor.y + 21));
  EXPECT_EQ(rcTip.Size(), Tip()->CalcTipSize(*Tip()->GetCurrentTool()));
  EXPECT_TRUE(Tip()->GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), Tip());
}

TEST_F(TipTest, AnotherToolWithin200MsOfAHideShowsAtOnce) {
  MoveTo(50, 50);
  FireTimer();
  ASSERT_EQ(ShownId(), 1u);
  g_now += 100;
  MoveTo(250, 50);
  EXPECT_EQ(ShownId(), 2u) << "no delay within the quick re-show window";
  EXPECT_EQ(Tip()->GetToolCount(), 1) << "the last tool was replaced";

  MoveTo(150, 150);  // off the owner: no tool
  EXPECT_EQ(ShownId(), 0u);
  EXPECT_FALSE(Tip()->IsWindowVisible());
  g_now += 300;
  MoveTo(50, 50);
  EXPECT_EQ(ShownId(), 0u) << "after 200 ms the delay applies again";
  EXPECT_NE(Tip()->GetPendingTool(), nullptr);
  MoveTo(150, 150);
  EXPECT_EQ(Tip()->GetPendingTool(), nullptr) << "leaving the tool cancels the pending tip";
}

TEST_F(TipTest, AClickHidesTheTipUntilTheCursorLeavesTheTool) {
  MoveTo(50, 50);
  FireTimer();
  ASSERT_EQ(ShownId(), 1u);
  MoveTo(50, 50, WM_LBUTTONDOWN);
  EXPECT_FALSE(Tip()->IsWindowVisible());
  EXPECT_FALSE(Tip()->IsActive());
  g_now += 1000;
  MoveTo(52, 52);
  FireTimer();
  EXPECT_EQ(ShownId(), 0u) << "the same tool stays quiet";
  MoveTo(150, 150);
  MoveTo(50, 50);
  FireTimer();
  EXPECT_EQ(ShownId(), 1u) << "back on the tool after leaving it";
}

TEST_F(TipTest, APressedToolShowsNoTipAndAHeldButtonSuppressesAll) {
  MoveTo(50, 50);
  CPoint pt(50, 50);
  owner_->ClientToScreen(&pt);
  MSG msg = {owner_->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50), 0, pt};
  Tip()->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  ASSERT_NE(Tip()->GetPressedTool(), nullptr);
  EXPECT_EQ(Tip()->GetPendingTool(), nullptr);
  msg.message = WM_MOUSEMOVE;
  Tip()->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  EXPECT_EQ(Tip()->GetPendingTool(), nullptr) << "the pressed tool counts as none";

  MoveTo(250, 50);
  ASSERT_NE(Tip()->GetPendingTool(), nullptr) << "the other half is a tool of its own";
  BYTE keys[256];
  ::GetKeyboardState(keys);
  BYTE held[256];
  memcpy(held, keys, sizeof(keys));
  held[VK_RBUTTON] = 0x80;
  ::SetKeyboardState(held);
  msg.pt.x += 200;
  Tip()->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  EXPECT_EQ(Tip()->GetPendingTool(), nullptr) << "a held button suppresses every tip";
  ::SetKeyboardState(keys);
  Tip()->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  EXPECT_NE(Tip()->GetPendingTool(), nullptr);
}

TEST_F(TipTest, DeletingTheShownToolHidesTheTip) {
  MoveTo(50, 50);
  FireTimer();
  ASSERT_EQ(ShownId(), 1u);
  TOOLINFO ti = {};
  ti.cbSize = XTP_TOOLINFO_SIZE;
  ti.hwnd = owner_->m_hWnd;
  ti.uId = 1;
  Tip()->SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(ShownId(), 0u);
  EXPECT_FALSE(Tip()->IsWindowVisible());
  EXPECT_EQ(Tip()->GetToolCount(), 0);
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), nullptr);
}

TEST_F(TipTest, TheMouseHookGoesWithTheTipWindowThatOwnsIt) {
  MoveTo(50, 50);
  FireTimer();
  ASSERT_EQ(CXTPTipWindow::GetMouseHookOwner(), Tip());
  settings_->InternalRelease();  // deletes the tip window while it shows
  settings_ = nullptr;
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), nullptr);

  // Another tip can take the hook.
  UseNewSettings(xtpTipGradient);
  MoveTo(50, 50);
  ASSERT_NE(Tip(), nullptr);
  EXPECT_TRUE(Tip()->IsKindOf(RUNTIME_CLASS(CXTPGradientTipWindow)));
  FireTimer();
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), Tip());
  settings_->InternalRelease();
  settings_ = nullptr;
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), nullptr);
}

TEST_F(TipTest, DestroyingTheOwnerWhileATipShowsReleasesTheMouseHook) {
  TipOwner other;
  other.m_pSettings = settings_;
  ASSERT_TRUE(other.CreateOwner());
  ::SetForegroundWindow(other.m_hWnd);
  CPoint pt(50, 50);
  other.ClientToScreen(&pt);
  ::SetCursorPos(pt.x, pt.y);
  MSG msg = {other.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50), 0, pt};
  settings_->FilterToolTipMessage(&other, &msg, TRUE);
  FireTimer();
  ASSERT_EQ(CXTPTipWindow::GetMouseHookOwner(), Tip());
  other.DestroyWindow();  // takes the tip window it owns with it
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), nullptr);
  EXPECT_FALSE(::IsWindow(Tip()->m_hWnd));
  MoveTo(50, 50);
  EXPECT_TRUE(::IsWindow(Tip()->m_hWnd)) << "a tip window is made anew for the other owner";
  FireTimer();
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), Tip());
}

TEST_F(TipTest, ChangingTheStyleRemakesTheTipWindowOnlyWhenItDiffers) {
  MoveTo(50, 50);
  CWnd* pTip = settings_->GetTipWindow();
  ASSERT_NE(pTip, nullptr);
  settings_->ModifyTipStyle(0, TTS_NOPREFIX);
  EXPECT_EQ(settings_->GetTipWindow(), pTip) << "the same style keeps the window";
  settings_->ModifyTipStyle(TTS_NOPREFIX, 0);
  EXPECT_EQ(settings_->GetTipWindow(), nullptr);
  EXPECT_EQ(settings_->GetTipStyle(), 0u);
  MoveTo(250, 50);
  FireTimer();
  ASSERT_NE(Tip()->GetCurrentTool(), nullptr);
  EXPECT_EQ(Tip()->GetToolText(*Tip()->GetCurrentTool()), L"Right half")
      << "mnemonics go without TTS_NOPREFIX";
}

TEST_F(TipTest, TitledRecordsGiveTheTipATitleAndTheExtendedText) {
  settings_->SetExtendedToolInfo(TRUE);
  MoveTo(50, 50);
  FireTimer();
  ASSERT_NE(Tip()->GetCurrentTool(), nullptr);
  EXPECT_EQ(Tip()->GetTitle(), L"Title");
  EXPECT_EQ(Tip()->GetToolText(*Tip()->GetCurrentTool()), L"Extended text");
  const CSize szTitled = Tip()->CalcTipSize(*Tip()->GetCurrentTool());

  settings_->SetExtendedToolInfo(FALSE);
  MoveTo(250, 50);
  EXPECT_EQ(Tip()->GetTitle(), L"") << "plain records clear the title";
  XTPTipTool tool;
  tool.hwnd = owner_->m_hWnd;
  tool.strText = L"Extended text";
  EXPECT_LT(Tip()->CalcTipSize(tool).cy, szTitled.cy);
}

TEST(TipSettings, FillToolInfoFillsOnlyRecordsLargeEnough) {
  XTP_TOOLTIP_TITLEPAIR pair = {};
  TOOLINFO ti = {};
  ti.cbSize = XTP_TOOLINFO_SIZE - 8;  // smaller than any record the system defines
  ti.lParam = reinterpret_cast<LPARAM>(&pair);
  CXTPTipSettings::FillToolInfo(&ti, reinterpret_cast<HWND>(1), CRect(1, 2, 3, 4), 7, L"Text", L"T", L"E");
  EXPECT_EQ(ti.hwnd, nullptr);
  EXPECT_EQ(ti.lpszText, nullptr);
  CXTPTipSettings::FillToolInfo(nullptr, nullptr, CRect(), 0, L"");

  ti.cbSize = XTP_TOOLINFO_SIZE;
  CXTPTipSettings::FillToolInfo(&ti, reinterpret_cast<HWND>(1), CRect(1, 2, 3, 4), 7, L"Text", L"T", L"E");
  EXPECT_EQ(ti.uId, 7u);
  EXPECT_EQ(CRect(ti.rect), CRect(1, 2, 3, 4));
  ASSERT_NE(ti.lpszText, nullptr);
  EXPECT_STREQ(ti.lpszText, L"Text");
  EXPECT_EQ(pair.pszTitle, nullptr) << "a record without the parameter field gets no title";
  free(ti.lpszText);

  ti.cbSize = XTP_TOOLINFO_TITLE_SIZE;
  CXTPTipSettings::FillToolInfo(&ti, reinterpret_cast<HWND>(1), CRect(1, 2, 3, 4), 7, L"Text", L"", L"E");
  EXPECT_EQ(pair.pszTitle, nullptr) << "both strings are needed";
  free(ti.lpszText);
  CXTPTipSettings::FillToolInfo(&ti, reinterpret_cast<HWND>(1), CRect(1, 2, 3, 4), 7, L"Text", L"T", L"E");
  ASSERT_NE(pair.pszTitle, nullptr);
  EXPECT_STREQ(pair.pszTitle, L"T");
  EXPECT_STREQ(pair.pszExtendedText, L"E");
  free(ti.lpszText);
  free(pair.pszTitle);
  free(pair.pszExtendedText);
  EXPECT_EQ(XTP_TOOLINFO_SIZE, offsetof(TOOLINFO, lParam)) << "the system's record sizes on this build";
  EXPECT_EQ(XTP_TOOLINFO_TITLE_SIZE, offsetof(TOOLINFO, lpReserved));
}

TEST(TipWindow, TheSizeIsTheMeasuredTextPlusMarginsAndSix) {
  CXTPTipSettings* pSettings = new CXTPTipSettings();
  pSettings->SetMargins(CRect(1, 2, 3, 4));
  pSettings->SetMaxTipWidth(100);
  CXTPTipWindow tip(pSettings);
  XTPTipTool tool;
  tool.hwnd = reinterpret_cast<HWND>(1);
  EXPECT_EQ(tip.CalcTipSize(tool), CSize(0, 0)) << "an empty text never shows";

  tool.strText = L"A tip text long enough to be broken into more than one line at a hundred pixels";
  NONCLIENTMETRICS ncm;
  CXTSystemResources::GetNonClientMetrics(&ncm);
  CFont font;
  font.CreateFontIndirect(&ncm.lfStatusFont);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CFont* pOld = dc.SelectObject(&font);
  CRect rcText(0, 0, 100, 0);
  dc.DrawText(tool.strText, rcText, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  dc.SelectObject(pOld);
  EXPECT_GT(rcText.Height(), dc.GetTextExtent(L"A").cy) << "wrapped";
  EXPECT_EQ(tip.CalcTipSize(tool), CSize(rcText.Width() + 4 + 6, rcText.Height() + 6 + 6));
  pSettings->InternalRelease();
}

TEST_F(TipTest, ARealTipFollowsTheMouseAndAClickHidesIt) {
  CXTPTipWindow::SetClock(previousClock_);
  owner_->m_bRelay = TRUE;
  CRect rcOwner;
  owner_->GetWindowRect(&rcOwner);
  testsupport::MouseMoveTo(rcOwner.left + 60, rcOwner.top + 40);
  testsupport::PumpMessages(50);
  testsupport::MouseMoveTo(rcOwner.left + 62, rcOwner.top + 42);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Tip() != nullptr && Tip()->IsWindowVisible(); }, 3000));
  CRect rcTip;
  Tip()->GetWindowRect(&rcTip);
  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  EXPECT_EQ(rcTip.TopLeft(), CPoint(ptCursor.x, ptCursor.y + 21));
  EXPECT_TRUE(Tip()->GetExStyle() & WS_EX_TOPMOST);
  EXPECT_EQ(ShownId(), 1u);
  testsupport::PumpMessages(100);
  EXPECT_FALSE(testsupport::SaveWindowPng(Tip()->m_hWnd, L"tip_plain.png").empty());

  testsupport::MouseButton(true);
  testsupport::MouseButton(false);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !Tip()->IsWindowVisible(); }, 2000));
  owner_->m_bRelay = FALSE;
}

TEST_F(TipTest, AClickOnTheTipReachesTheWindowBeneathAndLeavesTheOwnerActive) {
  ASSERT_NO_FATAL_FAILURE(ShowTipUnderThePointer());
  const int nDownsBefore = owner_->m_nButtonDowns;
  testsupport::MouseButton(true);
  testsupport::MouseButton(false);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return owner_->m_nButtonDowns > nDownsBefore; }, 3000))
      << "the click went through the tip to the owner";
  EXPECT_EQ(::GetActiveWindow(), owner_->m_hWnd);
  EXPECT_EQ(::GetForegroundWindow(), owner_->m_hWnd);
}

// A click the system hands to the tip itself (where the hit test does not pass through, as over a
// window of another thread) still leaves the owner's frame active: the tip takes no activation.
TEST_F(TipTest, AClickThatReachesTheTipLeavesTheOwnerActive) {
  ASSERT_NO_FATAL_FAILURE(ShowTipUnderThePointer());
  // From here the tip answers the hit test for itself, so that the click is the tip's.
  static WNDPROC s_pfnTipProc = nullptr;
  static int s_nTipButtonDowns = 0;
  s_nTipButtonDowns = 0;
  s_pfnTipProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      Tip()->m_hWnd, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(+[](HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_NCHITTEST) return HTCLIENT;
        if (message == WM_LBUTTONDOWN) ++s_nTipButtonDowns;
        return ::CallWindowProcW(s_pfnTipProc, hWnd, message, wParam, lParam);
      })));
  testsupport::MouseButton(true);
  testsupport::MouseButton(false);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return s_nTipButtonDowns > 0; }, 3000))
      << "the click is the tip's";
  EXPECT_EQ(::GetActiveWindow(), owner_->m_hWnd);
  EXPECT_EQ(::GetForegroundWindow(), owner_->m_hWnd);
  ::SetWindowLongPtrW(Tip()->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_pfnTipProc));
}

TEST_F(TipTest, RichTextTipsTakeTheNarrowestWidthAndRoomForCentredText) {
  settings_->InternalRelease();
  UseNewSettings(xtpTipRichText);
  MoveTo(50, 50);
  ASSERT_NE(Tip(), nullptr);
  ASSERT_TRUE(Tip()->IsKindOf(RUNTIME_CLASS(CXTPRichTextTipWindow)))
      << Tip()->GetRuntimeClass()->m_lpszClassName << " kind " << settings_->GetTipKind();
  XTPTipTool tool;
  tool.hwnd = owner_->m_hWnd;
  EXPECT_EQ(Tip()->CalcTipSize(tool), CSize(0, 0));
  tool.strText = L"{\\rtf1 \\ql Rich tip text}";
  const CSize szLeft = Tip()->CalcTipSize(tool);
  tool.strText = L"{\\rtf1 \\qc Rich tip text}";
  const CSize szCentred = Tip()->CalcTipSize(tool);
  EXPECT_GT(szLeft.cx, 20);
  EXPECT_GT(szLeft.cy, 8);
  EXPECT_EQ(szCentred, CSize(szLeft.cx + 5, szLeft.cy));
  tool.strText = L"Plain words, not RTF";
  const CSize szPlain = Tip()->CalcTipSize(tool);
  EXPECT_GT(szPlain.cx, 20) << "text that is not RTF is shown as it stands";
  // A formatted tip on the screen.
  TOOLINFO ti = {};
  ti.cbSize = XTP_TOOLINFO_SIZE;
  ti.hwnd = owner_->m_hWnd;
  ti.uId = 1;
  ti.lpszText = const_cast<LPWSTR>(
      L"{\\rtf1{\\colortbl;\\red192\\green0\\blue0;}\\b Rich\\b0  tip with \\cf1 red\\cf0  and \\i "
      L"italic\\i0  words}");
  Tip()->SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
  FireTimer();
  ASSERT_EQ(ShownId(), 1u);
  testsupport::PumpMessages(100);
  CRect rcTip;
  Tip()->GetClientRect(&rcTip);
  int nDark = 0, nRed = 0;
  int nWidth = 0, nHeight = 0;
  const std::vector<COLORREF> shown = testsupport::WindowPixels(Tip()->m_hWnd, &nWidth, &nHeight);
  for (int y = 2; y < std::min<int>(rcTip.bottom - 2, nHeight); y += 2) {
    for (int x = 2; x < std::min<int>(rcTip.right - 2, nWidth); ++x) {
      const COLORREF clr = shown[size_t(y) * nWidth + x];
      if (GetRValue(clr) < 100 && GetGValue(clr) < 100) ++nDark;
      if (GetRValue(clr) > 150 && GetGValue(clr) < 100 && GetBValue(clr) < 100) ++nRed;
    }
  }
  EXPECT_GT(nDark, 20) << "the text shows";
  EXPECT_GT(nRed, 5) << "in its own colours";
  EXPECT_FALSE(testsupport::SaveWindowPng(Tip()->m_hWnd, L"tip_richtext.png").empty());
}

TEST_F(TipTest, GradientTipsAreFramedInTheColourOfTheTheme) {
  settings_->InternalRelease();
  UseNewSettings(xtpTipGradient);
  FakeSystemQueries system;
  system.themeActive = TRUE;
  system.themeFile = L"luna.msstyles";
  system.themeColor = L"Metallic";
  GetColorTable()->RefreshColors();
  ASSERT_EQ(GetColorTable()->GetCurrentTheme(), xtpSystemThemeSilver);
  MoveTo(50, 50);
  FireTimer();
  ASSERT_EQ(ShownId(), 1u);
  testsupport::PumpMessages(100);
  EXPECT_EQ(testsupport::WindowPixel(Tip()->m_hWnd, 0, 0), RGB(75, 75, 111));
  CRect rcTip;
  Tip()->GetClientRect(&rcTip);
  const COLORREF clrTop = testsupport::WindowPixel(Tip()->m_hWnd, rcTip.Width() / 2, 1);
  const COLORREF clrBottom = testsupport::WindowPixel(Tip()->m_hWnd, rcTip.Width() / 2, rcTip.bottom - 2);
  EXPECT_LT(GetGValue(clrTop), GetGValue(clrBottom)) << "from (255, 212, 151) down to (255, 242, 200)";
  EXPECT_FALSE(testsupport::SaveWindowPng(Tip()->m_hWnd, L"tip_gradient.png").empty());
  MoveTo(150, 150);
  system.themeActive = FALSE;
  GetColorTable()->RefreshColors();
}

TEST_F(TipTest, SystemKindsUseTheSystemsTooltipControl) {
  settings_->InternalRelease();
  UseNewSettings(xtpTipSystemBalloon);
  MoveTo(50, 50);
  CWnd* pTip = settings_->GetTipWindow();
  ASSERT_NE(pTip, nullptr);
  WCHAR szClass[64] = {};
  ::GetClassNameW(pTip->m_hWnd, szClass, 64);
  EXPECT_STREQ(szClass, TOOLTIPS_CLASSW);
  EXPECT_TRUE(pTip->GetStyle() & TTS_BALLOON);
  EXPECT_TRUE(pTip->GetStyle() & TTS_ALWAYSTIP);
  EXPECT_EQ(pTip->SendMessage(TTM_GETTOOLCOUNT), 1);
  MoveTo(150, 150);
  ASSERT_EQ(settings_->GetTipWindow(), pTip);
  EXPECT_EQ(pTip->SendMessage(TTM_GETTOOLCOUNT), 0) << "leaving every tool removes the last one";
}

TEST_F(TipTest, LeavingTheToolsWindowHidesTheTipThroughTheMouseHook) {
  CXTPTipWindow::SetClock(previousClock_);
  // A child over part of the first tool: a window of this thread that is not the tool's (a static
  // would not do: it lets the mouse through to its parent).
  HWND hWndChild = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 70, 100, 28, owner_->m_hWnd,
                                     nullptr, nullptr, nullptr);
  ASSERT_NE(hWndChild, nullptr);
  MoveTo(50, 30);
  FireTimer();
  ASSERT_EQ(ShownId(), 1u);
  ASSERT_EQ(CXTPTipWindow::GetMouseHookOwner(), Tip());
  // The owner relays nothing here: only the hook sees the mouse reach the child.
  CPoint pt(50, 85);
  owner_->ClientToScreen(&pt);
  testsupport::MouseMoveTo(pt.x, pt.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !Tip()->IsWindowVisible(); }, 2000));
  EXPECT_EQ(ShownId(), 0u);
  EXPECT_EQ(CXTPTipWindow::GetMouseHookOwner(), nullptr);
  ::DestroyWindow(hWndChild);
}
