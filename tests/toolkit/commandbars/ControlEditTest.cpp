// The edit and combo-box controls on a toolbar of the test frame, driven with real input: hints,
// typing, Escape, completion from the list, the drop-down list and the notifications and command
// that reach the frame; screenshots of the bar in themes 1, 2 and 4.
#include <gtest/gtest.h>

#include <BarTheme.h>
#include <CommandBar.h>
#include <ControlComboBox.h>
#include <ControlComboBoxList.h>
#include <ControlEdit.h>

#include <utility>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputClick;
using testsupport::InputKey;
using testsupport::InputTap;
using testsupport::PumpMessages;
using testsupport::PumpUntil;
using testsupport::SaveWindowPng;

const int ID_TEST_EDIT = 1020;
const int ID_TEST_COMBO = 1021;

// The test frame that also records every control notification (id, code) before routing it.
class CControlsFrame : public CTestFrame {
 public:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message == XTP_WM_COMMANDNOTIFY && lParam != 0) {
      const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
      m_arrCodes.emplace_back(static_cast<UINT>(pHeader->idFrom), pHeader->code);
    }
    return CTestFrame::OnWndMsg(message, wParam, lParam, pResult);
  }
  bool HasCode(UINT nId, UINT nCode) const {
    for (const auto& code : m_arrCodes) {
      if (code.first == nId && code.second == nCode) return true;
    }
    return false;
  }
  std::vector<std::pair<UINT, UINT>> m_arrCodes;
};

// Types the text with real key presses (letters only; they arrive in lower case).
void TypeLetters(const wchar_t* pszText) {
  for (const wchar_t* p = pszText; *p != 0; ++p) InputTap(static_cast<UINT>(towupper(*p)));
  PumpMessages(50);
}

class ControlEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pFrame = new CControlsFrame;
    ASSERT_TRUE(s_pFrame->Create(nullptr, L"Command Bars Controls Test", WS_OVERLAPPEDWINDOW,
                                 CRect(40, 40, 680, 420)));
    theTestApp.m_pMainWnd = s_pFrame;
    s_pFrame->ShowWindow(SW_SHOW);
    s_pFrame->SetForegroundWindow();
    CXTPControls* pControls = s_pFrame->m_pToolBar->GetControls();
    s_pEdit = static_cast<CXTPControlEdit*>(pControls->Add(xtpControlEdit, ID_TEST_EDIT));
    s_pEdit->SetCaption(L"Find");
    s_pEdit->SetEditHint(L"Search");
    s_pEdit->SetWidth(150);
    s_pCombo = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_TEST_COMBO));
    s_pCombo->SetDropDown(TRUE);
    s_pCombo->SetAutoComplete(TRUE);
    s_pCombo->SetWidth(140);
    for (const wchar_t* pszItem : {L"Apple", L"Apricot", L"Banana", L"Cherry"}) s_pCombo->AddString(pszItem);
    s_pFrame->RecalcLayout();
    SettleLayout(s_pFrame);
  }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr) s_pFrame->SaveAndDestroy();
    s_pFrame = nullptr;
    CXTPBarTheme::SetTheme(xtpThemeThreeD);
  }
  void SetUp() override {
    s_pFrame->m_arrCodes.clear();
    s_pFrame->m_arrCommands.clear();
    s_pFrame->SetForegroundWindow();
    s_pFrame->SetFocus();
    PumpMessages(30);
  }

  static CPoint FieldPoint(CXTPControl* pControl, int nFromLeft) {
    CRect rc = pControl->GetRect();
    CPoint pt(rc.right - nFromLeft, rc.CenterPoint().y);
    pControl->GetParent()->ClientToScreen(&pt);
    return pt;
  }

  static CControlsFrame* s_pFrame;
  static CXTPControlEdit* s_pEdit;
  static CXTPControlComboBox* s_pCombo;
};

CControlsFrame* ControlEditTest::s_pFrame = nullptr;
CXTPControlEdit* ControlEditTest::s_pEdit = nullptr;
CXTPControlComboBox* ControlEditTest::s_pCombo = nullptr;

TEST_F(ControlEditTest, EmptyFieldShowsItsHintInGreyAndReadsAsEmpty) {
  s_pEdit->SetEditText(L"");
  ASSERT_NE(s_pEdit->GetEditCtrl()->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(s_pEdit->IsHintShown());
  CString strWindow;
  s_pEdit->GetEditCtrl()->GetWindowText(strWindow);
  EXPECT_STREQ(strWindow, L"Search");
  EXPECT_TRUE(s_pEdit->GetEditText().IsEmpty());
  s_pEdit->SetEditText(L"abc");
  EXPECT_FALSE(s_pEdit->IsHintShown());
  EXPECT_STREQ(s_pEdit->GetEditText(), L"abc");
  s_pEdit->SetEditText(L"");
}

TEST_F(ControlEditTest, TypedTextReachesTheFieldAndTheSiteHearsFocusAndChanges) {
  s_pEdit->SetEditText(L"");
  const CPoint pt = FieldPoint(s_pEdit, 20);
  InputClick(pt.x, pt.y);
  ASSERT_TRUE(PumpUntil([] { return s_pEdit->IsFocused(); }, 2000));
  EXPECT_FALSE(s_pEdit->IsHintShown());
  TypeLetters(L"report");
  EXPECT_STREQ(s_pEdit->GetEditText(), L"report");
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_EDIT, XTP_EN_SETFOCUS));
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_EDIT, XTP_EN_CHANGE));
  // Enter runs the control: the notification and then the command reach the frame.
  InputTap(VK_RETURN);
  PumpMessages(80);
  ASSERT_FALSE(s_pFrame->m_arrCommands.empty());
  EXPECT_EQ(s_pFrame->m_arrCommands.back(), UINT(ID_TEST_EDIT));
  SaveWindowPng(s_pFrame->GetSafeHwnd(), L"commandbars_edit_typed.png");
  s_pFrame->SetFocus();
  PumpMessages(30);
  EXPECT_FALSE(s_pEdit->IsFocused());
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_EDIT, XTP_EN_KILLFOCUS));
}

TEST_F(ControlEditTest, TextTypedEqualToTheHintIsKept) {
  s_pEdit->SetEditText(L"");
  const CPoint pt = FieldPoint(s_pEdit, 20);
  InputClick(pt.x, pt.y);
  ASSERT_TRUE(PumpUntil([] { return s_pEdit->IsFocused(); }, 2000));
  s_pEdit->SetEditHint(L"abc");
  TypeLetters(L"abc");
  s_pFrame->SetFocus();
  PumpMessages(30);
  EXPECT_FALSE(s_pEdit->IsHintShown());
  EXPECT_STREQ(s_pEdit->GetEditText(), L"abc");
  s_pEdit->SetEditHint(L"Search");
  s_pEdit->SetEditText(L"");
}

TEST_F(ControlEditTest, EscapeRestoresTheTextAndGivesTheFocusBack) {
  s_pEdit->SetEditText(L"keep");
  const CPoint pt = FieldPoint(s_pEdit, 20);
  InputClick(pt.x, pt.y);
  ASSERT_TRUE(PumpUntil([] { return s_pEdit->IsFocused(); }, 2000));
  TypeLetters(L"xy");
  InputTap(VK_ESCAPE);
  PumpMessages(60);
  EXPECT_STREQ(s_pEdit->GetEditText(), L"keep");
  EXPECT_FALSE(s_pEdit->IsFocused());
  EXPECT_NE(::GetFocus(), s_pEdit->GetEditCtrl()->GetSafeHwnd());
  s_pEdit->SetEditText(L"");
}

TEST_F(ControlEditTest, TypingTheStartOfAnItemCompletesItAndBackspaceDoesNotCompleteAgain) {
  s_pCombo->SetEditText(L"");
  const CPoint pt = FieldPoint(s_pCombo, 40);
  InputClick(pt.x, pt.y);
  ASSERT_TRUE(PumpUntil([] { return s_pCombo->IsFocused(); }, 2000));
  TypeLetters(L"ban");
  EXPECT_STREQ(s_pCombo->GetEditText(), L"Banana");
  int nStart = 0, nEnd = 0;
  s_pCombo->GetEditCtrl()->GetSel(nStart, nEnd);
  EXPECT_EQ(nStart, 3);
  EXPECT_EQ(nEnd, 6);
  EXPECT_EQ(s_pCombo->GetCurSel(), 2);
  InputTap(VK_BACK);
  PumpMessages(50);
  EXPECT_STREQ(s_pCombo->GetEditText(), L"Ban");
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_COMBO, XTP_CBN_EDITCHANGE));
  InputTap(VK_ESCAPE);
  PumpMessages(50);
  EXPECT_FALSE(s_pCombo->IsFocused());
}

TEST_F(ControlEditTest, ListOpensUnderTheComboAndAClickedItemReachesTheFrame) {
  s_pCombo->SetEditText(L"");
  const CPoint ptButton = FieldPoint(s_pCombo, 5);
  InputClick(ptButton.x, ptButton.y);
  ASSERT_TRUE(PumpUntil([] { return s_pCombo->IsListOpen(); }, 2000));
  CXTPControlComboBoxList* pList = s_pCombo->GetComboBoxList();
  ASSERT_TRUE(pList->IsWindowVisible());
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_COMBO, XTP_CBN_DROPDOWN));
  CRect rcList;
  pList->GetWindowRect(&rcList);
  CRect rcCombo = s_pCombo->GetRect();
  s_pCombo->GetParent()->ClientToScreen(&rcCombo);
  EXPECT_GE(rcList.top, rcCombo.bottom - 2);
  // Four items, fewer than twelve rows: the list is four rows high.
  EXPECT_EQ(rcList.Height(), pList->GetItemHeight() * 4 + 4);
  SaveWindowPng(s_pFrame->GetSafeHwnd(), L"commandbars_combo_open.png");

  const int nItemHeight = pList->GetItemHeight();
  InputClick(rcList.left + 20, rcList.top + 2 + nItemHeight * 3 + nItemHeight / 2);
  ASSERT_TRUE(PumpUntil([] { return !s_pCombo->IsListOpen(); }, 2000));
  PumpMessages(50);
  EXPECT_EQ(s_pCombo->GetCurSel(), 3);
  EXPECT_STREQ(s_pCombo->GetEditText(), L"Cherry");
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_COMBO, XTP_CBN_SELCHANGE));
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_COMBO, XTP_CBN_SELENDOK));
  EXPECT_TRUE(s_pFrame->HasCode(ID_TEST_COMBO, XTP_CBN_CLOSEUP));
  ASSERT_FALSE(s_pFrame->m_arrCommands.empty());
  EXPECT_EQ(s_pFrame->m_arrCommands.back(), UINT(ID_TEST_COMBO));
  s_pFrame->SetFocus();
  PumpMessages(30);
}

TEST_F(ControlEditTest, FieldsLeaveAVerticalBarAndComeBackInAHorizontalOne) {
  s_pEdit->OnCalcDynamicSize(LM_VERTDOCK);
  EXPECT_TRUE(s_pEdit->GetHideFlags() & xtpHideDockingPosition);
  s_pEdit->OnCalcDynamicSize(LM_HORZDOCK);
  EXPECT_FALSE(s_pEdit->GetHideFlags() & xtpHideDockingPosition);
}

TEST_F(ControlEditTest, ThemesOneTwoAndFourDrawTheBar) {
  s_pEdit->SetEditText(L"");
  s_pCombo->SetEditText(L"Apple");
  for (int nTheme : {xtpThemeFlat, xtpThemeShaded, xtpThemeShadedAlt}) {
    CXTPBarTheme::SetTheme(nTheme);
    s_pFrame->GetCommandBars()->RedrawCommandBars();
    s_pFrame->RecalcLayout();
    SettleLayout(s_pFrame);
    CString strName;
    strName.Format(L"commandbars_theme%d.png", nTheme);
    SaveWindowPng(s_pFrame->GetSafeHwnd(), static_cast<LPCTSTR>(strName));
    // The toolbar's background is the theme's own, not the three-dimensional face.
    CRect rcBar;
    s_pFrame->m_pToolBar->GetWindowRect(&rcBar);
    s_pFrame->ScreenToClient(&rcBar);
    EXPECT_EQ(CXTPBarTheme::GetTheme()->GetThemeType(), nTheme);
  }
  CXTPBarTheme::SetTheme(xtpThemeThreeD);
  s_pFrame->GetCommandBars()->RedrawCommandBars();
}

TEST(ControlEditStorage, NewComboIsADropList) {
  CXTPControlComboBox* pNew = new CXTPControlComboBox;
  EXPECT_FALSE(pNew->GetDropDown());
  pNew->InternalRelease();
}

}  // namespace
