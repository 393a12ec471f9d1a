// The main frame's toolbar pictures through the image manager, called as the main frame calls it:
// each bitmap for its command, in the frame's order, with the forms its theme draws.
#include <gtest/gtest.h>

#include "ImageManager.h"
#include "WindowTest.h"
#include "resource.h"

namespace {

struct ToolbarIcon {
  UINT nBitmap;
  UINT nCommand;
};

// The main frame's order.
const ToolbarIcon kToolbarIcons[] = {
    {IDB_TOOLBAR_SELECT_FILE, 32773}, {IDB_TOOLBAR_SELECT_FILE, 32774}, {IDB_TOOLBAR_EXPORT, 32775},
    {IDB_TOOLBAR_HELP, 32772},        {IDB_TOOLBAR_HOMEPAGE, 32771},
};

COLORREF PixelAt(HDC hDC, int x, int y) {
  ::GdiFlush();
  return ::GetPixel(hDC, x, y) & 0xFFFFFF;
}

class WizardToolbarIcons : public ::testing::Test {
 protected:
  void SetUp() override {
    manager_ = new CXTPImageManager();
    for (const ToolbarIcon& icon : kToolbarIcons) {
      ASSERT_TRUE(manager_->SetIcons(icon.nBitmap, &icon.nCommand, 1, CSize(0, 0))) << icon.nBitmap;
    }
  }
  void TearDown() override { manager_->InternalRelease(); }

  CXTPImageManager* manager_ = nullptr;
};

}  // namespace

TEST_F(WizardToolbarIcons, EachCommandGetsItsPictureWithATransparentCorner) {
  HDC hScreen = ::GetDC(nullptr);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 32, 32);
  ::ReleaseDC(nullptr, hScreen);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  CDC* pDC = CDC::FromHandle(hDC);
  for (const ToolbarIcon& icon : kToolbarIcons) {
    CXTPImageManagerIcon* pIcon = manager_->GetImage(icon.nCommand, 32);
    ASSERT_NE(pIcon, nullptr) << icon.nCommand;
    EXPECT_EQ(pIcon->GetExtent(), CSize(32, 32));
    EXPECT_FALSE(pIcon->IsScaled());
    pDC->FillSolidRect(0, 0, 32, 32, RGB(255, 255, 255));
    pIcon->Draw(pDC, CPoint(0, 0));
    EXPECT_EQ(PixelAt(hDC, 0, 0), RGB(255, 255, 255)) << "magenta is the mask colour of " << icon.nBitmap;
    EXPECT_NE(PixelAt(hDC, 16, 16), RGB(255, 0, 255)) << icon.nBitmap;
    EXPECT_FALSE(pIcon->GetFadedIcon().IsEmpty()) << "theme 3 draws faded icons";
    EXPECT_FALSE(pIcon->GetDisabledIcon().IsEmpty());
    EXPECT_FALSE(pIcon->GetHotIcon().IsEmpty());
    EXPECT_FALSE(pIcon->GetShadowIcon().IsEmpty());
  }
  // The help picture is a blue disc with a white question mark.
  pDC->FillSolidRect(0, 0, 32, 32, RGB(255, 255, 255));
  manager_->GetImage(32772, 32)->Draw(pDC, CPoint(0, 0));
  const COLORREF clrDisc = PixelAt(hDC, 6, 16);
  EXPECT_GT(GetBValue(clrDisc), GetRValue(clrDisc));
  EXPECT_EQ(PixelAt(hDC, 16, 23), RGB(255, 255, 255)) << "the question mark's dot";
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hDC);
  EXPECT_NE(manager_->GetImage(32773, 16), nullptr) << "a bar of 16-pixel icons gets a scaled copy";
}

TEST_F(WizardToolbarIcons, TheFormsAsAToolbarShowsThem) {
  // One row per form (normal, hot, faded, disabled, shadow), one column per command, on the face
  // colour a toolbar has.
  const int nColumns = static_cast<int>(sizeof(kToolbarIcons) / sizeof(kToolbarIcons[0]));
  const int cx = 8 + nColumns * 40, cy = 8 + 5 * 40;
  HDC hScreen = ::GetDC(nullptr);
  HDC hDC = ::CreateCompatibleDC(hScreen);
  HBITMAP hPicture = ::CreateCompatibleBitmap(hScreen, cx, cy);
  ::ReleaseDC(nullptr, hScreen);
  HGDIOBJ hOld = ::SelectObject(hDC, hPicture);
  CDC* pDC = CDC::FromHandle(hDC);
  pDC->FillSolidRect(0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
  for (int i = 0; i < nColumns; ++i) {
    CXTPImageManagerIcon* pIcon = manager_->GetImage(kToolbarIcons[i].nCommand, 32);
    ASSERT_NE(pIcon, nullptr);
    const int x = 8 + i * 40;
    pIcon->Draw(pDC, CPoint(x, 8), pIcon->GetIcon());
    pIcon->Draw(pDC, CPoint(x, 48), pIcon->GetHotIcon());
    pIcon->Draw(pDC, CPoint(x, 88), pIcon->GetFadedIcon());
    pIcon->Draw(pDC, CPoint(x, 128), pIcon->GetDisabledIcon());
    pIcon->Draw(pDC, CPoint(x + 1, 169), pIcon->GetShadowIcon());
    pIcon->Draw(pDC, CPoint(x - 1, 167), pIcon->GetHotIcon());
  }
  ::SelectObject(hDC, hOld);
  ::DeleteDC(hDC);

  HWND hWnd = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE | SS_BITMAP, 50, 50,
                                cx, cy, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hWnd, nullptr);
  ::SendMessageW(hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hPicture));
  testsupport::PumpMessages(100);
  EXPECT_FALSE(testsupport::SaveWindowPng(hWnd, L"wizard_toolbar_icons.png").empty());
  ::DestroyWindow(hWnd);
  ::DeleteObject(hPicture);
}
