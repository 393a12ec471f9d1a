// The menu bar of a multiple-document frame under Xvfb: a child with a menu of its own switches the bar
// to that menu, and saving the bars (which switches the bar to the frame's menu to store it) brings the
// child's menu back, customised as the user left it, and a real click opens it; with the frame's own
// menu shown, saving stores it and the children's menus as the user left them and leaves it shown.
#include <gtest/gtest.h>

#include <MenuBar.h>
#include <PopupBar.h>

#include <algorithm>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputClick;
using testsupport::PumpMessages;
using testsupport::PumpUntil;

const LPCTSTR kMdiProfile = L"CommandBars";

// A multiple-document frame with the frame menu IDR_TEST_MENU in a menu bar, and a customize handler
// so that the bars keep the children's menus apart and store them.
class CMdiBarsFrame : public CBarsMDIFrame {
 protected:
  BOOL AddBars() override { return m_pCommandBars->SetMenu(L"Menu Bar", IDR_TEST_MENU) != nullptr; }
  afx_msg void OnCustomize() {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMdiBarsFrame, CBarsMDIFrame)
ON_COMMAND(XTP_ID_CUSTOMIZE, OnCustomize)
END_MESSAGE_MAP()

class MenuBarMdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = new CMdiBarsFrame;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"MDI Bars", WS_OVERLAPPEDWINDOW, CRect(60, 60, 700, 460), nullptr,
                                 MAKEINTRESOURCE(IDR_TEST_MENU)));
    theTestApp.m_pMainWnd = m_pFrame;
    m_pFrame->ShowWindow(SW_SHOW);
    m_pFrame->RecalcLayout();
    testsupport::BringToFront(m_pFrame->GetSafeHwnd());
    ASSERT_NE(MenuBar(), nullptr);
    ASSERT_NE(MenuBar()->GetDefaultMenu(), nullptr);
    // A child made from IDR_TEST_SUBMENU has that menu, and its id as the active menu's.
    m_pChild = new CMDIChildWnd;
    ASSERT_TRUE(m_pChild->LoadFrame(IDR_TEST_SUBMENU, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_pFrame));
    ASSERT_NE(m_pChild->m_hMenuShared, nullptr);
    // Activating a child sets its menu on the frame, as the framework's children do.
    ::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(m_pChild->m_hMenuShared),
                  0);
    SettleLayout(m_pFrame);
  }
  void TearDown() override {
    if (theTestApp.m_pMainWnd == m_pFrame) theTestApp.m_pMainWnd = nullptr;
    m_pFrame->DestroyWindow();
    PumpMessages(50);
  }
  CXTPMenuBar* MenuBar() const { return m_pFrame->m_pCommandBars->GetMenuBar(); }
  // The menus on the bar, without the buttons the bar makes for itself.
  std::vector<CXTPControl*> Menus() const {
    std::vector<CXTPControl*> menus;
    for (int i = 0; i < MenuBar()->GetControlCount(); ++i) {
      if (!MenuBar()->GetControl(i)->IsTemporary()) menus.push_back(MenuBar()->GetControl(i));
    }
    return menus;
  }

  CMdiBarsFrame* m_pFrame = nullptr;
  CMDIChildWnd* m_pChild = nullptr;
  ScopedProfileKey m_key;
};

TEST_F(MenuBarMdiTest, SavingTheBarsBringsBackTheActiveChildsCustomisedMenu) {
  CXTPMenuBar* pMenuBar = MenuBar();
  ASSERT_EQ(pMenuBar->GetCurrentMenuId(), UINT(IDR_TEST_SUBMENU));
  ASSERT_EQ(Menus().size(), 1u);
  EXPECT_EQ(Menus()[0]->GetCaption(), CString(L"Tools"));
  // The user renames the child's menu, so that its set differs from the menu and is kept.
  Menus()[0]->SetCustomCaption(L"&Gadgets");
  pMenuBar->DelayLayout();
  SettleLayout(m_pFrame);

  m_pFrame->m_pCommandBars->SaveCommandBars(kMdiProfile, TRUE);
  SettleLayout(m_pFrame);

  // Stored with the frame's menu shown, and then back to the child's, as the user left it.
  EXPECT_TRUE(pMenuBar->HasDocumentMenus());
  EXPECT_EQ(pMenuBar->GetCurrentMenuId(), UINT(IDR_TEST_SUBMENU));
  ASSERT_EQ(Menus().size(), 1u);
  CXTPControl* pGadgets = Menus()[0];
  EXPECT_EQ(pGadgets->GetCaption(), CString(L"&Gadgets"));
  testsupport::SaveWindowPng(m_pFrame->GetSafeHwnd(), L"commandbars_mdi_menu_after_save.png");

  // A click on it opens the child's menu.
  const CPoint ptGadgets = ControlCenter(pGadgets);
  InputClick(ptGadgets.x, ptGadgets.y);
  ASSERT_TRUE(PumpUntil([&] { return pMenuBar->GetPopupedControl() == pGadgets; }, 5000));
  CXTPCommandBar* pPopup = pGadgets->GetCommandBar();
  ASSERT_NE(pPopup, nullptr);
  ASSERT_GE(pPopup->GetControlCount(), 1);
  EXPECT_EQ(pPopup->GetControl(0)->GetID(), ID_TEST_ITEM_A);
  m_pFrame->m_pCommandBars->ClosePopups();
}

// Whether the stored bars hold the text, as the archive writes a caption: UTF-16 after its length.
bool StoredHold(const std::vector<BYTE>& data, const wchar_t* pszText) {
  const BYTE* pText = reinterpret_cast<const BYTE*>(pszText);
  const size_t nBytes = wcslen(pszText) * sizeof(wchar_t);
  return std::search(data.begin(), data.end(), pText, pText + nBytes) != data.end();
}

TEST_F(MenuBarMdiTest, SavingWithTheFramesOwnMenuShownStoresItAsShownAndLeavesItShown) {
  // The user renames the child's menu, so that its set is kept when the child goes.
  ASSERT_EQ(Menus().size(), 1u);
  Menus()[0]->SetCustomCaption(L"&Gadgets");
  // The child goes: the frame's menu comes back, and the user renames its first menu.
  m_pChild->MDIDestroy();
  ::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDISETMENU,
                reinterpret_cast<WPARAM>(MenuBar()->GetDefaultMenu()), 0);
  SettleLayout(m_pFrame);
  ASSERT_EQ(MenuBar()->GetCurrentMenuId(), UINT(IDR_TEST_MENU));
  ASSERT_FALSE(Menus().empty());
  Menus()[0]->SetCustomCaption(L"&Files");
  const size_t nMenus = Menus().size();

  m_pFrame->m_pCommandBars->SaveCommandBars(kMdiProfile, TRUE);
  SettleLayout(m_pFrame);
  // Stored: the frame's menu as shown, and the child's menu as the user left it.
  const std::vector<BYTE> stored = m_key.ReadValue(L"CommandBars-Controls", L"Controls");
  EXPECT_TRUE(StoredHold(stored, L"&Files"));
  EXPECT_TRUE(StoredHold(stored, L"&Gadgets"));
  // And still shown, with the user's change.
  EXPECT_EQ(MenuBar()->GetCurrentMenuId(), UINT(IDR_TEST_MENU));
  ASSERT_EQ(Menus().size(), nMenus);
  EXPECT_EQ(Menus()[0]->GetCaption(), CString(L"&Files"));
  EXPECT_TRUE(MenuBar()->HasDocumentMenus());
}

}  // namespace
