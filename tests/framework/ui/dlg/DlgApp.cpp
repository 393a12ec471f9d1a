// A dialog-based framework program: the main window is a modal dialog from a resource with data
// exchange both ways. The test that starts it takes the screenshot, types a new name and presses
// OK; the program then checks what the exchange brought back and exits with a bit for each failed
// check (Cancel or closing counts as a failure too).
#include <afxcmn.h>
#include <afxwin.h>

#include "resource.h"

namespace {

// The name the starting test types before it presses OK.
constexpr wchar_t kTypedName[] = L"Typed by the test";

class CMainDlg : public CDialog {
 public:
  CMainDlg() : CDialog(IDD_MAIN) {}
  CString name = L"Alpha";
  int count = 7;
  int enabled = 1;
  int kind = 2;
  CComboBox kindBox;
  int initialKindItems = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_KIND, kindBox);
    DDX_Text(pDX, IDC_NAME, name);
    DDV_MaxChars(pDX, name, 40);
    DDX_Text(pDX, IDC_COUNT, count);
    DDV_MinMaxInt(pDX, count, 0, 100);
    DDX_Check(pDX, IDC_ENABLED, enabled);
    DDX_CBIndex(pDX, IDC_KIND, kind);
  }
  BOOL OnInitDialog() override {
    // The list must be there before the base class's exchange selects an entry in it.
    HWND hKind = ::GetDlgItem(m_hWnd, IDC_KIND);
    for (LPCWSTR item : {L"Mail", L"Calendar", L"Contacts", L"Tasks"}) {
      ::SendMessage(hKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    BOOL result = CDialog::OnInitDialog();
    initialKindItems = kindBox.GetCount();
    return result;
  }
};

class CDlgApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CMainDlg dlg;
    m_pMainWnd = &dlg;
    INT_PTR result = dlg.DoModal();
    m_pMainWnd = nullptr;
    // One bit per failed check, so that a failing run says which.
    failures |= result == IDOK ? 0 : 1;
    failures |= dlg.name == kTypedName ? 0 : 2;
    failures |= dlg.count == 7 && dlg.enabled == 1 && dlg.kind == 2 ? 0 : 4;
    failures |= dlg.initialKindItems == 4 ? 0 : 8;
    // A dialog-based program ends when its dialog does.
    return FALSE;
  }
  int ExitInstance() override { return CWinApp::ExitInstance() + failures; }

 private:
  int failures = 0;
};

CDlgApp theApp;

}  // namespace
