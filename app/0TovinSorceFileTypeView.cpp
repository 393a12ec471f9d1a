// The source type page: its heading, icon and two options, the choice handed to the main frame, and
// the server-search stop.
#include "0TovinSorceFileTypeView.h"

#include "MainFrame.h"
#include "SystemResources.h"
#include "WizardMessages.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(C0TovinSorceFileTypeView, CTovinCommonBaseView)

CMainFrame* g_pSourceTypeFrame = nullptr;

namespace {

const UINT IDC_OPTION = 100;
const UINT IDC_ICON_STATIC = 0xFFFF;
const DWORD OPTION_STYLE = 0x50000004;
const DWORD ICON_STYLE = 0x50000003;

const COLORREF RULE_COLOUR = 0x2BDFFF;
const wchar_t HEADING_TEXT[] = L"  Please select appropriate option ";
const wchar_t DOMINO_OPTION_TEXT[] = L"Select this option to convert domino server mail box";
const wchar_t NSF_OPTION_TEXT[] = L"Select this option to convert NSF file(s)";

}  // namespace

BEGIN_MESSAGE_MAP(C0TovinSorceFileTypeView, CTovinCommonBaseView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CTLCOLOR()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_OPTION_CLICKED, OnSourceOption)
ON_MESSAGE(WM_STOP_ENUMERATION, OnStopEnumeration)
END_MESSAGE_MAP()

// The NSF option starts checked, and Next takes every value but the Domino one as the NSF choice.
C0TovinSorceFileTypeView::C0TovinSorceFileTypeView()
    : m_brushWhite(RGB(255, 255, 255)), m_nSourceOption(SOURCE_NSF_FILES), m_hThread(nullptr) {}

C0TovinSorceFileTypeView::~C0TovinSorceFileTypeView() {
  if (m_hThread != nullptr) {
    // Until it has ended, however long that takes: a worker ended from outside may hold the Notes
    // library's locks, and one let go may still use this page. The wait offers to end the program once
    // it lasts too long.
    WaitForWorkerToEnd(GetMainFrame(), m_hThread, SERVER_SEARCH_WAIT_TEXT);
    m_hThread = nullptr;
  }
}

int C0TovinSorceFileTypeView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CTovinCommonBaseView::OnCreate(lpCreateStruct) == -1) return -1;
  const CRect rcOption(10, 10, 100, 30);
  m_optDomino.Create(DOMINO_OPTION_TEXT, OPTION_STYLE, rcOption, this, IDC_OPTION);
  m_optNsf.Create(NSF_OPTION_TEXT, OPTION_STYLE, rcOption, this, IDC_OPTION);
  CFont* pBold = &GetSystemResources()->m_fontBold;
  m_optDomino.SetFont(pBold, TRUE);
  m_optNsf.SetFont(pBold, TRUE);
  m_iconStatic.Create(L"", ICON_STYLE, CRect(0, 0, 0, 0), this, IDC_ICON_STATIC);
  m_iconStatic.SetIcon(AfxGetApp()->LoadIcon(IDI_SOURCE_TYPE));
  m_optNsf.m_nOptionType = SOURCE_NSF_FILES;
  m_optDomino.m_nOptionType = SOURCE_DOMINO_MAILBOX;
  m_optNsf.SetCheck(1);
  return 0;
}

void C0TovinSorceFileTypeView::OnInitialUpdate() {
  CTovinCommonBaseView::OnInitialUpdate();
  HideStopButton();
  HideBackButton();
  SetCurrentStep(0);
}

void C0TovinSorceFileTypeView::OnSize(UINT nType, int cx, int cy) {
  CTovinCommonBaseView::OnSize(nType, cx, cy);
  if (m_iconStatic.GetSafeHwnd() == nullptr) return;
  m_iconStatic.MoveWindow(256, 58, 32, 32, TRUE);
  m_optNsf.MoveWindow(342, 130, cx - 362, 20, TRUE);
  m_optDomino.MoveWindow(342, 180, cx - 362, 20, TRUE);
}

BOOL C0TovinSorceFileTypeView::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void C0TovinSorceFileTypeView::OnDraw(CDC* pDC) {
  CTovinCommonBaseView::OnDraw(pDC);
  CRect rcClient;
  GetClientRect(&rcClient);

  CPen rule(PS_SOLID, 1, RULE_COLOUR);
  CPen* pOldPen = pDC->SelectObject(&rule);
  pDC->MoveTo(220, 100);
  pDC->LineTo(rcClient.right - 20, 100);
  pDC->SelectObject(pOldPen);

  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
  CFont* pOldFont = pDC->SelectObject(&GetSystemResources()->m_fontBold);
  pDC->TextOut(306, 70, HEADING_TEXT);
  pDC->SelectObject(pOldFont);
  pDC->SetTextColor(crOldText);
  pDC->SetBkMode(nOldMode);

  // The picture is drawn only where the program has one of that number.
  CBitmap picture;
  if (picture.LoadBitmap(IDB_SOURCE_TYPE)) {
    BITMAP info = {};
    picture.GetBitmap(&info);
    CDC memDC;
    if (memDC.CreateCompatibleDC(pDC)) {
      CBitmap* pOldBitmap = memDC.SelectObject(&picture);
      pDC->BitBlt(280, 120, info.bmWidth, info.bmHeight, &memDC, 0, 0, SRCCOPY);
      memDC.SelectObject(pOldBitmap);
    }
  }
}

HBRUSH C0TovinSorceFileTypeView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if ((nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_MSGBOX) && pWnd != nullptr &&
      pWnd->GetDlgCtrlID() == IDC_OPTION) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(RGB(255, 255, 255));
    return static_cast<HBRUSH>(m_brushWhite.GetSafeHandle());
  }
  return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

// Both options are unchecked here; the clicked option then toggles itself to checked.
LRESULT C0TovinSorceFileTypeView::OnSourceOption(WPARAM /*wParam*/, LPARAM lParam) {
  if (lParam == SOURCE_NSF_FILES) {
    m_nSourceOption = SOURCE_NSF_FILES;
    m_optNsf.SetCheck(0);
    m_optDomino.SetCheck(0);
  } else if (lParam == SOURCE_DOMINO_MAILBOX) {
    m_nSourceOption = SOURCE_DOMINO_MAILBOX;
    m_optDomino.SetCheck(0);
    m_optNsf.SetCheck(0);
  }
  return 1;
}

void C0TovinSorceFileTypeView::OnNext() {
  CMainFrame* pFrame = GetMainFrame();
  if (pFrame == nullptr) return;
  if (m_nSourceOption == SOURCE_DOMINO_MAILBOX) {
    g_pSourceTypeFrame = pFrame;
    pFrame->m_nSourceType = SOURCE_DOMINO_MAILBOX;
  } else {
    pFrame->m_nSourceType = SOURCE_NSF_FILES;
  }
  pFrame->GoToPage(0);
}

void C0TovinSorceFileTypeView::OnExit() {
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->SendMessage(WM_CLOSE, 0, 0);
}

LRESULT C0TovinSorceFileTypeView::OnStopEnumeration(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (AfxMessageBox(STOP_CURRENT_PROCESS_QUESTION, MB_YESNO) == IDYES && g_pSourceTypeFrame != nullptr) {
    g_pSourceTypeFrame->SetStopFlags(1);
  }
  return 1;
}
