// CXTBrowseEdit: the browse button's placement and the three browse actions.
#include "BrowseEdit.h"

#include "BrowseFolderDialog.h"
#include "ResourceSource.h"
#include "ToolkitPopupMenu.h"
#include "ToolkitResource.h"

#include <afxdlgs.h>
#include <shlobj.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTBrowseEdit, CXTEdit)

BEGIN_MESSAGE_MAP(CXTBrowseEdit, CXTEdit)
ON_WM_WINDOWPOSCHANGED()
ON_WM_ENABLE()
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

// Read once when the program starts, as the system metrics stood then.
const int g_cxBrowseButton = ::GetSystemMetrics(SM_CXHTHUMB) + 2 * ::GetSystemMetrics(SM_CXEDGE);

}  // namespace

int PASCAL CXTBrowseEdit::GetButtonWidth() { return g_cxBrowseButton; }

CString PASCAL CXTBrowseEdit::GetStartFolder(const CString& strTyped) {
  auto IsFolder = [](const CString& strPath) {
    const DWORD dwAttributes = ::GetFileAttributesW(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  };
  CString strPath = strTyped;
  strPath.Trim();
  if (!strPath.IsEmpty() && strPath.GetLength() < MAX_PATH) {
    if (IsFolder(strPath)) return strPath;
    const int nSlash = std::max(strPath.ReverseFind(L'\\'), strPath.ReverseFind(L'/'));
    if (nSlash > 0) {
      // "C:\file.pst" lies in "C:\", not in "C:".
      CString strParent = strPath.Left(strPath[nSlash - 1] == L':' ? nSlash + 1 : nSlash);
      if (IsFolder(strParent)) return strParent;
    }
  }
  WCHAR szDocuments[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, szDocuments)) &&
      IsFolder(szDocuments)) {
    return szDocuments;
  }
  return CString();
}

CXTBrowseEdit::CXTBrowseEdit() : m_nGap(::GetSystemMetrics(SM_CXEDGE)) {
  CXTResourceSource* pResources = GetToolkitResourceManager();
  pResources->LoadString(m_strDefExt, XT_IDS_DEFEXT);
  pResources->LoadString(m_strFilter, XT_IDS_DEFFILT);
  pResources->LoadString(m_strTitle, XT_IDS_DEFTITLE);
}

CXTBrowseEdit::~CXTBrowseEdit() = default;

BOOL CXTBrowseEdit::Initialize(CWnd* pOwner) { return CXTEdit::Initialize(pOwner); }

BOOL CXTBrowseEdit::Initialize(CWnd* pOwner, DWORD dwBStyle, UINT nMenu, int nSubMenuIndx) {
  if (!CXTEdit::Initialize(pOwner)) return FALSE;
  if ((dwBStyle & 7) == 0) return TRUE;
  m_dwBStyle = dwBStyle & 7;
  m_nMenu = nMenu;
  m_nSubMenuIndx = nSubMenuIndx;
  if (::IsWindow(m_btnBrowse.GetSafeHwnd())) m_btnBrowse.DestroyWindow();
  if (!m_btnBrowse.Create(this, m_dwBStyle, XT_IDC_BTN_BROWSE, nMenu, nSubMenuIndx)) return FALSE;

  // The button takes its room from the edit's own width.
  CRect rcEdit;
  GetWindowRect(&rcEdit);
  const int cx = std::max(0, int(rcEdit.Width()) - m_nGap - g_cxBrowseButton);
  SetWindowPos(nullptr, 0, 0, cx, rcEdit.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  PositionBrowseButton();
  return TRUE;
}

void CXTBrowseEdit::PositionBrowseButton() {
  if (!::IsWindow(m_btnBrowse.GetSafeHwnd())) return;
  CWnd* pParent = GetParent();
  if (pParent == nullptr) return;
  CRect rcEdit;
  GetWindowRect(&rcEdit);
  pParent->ScreenToClient(&rcEdit);
  const CRect rcButton(rcEdit.right + m_nGap, rcEdit.top, rcEdit.right + m_nGap + g_cxBrowseButton,
                       rcEdit.bottom);
  m_btnBrowse.SetWindowPos(this, rcButton.left, rcButton.top, rcButton.Width(), rcButton.Height(),
                           SWP_FRAMECHANGED | SWP_NOACTIVATE);
  pParent->InvalidateRect(&rcButton);
}

void CXTBrowseEdit::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CXTEdit::OnWindowPosChanged(lpwndpos);
  PositionBrowseButton();
}

void CXTBrowseEdit::OnEnable(BOOL bEnable) {
  CXTEdit::OnEnable(bEnable);
  if (::IsWindow(m_btnBrowse.GetSafeHwnd())) m_btnBrowse.EnableWindow(bEnable);
  Invalidate(FALSE);
}

void CXTBrowseEdit::OnShowWindow(BOOL bShow, UINT nStatus) {
  CXTEdit::OnShowWindow(bShow, nStatus);
  if (::IsWindow(m_btnBrowse.GetSafeHwnd())) m_btnBrowse.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CXTBrowseEdit::OnBrowse() {
  switch (m_dwBStyle & 7) {
    case BES_XT_CHOOSEDIR:
      ChooseFolder();
      break;
    case BES_XT_CHOOSEFILE:
      ChooseFile();
      break;
    case BES_XT_POPUPMENU:
      ShowPopupMenu();
      break;
    default:
      break;
  }
  if (!::IsWindow(GetSafeHwnd())) return;
  if (GetFocus() != this) {
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET);
    SetFocus();
  }
}

void CXTBrowseEdit::ChooseFolder() {
  if (m_bBrowsing) return;
  m_bBrowsing = TRUE;
  CString strFolder;
  GetWindowText(strFolder);
  CXTBrowseFolderDialog dialog(GetParent(), m_strTitle, GetStartFolder(strFolder));
  if (dialog.Run() == IDOK && ::IsWindow(GetSafeHwnd())) SetWindowText(dialog.GetSelectedFolder());
  m_bBrowsing = FALSE;
}

void CXTBrowseEdit::ChooseFile() {
  if (m_bBrowsing) return;
  m_bBrowsing = TRUE;
  if (m_pFileOpenDialog != nullptr) {
    if (m_pFileOpenDialog->DoModal() == IDOK && ::IsWindow(GetSafeHwnd()))
      SetWindowText(m_pFileOpenDialog->GetPathName());
  } else {
    // The record keeps its own size (sizeof(OPENFILENAMEW)): the system checks it.
    CFileDialog dialog(m_bOpenFileDialog, m_strDefExt, m_strFileName, m_dwFlags, m_strFilter, m_pParentWnd);
    CString strTyped;
    GetWindowText(strTyped);
    const CString strStart = GetStartFolder(strTyped);
    if (!strStart.IsEmpty()) dialog.m_ofn.lpstrInitialDir = strStart;
    if (dialog.DoModal() == IDOK && ::IsWindow(GetSafeHwnd())) SetWindowText(dialog.GetPathName());
  }
  m_bBrowsing = FALSE;
}

void CXTBrowseEdit::ShowPopupMenu() {
  if (m_bBrowsing) return;
  m_bBrowsing = TRUE;
  m_btnBrowse.SetState(TRUE);

  CMenu menu;
  HMENU hPopup = nullptr;
  if (GetToolkitResourceManager()->LoadMenu(&menu, m_nMenu))
    hPopup = ::GetSubMenu(menu.GetSafeHmenu(), m_nSubMenuIndx);
  if (hPopup != nullptr) {
    CWnd* pOwner = this;
    while (pOwner != nullptr && (pOwner->GetStyle() & WS_CHILD) != 0) pOwner = pOwner->GetParent();
    CRect rcButton;
    m_btnBrowse.GetWindowRect(&rcButton);
    TrackToolkitPopupMenu(hPopup, TPM_VERTICAL, rcButton.right, rcButton.top,
                          pOwner != nullptr ? pOwner : this);
    // The click that closed the menu over the button must not open it again.
    MSG msg;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    if (rcButton.PtInRect(ptCursor))
      ::PeekMessageW(&msg, m_btnBrowse.GetSafeHwnd(), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE);
  }
  if (::IsWindow(m_btnBrowse.GetSafeHwnd())) m_btnBrowse.SetState(FALSE);
  m_bBrowsing = FALSE;
}
