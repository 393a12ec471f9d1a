// The status bar on a frame that is never shown: pane widths and the common control's parts for the
// indicators the main frame sets, shared stretch, hidden panes, texts that reach the control only when
// they change, the message pane's window text, icons in panes and the idle update of the indicators.
#include <gtest/gtest.h>

#include <StatusBar.h>

#include <IconHandle.h>
#include <ImageManager.h>

#include "CommandBarsTestSupport.h"
#include "WindowTest.h"

namespace {

// Counts the texts that reach the common control.
class SetTextCounter : public CXTPHookSink {
 public:
  int OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) override {
    if (nMessage == SB_SETTEXT) m_nCount++;
    return 0;
  }
  int m_nCount = 0;
};

// A frame whose idle update says that Caps Lock is off and Num Lock on.
class CIndicatorFrame : public CFrameWnd {
 public:
  afx_msg void OnUpdateCaps(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  afx_msg void OnUpdateNum(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIndicatorFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(IDS_TEST_INDICATOR_CAPS, OnUpdateCaps)
ON_UPDATE_COMMAND_UI(IDS_TEST_INDICATOR_NUM, OnUpdateNum)
END_MESSAGE_MAP()

// A 16 by 16 icon of one colour (the system's stock icons are larger).
HICON MakeIcon16() {
  BYTE andBits[16 * 16 / 8] = {};
  BYTE xorBits[16 * 16 / 8];
  memset(xorBits, 0xFF, sizeof(xorBits));
  return ::CreateIcon(nullptr, 16, 16, 1, 1, andBits, xorBits);
}

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = new CIndicatorFrame;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"Status Bar Test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 700, 300)));
    ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    m_pFrame->RecalcLayout();
  }
  void TearDown() override {
    m_bar.DestroyWindow();
    m_pFrame->DestroyWindow();
  }
  int TextWidth(LPCTSTR lpszText) {
    CClientDC dc(&m_bar);
    CFont* pOld = dc.SelectObject(m_bar.GetBarFont());
    const int cx = dc.GetTextExtent(lpszText).cx;
    dc.SelectObject(pOld);
    return cx;
  }
  std::vector<int> Parts() {
    int arr[16] = {};
    const int n = static_cast<int>(m_bar.SendMessage(SB_GETPARTS, 16, reinterpret_cast<LPARAM>(arr)));
    return std::vector<int>(arr, arr + n);
  }
  void Borders(int& cxHorz, int& cxBetween) {
    int arr[3] = {};
    m_bar.SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(arr));
    cxHorz = arr[0];
    cxBetween = arr[2];
  }
  // The width the panes share out: the inside of the bar less every pane's content, gaps and borders.
  int Spare() {
    CRect rc;
    m_bar.GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    m_bar.CalcInsideRect(rc, TRUE);
    int cxHorz = 0, cxBetween = 0;
    Borders(cxHorz, cxBetween);
    int nExtra = rc.Width() + cxBetween;
    for (int i = 0; i < m_bar.GetPaneCount(); ++i) {
      CXTPStatusBarPane* pPane = m_bar.GetPane(i);
      if (pPane->IsVisible()) nExtra -= pPane->GetWidth() + cxBetween + 6;
    }
    return nExtra;
  }

  CIndicatorFrame* m_pFrame = nullptr;
  CXTPStatusBar m_bar;
};

TEST_F(StatusBarTest, TheMessagePaneStretchesAndTheIndicatorsAreAsWideAsTheirTexts) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  ASSERT_EQ(m_bar.GetPaneCount(), 4);
  CXTPStatusBarPane* pMessage = m_bar.GetPane(0);
  EXPECT_EQ(pMessage->GetStyle(), UINT(SBPS_NOBORDERS | SBPS_STRETCH));
  EXPECT_EQ(pMessage->GetWidth(), ::GetSystemMetrics(SM_CXSCREEN) / 4);
  EXPECT_EQ(m_bar.GetPaneText(1), CString(L"CAP"));
  EXPECT_EQ(m_bar.GetPane(1)->GetWidth(), TextWidth(L"CAP"));
  EXPECT_EQ(m_bar.GetPane(2)->GetWidth(), TextWidth(L"NUM"));
  EXPECT_EQ(m_bar.GetPane(3)->GetWidth(), TextWidth(L"SCRL"));
  // The message pane takes all the spare width; the others follow at their own widths.
  const int nSpare = Spare();
  int cxHorz = 0, cxBetween = 0;
  Borders(cxHorz, cxBetween);
  const std::vector<int> parts = Parts();
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[0], cxHorz + pMessage->GetWidth() + 6 + std::max(nSpare, 0));
  EXPECT_EQ(parts[1], parts[0] + cxBetween + TextWidth(L"CAP") + 6);
  EXPECT_EQ(parts[3], parts[2] + cxBetween + TextWidth(L"SCRL") + 6);
  EXPECT_EQ(m_bar.CommandToIndex(IDS_TEST_INDICATOR_NUM), 2);
  EXPECT_EQ(m_bar.CommandToIndex(12345), -1);
}

TEST_F(StatusBarTest, TheLastPaneIsExactlyItsContentAndThreeEdgesWide) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  CRect rc;
  m_bar.GetItemRect(3, &rc);
  EXPECT_EQ(rc.Width(), TextWidth(L"SCRL") + 3 * ::GetSystemMetrics(SM_CXEDGE));
  m_bar.GetItemRect(7, &rc);
  EXPECT_TRUE(rc.IsRectEmpty());
}

TEST_F(StatusBarTest, TwoStretchyPanesShareTheSpareWidthByIntegerDivision) {
  // Two message-sized panes (a quarter of the screen each) need a frame wider than the screen.
  m_pFrame->SetWindowPos(nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN) + 300, 300,
                         SWP_NOZORDER | SWP_NOACTIVATE);
  m_pFrame->RecalcLayout();
  const UINT ids[] = {0, IDS_TEST_INDICATOR_CAPS, 0};
  ASSERT_TRUE(m_bar.SetIndicators(ids, 3));
  m_bar.SetPaneStyle(2, SBPS_STRETCH);
  const int nSpare = Spare();
  ASSERT_GT(nSpare, 1);
  int cxHorz = 0, cxBetween = 0;
  Borders(cxHorz, cxBetween);
  const std::vector<int> parts = Parts();
  ASSERT_EQ(parts.size(), 3u);
  const int nFirstShare = parts[0] - cxHorz - m_bar.GetPane(0)->GetWidth() - 6;
  const int nSecondShare = parts[2] - parts[1] - cxBetween - m_bar.GetPane(2)->GetWidth() - 6;
  EXPECT_EQ(nFirstShare, nSpare / 2);
  EXPECT_EQ(nSecondShare, nSpare - nSpare / 2);
}

TEST_F(StatusBarTest, AHiddenPaneKeepsItsTextButTakesNoPart) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  m_bar.GetPane(1)->SetVisible(FALSE);
  EXPECT_EQ(m_bar.GetVisiblePaneCount(), 3);
  EXPECT_EQ(Parts().size(), 3u);
  EXPECT_FALSE(m_bar.SetPaneText(1, L"LOCK"));
  EXPECT_EQ(m_bar.GetPaneText(1), CString(L"LOCK"));
  CRect rc;
  m_bar.GetItemRect(1, &rc);
  EXPECT_TRUE(rc.IsRectEmpty());
  // The panes after it moved up one part.
  EXPECT_EQ(m_bar.GetPane(2)->GetVisibleIndex(), 1);
}

TEST_F(StatusBarTest, TheSameTextWithNothingPendingDoesNotReachTheControl) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  SetTextCounter counter;
  CXTPWindowSubclassHooks::GetInstance()->AddSink(m_bar.GetSafeHwnd(), &counter);
  EXPECT_TRUE(m_bar.SetPaneText(0, L"Ready"));
  EXPECT_EQ(counter.m_nCount, 1);
  EXPECT_TRUE(m_bar.SetPaneText(0, L"Ready"));
  EXPECT_EQ(counter.m_nCount, 1);
  // Without update the text waits; the next paint hands it over.
  EXPECT_TRUE(m_bar.SetPaneText(0, L"Working", FALSE));
  EXPECT_EQ(counter.m_nCount, 1);
  m_bar.UpdateAllPanes(FALSE, TRUE);
  EXPECT_EQ(counter.m_nCount, 2);
  wchar_t szText[64] = {};
  m_bar.SendMessage(SB_GETTEXT, 0, reinterpret_cast<LPARAM>(szText));
  EXPECT_STREQ(szText, L"Working");
  CXTPWindowSubclassHooks::GetInstance()->RemoveSink(m_bar.GetSafeHwnd(), &counter);
}

TEST_F(StatusBarTest, TheWindowTextIsTheMessagePaneAndGetTextCountsWhatItCopied) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  m_bar.SetWindowText(L"Opening pst file...");
  EXPECT_EQ(m_bar.GetPaneText(0), CString(L"Opening pst file..."));
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXTLENGTH), 19);
  wchar_t szFull[64] = {};
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 64, reinterpret_cast<LPARAM>(szFull)), 19);
  EXPECT_STREQ(szFull, L"Opening pst file...");
  wchar_t szShort[8] = {};
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(szShort)), 7);
  EXPECT_STREQ(szShort, L"Opening");
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(szShort)), 0);
  CString strText;
  m_bar.GetWindowText(strText);
  EXPECT_EQ(strText, CString(L"Opening pst file..."));
  // Without a message pane there is no window text.
  const UINT ids[] = {IDS_TEST_INDICATOR_CAPS};
  ASSERT_TRUE(m_bar.SetIndicators(ids, 1));
  EXPECT_EQ(m_bar.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x")), -1);
  EXPECT_EQ(m_bar.SendMessage(WM_GETTEXTLENGTH), 0);
}

TEST_F(StatusBarTest, AMissingIndicatorStringFailsButKeepsThePanesMadeSoFar) {
  const UINT ids[] = {0, IDS_TEST_INDICATOR_CAPS, 0xE7F0, IDS_TEST_INDICATOR_NUM};
  EXPECT_FALSE(m_bar.SetIndicators(ids, 4));
  EXPECT_EQ(m_bar.GetPaneCount(), 3);
  EXPECT_EQ(Parts().size(), 3u);
}

TEST_F(StatusBarTest, APaneWithAnIconIsAsWideAsTheIconAndItsText) {
  const UINT nIconId = 9690;
  XTPImageManager()->SetIcon(CXTPIconHandle(MakeIcon16()), nIconId, CSize(16, 16));
  const UINT ids[] = {0, 0};
  ASSERT_TRUE(m_bar.SetIndicators(ids, 2));
  CXTPStatusBarPane* pPane = m_bar.GetPane(1);
  pPane->m_strText.Empty();
  pPane->SetIconId(nIconId);
  EXPECT_EQ(pPane->GetWidth(), 16);
  pPane->m_strText = L"Mail";
  pPane->SetIconId(nIconId);
  EXPECT_EQ(pPane->GetWidth(), TextWidth(L"Mail") + 2 + 16);
}

TEST_F(StatusBarTest, TheIdleUpdateGreysTheIndicatorsThatTheFrameDisables) {
  ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
  m_bar.OnUpdateCmdUI(m_pFrame, TRUE);
  EXPECT_TRUE(m_bar.GetPaneStyle(1) & SBPS_DISABLED);
  EXPECT_FALSE(m_bar.GetPaneStyle(2) & SBPS_DISABLED);
  // Scroll Lock goes to the frame's own key indicator, which follows the key.
  EXPECT_EQ((m_bar.GetPaneStyle(3) & SBPS_DISABLED) != 0, (::GetKeyState(VK_SCROLL) & 1) == 0);
  // A disabled pane's text does not reach the control.
  EXPECT_EQ(LOWORD(m_bar.SendMessage(SB_GETTEXTLENGTH, 1)), 0);
  EXPECT_EQ(LOWORD(m_bar.SendMessage(SB_GETTEXTLENGTH, 2)), 3);
  EXPECT_EQ(m_bar.GetPaneText(1), CString(L"CAP"));
}

TEST_F(StatusBarTest, StyleOfTheFrameBarKeepsTheControlBarBits) {
  EXPECT_EQ(m_bar.GetBarStyle() & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_BOTTOM));
  // The border bits of the bottom bar are cleared on current systems; the size grip comes from the
  // frame's thick border.
  EXPECT_EQ(m_bar.GetBarStyle() & 0x0F00, 0u);
  EXPECT_TRUE(m_bar.GetStyle() & SBARS_SIZEGRIP);
  EXPECT_TRUE(m_bar.GetStyle() & CCS_NOPARENTALIGN);
  EXPECT_EQ(m_bar.GetMinHeight(), 20);
  EXPECT_GE(m_bar.CalcFixedLayout(TRUE, TRUE).cy, 20);
}

}  // namespace
