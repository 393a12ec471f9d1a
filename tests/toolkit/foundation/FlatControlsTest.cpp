// The flat combo box, the flat edit and the in-place item edit: frames by state, completion of
// typed text, and the ways an item edit ends.
#include <gtest/gtest.h>

#include "ColorTable.h"
#include "ControlHost.h"
#include "FlatComboBox.h"
#include "FlatEdit.h"
#include "ItemEdit.h"
#include "ToolkitCanvas.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

class FlatFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host_.CreateHost(L"Flat controls test", 200, 200, 360, 220)); }
  ControlHost host_;
};

CString TextOf(CWnd& wnd) {
  CString text;
  wnd.GetWindowText(text);
  return text;
}

}  // namespace

TEST(FlatStyles, ComboFramesFollowTheStyleAndState) {
  ToolkitCanvas canvas(60, 24);
  const CRect rc(0, 0, 60, 24);
  CXTFlatComboStyle style0;
  style0.RefreshStyle();
  style0.DrawFrame(&canvas.dc(), rc, xtFlatNormal, TRUE);
  EXPECT_EQ(canvas.At(0, 0), GetXTPColor(COLOR_WINDOW)) << "style 0 shows no frame at rest";
  style0.DrawFrame(&canvas.dc(), rc, xtFlatHot, TRUE);
  EXPECT_EQ(canvas.At(0, 0), GetXTPColor(COLOR_BTNSHADOW));
  EXPECT_EQ(canvas.At(59, 23), GetXTPColor(COLOR_BTNHIGHLIGHT));

  CXTFlatComboStyle1 style1;
  style1.RefreshStyle();
  style1.DrawFrame(&canvas.dc(), rc, xtFlatNormal, TRUE);
  EXPECT_EQ(canvas.At(0, 0), GetXTPColor(51));
  style1.DrawFrame(&canvas.dc(), rc, xtFlatPressed, TRUE);
  EXPECT_EQ(canvas.At(0, 0), GetXTPColor(32));
  style1.DrawFrame(&canvas.dc(), rc, xtFlatHot, FALSE);
  EXPECT_EQ(canvas.At(0, 0), GetXTPColor(52));
  EXPECT_EQ(canvas.At(1, 1), GetXTPColor(51));

  EXPECT_GE(style0.m_cxDropButton, 15);
  const CRect rcRest = style0.GetDropButtonRect(rc, xtFlatNormal);
  EXPECT_EQ(style0.GetDropButtonRect(rc, xtFlatHot).Width(), rcRest.Width() - 1) << "narrowed while hot";
}

TEST(FlatStyles, TheDropArrowIsFiveThreeAndOnePixels) {
  ToolkitCanvas canvas(15, 15);
  CXTFlatComboStyle style;
  style.RefreshStyle();
  style.DrawDropArrow(&canvas.dc(), CRect(0, 0, 15, 15), xtFlatNormal, TRUE);
  const COLORREF arrow = GetXTPColor(COLOR_WINDOWTEXT);
  int count = 0;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) count += canvas.At(x, y) == arrow;
  EXPECT_EQ(count, 9);
  EXPECT_EQ(canvas.At(5, 6), arrow);
  EXPECT_EQ(canvas.At(7, 8), arrow);
}

TEST_F(FlatFixture, TypedTextCompletesFromTheListAndDeletingDoesNotRefill) {
  CXTFlatComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL,
                           CRect(10, 10, 210, 150), &host_, 300));
  for (LPCTSTR item : {L"Calendar", L"Contacts", L"Inbox"})
    combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  combo.SetFocus();
  testsupport::TypeUnicode(L"Con");
  EXPECT_TRUE(testsupport::PumpUntil([&] { return TextOf(combo) == L"Contacts"; }, 2000));
  const DWORD sel = static_cast<DWORD>(combo.SendMessage(CB_GETEDITSEL));
  EXPECT_EQ(LOWORD(sel), 3);
  EXPECT_EQ(HIWORD(sel), 8);

  testsupport::KeyPress(VK_BACK);
  testsupport::PumpMessages(100);
  EXPECT_EQ(TextOf(combo), CString(L"Con")) << "the completed rest is removed, not completed again";
  testsupport::TypeUnicode(L"x");
  testsupport::PumpMessages(100);
  EXPECT_EQ(TextOf(combo), CString(L"Conx")) << "no entry begins with it: the text stays as typed";
  EXPECT_EQ(combo.GetFrameState(), xtFlatHot) << "focused";
  testsupport::SaveWindowPng(host_.m_hWnd, L"flat-combo.png");
}

TEST_F(FlatFixture, TheFlatEditIsHotWhileThePointerIsOverIt) {
  CXTFlatEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 210, 34), &host_, 301));
  const CPoint over = ScreenPoint(&edit, 50, 10);
  const CPoint away = ScreenPoint(&host_, 300, 150);
  testsupport::MouseMoveTo(away.x, away.y);
  testsupport::MouseMoveTo(over.x, over.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return edit.IsHot() != FALSE; }, 2000));
  testsupport::MouseMoveTo(away.x, away.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return edit.IsHot() == FALSE; }, 2000));
}

TEST_F(FlatFixture, AnItemEditEndsOnReturnOnEscapeAndOnLosingTheFocus) {
  struct Case {
    UINT key;
    BOOL cancelled;
  };
  for (const Case& c : {Case{VK_RETURN, FALSE}, Case{VK_ESCAPE, TRUE}, Case{0, FALSE}}) {
    auto* pEdit = new CXTItemEdit(FALSE);
    ASSERT_TRUE(pEdit->Create(&host_, CRect(10, 10, 210, 34), L"Inbox", 302, BES_XT_CHOOSEDIR));
    EXPECT_TRUE(::IsWindow(pEdit->GetBrowseButton().GetSafeHwnd()));
    testsupport::PumpMessages(30);
    ASSERT_EQ(::GetFocus(), pEdit->m_hWnd);
    ASSERT_EQ(::GetForegroundWindow(), host_.GetTopLevelParent()->m_hWnd);
    if (c.key != 0) {
      testsupport::KeyPress(c.key);

    } else {
      pEdit->GetBrowseButton().SetFocus();  // its own button: still editing
      testsupport::PumpMessages(50);
      EXPECT_FALSE(pEdit->IsEnded());
      pEdit->SetFocus();
      host_.SetFocus();
    }
    EXPECT_TRUE(testsupport::PumpUntil([&] { return pEdit->GetSafeHwnd() == nullptr; }, 2000)) << c.key;
    EXPECT_TRUE(pEdit->IsEnded());
    EXPECT_EQ(pEdit->IsCancelled(), c.cancelled) << c.key;
    delete pEdit;
  }
}
