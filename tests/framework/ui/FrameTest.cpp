// Single-document frames: template, document, frame and view created together, the first update
// of every view below the frame, command routing view -> document -> frame, menu updates, the
// title, layout, reading a document through Serialize, the document going with its frame, and the
// frame's floating windows told of its modal state and activation.
#include <gtest/gtest.h>

#include <vector>

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

// A floating window of a frame, as a floating toolbar is: owned by it, keeping in step with its
// activation (it answers FS_SYNCACTIVE), taking the frame's enabled state; it records what it is told.
class CFloatingWindow : public CWnd {
 public:
  std::vector<WPARAM> statuses;
  // Shown without taking the activation, as a floating toolbar is.
  BOOL Create(CWnd* pOwner) {
    if (!CreateEx(0, AfxRegisterWndClass(0), L"Floating", WS_POPUP | MFS_SYNCACTIVE, 60, 60, 120, 40,
                  pOwner->GetSafeHwnd(), nullptr))
      return FALSE;
    ShowWindow(SW_SHOWNA);
    return TRUE;
  }

 protected:
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM) {
    if (wParam & FS_SYNCACTIVE) return 1;
    statuses.push_back(wParam);
    if (wParam & (FS_ENABLE | FS_DISABLE)) EnableWindow((wParam & FS_ENABLE) != 0);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFloatingWindow, CWnd)
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

// A modal dialog that notes whether the floating window takes input while it runs, and ends at once.
class CFloatingCheckDialog : public CDialog {
 public:
  CWnd* pFloating = nullptr;
  BOOL floatingEnabled = TRUE;
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    floatingEnabled = pFloating->IsWindowEnabled();
    EndDialog(IDOK);
    return TRUE;
  }
};

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

// A modal dialog run from the frame disables the frame and, with it, the frame's floating windows: a
// click there does nothing while the dialog waits. They take input again once it has ended.
TEST_F(FrameTest, AModalDialogOfTheFrameDisablesItsFloatingWindowsWhileItRuns) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CFrameWnd* pFrame = ViewOf(pDoc)->GetParentFrame();
  CFloatingWindow floating;
  ASSERT_TRUE(floating.Create(pFrame));
  DialogTemplateBuilder builder(L"Question", DS_MODALFRAME | WS_POPUP | WS_CAPTION, 120, 40);
  CFloatingCheckDialog dlg;
  dlg.pFloating = &floating;
  ASSERT_TRUE(dlg.InitModalIndirect(builder.Get(), pFrame));
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(dlg.floatingEnabled);
  EXPECT_TRUE(floating.IsWindowEnabled());
  const std::vector<WPARAM> expected = {FS_DISABLE, FS_ENABLE};
  std::vector<WPARAM> told;
  for (WPARAM status : floating.statuses) {
    if (status & (FS_ENABLE | FS_DISABLE)) told.push_back(status);
  }
  EXPECT_EQ(told, expected);
  floating.DestroyWindow();
}

// The frame tells its floating windows when it is activated and when a window not its own is, so
// that they can hide while the program is not in use; a floating window that is itself activated
// keeps the frame active.
TEST_F(FrameTest, FloatingWindowsAreToldWhenTheFrameIsActivatedAndDeactivated) {
  CTestDoc* pDoc = OpenNew();
  ASSERT_NE(pDoc, nullptr);
  CFrameWnd* pFrame = ViewOf(pDoc)->GetParentFrame();
  ASSERT_TRUE(testsupport::BringToFront(pFrame->GetSafeHwnd()));
  CFloatingWindow floating;
  ASSERT_TRUE(floating.Create(pFrame));
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300,
                             200, 100, nullptr, nullptr));
  auto lastActivation = [&floating] {
    for (auto it = floating.statuses.rbegin(); it != floating.statuses.rend(); ++it) {
      if (*it & (FS_ACTIVATE | FS_DEACTIVATE)) return *it;
    }
    return WPARAM(0);
  };
  ASSERT_TRUE(testsupport::BringToFront(other.GetSafeHwnd()));
  EXPECT_EQ(lastActivation(), WPARAM(FS_DEACTIVATE));
  ASSERT_TRUE(testsupport::BringToFront(pFrame->GetSafeHwnd()));
  EXPECT_EQ(lastActivation(), WPARAM(FS_ACTIVATE));
  floating.SetActiveWindow();
  EXPECT_EQ(lastActivation(), WPARAM(FS_ACTIVATE));
  other.DestroyWindow();
  floating.DestroyWindow();
}

}  // namespace
