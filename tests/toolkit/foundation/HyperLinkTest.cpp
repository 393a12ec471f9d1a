// CXTHyperLink: the target and tool tip taken from the window text, colours by state, clicks on and
// beside the text, the shell's failures told in words, and the link cursor.
#include <gtest/gtest.h>

#include "ColorTable.h"
#include "ControlHost.h"
#include "FakeSystemQueries.h"
#include "HyperLink.h"
#include "ResourceSource.h"
#include "ToolkitResource.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

class HyperLinkFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.CreateHost(L"Hyperlink test", 180, 180, 360, 160));
    TakeMessageBoxes();
  }
  BOOL MakeLink(CXTHyperLink& link, LPCTSTR text, DWORD style, const CRect& rc, UINT id = 1008) {
    return link.Create(text, WS_CHILD | WS_VISIBLE | style, rc, &host_, id);
  }
  ControlHost host_;
};

}  // namespace

TEST(HyperLinkErrors, ShellResultsBecomeTheirMessages) {
  EXPECT_EQ(CXTHyperLink::GetErrorText(31),
            CString(L"There is no application associated with the given file name extension."));
  EXPECT_EQ(CXTHyperLink::GetErrorText(2), CString(L"The specified file was not found."));
  EXPECT_EQ(CXTHyperLink::GetErrorText(0), CString(L"The operating system is out of memory or resources."));
  EXPECT_EQ(CXTHyperLink::GetErrorText(11),
            CString(L"The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image)."));
  EXPECT_EQ(CXTHyperLink::GetErrorText(1), CString(L"An unknown error number 1 occured."));
  EXPECT_EQ(CXTHyperLink::GetErrorText(-7), CString(L"An unknown error number -7 occured."));
}

TEST_F(HyperLinkFixture, AnEmptyTargetTakesTheWindowTextForTargetAndTip) {
  CXTHyperLink link;
  ASSERT_TRUE(MakeLink(link, L"http://example.invalid/", SS_LEFT, CRect(10, 10, 300, 30)));
  EXPECT_EQ(link.GetURL(), CString(L"http://example.invalid/"));
  EXPECT_EQ(link.GetTipText(), CString(L"http://example.invalid/"));
  EXPECT_TRUE(::IsWindow(link.GetToolTip().GetSafeHwnd()));
  EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
  LOGFONTW lf = {};
  ::GetObjectW(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
  EXPECT_TRUE(lf.lfUnderline);
  link.SetUnderline(FALSE);
  ::GetObjectW(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
  EXPECT_FALSE(lf.lfUnderline);
}

TEST_F(HyperLinkFixture, TextStaticsWithFlagsInTheLowByteStillCountAsText) {
  CXTHyperLink noPrefix, icon;
  ASSERT_TRUE(MakeLink(noPrefix, L"Home", SS_LEFT | SS_NOPREFIX, CRect(10, 10, 300, 30)));
  ASSERT_TRUE(MakeLink(icon, L"", SS_ICON, CRect(10, 40, 42, 72), 1026));
  EXPECT_TRUE(noPrefix.IsTextControl());
  EXPECT_FALSE(icon.IsTextControl());
  EXPECT_TRUE(icon.IsCursorOverText()) << "pictures react anywhere";
  CClientDC dc(&icon);
  EXPECT_EQ(host_.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                              reinterpret_cast<LPARAM>(icon.m_hWnd)),
            host_.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0))
      << "no colours of the link for pictures";
}

TEST_F(HyperLinkFixture, AMissingTargetIsReportedInWordsAndLeavesTheLinkUnvisited) {
  CXTHyperLink link;
  ASSERT_TRUE(MakeLink(link, L"Open the file", SS_LEFT, CRect(10, 10, 300, 30)));
  link.SetURL(L"Z:\\no\\such\\folder\\missing-file.xyz");
  EXPECT_FALSE(link.GotoURL());
  std::vector<std::wstring> boxes = TakeMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0] == L"The specified file was not found." ||
              boxes[0] == L"The specified path was not found.")
      << std::string(boxes[0].begin(), boxes[0].end());

  const CPoint onText = ScreenPoint(&link, 5, 8);
  testsupport::MouseClickAt(onText.x, onText.y);
  testsupport::PumpUntil([] { return false; }, 300);
  EXPECT_FALSE(link.GetVisited());
  EXPECT_EQ(TakeMessageBoxes().size(), 1u);
  EXPECT_EQ(link.GetCurrentTextColor(), link.GetHoverColor()) << "the pointer rests on the text";
}

TEST_F(HyperLinkFixture, WithoutTheShellAClickOnTheTextOnlyMarksItVisited) {
  CXTHyperLink link;
  ASSERT_TRUE(MakeLink(link, L"Visit", SS_LEFT, CRect(10, 10, 300, 30), 1009));
  link.SetUseShell(FALSE);

  // Beside the text, inside the window: nothing happens.
  const CPoint beside = ScreenPoint(&link, 250, 8);
  testsupport::MouseClickAt(beside.x, beside.y);
  testsupport::PumpMessages(100);
  EXPECT_FALSE(link.GetVisited());
  EXPECT_FALSE(link.IsHovering());

  const CPoint onText = ScreenPoint(&link, 5, 8);
  testsupport::MouseClickAt(onText.x, onText.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return link.GetVisited() != FALSE; }, 2000));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return link.IsHovering() != FALSE; }, 2000));
  EXPECT_TRUE(TakeMessageBoxes().empty());
  bool parentSawClick = false;
  for (auto& command : host_.m_commands)
    parentSawClick |= command.first == 1009 && command.second == STN_CLICKED;
  EXPECT_TRUE(parentSawClick) << "text links pass the click on";
  testsupport::SaveWindowPng(host_.m_hWnd, L"hyperlink-hover.png");

  testsupport::MouseMoveTo(beside.x, beside.y + 60);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return link.IsHovering() == FALSE; }, 2000));
  EXPECT_EQ(link.GetCurrentTextColor(), RGB(128, 0, 128));
}

TEST_F(HyperLinkFixture, BackgroundDefaultsToTheFaceColour) {
  CXTHyperLink link;
  ASSERT_TRUE(MakeLink(link, L"Home", SS_LEFT, CRect(10, 10, 300, 30)));
  EXPECT_EQ(link.GetBackColor(), GetXTPColor(COLOR_BTNFACE));
  link.SetBackColor(RGB(255, 255, 255));
  EXPECT_EQ(link.GetBackColor(), RGB(255, 255, 255));
  link.SetColors(RGB(1, 2, 3), COLORREF(-1), COLORREF(-1));
  EXPECT_EQ(link.GetLinkColor(), RGB(1, 2, 3));
  EXPECT_EQ(link.GetVisitedColor(), RGB(128, 0, 128));
}

TEST(HyperLinkCursor, ASystemWithoutTheHandTakesTheToolkitCursor) {
  CXTHyperLink* pLink;
  {
    FakeSystemQueries fake;
    fake.hasHandCursor = FALSE;
    pLink = new CXTHyperLink;
  }
  CXTHyperLink& link = *pLink;
  EXPECT_NE(link.GetLinkCursor(), nullptr);
  EXPECT_EQ(link.GetLinkCursor(), GetToolkitResourceManager()->LoadCursor(XT_IDC_HAND));
  delete pLink;
}

TEST_F(HyperLinkFixture, APictureLinkReactsAnywhereInItsWindow) {
  CXTHyperLink link;
  ASSERT_TRUE(MakeLink(link, L"", SS_ICON, CRect(10, 10, 74, 74), 1026));
  link.SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_APPLICATION)));
  link.SetUseShell(FALSE);
  link.SetURL(L"http://www.example.invalid/");
  const CPoint corner = ScreenPoint(&link, 2, 2);
  testsupport::MouseClickAt(corner.x, corner.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return link.GetVisited() != FALSE; }, 2000));
  EXPECT_FALSE(link.IsHovering()) << "pictures have no hover colour";
}
