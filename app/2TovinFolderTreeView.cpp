// The browser page's place in the wizard.
#include "2TovinFolderTreeView.h"

#include "MainFrame.h"
#include "SystemResources.h"

IMPLEMENT_DYNCREATE(C2TovinFolderTreeView, CTovinCommonBaseView)

namespace {

const wchar_t HEADING_TEXT[] = L"  Click any folder to view converted emails";
const COLORREF PANEL_FRAME = 0xCDC0AC;

}  // namespace

BEGIN_MESSAGE_MAP(C2TovinFolderTreeView, CTovinCommonBaseView)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

C2TovinFolderTreeView::C2TovinFolderTreeView() = default;

C2TovinFolderTreeView::~C2TovinFolderTreeView() = default;

void C2TovinFolderTreeView::OnInitialUpdate() {
  CTovinCommonBaseView::OnInitialUpdate();
  SetCurrentStep(1);
  HideExitButton();
  m_btnNext.SetWindowText(L"Export");
}

void C2TovinFolderTreeView::OnDraw(CDC* pDC) {
  CTovinCommonBaseView::OnDraw(pDC);
  CRect rcClient;
  GetClientRect(&rcClient);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  CFont* pOldFont = pDC->SelectObject(&GetSystemResources()->m_fontBold);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->TextOut(286, 20, HEADING_TEXT);
  pDC->SelectObject(pOldFont);
  pDC->SetBkMode(nOldMode);
  pDC->FillSolidRect(CRect(200, 50, rcClient.right, rcClient.bottom - 60), PANEL_FRAME);
}

void C2TovinFolderTreeView::OnBack() {
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->GoToPreviousPage(1);
}

BOOL C2TovinFolderTreeView::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }
