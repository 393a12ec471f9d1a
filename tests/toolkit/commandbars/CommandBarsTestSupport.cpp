// Shared pieces of the command-bar tests.
#include "CommandBarsTestSupport.h"

#include <algorithm>

#include <CommandBarsOptions.h>
#include <CustomizeSheet.h>
#include <Controls.h>
#include <MenuBar.h>

#include "WindowTest.h"

CWinApp theTestApp(L"CommandBarsTests");

BOOL PreTranslateThroughTheApp(MSG* pMsg) { return theTestApp.PreTranslateMessage(pMsg); }

// ---- Profile key -------------------------------------------------------------------------------------

ScopedProfileKey::ScopedProfileKey() {
  m_strKey.Format(L"BrindleCommandBarsTest-%lu", ::GetCurrentProcessId());
  theTestApp.SetRegistryKey(m_strKey);
}

ScopedProfileKey::~ScopedProfileKey() {
  HKEY hSoftware;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, &hSoftware) == ERROR_SUCCESS) {
    ::RegDeleteTree(hSoftware, m_strKey);
    ::RegDeleteKey(hSoftware, m_strKey);
    ::RegCloseKey(hSoftware);
  }
  free(const_cast<LPTSTR>(theTestApp.m_pszRegistryKey));
  theTestApp.m_pszRegistryKey = nullptr;
}

CString ScopedProfileKey::AppKeyPath() const { return L"Software\\" + m_strKey + L"\\CommandBarsTests"; }

std::vector<BYTE> ScopedProfileKey::ReadValue(LPCTSTR lpszSection, LPCTSTR lpszEntry) const {
  std::vector<BYTE> data;
  HKEY hKey;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, AppKeyPath() + L"\\" + lpszSection, 0, KEY_READ, &hKey) !=
      ERROR_SUCCESS)
    return data;
  DWORD cb = 0, type = 0;
  if (::RegQueryValueEx(hKey, lpszEntry, nullptr, &type, nullptr, &cb) == ERROR_SUCCESS) {
    data.resize(cb);
    ::RegQueryValueEx(hKey, lpszEntry, nullptr, &type, data.data(), &cb);
  }
  ::RegCloseKey(hKey);
  return data;
}

bool ScopedProfileKey::ValueExists(LPCTSTR lpszSection, LPCTSTR lpszEntry) const {
  HKEY hKey;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, AppKeyPath() + L"\\" + lpszSection, 0, KEY_READ, &hKey) !=
      ERROR_SUCCESS)
    return false;
  const bool bExists =
      ::RegQueryValueEx(hKey, lpszEntry, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  ::RegCloseKey(hKey);
  return bExists;
}

bool ScopedProfileKey::SectionExists(LPCTSTR lpszSection) const {
  HKEY hKey;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, AppKeyPath() + L"\\" + lpszSection, 0, KEY_READ, &hKey) !=
      ERROR_SUCCESS)
    return false;
  ::RegCloseKey(hKey);
  return true;
}

// ---- Fixed-size control ------------------------------------------------------------------------------

IMPLEMENT_SERIAL(CFixedSizeControl, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

void CFixedSizeControl::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControlButton::Copy(pControl, bRecursive);
  if (CFixedSizeControl* pFixed = DYNAMIC_DOWNCAST(CFixedSizeControl, pControl)) m_size = pFixed->m_size;
}

CFixedSizeControl* AddFixed(CXTPControls* pControls, int nId, int cx, int cy, BOOL bBeginGroup,
                            DWORD dwFlags) {
  CFixedSizeControl* pControl = new CFixedSizeControl;
  pControl->m_size = CSize(cx, cy);
  pControls->AddControl(pControl, nId);
  pControl->SetBeginGroup(bBeginGroup);
  pControl->SetFlags(dwFlags);
  return pControl;
}

// ---- Test frame --------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CTestFrame, CXTPFrameWnd)

BOOL CTestFrame::s_bBareFrame = FALSE;

BEGIN_MESSAGE_MAP(CTestFrame, CXTPFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_TEST_DELETE_SELF, OnDeleteSelf)
ON_COMMAND_RANGE(ID_TEST_FIRST, ID_TEST_LAST, OnTestCommand)
ON_COMMAND(XTP_ID_CUSTOMIZE, OnCustomize)
ON_NOTIFY_RANGE(CBN_XTP_EXECUTE, ID_TEST_FIRST, ID_TEST_LAST, OnExecuteNotify)
ON_UPDATE_COMMAND_UI(ID_TEST_ITEM_A, OnUpdateItemA)
ON_UPDATE_COMMAND_UI(ID_TEST_PASTE, OnUpdatePaste)
END_MESSAGE_MAP()

CTestFrame* CTestFrame::CreateTestFrame(const CRect& rc, LPCTSTR lpszProfile, BOOL bShow) {
  CTestFrame* pFrame = new CTestFrame;
  if (lpszProfile != nullptr) pFrame->m_strProfile = lpszProfile;
  if (!pFrame->Create(nullptr, L"Command Bars Test", WS_OVERLAPPEDWINDOW, rc)) return nullptr;
  theTestApp.m_pMainWnd = pFrame;
  if (bShow) {
    pFrame->ShowWindow(SW_SHOW);
    pFrame->SetForegroundWindow();
    pFrame->RecalcLayout();
    pFrame->UpdateWindow();
    testsupport::PumpMessages(100);
  }
  return pFrame;
}

int CTestFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CXTPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_pCommandBars = static_cast<CXTPCommandBars*>(RUNTIME_CLASS(CXTPCommandBars)->CreateObject());
  m_pCommandBars->SetSite(this);
  m_pCommandBars->EnableDocking();
  if (s_bBareFrame) return 0;
  if (m_pCommandBars->SetMenu(L"Menu Bar", IDR_TEST_MENU) == nullptr) return -1;
  m_pToolBar = m_pCommandBars->Add(L"Standard", xtpBarTop);
  if (m_pToolBar == nullptr || !m_pToolBar->LoadToolBar(IDR_TEST_TOOLBAR)) return -1;
  if (!m_strProfile.IsEmpty()) {
    m_pCommandBars->LoadOptions(m_strProfile);
    m_pCommandBars->LoadCommandBars(m_strProfile);
  }
  return 0;
}

void CTestFrame::SaveAndDestroy(LPCTSTR lpszProfile) {
  if (lpszProfile != nullptr && m_pCommandBars != nullptr) {
    m_pCommandBars->SaveOptions(lpszProfile);
    m_pCommandBars->SaveCommandBars(lpszProfile, TRUE);
  }
  if (theTestApp.m_pMainWnd == this) theTestApp.m_pMainWnd = nullptr;
  DestroyWindow();
  testsupport::PumpMessages(50);
}

void CTestFrame::OnTestCommand(UINT nID) { m_arrCommands.push_back(nID); }

void CTestFrame::OnUpdateItemA(CCmdUI* pCmdUI) {
  pCmdUI->SetCheck(std::count(m_arrCommands.begin(), m_arrCommands.end(), UINT(ID_TEST_ITEM_A)) % 2);
}

void CTestFrame::OnUpdatePaste(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bPasteDisabled); }

void CTestFrame::OnDeleteSelf() {
  m_arrCommands.push_back(ID_TEST_DELETE_SELF);
  // The handler removes the control that ran it: the bars must not use it after the command returns.
  for (int i = 0; i < m_pCommandBars->GetCount(); ++i) {
    CXTPControls* pControls = m_pCommandBars->GetAt(i)->GetControls();
    while (CXTPControl* pControl = pControls->FindControl(ID_TEST_DELETE_SELF)) pControls->Remove(pControl);
  }
}

void CTestFrame::OnCustomize() {
  if (m_bRunCustomizeSheet) CXTPCustomizeSheet::RunCustomizeSheet(m_pCommandBars, IDR_TEST_MENU);
}

void CTestFrame::OnExecuteNotify(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  m_arrNotifications.push_back(static_cast<UINT>(pNMHDR->idFrom));
  *pResult = 0;
}

void SettleLayout(CWnd* pWnd) {
  if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pWnd)) pFrame->RecalcLayout();
  testsupport::PumpMessages(60);
}

CPoint ControlCenter(CXTPControl* pControl) {
  CPoint pt = pControl->GetRect().CenterPoint();
  pControl->GetParent()->ClientToScreen(&pt);
  return pt;
}
