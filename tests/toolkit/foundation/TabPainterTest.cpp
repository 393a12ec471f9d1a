// The tab painter's drawing: every shape style and colour scheme told apart by pixel probes, the
// scheme slot an application replaces, captions (mnemonics, ellipses) and the fonts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "TabColorSchemeFlat.h"
#include "TabColorSchemeGradient.h"
#include "TabColorSchemeVisualStyle.h"
#include "TabShapeSetBevel.h"
#include "TabTestHost.h"
#include "VisualStyles.h"

namespace {

const COLORREF kFace = RGB(200, 200, 200);
const COLORREF kStrip = RGB(240, 240, 240);
const COLORREF kFrame = RGB(255, 0, 0);
const COLORREF kHighlight = RGB(0, 255, 0);
const COLORREF kSelectedItem = RGB(255, 255, 0);
const COLORREF kNormalItem = RGB(0, 255, 255);
const COLORREF kBevelHighlight = RGB(0, 128, 0);
const COLORREF kBevelShadow = RGB(128, 0, 0);
const COLORREF kBevelDark = RGB(0, 0, 128);
const COLORREF kSeparator = RGB(100, 0, 100);
const COLORREF kSelectedFill = RGB(255, 128, 0);
const COLORREF kSelectedFrame = RGB(64, 64, 64);
const COLORREF kOuterSelected = RGB(0, 0, 255);
const COLORREF kOuterNormal = RGB(128, 0, 128);

// Overrides every colour of the installed scheme with one the probes can tell apart.
void PaintByNumbers(CXTPTabColorScheme* pScheme) {
  pScheme->m_clrFace.SetCustomValue(kFace);
  pScheme->m_grcStrip.clr1.SetCustomValue(kStrip);
  pScheme->m_grcStrip.clr2.SetCustomValue(kStrip);
  pScheme->m_clrFrame.SetCustomValue(kFrame);
  pScheme->m_clrHighlight.SetCustomValue(kHighlight);
  pScheme->m_clrSelectedItem.SetCustomValue(kSelectedItem);
  pScheme->m_clrNormalItem.SetCustomValue(kNormalItem);
  pScheme->m_clrBevelHighlight.SetCustomValue(kBevelHighlight);
  pScheme->m_clrBevelShadow.SetCustomValue(kBevelShadow);
  pScheme->m_clrBevelDarkShadow.SetCustomValue(kBevelDark);
  pScheme->m_clrSeparatorShadow.SetCustomValue(kSeparator);
  pScheme->m_grcSelectedFill.clr1.SetCustomValue(kSelectedFill);
  pScheme->m_grcSelectedFill.clr2.SetCustomValue(kSelectedFill);
  pScheme->m_grcSelectedFrame.clr1.SetCustomValue(kSelectedFrame);
  pScheme->m_grcSelectedFrame.clr2.SetCustomValue(kSelectedFrame);
  pScheme->m_outlineSelected.clrOuterLeftTop.SetCustomValue(kOuterSelected);
  pScheme->m_outlineSelected.clrOuterRight.SetCustomValue(kOuterSelected);
  pScheme->m_outlineNormal.clrOuterLeftTop.SetCustomValue(kOuterNormal);
  pScheme->m_outlineNormal.clrOuterRight.SetCustomValue(kOuterNormal);
  // Gradient schemes fill tabs with their own gradients; plain fills make the probes exact.
  if (auto* pGradient = dynamic_cast<CXTPTabColorSchemeGradient*>(pScheme))
    pGradient->m_clrHotItem.SetCustomValue(kNormalItem);
}

// Three empty tabs of 100, 60 and 60 pixels on a top strip, the last one selected, in the default
// scheme's solid fills with every colour overridden.
struct StyleScene {
  explicit StyleScene(int nStyle) : canvas(400, 200), host(CRect(0, 0, 400, 200)) {
    host.m_pPainter->SetShapeSet(nStyle);
    host.m_pPainter->SetColorScheme(xtpTabColorDefault);
    host.Add(100, _T(""));
    host.Add(60, _T(""));
    host.Add(60, _T(""));
    host.SetCurSel(2);
    PaintByNumbers(host.m_pPainter->GetColorScheme());
    host.Draw(canvas);
    tab0 = host.GetItem(0)->GetRect();
    tabSel = host.GetItem(2)->GetRect();
    mid0 = (tab0.top + tab0.bottom) / 2;
    midSel = (tabSel.top + tabSel.bottom) / 2;
  }
  COLORREF At(int x, int y) { return canvas.At(x, y); }

  ToolkitCanvas canvas;
  TabTestHost host;
  CRect tab0, tabSel;
  int mid0 = 0, midSel = 0;
};

// The same strip drawn under one colour scheme, for comparing schemes.
struct SchemeScene {
  SchemeScene(int nFlag, BOOL bPlain) : canvas(400, 200), host(CRect(0, 0, 400, 200)) {
    host.m_pPainter->SetShapeSet(6);
    host.m_pPainter->SetPlainColors(bPlain);
    host.m_pPainter->SetColorScheme(nFlag);
    host.Add(100, _T(""));
    host.Add(60, _T(""));
    host.SetCurSel(1);
    host.Draw(canvas);
  }
  ToolkitCanvas canvas;
  TabTestHost host;
};

bool SameImage(ToolkitCanvas& a, ToolkitCanvas& b, int cx, int cy) {
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

}  // namespace

// ---- shape styles ----------------------------------------------------------------------------------

TEST(TabShapeSets, Style0BevelsEveryTabAndLiftsTheSelectedOne) {
  StyleScene s(0);
  EXPECT_EQ(s.At(s.tab0.left, s.mid0), kBevelHighlight);
  EXPECT_EQ(s.At(s.tab0.right - 1, s.mid0), kBevelDark);
  EXPECT_EQ(s.At(s.tab0.right - 2, s.mid0), kBevelShadow);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.mid0), kNormalItem);
  EXPECT_EQ(s.At(s.tabSel.left + 10, s.tabSel.top - 1), kSelectedItem) << "raised by two pixels";
  EXPECT_EQ(s.At(s.tabSel.left + 10, s.tabSel.bottom - 1), kSelectedItem) << "joined to the page";
  EXPECT_EQ(s.At(s.tab0.left + 10, s.tab0.bottom - 1), kBevelHighlight) << "the page edge under other tabs";
}

TEST(TabShapeSets, Style1OutlinesOnlyTheSelectedAndHotTabs) {
  StyleScene s(1);
  EXPECT_EQ(s.At(s.tab0.left, s.mid0), kStrip);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.mid0), kStrip);
  EXPECT_EQ(s.At(s.tabSel.left - 2, s.mid0), kBevelHighlight);
}

TEST(TabShapeSets, Style2RoundsTheOuterCorners) {
  StyleScene s(2);
  EXPECT_EQ(s.At(s.tab0.left, s.tab0.top), kStrip) << "corner left out";
  EXPECT_EQ(s.At(s.tab0.left, s.mid0 + 2), kFrame);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.mid0), kNormalItem);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.tab0.top), kFrame);
}

TEST(TabShapeSets, Style3SlantsBothSidesWithAWhiteInnerLine) {
  StyleScene s(3);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.tab0.top), kFrame);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.tab0.top + 1), RGB(255, 255, 255));
  EXPECT_EQ(s.At(s.tab0.left - 1, s.tab0.top + 2), kStrip) << "outside the slant";
  EXPECT_EQ(s.At(s.tab0.right + 1, s.tab0.bottom - 2), kNormalItem) << "the far slant reaches past the tab";
}

TEST(TabShapeSets, Style4FramesTheSelectedButtonAndSeparatesTheOthers) {
  StyleScene s(4);
  EXPECT_EQ(s.At(s.tab0.right - 2, s.mid0), kSeparator);
  EXPECT_EQ(s.At(s.tab0.right - 1, s.mid0), kHighlight);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.mid0), kFace) << "unselected buttons are not filled";
  EXPECT_EQ(s.At(s.tabSel.left + 10, s.tabSel.top + 5), kSelectedFill);
  EXPECT_EQ(s.At(s.tabSel.left, s.tabSel.top + 5), kSelectedFrame);
}

TEST(TabShapeSets, Style5BoxesTheSelectedTabApartFromThePage) {
  StyleScene s(5);
  EXPECT_EQ(s.At(s.tab0.right - 1, s.mid0), kFrame);
  EXPECT_EQ(s.At(s.tab0.left + 10, s.mid0), kStrip);
  EXPECT_EQ(s.At(s.tabSel.left, s.tabSel.top + 5), kHighlight);
  EXPECT_EQ(s.At(s.tabSel.left + 10, s.tabSel.bottom - 2), kFrame) << "closed at the bottom";
  EXPECT_EQ(s.At(s.tabSel.left + 10, s.tabSel.top + 5), kSelectedItem);
}

TEST(TabShapeSets, Style6OpensTheSelectedTabIntoThePage) {
  StyleScene s(6);
  EXPECT_EQ(s.At(s.tab0.right - 1, s.mid0), kFrame);
  EXPECT_EQ(s.At(s.tab0.right - 1, s.tab0.top + 1), kStrip) << "separators stop short of the ends";
  EXPECT_EQ(s.At(s.tabSel.left, s.tabSel.top + 5), kHighlight);
  EXPECT_EQ(s.At(s.tabSel.right - 1, s.tabSel.top + 5), kFrame);
  EXPECT_EQ(s.At(s.tabSel.left + 10, s.tabSel.bottom - 1), kSelectedItem) << "no line on the page side";
}

TEST(TabShapeSets, Style7DrawsTrapezoidsWithTheirOwnOutlineGroups) {
  StyleScene s(7);
  EXPECT_EQ(s.At(s.tab0.left + 1, s.tab0.top + 1), kStrip) << "outside the slant";
  EXPECT_EQ(s.At(s.tab0.left + 20, s.tab0.top), kOuterNormal);
  EXPECT_EQ(s.At(s.tab0.left + 20, s.mid0), kNormalItem);
  EXPECT_EQ(s.At(s.tabSel.left + 20, s.tabSel.top), kOuterSelected);
  EXPECT_EQ(s.At(s.tabSel.left + 20, s.mid0), kSelectedItem);
  EXPECT_EQ(s.At(s.tabSel.left + 20, s.tabSel.bottom - 2), kSelectedItem) << "joined to the page";
}

TEST(TabShapeSets, Style7LeavesOutEdgesWhoseColourIsUnset) {
  ToolkitCanvas canvas(400, 200);
  TabTestHost host(CRect(0, 0, 400, 200));
  host.m_pPainter->SetShapeSet(7);
  host.Add(100, _T(""));
  host.Add(60, _T(""));
  host.SetCurSel(1);
  CXTPTabColorScheme* pScheme = host.m_pPainter->GetColorScheme();
  PaintByNumbers(pScheme);
  pScheme->m_outlineNormal.clrOuterLeftTop.SetCustomValue(COLORREF(-1));
  pScheme->m_outlineNormal.clrOuterLeftTop.SetStandardValue(COLORREF(-1));
  host.Draw(canvas);
  const CRect tab0 = host.GetItem(0)->GetRect();
  EXPECT_NE(canvas.At(tab0.left + 20, tab0.top), kOuterNormal) << "no top edge";
  EXPECT_EQ(canvas.At(tab0.left + 20, tab0.top + 1), kNormalItem);
  EXPECT_EQ(canvas.At(host.GetItem(1)->GetRect().left + 20, tab0.top), kOuterSelected);
}

TEST(TabShapeSets, Style8StacksFullWidthBarsWithGrips) {
  StyleScene s(8);
  EXPECT_EQ(s.tab0.right, 400);
  EXPECT_EQ(s.At(s.tab0.left, s.mid0), kHighlight);
  EXPECT_EQ(s.At(s.tab0.left + 50, s.mid0), kNormalItem);
  EXPECT_EQ(s.At(s.tab0.right - 7, s.tab0.top + 4), GetXtremeColor(38)) << "grip";
  EXPECT_EQ(s.At(s.tab0.right - 7, s.tab0.top + 5), kNormalItem) << "grip lines every other pixel";
  EXPECT_EQ(s.At(s.tabSel.left + 50, s.tabSel.top + 5), kSelectedItem);
}

TEST(TabShapeSets, Style9SlantsOnlyTheStartSideAndLaysEachTabOverTheLast) {
  StyleScene s(9);
  EXPECT_EQ(s.At(s.tabSel.right - 1, s.midSel), kFrame) << "a straight far side";
  EXPECT_EQ(s.At(s.tabSel.right, s.midSel + 3), kStrip) << "nothing beyond it";
  EXPECT_EQ(s.At(s.tabSel.left - 2, s.tabSel.bottom - 2), kSelectedItem) << "the start slant reaches back";
  const CRect tab1 = s.host.GetItem(1)->GetRect();
  EXPECT_EQ(s.At(tab1.left - 2, tab1.bottom - 2), kNormalItem) << "the second tab lies over the first";
}

TEST(TabShapeSets, EveryStyleDrawsDifferently) {
  std::vector<std::unique_ptr<StyleScene>> scenes;
  for (int nStyle = 0; nStyle < 10; ++nStyle) scenes.push_back(std::make_unique<StyleScene>(nStyle));
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b)
      EXPECT_FALSE(SameImage(scenes[a]->canvas, scenes[b]->canvas, 400, 60))
          << "styles " << a << " and " << b;
}

TEST(TabShapeSets, StylesInstallTheirPreferredScheme) {
  const int kDefault[10] = {1, 1, 1, 4, 2, 2, 2, 2, 1, 4};
  const int kSupported[10] = {13, 13, 7, 21, 31, 7, 7, 7, 5, 21};
  CXTPTabPainter painter;
  for (int nStyle = 0; nStyle < 10; ++nStyle) {
    painter.SetShapeSet(nStyle);
    EXPECT_EQ(painter.GetColorSchemeFlag(), kDefault[nStyle]) << nStyle;
    EXPECT_EQ(painter.GetShapeSet()->GetSupportedColorSchemes(), kSupported[nStyle]) << nStyle;
  }
  painter.SetShapeSet(42);
  EXPECT_EQ(painter.GetShapeStyle(), 42);
  EXPECT_NE(dynamic_cast<CXTPTabShapeSetBevel*>(painter.GetShapeSet()), nullptr)
      << "any other number is style 0";
}

TEST(TabShapeSets, EveryStyleDrawsAtEveryPositionInsideItsControl) {
  for (int nStyle = 0; nStyle < 10; ++nStyle) {
    for (int nPosition = 1; nPosition < 4; ++nPosition) {
      ToolkitCanvas canvas(320, 240);
      canvas.dc().FillSolidRect(0, 0, 320, 240, RGB(1, 2, 3));
      TabTestHost host(CRect(10, 10, 310, 230));
      host.m_pPainter->SetShapeSet(nStyle);
      host.m_pPainter->SetPosition(nPosition);
      host.Add(80, _T("One"));
      host.Add(60, _T("Two"));
      host.SetCurSel(0);
      host.Draw(canvas);
      SCOPED_TRACE(testing::Message() << "style " << nStyle << " position " << nPosition);
      EXPECT_EQ(canvas.At(5, 5), RGB(1, 2, 3));
      EXPECT_EQ(canvas.At(314, 234), RGB(1, 2, 3));
      const CRect rcTab = host.GetItem(1)->GetRect();
      EXPECT_NE(canvas.At(rcTab.CenterPoint().x, rcTab.CenterPoint().y), RGB(1, 2, 3));
    }
  }
}

// ---- colour schemes ---------------------------------------------------------------------------------

TEST(TabColorSchemes, EachSchemeFillsStripAndPageInItsOwnColours) {
  SchemeScene def(xtpTabColorDefault, FALSE), flat(xtpTabColorFlat, FALSE), grad(xtpTabColorGradient, FALSE);
  const COLORREF clrFace = GetXtremeColor(COLOR_BTNFACE);
  const CRect rcHeader = def.host.GetHeaderRect();
  const int x = 380, yTop = rcHeader.top, yBottom = rcHeader.bottom - 2;
  EXPECT_EQ(def.canvas.At(x, yTop), clrFace);
  EXPECT_EQ(def.canvas.At(x, yBottom), clrFace);
  EXPECT_EQ(flat.canvas.At(x, yTop), GetXtremeColor(48));
  EXPECT_TRUE(ColorsNear(grad.canvas.At(x, yTop), clrFace)) << "the gradient starts at the outer edge";
  EXPECT_TRUE(
      ColorsNear(grad.canvas.At(x, yBottom), BlendColors(clrFace, GetXtremeColor(COLOR_WINDOW), 205), 12));
  const COLORREF clrGradientPage = grad.host.m_pPainter->GetColorScheme()->m_clrSelectedItem.GetColor();
  EXPECT_EQ(grad.canvas.At(200, 150), clrGradientPage) << "the page in the selected item colour";
  EXPECT_NE(clrGradientPage, clrFace);
  EXPECT_EQ(def.canvas.At(200, 150), clrFace);
}

TEST(TabColorSchemes, ThemedGradientDiffersFromGradientUnderPlainColours) {
  SchemeScene grad(xtpTabColorGradient, TRUE), themed(xtpTabColorThemedGradient, TRUE);
  EXPECT_EQ(themed.canvas.At(200, 150), RGB(255, 255, 255)) << "a white page";
  EXPECT_EQ(grad.canvas.At(200, 150), GetXtremeColor(36));
  const int yBottom = grad.host.GetHeaderRect().bottom - 2;
  EXPECT_NE(grad.canvas.At(380, yBottom), themed.canvas.At(380, yBottom))
      << "a gradient strip against a plain one";
  EXPECT_EQ(themed.host.m_pPainter->GetColorScheme()->m_clrFrame.GetColor(), GetXtremeColor(57));
}

TEST(TabColorSchemes, GradientUnderPlainColoursUsesTheSystemColours) {
  CXTPTabPainter painter;
  painter.SetPlainColors(TRUE);
  painter.SetColorScheme(xtpTabColorGradient);
  const CXTPTabColorScheme* pScheme = painter.GetColorScheme();
  const COLORREF clrFace = GetXtremeColor(COLOR_BTNFACE);
  EXPECT_EQ(pScheme->m_grcStrip.clr1.GetColor(), clrFace);
  EXPECT_EQ(pScheme->m_grcStrip.clr2.GetColor(), BlendColors(clrFace, GetXtremeColor(COLOR_WINDOW), 205));
  EXPECT_EQ(pScheme->m_clrSelectedItem.GetColor(), GetXtremeColor(36));
  EXPECT_NE(pScheme->m_clrFrame.GetColor(), RGB(59, 97, 156)) << "not the blue theme's table";
}

TEST(TabColorSchemes, VisualStyleSchemeFallsBackToTheDefaultWithoutAStyle) {
  SchemeScene def(xtpTabColorDefault, FALSE), visual(xtpTabColorVisualStyle, FALSE);
  auto* pScheme = dynamic_cast<CXTPTabColorSchemeVisualStyle*>(visual.host.m_pPainter->GetColorScheme());
  ASSERT_NE(pScheme, nullptr);
  if (IsVisualStyleActive()) {
    EXPECT_TRUE(pScheme->IsTabThemeOpen());
    EXPECT_FALSE(SameImage(def.canvas, visual.canvas, 400, 200));
  } else {
    EXPECT_FALSE(pScheme->IsTabThemeOpen());
    EXPECT_TRUE(SameImage(def.canvas, visual.canvas, 400, 200));
  }
}

TEST(TabColorSchemes, TurnedThemePartsAreMirroredOrRotatedIntoPlace) {
  // An upright 4 x 2 part: the top row 1 2 3 4, the bottom (page side) row 5 6 7 8.
  const DWORD upright[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  DWORD bottom[8] = {}, left[8] = {}, right[8] = {};
  TurnTabPixels(upright, 4, 2, bottom, xtpTabPositionBottom);
  TurnTabPixels(upright, 4, 2, left, xtpTabPositionLeft);
  TurnTabPixels(upright, 4, 2, right, xtpTabPositionRight);
  const DWORD kBottom[8] = {5, 6, 7, 8, 1, 2, 3, 4};
  const DWORD kLeft[8] = {1, 5, 2, 6, 3, 7, 4, 8};   // 2 wide, 4 high: the page side on the right
  const DWORD kRight[8] = {5, 1, 6, 2, 7, 3, 8, 4};  // the page side on the left
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(bottom[i], kBottom[i]) << i;
    EXPECT_EQ(left[i], kLeft[i]) << i;
    EXPECT_EQ(right[i], kRight[i]) << i;
  }
}

TEST(TabColorSchemes, NullSchemeIsIgnoredAndReplacingDeletesTheOld) {
  CXTPTabPainter painter;
  CXTPTabColorScheme* pScheme = painter.GetColorScheme();
  painter.SetColorSchemeObject(nullptr);
  EXPECT_EQ(painter.GetColorScheme(), pScheme);
  auto* pFlat = new CXTPTabColorSchemeFlat();
  painter.SetColorSchemeObject(pFlat);
  EXPECT_EQ(painter.GetColorScheme(), pFlat);
  EXPECT_EQ(pFlat->GetPaintManager(), &painter);
}

// ---- the slot an application replaces ----------------------------------------------------------------

namespace {

// What the wizard does: the flat scheme with its own strip fill.
class YellowStripScheme : public CXTPTabColorSchemeFlat {
 public:
  void FillStripBackground(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) override {
    ++m_nCalls;
    m_rcLast = rc;
    pDC->FillSolidRect(rc, RGB(255, 255, 0));
    rc.DeflateRect(1, 1);
    DrawGradientRect(pDC, rc, RGB(255, 255, 255), RGB(255, 254, 239), FALSE);
    (void)pTabManager;
  }
  int m_nCalls = 0;
  CRect m_rcLast;
};

}  // namespace

TEST(TabColorSchemes, AnOverridingStripFillPaintsTheHeaderOfAStyle7Strip) {
  ToolkitCanvas canvas(300, 200);
  TabTestHost host(CRect(0, 0, 300, 200), new CXTPTabPainter());
  host.m_pPainter->SetShapeSet(7);
  host.m_pPainter->SetPlainColors(FALSE);
  host.m_pPainter->SetSchemeOption(FALSE);
  host.m_pPainter->SetPosition(xtpTabPositionTop);
  auto* pScheme = new YellowStripScheme();
  host.m_pPainter->SetColorSchemeObject(pScheme);
  for (int i = 0; i < 3; ++i) host.InsertItem(-1)->SetCaption(_T("Page"));
  for (int i = 0; i < 3; ++i) host.GetItem(i)->SetStateFlag(FALSE);
  host.SetPosition(xtpTabPositionBottom);
  host.SetCurSel(0);
  host.Draw(canvas);

  ASSERT_EQ(pScheme->m_nCalls, 1);
  const CRect rcHeader = host.GetHeaderRect();
  EXPECT_EQ(pScheme->m_rcLast.top, rcHeader.top) << "called for the strip";
  EXPECT_EQ(pScheme->m_rcLast.bottom, rcHeader.bottom);
  EXPECT_EQ(rcHeader.bottom, 200) << "the strip at the bottom";
  EXPECT_EQ(canvas.At(rcHeader.left, rcHeader.bottom - 1), RGB(255, 255, 0)) << "the yellow border";
  EXPECT_EQ(canvas.At(150, rcHeader.bottom - 1), RGB(255, 255, 0));
  EXPECT_TRUE(ColorsNear(canvas.At(150, rcHeader.top + 2), RGB(255, 255, 255), 4))
      << "white at the top of the gradient";
}

// ---- captions ------------------------------------------------------------------------------------------

namespace {

// One tab with the caption, drawn at a position; the canvas after drawing.
void DrawCaptionTab(ToolkitCanvas& canvas, LPCTSTR lpszCaption, BOOL bNoPrefix, int nPosition) {
  TabTestHost host(CRect(0, 0, 300, 300), new CXTPTabPainter());
  host.m_pPainter->m_bNoPrefix = bNoPrefix;
  host.m_pPainter->SetPosition(nPosition);
  host.InsertItem(-1)->SetCaption(lpszCaption);
  host.Reposition();
  host.Draw(canvas);
}

}  // namespace

TEST(TabPainter, MnemonicsUnderlineOnHorizontalStripsAndVanishOnVerticalOnes) {
  ToolkitCanvas prefixed(300, 300), plain(300, 300);
  DrawCaptionTab(prefixed, _T("&Next"), FALSE, xtpTabPositionTop);
  DrawCaptionTab(plain, _T("Next"), FALSE, xtpTabPositionTop);
  EXPECT_FALSE(SameImage(prefixed, plain, 300, 60)) << "the N is underlined";

  ToolkitCanvas vPrefixed(300, 300), vPlain(300, 300);
  DrawCaptionTab(vPrefixed, _T("&Next"), FALSE, xtpTabPositionLeft);
  DrawCaptionTab(vPlain, _T("Next"), FALSE, xtpTabPositionLeft);
  EXPECT_TRUE(SameImage(vPrefixed, vPlain, 60, 300));

  ToolkitCanvas doubled(300, 300), single(300, 300);
  DrawCaptionTab(doubled, _T("A&&B"), FALSE, xtpTabPositionTop);
  DrawCaptionTab(single, _T("A&B"), TRUE, xtpTabPositionTop);
  EXPECT_TRUE(SameImage(doubled, single, 300, 60)) << "&& shows one &";
  ToolkitCanvas vDoubled(300, 300), vSingle(300, 300);
  DrawCaptionTab(vDoubled, _T("A&&B"), FALSE, xtpTabPositionLeft);
  DrawCaptionTab(vSingle, _T("A&B"), TRUE, xtpTabPositionLeft);
  EXPECT_TRUE(SameImage(vDoubled, vSingle, 60, 300));
}

TEST(TabPainter, MiddleEllipsisKeepsHeadAndTailTheHeadLongerWhenOdd) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CFont font;
  font.CreatePointFont(100, _T("Courier New"));
  CFont* pOld = dc.SelectObject(&font);
  const CString strCaption(_T("ABCDEFGHIJKLMNOPQRST"));
  const int nFull = dc.GetTextExtent(strCaption).cx;
  const CString strShown = CXTPTabPainter::MiddleEllipsis(&dc, strCaption, nFull / 2);
  const int nDots = strShown.Find(_T("..."));
  ASSERT_GT(nDots, 0);
  const CString strHead = strShown.Left(nDots), strTail = strShown.Mid(nDots + 3);
  EXPECT_EQ(strHead, strCaption.Left(strHead.GetLength()));
  EXPECT_EQ(strTail, strCaption.Right(strTail.GetLength()));
  const int nKept = strHead.GetLength() + strTail.GetLength();
  EXPECT_EQ(strHead.GetLength() - strTail.GetLength(), nKept % 2);
  EXPECT_LE(dc.GetTextExtent(strShown).cx, nFull / 2);
  EXPECT_GT(dc.GetTextExtent(strShown).cx, nFull / 2 - 2 * dc.GetTextExtent(_T("W")).cx) << "as much as fits";

  EXPECT_EQ(CXTPTabPainter::MiddleEllipsis(&dc, strCaption, nFull), strCaption) << "fits: unchanged";
  EXPECT_EQ(CXTPTabPainter::MiddleEllipsis(&dc, strCaption, 3), CString(_T("..."))) << "no room: dots alone";
  dc.SelectObject(pOld);
}

TEST(TabPainter, OwnEllipsisDrawsPathsWithThePathEllipsis) {
  const CString strPath(_T("C:\\Documents\\Mail\\Archive\\Folder.pst"));
  ToolkitCanvas ours(200, 30), system(200, 30);
  CXTPTabPainter painter;
  painter.m_bOwnEllipsis = TRUE;
  ours.dc().SelectObject(painter.GetFont());
  system.dc().SelectObject(painter.GetFont());
  painter.DrawCaption(&ours.dc(), strPath, CRect(0, 0, 120, 30), DT_SINGLELINE | DT_VCENTER);
  system.dc().DrawText(strPath, CRect(0, 0, 120, 30), DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS);
  EXPECT_TRUE(SameImage(ours, system, 200, 30));
}

TEST(TabPainter, SmallFontsGrowToElevenPixelsForVerticalTextOnly) {
  CXTPTabPainter painter;
  LOGFONT lf = {};
  lstrcpyW(lf.lfFaceName, L"Tahoma");
  lf.lfHeight = -8;
  painter.SetFontIndirect(&lf);
  TabTestHost host;
  CXTPTabManagerItem* pItem = host.InsertItem(-1);
  LOGFONT normal = {}, vertical = {};
  painter.GetItemFont(pItem, FALSE)->GetLogFont(&normal);
  painter.GetItemFont(pItem, TRUE)->GetLogFont(&vertical);
  EXPECT_EQ(normal.lfHeight, -8);
  EXPECT_EQ(vertical.lfHeight, -11);
  EXPECT_EQ(vertical.lfEscapement, 2700);
}

TEST(TabPainter, TheSelectedCaptionIsBoldOnlyWhileTheManagerIsActive) {
  TabTestHost host(CRect(0, 0, 300, 100), new CXTPTabPainter());
  host.m_pPainter->m_bBoldSelected = TRUE;
  CXTPTabManagerItem* pItem = host.InsertItem(-1);
  host.SetCurSel(0);
  LOGFONT lf = {};
  host.m_pPainter->GetItemFont(pItem, FALSE)->GetLogFont(&lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  host.SetActive(FALSE);
  host.m_pPainter->GetItemFont(pItem, FALSE)->GetLogFont(&lf);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
}

TEST(TabPainter, TextColoursFollowStateActivityAndHotTracking) {
  TabTestHost host;
  CXTPTabColorScheme* pScheme = host.m_pPainter->GetColorScheme();
  host.Add(50);
  host.Add(50);
  host.Add(50);
  host.SetCurSel(0);
  host.GetItem(2)->SetEnabled(FALSE);
  pScheme->m_clrSelectedText.SetCustomValue(RGB(1, 0, 0));
  pScheme->m_clrNormalText.SetCustomValue(RGB(2, 0, 0));
  pScheme->m_clrDisabledText.SetCustomValue(RGB(3, 0, 0));
  pScheme->m_clrInactiveText.SetCustomValue(RGB(4, 0, 0));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  EXPECT_EQ(pScheme->SetItemTextColor(&dc, host.GetItem(0)), RGB(1, 0, 0));
  EXPECT_EQ(pScheme->SetItemTextColor(&dc, host.GetItem(1)), RGB(2, 0, 0));
  EXPECT_EQ(pScheme->SetItemTextColor(&dc, host.GetItem(2)), RGB(3, 0, 0));
  EXPECT_EQ(dc.GetTextColor(), RGB(3, 0, 0));
  host.SetActive(FALSE);
  EXPECT_EQ(pScheme->SetItemTextColor(&dc, host.GetItem(0)), RGB(4, 0, 0));
  EXPECT_EQ(pScheme->SetItemTextColor(&dc, host.GetItem(2)), RGB(3, 0, 0)) << "disabled stays disabled";
}

TEST(TabPainter, ItemColoursOptionFillsTabsInEachItemsColour) {
  ToolkitCanvas canvas(400, 100);
  TabTestHost host(CRect(0, 0, 400, 100));
  host.m_pPainter->SetSchemeOption(TRUE);
  host.Add(100, _T(""));
  host.Add(100, _T(""));
  host.Draw(canvas);
  const CRect rc0 = host.GetItem(0)->GetRect(), rc1 = host.GetItem(1)->GetRect();
  EXPECT_EQ(canvas.At(rc0.left + 20, rc0.top + 6), RGB(138, 168, 228));
  EXPECT_EQ(canvas.At(rc1.left + 20, rc1.top + 6), RGB(255, 219, 117));
}

// ---- a gallery for people ----------------------------------------------------------------------------

TEST(TabShapeSets, GalleryOfEveryStyleAtEveryPositionIsSaved) {
  // Ten rows of styles; each row shows the strip at the top, left, bottom and right.
  const int kCell = 230;
  ToolkitCanvas canvas(4 * kCell, 10 * (kCell / 2 + 10));
  canvas.dc().FillSolidRect(0, 0, 4 * kCell, 10 * (kCell / 2 + 10), RGB(255, 255, 255));
  for (int nStyle = 0; nStyle < 10; ++nStyle) {
    for (int nPosition = 0; nPosition < 4; ++nPosition) {
      const int x = nPosition * kCell + 5, y = nStyle * (kCell / 2 + 10) + 5;
      TabTestHost host(CRect(x, y, x + kCell - 10, y + kCell / 2), new CXTPTabPainter());
      host.m_pPainter->SetShapeSet(nStyle);
      host.m_pPainter->m_bHotTracking = TRUE;
      host.m_pPainter->m_bBoldSelected = TRUE;
      host.m_pPainter->SetPosition(nPosition);
      host.InsertItem(-1)->SetCaption(_T("Mail"));
      host.InsertItem(-1)->SetCaption(_T("Calendar"));
      CXTPTabManagerItem* pThird = host.InsertItem(-1);
      pThird->SetCaption(_T("Tasks"));
      pThird->SetImageIndex(0);
      host.SetCurSel(1);
      host.Draw(canvas);
    }
  }
  EXPECT_FALSE(canvas.SavePng(L"tab-shape-gallery.png").empty());
}
