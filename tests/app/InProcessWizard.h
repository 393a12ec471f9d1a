// The program's main frame with its main view and pages, made in the test process by a document
// template as the application makes them, for tests of windows that reach the frame or a page.
#pragma once

#include <afxwin.h>

#include <functional>
#include <string>

class C1TovinWelcomeView;
class CBrindleEmlConverterGuiView;
class CMainFrame;
class CSingleDocTemplate;

namespace apptest {

// Made and destroyed on the test's main thread; while it lives, the frame is the application's main
// window (GetMainFrame) and the Notes runtime runs.
class InProcessWizard {
 public:
  InProcessWizard() = default;
  ~InProcessWizard() { Destroy(); }
  InProcessWizard(const InProcessWizard&) = delete;
  InProcessWizard& operator=(const InProcessWizard&) = delete;

  // Makes the frame and shows it, not maximized, at the given place. False when it could not be made.
  bool Create(int x, int y, int width, int height);
  // Destroys the frame without its close prompt; the application then has no main window again.
  void Destroy();

  CMainFrame* Frame() const { return m_pFrame; }
  CBrindleEmlConverterGuiView* View() const;
  C1TovinWelcomeView* PageOne() const;

 private:
  CSingleDocTemplate* m_pTemplate = nullptr;
  CMainFrame* m_pFrame = nullptr;
};

// Runs action on the calling (main) thread while a second thread waits for the message box it shows
// (any message box of this process whose text is text) and presses button with real input. Returns
// false when no such box showed within 10 s or it did not go (action still ran; a box left open is
// closed).
bool AnswerMessageBox(const std::function<void()>& action, const CString& text, int button);

// The visible message box of this process whose text is text (any text when empty), waiting up to
// timeoutMs; NULL when none showed.
HWND WaitForMessageBoxWithText(const CString& text, DWORD timeoutMs = 10000);

}  // namespace apptest
