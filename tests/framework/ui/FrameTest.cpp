// Single-document frames: template, document, frame and view created together, the first update
// of every view below the frame, command routing view -> document -> frame, menu updates, the
// title, layout, reading a document through Serialize, and the document going with its frame.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "UiTestApp.h"
#include "WindowTest.h"
#include "resource.h"

namespace {

int g_docsAlive = 0;

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)

 public:
  CTestDoc() { ++g_docsAlive; }
  ~CTestDoc() override { --g_docsAlive; }
  CString m_text;
  int docCommands = 0;
  BOOL enableDocCommand = TRUE;

  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_text;
    } else {
      ar >> m_text;
    }
  }

 protected:
  afx_msg void OnDocCommand() { ++docCommands; }
  afx_msg void OnUpdateDocCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(enableDocCommand); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
ON_COMMAND(ID_DOC_COMMAND, OnDocCommand)
ON_UPDATE_COMMAND_UI(ID_DOC_COMMAND, OnUpdateDocCommand)
END_MESSAGE_MAP()

// A view below a plain child window, as pages sit below a tab window.
class CInnerView : public CView {
  DECLARE_DYNCREATE(CInnerView)

 public:
  int initialUpdates = 0;
  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override { ++initialUpdates; }
};

IMPLEMENT_DYNCREATE(CInnerView, CView)

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)

 public:
  int initialUpdates = 0;
  int draws = 0;
  int viewCommands = 0;
  CWnd holder;
  CInnerView* pInner = nullptr;

  void OnDraw(CDC* pDC) override {
    ++draws;
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(250, 240, 200));
    pDC->TextOut(10, 10, GetDocument() != nullptr ? static_cast<LPCWSTR>(GetDocument()->GetTitle()) : L"-");
  }
  void OnInitialUpdate() override {
    ++initialUpdates;
    CView::OnInitialUpdate();
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CView::OnCreate(lpcs) == -1) return -1;
    if (!holder.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 40, 100, 100), this, 1)) return -1;
    pInner = new CInnerView;  // deletes itself with its window
    if (!pInner->Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 50, 50), &holder, 2)) return -1;
    return 0;
  }
  afx_msg void OnViewCommand() { ++viewCommands; }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
ON_WM_CREATE()
ON_COMMAND(ID_VIEW_COMMAND, OnViewCommand)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
};

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_docsAlive = 0;
    pTemplate = new CSingleDocTemplate(IDR_TESTDOC, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                       RUNTIME_CLASS(CTestView));
  }
  void TearDown() override {
    CWnd* pMain = theTestApp.m_pMainWnd;
    if (pMain != nullptr) pMain->DestroyWindow();
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    theTestApp.m_pMainWnd = nullptr;
    delete pTemplate;
  }

  CTestDoc* OpenNew() { return static_cast<CTestDoc*>(pTemplate->OpenDocumentFile(nullptr)); }

  static CTestView* ViewOf(CDocument* pDoc) {
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != nullptr ? static_cast<CTestView*>(pDoc->GetNextView(pos)) : nullptr;
  }

  CSingleDocTemplate* pTemplate = nullptr;
};

TEST_F(FrameTest, NewDocumentGetsFrameViewAndTitle) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CTestView* pView = ViewOf(pDoc);
  ASSERT_NE(pView, nullptr);
  CFrameWnd* pFrame = pView->GetParentFrame();
  ASSERT_NE(pFrame, nullptr);
  EXPECT_EQ(theTestApp.m_pMainWnd, pFrame);
  EXPECT_EQ(pFrame->GetActiveView(), pView);
  EXPECT_EQ(pFrame->GetActiveDocument(), pDoc);
  EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(pDoc->GetTitle(), L"Report");
  CString title;
  pFrame->GetWindowText(title);
  EXPECT_EQ(title, L"Report - Frame Test");
  CString docString;
  EXPECT_TRUE(pTemplate->GetDocString(docString, CDocTemplate::filterExt));
  EXPECT_EQ(docString, L".rpt");
}

TEST_F(FrameTest, EveryViewBelowTheFrameGetsItsInitialUpdateOnce) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CTestView* pView = ViewOf(pDoc);
  EXPECT_EQ(pView->initialUpdates, 1);
  ASSERT_NE(pView->pInner, nullptr);
  EXPECT_EQ(pView->pInner->initialUpdates, 1);
  EXPECT_EQ(pView->pInner->GetDocument(), nullptr);  // created by hand, not attached
}

TEST_F(FrameTest, ViewFillsTheClientAreaAndDraws) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CTestView* pView = ViewOf(pDoc);
  CFrameWnd* pFrame = pView->GetParentFrame();
  pFrame->MoveWindow(20, 20, 420, 300);
  CRect client;
  pFrame->GetClientRect(&client);
  CRect viewRect;
  pView->GetWindowRect(&viewRect);
  pFrame->ScreenToClient(&viewRect);
  EXPECT_EQ(viewRect, client);
  pFrame->UpdateWindow();
  testsupport::PumpUntil([&] { return pView->draws > 0; }, 3000);
  EXPECT_GT(pView->draws, 0);
  testsupport::SaveWindowPng(pFrame->m_hWnd, L"framework_ui_sdi_frame.png");
}

TEST_F(FrameTest, TheStatusBarMadeAfterTheFrameSaysTheIdlePrompt) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CFrameWnd* pFrame = ViewOf(pDoc)->GetParentFrame();
  // As a frame makes its status bar in its own creation, after the framework's part.
  CWnd status;
  ASSERT_TRUE(
      status.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), pFrame, AFX_IDW_STATUS_BAR));
  CString text;
  testsupport::PumpUntil([&] {
    status.GetWindowText(text);
    return text == L"Ready";
  });
  EXPECT_EQ(text, L"Ready");
}

TEST_F(FrameTest, CommandsRouteThroughViewAndDocument) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CTestView* pView = ViewOf(pDoc);
  CFrameWnd* pFrame = pView->GetParentFrame();
  pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_DOC_COMMAND, 0), 0);
  pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_COMMAND, 0), 0);
  EXPECT_EQ(pDoc->docCommands, 1);
  EXPECT_EQ(pView->viewCommands, 1);

  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(pFrame->OnCmdMsg(ID_DOC_COMMAND, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, pDoc);
  EXPECT_TRUE(pFrame->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &theTestApp);
  EXPECT_FALSE(pFrame->OnCmdMsg(ID_UNHANDLED_COMMAND, CN_COMMAND, nullptr, &info));
}

TEST_F(FrameTest, MenuPopupIsUpdatedFromTheHandlers) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CFrameWnd* pFrame = ViewOf(pDoc)->GetParentFrame();
  HMENU hEdit = ::GetSubMenu(::GetMenu(pFrame->m_hWnd), 0);
  ASSERT_NE(hEdit, nullptr);
  pDoc->enableDocCommand = FALSE;
  pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hEdit), 0);
  EXPECT_TRUE(::GetMenuState(hEdit, 0, MF_BYPOSITION) & MF_GRAYED);   // handler said no
  EXPECT_FALSE(::GetMenuState(hEdit, 1, MF_BYPOSITION) & MF_GRAYED);  // has a command handler
  EXPECT_TRUE(::GetMenuState(hEdit, 3, MF_BYPOSITION) & MF_GRAYED);   // no handler at all
  pDoc->enableDocCommand = TRUE;
  pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hEdit), 0);
  EXPECT_FALSE(::GetMenuState(hEdit, 0, MF_BYPOSITION) & MF_GRAYED);

  CString prompt;
  pFrame->GetMessageString(ID_DOC_COMMAND, prompt);
  EXPECT_EQ(prompt, L"Runs the document command");
}

TEST_F(FrameTest, OpeningAFileReadsTheDocumentThroughSerialize) {
  testsupport::TempDir dir;
  CString path = CString(dir.Path().c_str()) + L"\\saved.rpt";
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << CString(L"stored text");
    ar.Close();
    file.Close();
  }
  CTestDoc* pDoc = static_cast<CTestDoc*>(pTemplate->OpenDocumentFile(path));
  ASSERT_NE(pDoc, nullptr);
  EXPECT_EQ(pDoc->m_text, L"stored text");
  EXPECT_EQ(pDoc->GetPathName(), path);
  EXPECT_EQ(pDoc->GetTitle(), L"saved.rpt");
  EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(FrameTest, DestroyingTheFrameDeletesViewAndDocument) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  EXPECT_EQ(g_docsAlive, 1);
  CFrameWnd* pFrame = ViewOf(pDoc)->GetParentFrame();
  pFrame->DestroyWindow();
  EXPECT_EQ(g_docsAlive, 0);
  EXPECT_EQ(theTestApp.m_pMainWnd, nullptr);
  POSITION pos = pTemplate->GetFirstDocPosition();
  EXPECT_EQ(pos, nullptr);
}

}  // namespace
