// CDialog: creation from templates, the modal loop, keyboard navigation, and dialog data exchange.
#include "afxwin.h"
#include "framework/OleControl.h"

#include <cwchar>
#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

// The message map sees every message first, through the subclassed window procedure; only
// WM_INITDIALOG is answered here.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (message != WM_INITDIALOG) return FALSE;
  CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
  return pDlg != nullptr ? pDlg->OnInitDialog() : TRUE;
}

namespace {

LPCDLGTEMPLATE LoadDialogTemplate(LPCTSTR lpszTemplateName, HINSTANCE* phInst) {
  HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  HRSRC hResource = ::FindResource(hInst, lpszTemplateName, RT_DIALOG);
  if (hResource == nullptr) return nullptr;
  HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
  if (hTemplate == nullptr) return nullptr;
  *phInst = hInst;
  return static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate));
}
}  // namespace

CDialog::CDialog()
    : m_lpszTemplateName(nullptr),
      m_hDialogTemplate(nullptr),
      m_lpDialogTemplate(nullptr),
      m_lpDialogInit(nullptr),
      m_pParentWnd(nullptr),
      m_nIDHelp(0),
      m_hWndTop(nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
  m_nIDHelp = nIDTemplate;
  m_pParentWnd = pParentWnd;
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog() {
  m_lpszTemplateName = IS_INTRESOURCE(lpszTemplateName) ? lpszTemplateName : _wcsdup(lpszTemplateName);
  if (IS_INTRESOURCE(lpszTemplateName))
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
  m_pParentWnd = pParentWnd;
}

CDialog::~CDialog() {
  if (m_lpszTemplateName != nullptr && !IS_INTRESOURCE(m_lpszTemplateName)) {
    free(const_cast<LPTSTR>(m_lpszTemplateName));
  }
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  if (lpszTemplateName == nullptr) return FALSE;
  if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0) {
    m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
  }
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATE lpTemplate = LoadDialogTemplate(lpszTemplateName, &hInst);
  if (lpTemplate == nullptr) return FALSE;
  m_pParentWnd = pParentWnd;
  // Hosted controls of the template take their saved state from the dialog's DLGINIT resource.
  if (m_lpDialogInit == nullptr)
    m_lpDialogInit = const_cast<void*>(AfxOccFindDialogInit(hInst, lpszTemplateName));
  return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
  if (lpDialogTemplate == nullptr) return FALSE;
  m_lpDialogInit = lpDialogInit;
  m_pParentWnd = pParentWnd;
  return CreateDlgIndirect(lpDialogTemplate, pParentWnd, nullptr);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  if (hDialogTemplate == nullptr) return FALSE;
  LPCDLGTEMPLATE lpTemplate = static_cast<LPCDLGTEMPLATE>(::GlobalLock(hDialogTemplate));
  BOOL bResult = CreateIndirect(lpTemplate, pParentWnd, nullptr);
  ::GlobalUnlock(hDialogTemplate);
  return bResult;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
  if (lpDialogTemplate == nullptr) return FALSE;
  m_lpDialogTemplate = lpDialogTemplate;
  m_lpDialogInit = lpDialogInit;
  m_pParentWnd = pParentWnd;
  return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
  if (hDialogTemplate == nullptr) return FALSE;
  m_hDialogTemplate = hDialogTemplate;
  m_pParentWnd = pParentWnd;
  return TRUE;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
  if (hInst == nullptr) hInst = AfxGetResourceHandle();
  HWND hWndParent = pParentWnd->GetSafeHwnd();
  if (hWndParent == nullptr && !(m_nFlags & WF_CONTINUEMODAL)) {
    // A modeless dialog without a parent is owned by the calling thread's main window.
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndMain = pMainWnd->GetSafeHwnd();
    if (hWndMain != nullptr && ::GetWindowThreadProcessId(hWndMain, nullptr) == ::GetCurrentThreadId()) {
      hWndParent = hWndMain;
    }
  }
  const void* lpDialogInit = m_lpDialogInit;
  if (lpDialogInit == nullptr && m_lpszTemplateName != nullptr) {
    lpDialogInit = AfxOccFindDialogInit(hInst, m_lpszTemplateName);
  }
  CAfxOccDialogScope occScope(lpDialogTemplate, lpDialogInit);
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParam(hInst, lpDialogTemplate, hWndParent, &AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (hWnd == nullptr) return FALSE;
  return TRUE;
}

HWND CDialog::PreModal() {
  // The owner: the given parent's top-level window, else the calling thread's main window; a
  // worker thread without windows gets a dialog without owner.
  return CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
}

void CDialog::PostModal() {
  if (m_hWndTop != nullptr && ::IsWindow(m_hWndTop)) ::EnableWindow(m_hWndTop, TRUE);
  m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal() {
  LPCDLGTEMPLATE lpDialogTemplate = m_lpDialogTemplate;
  HINSTANCE hInst = AfxGetResourceHandle();
  if (m_lpszTemplateName != nullptr) {
    lpDialogTemplate = LoadDialogTemplate(m_lpszTemplateName, &hInst);
  } else if (m_hDialogTemplate != nullptr) {
    lpDialogTemplate = static_cast<LPCDLGTEMPLATE>(::GlobalLock(m_hDialogTemplate));
  }
  if (lpDialogTemplate == nullptr) return -1;

  HWND hWndParent = PreModal();
  BOOL bEnableParent = FALSE;
  if (hWndParent != nullptr && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }

  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  try {
    if (CreateDlgIndirect(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst) &&
        (m_nFlags & WF_CONTINUEMODAL)) {
      DWORD dwFlags = MLF_SHOWONIDLE;
      if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
      RunModalLoop(dwFlags);
    }
    if (m_hWnd != nullptr) {
      SetWindowPos(nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  }
  m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);

  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  DestroyWindow();
  PostModal();
  if (m_hDialogTemplate != nullptr) ::GlobalUnlock(m_hDialogTemplate);
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(nResult);
  if (m_hWnd != nullptr) ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  PreInitDialog();
  return Default();  // the dialog procedure calls OnInitDialog
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM) {
  OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
  return Default();
}

BOOL CDialog::OnInitDialog() {
  if (!UpdateData(FALSE)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;  // focus goes to the first tab stop
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  if (!bInput || m_hWnd == nullptr) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return ::IsDialogMessage(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  UINT nCodeU = static_cast<UINT>(nCode);
  if ((nCodeU != CN_COMMAND && nCodeU != CN_UPDATE_COMMAND_UI) || nID < 0x8000 || nID >= 0xF000) return FALSE;
  // Application commands (ID_APP_EXIT, ID_HELP ...) reach the thread last.
  CWinThread* pThread = AfxGetThread();
  return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Dialog data exchange --------------------------------------------------------------------------
CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate),
      m_pDlgWnd(pDlgWnd),
      m_idLastControl(nullptr),
      m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (hWndCtrl == nullptr) AfxThrowNotSupportedException();  // the template lacks the control
  m_idLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl != nullptr) {
    ::SetFocus(m_idLastControl);
    if (m_bEditLastControl) ::SendMessage(m_idLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != nullptr) return;  // subclassed by an earlier exchange
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

namespace {
CString ControlText(HWND hWnd) {
  std::vector<WCHAR> buffer(static_cast<size_t>(::GetWindowTextLength(hWnd)) + 1, L'\0');
  ::GetWindowText(hWnd, buffer.data(), static_cast<int>(buffer.size()));
  return CString(buffer.data());
}

// Setting the same text again would only repaint the control.
void SetControlText(HWND hWnd, LPCTSTR lpszNew) {
  if (ControlText(hWnd) != lpszNew) ::SetWindowText(hWnd, lpszNew);
}

void ParseFailed(CDataExchange* pDX, LPCTSTR lpszPrompt) {
  AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

// Whole-text integer parse: surrounding blanks allowed, nothing else.
bool ParseInteger(const CString& str, bool bSigned, long long* pValue) {
  LPCWSTR p = str;
  while (*p == L' ' || *p == L'\t') ++p;
  if (*p == L'\0') return false;
  wchar_t* pEnd = nullptr;
  errno = 0;
  long long v = bSigned ? wcstoll(p, &pEnd, 10) : static_cast<long long>(wcstoull(p, &pEnd, 10));
  if (pEnd == p || errno == ERANGE) return false;
  while (*pEnd == L' ' || *pEnd == L'\t') ++pEnd;
  if (*pEnd != L'\0') return false;
  if (!bSigned && *p == L'-') return false;
  *pValue = v;
  return true;
}

template <class T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, bool bSigned, long long minValue,
                     long long maxValue) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long v = 0;
    if (!ParseInteger(ControlText(hWndCtrl), bSigned, &v) || v < minValue || v > maxValue) {
      ParseFailed(pDX, bSigned ? L"Please enter an integer." : L"Please enter a positive integer.");
    }
    value = static_cast<T>(v);
  } else {
    WCHAR szT[32];
    if (bSigned) {
      _snwprintf(szT, 32, L"%I64d", static_cast<long long>(value));
    } else {
      _snwprintf(szT, 32, L"%I64u", static_cast<unsigned long long>(value));
    }
    SetControlText(hWndCtrl, szT);
  }
}
}  // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = ControlText(hWndCtrl);
  } else {
    SetControlText(hWndCtrl, value);
  }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeInteger(pDX, nIDC, value, true, INT_MIN, INT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  ExchangeInteger(pDX, nIDC, value, false, 0, UINT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  ExchangeInteger(pDX, nIDC, value, true, LONG_MIN, LONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) {
  ExchangeInteger(pDX, nIDC, value, false, 0, ULONG_MAX);
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;  // not a check state
    ::SendMessage(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from nIDC to the next control with WS_GROUP.
  int iButton = 0;
  do {
    if (::SendMessage(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0) != 0) value = iButton;
      } else {
        ::SendMessage(hWndCtrl, BM_SETCHECK, iButton == value, 0);
      }
      iButton++;
    }
    hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
  } while (hWndCtrl != nullptr && !(::GetWindowLongPtr(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0));
  } else {
    ::SendMessage(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0));
  } else {
    ::SendMessage(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = ControlText(hWndCtrl);
  } else if (::SendMessage(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value))) == CB_ERR) {
    ::SetWindowText(hWndCtrl, value);
  }
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    CString strPrompt;
    strPrompt.Format(L"Enter no more than %d characters.", nChars);
    ParseFailed(pDX, strPrompt);
  } else if (!pDX->m_bSaveAndValidate && pDX->m_idLastControl != nullptr && pDX->m_bEditLastControl) {
    ::SendMessage(pDX->m_idLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
  }
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
    CString strPrompt;
    strPrompt.Format(L"Please enter an integer between %d and %d.", minVal, maxVal);
    ParseFailed(pDX, strPrompt);
  }
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
    CString strPrompt;
    strPrompt.Format(L"Please enter an integer between %u and %u.", minVal, maxVal);
    ParseFailed(pDX, strPrompt);
  }
}
