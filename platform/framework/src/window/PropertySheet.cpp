// Property sheets and pages on the system's property-sheet control.
#include "afxwin.h"
#include "afxcmn.h"

#include <vector>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {
// Called by the control right before it creates a page: the page's object is attached to the
// dialog window it creates next.
UINT CALLBACK AfxPropPageCallback(HWND, UINT message, LPPROPSHEETPAGE pPropPage) {
  if (message == PSPCB_CREATE && pPropPage != nullptr && pPropPage->lParam != 0) {
    AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(pPropPage->lParam));
  }
  return TRUE;
}
}  // namespace

// ---- CPropertyPage -------------------------------------------------------------------------------------
CPropertyPage::CPropertyPage() : m_psp() {
  m_psp.dwSize = sizeof(m_psp);
  m_psp.dwFlags = PSP_USECALLBACK;
  m_psp.hInstance = AfxGetResourceHandle();
  m_psp.pfnDlgProc = &AfxDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  m_psp.pfnCallback = &AfxPropPageCallback;
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CPropertyPage() {
  Construct(nIDTemplate, nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : CPropertyPage() {
  Construct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption) {
  Construct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
  m_nIDHelp = nIDTemplate;
}

void CPropertyPage::Construct(LPCTSTR lpszTemplateName, UINT nIDCaption) {
  m_lpszTemplateName = lpszTemplateName;
  m_psp.pszTemplate = lpszTemplateName;
  m_psp.hInstance = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
  if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
    m_psp.pszTitle = m_strCaption;
    m_psp.dwFlags |= PSP_USETITLE;
  }
}

void CPropertyPage::PreInitDialog() {
  // The page has been caught by the creation hook; nothing else is waiting for it.
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_pWndInit == nullptr) AfxUnhookWindowCreate();
}

CPropertySheet* CPropertyPage::GetParentSheet() const {
  CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  return DYNAMIC_DOWNCAST(CPropertySheet, pParent);
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

BOOL CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive) {
    m_bFirstSetActive = FALSE;
  } else {
    UpdateData(FALSE);
  }
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

// A page does not end the sheet by itself: the sheet's buttons do.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL bChanged) {
  HWND hWndSheet = ::GetParent(m_hWnd);
  if (hWndSheet != nullptr) {
    ::SendMessage(hWndSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
  }
}

void CPropertyPage::CancelToClose() {
  HWND hWndSheet = ::GetParent(m_hWnd);
  if (hWndSheet != nullptr) ::SendMessage(hWndSheet, PSM_CANCELTOCLOSE, 0, 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  if (pNMHDR->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, pResult);
  LRESULT lResult = 0;
  switch (pNMHDR->code) {
    case PSN_SETACTIVE:
      lResult = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      lResult = !OnKillActive();
      break;
    case PSN_APPLY:
      lResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      // The control presses OK itself (PSM_PRESSBUTTON, Enter): the sheet learns it here.
      if (lResult == PSNRET_NOERROR && GetParentSheet() != nullptr) GetParentSheet()->m_nModalResult = IDOK;
      break;
    case PSN_RESET:
      OnReset();
      if (GetParentSheet() != nullptr) GetParentSheet()->m_nModalResult = IDCANCEL;
      break;
    case PSN_QUERYCANCEL:
      lResult = !OnQueryCancel();
      break;
    case PSN_WIZNEXT:
      lResult = OnWizardNext();
      break;
    case PSN_WIZBACK:
      lResult = OnWizardBack();
      break;
    case PSN_WIZFINISH:
      lResult = !OnWizardFinish();
      break;
    default:
      return CDialog::OnNotify(wParam, lParam, pResult);
  }
  // The control reads the answer from the dialog's message result.
  ::SetWindowLongPtr(m_hWnd, DWLP_MSGRESULT, lResult);
  *pResult = lResult;
  return TRUE;
}

// ---- CPropertySheet ------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet()
    : m_psh(), m_pParentWnd(nullptr), m_bModeless(FALSE), m_pPageArray(nullptr), m_hWndTop(nullptr) {
  m_psh.dwSize = sizeof(m_psh);
  m_psh.dwFlags = PSH_PROPSHEETPAGE;
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet() {
  CString strCaption;
  strCaption.LoadString(nIDCaption);
  Construct(strCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet() {
  Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() {
  delete[] m_pPageArray;
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) {
  m_strCaption = pszCaption != nullptr ? pszCaption : L"";
  m_pParentWnd = pParentWnd;
  m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (pPage == nullptr) return;
  m_pages.Add(pPage);
  if (m_hWnd != nullptr) {
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPage(&pPage->m_psp);
    if (hPage != nullptr) ::SendMessage(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage));
  }
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd != nullptr) ::SendMessage(m_hWnd, PSM_REMOVEPAGE, nPage, 0);
  m_pages.RemoveAt(nPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  for (int i = 0; i < GetPageCount(); i++) {
    if (GetPage(i) == pPage) return i;
  }
  return -1;
}

int CPropertySheet::GetActiveIndex() const {
  if (m_hWnd == nullptr) return static_cast<int>(m_psh.nStartPage);
  HWND hTab = reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETTABCONTROL, 0, 0));
  return hTab != nullptr ? static_cast<int>(::SendMessage(hTab, TCM_GETCURSEL, 0, 0)) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
  int nIndex = GetActiveIndex();
  return nIndex >= 0 && nIndex < GetPageCount() ? GetPage(nIndex) : nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (m_hWnd == nullptr) {
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
  }
  const BOOL bSet = static_cast<BOOL>(::SendMessage(m_hWnd, PSM_SETCURSEL, nPage, 0));
  KeepFocusOnCurrentPage();
  return bSet;
}

void CPropertySheet::KeepFocusOnCurrentPage() {
  const HWND hFocus = ::GetFocus();
  const HWND hPage = reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
  if (hFocus == nullptr || hPage == nullptr || !::IsChild(m_hWnd, hFocus)) return;
  HWND hChildOfSheet = hFocus;
  while (::GetParent(hChildOfSheet) != m_hWnd) hChildOfSheet = ::GetParent(hChildOfSheet);
  // The tab control and the sheet's buttons stay shown; only a page is hidden.
  if (hChildOfSheet == hPage || ::IsWindowVisible(hChildOfSheet)) return;
  const HWND hFirst = ::GetNextDlgTabItem(hPage, nullptr, FALSE);
  ::SetFocus(hFirst != nullptr ? hFirst : hPage);
}

CTabCtrl* CPropertySheet::GetTabControl() const {
  return static_cast<CTabCtrl*>(
      CWnd::FromHandle(reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETTABCONTROL, 0, 0))));
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText;
  if (m_hWnd != nullptr) {
    ::SendMessage(m_hWnd, PSM_SETTITLE, nStyle, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(m_strCaption)));
  } else {
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  }
}

void CPropertySheet::BuildPropPageArray() {
  delete[] m_pPageArray;
  int nCount = GetPageCount();
  m_pPageArray = new PROPSHEETPAGE[nCount > 0 ? nCount : 1];
  for (int i = 0; i < nCount; i++) {
    CPropertyPage* pPage = GetPage(i);
    pPage->m_bFirstSetActive = TRUE;
    m_pPageArray[i] = pPage->m_psp;
  }
  m_psh.ppsp = m_pPageArray;
  m_psh.nPages = static_cast<UINT>(nCount);
  m_psh.dwFlags |= PSH_PROPSHEETPAGE;
  m_psh.pszCaption = m_strCaption;
  m_psh.hInstance = AfxGetResourceHandle();
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  UNUSED(dwStyle);
  UNUSED(dwExStyle);
  if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
  BuildPropPageArray();
  m_psh.hwndParent = m_pParentWnd->GetSafeHwnd();
  m_psh.dwFlags |= PSH_MODELESS;
  m_bModeless = TRUE;
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheet(&m_psh));
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr && reinterpret_cast<INT_PTR>(hWnd) != -1;
}

INT_PTR CPropertySheet::DoModal() {
  HWND hWndParent = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
  BOOL bEnableParent = FALSE;
  if (hWndParent != nullptr && ::IsWindowEnabled(hWndParent)) {
    ::EnableWindow(hWndParent, FALSE);
    bEnableParent = TRUE;
  }
  // The sheet runs modeless under the framework's modal loop, so that pre-translation and idle
  // processing work as in dialogs.
  BuildPropPageArray();
  m_psh.hwndParent = hWndParent;
  m_psh.dwFlags |= PSH_MODELESS;
  m_bModeless = FALSE;
  m_nModalResult = -1;
  m_nFlags |= WF_CONTINUEMODAL;
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(::PropertySheet(&m_psh));
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (hWnd != nullptr && reinterpret_cast<INT_PTR>(hWnd) != -1) {
    m_nModalResult = IDCANCEL;
    if (m_nFlags & WF_CONTINUEMODAL) RunModalLoop(MLF_SHOWONIDLE);
  }
  m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
  if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
  if (hWndParent != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndParent);
  if (m_hWnd != nullptr) DestroyWindow();
  if (m_hWndTop != nullptr && ::IsWindow(m_hWndTop)) ::EnableWindow(m_hWndTop, TRUE);
  m_hWndTop = nullptr;
  return m_nModalResult;
}

BOOL CPropertySheet::ContinueModal() {
  if (!CWnd::ContinueModal()) return FALSE;
  // OK or Cancel has closed the sheet once no page is current any more.
  return ::SendMessage(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    m_nModalResult = LOWORD(wParam);
  }
  // The sheet's own buttons are the control's business.
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  return FALSE;
}

void CPropertySheet::EndDialog(int nEndID) {
  m_nModalResult = nEndID;
  if (m_bModeless) {
    DestroyWindow();
  } else {
    PressButton(nEndID == IDOK ? PSBTN_OK : PSBTN_CANCEL);
    EndModalLoop(nEndID);
  }
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) {
  LRESULT lResult = Default();
  OnInitDialog();
  return lResult;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (m_hWnd == nullptr) return FALSE;
  const BOOL bHandled =
      static_cast<BOOL>(::SendMessage(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
  if (bHandled && pMsg->message == WM_KEYDOWN) KeepFocusOnCurrentPage();
  return bHandled;
}

BOOL CPropertySheet::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // The sheet's own buttons belong to the control: a page's OK and Cancel handlers would take them.
  if (nCode == CN_COMMAND && (nID == IDOK || nID == IDCANCEL || nID == IDHELP)) return FALSE;
  // Commands from the pages' controls reach the active page as well.
  CPropertyPage* pPage = GetActivePage();
  return pPage != nullptr && pPage->m_hWnd != nullptr && pPage->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
