// CXTCaption: the text it keeps through repaints, its colours and layout, and the popup that holds
// its child window: pinned, closed and closing when the focus leaves it.
#include <gtest/gtest.h>

#include "Caption.h"
#include "CaptionPopupWnd.h"
#include "ControlHost.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

class CaptionFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host_.CreateHost(L"Caption test", 140, 140, 360, 260)); }
  ControlHost host_;
};

// Whether any pixel of the rectangle has the colour.
bool HasColour(HWND hWnd, const CRect& rc, COLORREF clr) {
  HDC hDC = ::GetDC(hWnd);
  bool found = false;
  for (int y = rc.top; y < rc.bottom && !found; ++y)
    for (int x = rc.left; x < rc.right && !found; ++x) found = (::GetPixel(hDC, x, y) & 0xFFFFFF) == clr;
  ::ReleaseDC(hWnd, hDC);
  return found;
}

}  // namespace

TEST_F(CaptionFixture, UpdatedTextIsKeptForRepaintsAndReadBack) {
  CXTCaption caption;
  ASSERT_TRUE(caption.Create(&host_, L"", CPWS_EX_RAISED_EDGE, WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                             CRect(10, 10, 330, 50), 0xFFFF));
  caption.SetCaptionColors(RGB(0xFF, 0xFE, 0xEF), RGB(0xFF, 0xFE, 0xEF), RGB(255, 0, 0));
  caption.UpdateCaption(L"Saving Folder : Inbox\\", nullptr);
  EXPECT_EQ(caption.GetCaptionText(), CString(L"Saving Folder : Inbox\\"));

  caption.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  testsupport::PumpMessages(50);
  CRect rc;
  caption.GetClientRect(&rc);
  EXPECT_TRUE(HasColour(caption.m_hWnd, rc, RGB(255, 0, 0))) << "the text is drawn again after a repaint";
  testsupport::SaveWindowPng(host_.m_hWnd, L"caption-status.png");

  caption.UpdateCaption(L"", nullptr);
  EXPECT_TRUE(caption.GetCaptionText().IsEmpty());
  caption.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_FALSE(HasColour(caption.m_hWnd, rc, RGB(255, 0, 0)));
  caption.UpdateCaption(nullptr, nullptr);
  EXPECT_TRUE(caption.GetCaptionText().IsEmpty()) << "no text given: the text stays";
}

TEST_F(CaptionFixture, TextRectangleAndButtonBoxFollowTheClientSize) {
  CXTCaption caption;
  ASSERT_TRUE(caption.Create(&host_, L"Folders", CPWS_EX_CLOSEBUTTON, WS_VISIBLE, CRect(10, 10, 210, 31), 5));
  EXPECT_EQ(caption.GetButtonRect(), CRect(200 - 18, (21 - 15) / 2, 200 - 2, (21 - 15) / 2 + 15));
  const CRect rcText = caption.GetTextRect();
  EXPECT_EQ(rcText.left, 0);
  EXPECT_EQ(rcText.bottom, 21);
  EXPECT_LE(rcText.right, 200 - 18);
  caption.ModifyCaptionStyle(0, nullptr, L"", nullptr);
  EXPECT_TRUE(caption.GetTextRect().IsRectEmpty());
}

TEST_F(CaptionFixture, TheCommandButtonTellsTheParentWithTheCaptionsId) {
  CXTCaption caption;
  ASSERT_TRUE(
      caption.Create(&host_, L"Folders", CPWS_EX_CLOSEBUTTON, WS_VISIBLE, CRect(10, 10, 210, 31), 55));
  testsupport::PumpMessages(50);
  const CRect rcButton = caption.GetButtonRect();
  const CPoint pt = ScreenPoint(&caption, rcButton.CenterPoint().x, rcButton.CenterPoint().y);
  testsupport::MouseClickAt(pt.x, pt.y);
  EXPECT_TRUE(testsupport::PumpUntil(
      [&] {
        for (auto& command : host_.m_commands)
          if (command.first == 55) return true;
        return false;
      },
      2000));
}

namespace {

// A pane with a caption on top and a child list beneath, as a splitter pane would hold them.
class PopupFixture : public CaptionFixture {
 protected:
  void SetUp() override {
    CaptionFixture::SetUp();
    ASSERT_TRUE(pane_.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10,
                               40, 200, 180, host_.m_hWnd, nullptr));
    ASSERT_TRUE(caption_.Create(&host_, L"Folder List", CPWS_EX_RAISED_EDGE, WS_VISIBLE,
                                CRect(10, 10, 210, 34), 0xFFFF));
    ASSERT_TRUE(child_.CreateEx(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 20,
                                200, 160, pane_.m_hWnd, nullptr));
    child_.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Inbox"));
    caption_.SetChildWindow(&child_, &host_);
  }
  void TearDown() override { child_.DestroyWindow(); }

  CWnd pane_;
  CXTCaption caption_;
  CWnd child_;
};

}  // namespace

TEST_F(PopupFixture, PinningPutsTheChildBackAndClosingAgainAndAgainIsSafe) {
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(caption_.ShowPopupWindow(), 1);
    CXTCaptionPopupWnd* pPopup = caption_.GetPopupWnd();
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(child_.GetParent(), pPopup);
    child_.SetFocus();
    if (round == 0) testsupport::SaveWindowPng(pPopup->m_hWnd, L"caption-popup.png");

    // The pin is pressed with the pointer; the popup asks its caption, which ends it afterwards.
    CRect rcPin;
    pPopup->GetPushPin().GetWindowRect(&rcPin);
    testsupport::MouseClickAt(rcPin.CenterPoint().x, rcPin.CenterPoint().y);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return caption_.GetPopupWnd() == nullptr; }, 2000));
    EXPECT_EQ(child_.GetParent(), &pane_);
    CRect rcChild;
    child_.GetWindowRect(&rcChild);
    pane_.ScreenToClient(&rcChild);
    EXPECT_EQ(rcChild.top, 20) << "back where it was";
  }
  EXPECT_GE(
      std::count(host_.m_privateMessages.begin(), host_.m_privateMessages.end(), UINT(CPWN_XT_PUSHPINBUTTON)),
      2);
}

TEST_F(PopupFixture, ThePopupClosesWhenTheFocusLeavesIt) {
  CWnd outside;
  ASSERT_TRUE(outside.CreateEx(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 220, 60, 100, 24,
                               host_.m_hWnd, nullptr));
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(caption_.ShowPopupWindow(), 1);
    child_.SetFocus();
    testsupport::PumpMessages(50);
    EXPECT_NE(caption_.GetPopupWnd(), nullptr) << "the focus is inside";
    host_.SetActiveWindow();
    outside.SetFocus();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return caption_.GetPopupWnd() == nullptr; }, 2000));
    EXPECT_EQ(child_.GetParent(), &pane_);
  }
  EXPECT_GE(
      std::count(host_.m_privateMessages.begin(), host_.m_privateMessages.end(), UINT(CPWN_XT_PUSHPINCANCEL)),
      2);
  outside.DestroyWindow();
}

TEST_F(CaptionFixture, ThePopupRefusesToOpenWithoutAChild) {
  CXTCaption caption;
  ASSERT_TRUE(
      caption.Create(&host_, L"Alone", CPWS_EX_RAISED_EDGE, WS_VISIBLE, CRect(10, 10, 210, 34), 0xFFFF));
  EXPECT_EQ(caption.ShowPopupWindow(), 0);
  CXTCaptionPopupWnd popup;
  EXPECT_FALSE(popup.Create(CRect(0, 0, 100, 100), &caption, nullptr));
}
