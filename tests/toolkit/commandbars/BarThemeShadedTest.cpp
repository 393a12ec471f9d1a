// Themes 2 and 4 with the visual-style colour scheme forced through the system seam: the scheme sets,
// every row of theme 2's gradient state table, the flat fallback without a scheme, and theme 4's own
// sets.
#include <gtest/gtest.h>

#include <BarThemeShaded.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "../foundation/FakeSystemQueries.h"
#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"

namespace {

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

// Theme 2's fixed set for one scheme, as the colour tables give it.
struct Gradient {
  COLORREF clr1, clr2;
  float fFactor;
};
struct SchemeSet {
  const wchar_t* pszScheme;
  Gradient dock, bar, expand, glyph, hiddenGutter, popuped, disabledIcons;
  COLORREF clrDropShadow, clrShadowLine, clrCaption, clrPaneBorder, clrTearOff;
  std::vector<std::pair<int, COLORREF>> slots;
};

std::vector<std::pair<int, COLORREF>> Slots(COLORREF c12, COLORREF c30, COLORREF c32, COLORREF c38,
                                            COLORREF c39, COLORREF c40, COLORREF c41, COLORREF c43,
                                            COLORREF c51, COLORREF c52, COLORREF c53, COLORREF c56) {
  const COLORREF kGrey = RGB(141, 141, 141);
  return {{12, c12},
          {30, c30},
          {31, RGB(255, 238, 194)},
          {32, c32},
          {37, c32},
          {50, c32},
          {33, RGB(254, 128, 62)},
          {36, RGB(255, 192, 111)},
          {38, c38},
          {39, c39},
          {40, c40},
          {41, c41},
          {43, c43},
          {47, RGB(0, 0, 0)},
          {51, c51},
          {52, c52},
          {53, c53},
          {56, c56},
          {35, kGrey},
          {58, kGrey},
          {60, kGrey}};
}

const SchemeSet kSchemeSets[] = {
    {L"Metallic",
     {RGB(215, 215, 229), RGB(243, 243, 247), 0.5f},
     {RGB(249, 249, 255), RGB(156, 155, 183), 0.75f},
     {RGB(179, 178, 200), RGB(118, 116, 146), 0.75f},
     {RGB(232, 232, 241), RGB(176, 174, 197), 0.5f},
     {RGB(215, 215, 226), RGB(133, 131, 162), 0.5f},
     {RGB(233, 231, 241), RGB(186, 185, 205), 0.5f},
     {RGB(247, 245, 249), RGB(122, 121, 153), 0.5f},
     RGB(36, 32, 41),
     RGB(124, 124, 148),
     RGB(122, 121, 153),
     RGB(236, 234, 218),
     RGB(192, 192, 211),
     Slots(RGB(155, 154, 179), RGB(219, 218, 228), RGB(75, 75, 111), RGB(84, 84, 117), RGB(110, 109, 143),
           RGB(168, 167, 190), RGB(253, 250, 255), RGB(124, 124, 148), RGB(223, 223, 234), RGB(177, 176, 195),
           RGB(214, 211, 231), RGB(214, 215, 231))},
    {L"HomeStead",
     {RGB(217, 217, 167), RGB(242, 241, 228), 0.5f},
     {RGB(244, 247, 222), RGB(183, 198, 145), 0.3f},
     {RGB(176, 194, 140), RGB(96, 119, 107), 0.3f},
     {RGB(236, 240, 213), RGB(184, 198, 147), 0.5f},
     {RGB(230, 230, 209), RGB(164, 180, 120), 0.3f},
     {RGB(236, 240, 213), RGB(194, 206, 159), 0.5f},
     {RGB(243, 244, 240), RGB(131, 144, 113), 0.5f},
     RGB(31, 34, 25),
     RGB(96, 128, 88),
     RGB(116, 134, 94),
     RGB(211, 211, 211),
     RGB(197, 212, 159),
     Slots(RGB(151, 160, 123), RGB(209, 222, 173), RGB(63, 93, 56), RGB(81, 94, 51), RGB(96, 128, 88),
           RGB(159, 174, 122), RGB(244, 244, 238), RGB(117, 141, 94), RGB(226, 231, 191), RGB(171, 192, 138),
           RGB(216, 227, 182), RGB(222, 227, 189))},
    {L"NormalColor",
     {RGB(158, 190, 245), RGB(196, 218, 250), 0.5f},
     {RGB(221, 236, 254), RGB(129, 169, 226), 0.75f},
     {RGB(117, 166, 241), RGB(0, 53, 145), 0.75f},
     {RGB(227, 239, 254), RGB(129, 169, 226), 0.5f},
     {RGB(203, 221, 246), RGB(121, 161, 220), 0.5f},
     {RGB(227, 239, 255), RGB(147, 181, 231), 0.5f},
     {RGB(233, 236, 242), RGB(97, 122, 172), 0.5f},
     RGB(22, 30, 54),
     RGB(59, 97, 156),
     RGB(42, 102, 201),
     RGB(211, 211, 211),
     RGB(169, 199, 240),
     Slots(RGB(144, 153, 174), RGB(196, 219, 249), RGB(0, 0, 128), RGB(39, 65, 118), RGB(106, 140, 203),
           RGB(109, 150, 208), RGB(246, 246, 246), RGB(0, 45, 150), RGB(216, 231, 252), RGB(158, 190, 245),
           RGB(203, 225, 252), RGB(189, 211, 247))},
};

void ExpectGradient(const CXTPColorGradientValue& actual, const Gradient& expected, const char* pszName) {
  EXPECT_EQ(actual.clr1.GetColor(), expected.clr1) << pszName;
  EXPECT_EQ(actual.clr2.GetColor(), expected.clr2) << pszName;
  EXPECT_FLOAT_EQ(actual.fGradientFactor, expected.fFactor) << pszName;
}

TEST(ShadedTheme, EachSchemeGivesEveryValueOfItsSet) {
  for (const SchemeSet& set : kSchemeSets) {
    SCOPED_TRACE(::testing::Message() << "scheme " << set.pszScheme);
    ForcedScheme scheme(set.pszScheme);
    CXTPBarThemeShaded* pTheme = MakeTheme<CXTPBarThemeShaded>();
    EXPECT_TRUE(pTheme->IsSchemeColorsApplied());
    ExpectGradient(pTheme->GetDockGradient(), set.dock, "dock");
    ExpectGradient(pTheme->GetBarGradient(), set.bar, "bar");
    ExpectGradient(pTheme->GetExpandGradient(), set.expand, "expand");
    ExpectGradient(pTheme->GetGlyphGradient(), set.glyph, "glyph");
    ExpectGradient(pTheme->GetHiddenGutterGradient(), set.hiddenGutter, "hidden gutter");
    ExpectGradient(pTheme->GetPopupedGradient(), set.popuped, "popuped");
    ExpectGradient(pTheme->GetDisabledIconColors(), set.disabledIcons, "disabled icons");
    EXPECT_EQ(pTheme->GetShadowColor(), set.clrDropShadow);
    EXPECT_EQ(pTheme->GetShadowLineColor(), set.clrShadowLine);
    EXPECT_EQ(pTheme->GetCaptionColor(), set.clrCaption);
    EXPECT_EQ(pTheme->GetPaneBorderColor(), set.clrPaneBorder);
    EXPECT_EQ(pTheme->GetTearOffColor(), set.clrTearOff);
    for (const auto& slot : set.slots)
      EXPECT_EQ(pTheme->GetColor(slot.first), slot.second) << "slot " << slot.first;
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
