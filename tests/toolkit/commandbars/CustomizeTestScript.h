// A script of steps run by a thread timer on the test's own thread while a modal loop (a sheet, a
// dialog, a drag, a menu) runs there: each tick runs the current step until it reports done, so the
// steps can send real input, wait for windows and read the toolkit's objects directly.
#pragma once

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

class CCustomizeTestScript {
 public:
  CCustomizeTestScript() = default;
  ~CCustomizeTestScript();
  CCustomizeTestScript(const CCustomizeTestScript&) = delete;
  CCustomizeTestScript& operator=(const CCustomizeTestScript&) = delete;

  // A step returns true when it is done; it is run again on the next tick until then, for at most
  // timeoutMs. `name` says which step failed.
  void Step(const std::string& name, std::function<bool()> step, DWORD timeoutMs = 5000);
  // A step that does something once.
  void Do(const std::string& name, std::function<void()> action);
  // A pause that lets the windows handle what the last step sent.
  void Pause(DWORD milliseconds);
  // Runs when a step times out: it should end the modal loop the script runs in.
  void OnFailure(std::function<void()> abort) { m_abort = std::move(abort); }

  void Start(UINT nIntervalMs = 40);
  bool Finished() const { return m_nCurrent >= m_steps.size(); }
  // The name of the step that timed out, or empty.
  const std::string& Failure() const { return m_failure; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR nIDEvent, DWORD);
  void Tick();

  struct StepRecord {
    std::string name;
    std::function<bool()> step;
    DWORD timeoutMs;
  };
  std::vector<StepRecord> m_steps;
  size_t m_nCurrent = 0;
  DWORD m_dwStepStart = 0;
  UINT_PTR m_nTimer = 0;
  bool m_bInTick = false;
  std::string m_failure;
  std::function<void()> m_abort;
};

// Helpers of the windowed customize tests.
namespace customizetest {

// The top-level window of this process with that exact title that is visible, or NULL.
HWND FindVisibleWindow(LPCWSTR lpszTitle);
// The visible message box of this process (a #32770 window with a static 0xFFFF), or NULL.
HWND FindMessageBox();
CString MessageBoxText(HWND hBox);
CString WindowText(HWND hWnd);
// A real click at the centre of a dialog's child control.
void ClickChild(HWND hDialog, int nID);
// The screen centre of a window.
CPoint WindowCenter(HWND hWnd);

}  // namespace customizetest
