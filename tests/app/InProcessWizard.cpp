// The in-process wizard of the tests, and message boxes answered from a second thread.
#include "InProcessWizard.h"

#include <afxext.h>

#include <atomic>
#include <thread>

#include "1TovinWelcomeView.h"
#include "AppTestSupport.h"
#include "BrindleEmlConverterGuiDoc.h"
#include "BrindleEmlConverterGuiView.h"
#include "MainFrame.h"
#include "WindowTest.h"
#include "resource.h"

namespace apptest {

bool InProcessWizard::Create(int x, int y, int width, int height) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr || pApp->m_pMainWnd != nullptr) return false;
  m_pTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CBrindleEmlConverterGuiDoc),
                                       RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CBrindleEmlConverterGuiView));
  pApp->AddDocTemplate(m_pTemplate);
  pApp->OnFileNew();
  m_pFrame = GetMainFrame();
  if (m_pFrame == nullptr) return false;
  m_pFrame->ShowWindow(SW_SHOWNORMAL);
  m_pFrame->MoveWindow(x, y, width, height);
  m_pFrame->UpdateWindow();
  PumpFramework(200);
  return true;
}

void InProcessWizard::Destroy() {
  CWinApp* pApp = AfxGetApp();
  if (m_pFrame != nullptr) {
    if (CBrindleEmlConverterGuiView* pView = View()) pView->StopPageWorkers();
    // Not the main window any more: its end must not end the test's message loop.
    if (pApp->m_pMainWnd == m_pFrame) pApp->m_pMainWnd = nullptr;
    m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
    PumpFramework(50);
  }
  if (m_pTemplate != nullptr) {
    POSITION pos = pApp->m_templateList.Find(m_pTemplate);
    if (pos != nullptr) pApp->m_templateList.RemoveAt(pos);
    delete m_pTemplate;
    m_pTemplate = nullptr;
  }
}

CBrindleEmlConverterGuiView* InProcessWizard::View() const {
  return m_pFrame != nullptr ? m_pFrame->m_pMainView : nullptr;
}

C1TovinWelcomeView* InProcessWizard::PageOne() const {
  CBrindleEmlConverterGuiView* pView = View();
  return pView != nullptr ? DYNAMIC_DOWNCAST(C1TovinWelcomeView, pView->GetPage(0)) : nullptr;
}

namespace {

struct BoxSearch {
  CString text;
  HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<BoxSearch*>(lParam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  WCHAR cls[16] = {};
  ::GetClassNameW(hwnd, cls, 16);
  HWND hText = ::GetDlgItem(hwnd, 0xFFFF);
  if (pid != ::GetCurrentProcessId() || wcscmp(cls, L"#32770") != 0 || !::IsWindowVisible(hwnd) ||
      hText == nullptr) {
    return TRUE;
  }
  if (!search->text.IsEmpty() && TextOf(hText) != search->text) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND WaitForMessageBoxWithText(const CString& text, DWORD timeoutMs) {
  BoxSearch search{text, nullptr};
  testsupport::PumpUntil(
      [&] {
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

bool AnswerMessageBox(const std::function<void()>& action, const CString& text, int button) {
  std::atomic<bool> answered{false};
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    HWND box = WaitForMessageBoxWithText(text);
    if (box != nullptr) {
      answered = PressMessageBoxButton(box, button);
    }
    // A box that did not go (or another one) is closed, so that the action returns.
    while (!done) {
      if (HWND left = WaitForMessageBoxWithText(CString(), 200)) ::PostMessageW(left, WM_COMMAND, IDOK, 0);
    }
  });
  action();
  done = true;
  answerer.join();
  return answered;
}

}  // namespace apptest
