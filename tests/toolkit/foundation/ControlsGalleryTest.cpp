// One window holding each dialog control as the wizard sets them up, saved as a picture for a person
// to look at, with the texts read back.
#include <gtest/gtest.h>

#include "BrowseEdit.h"
#include "Button.h"
#include "Caption.h"
#include "ColorTable.h"
#include "ControlHost.h"
#include "FlatComboBox.h"
#include "HyperLink.h"
#include "SystemResources.h"
#include "WindowTest.h"

TEST(ControlsGallery, EachControlShowsAsTheWizardSetsItUp) {
  // Earlier tests of this program script the system colours: start from the real ones.
  GetColorTable()->RefreshColors();
  for (auto* pFactory = GetThemeFactoryRegistry()->GetFirstFactory(); pFactory != nullptr;
       pFactory = pFactory->m_pNextFactory)
    pFactory->RefreshCurrentStyle();

  ControlHost host;
  ASSERT_TRUE(host.CreateHost(L"Dialog controls", 100, 100, 460, 300));

  CXTCaption caption;
  ASSERT_TRUE(caption.Create(&host, L"Folder List", CPWS_EX_RAISED_EDGE | CPWS_EX_CLOSEBUTTON, WS_VISIBLE,
                             CRect(10, 10, 440, 32), 100));
  CXTCaption status;
  ASSERT_TRUE(status.Create(&host, L"", CPWS_EX_RAISED_EDGE, WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE,
                            CRect(10, 40, 440, 80), 0xFFFF));
  status.SetCaptionColors(RGB(0xFF, 0xFE, 0xEF), RGB(0xFF, 0xFE, 0xEF), RGB(255, 0, 0));
  status.UpdateCaption(L"Opening pst file...", nullptr);

  CXTBrowseEdit edit;
  ASSERT_TRUE(
      edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 95, 440, 119), &host, 1));
  ASSERT_TRUE(edit.Initialize(&host, BES_XT_CHOOSEFILE));
  edit.SetDlgFilter(L"PST File(*.pst)|*.pst||");
  edit.SetWindowText(L"C:\\Mail\\archive.pst");

  CXTFlatComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(10, 130, 220, 250),
                           &host, 2));
  combo.SetFont(&GetSystemResources()->m_fontRegular);
  combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Save in New file"));
  combo.SendMessage(CB_SETCURSEL, 0);

  CXTHyperLink link;
  ASSERT_TRUE(link.Create(L"http://www.example.invalid/", WS_CHILD | WS_VISIBLE | SS_LEFT,
                          CRect(240, 134, 440, 154), &host, 1008));

  CXTButton next, back, stop;
  ASSERT_TRUE(next.Create(L"Next", WS_CHILD | WS_VISIBLE, CRect(10, 200, 110, 235), &host, 1));
  ASSERT_TRUE(back.Create(L"Back", WS_CHILD | WS_VISIBLE, CRect(120, 200, 220, 235), &host, 2));
  ASSERT_TRUE(stop.Create(L"Stop", WS_CHILD | WS_VISIBLE | WS_DISABLED, CRect(230, 200, 330, 235), &host, 4));
  for (CXTButton* pButton : {&next, &back, &stop}) {
    pButton->SetXButtonStyle(XButtonVisualStyle, TRUE);
    pButton->SetFontEx(&GetSystemResources()->m_fontBold);
  }
  CXTButton flat;
  ASSERT_TRUE(flat.Create(L"Flat", WS_CHILD | WS_VISIBLE, CRect(340, 200, 440, 235), &host, 6));
  flat.SetXButtonStyle(XButtonFlatTheme | XButtonShowFocus, TRUE);

  testsupport::PumpMessages(100);
  EXPECT_FALSE(testsupport::SaveWindowPng(host.m_hWnd, L"dialog-controls.png").empty());
  EXPECT_EQ(status.GetCaptionText(), CString(L"Opening pst file..."));
  EXPECT_EQ(next.GetButtonText(TRUE), CString(L"Next"));
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, CString(L"C:\\Mail\\archive.pst"));
  EXPECT_EQ(link.GetURL(), CString(L"http://www.example.invalid/"));
}
