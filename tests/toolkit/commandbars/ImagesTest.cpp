// Icons on bars: a toolbar resource's picture cut into the bar's image manager, which id a control's
// icon is found by, the user's own icon kept with the stored controls, and theme 0 drawing each icon
// form (embossed, pressed, shadowed) and the double gripper's two columns, by pixel probes.
#include <gtest/gtest.h>

#include <BarTheme3D.h>
#include <CommandBars.h>
#include <ImageManager.h>
#include <PopupBar.h>
#include <PropExchangeArchive.h>
#include <ToolBar.h>

#include "../foundation/ToolkitCanvas.h"
#include "CommandBarsTestSupport.h"
#include "WindowTest.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPaper = RGB(1, 2, 3);
const COLORREF kShadow = RGB(100, 101, 102);     // slot 16
const COLORREF kHighlight = RGB(250, 240, 230);  // slot 20

// A toolbar without a window whose image manager is its own, filled from a toolbar resource.
class ToolbarImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pBar = new CXTPToolBar;
    m_pImages = new CXTPImageManager;
    m_pBar->AssignImageSet(m_pImages);
  }
  void TearDown() override { m_pBar->InternalRelease(); }

  CXTPToolBar* m_pBar = nullptr;
  CXTPImageManager* m_pImages = nullptr;
};

TEST_F(ToolbarImagesTest, ToolbarPictureGivesEachCommandItsImage) {
  ASSERT_TRUE(m_pBar->LoadToolBar(IDR_TEST_TOOLBAR, TRUE));
  for (UINT nId = ID_TEST_OPEN; nId <= ID_TEST_PASTE; ++nId) {
    CXTPImageManagerIcon* pIcon = m_pImages->GetImage(nId, 16);
    ASSERT_NE(pIcon, nullptr) << nId;
    EXPECT_EQ(pIcon->GetExtent(), CSize(16, 15));
  }
  EXPECT_EQ(m_pImages->GetImage(0, 16), nullptr);
  // Images of 16 pixels keep the bar's icon size.
  EXPECT_EQ(m_pBar->GetIconSize(), CSize(16, 16));
  // The third image belongs to the third command, past the separator.
  ToolkitCanvas canvas(20, 20);
  CXTPImageManagerIcon* pCut = m_pImages->GetImage(ID_TEST_CUT, 16);
  pCut->Draw(&canvas.dc(), CPoint(0, 0), pCut->GetIcon());
  EXPECT_EQ(canvas.At(6, 6), kBlue);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
}

TEST_F(ToolbarImagesTest, PictureOfAnotherWidthSetsTheBarsIconSize) {
  ASSERT_TRUE(m_pBar->LoadToolBar(IDR_TEST_TOOLBAR24, TRUE));
  EXPECT_EQ(m_pBar->GetIconSize(), CSize(24, 24));
  ASSERT_NE(m_pImages->GetImage(ID_TEST_ITEM_B, 24), nullptr);
}

TEST_F(ToolbarImagesTest, ToolbarWhosePictureIsMissingReportsFailureButKeepsItsButtons) {
  EXPECT_FALSE(m_pBar->LoadToolBar(IDR_TEST_NOPICTURE, TRUE));
  EXPECT_EQ(m_pBar->GetControlCount(), 1);
  EXPECT_TRUE(m_pBar->LoadToolBar(IDR_TEST_TOOLBAR, FALSE));
  EXPECT_EQ(m_pImages->GetImage(ID_TEST_OPEN, 16), nullptr);
  EXPECT_EQ(m_pBar->GetControlCount(), 5);
}

TEST_F(ToolbarImagesTest, ControlIconComesFromCustomIdThenIconIdThenId) {
  ASSERT_TRUE(m_pBar->LoadToolBar(IDR_TEST_TOOLBAR, TRUE));
  CXTPControl* pOpen = m_pBar->GetControls()->FindControl(ID_TEST_OPEN);
  EXPECT_EQ(pOpen->GetImage(16), m_pImages->GetImage(ID_TEST_OPEN, 16));
  pOpen->SetIconId(ID_TEST_SAVE);
  EXPECT_EQ(pOpen->GetImage(16), m_pImages->GetImage(ID_TEST_SAVE, 16));
  pOpen->SetCustomIcon(ID_TEST_CUT);
  EXPECT_EQ(pOpen->GetImage(16), m_pImages->GetImage(ID_TEST_CUT, 16));
  CXTPControl* pNoId = m_pBar->GetControls()->Add(xtpControlButton, 0);
  EXPECT_EQ(pNoId->GetImage(16), nullptr);
  // A button with an icon shows no caption (type 1, style automatic).
  EXPECT_FALSE(pOpen->IsCaptionVisible());
}

TEST(CustomIconTest, TheUsersOwnIconIsStoredWithTheControlAndComesBack) {
  CXTPCommandBars* pCommandBars = new CXTPCommandBars;
  CXTPImageManager* pImages = new CXTPImageManager;
  pCommandBars->SetImageManager(pImages);
  ASSERT_TRUE(pImages->SetIconsFromToolBar(IDR_TEST_TOOLBAR));
  const UINT nCustom = pImages->AddCustomIcon(pImages->GetImage(ID_TEST_SAVE, 16)->GetIcon());
  ASSERT_NE(nCustom, 0u);

  CXTPControlButton* pSource = new CXTPControlButton;
  pSource->SetID(ID_TEST_OPEN);
  pSource->SetCustomIcon(static_cast<int>(nCustom));
  XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
  param.pCommandBars = pCommandBars;
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = &param;
    pSource->DoPropExchange(&px);
  }
  pImages->RemoveIcon(nCustom);
  ASSERT_EQ(pImages->GetImage(nCustom, 16), nullptr);

  file.SeekToBegin();
  CXTPControlButton* pLoaded = new CXTPControlButton;
  {
    CArchive ar(&file, CArchive::load);
    CXTPPropExchangeArchive px(ar);
    px.m_dwData = &param;
    pLoaded->DoPropExchange(&px);
  }
  EXPECT_EQ(pLoaded->GetCustomIconId(), static_cast<int>(nCustom));
  CXTPImageManagerIcon* pIcon = pImages->GetImage(nCustom, 16);
  ASSERT_NE(pIcon, nullptr);
  ToolkitCanvas canvas(20, 20);
  pIcon->Draw(&canvas.dc(), CPoint(0, 0), pIcon->GetIcon());
  EXPECT_EQ(canvas.At(6, 6), kGreen);
  pSource->InternalRelease();
  pLoaded->InternalRelease();
  pCommandBars->InternalRelease();
}

// ---- Theme 0 drawing icons --------------------------------------------------------------------------

class CIconProbeTheme : public CXTPBarTheme3D {
 public:
  CIconProbeTheme() {
    RefreshMetrics();
    SetColorOverride(COLOR_3DSHADOW_SLOT, kShadow);
    SetColorOverride(COLOR_3DHIGHLIGHT_SLOT, kHighlight);
  }
  XTP_COMMANDBARS_ICONSINFO& Icons() { return m_iconsInfo; }
  int ColumnWidth(CXTPCommandBar* pBar) const { return GetPopupIconColumn(pBar).cx; }
};

class ThemeIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pImages = new CXTPImageManager;
    ASSERT_TRUE(m_pImages->SetIconsFromToolBar(IDR_TEST_TOOLBAR));
    m_pIcon = m_pImages->GetImage(ID_TEST_OPEN, 16);
    ASSERT_NE(m_pIcon, nullptr);
    m_pTheme = new CIconProbeTheme;
  }
  void TearDown() override {
    m_pTheme->InternalRelease();
    m_pImages->InternalRelease();
  }
  // Draws the icon at (10, 10) in the given state. The red square with its black outline covers
  // (12, 12) to (23, 22): its first inner pixel is (13, 13), its last (22, 21).
  void Draw(int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked = FALSE, BOOL bPopuped = FALSE) {
    m_canvas.dc().FillSolidRect(0, 0, 40, 40, kPaper);
    m_pTheme->DrawImage(&m_canvas.dc(), CPoint(10, 10), CSize(16, 15), m_pIcon, nSelected, nPressed, bEnabled,
                        bChecked, bPopuped, TRUE);
  }
  COLORREF At(int x, int y) { return m_canvas.At(x, y); }

  CXTPImageManager* m_pImages = nullptr;
  CXTPImageManagerIcon* m_pIcon = nullptr;
  CIconProbeTheme* m_pTheme = nullptr;
  ToolkitCanvas m_canvas{40, 40};
};

TEST_F(ThemeIconTest, NormalIconSitsAtItsPlace) {
  Draw(0, 0, TRUE);
  EXPECT_EQ(At(13, 13), kRed);
  EXPECT_EQ(At(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(At(11, 11), kPaper);
  EXPECT_EQ(At(24, 23), kPaper);
}

TEST_F(ThemeIconTest, DisabledIconIsEmbossedInHighlightBelowRightAndShadowOnTop) {
  Draw(0, 0, FALSE);
  EXPECT_EQ(At(13, 13), kShadow);
  EXPECT_EQ(At(24, 23), kHighlight);
  EXPECT_EQ(At(11, 11), kPaper);
}

TEST_F(ThemeIconTest, PressedIconMovesOnePixelDownRight) {
  for (auto state : {std::make_pair(0, 2), std::make_pair(1, 1)}) {
    Draw(state.first, state.second, TRUE);
    EXPECT_EQ(At(12, 12), kPaper) << state.first << state.second;
    EXPECT_EQ(At(13, 13), RGB(0, 0, 0));
    EXPECT_EQ(At(24, 23), RGB(0, 0, 0));
  }
}

TEST_F(ThemeIconTest, HotIconWithShadowsLiftsUpLeftOverItsShadow) {
  Draw(1, 0, TRUE);
  EXPECT_EQ(At(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(At(11, 11), kPaper);
  m_pTheme->Icons().bIconsWithShadow = TRUE;
  Draw(1, 0, TRUE);
  EXPECT_EQ(At(11, 11), RGB(0, 0, 0));
  // The shadow form shows below and right of the lifted icon.
  EXPECT_NE(At(24, 23), kPaper);
  m_pTheme->Icons().bIconsWithShadow = FALSE;
}

TEST_F(ThemeIconTest, PressedValuesOtherThanOneAndTwoWithoutSelectionDrawNothing) {
  Draw(0, 3, TRUE);
  EXPECT_EQ(At(13, 13), kPaper);
  EXPECT_EQ(At(12, 12), kPaper);
}

TEST_F(ThemeIconTest, CheckedAndOpenIconsStayInPlace) {
  Draw(1, 0, TRUE, TRUE);
  EXPECT_EQ(At(12, 12), RGB(0, 0, 0));
  Draw(1, 1, TRUE, FALSE, TRUE);
  EXPECT_EQ(At(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(At(13, 13), kRed);
}

TEST(PopupIconColumnsTest, DoubleGripperPutsTheCheckFirstAndTheIconSecond) {
  CIconProbeTheme* pTheme = new CIconProbeTheme;
  CXTPPopupBar* pPopup = new CXTPPopupBar;
  CXTPImageManager* pImages = new CXTPImageManager;
  ASSERT_TRUE(pImages->SetIconsFromToolBar(IDR_TEST_TOOLBAR));
  pPopup->AssignImageSet(pImages);
  pPopup->AssignPaintTheme(pTheme);
  CXTPControl* pItem = pPopup->GetControls()->Add(xtpControlButton, ID_TEST_OPEN);
  pItem->SetCaption(L"Open");
  pItem->SetChecked(TRUE);
  const int B = pTheme->ColumnWidth(pPopup);
  const CRect rcItem(0, 0, 200, B);
  pItem->SetRect(rcItem);
  ToolkitCanvas canvas(200, 40);
  auto columnHas = [&](int nLeft, COLORREF clr) {
    for (int x = nLeft; x < nLeft + B; ++x) {
      for (int y = 0; y < B; ++y) {
        if (canvas.At(x, y) == clr) return true;
      }
    }
    return false;
  };
  pPopup->SetDoubleGripper(TRUE);
  pTheme->DrawControl(&canvas.dc(), pItem, TRUE);
  EXPECT_FALSE(columnHas(0, kRed));
  EXPECT_TRUE(columnHas(B + 1, kRed));
  EXPECT_TRUE(columnHas(0, RGB(0, 0, 0)));  // the check mark

  canvas.dc().FillSolidRect(0, 0, 200, 40, kPaper);
  pPopup->SetDoubleGripper(FALSE);
  pTheme->DrawControl(&canvas.dc(), pItem, TRUE);
  EXPECT_TRUE(columnHas(0, kRed));
  EXPECT_FALSE(columnHas(B + 1, kRed));
  pPopup->InternalRelease();
}

}  // namespace
