// Themes 2 and 4 with the visual-style colour scheme forced through the system seam: the scheme sets,
// every row of theme 2's gradient state table, the flat fallback without a scheme, and theme 4's own
// sets.
#include <gtest/gtest.h>

#include <BarThemeShaded.h>

#include <cstdlib>

#include "../foundation/FakeSystemQueries.h"
#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"

namespace {

const COLORREF kBackground = RGB(1, 2, 3);

// A running visual style with one of the three known colour schemes, or none.
class ForcedScheme {
 public:
  explicit ForcedScheme(const wchar_t* pszColor) {
    fake_.themeActive = pszColor != nullptr;
    fake_.themeFile = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
    fake_.themeColor = pszColor != nullptr ? pszColor : L"";
    GetColorTable()->RefreshColors();
  }
  ~ForcedScheme() {
    fake_.themeActive = FALSE;
    GetColorTable()->RefreshColors();
  }

 private:
  FakeSystemQueries fake_;
};

template <class Theme>
Theme* MakeTheme() {
  Theme* pTheme = new Theme;
  pTheme->RefreshMetrics();
  return pTheme;
}

bool Near(COLORREF a, COLORREF b, int nTolerance = 24) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

TEST(ShadedTheme, BlueSchemeReplacesTheComputedColours) {
  ForcedScheme scheme(L"NormalColor");
  CXTPBarThemeShaded* pTheme = MakeTheme<CXTPBarThemeShaded>();
  EXPECT_TRUE(pTheme->IsSchemeColorsApplied());
  EXPECT_EQ(pTheme->GetDockGradient().clr1.GetColor(), RGB(158, 190, 245));
  EXPECT_EQ(pTheme->GetBarGradient().clr2.GetColor(), RGB(129, 169, 226));
  EXPECT_FLOAT_EQ(pTheme->GetBarGradient().fGradientFactor, 0.75f);
  EXPECT_EQ(pTheme->GetShadowLineColor(), RGB(59, 97, 156));
  EXPECT_EQ(pTheme->GetCaptionColor(), RGB(42, 102, 201));
  EXPECT_EQ(pTheme->GetShadowColor(), RGB(22, 30, 54));
  EXPECT_EQ(pTheme->GetColor(31), RGB(255, 238, 194));
  EXPECT_EQ(pTheme->GetColor(32), RGB(0, 0, 128));
  EXPECT_EQ(pTheme->GetColor(37), RGB(0, 0, 128));
  EXPECT_EQ(pTheme->GetColor(50), RGB(0, 0, 128));
  EXPECT_EQ(pTheme->GetColor(43), RGB(0, 45, 150));
  EXPECT_EQ(pTheme->GetColor(56), RGB(189, 211, 247));
  for (int nSlot : {35, 58, 60}) EXPECT_EQ(pTheme->GetColor(nSlot), RGB(141, 141, 141)) << nSlot;
  ASSERT_EQ(pTheme->GetGlyphImageList()->GetImageCount(), 1);
  pTheme->InternalRelease();
}

TEST(ShadedTheme, OliveAndSilverSchemesHaveTheirOwnSets) {
  {
    ForcedScheme scheme(L"HomeStead");
    CXTPBarThemeShaded* pTheme = MakeTheme<CXTPBarThemeShaded>();
    EXPECT_TRUE(pTheme->IsSchemeColorsApplied());
    EXPECT_EQ(pTheme->GetDockGradient().clr1.GetColor(), RGB(217, 217, 167));
    EXPECT_EQ(pTheme->GetColor(32), RGB(63, 93, 56));
    EXPECT_EQ(pTheme->GetTearOffColor(), RGB(197, 212, 159));
    pTheme->InternalRelease();
  }
  {
    ForcedScheme scheme(L"Metallic");
    CXTPBarThemeShaded* pTheme = MakeTheme<CXTPBarThemeShaded>();
    EXPECT_TRUE(pTheme->IsSchemeColorsApplied());
    EXPECT_EQ(pTheme->GetDockGradient().clr1.GetColor(), RGB(215, 215, 229));
    EXPECT_EQ(pTheme->GetPaneBorderColor(), RGB(236, 234, 218));
    EXPECT_EQ(pTheme->GetColor(41), RGB(253, 250, 255));
    pTheme->InternalRelease();
  }
}

struct ShadedRow {
  const char* name;
  BOOL bEnabled;
  BOOL bChecked;
  int nSelected;
  int nPressed;
  COLORREF clrTop;     // first colour of the gradient (0 = nothing drawn)
  COLORREF clrBottom;  // second colour
  int nFrame;
};

class ShadedStateTableTest : public ::testing::TestWithParam<ShadedRow> {};

TEST_P(ShadedStateTableTest, ToolbarButtonsGetTheSchemeGradients) {
  const ShadedRow& row = GetParam();
  ForcedScheme scheme(L"NormalColor");
  CXTPBarThemeShaded* pTheme = MakeTheme<CXTPBarThemeShaded>();
  ToolkitCanvas canvas(60, 80);
  canvas.dc().FillSolidRect(0, 0, 60, 80, kBackground);
  pTheme->DrawControlFrame(&canvas.dc(), CRect(10, 10, 40, 70), row.nSelected, row.nPressed, row.bEnabled,
                           row.bChecked, FALSE, TRUE, xtpBarTop);
  if (row.clrTop == 0) {
    EXPECT_EQ(canvas.At(25, 40), kBackground) << row.name;
    EXPECT_EQ(canvas.At(25, 10), kBackground) << row.name;
  } else {
    EXPECT_TRUE(Near(canvas.At(25, 12), row.clrTop)) << row.name << " top " << std::hex << canvas.At(25, 12);
    EXPECT_TRUE(Near(canvas.At(25, 67), row.clrBottom))
        << row.name << " bottom " << std::hex << canvas.At(25, 67);
    EXPECT_EQ(canvas.At(25, 10), pTheme->GetColor(row.nFrame)) << row.name;
    EXPECT_EQ(canvas.At(10, 40), pTheme->GetColor(row.nFrame)) << row.name;
  }
  pTheme->InternalRelease();
}

const COLORREF kHot1 = RGB(255, 242, 200), kHot2 = RGB(255, 212, 151);
const COLORREF kPressed1 = RGB(254, 142, 75), kPressed2 = RGB(255, 207, 139);
const COLORREF kChecked1 = RGB(255, 213, 140), kChecked2 = RGB(255, 173, 85);

INSTANTIATE_TEST_SUITE_P(
    EveryRow, ShadedStateTableTest,
    ::testing::Values(ShadedRow{"checked at rest", TRUE, TRUE, 0, 0, kChecked1, kChecked2, 50},
                      ShadedRow{"checked and hot", TRUE, TRUE, 1, 0, kPressed1, kPressed2, 50},
                      ShadedRow{"executed", TRUE, FALSE, 0, 2, kPressed1, kPressed2, 50},
                      ShadedRow{"hot and held", TRUE, FALSE, 1, 1, kPressed1, kPressed2, 50},
                      ShadedRow{"hot", TRUE, FALSE, 1, 0, kHot1, kHot2, 32},
                      ShadedRow{"held outside", TRUE, FALSE, 0, 1, kHot1, kHot2, 32},
                      ShadedRow{"at rest", TRUE, FALSE, 0, 0, 0, 0, 0},
                      ShadedRow{"disabled keyboard-selected checked", FALSE, TRUE, 2, 0, kPressed1, kPressed2,
                                50},
                      ShadedRow{"disabled keyboard-selected", FALSE, FALSE, 2, 0, kHot1, kHot2, 50},
                      ShadedRow{"disabled checked", FALSE, TRUE, 0, 0, kChecked1, kChecked2, 58}));

TEST(ShadedTheme, PopupedControlGetsThePopupedGradientAndFrame) {
  ForcedScheme scheme(L"NormalColor");
  CXTPBarThemeShaded* pTheme = MakeTheme<CXTPBarThemeShaded>();
  ToolkitCanvas canvas(60, 80);
  pTheme->DrawControlFrame(&canvas.dc(), CRect(10, 10, 40, 70), 1, 0, TRUE, FALSE, TRUE, TRUE, xtpBarTop);
  EXPECT_TRUE(Near(canvas.At(25, 12), pTheme->GetPopupedGradient().clr1.GetColor()));
  EXPECT_EQ(canvas.At(25, 10), pTheme->GetColor(43));
  pTheme->InternalRelease();
}

TEST(ShadedTheme, WithoutASchemeButtonsAreDrawnAsTheFlatThemeDrawsThem) {
  ForcedScheme scheme(nullptr);
  CXTPBarThemeShaded* pShaded = MakeTheme<CXTPBarThemeShaded>();
  CXTPBarThemeFlat* pFlat = MakeTheme<CXTPBarThemeFlat>();
  EXPECT_FALSE(pShaded->IsSchemeColorsApplied());
  for (int nState = 0; nState < 4; ++nState) {
    ToolkitCanvas shaded(50, 50), flat(50, 50);
    const int nSelected = nState & 1, nPressed = nState >> 1;
    pShaded->DrawControlFrame(&shaded.dc(), CRect(5, 5, 45, 45), nSelected, nPressed, TRUE, FALSE, FALSE,
                              TRUE, xtpBarTop);
    pFlat->DrawControlFrame(&flat.dc(), CRect(5, 5, 45, 45), nSelected, nPressed, TRUE, FALSE, FALSE, TRUE,
                            xtpBarTop);
    // The flat theme's slots are computed from the same colour table.
    EXPECT_EQ(shaded.At(25, 25), flat.At(25, 25)) << nState;
    EXPECT_EQ(shaded.At(25, 5), flat.At(25, 5)) << nState;
  }
  pShaded->InternalRelease();
  pFlat->InternalRelease();
}

TEST(ShadedAltTheme, IgnoresTheSchemeForThemeTwoValuesButAppliesItsOwnSet) {
  ForcedScheme scheme(L"NormalColor");
  CXTPBarThemeShadedAlt* pTheme = MakeTheme<CXTPBarThemeShadedAlt>();
  EXPECT_EQ(pTheme->GetThemeType(), xtpThemeShadedAlt);
  EXPECT_EQ(pTheme->GetCurrentTheme(), xtpSystemThemeUnknown);
  EXPECT_FALSE(pTheme->IsSchemeColorsApplied());
  // Blue takes the olive set of theme 4 for the dock and bar gradients, and its own expand gradient.
  EXPECT_EQ(pTheme->GetDockGradient().clr1.GetColor(), RGB(229, 229, 215));
  EXPECT_EQ(pTheme->GetBarGradient().clr2.GetColor(), RGB(192, 192, 168));
  EXPECT_EQ(pTheme->GetExpandGradient().clr2.GetColor(), RGB(152, 152, 126));
  EXPECT_EQ(pTheme->GetGlyphGradient().clr1.GetColor(), pTheme->GetBarGradient().clr1.GetColor());
  EXPECT_EQ(pTheme->GetShadowLineColor(), RGB(163, 163, 124));
  // Not theme 2's blue slot colours.
  EXPECT_NE(pTheme->GetColor(32), RGB(0, 0, 128));
  pTheme->InternalRelease();
}

TEST(ShadedAltTheme, SilverAndOliveSetSlotsOfTheirOwn) {
  {
    ForcedScheme scheme(L"Metallic");
    CXTPBarThemeShadedAlt* pTheme = MakeTheme<CXTPBarThemeShadedAlt>();
    EXPECT_EQ(pTheme->GetColor(31), RGB(255, 238, 194));
    EXPECT_EQ(pTheme->GetColor(47), RGB(0, 0, 0));
    EXPECT_EQ(pTheme->GetColor(35), RGB(141, 141, 141));
    EXPECT_EQ(pTheme->GetCaptionColor(), RGB(122, 121, 153));
    pTheme->InternalRelease();
  }
  {
    ForcedScheme scheme(L"HomeStead");
    CXTPBarThemeShadedAlt* pTheme = MakeTheme<CXTPBarThemeShadedAlt>();
    EXPECT_EQ(pTheme->GetColor(31), RGB(182, 198, 141));
    EXPECT_EQ(pTheme->GetColor(36), RGB(182, 198, 141));
    EXPECT_EQ(pTheme->GetColor(33), RGB(147, 160, 112));
    EXPECT_EQ(pTheme->GetColor(47), RGB(255, 255, 255));
    pTheme->InternalRelease();
  }
}

TEST(ShadedTheme, ThemesTwoAndFourAreMadeByNumberWithSeparatorsOfTheirKind) {
  CXTPBarTheme* p2 = CXTPBarTheme::CreateTheme(xtpThemeShaded);
  CXTPBarTheme* p4 = CXTPBarTheme::CreateTheme(xtpThemeShadedAlt);
  EXPECT_TRUE(p2->IsKindOf(RUNTIME_CLASS(CXTPBarThemeShaded)));
  EXPECT_FALSE(p2->IsKindOf(RUNTIME_CLASS(CXTPBarThemeShadedAlt)));
  EXPECT_TRUE(p4->IsKindOf(RUNTIME_CLASS(CXTPBarThemeShadedAlt)));
  EXPECT_FALSE(p2->GetIconsInfo()->bUseFadedIcons);
  EXPECT_TRUE(p2->GetIconsInfo()->bUseDisabledIcons);
  p2->InternalRelease();
  p4->InternalRelease();
}

}  // namespace
