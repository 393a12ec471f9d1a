// Theme 1: every row of the flat state table and of its caption colours, by pixel probes on a memory
// DC with distinct colours in the slots the frames use; separators and the exclude rectangle.
#include <gtest/gtest.h>

#include <BarThemeFlat.h>

#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"

namespace {

const COLORREF kBackground = RGB(1, 2, 3);

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

}  // namespace
