// Property sheets with pages from templates in memory: pages attached to their objects, page
// changes with their activation calls, the tab control, and a modal sheet closed with OK that
// saves the pages' data.
#include <gtest/gtest.h>

#include <afxcmn.h>

#include "UiTestApp.h"
#include "WindowTest.h"

namespace {

constexpr WORD IDC_PAGE_EDIT = 3000;

class CMemoryPage : public CPropertyPage {
 public:
  CMemoryPage(LPCWSTR caption, LPCWSTR text)
      : m_builder(caption, WS_CHILD | WS_CAPTION | DS_CONTROL, 200, 80) {
    m_builder.AddItem(0x0081, L"", IDC_PAGE_EDIT, WS_BORDER | WS_TABSTOP, 10, 10, 120, 14);
    m_psp.dwFlags |= PSP_DLGINDIRECT;
    m_psp.pResource = m_builder.Get();
    m_text = text;
  }
  CString m_text;
  int initDialogs = 0;
  int activations = 0;
  bool pressOkOnInit = false;

  BOOL OnInitDialog() override {
    ++initDialogs;
    BOOL bResult = CPropertyPage::OnInitDialog();
    if (pressOkOnInit) {
      SetDlgItemText(IDC_PAGE_EDIT, L"changed on page");
      ::PostMessage(::GetParent(m_hWnd), PSM_PRESSBUTTON, PSBTN_OK, 0);
    }
    return bResult;
  }
  BOOL OnSetActive() override {
    ++activations;
    return CPropertyPage::OnSetActive();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_PAGE_EDIT, m_text); }

 private:
  DialogTemplateBuilder m_builder;
};

TEST(PropertySheets, ModelessSheetShowsPagesAndSwitchesBetweenThem) {
  CMemoryPage first(L"First", L"one");
  CMemoryPage second(L"Second", L"two");
  CPropertySheet sheet(L"Two pages");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  ASSERT_TRUE(sheet.Create());
  ASSERT_NE(sheet.m_hWnd, nullptr);
  EXPECT_EQ(sheet.GetPageCount(), 2);
  EXPECT_NE(first.m_hWnd, nullptr);  // attached at creation
  EXPECT_EQ(first.initDialogs, 1);
  EXPECT_EQ(first.activations, 1);
  CString text;
  first.GetDlgItemText(IDC_PAGE_EDIT, text);
  EXPECT_EQ(text, L"one");

  CTabCtrl* pTab = sheet.GetTabControl();
  ASSERT_NE(pTab, nullptr);
  EXPECT_EQ(pTab->GetItemCount(), 2);

  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_EQ(sheet.GetActivePage(), &second);
  EXPECT_EQ(second.initDialogs, 1);
  EXPECT_EQ(second.activations, 1);
  testsupport::SaveWindowPng(sheet.m_hWnd, L"framework_ui_property_sheet.png");
  sheet.DestroyWindow();
}

TEST(PropertySheets, ModalSheetClosedWithOkSavesPageData) {
  CMemoryPage first(L"First", L"one");
  CMemoryPage second(L"Second", L"two");
  first.pressOkOnInit = true;
  CPropertySheet sheet(L"Modal sheet");
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(first.m_text, L"changed on page");
  EXPECT_EQ(second.initDialogs, 0);  // never shown
  EXPECT_EQ(sheet.m_hWnd, nullptr);
}

}  // namespace
