// A toolbar and a rebar laid out in a frame as control bars, with idle command-UI updates reaching
// the buttons; and the page loop of a print job on DCs that are no printer.
#include "afxole.h"
#include "afxext.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kCmdOpen = 200, kCmdSave = 201, kCmdBold = 202;

class CBarFrame : public CFrameWnd {
 public:
  BOOL m_bSaveEnabled = FALSE;
  BOOL m_bBold = TRUE;

 protected:
  void OnOpen() {}
  void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bSaveEnabled); }
  void OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bBold ? 1 : 0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
ON_COMMAND(kCmdOpen, OnOpen)
ON_COMMAND(kCmdBold, OnOpen)
ON_UPDATE_COMMAND_UI(kCmdSave, OnUpdateSave)
ON_UPDATE_COMMAND_UI(kCmdBold, OnUpdateBold)
END_MESSAGE_MAP()

HBITMAP MakeImageWell(int nImages) {
  HDC hdcScreen = ::GetDC(nullptr);
  HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, 16 * nImages, 15);
  HDC hdc = ::CreateCompatibleDC(hdcScreen);
  HGDIOBJ old = ::SelectObject(hdc, hbm);
  const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
  for (int i = 0; i < nImages; ++i) {
    RECT r = {i * 16 + 2, 2, i * 16 + 14, 13};
    HBRUSH br = ::CreateSolidBrush(colours[i % 4]);
    ::FillRect(hdc, &r, br);
    ::DeleteObject(br);
  }
  ::SelectObject(hdc, old);
  ::DeleteDC(hdc);
  ::ReleaseDC(nullptr, hdcScreen);
  return hbm;
}

class Bars : public ::testing::Test {
 protected:
  void SetUp() override {
    pFrame = new CBarFrame;  // deletes itself with its window
    ASSERT_TRUE(
        pFrame->Create(nullptr, L"toolbar frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 420, 320)));
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_PANE_FIRST));
  }
  void TearDown() override { pFrame->DestroyWindow(); }
  static CRect RectInParent(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<LPPOINT>(&r), 2);
    return r;
  }
  CBarFrame* pFrame = nullptr;
  CWnd pane;
};

TEST_F(Bars, ToolBarTakesTheTopOfTheFrameAndTheViewGetsTheRest) {
  CToolBar bar;
  ASSERT_TRUE(
      bar.CreateEx(pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM));
  const UINT ids[] = {kCmdOpen, kCmdSave, ID_SEPARATOR, kCmdBold};
  ASSERT_TRUE(bar.SetButtons(ids, 4));
  ASSERT_TRUE(bar.SetBitmap(MakeImageWell(3)));
  EXPECT_EQ(bar.GetCount(), 4);
  EXPECT_EQ(bar.CommandToIndex(kCmdBold), 3);
  EXPECT_EQ(bar.GetItemID(2), 0u);
  EXPECT_EQ(bar.GetItemID(1), kCmdSave);
  EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 4);
  pFrame->RecalcLayout();

  CRect client;
  pFrame->GetClientRect(&client);
  CRect barRect = RectInParent(bar);
  CRect paneRect = RectInParent(pane);
  EXPECT_EQ(barRect.top, 0);
  EXPECT_EQ(barRect.Width(), client.Width());
  CSize fixed = bar.CalcFixedLayout(FALSE, TRUE);
  EXPECT_EQ(barRect.Height(), fixed.cy);
  EXPECT_GE(fixed.cy, 22);  // at least one button high
  EXPECT_EQ(paneRect.top, barRect.bottom);
  EXPECT_EQ(paneRect.bottom, client.bottom);

  // Wrapping after the second button puts the rest on a second row: the bar grows.
  bar.SetButtonStyle(1, bar.GetButtonStyle(1) | TBBS_WRAPPED);
  EXPECT_TRUE(bar.GetButtonStyle(1) & TBBS_WRAPPED);
  EXPECT_GT(bar.CalcFixedLayout(FALSE, TRUE).cy, fixed.cy);
  bar.SetButtonStyle(1, bar.GetButtonStyle(1) & ~TBBS_WRAPPED);

  // Idle command-UI: no handler for Save yet disabled by its handler, Bold checked, Open enabled.
  pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_TRUE(bar.GetButtonStyle(1) & TBBS_DISABLED);
  EXPECT_FALSE(bar.GetButtonStyle(0) & TBBS_DISABLED);
  EXPECT_TRUE(bar.GetButtonStyle(3) & TBBS_CHECKED);
  pFrame->m_bSaveEnabled = TRUE;
  pFrame->m_bBold = FALSE;
  pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
  EXPECT_FALSE(bar.GetButtonStyle(1) & TBBS_DISABLED);
  EXPECT_FALSE(bar.GetButtonStyle(3) & TBBS_CHECKED);

  testsupport::PumpMessages(200);
  testsupport::SaveWindowPng(pFrame->m_hWnd, L"framework_ole_toolbar_frame.png");
}

TEST_F(Bars, ReBarHoldsTheToolBarAsABand) {
  CReBar rebar;
  ASSERT_TRUE(rebar.Create(pFrame));
  CToolBar bar;
  ASSERT_TRUE(
      bar.CreateEx(pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect(0, 0, 0, 0), 0xE805));
  const UINT ids[] = {kCmdOpen, kCmdSave};
  ASSERT_TRUE(bar.SetButtons(ids, 2));
  ASSERT_TRUE(rebar.AddBar(&bar, L"Tools"));
  EXPECT_EQ(rebar.GetReBarCtrl().GetBandCount(), 1u);
  REBARBANDINFO rbbi = {};
  rbbi.cbSize = sizeof(rbbi);
  rbbi.fMask = RBBIM_CHILD;
  ASSERT_TRUE(rebar.GetReBarCtrl().GetBandInfo(0, &rbbi));
  EXPECT_EQ(rbbi.hwndChild, bar.m_hWnd);
  EXPECT_EQ(::GetParent(bar.m_hWnd), rebar.m_hWnd);
  pFrame->RecalcLayout();
  CRect rebarRect = RectInParent(rebar);
  CRect paneRect = RectInParent(pane);
  EXPECT_EQ(rebarRect.top, 0);
  EXPECT_GT(rebarRect.Height(), 0);
  EXPECT_EQ(paneRect.top, rebarRect.bottom);
  testsupport::PumpMessages(200);
  testsupport::SaveWindowPng(pFrame->m_hWnd, L"framework_ole_rebar_frame.png");
}

void DrawPage(CDC* pDC, CPrintInfo* pInfo, void* pParam) {
  auto* pages = static_cast<std::vector<UINT>*>(pParam);
  pages->push_back(pInfo->m_nCurPage);
  EXPECT_TRUE(pDC->IsPrinting());
  EXPECT_GT(pInfo->m_rectDraw.Width(), 0);
  pDC->FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
  if (pInfo->m_nCurPage == 3) pInfo->m_bContinuePrinting = FALSE;
}

TEST(Printing, PagesRunOnAMetafileDCWithoutAPrinter) {
  CDC dc;
  ASSERT_TRUE(dc.Attach(::CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr)));
  CPrintInfo info;
  info.SetMaxPage(5);
  EXPECT_EQ(info.GetFromPage(), 1u);
  EXPECT_EQ(info.GetToPage(), 5u);
  std::vector<UINT> pages;
  // Page 3 ends the job early.
  EXPECT_EQ(AfxPrintPages(&dc, &info, L"test", &DrawPage, &pages), 3);
  EXPECT_EQ(pages, (std::vector<UINT>{1, 2, 3}));
  EXPECT_FALSE(dc.IsPrinting());
  HENHMETAFILE hemf = ::CloseEnhMetaFile(dc.Detach());
  EXPECT_NE(hemf, nullptr);
  ::DeleteEnhMetaFile(hemf);
}

TEST(Printing, ChosenRangeAndBadRangesOnAMemoryDC) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  CPrintInfo info;
  info.SetMaxPage(9);
  info.m_pPD->m_pd.Flags |= PD_PAGENUMS;
  info.m_pPD->m_pd.nFromPage = 4;
  info.m_pPD->m_pd.nToPage = 5;
  std::vector<UINT> pages;
  EXPECT_EQ(AfxPrintPages(&dc, &info, nullptr, &DrawPage, &pages), 2);
  EXPECT_EQ(pages, (std::vector<UINT>{4, 5}));
  info.m_pPD->m_pd.nFromPage = 6;  // from beyond to
  EXPECT_EQ(AfxPrintPages(&dc, &info, nullptr, &DrawPage, &pages), -1);
  EXPECT_EQ(AfxPrintPages(nullptr, &info, nullptr, &DrawPage, &pages), -1);
  EXPECT_EQ(AfxPrintPages(&dc, &info, nullptr, nullptr, nullptr), -1);
}

}  // namespace
