// The source page: the PST path, its checks, the Save Options dialog, and the NSF file list.
#include "1TovinWelcomeView.h"

#include <io.h>

#include "DominoFileSelectDlg.h"
#include "MainFrame.h"
#include "NsfSaveOptionsDlg.h"
#include "SystemResources.h"
#include "WizardMessages.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(C1TovinWelcomeView, CTovinCommonBaseView)

const wchar_t C1TovinWelcomeView::NO_PST_TEXT[] =
    L"Please select PST File to export by clicking [ Select PST File ] button";
const wchar_t C1TovinWelcomeView::INVALID_FILE_TEXT[] = L"Please enter valid file";
const wchar_t C1TovinWelcomeView::NOT_PST_TEXT[] = L"Please enter .PST file";
const wchar_t C1TovinWelcomeView::PATH_TOO_LONG_TEXT[] =
    L"The PST file path is too long to process (more than 259 characters), Please move the file to a "
    L"shorter path";

namespace {

const UINT IDC_PATH_FIELD = 1;
const UINT IDC_FILE_LIST = 1;
const UINT IDC_SELECT_PST = 400;
const UINT IDC_ADD_DOMINO = 500;
const UINT IDC_SELECT_NSF = 100;
const UINT IDC_REMOVE_FILE = 200;
const UINT IDC_REMOVE_ALL_FILES = 300;
const UINT IDC_OPTION = 100;
const UINT IDC_UNNAMED = 0xFFFF;
const UINT_PTR FOLLOW_TIMER = 1;

// Multi-line, and scrolling sideways as the user types so that a whole path fits (the field is one
// line high: without the scrolling it would stop taking characters once its box is full).
const DWORD PATH_FIELD_STYLE = 0x50810004 | ES_AUTOHSCROLL;
// The longest path the system's Unicode file functions take ("\\?\" form): a longer text is no path.
const UINT PATH_FIELD_LIMIT = 32767;
const DWORD ICON_STYLE = 0x50000003;
const DWORD FILE_LIST_STYLE = 0x50800809;
// Tab stops, as the common page's buttons are.
const DWORD BUTTON_STYLE = 0x50010000;
const DWORD OPTION_STYLE = 0x50000004;
// As the common page's buttons: the visual style, with the focus shown.
const DWORD XT_BUTTON_STYLE = 0x1010;

const wchar_t PST_FILTER[] = L"PST File(*.pst)|*.pst||";
const wchar_t NSF_FILTER[] = L"NSF File(*.nsf)|*.nsf||";
const wchar_t NSF_PROMPT_TEXT[] = L"Please Select existing nsf mail file";
const wchar_t HEADING_TEXT[] = L"  Select PST File to export by clicking [ Select PST File ] button";
const wchar_t DESCRIPTION_TEXT[] =
    L"Export Outlook PST to Lotus Notes NSF file in simple three steps: Select, Export and Save.\r\n\r\n"
    L"Export emails, contacts, deleted items, journals, calendars, appointments, notes, alarms, scheduled "
    L"tasks, sent items, outbox, tasks, drafts, junk emails, attachments, email properties, and orphan "
    L"folders of PST file to NSF file.";

// The PST field's text at the previous tick of the follow timer.
CString g_strLastPstText;

BOOL IsDirectory(const CString& strPath) {
  const DWORD dwAttributes = ::GetFileAttributesW(strPath);
  return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

CString UpperCase(CString str) {
  str.MakeUpper();
  return str;
}

}  // namespace

// ---- CPathEdit ------------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CPathEdit, CEdit)
ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

CPathEdit::CPathEdit() = default;

LRESULT CPathEdit::OnPaste(WPARAM, LPARAM) {
  if ((GetStyle() & ES_READONLY) != 0 || !::IsClipboardFormatAvailable(CF_UNICODETEXT) ||
      !::OpenClipboard(m_hWnd))
    return 0;
  CString strText;
  if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* pText = static_cast<LPCWSTR>(::GlobalLock(hData))) {
      strText = pText;
      ::GlobalUnlock(hData);
    }
  }
  ::CloseClipboard();
  strText.Remove(L'\r');
  strText.Remove(L'\n');
  ReplaceSel(strText, TRUE);
  return 0;
}

BOOL CPathEdit::CreatePathEdit(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!Create(dwStyle, rect, pParentWnd, nID)) return FALSE;
  SetLimitText(PATH_FIELD_LIMIT);
  if (!m_browse.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), this, IDC_UNNAMED)) return FALSE;
  m_browse.Initialize(this, BES_XT_CHOOSEFILE);
  m_browse.SetDlgFilter(m_strFilter);
  return TRUE;
}

void CPathEdit::SetFilter(LPCTSTR lpszFilter) {
  m_strFilter = lpszFilter;
  m_browse.SetDlgFilter(lpszFilter);
}

void CPathEdit::SetPath(LPCTSTR lpszPath) {
  SetWindowText(lpszPath);
  if (m_browse.GetSafeHwnd() != nullptr) m_browse.SetWindowText(lpszPath);
}

CString CPathEdit::GetPath() const {
  CString strPath;
  if (GetSafeHwnd() != nullptr) GetWindowText(strPath);
  return strPath;
}

void CPathEdit::Browse() {
  if (m_browse.GetSafeHwnd() == nullptr) return;
  // The dialog starts from what the user typed, and a cancel keeps it.
  m_browse.SetWindowText(GetPath());
  m_browse.ChooseFile();
  CString strChosen;
  m_browse.GetWindowText(strChosen);
  SetPath(strChosen);
}

// ---- C1TovinWelcomeView -----------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(C1TovinWelcomeView, CTovinCommonBaseView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_TIMER()
ON_MESSAGE(WM_OPTION_CLICKED, OnSourceOption)
ON_COMMAND(IDC_SELECT_PST, OnSelectPstButton)
ON_COMMAND(IDC_SELECT_NSF, OnSelectNsfButton)
ON_COMMAND(IDC_ADD_DOMINO, OnAddDominoFiles)
ON_COMMAND(IDC_REMOVE_FILE, OnRemoveFile)
ON_COMMAND(IDC_REMOVE_ALL_FILES, OnRemoveAllFiles)
ON_MESSAGE(WM_SELECT_PST_FILE, OnSelectPstFile)
ON_MESSAGE(WM_SELECT_NSF_FILE, OnSelectNsfFile)
ON_MESSAGE(WM_EXPORT, OnExport)
END_MESSAGE_MAP()

C1TovinWelcomeView::C1TovinWelcomeView()
    : m_brushWhite(RGB(255, 255, 255)), m_nSourceOption(OPTION_EXISTING_NSF), m_pSystemImageList(nullptr) {}

C1TovinWelcomeView::~C1TovinWelcomeView() {
  if (CMainFrame* pFrame = GetMainFrame()) {
    if (pFrame->m_pSystemImageList == m_pSystemImageList) pFrame->m_pSystemImageList = nullptr;
  }
  m_imlSystem.Detach();
}

int C1TovinWelcomeView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CTovinCommonBaseView::OnCreate(lpCreateStruct) == -1) return -1;
  CFont* pFont = &GetSystemResources()->m_fontRegular;

  m_editPst.m_strFilter = PST_FILTER;
  m_editNsf.m_strFilter = NSF_FILTER;
  m_editPst.CreatePathEdit(PATH_FIELD_STYLE, CRect(0, 0, 0, 0), this, IDC_PATH_FIELD);
  m_editNsf.CreatePathEdit(PATH_FIELD_STYLE, CRect(0, 0, 0, 0), this, IDC_PATH_FIELD);
  m_editPst.SetFilter(PST_FILTER);
  m_editNsf.SetFilter(NSF_FILTER);
  m_editPst.SetFont(pFont);
  m_editNsf.SetFont(pFont);

  m_iconPst.Create(nullptr, ICON_STYLE, CRect(0, 0, 0, 0), this, IDC_UNNAMED);
  m_iconNsf.Create(nullptr, ICON_STYLE, CRect(0, 0, 0, 0), this, IDC_UNNAMED);
  m_iconPst.SetIcon(AfxGetApp()->LoadIcon(IDI_SOURCE_PST));
  m_iconNsf.SetIcon(AfxGetApp()->LoadIcon(IDI_SOURCE_NSF));

  // The list shows the shell's own small icons and must not destroy their list.
  m_listFiles.Create(FILE_LIST_STYLE | LVS_SHAREIMAGELISTS, CRect(0, 0, 0, 0), this, IDC_FILE_LIST);
  if (HIMAGELIST hSystem = m_shellIcons.GetSystemImageList(TRUE)) {
    m_imlSystem.Attach(hSystem);
    m_pSystemImageList = &m_imlSystem;
    m_listFiles.SetImageList(&m_imlSystem, LVSIL_SMALL);
  }

  m_btnSelectPst.Create(L"Select PST File", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_SELECT_PST);
  m_btnAddDomino.Create(L"Add Domino File(s)", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_ADD_DOMINO);
  m_btnSelectNsf.Create(L"Select NSF File", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_SELECT_NSF);
  m_btnRemove.Create(L"Remove File", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_REMOVE_FILE);
  m_btnRemoveAll.Create(L"Remove  All Files", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_REMOVE_ALL_FILES);

  m_optExisting.m_nOptionType = OPTION_EXISTING_NSF;
  m_optNew.m_nOptionType = OPTION_NEW_NSF;
  m_optExisting.Create(L"Select this option to Save in existing Nsf file", OPTION_STYLE, CRect(0, 0, 0, 0),
                       this, IDC_OPTION);
  m_optNew.Create(L"Select this option to Save in new Nsf file", OPTION_STYLE, CRect(0, 0, 0, 0), this,
                  IDC_OPTION);
  m_optExisting.SetCheck(1);

  m_listFiles.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
  m_listFiles.InsertColumn(0, L"File Path", LVCFMT_LEFT, 500);
  m_listFiles.InsertColumn(1, L"Server", LVCFMT_LEFT, 500);
  return 0;
}

void C1TovinWelcomeView::OnInitialUpdate() {
  CTovinCommonBaseView::OnInitialUpdate();
  struct PageButton {
    CXTButton* pButton;
    UINT nIcon;
  };
  const PageButton buttons[] = {{&m_btnSelectPst, IDI_SELECT_FILE},
                                {&m_btnSelectNsf, IDI_SELECT_FILE},
                                {&m_btnAddDomino, IDI_SELECT_FILE},
                                {&m_btnRemove, IDI_REMOVE_FILE},
                                {&m_btnRemoveAll, IDI_REMOVE_ALL_FILES}};
  CFont* pFont = &GetSystemResources()->m_fontRegular;
  for (const PageButton& button : buttons) {
    if (button.pButton->GetSafeHwnd() == nullptr) continue;
    button.pButton->SetXButtonStyle(XT_BUTTON_STYLE, TRUE);
    button.pButton->SetFontEx(pFont);
    button.pButton->SetIcon(CSize(16, 16), button.nIcon);
  }
  m_optExisting.SetFont(pFont);
  m_optNew.SetFont(pFont);
  SetCurrentStep(0);
  HideStopButton();
  HideExitButton();
  m_btnNext.SetWindowText(L"Export");
}

void C1TovinWelcomeView::OnSize(UINT nType, int cx, int cy) {
  CTovinCommonBaseView::OnSize(nType, cx, cy);
  if (m_editPst.GetSafeHwnd() == nullptr) return;
  CWnd* hidden[] = {&m_btnSelectNsf, &m_btnAddDomino, &m_btnRemove, &m_btnRemoveAll, &m_optExisting,
                    &m_optNew,       &m_listFiles,    &m_iconPst,   &m_iconNsf,      &m_editNsf};
  for (CWnd* pWnd : hidden) {
    if (pWnd->GetSafeHwnd() != nullptr) pWnd->MoveWindow(0, 0, 0, 0);
  }
  m_editPst.MoveWindow(CRect(280, cy / 2 - 60, cx - 150, cy / 2 - 35));
  m_btnSelectPst.MoveWindow(CRect(cx - 130, cy / 2 - 60, cx - 20, cy / 2 - 35));
}

BOOL C1TovinWelcomeView::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void C1TovinWelcomeView::OnDraw(CDC* pDC) {
  CTovinCommonBaseView::OnDraw(pDC);
  CRect rcClient;
  GetClientRect(&rcClient);
  const int h = rcClient.Height() / 2;
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);

  CPen pen(PS_SOLID, 1, 0x00FFFF);
  CPen* pOldPen = pDC->SelectObject(&pen);
  pDC->MoveTo(276, h - 80);
  pDC->LineTo(rcClient.right - 20, h - 80);
  pDC->SelectObject(pOldPen);

  // Loaded for this paint and released with it.
  CDC memDC;
  const BOOL bMemDC = memDC.CreateCompatibleDC(pDC);
  auto drawBitmap = [&](UINT nID, int x, int y) {
    CBitmap bitmap;
    if (!bMemDC || !bitmap.LoadBitmap(nID)) return;
    BITMAP bm = {};
    bitmap.GetBitmap(&bm);
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    pDC->BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
  };
  drawBitmap(IDB_PAGE_PST, 210, h - 120);

  CXTSystemResources* pResources = GetSystemResources();
  CFont* pOldFont = pDC->SelectObject(&pResources->m_fontBold);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->TextOut(276, h - 100, HEADING_TEXT);
  drawBitmap(IDB_PAGE_STEPS, 210, h);
  pDC->SelectObject(&pResources->m_fontRegular);
  CRect rcText(290, h, rcClient.right - 30, rcClient.bottom - 50);
  pDC->DrawText(DESCRIPTION_TEXT, rcText, DT_WORDBREAK | DT_NOPREFIX);
  pDC->SelectObject(pOldFont);
  pDC->SetBkMode(nOldMode);
}

HBRUSH C1TovinWelcomeView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if ((nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_MSGBOX) && pWnd != nullptr &&
      pWnd->GetDlgCtrlID() == IDC_OPTION) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(RGB(255, 255, 255));
    return static_cast<HBRUSH>(m_brushWhite.GetSafeHandle());
  }
  return CTovinCommonBaseView::OnCtlColor(pDC, pWnd, nCtlColor);
}

LRESULT C1TovinWelcomeView::OnPageActivated(WPARAM, LPARAM) {
  HideStopButton();
  HideBackButton();
  SetCurrentStep(0);
  KillTimer(FOLLOW_TIMER);
  SetTimer(FOLLOW_TIMER, 500, nullptr);
  return 1;
}

void C1TovinWelcomeView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == FOLLOW_TIMER) {
    const CString strPath = m_editPst.GetPath();
    if (strPath != g_strLastPstText) {
      FollowPstField();
      g_strLastPstText = strPath;
    }
  }
  CTovinCommonBaseView::OnTimer(nIDEvent);
}

void C1TovinWelcomeView::FollowPstField() {
  SetCurrentStep(m_editPst.GetPath().IsEmpty() ? 0 : 1);
  Invalidate();
}

void C1TovinWelcomeView::HandOverSystemImageList() {
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->m_pSystemImageList = m_pSystemImageList;
}

void C1TovinWelcomeView::OnNext() {
  const CString strPstPath = CNsfSaveOptionsDlg::TypedPath(m_editPst.GetPath());
  if (strPstPath.IsEmpty()) {
    AfxMessageBox(NO_PST_TEXT, MB_OK);
    return;
  }
  HandOverSystemImageList();
  // The PST is opened by its plain path, which the system takes up to MAX_PATH - 1 characters.
  if (strPstPath.GetLength() >= MAX_PATH) {
    AfxMessageBox(PATH_TOO_LONG_TEXT, MB_OK);
    return;
  }
  if (_waccess(strPstPath, 0) != 0 || IsDirectory(strPstPath)) {
    AfxMessageBox(INVALID_FILE_TEXT, MB_OK);
    return;
  }
  if (UpperCase(strPstPath).Find(L".PST") < 0) {
    AfxMessageBox(NOT_PST_TEXT, MB_OK);
    return;
  }
  m_editNsf.SetPath(NSF_PROMPT_TEXT);

  CNsfSaveOptionsDlg dlgOptions;
  if (dlgOptions.DoModal() != IDOK) return;
  CString strTarget = dlgOptions.m_strExistingPath;
  if (strTarget.IsEmpty())
    strTarget = CNsfSaveOptionsDlg::NewFilePath(dlgOptions.m_strFolder, dlgOptions.m_strFileName, L".NSF");

  CMainFrame* pFrame = GetMainFrame();
  if (pFrame == nullptr) return;
  pFrame->SetTargetNsf(strTarget, dlgOptions.m_bTextFormat);
  pFrame->m_bSourceChosen = 1;
  pFrame->SetSourcePath(strPstPath);
  pFrame->GoToPage(1);
}

void C1TovinWelcomeView::OnPreview() {
  HandOverSystemImageList();
  const int nRow = m_listFiles.GetSelectionMark();
  if (nRow < 0) {
    AfxMessageBox(L"Please select file from list to see preview", MB_OK);
    return;
  }
  const CString strServer = m_listFiles.GetItemText(nRow, 1);
  if (!strServer.IsEmpty()) {
    AfxMessageBox(
        L"The preview is not available for Domino server files,\r\n Please select any other file which "
        L"does not belong to Domino Server and press Preview button",
        MB_OK);
    return;
  }
  const CString strPath = m_listFiles.GetItemText(nRow, 0);
  if (UpperCase(strPath).Find(L".NSF") < 0) {
    AfxMessageBox(L"Please enter .NSF file", MB_OK);
    return;
  }
  CMainFrame* pFrame = GetMainFrame();
  if (pFrame == nullptr) return;
  pFrame->m_bSourceChosen = 1;
  pFrame->SetSourcePath(strPath);
  pFrame->SetSourceServer(strServer);
  pFrame->GoToPage(0);
}

void C1TovinWelcomeView::OnLocateNsf() {
  if (m_nSourceOption == OPTION_EXISTING_NSF) {
    m_editPst.Browse();
  } else {
    m_editNsf.Browse();
  }
}

BOOL C1TovinWelcomeView::IsFileListed(const CString& strPath, const CString& strServer) {
  for (int i = 0; i < m_listFiles.GetItemCount(); ++i) {
    if (m_listFiles.GetItemText(i, 0) == strPath && m_listFiles.GetItemText(i, 1) == strServer) return TRUE;
  }
  return FALSE;
}

void C1TovinWelcomeView::AddDominoFiles(const CString& strServer, const CStringArray& arrPaths) {
  for (INT_PTR i = 0; i < arrPaths.GetSize(); ++i) {
    const CString& strPath = arrPaths[i];
    if (IsFileListed(strPath, strServer)) continue;
    const int nRow = m_listFiles.InsertItem(0, strPath, m_shellIcons.GetIconIndex(strPath, TRUE));
    m_listFiles.SetItemText(nRow, 1, strServer);
  }
}

LRESULT C1TovinWelcomeView::OnSourceOption(WPARAM /*wParam*/, LPARAM lParam) {
  const int nType = static_cast<int>(lParam);
  if (nType != OPTION_EXISTING_NSF && nType != OPTION_NEW_NSF) return 1;
  m_nSourceOption = nType;
  const BOOL bList = nType == OPTION_NEW_NSF;
  CWnd* listSide[] = {&m_listFiles, &m_btnAddDomino, &m_btnSelectNsf, &m_btnRemove, &m_btnRemoveAll};
  for (CWnd* pWnd : listSide) pWnd->EnableWindow(bList);
  m_editPst.EnableWindow(!bList);
  m_btnSelectPst.EnableWindow(!bList);
  m_optExisting.SendMessage(BM_SETCHECK, 0, 0);
  m_optNew.SendMessage(BM_SETCHECK, 0, 0);
  return 1;
}

void C1TovinWelcomeView::OnSelectPstButton() { m_editPst.Browse(); }

void C1TovinWelcomeView::OnSelectNsfButton() { m_editNsf.Browse(); }

// Each Add in the dialog puts the ticked files of one server into the list (AddDominoFiles).
void C1TovinWelcomeView::OnAddDominoFiles() {
  CDominoFileSelectDlg dlg;
  dlg.m_pSourcePage = this;
  dlg.DoModal();
}

void C1TovinWelcomeView::OnRemoveFile() {
  BOOL bRemoved = FALSE;
  for (int i = 0; i < m_listFiles.GetItemCount();) {
    if (m_listFiles.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) {
      m_listFiles.DeleteItem(i);
      bRemoved = TRUE;
    } else {
      ++i;
    }
  }
  if (!bRemoved) AfxMessageBox(L"Please select file to remove", MB_OK);
}

void C1TovinWelcomeView::OnRemoveAllFiles() { m_listFiles.DeleteAllItems(); }

LRESULT C1TovinWelcomeView::OnSelectPstFile(WPARAM, LPARAM) {
  m_editPst.Browse();
  FollowPstField();
  return 1;
}

LRESULT C1TovinWelcomeView::OnSelectNsfFile(WPARAM, LPARAM) {
  m_editNsf.Browse();
  return 1;
}

LRESULT C1TovinWelcomeView::OnExport(WPARAM, LPARAM) {
  OnNext();
  return 1;
}
