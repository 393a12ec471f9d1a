// Dialogs: modal from a resource and from a template in memory (also on a worker thread with no
// parent), modeless, keyboard handling through IsDialogMessage, and the data exchange.
#include <gtest/gtest.h>

#include <thread>

#include "UiTestApp.h"
#include "WindowTest.h"
#include "resource.h"

namespace {

class CDataDialog : public CDialog {
 public:
  explicit CDataDialog(UINT nIDTemplate = IDD_TEST_DIALOG) : CDialog(nIDTemplate) {}

  CString m_name = L"initial";
  int m_flag = 0;
  int m_number = 7;
  CButton m_flagButton;
  CString initialText;
  int initialCheck = -1;
  bool typeValues = true;
  UINT keyToSend = 0;
  int missingControl = 0;

  BOOL OnInitDialog() override {
    if (!CDialog::OnInitDialog()) return FALSE;
    GetDlgItemText(IDC_NAME, initialText);
    initialCheck = static_cast<int>(IsDlgButtonChecked(IDC_FLAG));
    if (typeValues) {
      SetDlgItemText(IDC_NAME, L"typed name");
      CheckDlgButton(IDC_FLAG, BST_CHECKED);
      SetDlgItemText(IDC_NUMBER, L" 42 ");
    }
    if (keyToSend != 0) {
      ::PostMessage(::GetDlgItem(m_hWnd, IDC_NAME), WM_KEYDOWN, keyToSend, 0);
    } else {
      PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDOK)));
    }
    return TRUE;
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_FLAG, m_flagButton);
    DDX_Text(pDX, IDC_NAME, m_name);
    DDX_Check(pDX, IDC_FLAG, m_flag);
    DDX_Text(pDX, IDC_NUMBER, m_number);
    if (missingControl != 0) DDX_Text(pDX, missingControl, m_name);
  }
};

TEST(Dialog, ModalFromResourceExchangesDataBothWays) {
  CDataDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.initialText, L"initial");
  EXPECT_EQ(dlg.initialCheck, BST_UNCHECKED);
  EXPECT_EQ(dlg.m_name, L"typed name");
  EXPECT_EQ(dlg.m_flag, 1);
  EXPECT_EQ(dlg.m_number, 42);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_flagButton.m_hWnd, nullptr);  // went with the dialog
}

TEST(Dialog, EscapeInAnEditReachesOnCancelThroughIsDialogMessage) {
  CDataDialog dlg;
  dlg.typeValues = false;
  dlg.keyToSend = VK_ESCAPE;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_name, L"initial");  // cancel saves nothing
}

TEST(Dialog, MissingControlFailsTheExchangeInsteadOfCrashing) {
  CDataDialog dlg;
  dlg.missingControl = 4242;
  EXPECT_EQ(dlg.DoModal(), -1);
}

TEST(Dialog, MissingTemplateGivesMinusOne) {
  CDialog dlg(31999);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_FALSE(dlg.Create(31999));
}

DialogTemplateBuilder MakeWorkerTemplate(LPCWSTR caption) {
  DialogTemplateBuilder builder(caption, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 180, 60);
  builder.AddItem(0x0081, L"", IDC_NAME, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 5, 100, 12);
  builder.AddItem(0x0080, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 120, 5, 50, 14);
  builder.AddItem(0x0080, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 120, 25, 50, 14);
  return builder;
}

class CWorkerDialog : public CDialog {
 public:
  CString m_name = L"from worker";
  HWND owner = reinterpret_cast<HWND>(1);
  BOOL OnInitDialog() override {
    owner = ::GetWindow(m_hWnd, GW_OWNER);
    return CDialog::OnInitDialog();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_name); }
};

TEST(Dialog, ModalFromMemoryTemplateOnWorkerThreadWithoutParent) {
  // A main window on this thread must not become the worker dialog's owner.
  CWnd mainWnd;
  ASSERT_TRUE(mainWnd.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               200, 100, nullptr, nullptr));
  theTestApp.m_pMainWnd = &mainWnd;

  DialogTemplateBuilder builder = MakeWorkerTemplate(L"Worker dialog");
  CWorkerDialog dlg;
  ASSERT_TRUE(dlg.InitModalIndirect(builder.Get()));
  INT_PTR result = 0;
  volatile bool done = false;
  std::thread worker([&] {
    result = dlg.DoModal();
    done = true;
  });
  HWND hDlg = testsupport::WaitForTopWindow(L"Worker dialog", 10000);
  ASSERT_NE(hDlg, nullptr);
  ::SetDlgItemText(hDlg, IDC_NAME, L"edited");
  testsupport::SaveWindowPng(hDlg, L"framework_ui_worker_dialog.png");
  testsupport::ClickDlgItem(hDlg, IDOK);
  testsupport::PumpUntil([&] { return done; }, 10000);
  worker.join();

  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.owner, nullptr);
  EXPECT_EQ(dlg.m_name, L"edited");
  EXPECT_TRUE(mainWnd.IsWindowEnabled());

  mainWnd.DestroyWindow();
  MSG msg;
  while (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  theTestApp.m_pMainWnd = nullptr;
}

class CModeless : public CDialog {
 public:
  int cancels = 0;

 protected:
  void OnCancel() override {
    ++cancels;
    DestroyWindow();
  }
};

TEST(Dialog, ModelessFromMemoryTemplateHandlesEscapeInThePump) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              300, 200, nullptr, nullptr));
  DialogTemplateBuilder builder = MakeWorkerTemplate(L"Modeless dialog");
  CModeless dlg;
  ASSERT_TRUE(dlg.CreateIndirect(builder.Get(), &parent));
  ASSERT_NE(dlg.m_hWnd, nullptr);
  EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_OWNER), parent.m_hWnd);
  dlg.ShowWindow(SW_SHOW);

  ::PostMessage(::GetDlgItem(dlg.m_hWnd, IDC_NAME), WM_KEYDOWN, VK_ESCAPE, 0);
  for (int i = 0; i < 20 && dlg.cancels == 0; ++i) {
    MSG msg;
    if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
    ASSERT_TRUE(AfxPumpMessage());
  }
  EXPECT_EQ(dlg.cancels, 1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  parent.DestroyWindow();
}

}  // namespace
