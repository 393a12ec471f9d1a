// Theme 1: every row of the flat state table and of its caption colours, by pixel probes on a memory
// DC with distinct colours in the slots the frames use; the exclude rectangle; on screen, a menu opened
// with the mouse: its join with the menu-bar item and its separator.
#include <gtest/gtest.h>

#include <BarThemeFlat.h>
#include <MenuBar.h>
#include <PopupBar.h>

#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

// The flat theme with a colour of its own in each slot a frame may use: the slot number is in red.
class CFlatProbeTheme : public CXTPBarThemeFlat {
 public:
  CFlatProbeTheme() {
    RefreshMetrics();
    for (int nSlot : {30, 31, 32, 33, 36, 37, 39, 41, 43, 50, 58}) SetColorOverride(nSlot, SlotColor(nSlot));
  }
  static COLORREF SlotColor(int nSlot) { return RGB(nSlot * 4, 77, 155); }
};

struct FlatRow {
  const char* name;
  BOOL bEnabled;
  BOOL bChecked;
  BOOL bPopuped;
  int nSelected;
  int nPressed;
  XTPBarPosition position;
  int nFill;   // -1: untouched
  int nFrame;  // -1: untouched
};

class FlatStateTableTest : public ::testing::TestWithParam<FlatRow> {};

TEST_P(FlatStateTableTest, FillAndFrameMatchTheTable) {
  const FlatRow& row = GetParam();
  CFlatProbeTheme* pTheme = new CFlatProbeTheme;
  ToolkitCanvas canvas(60, 60);
  canvas.dc().FillSolidRect(0, 0, 60, 60, kBackground);
  pTheme->DrawControlFrame(&canvas.dc(), CRect(10, 10, 40, 40), row.nSelected, row.nPressed, row.bEnabled,
                           row.bChecked, row.bPopuped, TRUE, row.position);
  const COLORREF clrFill = row.nFill < 0 ? kBackground : CFlatProbeTheme::SlotColor(row.nFill);
  const COLORREF clrFrame = row.nFrame < 0 ? kBackground : CFlatProbeTheme::SlotColor(row.nFrame);
  EXPECT_EQ(canvas.At(25, 25), clrFill) << row.name;
  EXPECT_EQ(canvas.At(25, 10), clrFrame) << row.name;
  EXPECT_EQ(canvas.At(10, 25), clrFrame) << row.name;
  EXPECT_EQ(canvas.At(39, 25), clrFrame) << row.name;
  EXPECT_EQ(canvas.At(25, 39), clrFrame) << row.name;
  EXPECT_EQ(canvas.At(5, 5), kBackground) << row.name;
  pTheme->InternalRelease();
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, FlatStateTableTest,
    ::testing::Values(
        FlatRow{"disabled keyboard-selected in a popup", FALSE, FALSE, FALSE, 2, 0, xtpBarPopup, 41, 32},
        FlatRow{"disabled keyboard-selected checked", FALSE, TRUE, FALSE, 2, 0, xtpBarTop, 33, 32},
        FlatRow{"disabled keyboard-selected", FALSE, FALSE, FALSE, 2, 0, xtpBarTop, 31, 32},
        FlatRow{"disabled checked on a toolbar", FALSE, TRUE, FALSE, 0, 0, xtpBarTop, 36, 58},
        FlatRow{"disabled checked in a popup", FALSE, TRUE, FALSE, 1, 0, xtpBarPopup, -1, 58},
        FlatRow{"disabled", FALSE, FALSE, FALSE, 1, 1, xtpBarTop, -1, -1},
        FlatRow{"popuped", TRUE, TRUE, TRUE, 1, 1, xtpBarTop, 30, 43},
        FlatRow{"checked at rest", TRUE, TRUE, FALSE, 0, 0, xtpBarTop, 36, 50},
        FlatRow{"checked and hot", TRUE, TRUE, FALSE, 1, 0, xtpBarTop, 33, 37},
        FlatRow{"executed", TRUE, FALSE, FALSE, 0, 2, xtpBarTop, 33, 50},
        FlatRow{"hot and held down", TRUE, FALSE, FALSE, 1, 1, xtpBarTop, 33, 50},
        FlatRow{"hot", TRUE, FALSE, FALSE, 1, 0, xtpBarTop, 31, 32},
        FlatRow{"held down outside", TRUE, FALSE, FALSE, 0, 1, xtpBarTop, 31, 32},
        FlatRow{"at rest", TRUE, FALSE, FALSE, 0, 0, xtpBarTop, -1, -1}));

TEST(FlatTheme, CaptionColoursFollowTheState) {
  // (enabled, selected, pressed, checked, popuped, position) -> slot
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(FALSE, 1, 1, TRUE, TRUE, xtpBarTop), 60);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 1, 2, TRUE, TRUE, xtpBarTop), 46);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 0, 2, FALSE, FALSE, xtpBarTop), 47);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 1, 1, FALSE, FALSE, xtpBarTop), 47);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 1, 0, TRUE, FALSE, xtpBarTop), 47);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 1, 0, FALSE, FALSE, xtpBarTop), 45);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 0, 1, FALSE, FALSE, xtpBarTop), 45);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 0, 0, TRUE, FALSE, xtpBarTop), 45);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 0, 0, FALSE, FALSE, xtpBarPopup), 44);
  EXPECT_EQ(CXTPBarThemeFlat::GetCaptionSlot(TRUE, 0, 0, FALSE, FALSE, xtpBarTop), 46);
}

TEST(FlatTheme, IsMadeByNumberAndTurnsOnItsIconOptions) {
  CXTPBarTheme* pTheme = CXTPBarTheme::CreateTheme(xtpThemeFlat);
  ASSERT_TRUE(pTheme->IsKindOf(RUNTIME_CLASS(CXTPBarThemeFlat)));
  EXPECT_EQ(pTheme->GetThemeType(), xtpThemeFlat);
  EXPECT_TRUE(pTheme->IsFlat());
  EXPECT_TRUE(pTheme->GetIconsInfo()->bUseFadedIcons);
  EXPECT_TRUE(pTheme->GetIconsInfo()->bUseDisabledIcons);
  EXPECT_TRUE(pTheme->GetIconsInfo()->bIconsWithShadow);
  EXPECT_TRUE(pTheme->IsGenerateDisabledIcons());
  pTheme->InternalRelease();
}

TEST(FlatTheme, ExcludeRectangleOverlapsTheOpeningControlByOnePixel) {
  CFlatProbeTheme* pTheme = new CFlatProbeTheme;
  CXTPControlButton* pButton = new CXTPControlButton;
  CRect rc(10, 10, 40, 30);
  pTheme->AdjustExcludeRect(rc, pButton, FALSE);
  EXPECT_EQ(rc, CRect(10, 11, 40, 29));
  rc.SetRect(10, 10, 40, 30);
  pTheme->AdjustExcludeRect(rc, pButton, TRUE);
  EXPECT_EQ(rc, CRect(11, 10, 39, 30));
  pButton->InternalRelease();
  pTheme->InternalRelease();
}

// The pixels of one row of a window's client area.
std::vector<COLORREF> ClientRow(CWnd* pWnd, int y) {
  CRect rcWindow, rcClient;
  pWnd->GetWindowRect(&rcWindow);
  pWnd->GetClientRect(&rcClient);
  pWnd->ClientToScreen(&rcClient);
  const CPoint ptOrigin = rcClient.TopLeft() - rcWindow.TopLeft();
  int nWidth = 0, nHeight = 0;
  const std::vector<COLORREF> pixels = testsupport::WindowPixels(pWnd->GetSafeHwnd(), &nWidth, &nHeight);
  std::vector<COLORREF> row;
  for (int x = 0; x < rcClient.Width(); ++x)
    row.push_back(pixels[(ptOrigin.y + y) * nWidth + ptOrigin.x + x]);
  return row;
}

TEST(FlatThemeOnScreen, AMenuJoinsItsMenuBarItemWithoutAFrameAndItsSeparatorStartsAfterTheGutter) {
  CXTPBarTheme::SetCustomTheme(new CFlatProbeTheme);
  CTestFrame* pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 600, 360));
  ASSERT_NE(pFrame, nullptr);
  SettleLayout(pFrame);
  CXTPControl* pFile = pFrame->GetCommandBars()->GetMenuBar()->GetControls()->GetAt(0);
  CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pFile->GetCommandBar());
  ASSERT_NE(pPopup, nullptr);
  const CPoint ptFile = ControlCenter(pFile);
  testsupport::InputClick(ptFile.x, ptFile.y);
  ASSERT_TRUE(testsupport::PumpUntil(
      [pPopup] { return pPopup->GetSafeHwnd() != nullptr && pPopup->IsWindowVisible(); }, 2000));
  testsupport::PumpMessages(100);
  testsupport::SaveWindowPng(pFrame->GetSafeHwnd(), L"commandbars_flat_menu.png");

  // The popup's top edge: the frame colour, except where it meets the item.
  CRect rcItem = pFile->GetRect();
  pFile->GetParent()->ClientToScreen(&rcItem);
  pPopup->ScreenToClient(&rcItem);
  const std::vector<COLORREF> top = ClientRow(pPopup, 0);
  ASSERT_GT(rcItem.right, 4);
  EXPECT_EQ(top[rcItem.left + 2], CFlatProbeTheme::SlotColor(30));
  EXPECT_EQ(top[rcItem.right - 3], CFlatProbeTheme::SlotColor(30));
  EXPECT_EQ(top[rcItem.right + 4], CFlatProbeTheme::SlotColor(43));
  EXPECT_EQ(top.back(), CFlatProbeTheme::SlotColor(43));

  // The separator above "Exit" begins 9 pixels after the gutter's last column and runs to the edge.
  CXTPControl* pExit = pPopup->GetControls()->GetAt(2);
  ASSERT_TRUE(pExit->GetBeginGroup());
  const std::vector<COLORREF> line = ClientRow(pPopup, pExit->GetRect().top - 2);
  int nLastGutter = -1, nFirstLine = -1;
  for (int x = 1; x < static_cast<int>(line.size()) && line[x] == CFlatProbeTheme::SlotColor(30); ++x)
    nLastGutter = x;
  for (int x = 0; x < static_cast<int>(line.size()) && nFirstLine < 0; ++x) {
    if (line[x] == CFlatProbeTheme::SlotColor(39)) nFirstLine = x;
  }
  ASSERT_GT(nLastGutter, 0);
  EXPECT_EQ(nFirstLine, nLastGutter + 9);
  EXPECT_EQ(line[line.size() - 2], CFlatProbeTheme::SlotColor(39));

  testsupport::InputTap(VK_ESCAPE);
  testsupport::InputTap(VK_ESCAPE);
  testsupport::PumpMessages(50);
  pFrame->SaveAndDestroy();
  CXTPBarTheme::SetTheme(xtpThemeThreeD);
}

}  // namespace
