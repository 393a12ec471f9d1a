// The main view: header, tool buttons, the wizard's tab window and the page messages.
#include "BrindleEmlConverterGuiView.h"

#include "1TovinWelcomeView.h"
#include "2TovinFolderTreeView.h"
#include "3TovinSaveNsfToPst.h"
#include "DrawHelpers.h"
#include "MainFrame.h"
#include "SystemResources.h"
#include "TabColorScheme.h"
#include "TabManagerItem.h"
#include "TabPainter.h"
#include "WizardMessages.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CBrindleEmlConverterGuiView, CView)

namespace {

const UINT IDC_WIZARD_TABS = 100;
const UINT IDC_TOOL_LOCATE_NSF = 4;
const UINT IDC_TOOL_HELP = 5;
const UINT IDC_TOOL_ABOUT = 6;
const UINT IDC_TOOL_CONVERT = 7;
const DWORD TOOL_BUTTON_STYLE = 0x50008000;
const DWORD TABS_STYLE = 0x56010000;
const DWORD PAGE_STYLE = 0x50000000;
const int INITIAL_HEADER_HEIGHT = 33;
const int PAGE_IMAGE = 58;

// The tab strip's header: a yellow edge around a white-to-cream gradient, with the first tab's caption
// written in blue.
class CWizardTabColorScheme : public CXTPTabColorSchemeDefault {
 public:
  void FillHeader(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) override {
    pDC->FillSolidRect(rc, 0x00FFFF);
    rc.DeflateRect(1, 1);
    DrawGradientRect(pDC, rc, RGB(255, 255, 255), 0xEFFEFF, FALSE);
    if (pTabManager->GetItemCount() < 1) return;
    const CString strCaption = pTabManager->GetItem(0)->GetCaption();
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(&GetSystemResources()->m_fontRegular);
    const COLORREF clrOld = pDC->SetTextColor(0xFF0000);
    pDC->TextOut(20, 4, strCaption);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
  }
};

}  // namespace

// The wizard's tab painter: shape set 7 with the header of CWizardTabColorScheme.
class CWizardTabPainter : public CXTPTabPainter {
 public:
  CWizardTabPainter() {
    SetShapeSet(7);
    SetPlainColors(FALSE);
    SetSchemeOption(FALSE);
    SetPosition(0);
    SetColorSchemeObject(new CWizardTabColorScheme());
  }
};

BEGIN_MESSAGE_MAP(CBrindleEmlConverterGuiView, CView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONDBLCLK()
ON_NOTIFY(TCN_SELCHANGE, IDC_WIZARD_TABS, OnTabSelChange)
ON_MESSAGE(WM_SELECT_WIZARD_PAGE, OnSelectPage)
ON_MESSAGE(WM_STOP_PROCESS, OnStopProcess)
ON_MESSAGE(WM_STOP_ENUMERATION, OnStopEnumeration)
ON_MESSAGE(WM_LOCATE_NSF, OnLocateNsf)
ON_MESSAGE(WM_SELECT_PST_FILE, OnSelectPstFile)
ON_MESSAGE(WM_SELECT_NSF_FILE, OnSelectNsfFile)
ON_MESSAGE(WM_EXPORT, OnExport)
ON_COMMAND(IDC_TOOL_LOCATE_NSF, OnLocateNsfButton)
ON_COMMAND(IDC_TOOL_HELP, OnHelpButton)
ON_COMMAND(IDC_TOOL_ABOUT, OnAboutButton)
ON_COMMAND(IDC_TOOL_CONVERT, OnConvertButton)
END_MESSAGE_MAP()

CBrindleEmlConverterGuiView::CBrindleEmlConverterGuiView()
    : m_nHeaderHeight(INITIAL_HEADER_HEIGHT), m_nHeaderWidth(0), m_pActivePage(nullptr) {}

CBrindleEmlConverterGuiView::~CBrindleEmlConverterGuiView() = default;

CMainFrame* CBrindleEmlConverterGuiView::GetMainFrameOfView() const {
  return DYNAMIC_DOWNCAST(CMainFrame, GetParentFrame());
}

int CBrindleEmlConverterGuiView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;

  struct ToolButton {
    CImageButton* pButton;
    UINT nID;
    int nNormal, nHot, nPressed;
    LPCTSTR lpszTip;
  };
  const ToolButton buttons[] = {
      {&m_btnLocateNsf, IDC_TOOL_LOCATE_NSF, IDB_TOOL_LOCATE, IDB_TOOL_LOCATE_HOT, IDB_TOOL_LOCATE_PRESSED,
       L"Click to locate .NSF File"},
      {&m_btnConvert, IDC_TOOL_CONVERT, IDB_TOOL_CONVERT, IDB_TOOL_CONVERT_HOT, IDB_TOOL_CONVERT_PRESSED,
       L"Convert NSF to PST"},
      {&m_btnHelp, IDC_TOOL_HELP, IDB_TOOL_HELP, IDB_TOOL_HELP_HOT, 0, L"Brindle for PST to NSF Help file"},
      {&m_btnAbout, IDC_TOOL_ABOUT, IDB_TOOL_ABOUT, IDB_TOOL_ABOUT_HOT, 0, L"About Brindle for PST to NSF"},
  };
  for (const ToolButton& button : buttons) {
    if (!button.pButton->Create(L"", TOOL_BUTTON_STYLE, CRect(0, 0, 0, 0), this, button.nID)) continue;
    button.pButton->SetBitmaps(button.nNormal, RGB(255, 255, 255), button.nHot, RGB(255, 255, 255),
                               button.nPressed);
    button.pButton->SetTooltipText(button.lpszTip, TRUE);
  }

  CreatePages();
  return 0;
}

BOOL CBrindleEmlConverterGuiView::CreatePages() {
  if (!m_wndTabs.Create(TABS_STYLE, CRect(0, 0, 200, 200), this, IDC_WIZARD_TABS)) return FALSE;
  m_wndTabs.SetPaintManager(new CWizardTabPainter());

  BOOL bAll = AddPage(RUNTIME_CLASS(C1TovinWelcomeView), L"", PAGE_IMAGE);
  bAll = AddPage(RUNTIME_CLASS(C2TovinFolderTreeView), L"Folder Selection", PAGE_IMAGE) && bAll;
  bAll = AddPage(RUNTIME_CLASS(C3TovinSaveNsfToPst), L"Savinf Progress", PAGE_IMAGE) && bAll;

  for (int i = 0; i < m_wndTabs.GetItemCount(); ++i) m_wndTabs.GetItem(i)->SetStateFlag(FALSE);
  m_wndTabs.SetPosition(2);

  if (CMainFrame* pFrame = GetMainFrameOfView()) pFrame->m_pMainView = this;
  return bAll;
}

BOOL CBrindleEmlConverterGuiView::AddPage(CRuntimeClass* pPageClass, LPCTSTR lpszCaption, int nImage) {
  CTovinCommonBaseView* pPage = nullptr;
  try {
    pPage = static_cast<CTovinCommonBaseView*>(pPageClass->CreateObject());
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  if (pPage == nullptr) return FALSE;
  const int nIndex = m_wndTabs.GetItemCount();
  CCreateContext context;
  context.m_pCurrentDoc = GetDocument();
  // A page that fails to be created has deleted itself.
  if (!pPage->Create(nullptr, nullptr, PAGE_STYLE, CRect(0, 0, 0, 0), &m_wndTabs, AFX_IDW_PANE_FIRST + nIndex,
                     &context)) {
    return FALSE;
  }
  m_wndTabs.InsertItem(nIndex, lpszCaption, pPage->GetSafeHwnd(), nImage);
  pPage->SetOwner(this);
  return TRUE;
}

CTovinCommonBaseView* CBrindleEmlConverterGuiView::GetPage(int nIndex) const {
  if (m_wndTabs.GetSafeHwnd() == nullptr || nIndex < 0 || nIndex >= m_wndTabs.GetItemCount()) return nullptr;
  CWnd* pWnd = CWnd::FromHandlePermanent(m_wndTabs.GetItem(nIndex)->GetHandle());
  return DYNAMIC_DOWNCAST(CTovinCommonBaseView, pWnd);
}

int CBrindleEmlConverterGuiView::GetSelectedPage() const {
  return m_wndTabs.GetSafeHwnd() != nullptr ? m_wndTabs.GetCurSel() : -1;
}

void CBrindleEmlConverterGuiView::StopPageWorkers() {
  for (int i = 0; i < m_wndTabs.GetItemCount(); ++i) {
    if (CTovinCommonBaseView* pPage = GetPage(i)) pPage->StopWorkers();
  }
}

void CBrindleEmlConverterGuiView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_wndTabs.GetSafeHwnd() != nullptr) {
    const int h = m_nHeaderHeight;
    if (h == 0) {
      m_wndTabs.MoveWindow(0, 70, cx, cy - 45);
    } else {
      m_wndTabs.MoveWindow(0, h, cx, cy + 25 - h);
    }
  }
  CImageButton* buttons[] = {&m_btnLocateNsf, &m_btnHelp, &m_btnAbout, &m_btnConvert};
  for (CImageButton* pButton : buttons) {
    if (pButton->GetSafeHwnd() != nullptr) pButton->MoveWindow(0, 0, 0, 0);
  }
}

BOOL CBrindleEmlConverterGuiView::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CBrindleEmlConverterGuiView::OnDraw(CDC* pDC) {
  // Loaded for this paint and released with it.
  CBitmap bmpHeader, bmpFill;
  if (!bmpHeader.LoadBitmap(IDB_HEADER) || !bmpFill.LoadBitmap(IDB_HEADER_FILL)) return;
  BITMAP header = {}, fill = {};
  bmpHeader.GetBitmap(&header);
  bmpFill.GetBitmap(&fill);

  CDC memDC;
  if (!memDC.CreateCompatibleDC(pDC)) return;
  CBitmap* pOld = memDC.SelectObject(&bmpHeader);
  pDC->BitBlt(0, 0, header.bmWidth, header.bmHeight, &memDC, 0, 0, SRCCOPY);
  m_nHeaderWidth = header.bmWidth;
  m_nHeaderHeight = header.bmHeight;

  CRect rcClient;
  GetClientRect(&rcClient);
  if (header.bmWidth < rcClient.Width()) {
    memDC.SelectObject(&bmpFill);
    pDC->StretchBlt(header.bmWidth - 5, 0, rcClient.Width(), header.bmHeight, &memDC, 0, 0, fill.bmWidth,
                    fill.bmHeight, SRCCOPY);
  }
  memDC.SelectObject(pOld);
}

void CBrindleEmlConverterGuiView::ActivateSelectedPage() {
  CTovinCommonBaseView* pPage = GetPage(GetSelectedPage());
  CFrameWnd* pFrame = GetParentFrame();
  if (pPage != nullptr && pFrame != nullptr) pFrame->SetActiveView(pPage);
}

void CBrindleEmlConverterGuiView::OnLButtonDown(UINT nFlags, CPoint point) {
  ActivateSelectedPage();
  CView::OnLButtonDown(nFlags, point);
}

void CBrindleEmlConverterGuiView::OnLButtonDblClk(UINT nFlags, CPoint point) {
  ActivateSelectedPage();
  CView::OnLButtonDblClk(nFlags, point);
}

void CBrindleEmlConverterGuiView::OnRButtonDown(UINT nFlags, CPoint point) {
  ActivateSelectedPage();
  CView::OnRButtonDown(nFlags, point);
}

void CBrindleEmlConverterGuiView::OnRButtonDblClk(UINT nFlags, CPoint point) {
  ActivateSelectedPage();
  CView::OnRButtonDblClk(nFlags, point);
}

void CBrindleEmlConverterGuiView::OnTabSelChange(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  *pResult = 0;
  const int nSelected = GetSelectedPage();
  CTovinCommonBaseView* pPage = GetPage(nSelected);
  if (pPage != nullptr) {
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SetActiveView(pPage, TRUE);
    m_pActivePage = pPage;
    pPage->SendMessage(WM_WIZARD_PAGE_ACTIVATED, 0, 0);
  }

  const BOOL bPageOne = nSelected == 0;
  if (m_btnLocateNsf.GetSafeHwnd() != nullptr) m_btnLocateNsf.EnableWindow(bPageOne);
  if (m_btnConvert.GetSafeHwnd() != nullptr) m_btnConvert.EnableWindow(bPageOne);
  CMainFrame* pFrame = GetMainFrameOfView();
  if (pFrame != nullptr) {
    if (bPageOne) {
      pFrame->EnableOpenCommand();
    } else {
      pFrame->DisableOpenCommand();
    }
  }

  // The tool buttons' tips show in the status bar and in the first tab's caption too.
  CWnd* pStatusBar = pFrame != nullptr && pFrame->m_wndStatusBar.GetSafeHwnd() != nullptr
                         ? &pFrame->m_wndStatusBar
                         : nullptr;
  CXTPTabManagerItem* pFirstItem = m_wndTabs.GetItemCount() > 0 ? m_wndTabs.GetItem(0) : nullptr;
  CImageButton* buttons[] = {&m_btnLocateNsf, &m_btnHelp, &m_btnAbout, &m_btnConvert};
  for (CImageButton* pButton : buttons) {
    if (pButton->GetSafeHwnd() != nullptr) pButton->SetTipTextPlaces(pStatusBar, pFirstItem);
  }
}

LRESULT CBrindleEmlConverterGuiView::OnSelectPage(WPARAM wParam, LPARAM /*lParam*/) {
  if (m_wndTabs.GetSafeHwnd() != nullptr) m_wndTabs.SetCurSel(static_cast<int>(wParam));
  return 0;
}

LRESULT CBrindleEmlConverterGuiView::OnStopProcess(WPARAM, LPARAM) {
  // Nothing to stop before the first page was shown.
  if (m_pActivePage != nullptr) m_pActivePage->OnStop();
  return 1;
}

LRESULT CBrindleEmlConverterGuiView::OnStopEnumeration(WPARAM, LPARAM) {
  if (m_pActivePage != nullptr && m_pActivePage->GetSafeHwnd() != nullptr)
    m_pActivePage->SendMessage(WM_STOP_ENUMERATION, 0, 0);
  return 1;
}

LRESULT CBrindleEmlConverterGuiView::OnLocateNsf(WPARAM, LPARAM) {
  OnLocateNsfButton();
  return 1;
}

BOOL CBrindleEmlConverterGuiView::ForwardToActivePage(int nIndex, UINT msg) {
  CTovinCommonBaseView* pPage = GetPage(nIndex);
  CFrameWnd* pFrame = GetParentFrame();
  if (pPage == nullptr || pFrame == nullptr || pFrame->GetActiveView() != pPage) return FALSE;
  pPage->SendMessage(msg, 0, 0);
  return TRUE;
}

LRESULT CBrindleEmlConverterGuiView::OnSelectPstFile(WPARAM, LPARAM) {
  ForwardToActivePage(0, WM_SELECT_PST_FILE);
  return 0;
}

LRESULT CBrindleEmlConverterGuiView::OnSelectNsfFile(WPARAM, LPARAM) {
  ForwardToActivePage(0, WM_SELECT_NSF_FILE);
  return 0;
}

LRESULT CBrindleEmlConverterGuiView::OnExport(WPARAM, LPARAM) {
  if (!ForwardToActivePage(0, WM_EXPORT)) ForwardToActivePage(1, WM_EXPORT);
  return 0;
}

void CBrindleEmlConverterGuiView::OnLocateNsfButton() {
  if (GetSelectedPage() != 0) return;
  if (C1TovinWelcomeView* pPage = DYNAMIC_DOWNCAST(C1TovinWelcomeView, GetPage(0))) pPage->OnLocateNsf();
}

void CBrindleEmlConverterGuiView::OnHelpButton() { CMainFrame::OpenHelpFile(); }

void CBrindleEmlConverterGuiView::OnAboutButton() {
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr) pApp->OnCmdMsg(ID_APP_ABOUT, CN_COMMAND, nullptr, nullptr);
}

void CBrindleEmlConverterGuiView::OnConvertButton() {
  if (GetSelectedPage() != 0) return;
  if (CTovinCommonBaseView* pPage = GetPage(0)) pPage->OnNext();
}
