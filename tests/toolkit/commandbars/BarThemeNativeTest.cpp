// Theme 3 without the display's input: its button states, its fall-back to theme 0 when the visual-style
// library is missing (a binding to a library that does not exist) and for each part whose drawing
// faults inside the library (FaultingUxTheme.dll, built by the foundation tests), and classes opened
// for the first bar it draws when no main window existed as it was set.
#include <gtest/gtest.h>

#include <BarThemeNative.h>
#include <CommandBar.h>
#include <StatusBar.h>

#include <VisualStyles.h>

#include <functional>

#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"

namespace {

TEST(NativeTheme, ButtonStatesFollowTheControlsState) {
  //                                      selected pressed enabled checked popuped
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(0, 0, TRUE, FALSE, FALSE), 1);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(1, 0, TRUE, FALSE, FALSE), 2);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(1, 1, TRUE, FALSE, FALSE), 3);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(0, 2, TRUE, FALSE, FALSE), 3);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(0, 0, TRUE, FALSE, TRUE), 3);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(0, 0, TRUE, TRUE, FALSE), 5);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(1, 0, TRUE, TRUE, FALSE), 6);
  // A checked control that is pressed is no longer shown as checked.
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(1, 1, TRUE, TRUE, FALSE), 3);
  // A disabled checked button uses the pressed state, not the disabled one.
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(0, 0, FALSE, TRUE, FALSE), 3);
  EXPECT_EQ(CXTPBarThemeNative::GetButtonState(1, 0, FALSE, FALSE, FALSE), 4);
  // Split buttons: pressed and selected, checked, then hot for an open or hot one.
  EXPECT_EQ(CXTPBarThemeNative::GetSplitButtonState(1, 1, TRUE, TRUE, FALSE), 3);
  EXPECT_EQ(CXTPBarThemeNative::GetSplitButtonState(0, 0, TRUE, TRUE, TRUE), 5);
  EXPECT_EQ(CXTPBarThemeNative::GetSplitButtonState(0, 0, TRUE, FALSE, TRUE), 2);
  EXPECT_EQ(CXTPBarThemeNative::GetSplitButtonState(0, 0, FALSE, TRUE, TRUE), 4);
}

TEST(NativeTheme, ItIsThemeThreeWithFadedIconsAndMenuTextCaptions) {
  CXTPBarTheme* pTheme = CXTPBarTheme::CreateTheme(3);
  CXTPBarThemeNative* pNative = DYNAMIC_DOWNCAST(CXTPBarThemeNative, pTheme);
  ASSERT_NE(pNative, nullptr);
  EXPECT_EQ(pNative->GetThemeType(), 3);
  EXPECT_TRUE(pNative->GetIconsInfo()->bUseFadedIcons);
  EXPECT_FALSE(pNative->GetIconsInfo()->bIconsWithShadow);
  EXPECT_EQ(pNative->m_nPopupTextSlot, COLOR_MENUTEXT);
  EXPECT_FALSE(pNative->m_bHighlightWholeRow);
  pTheme->InternalRelease();
}

// A bar window to draw, hidden.
class CDrawnBar : public CXTPCommandBar {
 public:
  explicit CDrawnBar(XTPBarPosition position) {
    m_barPosition = position;
    CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, 0, 0, 80, 30, nullptr, nullptr);
  }
};

// Draws the same thing with theme 0 and with a theme 3 whose visual styles are missing.
class FallbackTest : public ::testing::Test {
 protected:
  FallbackTest() : m_missing(L"no-such-uxtheme.dll", 0x60000) {}
  void SetUp() override {
    m_pNative = new CXTPBarThemeNative(&m_missing);
    m_pNative->RefreshMetrics();
    m_pClassic = new CXTPBarTheme3D;
    m_pClassic->RefreshMetrics();
  }
  void TearDown() override {
    m_pNative->InternalRelease();
    m_pClassic->InternalRelease();
  }
  template <class Draw>
  void ExpectSamePixels(Draw draw) {
    ToolkitCanvas classic(80, 40), native(80, 40);
    draw(m_pClassic, &classic.dc());
    draw(m_pNative, &native.dc());
    int nDiffering = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 80; ++x) nDiffering += classic.At(x, y) != native.At(x, y);
    }
    EXPECT_EQ(nDiffering, 0);
  }

  CXTVisualStyles m_missing;
  CXTPBarThemeNative* m_pNative = nullptr;
  CXTPBarTheme3D* m_pClassic = nullptr;
};

TEST_F(FallbackTest, WithoutVisualStylesEveryPartDrawsAsThemeZero) {
  EXPECT_FALSE(m_pNative->IsToolBarThemed());
  EXPECT_FALSE(m_pNative->IsRebarThemed());
  EXPECT_FALSE(m_pNative->IsComboBoxThemed());
  EXPECT_FALSE(m_pNative->IsStatusThemed());
  for (int nSelected = 0; nSelected <= 2; ++nSelected) {
    for (BOOL bChecked : {FALSE, TRUE}) {
      ExpectSamePixels([&](CXTPBarTheme* pTheme, CDC* pDC) {
        pTheme->DrawControlFrame(pDC, CRect(4, 4, 30, 30), nSelected, 0, TRUE, bChecked, FALSE, TRUE,
                                 xtpBarTop);
      });
    }
  }
  ExpectSamePixels([](CXTPBarTheme* pTheme, CDC* pDC) {
    pTheme->DrawStatusBarPaneBorder(pDC, CRect(2, 2, 60, 20), TRUE);
    pTheme->DrawStatusBarGripper(pDC, CRect(0, 0, 80, 40));
  });
  ExpectSamePixels([](CXTPBarTheme* pTheme, CDC* pDC) {
    static_cast<CXTPBarTheme3D*>(pTheme)->DrawComboDropDown(pDC, CRect(40, 5, 56, 25), TRUE, 1, TRUE);
    static_cast<CXTPBarTheme3D*>(pTheme)->DrawControlEditFrame(pDC, CRect(2, 2, 38, 28), TRUE, 1);
  });
  for (XTPBarPosition position : {xtpBarTop, xtpBarLeft, xtpBarFloating, xtpBarPopup}) {
    CDrawnBar bar(position);
    ASSERT_NE(bar.GetSafeHwnd(), nullptr);
    ExpectSamePixels([&](CXTPBarTheme* pTheme, CDC* pDC) {
      pTheme->FillCommandBar(pDC, &bar);
      pTheme->DrawCommandBarGripper(pDC, &bar, TRUE);
    });
    ToolkitCanvas measure(10, 10);
    EXPECT_EQ(m_pNative->DrawCommandBarGripper(&measure.dc(), &bar, FALSE),
              m_pClassic->DrawCommandBarGripper(&measure.dc(), &bar, FALSE));
    bar.DestroyWindow();
  }
}

TEST(NativeTheme, APartWhoseDrawingFaultsInTheLibraryIsDrawnAsThemeZero) {
  CXTVisualStyles faulting(L"FaultingUxTheme.dll", MAKELONG(0, 6));
  ASSERT_NE(faulting.GetModuleHandle(), nullptr) << "FaultingUxTheme.dll beside the test";
  // The library takes the application as themed, and faults in part 1 of every class.
  auto answerAppThemed = reinterpret_cast<void(WINAPI*)(BOOL)>(
      reinterpret_cast<void*>(::GetProcAddress(faulting.GetModuleHandle(), "AnswerAppThemed")));
  ASSERT_NE(answerAppThemed, nullptr);
  answerAppThemed(TRUE);
  CDrawnBar bar(xtpBarTop);
  CWnd* pMainWnd = theTestApp.m_pMainWnd;
  theTestApp.m_pMainWnd = &bar;
  CXTPBarThemeNative* pTheme = new CXTPBarThemeNative(&faulting);
  pTheme->RefreshMetrics();
  theTestApp.m_pMainWnd = pMainWnd;
  EXPECT_TRUE(pTheme->IsToolBarThemed() && pTheme->IsRebarThemed() && pTheme->IsStatusThemed() &&
              pTheme->IsComboBoxThemed());

  // Each part as theme 0 draws it, with the colours the theme took from the library.
  auto expectThemeZero = [](const char* pszPart, const std::function<void(CDC*, BOOL)>& draw) {
    ToolkitCanvas themed(80, 30), classic(80, 30);
    draw(&themed.dc(), FALSE);
    draw(&classic.dc(), TRUE);
    int nDrawn = 0, nDiffering = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 80; ++x) {
        nDrawn += classic.At(x, y) != RGB(255, 255, 255);
        nDiffering += themed.At(x, y) != classic.At(x, y);
      }
    }
    EXPECT_GT(nDrawn, 0) << pszPart;
    EXPECT_EQ(nDiffering, 0) << pszPart;
  };
  const CRect rc(4, 4, 34, 26);
  expectThemeZero("button", [&](CDC* pDC, BOOL bClassic) {
    if (bClassic)
      pTheme->CXTPBarTheme3D::DrawControlFrame(pDC, rc, TRUE, TRUE, TRUE, FALSE, FALSE, TRUE, xtpBarTop);
    else
      pTheme->DrawControlFrame(pDC, rc, TRUE, TRUE, TRUE, FALSE, FALSE, TRUE, xtpBarTop);
  });
  expectThemeZero("gripper", [&](CDC* pDC, BOOL bClassic) {
    if (bClassic)
      pTheme->CXTPBarTheme3D::DrawCommandBarGripper(pDC, &bar, TRUE);
    else
      pTheme->DrawCommandBarGripper(pDC, &bar, TRUE);
  });
  expectThemeZero("status pane", [&](CDC* pDC, BOOL bClassic) {
    if (bClassic)
      pTheme->CXTPBarTheme3D::DrawStatusBarPaneBorder(pDC, rc, FALSE);
    else
      pTheme->DrawStatusBarPaneBorder(pDC, rc, FALSE);
  });
  expectThemeZero("drop-down arrow", [&](CDC* pDC, BOOL bClassic) {
    if (bClassic)
      pTheme->CXTPBarTheme3D::DrawComboDropDown(pDC, rc, TRUE, TRUE, FALSE);
    else
      pTheme->DrawComboDropDown(pDC, rc, TRUE, TRUE, FALSE);
  });
  // A part that does not fault is the library's own: the status gripper, filled black.
  ToolkitCanvas gripper(40, 30);
  pTheme->DrawStatusBarGripper(&gripper.dc(), CRect(0, 0, 40, 30));
  EXPECT_EQ(gripper.At(30, 15), RGB(0, 0, 0));
  pTheme->InternalRelease();
  bar.DestroyWindow();
  answerAppThemed(FALSE);
}

TEST(NativeTheme, ClassesOpenForTheFirstBarDrawnWhenNoMainWindowExisted) {
  // Theme 3 draws themed whenever the application is themed (the common controls need not be version 6).
  if (!XTVisualStyles()->IsAppThemed()) GTEST_SKIP() << "the application is not themed on this system";
  CWnd* pMainWnd = theTestApp.m_pMainWnd;
  theTestApp.m_pMainWnd = nullptr;
  CXTPBarThemeNative* pTheme = new CXTPBarThemeNative;
  pTheme->RefreshMetrics();
  EXPECT_FALSE(pTheme->IsRebarThemed());
  CDrawnBar bar(xtpBarTop);
  ToolkitCanvas canvas(80, 30);
  pTheme->FillCommandBar(&canvas.dc(), &bar);
  EXPECT_TRUE(pTheme->IsRebarThemed());
  EXPECT_TRUE(pTheme->IsToolBarThemed());
  EXPECT_EQ(pTheme->DrawCommandBarGripper(&canvas.dc(), &bar, FALSE), CSize(8, 0));
  bar.DestroyWindow();
  pTheme->InternalRelease();
  theTestApp.m_pMainWnd = pMainWnd;
}

}  // namespace
