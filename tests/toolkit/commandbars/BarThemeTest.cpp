// The paint theme: the process-wide theme by number, colour slots, and every row of theme 0's state
// table, the halftone, separators and the floating caption by pixel probes on a memory DC.
#include <gtest/gtest.h>

#include <BarTheme3D.h>
#include <CommandBar.h>
#include <ControlComboBox.h>
#include <ControlPopup.h>
#include <Controls.h>

#include <cstddef>
#include <cstring>
#include <new>

#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"

namespace {

const COLORREF kFace = RGB(200, 201, 202);       // slot 15
const COLORREF kShadow = RGB(100, 101, 102);     // slot 16
const COLORREF kHighlight = RGB(250, 240, 230);  // slot 20

// Theme 0 with distinct colours in the slots its frames use.
class CProbeTheme : public CXTPBarTheme3D {
 public:
  CProbeTheme() {
    RefreshMetrics();
    SetColorOverride(COLOR_3DFACE_SLOT, kFace);
    SetColorOverride(COLOR_3DSHADOW_SLOT, kShadow);
    SetColorOverride(COLOR_3DHIGHLIGHT_SLOT, kHighlight);
  }
  // The base theme's split button, which theme 0 replaces with its own.
  void DrawBaseSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc) {
    CXTPBarTheme::DrawSplitButtonFrame(pDC, pControl, rc);
  }
  // An icon font whose characters are nAverageWidth pixels wide on average.
  void SetIconFontWidth(int nAverageWidth) {
    m_fontIcon.DeleteObject();
    m_fontIcon.CreateFont(-11, nAverageWidth, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                          L"Tahoma");
  }
  // A small-caption font of the given height, as the floating caption measures it.
  void SetSmallCaptionHeight(int nHeight) {
    m_bSmCaptionFollowsSystem = FALSE;
    m_fontSmCaption.DeleteObject();
    m_fontSmCaption.CreateFont(-nHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  }
};

enum Frame { kNothing, kSunken, kRaised, kHalftoneSunken };

struct StateRow {
  BOOL bEnabled;
  BOOL bChecked;
  BOOL bPopuped;
  int nSelected;
  int nPressed;
  Frame expected;
};

class StateTableTest : public ::testing::TestWithParam<StateRow> {};

TEST_P(StateTableTest, FrameMatchesTheStateTable) {
  const StateRow& row = GetParam();
  CProbeTheme* pTheme = new CProbeTheme;
  ToolkitCanvas canvas(60, 60);
  canvas.dc().FillSolidRect(0, 0, 60, 60, kBackground);
  pTheme->DrawControlFrame(&canvas.dc(), CRect(10, 10, 40, 40), row.nSelected, row.nPressed, row.bEnabled,
                           row.bChecked, row.bPopuped, TRUE, xtpBarTop);
  const COLORREF clrTop = canvas.At(20, 10), clrLeft = canvas.At(10, 20);
  const COLORREF clrBottom = canvas.At(20, 39), clrRight = canvas.At(39, 20);
  switch (row.expected) {
    case kNothing:
      EXPECT_EQ(clrTop, kBackground);
      EXPECT_EQ(clrBottom, kBackground);
      EXPECT_EQ(canvas.At(20, 20), kBackground);
      break;
    case kSunken:
    case kHalftoneSunken:
      EXPECT_EQ(clrTop, kShadow);
      EXPECT_EQ(clrLeft, kShadow);
      EXPECT_EQ(clrBottom, kHighlight);
      EXPECT_EQ(clrRight, kHighlight);
      break;
    case kRaised:
      EXPECT_EQ(clrTop, kHighlight);
      EXPECT_EQ(clrLeft, kHighlight);
      EXPECT_EQ(clrBottom, kShadow);
      EXPECT_EQ(clrRight, kShadow);
      break;
  }
  if (row.expected == kHalftoneSunken) {
    // Alternating pixels of the highlight and the face.
    const COLORREF a = canvas.At(21, 21), b = canvas.At(22, 21), c = canvas.At(21, 22);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, c == a ? c : a);
    EXPECT_TRUE((a == kHighlight && b == kFace) || (a == kFace && b == kHighlight))
        << std::hex << a << " " << b;
    EXPECT_EQ(canvas.At(22, 22), a);
  } else if (row.expected != kNothing) {
    EXPECT_EQ(canvas.At(20, 20), kBackground);
  }
  pTheme->InternalRelease();
}

INSTANTIATE_TEST_SUITE_P(
    Theme3D, StateTableTest,
    ::testing::Values(
        // disabled
        StateRow{FALSE, TRUE, FALSE, 0, 0, kSunken}, StateRow{FALSE, TRUE, FALSE, 1, 1, kSunken},
        StateRow{FALSE, FALSE, FALSE, 2, 0, kSunken}, StateRow{FALSE, FALSE, FALSE, 1, 0, kNothing},
        StateRow{FALSE, FALSE, TRUE, 0, 1, kNothing},
        // enabled and checked
        StateRow{TRUE, TRUE, FALSE, 0, 0, kHalftoneSunken}, StateRow{TRUE, TRUE, FALSE, 1, 0, kSunken},
        StateRow{TRUE, TRUE, FALSE, 0, 1, kSunken},
        // enabled, popup open
        StateRow{TRUE, FALSE, TRUE, 0, 0, kSunken},
        // enabled, executed, or selected and pressed
        StateRow{TRUE, FALSE, FALSE, 0, 2, kSunken}, StateRow{TRUE, FALSE, FALSE, 1, 1, kSunken},
        // exactly one of selected and pressed
        StateRow{TRUE, FALSE, FALSE, 1, 0, kRaised}, StateRow{TRUE, FALSE, FALSE, 2, 0, kRaised},
        StateRow{TRUE, FALSE, FALSE, 0, 1, kRaised},
        // neither
        StateRow{TRUE, FALSE, FALSE, 0, 0, kNothing}));

TEST(BarThemeTest, ThemesAreChosenByNumberAndKeepTheirNumber) {
  CXTPBarTheme::SetTheme(7);
  EXPECT_TRUE(CXTPBarTheme::IsThemeSet());
  EXPECT_TRUE(CXTPBarTheme::GetTheme()->IsKindOf(RUNTIME_CLASS(CXTPBarTheme3D)));
  EXPECT_EQ(CXTPBarTheme::GetTheme()->GetThemeNumber(), 7);
  CXTPBarTheme::SetCustomTheme(CXTPBarTheme::CreateTheme(0));
  EXPECT_EQ(CXTPBarTheme::GetTheme()->GetThemeNumber(), 5);
  CXTPBarTheme::SetTheme(0);
  EXPECT_EQ(CXTPBarTheme::GetTheme()->GetThemeNumber(), 0);
  EXPECT_EQ(CXTPBarTheme::GetTheme()->GetThemeType(), 0);
}

TEST(BarThemeTest, AskingWhetherAThemeIsSetMakesNone) {
  CXTPBarTheme::ReleaseTheme();
  const LONG nThemes = XTPGetLiveObjectCounts()->nThemes;
  EXPECT_FALSE(CXTPBarTheme::IsThemeSet());
  EXPECT_EQ(XTPGetLiveObjectCounts()->nThemes, nThemes);
  ASSERT_NE(CXTPBarTheme::GetTheme(), nullptr);
  EXPECT_TRUE(CXTPBarTheme::IsThemeSet());
  EXPECT_EQ(XTPGetLiveObjectCounts()->nThemes, nThemes + 1);
}

TEST(BarThemeTest, IndexesBeyondTheSlotsAreColoursThemselves) {
  CProbeTheme* pTheme = new CProbeTheme;
  EXPECT_EQ(pTheme->GetColor(62), COLORREF(62));
  EXPECT_EQ(pTheme->GetColor(-1), COLORREF(-1));
  EXPECT_EQ(pTheme->GetColor(16), kShadow);
  pTheme->SetColorOverride(16, COLORREF(-1));
  EXPECT_EQ(pTheme->GetColor(16), GetColorTable()->GetColor(16));
  const int nIndex = 16;
  const COLORREF clr = RGB(9, 8, 7);
  pTheme->SetColors(1, &nIndex, &clr);
  EXPECT_EQ(pTheme->GetColor(16), clr);
  pTheme->InternalRelease();
}

TEST(BarThemeTest, MenuFontHeightsJustAboveZeroBecomeEleven) {
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(-5), -11);
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(-1), -11);
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(-10), -11);
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(0), 0);
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(-11), -11);
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(-15), -15);
  EXPECT_EQ(CXTPBarTheme::AdjustMenuFontHeight(12), 12);
}

TEST(BarThemeTest, FloatingCaptionWithASmallFontIsEighteenPixelsHigh) {
  CProbeTheme* pTheme = new CProbeTheme;
  pTheme->SetSmallCaptionHeight(12);
  CXTPCommandBar* pBar = new CXTPCommandBar;
  pBar->SetBarPosition(xtpBarFloating);
  ToolkitCanvas canvas(10, 10);
  const CSize sz = pTheme->DrawCommandBarGripper(&canvas.dc(), pBar, FALSE);
  // The caption runs from y = 3 to y = 18.
  EXPECT_EQ(sz.cy + 3, 18);
  pBar->SetBarPosition(xtpBarTop);
  EXPECT_EQ(pTheme->DrawCommandBarGripper(&canvas.dc(), pBar, FALSE), CSize(6, 0));
  pBar->SetBarPosition(xtpBarLeft);
  EXPECT_EQ(pTheme->DrawCommandBarGripper(&canvas.dc(), pBar, FALSE), CSize(0, 8));
  pBar->InternalRelease();
  pTheme->InternalRelease();
}

TEST(BarThemeTest, SeparatorsMeasureSixOnToolbarsAndEightInPopups) {
  CProbeTheme* pTheme = new CProbeTheme;
  CXTPCommandBar* pBar = new CXTPCommandBar;
  ToolkitCanvas canvas(10, 10);
  EXPECT_EQ(pTheme->DrawCommandBarSeparator(&canvas.dc(), pBar, nullptr, FALSE), CSize(6, 6));
  pBar->SetType(xtpBarTypePopup);
  EXPECT_EQ(pTheme->DrawCommandBarSeparator(&canvas.dc(), pBar, nullptr, FALSE), CSize(8, 8));
  EXPECT_EQ(pTheme->GetCommandBarBorders(pBar), CRect(3, 3, 3, 3));
  pBar->SetType(xtpBarTypeNormal);
  EXPECT_EQ(pTheme->GetCommandBarBorders(pBar), CRect(2, 2, 2, 2));
  pBar->InternalRelease();
  pTheme->InternalRelease();
}

TEST(BarThemeTest, SeparatorBeforeAControlIsASunkenLineInItsRow) {
  CProbeTheme* pTheme = new CProbeTheme;
  CXTPCommandBar* pBar = new CXTPCommandBar;
  pBar->SetBarPosition(xtpBarTop);
  CFixedSizeControl* pControl = AddFixed(pBar->GetControls(), 1, 23, 22, TRUE);
  pControl->SetRect(CRect(30, 2, 53, 24));
  pControl->SetRowRect(CRect(2, 2, 80, 24));
  ToolkitCanvas canvas(100, 40);
  canvas.dc().FillSolidRect(0, 0, 100, 40, kBackground);
  pTheme->DrawCommandBarSeparator(&canvas.dc(), pBar, pControl, TRUE);
  // From (R.left - 4, W.top) to (R.left - 2, W.bottom): shadow on the left, highlight on the right.
  EXPECT_EQ(canvas.At(26, 10), kShadow);
  EXPECT_EQ(canvas.At(27, 10), kHighlight);
  EXPECT_EQ(canvas.At(28, 10), kBackground);
  pBar->InternalRelease();
  pTheme->InternalRelease();
}

TEST(BarThemeTest, HalftoneAlternatesItsTwoColours) {
  CProbeTheme* pTheme = new CProbeTheme;
  ToolkitCanvas canvas(4, 4);
  pTheme->FillHalftone(&canvas.dc(), CRect(0, 0, 4, 4));
  EXPECT_NE(canvas.At(0, 0), canvas.At(1, 0));
  EXPECT_EQ(canvas.At(0, 0), canvas.At(1, 1));
  pTheme->InternalRelease();
}

// A split button whose open state the test sets.
class CSplitButton : public CXTPControlPopup {
 public:
  CSplitButton() { m_controlType = xtpControlSplitButtonPopup; }
  void SetOpen(BOOL bOpen) { m_bPopuped = bOpen; }
  void SetHot(int nSelected) { m_bSelected = nSelected; }
};

// A split button at (10, 10, 45, 32) drawn by the theme base or by theme 0 on a plain background.
class SplitButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pTheme = new CProbeTheme;
    m_pSplit = new CSplitButton;
  }
  void TearDown() override {
    m_pSplit->InternalRelease();
    m_pTheme->InternalRelease();
  }
  void Draw(BOOL bBase) {
    m_canvas.dc().FillSolidRect(0, 0, 60, 40, kBackground);
    if (bBase) {
      m_pTheme->DrawBaseSplitButtonFrame(&m_canvas.dc(), m_pSplit, CRect(10, 10, 45, 32));
    } else {
      m_pTheme->DrawSplitButtonFrame(&m_canvas.dc(), m_pSplit, CRect(10, 10, 45, 32));
    }
  }
  COLORREF At(int x, int y) { return m_canvas.At(x, y); }

  CProbeTheme* m_pTheme = nullptr;
  CSplitButton* m_pSplit = nullptr;
  ToolkitCanvas m_canvas{60, 40};
};

TEST_F(SplitButtonTest, BaseWithItsPopupOpenDrawsOneFaceOverItsWholeWidth) {
  m_pSplit->SetOpen(TRUE);
  Draw(TRUE);
  // Sunken from the left edge to the right edge, no face edge before the arrow part.
  EXPECT_EQ(At(20, 10), kShadow);
  EXPECT_EQ(At(44, 20), kHighlight);
  EXPECT_EQ(At(40, 10), kShadow);
  EXPECT_EQ(At(33, 20), kBackground);
}

TEST_F(SplitButtonTest, BaseClosedAndHotRaisesTheMainPartAndTheArrowPartApart) {
  // The main part is raised up to 11 pixels from the right, and the raised arrow part over the right
  // 12 pixels starts on its last column.
  m_pSplit->SetHot(1);
  Draw(TRUE);
  EXPECT_EQ(At(20, 10), kHighlight);
  EXPECT_EQ(At(32, 20), kBackground);
  EXPECT_EQ(At(33, 20), kHighlight);
  EXPECT_EQ(At(44, 20), kShadow);
}

TEST_F(SplitButtonTest, ThemeZeroShowsItsArrowPartSunkenWhileOpen) {
  m_pSplit->SetOpen(TRUE);
  Draw(FALSE);
  // Main part raised up to 12 pixels from the right; the arrow part sunken.
  EXPECT_EQ(At(20, 10), kHighlight);
  EXPECT_EQ(At(32, 20), kShadow);
  EXPECT_EQ(At(33, 20), kShadow);
  EXPECT_EQ(At(44, 20), kHighlight);
}

TEST(BarThemeTest, ComboDropDownButtonIsTwiceTheAverageCharacterPlusFourButAtLeastFifteen) {
  CProbeTheme* pTheme = new CProbeTheme;
  CXTPControls* pControls = new CXTPControls;
  auto* pCombo = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, 7));
  ASSERT_NE(pCombo, nullptr);
  ToolkitCanvas canvas(10, 10);
  pTheme->SetIconFontWidth(4);
  pTheme->DrawControlComboBox(&canvas.dc(), pCombo, FALSE);
  EXPECT_EQ(pCombo->GetThumbWidth(), 15);
  pTheme->SetIconFontWidth(7);
  pTheme->DrawControlComboBox(&canvas.dc(), pCombo, FALSE);
  EXPECT_EQ(pCombo->GetThumbWidth(), 18);
  pControls->InternalRelease();
  pTheme->InternalRelease();
}

}  // namespace

namespace {

TEST(BarThemeTest, AControlOfAnotherClassIsNeverDrawnAsAnOpenPopup) {
  // A button with a popup's type (as a damaged stored record gave it), in memory whose bytes past the
  // button are set: read as a popup control, they would say that its popup is open.
  alignas(alignof(std::max_align_t)) unsigned char storage[sizeof(CXTPControlPopup) + 64];
  std::memset(storage, 0xFF, sizeof storage);
  CXTPControlButton* pButton = new (storage) CXTPControlButton;
  pButton->SetType(xtpControlPopup);
  pButton->SetRect(CRect(10, 10, 40, 32));
  EXPECT_EQ(AsPopupControl(pButton), nullptr);
  EXPECT_FALSE(IsPopuped(pButton));
  // Drawn by every theme as a closed one: no sunken face, as a popup control that is closed.
  CProbeTheme* pTheme = new CProbeTheme;
  ToolkitCanvas canvas(60, 40);
  canvas.dc().FillSolidRect(0, 0, 60, 40, kBackground);
  pTheme->DrawControlEntry(&canvas.dc(), pButton);
  EXPECT_EQ(canvas.At(20, 10), kBackground);
  pTheme->InternalRelease();
  CXTPControlPopup* pClosed = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
  pClosed->SetRect(pButton->GetRect());
  for (int nTheme = 0; nTheme <= 4; ++nTheme) {
    CXTPBarTheme::SetTheme(nTheme);
    ToolkitCanvas drawn(60, 40), closed(60, 40);
    CXTPBarTheme::GetTheme()->DrawControl(&drawn.dc(), pButton, TRUE);
    CXTPBarTheme::GetTheme()->DrawControl(&closed.dc(), pClosed, TRUE);
    int nDiffering = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 60; ++x) nDiffering += drawn.At(x, y) != closed.At(x, y);
    }
    EXPECT_EQ(nDiffering, 0) << "theme " << nTheme;
  }
  CXTPBarTheme::SetTheme(0);
  pClosed->InternalRelease();
  pButton->~CXTPControlButton();
}

}  // namespace
