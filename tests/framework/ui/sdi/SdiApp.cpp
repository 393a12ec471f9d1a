// A single-document framework program: document template, frame, view and a status bar laid out
// by the frame. It checks its own state when it ends and exits with the number of failed checks;
// the test that starts it takes the screenshot and closes it.
#include <afxwin.h>

#include "resource.h"

namespace {

int g_failures = 0;
void Check(bool condition) {
  if (!condition) ++g_failures;
}

class CSdiDoc : public CDocument {
  DECLARE_DYNCREATE(CSdiDoc)
};
IMPLEMENT_DYNCREATE(CSdiDoc, CDocument)

class CSdiView : public CView {
  DECLARE_DYNCREATE(CSdiView)

 public:
  static int initialUpdates;
  void OnInitialUpdate() override {
    ++initialUpdates;
    CView::OnInitialUpdate();
  }
  void OnDraw(CDC* pDC) override {
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(250, 250, 235));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(20, 60, 140));
    pDC->DrawText(L"SDI view of " + GetDocument()->GetTitle(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
};
IMPLEMENT_DYNCREATE(CSdiView, CView)
int CSdiView::initialUpdates = 0;

// The status line: one pane showing the window text the frame's message strings put there.
class CStatusLine : public CControlBar {
 public:
  BOOL Create(CWnd* pParent) {
    m_dwStyle = CBRS_BOTTOM;
    return CWnd::Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pParent, AFX_IDW_STATUS_BAR);
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return CSize(32767, bHorz ? 22 : 32767); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  void DoPaint(CDC* pDC) override {
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    CString text;
    GetWindowText(text);
    rect.DeflateRect(4, 0);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(text, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
};

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CStatusLine status;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    return status.Create(this) ? 0 : -1;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class CSdiApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CSdiDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CSdiView)));
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) return FALSE;
    m_pMainWnd->SetWindowPos(nullptr, 20, 20, 480, 320, SWP_NOZORDER);
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->SendMessage(WM_POPMESSAGESTRING, 0, 0);
    m_pMainWnd->UpdateWindow();
    CheckLayout();
    return TRUE;
  }

  int ExitInstance() override { return CWinApp::ExitInstance() + g_failures; }

 private:
  void CheckLayout() {
    CMainFrame* pFrame = DYNAMIC_DOWNCAST(CMainFrame, m_pMainWnd);
    Check(pFrame != nullptr);
    if (pFrame == nullptr) return;
    CView* pView = pFrame->GetActiveView();
    Check(pView != nullptr && pView->IsKindOf(RUNTIME_CLASS(CSdiView)));
    Check(pFrame->GetActiveDocument() != nullptr &&
          pFrame->GetActiveDocument()->IsKindOf(RUNTIME_CLASS(CSdiDoc)));
    Check(CSdiView::initialUpdates == 1);
    CString text;
    pFrame->status.GetWindowText(text);
    Check(text == L"Ready");
    // The bar takes the bottom edge and the view exactly the rest.
    CRect client, bar, view;
    pFrame->GetClientRect(&client);
    pFrame->status.GetWindowRect(&bar);
    pFrame->ScreenToClient(&bar);
    Check(bar == CRect(0, client.bottom - 22, client.right, client.bottom));
    if (pView != nullptr) {
      pView->GetWindowRect(&view);
      pFrame->ScreenToClient(&view);
      Check(view.bottom == bar.top && view.top == 0);
    }
  }
};

CSdiApp theApp;

}  // namespace
