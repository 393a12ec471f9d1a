// CXTButton: style choice from flags, colour overrides, text and image placement, frames drawn on a
// memory DC from a synthetic owner-draw record, and hot tracking driven by the real pointer.
#include <gtest/gtest.h>

#include "Button.h"
#include "ColorTable.h"
#include "ControlHost.h"
#include "SystemResources.h"
#include "ImageManagerIcon.h"
#include "ToolkitCanvas.h"
#include "ToolkitTestResource.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

class ButtonFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host_.CreateHost(L"Button test", 120, 120, 320, 200)); }

  BOOL MakeButton(CXTButton& button, LPCTSTR text, DWORD style, const CRect& rc, UINT id) {
    if (!button.Create(text, WS_CHILD | WS_VISIBLE | style, rc, &host_, id)) return FALSE;
    button.SetFont(&GetSystemResources()->m_fontRegular, FALSE);
    return TRUE;
  }

  // Draws the button into a canvas through a record of the given item state.
  void Draw(CXTButton& button, ToolkitCanvas& canvas, UINT nState) {
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.itemState = nState;
    dis.hDC = canvas.dc().GetSafeHdc();
    button.GetClientRect(&dis.rcItem);
    button.DrawItem(&dis);
  }

  ControlHost host_;
};

CSize TextSize(CXTButton& button) {
  CClientDC dc(&button);
  CFont* pOld = dc.SelectObject(button.GetFont());
  CString text = button.GetButtonText(TRUE);
  SIZE size;
  ::GetTextExtentPoint32W(dc.GetSafeHdc(), text, text.GetLength(), &size);
  dc.SelectObject(pOld);
  return CSize(size.cx, size.cy);
}

}  // namespace

TEST_F(ButtonFixture, CreationMakesTheButtonOwnerDrawn) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Next", BS_PUSHBUTTON, CRect(10, 10, 110, 40), 1));
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW));
  EXPECT_EQ(button.GetXButtonStyle(), DWORD(XButtonFlat)) << "default flags";

  CWnd plain;
  ASSERT_TRUE(plain.Create(L"BUTTON", L"Back", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 50, 110, 80),
                           &host_, 2));
  HWND hWnd = plain.Detach();
  CXTButton subclassed;
  ASSERT_TRUE(subclassed.SubclassWindow(hWnd));
  EXPECT_EQ(subclassed.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW)) << "applied at subclassing";
  EXPECT_EQ(subclassed.GetButtonText(TRUE), CString(L"Back"));
}

TEST_F(ButtonFixture, ColourOverridesSurviveASystemColourRefresh) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Face", BS_PUSHBUTTON, CRect(10, 10, 110, 40), 1));
  button.SetXButtonStyle(XButtonFlat, FALSE);  // a private style: the shared one stays clean
  ASSERT_TRUE(button.SetFaceColor(RGB(10, 20, 30)));
  button.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(button.GetFaceColor(), RGB(10, 20, 30));
  button.GetButtonStyle()->m_clrFace.SetCustomValue(COLORREF(-1));
  EXPECT_EQ(button.GetFaceColor(), GetXTPColor(COLOR_BTNFACE));
}

TEST_F(ButtonFixture, FlatColoursApplyOnlyToTheFlatStyle) {
  CXTButton classic;
  ASSERT_TRUE(MakeButton(classic, L"Classic", BS_PUSHBUTTON, CRect(10, 10, 110, 40), 1));
  classic.SetXButtonStyle(XButtonFlat, FALSE);
  EXPECT_FALSE(classic.SetFlatColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)));
  EXPECT_EQ(classic.GetButtonStyle()->m_clrLight.GetOverrideColor(), COLORREF(-1));

  CXTButton flat;
  ASSERT_TRUE(MakeButton(flat, L"Flat", BS_PUSHBUTTON, CRect(10, 50, 110, 80), 2));
  flat.SetXButtonStyle(XButtonFlatTheme, FALSE);
  EXPECT_TRUE(flat.SetFlatColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)));
  auto* pStyle = dynamic_cast<CXTButtonStyleFlat*>(flat.GetButtonStyle());
  ASSERT_NE(pStyle, nullptr);
  EXPECT_EQ(pStyle->m_clrLight.GetColor(), RGB(1, 1, 1));
  EXPECT_EQ(pStyle->m_clrShadow.GetColor(), RGB(1, 1, 1));
  EXPECT_EQ(pStyle->m_clrHotFace.GetColor(), RGB(2, 2, 2));
  EXPECT_EQ(pStyle->m_clrPushedFace.GetColor(), RGB(3, 3, 3));
}

TEST_F(ButtonFixture, TextIsPlacedByTheWindowsAlignment) {
  CXTButton centred, left, right;
  ASSERT_TRUE(MakeButton(centred, L"Stop", BS_PUSHBUTTON, CRect(0, 0, 120, 30), 1));
  ASSERT_TRUE(MakeButton(left, L"Stop", BS_PUSHBUTTON | BS_LEFT, CRect(0, 40, 120, 70), 2));
  ASSERT_TRUE(MakeButton(right, L"Stop", BS_PUSHBUTTON | BS_RIGHT, CRect(0, 80, 120, 110), 3));
  const CSize text = TextSize(centred);
  const CRect rc(0, 0, 120, 30);
  CXTButtonStyleBase* pStyle = centred.GetButtonStyle();
  // margin 4: centred between the margin and the right edge less the margin
  EXPECT_EQ(pStyle->GetTextPosition(rc, text, &centred),
            CPoint(4 + (120 - 4 - text.cx - 4) / 2, (30 - text.cy) / 2));
  EXPECT_EQ(pStyle->GetTextPosition(rc, text, &left).x, 4);
  EXPECT_EQ(pStyle->GetTextPosition(rc, text, &right).x, 120 - 4 - text.cx);

  centred.SetTextAndImagePos(CPoint(7, 8), CPoint(30, 9), FALSE);
  EXPECT_EQ(pStyle->GetTextPosition(rc, text, &centred), CPoint(30, 9));
  centred.ToggleImages();  // the shared style no longer shows images: explicit positions read 0
  EXPECT_EQ(centred.GetExplicitTextPos(), CPoint(0, 0));
  centred.ToggleImages();
}

TEST_F(ButtonFixture, ClassicFrameIsTwoPixelsRaisedAndSunkenWhenPushed) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"", BS_PUSHBUTTON, CRect(0, 0, 40, 20), 1));
  button.SetXButtonStyle(XButtonVisualStyle, FALSE);  // the wizard's flags: shared classic style
  CXTButtonStyleBase* pStyle = button.GetButtonStyle();
  ToolkitCanvas canvas(40, 20);
  Draw(button, canvas, 0);
  EXPECT_EQ(canvas.At(0, 0), pStyle->m_clrHighlight.GetColor());
  EXPECT_EQ(canvas.At(39, 19), pStyle->m_clrDarkShadow.GetColor());
  EXPECT_EQ(canvas.At(38, 18), pStyle->m_clrShadow.GetColor());
  EXPECT_EQ(canvas.At(20, 10), pStyle->m_clrFace.GetColor());

  Draw(button, canvas, ODS_SELECTED);
  EXPECT_EQ(canvas.At(0, 0), pStyle->m_clrDarkShadow.GetColor());
  EXPECT_EQ(canvas.At(39, 19), pStyle->m_clrHighlight.GetColor());
  EXPECT_EQ(canvas.At(1, 1), pStyle->m_clrShadow.GetColor());
}

TEST_F(ButtonFixture, FlatClassicButtonShowsNoFrameUntilHotOrPushed) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"", BS_PUSHBUTTON, CRect(0, 0, 40, 20), 1));
  button.SetXButtonStyle(XButtonFlat | XButtonCheckedPattern, FALSE);
  CXTButtonStyleBase* pStyle = button.GetButtonStyle();
  pStyle->SetFaceColor(RGB(200, 200, 200));
  ToolkitCanvas canvas(40, 20);
  Draw(button, canvas, 0);
  EXPECT_EQ(canvas.At(0, 0), RGB(200, 200, 200));
  EXPECT_EQ(canvas.At(39, 19), RGB(200, 200, 200));

  Draw(button, canvas, ODS_SELECTED);
  EXPECT_EQ(canvas.At(0, 0), pStyle->m_clrShadow.GetColor());
  EXPECT_EQ(canvas.At(39, 19), pStyle->m_clrHighlight.GetColor());
  // The checked pattern alternates the face and highlight slots.
  const COLORREF a = canvas.At(10, 10), b = canvas.At(11, 10);
  EXPECT_NE(a, b);
  EXPECT_TRUE((a == GetXTPColor(COLOR_BTNFACE) && b == GetXTPColor(COLOR_BTNHIGHLIGHT)) ||
              (b == GetXTPColor(COLOR_BTNFACE) && a == GetXTPColor(COLOR_BTNHIGHLIGHT)));
}

TEST_F(ButtonFixture, FlatThemeFillsPushedFaceAndFramesInTheBorderColour) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"", BS_PUSHBUTTON, CRect(0, 0, 40, 20), 1));
  button.SetXButtonStyle(XButtonFlatTheme, FALSE);
  ASSERT_TRUE(button.SetFlatColors(RGB(0, 0, 128), RGB(1, 200, 1), RGB(200, 1, 1)));
  ToolkitCanvas canvas(40, 20);
  Draw(button, canvas, ODS_SELECTED);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 128));
  EXPECT_EQ(canvas.At(20, 10), RGB(200, 1, 1));
  Draw(button, canvas, 0);
  EXPECT_EQ(canvas.At(20, 10), button.GetFaceColor());
  EXPECT_EQ(canvas.At(0, 0), button.GetFaceColor()) << "no frame at rest without the themed face";
}

TEST_F(ButtonFixture, DisabledTextTakesTheDisabledColour) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Exit", BS_PUSHBUTTON, CRect(0, 0, 60, 24), 1));
  CXTButtonStyleBase* pStyle = button.GetButtonStyle();
  EXPECT_EQ(pStyle->GetTextColor(ODS_DISABLED, &button), pStyle->m_clrDisabledText.GetColor());
  EXPECT_EQ(pStyle->GetTextColor(0, &button), pStyle->m_clrText.GetColor());
}

TEST_F(ButtonFixture, HotTrackingFollowsThePointerAndStopsWhileTheButtonIsHeld) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Hot", BS_PUSHBUTTON, CRect(20, 20, 140, 50), 1));
  button.SetXButtonStyle(XButtonFlat, TRUE);
  const CPoint inside = ScreenPoint(&button, 60, 15);
  const CPoint outside = ScreenPoint(&host_, 250, 140);
  testsupport::MouseMoveTo(outside.x, outside.y);
  testsupport::MouseMoveTo(inside.x, inside.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return button.IsHot() != FALSE; }, 2000));
  testsupport::SaveWindowPng(host_.m_hWnd, L"button-hot.png");

  testsupport::MouseMoveTo(outside.x, outside.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return button.IsHot() == FALSE; }, 2000));

  CXTButton wizard;  // the wizard's flags: no hot tracking without a visual style
  ASSERT_TRUE(MakeButton(wizard, L"Next", BS_PUSHBUTTON, CRect(20, 60, 140, 90), 2));
  wizard.SetXButtonStyle(XButtonVisualStyle, TRUE);
  const CPoint overWizard = ScreenPoint(&wizard, 60, 15);
  testsupport::MouseMoveTo(overWizard.x, overWizard.y);
  testsupport::PumpMessages(100);
  EXPECT_EQ(wizard.IsHot(), IsVisualStyleActive());
}

TEST_F(ButtonFixture, AClickReachesTheParentAsTheButtonCommand) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Click", BS_PUSHBUTTON, CRect(20, 20, 140, 50), 77));
  const CPoint pt = ScreenPoint(&button, 30, 10);
  testsupport::MouseClickAt(pt.x, pt.y);
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] {
        for (auto& command : host_.m_commands)
          if (command.first == 77 && command.second == BN_CLICKED) return true;
        return false;
      },
      2000));
  EXPECT_FALSE(button.IsMouseDown());
}

TEST_F(ButtonFixture, IconsTakeTheirOwnSizeForZeroAndAMissingOneLeavesNone) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Select PST File", BS_PUSHBUTTON, CRect(0, 0, 160, 30), 400));
  ASSERT_TRUE(button.SetIcon(CSize(0, 0), UINT(IDI_TEST_ICONS)));
  ASSERT_NE(button.GetIconObject(), nullptr);
  const CSize own = button.GetImageSize();
  EXPECT_GT(own.cx, 0);
  EXPECT_EQ(own, button.GetIconObject()->GetExtent());

  ASSERT_TRUE(button.SetIcon(CSize(16, 16), UINT(IDI_TEST_ICONS)));
  EXPECT_EQ(button.GetImageSize(), CSize(16, 16));

  EXPECT_FALSE(button.SetIcon(CSize(16, 16), UINT(IDB_TEST_MISSING)));
  EXPECT_EQ(button.GetIconObject(), nullptr);
  EXPECT_EQ(button.GetImageSize(), CSize(0, 0));
  EXPECT_FALSE(button.SetIcon(CSize(16, 16), UINT(IDI_TEST_ICONS), UINT(IDB_TEST_MISSING)))
      << "a missing hot icon";
  EXPECT_EQ(button.GetIconObject(), nullptr);
}

TEST_F(ButtonFixture, TheIconIsDrawnLeftOfTheTextAndGreyWhenDisabled) {
  CXTButton button;
  ASSERT_TRUE(MakeButton(button, L"Next", BS_PUSHBUTTON, CRect(0, 0, 120, 30), 1));
  button.SetXButtonStyle(XButtonVisualStyle, FALSE);
  ASSERT_TRUE(button.SetIcon(CSize(16, 16), UINT(IDI_TEST_ICONS), 0, FALSE));
  // Margin 4 from the left, centred vertically: the red square's middle is at (4 + 8, 7 + 8).
  ToolkitCanvas canvas(120, 30);
  Draw(button, canvas, 0);
  EXPECT_EQ(canvas.At(12, 15), RGB(255, 0, 0));
  Draw(button, canvas, ODS_DISABLED);
  const COLORREF grey = canvas.At(12, 15);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
  EXPECT_NE(grey, RGB(255, 0, 0));

  // The text moves right by the image and the gap.
  CXTButtonStyleBase* pStyle = button.GetButtonStyle();
  const CSize text = TextSize(button);
  EXPECT_EQ(pStyle->GetTextPosition(CRect(0, 0, 120, 30), text, &button).x,
            4 + 16 + (120 - 4 - text.cx - 4 - 16) / 2);
  testsupport::SaveWindowPng(host_.m_hWnd, L"button-icon.png");
}
